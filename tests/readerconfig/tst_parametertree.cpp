#include <QtTest>

#include <memory>

#include "readerconfig/qtreecheckbox.h"
#include "readerconfig/qtreecombobox.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

namespace {

const QString Marked = "Modification à sauvegarder !";

// Puts a value into every parameter row, as a complete read does.
void ReadAll(ParameterTree* params, const QString& value)
{
    params->TreeLoading = true;
    params->ModifCounter = 0;
    for (QTreeWidgetItem* row : params->ParameterRows()) {
        row->setText(PARAM_COL_MODIFIE, "0");
        TreeItemValue(false, params->Tree(), row, value, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
    }
    params->TreeLoading = false;
}

QStringList Marks(QTreeWidget* tree)
{
    QStringList marks;
    for (QTreeWidgetItem* row : AllRows(tree)) {
        const QString m = row->text(PARAM_COL_MODIFIE);
        if (!m.isEmpty() && m != "0")
            marks << row->text(PARAM_COL_DESIGNATION) + '=' + m;
    }
    return marks;
}

} // namespace

class TstParameterTree : public QObject
{
    Q_OBJECT

    std::unique_ptr<ParameterTreeBench> b;

    template <typename Editor> Editor* EditorAt(const QString& path)
    {
        return qobject_cast<Editor*>(b->tree.itemWidget(RowAt(&b->tree, path), PARAM_COL_VALEUR));
    }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }
    void init() { b.reset(new ParameterTreeBench(true)); }
    void cleanup() { b.reset(); }

    void counts()
    {
        QCOMPARE(b->tree.topLevelItemCount(), 9);
        const QList<QTreeWidgetItem*> rows = AllRows(&b->tree);
        QCOMPARE(rows.size(), 193);
        QMap<QString, int> ids;
        int checkBoxes = 0, lists = 0;
        for (QTreeWidgetItem* row : rows) {
            const QString id = row->text(PARAM_COL_IDENTIFIANT);
            QVERIFY2(id.isEmpty() || id.contains('.'), qPrintable(id));
            ids[id] += !id.isEmpty();
            checkBoxes += row->text(PARAM_COL_WIDGET) == "10";
            lists += row->text(PARAM_COL_WIDGET) == "20";
        }
        QStringList twice;
        for (auto it = ids.cbegin(); it != ids.cend(); ++it) {
            if (it.value() > 1)
                twice << it.key();
        }
        QCOMPARE(twice, QStringList({"2.0.10", "2.1.0.3.0", "3.7.7"}));
        QCOMPARE(checkBoxes, 57);
        QCOMPARE(lists, 13);

        // The rows a complete read asks for, in tree order.
        const QList<QTreeWidgetItem*> params = b->params.ParameterRows();
        QCOMPARE(params.size(), 143);
        QCOMPARE(params.first()->text(PARAM_COL_IDENTIFIANT), QString("3.0.0"));
        QCOMPARE(params.at(9)->text(PARAM_COL_IDENTIFIANT), QString("3.4.3"));
        QCOMPARE(params.last()->text(PARAM_COL_IDENTIFIANT), QString("12.4"));
        QCOMPARE(b->params.RowsWithIdentifiant("3.7.7").size(), 2);
        QVERIFY(b->params.RowsWithIdentifiant("").isEmpty());
    }

    void setupEditorsAndStartValues()
    {
        for (QTreeWidgetItem* row : AllRows(&b->tree)) {
            const QString kind = row->text(PARAM_COL_WIDGET);
            QWidget* editor = b->tree.itemWidget(row, PARAM_COL_VALEUR);
            const QString what = row->text(PARAM_COL_DESIGNATION) + ' ' + row->text(PARAM_COL_IDENTIFIANT);
            if (kind == "10") {
                auto* box = qobject_cast<QTreeCheckBox*>(editor);
                QVERIFY2(box && box->Item == row, qPrintable(what));
                QVERIFY(!box->isChecked() && !box->isTristate());
                QCOMPARE(row->text(PARAM_COL_VALEUR), QString());
            } else if (kind == "20") {
                auto* combo = qobject_cast<QTreeComboBox*>(editor);
                QVERIFY2(combo && combo->Item == row, qPrintable(what));
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
            QVERIFY2(row->text(PARAM_COL_MODIFIE).isEmpty() || row->text(PARAM_COL_MODIFIE) == "0",
                     qPrintable(what));
            QCOMPARE(bool(row->flags() & Qt::ItemIsEditable), !row->text(PARAM_COL_IDENTIFIANT).isEmpty());
        }
        QVERIFY(b->status.text().isEmpty());
        QVERIFY(b->params.TreeLoading);
        auto* channel2 = EditorAt<QTreeComboBox>("Accepteur>Canal 2>Type");
        QVERIFY(channel2->count() == 4 && channel2->itemText(3).isEmpty());

        for (int c = 0; c < PARAM_COL_COUNT; ++c)
            QCOMPARE(b->tree.isColumnHidden(c), c >= PARAM_COL_SAVE);
        b->params.ShowAllColumns();
        for (int c = 0; c < PARAM_COL_COUNT; ++c)
            QVERIFY(!b->tree.isColumnHidden(c));
    }

    void marksRecordOrderOfLastChanges()
    {
        ReadAll(&b->params, "0");
        QVERIFY(Marks(&b->tree).isEmpty());

        QTreeWidgetItem* site = RowAt(&b->tree, "Lecteur>Identification>Nom du site");
        QTreeWidgetItem* code = RowAt(&b->tree, "Lecteur>Identification>Code site");
        site->setText(PARAM_COL_VALEUR, "A");
        QCOMPARE(b->status.text(), Marked);
        b->status.clear();
        code->setText(PARAM_COL_VALEUR, "12");
        EditorAt<QCheckBox>("Lecteur>Options>Afficheur")->click();
        EditorAt<QComboBox>("Accepteur>Canal 2>Type")->setCurrentIndex(3);
        site->setText(PARAM_COL_VALEUR, "B");
        // Same text again: the tree reports nothing.
        code->setText(PARAM_COL_VALEUR, "12");
        // Other columns are never marked, the label included.
        code->setText(PARAM_COL_DESIGNATION, "Code du site");
        code->setText(PARAM_COL_SAVE, "12");

        QCOMPARE(b->params.ModifCounter, 5u);
        QCOMPARE(b->status.text(), Marked);
        QCOMPARE(Marks(&b->tree), QStringList({"Code du site=2", "Nom du site=5", "Afficheur=3", "Type=4"}));
        // The editors' slots put the operator's choice into Valeur.
        QCOMPARE(RowAt(&b->tree, "Lecteur>Options>Afficheur")->text(PARAM_COL_VALEUR), QString("1"));
        QCOMPARE(RowAt(&b->tree, "Accepteur>Canal 2>Type")->text(PARAM_COL_VALEUR), QString("3"));
    }
};

QTEST_MAIN(TstParameterTree)
#include "tst_parametertree.moc"
