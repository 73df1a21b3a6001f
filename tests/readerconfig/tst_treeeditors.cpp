#include <QtTest>

#include <memory>

#include "readerconfig/qtreecheckbox.h"
#include "readerconfig/qtreecombobox.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

namespace {

const QString OptionRow = "Lecteur>Options>Module Ethernet";
const QString ModeRow = "Gestion Appareils Timer>Appareil 1 (Par défaut)>Configuration>Fonctionnement type";
const QString Channel2Row = "Accepteur>Canal 2>Type";
const QString PlainRow = "Lecteur>Identification>Nom du site";

} // namespace

class TstTreeEditors : public QObject
{
    Q_OBJECT

    std::unique_ptr<ParameterTreeBench> b;

    QTreeWidgetItem* Row(const QString& path) { return RowAt(&b->tree, path); }
    template <typename Editor> Editor* EditorAt(const QString& path)
    {
        return qobject_cast<Editor*>(b->tree.itemWidget(Row(path), PARAM_COL_VALEUR));
    }
    QString Put(QTreeWidgetItem* row, const QString& value)
    {
        return TreeItemValue(false, &b->tree, row, value, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
    }
    // What the row's editor shows.
    QString Get(QTreeWidgetItem* row)
    {
        return TreeItemValue(true, &b->tree, row, "ignored", PARAM_COL_WIDGET, PARAM_COL_VALEUR);
    }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }
    void init() { b.reset(new ParameterTreeBench(false)); }
    void cleanup() { b.reset(); }

    // Putting a value leaves the editor and the Valeur text showing the same thing.
    void putValue()
    {
        const struct
        {
            QString path;
            const char *start, *value, *shown; // start nullptr: the row as set up
        } cases[] = {
            // A box that already shows the value still fills the Valeur text.
            {"Lecteur>Options>Afficheur", nullptr, "0", "0"},
            {OptionRow, "0", "", "1"},
            {OptionRow, "0", "1", "1"},
            {OptionRow, "0", " 0", "1"},
            {OptionRow, "1", "0", "0"},
            // A list takes a valid index and keeps its choice otherwise.
            {ModeRow, "1", "0", "0"},
            {ModeRow, "1", "x", "1"},
            {ModeRow, "1", "-1", "1"},
            {ModeRow, "1", "2", "1"},
            {Channel2Row, "1", "3", "3"},
            // Plain cells, a group row with a widget code included.
            {PlainRow, nullptr, " A=B ", " A=B "},
            {"Fonctionnement>Montant des Débit", nullptr, "12", "12"},
        };
        for (const auto& c : cases) {
            QTreeWidgetItem* row = Row(c.path);
            if (c.start)
                Put(row, c.start);
            QCOMPARE(Put(row, c.value), QString());
            QCOMPARE(row->text(PARAM_COL_VALEUR), QString(c.shown));
            QCOMPARE(Get(row), QString(c.shown));
        }
    }

    void valuesFromWidgets()
    {
        // Change the editors behind the rows' back.
        auto* box = EditorAt<QTreeCheckBox>(OptionRow);
        auto* combo = EditorAt<QTreeComboBox>(ModeRow);
        box->blockSignals(true);
        box->setChecked(true);
        combo->blockSignals(true);
        combo->setCurrentIndex(1);
        Row(PlainRow)->setText(PARAM_COL_VALEUR, "Site");
        QCOMPARE(Row(OptionRow)->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(Row(ModeRow)->text(PARAM_COL_VALEUR), QString("0"));

        for (int i = 0; i < b->tree.topLevelItemCount(); ++i)
            TreeValuesFromWidgets(&b->tree, b->tree.topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        QCOMPARE(Row(OptionRow)->text(PARAM_COL_VALEUR), QString("1"));
        QCOMPARE(Row(ModeRow)->text(PARAM_COL_VALEUR), QString("1"));
        QCOMPARE(Row(PlainRow)->text(PARAM_COL_VALEUR), QString("Site"));
        // Untouched cleared boxes now read "0".
        QCOMPARE(Row("Lecteur>Options>Afficheur")->text(PARAM_COL_VALEUR), QString("0"));
    }

    void duplicatedIdentifiantsAreIndependent()
    {
        const QList<QTreeWidgetItem*> rows = b->params.RowsWithIdentifiant("2.0.10");
        QCOMPARE(rows.size(), 2);
        QVERIFY(qobject_cast<QTreeComboBox*>(b->tree.itemWidget(rows[0], PARAM_COL_VALEUR)));
        QVERIFY(!b->tree.itemWidget(rows[1], PARAM_COL_VALEUR));
        Put(rows[1], "texte");
        QCOMPARE(Get(rows[0]), QString("0"));
        QCOMPARE(Get(rows[1]), QString("texte"));
    }
};

QTEST_MAIN(TstTreeEditors)
#include "tst_treeeditors.moc"
