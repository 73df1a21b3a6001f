#ifndef TREEROWS_H
#define TREEROWS_H

#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "readerconfig/parametercatalogue.h"

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

inline QList<QTreeWidgetItem*> AllRows(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        rows.append(*it);
    return rows;
}

#endif // TREEROWS_H
