#include "blacklist/tablerows.h"

#include <QTableWidget>

#include "blacklist/blacklistlog.h"
#include "commun/vrltoolbox.h"

void TableRowAppend(QTableWidget* table)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < table->columnCount(); ++column)
        table->setItem(row, column, new QTableWidgetItem(QString()));
}

void TableClear(QTableWidget* table)
{
    table->setRowCount(0);
}

int TableRowDeleteSelected(QTableWidget* table)
{
    const QList<QTableWidgetItem*> selected = table->selectedItems();
    if (selected.isEmpty())
        return -1;
    const int row = selected.first()->row();
    table->removeRow(row);
    return row;
}

bool TableRowToLine(QTableWidget* table, int row, QString* line)
{
    line->clear();
    if (row < 0 || row >= table->rowCount())
        return false;
    for (int column = 0; column < table->columnCount(); ++column) {
        line->append(TableCellText(table, row, column));
        line->append(QLatin1Char(';'));
    }
    return true;
}

void TableLineToRow(QTableWidget* table, QString line)
{
    TableRowAppend(table);
    const int row = table->rowCount() - 1;
    const QStringList parts = line.split(QLatin1Char(';'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    const int count = qMin(parts.size(), table->columnCount());
    for (int column = 0; column < count; ++column)
        TableCellSet(table, row, column, parts.at(column));
}

QString TableCellText(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

void TableCellSet(QTableWidget* table, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = table->item(row, column))
        item->setText(text);
    else
        table->setItem(row, column, new QTableWidgetItem(text));
}

void TableRecordAppend(QTableWidget* table, const QString& record,
                       std::initializer_list<TableRecordField> fields)
{
    TableRowAppend(table);
    const int row = table->rowCount() - 1;
    for (const TableRecordField& field : fields) {
        bool found = false;
        const QString value = VRLTBSTR_ValueGet(&found, record, QLatin1String(field.key), QLatin1Char(';'),
                                                QLatin1Char('='), QString());
        if (!found)
            continue;
        TableCellSet(table, row, field.column, value);
        qCDebug(lcBlacklist, field.trace, qUtf8Printable(value));
    }
}
