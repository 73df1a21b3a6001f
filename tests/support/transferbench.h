#ifndef TRANSFERBENCH_H
#define TRANSFERBENCH_H

#include <QLineEdit>
#include <QTableWidget>

#include "blacklist/blacklisttab.h"
#include "blacklist/tablerows.h"
#include "linkbench.h"

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

// A reader-file transfer into the blacklist table over a scripted reader,
// its clear, add and get results routed as the window routes them.
template <typename Transfer> struct TransferBench : LinkBench
{
    QTableWidget table;
    QLineEdit status;
    Transfer transfer;

    template <typename... Source>
    TransferBench(unsigned int clearId, unsigned int addId, unsigned int getId, Source... source)
        : transfer(&link, source..., &table, &status)
    {
        BlacklistTableSetup(&table);
        route(clearId, [this] { transfer.OnClearResult(); });
        route(addId, [this] { transfer.OnAddResult(); });
        route(getId, [this] { transfer.OnGetResult(); });
    }

    // The reader answers statuses[0] to the clear, the next ones to the adds in turn, then '0' to every one.
    void fileAnswers(const QByteArray& statuses)
    {
        reader.answer('F', 'C', statuses.at(0));
        for (char status : statuses.mid(1))
            reader.answer('F', 'A', status);
        reader.answerAlways('F', 'C', '0');
        reader.answerAlways('F', 'A', '0');
    }

    bool idle()
    {
        return rec.waitFor([this] { return !transfer.IsRunning(); }, 15000);
    }
};

#endif // TRANSFERBENCH_H
