#ifndef TREEROWS_H
#define TREEROWS_H

#include <QLineEdit>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QTreeWidgetItemIterator>

#include "readerconfig/parametercatalogue.h"
#include "readerconfig/parametertree.h"

// Finds a row by its labels from the top, joined by ">" (labels may hold a "/").
inline QTreeWidgetItem* RowAt(QTreeWidget* tree, const QString& path)
{
    QTreeWidgetItem* found = nullptr;
    for (const QString& label : path.split(QLatin1Char('>'))) {
        QTreeWidgetItem* next = nullptr;
        const int count = found ? found->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* candidate = found ? found->child(i) : tree->topLevelItem(i);
            if (candidate->text(PARAM_COL_DESIGNATION) == label)
                next = candidate;
        }
        if (!next)
            return nullptr;
        found = next;
    }
    return found;
}

// The first row with Identifiant `id`; a missing one ends the test program.
inline QTreeWidgetItem* RowById(QTreeWidget* tree, const QString& id)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(PARAM_COL_IDENTIFIANT) == id)
            return *it;
    }
    qFatal("no row %s", qPrintable(id));
    return nullptr;
}

inline QList<QTreeWidgetItem*> AllRows(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        rows.append(*it);
    return rows;
}

// A catalogue tree with its status line, set up as the window does; with
// marking, edits of the Valeur column are marked as the window marks them.
struct ParameterTreeBench
{
    explicit ParameterTreeBench(bool marking)
    {
        params.Setup();
        if (marking)
            QObject::connect(&tree, &QTreeWidget::itemChanged, &tree,
                             [this](QTreeWidgetItem* item, int column) { params.ItemChanged(item, column); });
    }
    QTreeWidget tree;
    QLineEdit status;
    ParameterTree params{&tree, &status};
};

#endif // TREEROWS_H
