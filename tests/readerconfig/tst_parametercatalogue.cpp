#include <QtTest>

#include "readerconfig/parametercatalogue.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/qtreecheckbox.h"
#include "readerconfig/qtreecombobox.h"
#include "treerows.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

class TstParameterCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void counts()
    {
        QTreeWidget tree;
        ParameterCatalogueFill(&tree);
        QCOMPARE(tree.columnCount(), 11);
        const QStringList headers = ParameterCatalogueHeaders();
        QCOMPARE(headers.size(), 11);
        QCOMPARE(headers.first(), QString("Désignation"));
        QCOMPARE(headers.at(PARAM_COL_MODIFIE), QString("Modifié"));
        QCOMPARE(headers.at(PARAM_COL_WIDGET_ARGUMENTS), QString("WidgetArguments"));

        QStringList top;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            top << tree.topLevelItem(i)->text(PARAM_COL_DESIGNATION);
        QCOMPARE(top,
                 QStringList({"Lecteur", "Fonctionnement", "Gestion Appareils Timer", "Compteurs Déportés",
                              "Accepteur", "Retours Inhibition", "Réseau", "Version", "Divers"}));

        const QList<QTreeWidgetItem*> rows = AllRows(&tree);
        QCOMPARE(rows.size(), 193);
        QMap<QString, int> ids;
        int checkBoxes = 0, lists = 0;
        for (QTreeWidgetItem* row : rows) {
            const QString id = row->text(PARAM_COL_IDENTIFIANT);
            if (!id.isEmpty()) {
                QVERIFY2(id.contains('.'), qPrintable(id));
                ++ids[id];
            }
            checkBoxes += row->text(PARAM_COL_WIDGET) == "10";
            lists += row->text(PARAM_COL_WIDGET) == "20";
            QVERIFY(row->text(PARAM_COL_VALEUR).isEmpty());
            QVERIFY(row->text(PARAM_COL_MASK).isEmpty());
            QVERIFY(row->text(PARAM_COL_MAX).isEmpty());
        }
        int withId = 0;
        QStringList twice;
        for (auto it = ids.cbegin(); it != ids.cend(); ++it) {
            withId += it.value();
            if (it.value() > 1)
                twice << it.key();
        }
        QCOMPARE(withId, 143);
        QCOMPARE(twice, QStringList({"2.0.10", "2.1.0.3.0", "3.7.7"}));
        QCOMPARE(checkBoxes, 57);
        QCOMPARE(lists, 13);
    }

    void rows_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("cells"); // Identifiant, Widget, Save, Modifié, Args, Attribut, Version

        QTest::newRow("identification")
            << "Lecteur>Identification" << QStringList{"", "", "", "0", "", "", ""};
        QTest::newRow("site name") << "Lecteur>Identification>Nom du site"
                                   << QStringList{"3.0.1", "1", "A DEFINIR", "0", "", "", ""};
        QTest::newRow("hardware name") << "Lecteur>Identification>Nom matériel"
                                       << QStringList{"3.0.3", "1", "KorvelReader", "0", "", "", ""};
        QTest::newRow("debit group") << "Fonctionnement>Montant des Débit"
                                     << QStringList{"", "3", "", "", "", "", ""};
        const QString dev1 = "Gestion Appareils Timer>Appareil 1 (Par défaut)>";
        const QString dev2 = "Gestion Appareils Timer>Appareil 2 (Pour controler 2 appareils)>";
        QTest::newRow("dev1 mode") << dev1 + "Configuration>Fonctionnement type"
                                   << QStringList{"2.0.10", "20", "", "", "IMPULSIONNEL;COMMANDE MAINTENUE",
                                                  "",       ""};
        QTest::newRow("dev1 command") << dev1 + "Configuration>Commande  (Ordre 8-1)"
                                      << QStringList{"2.1.0.7", "2", "", "", "", "", ""};
        QTest::newRow("dev2 mode") << dev2 + "Configuration>Fonctionnement type"
                                   << QStringList{"2.0.10", "", "", "", "", "", ""};
        QTest::newRow("dev2 cumul") << dev2 + "Configuration>Cumul Autorisé"
                                    << QStringList{"", "10", "", "", "", "", ""};
        QTest::newRow("dev2 display")
            << dev2 + "Configuration>Affichage" << QStringList{"", "", "", "", "", "", ""};
        QTest::newRow("dev2 priority") << dev2 + "Configuration>Affichage crédit badge prioritaire"
                                       << QStringList{"3.7.7", "", "", "", "", "", ""};
        QTest::newRow("acceptor") << "Accepteur" << QStringList{"", "", "", "", "", "", "113"};
        QTest::newRow("acceptor ch2")
            << "Accepteur>Canal 2>Type"
            << QStringList{"7.1.1.1", "20", "", "", "PIECE;JETON;ABONNEMENT;", "", ""};
        QTest::newRow("inhibition") << "Accepteur>Inhibition/Activation controlé Par Lecteur"
                                    << QStringList{"7.0.2", "10", "", "", "", "", ""};
        QTest::newRow("software") << "Version>logiciel" << QStringList{"12.0", "", "", "", "", "1", ""};
        QTest::newRow("date") << "Divers>Date" << QStringList{"12.4", "", "", "", "", "1", ""};
    }

    void rows()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, cells);
        QTreeWidget tree;
        ParameterCatalogueFill(&tree);
        QTreeWidgetItem* row = RowAt(&tree, path);
        QVERIFY2(row, qPrintable(path));
        const int columns[] = {PARAM_COL_IDENTIFIANT, PARAM_COL_WIDGET,           PARAM_COL_SAVE,
                               PARAM_COL_MODIFIE,     PARAM_COL_WIDGET_ARGUMENTS, PARAM_COL_ATTRIBUT,
                               PARAM_COL_VERSION};
        QStringList actual;
        for (int c : columns)
            actual << row->text(c);
        QCOMPARE(actual, cells);
    }

    // The repeated channel and return groups follow their numbering rules.
    void repeatedGroups()
    {
        QTreeWidget tree;
        ParameterCatalogueFill(&tree);
        const QStringList counters = {"Canal 1", "Canal 2", "Canal 3",           "Canal 4",
                                      "Canal 5", "Canal 6", "Canal 7 (Relais1)", "Canal 8 (Relais2)"};
        for (int k = 0; k < 8; ++k) {
            QTreeWidgetItem* g = RowAt(&tree, "Compteurs Déportés>" + counters[k]);
            QVERIFY(g);
            QCOMPARE(g->childCount(), 5);
            const QString p = QString("6.1.%1.").arg(k);
            const QStringList ids = {p + "0", p + "1.2", p + "1.0", p + "1.1", p + "2"};
            const QStringList labels = {"Valeur", "Type badge", "Type Pièce", "Type Jeton",
                                        "Impulsion Variable"};
            for (int i = 0; i < 5; ++i) {
                QCOMPARE(g->child(i)->text(PARAM_COL_IDENTIFIANT), ids[i]);
                QCOMPARE(g->child(i)->text(PARAM_COL_DESIGNATION), labels[i]);
                QCOMPARE(g->child(i)->text(PARAM_COL_WIDGET), QString(i == 0 ? "" : "10"));
            }
            QTreeWidgetItem* a = RowAt(&tree, QString("Accepteur>Canal %1").arg(k + 1));
            QVERIFY(a);
            QCOMPARE(a->childCount(), 2);
            QCOMPARE(a->child(0)->text(PARAM_COL_IDENTIFIANT), QString("7.1.%1.0").arg(k));
            QCOMPARE(a->child(1)->text(PARAM_COL_IDENTIFIANT), QString("7.1.%1.1").arg(k));
            QCOMPARE(a->child(1)->text(PARAM_COL_DESIGNATION), QString("Type"));
            QCOMPARE(a->child(1)->text(PARAM_COL_WIDGET_ARGUMENTS),
                     QString(k == 1 ? "PIECE;JETON;ABONNEMENT;" : "PIECE;JETON;ABONNEMENT"));
        }
        const QStringList returns = {"Retour 1 (Connecteur Accepteur)", "Retour 2 (Connecteur Automate)",
                                     "Retour 3 (Bouton)"};
        for (int j = 0; j < 3; ++j) {
            QTreeWidgetItem* g = RowAt(&tree, "Retours Inhibition>" + returns[j]);
            QVERIFY(g);
            QStringList got;
            for (int i = 0; i < g->childCount(); ++i)
                got << g->child(i)->text(PARAM_COL_IDENTIFIANT) + ' ' +
                           g->child(i)->text(PARAM_COL_DESIGNATION) + ' ' +
                           g->child(i)->text(PARAM_COL_WIDGET) + ' ' +
                           g->child(i)->text(PARAM_COL_WIDGET_ARGUMENTS);
            const QString p = QString("9.%1.").arg(j);
            QCOMPARE(got, QStringList({p + "0 Installé 10 ", p + "2 Etat Inhibé 20 0 V;24V",
                                       p + "3 Priorité  ", p + "4 Texte  "}));
        }
    }

    void setupEditorsAndStartValues()
    {
        QTreeWidget tree;
        QLineEdit status;
        tree.header()->setStretchLastSection(false);
        ParameterTree params(&tree, &status);
        params.Setup();

        QCOMPARE(AllRows(&tree).size(), 193);
        for (QTreeWidgetItem* row : AllRows(&tree)) {
            const QString kind = row->text(PARAM_COL_WIDGET);
            QWidget* editor = tree.itemWidget(row, PARAM_COL_VALEUR);
            const QString what = row->text(PARAM_COL_DESIGNATION) + ' ' + row->text(PARAM_COL_IDENTIFIANT);
            if (kind == "10") {
                auto* box = qobject_cast<QTreeCheckBox*>(editor);
                QVERIFY2(box, qPrintable(what));
                QCOMPARE(box->Item, row);
                QVERIFY(!box->isChecked());
                QVERIFY(!box->isTristate());
                QCOMPARE(row->text(PARAM_COL_VALEUR), QString());
            } else if (kind == "20") {
                auto* combo = qobject_cast<QTreeComboBox*>(editor);
                QVERIFY2(combo, qPrintable(what));
                QCOMPARE(combo->Item, row);
                QStringList choices;
                for (int i = 0; i < combo->count(); ++i)
                    choices << combo->itemText(i);
                QCOMPARE(choices, row->text(PARAM_COL_WIDGET_ARGUMENTS).split(';'));
                QCOMPARE(combo->currentIndex(), 0);
                QCOMPARE(row->text(PARAM_COL_VALEUR), QString("0"));
            } else {
                QVERIFY2(!editor, qPrintable(what));
                QCOMPARE(row->text(PARAM_COL_VALEUR), QString());
            }
            const QString mark = row->text(PARAM_COL_MODIFIE);
            QVERIFY2(mark.isEmpty() || mark == "0", qPrintable(what));
            const bool editable = row->flags() & Qt::ItemIsEditable;
            QCOMPARE(editable, !row->text(PARAM_COL_IDENTIFIANT).isEmpty());
        }

        auto* ch2 = qobject_cast<QTreeComboBox*>(tree.itemWidget(RowAt(&tree, "Accepteur>Canal 2>Type"), 1));
        QVERIFY(ch2);
        QCOMPARE(ch2->count(), 4);
        QCOMPARE(ch2->itemText(3), QString());
        QVERIFY(qobject_cast<QTreeCheckBox*>(
            tree.itemWidget(RowAt(&tree, "Gestion Appareils Timer>Appareil 2 (Pour controler 2 "
                                         "appareils)>Configuration>Cumul Autorisé"),
                            1)));
        QVERIFY(status.text().isEmpty());
        QVERIFY(params.TreeLoading);

        QVERIFY(!tree.isColumnHidden(0));
        QVERIFY(!tree.isColumnHidden(1));
        for (int c = 2; c < 11; ++c)
            QVERIFY(tree.isColumnHidden(c));
        QCOMPARE(tree.columnWidth(0), 250);
        QCOMPARE(tree.columnWidth(1), 150);
        QVERIFY(tree.alternatingRowColors());

        params.ShowAllColumns();
        for (int c = 0; c < 11; ++c)
            QVERIFY(!tree.isColumnHidden(c));
    }

    void parameterRowsInTreeOrder()
    {
        QTreeWidget tree;
        QLineEdit status;
        ParameterTree params(&tree, &status);
        params.Setup();
        const QList<QTreeWidgetItem*> rows = params.ParameterRows();
        QCOMPARE(rows.size(), 143);
        QCOMPARE(rows.first()->text(PARAM_COL_IDENTIFIANT), QString("3.0.0"));
        QCOMPARE(rows.at(9)->text(PARAM_COL_IDENTIFIANT), QString("3.4.3"));
        QCOMPARE(rows.last()->text(PARAM_COL_IDENTIFIANT), QString("12.4"));
        QCOMPARE(params.RowsWithIdentifiant("3.7.7").size(), 2);
        QCOMPARE(params.RowsWithIdentifiant("3.0.1").size(), 1);
        QVERIFY(params.RowsWithIdentifiant("").isEmpty());
    }
};

QTEST_MAIN(TstParameterCatalogue)
#include "tst_parametercatalogue.moc"
