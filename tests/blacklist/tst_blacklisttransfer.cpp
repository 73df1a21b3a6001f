#include <QProgressBar>
#include <QtTest>

#include "blacklist/blacklisttransfer.h"
#include "transferbench.h"

namespace {

// The window also collects a stray result 16 that would otherwise hold the slot.
struct Bench : TransferBench<BlacklistTransfer>
{
    Bench() : TransferBench(ARG_FILE_LN_CLEAR_RESULT, ARG_FILE_LN_ADD_RESULT, ARG_FILE_LN_GET_RESULT)
    {
        route(ARG_CONFIG_GET_RESULT, [this] {
            bool isOk = false;
            char answerStatus = 0;
            link.CmdAnswer(&isOk, &answerStatus, nullptr);
        });
    }
};

} // namespace

class TstBlacklistTransfer : public QObject
{
    Q_OBJECT

private slots:
    // "31/12/25", "hier" and an empty row go out in the upload below.
    void recordBuild_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("record");
        QTest::newRow("example") << QStringList{"04/12/26", "04A1B2C3", "125", "3", "perdu"}
                                 << "Cda=261204;UID=04A1B2C3;Usr=125;Grp=3";
        // "dd/MM/yy" is read in the 2000s, where 29/02/00 exists.
        QTest::newRow("leap day 2000")
            << QStringList{"29/02/00", "", "", "", ""} << "Cda=000229;UID=;Usr=;Grp=";
        QTest::newRow("impossible day") << QStringList{"31/02/26", "", "", "", ""} << "Cda=;UID=;Usr=;Grp=";
        QTest::newRow("four-digit year")
            << QStringList{"04/12/2026", "", "", "", ""} << "Cda=;UID=;Usr=;Grp=";
    }

    void recordBuild()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, record);
        QTableWidget table;
        BlacklistTableSetup(&table);
        TableRowAdd(&table, cells);
        QString built;
        QVERIFY(BlacklistRecordBuild(&table, 0, &built));
        QCOMPARE(built, record);
    }

    // statuses: the reader's answer to the clear, then to each add until it refuses one.
    void upload_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QStringList>("all");
        QTest::addColumn<QByteArray>("statuses");
        QTest::addColumn<int>("sentCount");
        QTest::addColumn<QString>("end");
        const QList<QStringList> three{
            {"31/12/25", "04A1B2C3", "125", "3", "perdu"}, {"hier", "0A0B", "", "2", "volé"}, {}};
        const QStringList threeSent{"FC Fil=5", "FA Fil=5;Cda=251231;UID=04A1B2C3;Usr=125;Grp=3",
                                    "FA Fil=5;Cda=;UID=0A0B;Usr=;Grp=2", "FA Fil=5;Cda=;UID=;Usr=;Grp="};
        QTest::newRow("empty table") << QList<QStringList>{} << QStringList{"FC Fil=5"} << QByteArray("0")
                                     << 1 << "LN Aucun liste à envoyer11";
        QTest::newRow("three rows") << three << threeSent << QByteArray("0") << 4 << "LN Add->FIN";
        QTest::newRow("clear refused")
            << three << threeSent << QByteArray("1") << 1 << "LN effacement->échec";
        QTest::newRow("second add refused")
            << three << threeSent << QByteArray("002") << 3 << "LN Add->ECHEC";
    }

    void upload()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(QStringList, all);
        QFETCH(QByteArray, statuses);
        QFETCH(int, sentCount);
        QFETCH(QString, end);
        Bench b;
        QVERIFY(b.open());
        for (const QStringList& cells : rows)
            TableRowAdd(&b.table, cells);
        b.fileAnswers(statuses);
        QVERIFY(b.transfer.WriteToSupport());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), end);
        QCOMPARE(b.reader.requestTexts(), all.mid(0, sentCount));

        // Pressed again, the chain starts over with a clear and the first row.
        QProgressBar bar;
        b.transfer.ProgressBarAttach(&bar);
        QSignalSpy progress(&b.transfer, &CommandChain::SIG_Progress);
        QVERIFY(b.transfer.WriteToSupport());
        QVERIFY(!bar.isHidden());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), rows.isEmpty() ? end : QStringLiteral("LN Add->FIN"));
        QCOMPARE(b.reader.requestTexts().mid(sentCount), all);
        QCOMPARE(b.transfer.Done(), rows.size());
        QCOMPARE(progress.last(), (QVariantList{rows.size(), rows.size()}));
        QVERIFY(bar.isHidden());
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
        TableRowAdd(&b.table, {"stale"});
        b.reader.setHandler(FakeReader::fileRecords(records));
        QVERIFY(b.transfer.ReadFromSupport());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("LN Add->FIN"));
        QStringList asked;
        for (int position = 0; position <= records.size(); ++position)
            asked << QStringLiteral("FG Fil=5;Pos=%1").arg(position);
        QCOMPARE(b.reader.requestTexts(), asked);
        QCOMPARE(TableTexts(&b.table), rows);
    }

    // A chain started while another command holds the slot waits for it, and
    // a second transfer asked for meanwhile is refused where the operator sees it.
    void busySlot()
    {
        Bench b;
        QVERIFY(b.open());
        TableRowAdd(&b.table, {"01/01/26", "A"});
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
        QCOMPARE(b.reader.requestTexts(),
                 (QStringList{"VG 1.1", "FC Fil=5", "FA Fil=5;Cda=260101;UID=A;Usr=;Grp="}));

        // With the poller taking the slot between steps, every step still goes out.
        b.reader.answerAlways('B', 'S', '0', "0");
        for (int row = 0; row < 20; ++row)
            TableRowAdd(&b.table, {"01/01/26", QString::number(row)});
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
