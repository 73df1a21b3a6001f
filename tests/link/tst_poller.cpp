#include <QtTest>

#include "link/commands.h"
#include "linkbench.h"

namespace {
const QStringList Rotating = {"/// Polling ///", "--- Polling ---", "\\\\\\ Polling \\\\\\",
                              "||| Polling |||"};

bool ended(LinkBench& b, unsigned int resultId)
{
    bool ok = false;
    char status = 0;
    return b.collect(resultId, &ok, &status, nullptr) && ok;
}
} // namespace

// The poller and its share of the command slot.
class TstPoller : public QObject
{
    Q_OBJECT

private slots:
    void polling()
    {
        LinkBench b;
        b.reader.answer('B', 'S', '0', "00000000");
        b.reader.answer('B', 'S', '0', "10");
        b.reader.answer('B', 'S', '0', "1100000abc");
        b.reader.answerAlways('B', 'S', '0', "0");
        b.reader.answerAlways('V', 'G', '0', "1");
        QVERIFY(b.open());
        b.link.SetPollingWanted(true);
        QStringList rotating;
        QVERIFY(b.rec.waitFor(
            [&] {
                rotating.clear();
                for (const QString& t : b.rec.texts(LinkEvent::Data))
                    if (Rotating.contains(t))
                        rotating << t;
                return rotating.size() >= 4;
            },
            8000));
        const QStringList texts = b.rec.texts(LinkEvent::Data);
        QCOMPARE(texts.mid(0, 2), (QStringList{"Polling -> Start", "Polling ..."}));
        for (int i = 1; i < rotating.size(); ++i)
            QCOMPARE(Rotating.indexOf(rotating.at(i)), (Rotating.indexOf(rotating.at(i - 1)) + 1) % 4);
        QCOMPARE(b.rec.dataCount(DATA_CHANNEL_RESULT, ARG_SUPPORT_REMOVED), 1);
        QCOMPARE(b.rec.dataCount(DATA_CHANNEL_RESULT, ARG_SUPPORT_INSERTED), 1);
        for (const LinkEvent& e : b.rec.events)
            if (e.kind == LinkEvent::Data && e.id == DATA_CHANNEL_RESULT && e.arg1 == ARG_SUPPORT_INSERTED)
                QCOMPARE(e.text, QStringLiteral("1100000abc"));

        b.link.SetPollingWanted(false);
        QVERIFY(b.rec.waitFor([&] { return b.rec.texts(LinkEvent::Data).contains("Polling -> Stop"); }));
        // Polling has ended: the next frame on the line is ours.
        const int before = b.reader.requestCount();
        QCOMPARE(b.link.CmdRequest(ReaderCommands::configGet("1")), QProtocole::CMD_SUBMITTED);
        QVERIFY(b.reader.waitForRequests(before + 1));
        QCOMPARE(b.reader.requests().at(before).letter, 'V');
        QVERIFY(ended(b, ARG_CONFIG_GET_RESULT));

        // A failed poll switches polling off without "Polling -> Stop".
        b.rec.clear();
        b.reader.answerRaw('B', 'S', wire("<B0>"));
        b.link.SetPollingWanted(true);
        QVERIFY(b.rec.waitForData(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT));
        QVERIFY(!b.link.PollingWanted);
        QCOMPARE(b.link.CmdRequest(ReaderCommands::configGet("2")), QProtocole::CMD_SUBMITTED);
        QVERIFY(ended(b, ARG_CONFIG_GET_RESULT));
        QVERIFY(!b.rec.texts(LinkEvent::Data).contains("Polling -> Stop"));
    }

    void slotHandOver()
    {
        LinkBench b;
        b.reader.answerRaw('B', 'S', QByteArray()); // the first poll stays in flight
        b.reader.answerAlways('B', 'S', '0', "0");
        b.reader.answerAlways('V', 'G', '0', "v");
        QVERIFY(b.open());
        b.link.SetPollingWanted(true);
        QVERIFY(b.reader.waitForRequests(1));
        QVERIFY(!b.link.Cmd.IsFree);

        // A click finds the slot busy; a chain step waits its turn.
        QCOMPARE(b.link.CmdRequest(ReaderCommands::configGet("1.0.0")), QProtocole::CMD_BUSY);
        for (const char* id : {"2.0.0", "3.0.0"})
            QCOMPARE(b.link.CmdRequestQueued(ReaderCommands::configGet(id)), QProtocole::CMD_SUBMITTED);
        b.reader.send(FakeReader::frame('B', '0', "0"));
        QVERIFY(ended(b, ARG_CONFIG_GET_RESULT));
        // The second queued step took the slot as the first was collected.
        QVERIFY(ended(b, ARG_CONFIG_GET_RESULT));
        // Until collected, the slot held the poller back.
        QCOMPARE(b.reader.requestCount(), 3);
        QVERIFY(b.reader.waitForRequests(4));
        const QStringList sent = b.reader.requestTexts();
        QCOMPARE(sent.mid(0, 4), (QStringList{"BS ", "VG 2.0.0", "VG 3.0.0", "BS "}));
        QVERIFY(!sent.contains("VG 1.0.0"));
    }

    void portClosedDuringPoll()
    {
        LinkBench b;
        b.reader.answerRaw('B', 'S', QByteArray()); // the poll stays in flight
        QVERIFY(b.open());
        b.link.SetPollingWanted(true);
        QVERIFY(b.reader.waitForRequests(1));
        b.link.SetConnectionRequest(QProtocole::CONNECTION_CLOSE);
        // The poll fails at once and gives the slot back.
        QVERIFY(b.rec.waitForData(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT));
        QVERIFY(!b.link.PollingWanted);
        QVERIFY(b.link.CmdWaitFree(5000));
    }
};

QTEST_GUILESS_MAIN(TstPoller)
#include "tst_poller.moc"
