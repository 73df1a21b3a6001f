// The blacklist table and its file: a table of 0 to 6 columns gets a few rows of invented cells,
// then the rows of a file; saved and loaded into an empty table it gives the same cells, unless a
// cell holds ";" or a line feed, which the file cannot keep.

#include "fuzzsupport.h"

#include "blacklist/tablerows.h"
#include "blacklist/ttablefile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QFile>
#include <QTableWidget>

namespace {

using Rows = QList<QStringList>;

Rows cells(const QTableWidget& table)
{
    Rows rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList line;
        for (int column = 0; column < table.columnCount(); ++column) {
            // Every row the helpers make has an item in each column.
            FUZZ_CHECK(table.item(row, column));
            line.append(TableCellText(&table, row, column));
        }
        rows.append(line);
    }
    return rows;
}

bool keepable(const Rows& rows)
{
    for (const QStringList& row : rows) {
        for (const QString& cell : row) {
            if (cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('\n')))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::quietMessages();
    qputenv("QT_QPA_PLATFORM", "minimal");
    new QApplication(*argc, *argv);
    FuzzSupport::workDirPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int columns = input.ConsumeIntegralInRange(0, 6);
    const int invented = input.ConsumeIntegralInRange(0, 3);

    QTableWidget table;
    table.setColumnCount(columns);
    for (int row = 0; row < invented; ++row) {
        TableRowAppend(&table);
        for (int column = 0; column < columns; ++column) {
            const std::string text = input.ConsumeRandomLengthString(64);
            TableCellSet(&table, table.rowCount() - 1, column,
                         QString::fromUtf8(text.data(), int(text.size())));
        }
    }
    // A line parsed on its own, then saved, parses back to the same row.
    QString line;
    if (TableRowToLine(&table, 0, &line)) {
        QTableWidget single;
        single.setColumnCount(columns);
        TableLineToRow(&single, line);
        QString again;
        FUZZ_CHECK(TableRowToLine(&single, 0, &again));
        if (keepable(cells(table).mid(0, 1)))
            FUZZ_CHECK(again == line);
    }
    FUZZ_CHECK(!TableRowToLine(&table, table.rowCount(), &line) && line.isEmpty());

    const std::vector<char> bytes = input.ConsumeRemainingBytes<char>();
    const QString path = FuzzSupport::workDirPath() + QStringLiteral("/listenoire.txt");
    {
        QFile out(path);
        FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
    }
    FUZZ_CHECK(TTableFile::TableLoad(&table, path));
    const Rows before = cells(table);
    FUZZ_CHECK(TTableFile::TableSave(&table, path));

    QTableWidget reloaded;
    reloaded.setColumnCount(columns);
    FUZZ_CHECK(TTableFile::TableLoad(&reloaded, path));
    const Rows after = cells(reloaded);
    if (keepable(before) && after != before) {
        for (const QStringList& row : before + Rows{{QStringLiteral("--")}} + after)
            std::fprintf(stderr, "  %s\n", row.join(QLatin1Char('|')).toUtf8().toPercentEncoding("|").constData());
    }
    FUZZ_CHECK(!keepable(before) || after == before);
    return 0;
}
