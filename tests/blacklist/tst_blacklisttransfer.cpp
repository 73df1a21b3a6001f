#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QtTest>

#include "blacklist/blacklisttab.h"
#include "blacklist/blacklisttransfer.h"
#include "blacklist/tablerows.h"
#include "fakereader.h"
#include "link/qprotocole.h"
#include "linkrecorder.h"
#include "ptypair.h"

namespace {

void RowAdd(QTableWidget* table, const QStringList& cells)
{
    TableRowAppend(table);
    for (int column = 0; column < cells.size(); ++column)
        TableCellSet(table, table->rowCount() - 1, column, cells.at(column));
}

QStringList Payloads(const QList<ReaderRequest>& requests)
{
    QStringList payloads;
    for (const ReaderRequest& request : requests)
        payloads << QString(request.letter) + request.subLetter + ' ' + QString::fromUtf8(request.payload);
    return payloads;
}

// The blacklist tab over a link to a scripted reader, with the window's
// routing of results 18, 19 and 20 (and collection of a stray result 16).
struct Bench
{
    PtyPair pty;
    FakeReader reader{pty};
    QProtocole link;
    LinkRecorder rec{&link};
    QTableWidget table;
    QLineEdit status;
    BlacklistTransfer transfer{&link, &table, &status};

    Bench()
    {
        BlacklistTableSetup(&table);
        QObject::connect(&link, &QProtocole::SIG_Data, &transfer,
                         [this](unsigned int id, unsigned int arg1, QString) {
                             if (id != 2)
                                 return;
                             if (arg1 == ARG_FILE_LN_CLEAR_RESULT)
                                 transfer.OnClearResult();
                             else if (arg1 == ARG_FILE_LN_ADD_RESULT)
                                 transfer.OnAddResult();
                             else if (arg1 == ARG_FILE_LN_GET_RESULT)
                                 transfer.OnGetResult();
                             else if (arg1 == ARG_CONFIG_GET_RESULT) {
                                 bool isOk = false;
                                 char answerStatus = 0;
                                 link.CmdAnswer(&isOk, &answerStatus, nullptr);
                             }
                         });
        link.start();
    }

    bool open()
    {
        link.SetPortName(pty.slavePath());
        link.SetConnectionRequest(1);
        return rec.waitForData(2, ARG_LINK_STATE) && link.Connected;
    }

    bool idle()
    {
        return rec.waitFor([this] { return !transfer.IsRunning(); }, 15000);
    }
};

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

    void upload_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("end");
        QTest::newRow("empty table") << QList<QStringList>{} << QStringList{"FC Fil=5"}
                                     << "LN Aucun liste à envoyer11";
        QTest::newRow("three rows") << QList<QStringList>{{"31/12/25", "04A1B2C3", "125", "3", "perdu"},
                                                          {"hier", "0A0B", "", "2", "volé"},
                                                          {}}
                                    << QStringList{"FC Fil=5",
                                                   "FA Fil=5;Cda=251231;UID=04A1B2C3;Usr=125;Grp=3",
                                                   "FA Fil=5;Cda=;UID=0A0B;Usr=;Grp=2",
                                                   "FA Fil=5;Cda=;UID=;Usr=;Grp="}
                                    << "LN Add->FIN";
    }

    void upload()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(QStringList, sent);
        QFETCH(QString, end);
        Bench b;
        QVERIFY(b.open());
        for (const QStringList& cells : rows)
            RowAdd(&b.table, cells);
        b.reader.answerAlways('F', 'C', '0');
        b.reader.answerAlways('F', 'A', '0');
        QProgressBar bar;
        b.transfer.ProgressBarAttach(&bar);
        QSignalSpy progress(&b.transfer, &CommandChain::SIG_Progress);

        QVERIFY(b.transfer.WriteToSupport());
        QVERIFY(!bar.isHidden());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), end);
        QCOMPARE(Payloads(b.reader.requests()), sent);
        QCOMPARE(b.transfer.Done(), rows.size());
        QCOMPARE(progress.last(), (QVariantList{rows.size(), rows.size()}));
        QVERIFY(bar.isHidden());
    }

    void uploadFailures()
    {
        Bench b;
        QVERIFY(b.open());
        RowAdd(&b.table, {"01/01/26", "A"});
        RowAdd(&b.table, {"01/01/26", "B"});
        b.reader.answer('F', 'C', '1');
        QVERIFY(b.transfer.WriteToSupport());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("LN effacement->échec"));
        QCOMPARE(b.reader.requestCount(), 1);

        // Pressed again, the chain starts over with a clear; a refused add ends it.
        b.reader.answer('F', 'C', '0');
        b.reader.answer('F', 'A', '0');
        b.reader.answer('F', 'A', '2');
        QVERIFY(b.transfer.WriteToSupport());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("LN Add->ECHEC"));
        QCOMPARE(Payloads(b.reader.requests()).mid(1),
                 (QStringList{"FC Fil=5",
                              "FA Fil=5;Cda=260101;UID=A;Usr=;Grp=", "FA Fil=5;Cda=260101;UID=B;Usr=;Grp="}));
    }

    void readBack_data()
    {
        QTest::addColumn<QList<QByteArray>>("records");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("two records") << QList<QByteArray>{"Cda=261204;UID=04A1B2C3;Usr=125;Grp=3",
                                                          "Cda=;UID=0A0B;Grp=4"}
                                     << QList<QStringList>{{"", "", "125", "3", ""}, {"", "", "", "4", ""}};
        QTest::newRow("empty file") << QList<QByteArray>{} << QList<QStringList>{};
    }

    void readBack()
    {
        QFETCH(QList<QByteArray>, records);
        QFETCH(QList<QStringList>, rows);
        Bench b;
        QVERIFY(b.open());
        RowAdd(&b.table, {"stale"});
        b.reader.setHandler([records](const ReaderRequest& request) {
            const int position = request.payload.mid(request.payload.indexOf("Pos=") + 4).toInt();
            return position < records.size() ? FakeReader::frame('F', '0', records.at(position))
                                             : FakeReader::frame('F', '1');
        });
        QVERIFY(b.transfer.ReadFromSupport());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("LN Add->FIN"));
        QStringList asked;
        for (int position = 0; position <= records.size(); ++position)
            asked << QStringLiteral("FG Fil=5;Pos=%1").arg(position);
        QCOMPARE(Payloads(b.reader.requests()), asked);
        QCOMPARE(b.table.rowCount(), rows.size());
        for (int row = 0; row < rows.size(); ++row)
            for (int column = 0; column < 5; ++column)
                QCOMPARE(TableCellText(&b.table, row, column), rows.at(row).at(column));
    }

    // A chain started while another command holds the slot waits for it, and
    // a second transfer asked for meanwhile is refused where the operator sees it.
    void busySlot()
    {
        Bench b;
        QVERIFY(b.open());
        RowAdd(&b.table, {"01/01/26", "A"});
        b.reader.answerAlways('F', 'C', '0');
        b.reader.answerAlways('F', 'A', '0');
        b.reader.answerRaw('V', 'G', QByteArray()); // silent: the slot stays taken until the time-out
        QCOMPARE(b.link.CmdRequest('V', 'G', "1.1", ARG_CONFIG_GET_RESULT, 1000), QProtocole::CMD_SUBMITTED);
        QVERIFY(b.reader.waitForRequests(1));

        QVERIFY(b.transfer.WriteToSupport());
        QVERIFY(!b.transfer.ReadFromSupport());
        QCOMPARE(b.status.text(), CommandChain::BusyText());
        QLineEdit otherStatus;
        QTableWidget otherTable;
        BlacklistTransfer other(&b.link, &otherTable, &otherStatus);
        QVERIFY(!other.ReadFromSupport());
        QCOMPARE(otherStatus.text(), CommandChain::BusyText());

        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("LN Add->FIN"));
        QCOMPARE(Payloads(b.reader.requests()),
                 (QStringList{"VG 1.1", "FC Fil=5", "FA Fil=5;Cda=260101;UID=A;Usr=;Grp="}));

        // With the poller taking the slot between steps, every step still goes out.
        b.reader.answerAlways('B', 'S', '0', "0");
        for (int row = 0; row < 20; ++row)
            RowAdd(&b.table, {"01/01/26", QString::number(row)});
        b.link.SetPollingWanted(true);
        QVERIFY(b.transfer.WriteToSupport());
        QVERIFY(b.idle());
        b.link.SetPollingWanted(false);
        QCOMPARE(b.status.text(), QStringLiteral("LN Add->FIN"));
        QCOMPARE(b.transfer.Done(), 21);
    }
};

QTEST_MAIN(TstBlacklistTransfer)
#include "tst_blacklisttransfer.moc"
