#include "readerconfig/parametertree.h"

#include "readerconfig/parametercatalogue.h"
#include "readerconfig/treeeditors.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

ParameterTree::ParameterTree(QTreeWidget* tree, QLineEdit* status) : m_tree(tree), m_status(status) {}

void ParameterTree::Setup()
{
    ParameterCatalogueFill(m_tree);

    for (int c = PARAM_COL_SAVE; c < m_tree->columnCount(); ++c)
        m_tree->hideColumn(c);
    constexpr int DESIGNATION_WIDTH = 250;
    constexpr int VALUE_WIDTH = 150;
    m_tree->setColumnWidth(PARAM_COL_DESIGNATION, DESIGNATION_WIDTH);
    m_tree->setColumnWidth(PARAM_COL_VALEUR, VALUE_WIDTH);
    m_tree->setAlternatingRowColors(true);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setUniformRowHeights(true);
    m_tree->setAcceptDrops(false);
    m_tree->setSortingEnabled(false);

    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        TreeEditableSet(m_tree->topLevelItem(i), PARAM_COL_IDENTIFIANT);
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        TreeEditorsCreate(m_tree->topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
}

void ParameterTree::ItemChanged(QTreeWidgetItem* item, int column)
{
    if (column != PARAM_COL_VALEUR || TreeLoading)
        return;
    m_status->setText(QCoreApplication::translate("ParameterTree", "Modification à sauvegarder !"));
    ++ModifCounter;
    item->setText(PARAM_COL_MODIFIE, QString::number(ModifCounter));
}

void ParameterTree::ShowAllColumns()
{
    for (int c = PARAM_COL_VALEUR; c < m_tree->columnCount(); ++c)
        m_tree->showColumn(c);
}

QList<QTreeWidgetItem*> ParameterTree::ParameterRows() const
{
    QList<QTreeWidgetItem*> rows;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->text(PARAM_COL_IDENTIFIANT).contains(QLatin1Char('.')))
            rows.append(*it);
    }
    return rows;
}

QList<QTreeWidgetItem*> ParameterTree::RowsWithIdentifiant(const QString& id) const
{
    QList<QTreeWidgetItem*> rows;
    if (id.isEmpty())
        return rows;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->text(PARAM_COL_IDENTIFIANT) == id)
            rows.append(*it);
    }
    return rows;
}
