#include <QtTest>

#include <memory>

#include "readerconfig/parametertree.h"
#include "readerconfig/qtreecheckbox.h"
#include "readerconfig/qtreecombobox.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

#include <QLineEdit>

namespace {

const QString OptionRow = "Lecteur>Options>Module Ethernet";
const QString ModeRow = "Gestion Appareils Timer>Appareil 1 (Par défaut)>Configuration>Fonctionnement type";
const QString Channel2Row = "Accepteur>Canal 2>Type";
const QString PlainRow = "Lecteur>Identification>Nom du site";

QString Put(QTreeWidget* tree, QTreeWidgetItem* row, const QString& value)
{
    return TreeItemValue(false, tree, row, value, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
}

QString Get(QTreeWidget* tree, QTreeWidgetItem* row)
{
    return TreeItemValue(true, tree, row, "ignored", PARAM_COL_WIDGET, PARAM_COL_VALEUR);
}

} // namespace

class TstTreeEditors : public QObject
{
    Q_OBJECT

    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_status = nullptr;
    ParameterTree* m_params = nullptr;
    std::unique_ptr<ParameterTreeBench> m_bench;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void init()
    {
        m_bench.reset(new ParameterTreeBench(false));
        m_tree = &m_bench->tree;
        m_status = &m_bench->status;
        m_params = &m_bench->params;
    }

    void cleanup() { m_bench.reset(); }

    void checkBox_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("checked");
        QTest::newRow("empty") << "0"
                               << "" << true;
        QTest::newRow("one") << "0"
                             << "1" << true;
        QTest::newRow("two") << "0"
                             << "2" << true;
        QTest::newRow("text") << "0"
                              << "non" << true;
        QTest::newRow("zero") << "1"
                              << "0" << false;
        QTest::newRow("zero on cleared") << "0"
                                         << "0" << false;
        QTest::newRow("padded zero") << "0"
                                     << " 0" << true;
    }

    void checkBox()
    {
        QFETCH(QString, start);
        QFETCH(QString, value);
        QFETCH(bool, checked);
        QTreeWidgetItem* row = RowAt(m_tree, OptionRow);
        auto* box = qobject_cast<QTreeCheckBox*>(m_tree->itemWidget(row, 1));
        QVERIFY(box);
        Put(m_tree, row, start);
        QCOMPARE(Put(m_tree, row, value), QString());
        QCOMPARE(box->isChecked(), checked);
        const QString expected = checked ? "1" : "0";
        QCOMPARE(row->text(PARAM_COL_VALEUR), expected);
        QCOMPARE(Get(m_tree, row), expected);
    }

    // A box that already shows the value still leaves the Valeur text in step.
    void checkBoxSameStateFillsValeur()
    {
        QTreeWidgetItem* row = RowAt(m_tree, OptionRow);
        QCOMPARE(row->text(PARAM_COL_VALEUR), QString());
        Put(m_tree, row, "0");
        QCOMPARE(row->text(PARAM_COL_VALEUR), QString("0"));
    }

    void list_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("index");
        // Every case starts from choice 1: an invalid value keeps it.
        QTest::newRow("valid") << ModeRow << "0" << 0;
        QTest::newRow("not a number") << ModeRow << "x" << 1;
        QTest::newRow("negative") << ModeRow << "-1" << 1;
        QTest::newRow("equal to count") << ModeRow << "2" << 1;
        QTest::newRow("empty") << ModeRow << "" << 1;
        QTest::newRow("channel 2 empty choice") << Channel2Row << "3" << 3;
        QTest::newRow("channel 2 beyond") << Channel2Row << "4" << 1;
    }

    void list()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QFETCH(int, index);
        QTreeWidgetItem* row = RowAt(m_tree, path);
        auto* combo = qobject_cast<QTreeComboBox*>(m_tree->itemWidget(row, 1));
        QVERIFY(combo);
        Put(m_tree, row, "1");
        QCOMPARE(Put(m_tree, row, value), QString());
        QCOMPARE(combo->currentIndex(), index);
        QCOMPARE(row->text(PARAM_COL_VALEUR), QString::number(index));
        QCOMPARE(Get(m_tree, row), QString::number(index));
    }

    void plainText()
    {
        QTreeWidgetItem* row = RowAt(m_tree, PlainRow);
        QCOMPARE(Put(m_tree, row, " A=B "), QString());
        QCOMPARE(row->text(PARAM_COL_VALEUR), QString(" A=B "));
        QCOMPARE(Get(m_tree, row), QString(" A=B "));
        // Widget code "3" and a group row with a widget code: plain cells too.
        QTreeWidgetItem* group = RowAt(m_tree, "Fonctionnement>Montant des Débit");
        Put(m_tree, group, "12");
        QCOMPARE(Get(m_tree, group), QString("12"));
    }

    // The operator's use of an editor reaches the Valeur text through the slots.
    void editorsMirrorIntoValeur()
    {
        QTreeWidgetItem* row = RowAt(m_tree, OptionRow);
        auto* box = qobject_cast<QTreeCheckBox*>(m_tree->itemWidget(row, 1));
        box->click();
        QCOMPARE(row->text(PARAM_COL_VALEUR), QString("1"));
        box->click();
        QCOMPARE(row->text(PARAM_COL_VALEUR), QString("0"));

        QTreeWidgetItem* ch2 = RowAt(m_tree, Channel2Row);
        auto* combo = qobject_cast<QTreeComboBox*>(m_tree->itemWidget(ch2, 1));
        combo->setCurrentIndex(3);
        QCOMPARE(ch2->text(PARAM_COL_VALEUR), QString("3"));
    }

    void valuesFromWidgets()
    {
        QTreeWidgetItem* option = RowAt(m_tree, OptionRow);
        QTreeWidgetItem* mode = RowAt(m_tree, ModeRow);
        QTreeWidgetItem* plain = RowAt(m_tree, PlainRow);
        auto* box = qobject_cast<QTreeCheckBox*>(m_tree->itemWidget(option, 1));
        auto* combo = qobject_cast<QTreeComboBox*>(m_tree->itemWidget(mode, 1));
        // Change the editors behind the rows' back.
        box->blockSignals(true);
        box->setChecked(true);
        combo->blockSignals(true);
        combo->setCurrentIndex(1);
        plain->setText(PARAM_COL_VALEUR, "Site");
        QCOMPARE(option->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(mode->text(PARAM_COL_VALEUR), QString("0"));

        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            TreeValuesFromWidgets(m_tree, m_tree->topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        QCOMPARE(option->text(PARAM_COL_VALEUR), QString("1"));
        QCOMPARE(mode->text(PARAM_COL_VALEUR), QString("1"));
        QCOMPARE(plain->text(PARAM_COL_VALEUR), QString("Site"));
        // Untouched cleared boxes now read "0".
        QCOMPARE(RowAt(m_tree, "Lecteur>Options>Afficheur")->text(PARAM_COL_VALEUR), QString("0"));
    }

    void duplicatedIdentifiantsAreIndependent()
    {
        const QList<QTreeWidgetItem*> rows = m_params->RowsWithIdentifiant("2.0.10");
        QCOMPARE(rows.size(), 2);
        QVERIFY(qobject_cast<QTreeComboBox*>(m_tree->itemWidget(rows[0], 1)));
        QVERIFY(!m_tree->itemWidget(rows[1], 1));
        Put(m_tree, rows[1], "texte");
        QCOMPARE(Get(m_tree, rows[0]), QString("0"));
        QCOMPARE(Get(m_tree, rows[1]), QString("texte"));
    }
};

QTEST_MAIN(TstTreeEditors)
#include "tst_treeeditors.moc"
