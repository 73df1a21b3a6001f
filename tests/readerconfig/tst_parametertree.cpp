#include <QtTest>

#include <memory>

#include "readerconfig/parametertree.h"
#include "readerconfig/qtreecheckbox.h"
#include "readerconfig/qtreecombobox.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

#include <QLineEdit>

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

    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_status = nullptr;
    ParameterTree* m_params = nullptr;
    std::unique_ptr<ParameterTreeBench> m_bench;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void init()
    {
        m_bench.reset(new ParameterTreeBench(true));
        m_tree = &m_bench->tree;
        m_status = &m_bench->status;
        m_params = &m_bench->params;
    }

    void cleanup() { m_bench.reset(); }

    void notMarkedWhileLoading()
    {
        QTreeWidgetItem* site = RowAt(m_tree, "Lecteur>Identification>Nom du site");
        site->setText(PARAM_COL_VALEUR, "Gare");
        qobject_cast<QCheckBox*>(m_tree->itemWidget(RowAt(m_tree, "Lecteur>Options>Afficheur"), 1))->click();
        QCOMPARE(site->text(PARAM_COL_VALEUR), QString("Gare"));
        QVERIFY(m_status->text().isEmpty());
        QVERIFY(Marks(m_tree).isEmpty());
    }

    void marksRecordOrderOfLastChanges()
    {
        ReadAll(m_params, "0");
        QVERIFY(Marks(m_tree).isEmpty());

        QTreeWidgetItem* site = RowAt(m_tree, "Lecteur>Identification>Nom du site");
        QTreeWidgetItem* code = RowAt(m_tree, "Lecteur>Identification>Code site");
        auto* box =
            qobject_cast<QCheckBox*>(m_tree->itemWidget(RowAt(m_tree, "Lecteur>Options>Afficheur"), 1));
        auto* combo =
            qobject_cast<QComboBox*>(m_tree->itemWidget(RowAt(m_tree, "Accepteur>Canal 2>Type"), 1));

        site->setText(PARAM_COL_VALEUR, "A");
        QCOMPARE(m_status->text(), Marked);
        m_status->clear();
        code->setText(PARAM_COL_VALEUR, "12");
        box->click();
        combo->setCurrentIndex(3);
        site->setText(PARAM_COL_VALEUR, "B");
        // Same text again: the tree reports nothing.
        code->setText(PARAM_COL_VALEUR, "12");
        // Other columns are never marked, the label included.
        code->setText(PARAM_COL_DESIGNATION, "Code du site");
        code->setText(PARAM_COL_SAVE, "12");

        QCOMPARE(m_params->ModifCounter, 5u);
        QCOMPARE(m_status->text(), Marked);
        QCOMPARE(Marks(m_tree), QStringList({"Code du site=2", "Nom du site=5", "Afficheur=3", "Type=4"}));
    }

    // Right after a complete read, copying the editors' values changes nothing.
    void readThenValuesFromWidgetsMarksNothing()
    {
        ReadAll(m_params, "0");
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            TreeValuesFromWidgets(m_tree, m_tree->topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        QStringList parameterMarks;
        for (QTreeWidgetItem* row : m_params->ParameterRows()) {
            if (row->text(PARAM_COL_MODIFIE) != "0")
                parameterMarks << row->text(PARAM_COL_IDENTIFIANT);
        }
        QVERIFY2(parameterMarks.isEmpty(), qPrintable(parameterMarks.join(' ')));

        ReadAll(m_params, "1");
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            TreeValuesFromWidgets(m_tree, m_tree->topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        for (QTreeWidgetItem* row : m_params->ParameterRows())
            QCOMPARE(row->text(PARAM_COL_MODIFIE), QString("0"));
    }

    void rowWithoutIdentifiantStillWorks()
    {
        ReadAll(m_params, "0");
        QTreeWidgetItem* cumul = RowAt(
            m_tree,
            "Gestion Appareils Timer>Appareil 2 (Pour controler 2 appareils)>Configuration>Cumul Autorisé");
        qobject_cast<QCheckBox*>(m_tree->itemWidget(cumul, 1))->click();
        QCOMPARE(cumul->text(PARAM_COL_VALEUR), QString("1"));
        QVERIFY(!m_params->ParameterRows().contains(cumul));
    }
};

QTEST_MAIN(TstParameterTree)
#include "tst_parametertree.moc"
