#ifndef TABLETEXTS_H
#define TABLETEXTS_H

#include <QLineEdit>
#include <QTableWidget>

#include "blacklist/tablerows.h"

// Every cell of the table, row by row.
inline QList<QStringList> TableTexts(const QTableWidget* table)
{
    QList<QStringList> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        rows.append(QStringList());
        for (int column = 0; column < table->columnCount(); ++column)
            rows.last() << TableCellText(table, row, column);
    }
    return rows;
}

inline void TableRowAdd(QTableWidget* table, const QStringList& cells)
{
    TableRowAppend(table);
    for (int column = 0; column < cells.size(); ++column)
        TableCellSet(table, table->rowCount() - 1, column, cells.at(column));
}

#endif // TABLETEXTS_H
