#include <QTableWidget>
#include <QtTest>

#include "blacklist/blacklisttab.h"
#include "blacklist/blacklisttransfer.h"
#include "blacklist/tablerows.h"

namespace {

void RowAdd(QTableWidget* table, const QStringList& cells)
{
    TableRowAppend(table);
    for (int column = 0; column < cells.size(); ++column)
        TableCellSet(table, table->rowCount() - 1, column, cells.at(column));
}

} // namespace

class TstBlacklistTransfer : public QObject
{
    Q_OBJECT

private slots:
    void recordBuild_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("record");
        QTest::newRow("example") << QStringList{"04/12/26", "04A1B2C3", "125", "3", "perdu"}
                                 << "Cda=261204;UID=04A1B2C3;Usr=125;Grp=3";
        QTest::newRow("year end") << QStringList{"31/12/25", "AA", "1", "2", ""}
                                  << "Cda=251231;UID=AA;Usr=1;Grp=2";
        QTest::newRow("not a date") << QStringList{"hier", "AA", "1", "2", ""} << "Cda=;UID=AA;Usr=1;Grp=2";
        QTest::newRow("leap day 2000")
            << QStringList{"29/02/00", "", "", "", ""} << "Cda=000229;UID=;Usr=;Grp=";
        QTest::newRow("impossible day") << QStringList{"31/02/26", "", "", "", ""} << "Cda=;UID=;Usr=;Grp=";
        QTest::newRow("four-digit year")
            << QStringList{"04/12/2026", "", "", "", ""} << "Cda=;UID=;Usr=;Grp=";
        QTest::newRow("empty row") << QStringList{} << "Cda=;UID=;Usr=;Grp=";
    }

    void recordBuild()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, record);
        QTableWidget table;
        BlacklistTableSetup(&table);
        RowAdd(&table, cells);
        QString built;
        QVERIFY(BlacklistRecordBuild(&table, 0, &built));
        QCOMPARE(built, record);
    }

    void recordWalk()
    {
        QTableWidget table;
        BlacklistTableSetup(&table);
        unsigned int cursor = 7;
        QString record;
        QVERIFY(!TableRecordFirst(&table, &cursor, BlacklistRecordBuild, &record));
        QCOMPARE(cursor, 0u);

        for (const char* uid : {"A", "B", "C"})
            RowAdd(&table, {"", uid});
        QStringList records;
        for (bool more = TableRecordFirst(&table, &cursor, BlacklistRecordBuild, &record); more;
             more = TableRecordNext(&table, &cursor, BlacklistRecordBuild, &record))
            records << record;
        QCOMPARE(records,
                 (QStringList{"Cda=;UID=A;Usr=;Grp=", "Cda=;UID=B;Usr=;Grp=", "Cda=;UID=C;Usr=;Grp="}));
        QCOMPARE(cursor, 3u);
    }
};

QTEST_MAIN(TstBlacklistTransfer)
#include "tst_blacklisttransfer.moc"
