#ifndef TABLEROWS_H
#define TABLEROWS_H

#include <QString>

#include <initializer_list>

class QTableWidget;

// Row helpers of the blacklist table. Every row they create carries an item
// in each column, so the other helpers can read any cell of it.

void TableRowAppend(QTableWidget* table);
void TableClear(QTableWidget* table);
// Removes the row of the first selected item; its number, or -1 without selection.
int TableRowDeleteSelected(QTableWidget* table);
// Columns 0..n-1 each followed by ";", no line end; false past the last row.
bool TableRowToLine(QTableWidget* table, int row, QString* line);
// Appends a row filled from a file line (at most one field per column).
void TableLineToRow(QTableWidget* table, QString line);

// Text of a cell, empty when the cell has no item.
QString TableCellText(const QTableWidget* table, int row, int column);
void TableCellSet(QTableWidget* table, int row, int column, const QString& text);

// Where a "key=value;" field of a reader record goes; trace is the qDebug
// format its value is logged with.
struct TableRecordField
{
    const char* key;
    int column;
    const char* trace;
};
// Appends a row holding the record's fields that are present.
void TableRecordAppend(QTableWidget* table, const QString& record,
                       std::initializer_list<TableRecordField> fields);

#endif // TABLEROWS_H
