#include <QtTest>

#include <mutex>

#include "link/commands.h"
#include "linkbench.h"

using namespace ReaderCommands;

namespace {

// Feeds bytes and returns one line per ended frame: "OK h1 h2 payload" or "BROKEN",
// then "pos=N" with the receive position left at the end.
QString Receive(const QByteArray& bytes, bool expireAtEnd)
{
    FrameReceiver rx;
    QStringList out;
    for (const char byte : bytes) {
        const FrameReceiver::Event event = rx.feed(byte);
        if (event == FrameReceiver::Event::Complete || event == FrameReceiver::Event::Overflow) {
            out << (rx.frameOk() ? QStringLiteral("OK %1 %2 %3")
                                       .arg(QChar(rx.header1()), QChar(rx.header2()), QString(rx.payload()))
                                 : "BROKEN");
            rx.clearFrameDone();
        }
    }
    if (expireAtEnd && rx.expire())
        out << "BROKEN";
    return (out << QStringLiteral("pos=%1").arg(rx.position())).join('|');
}

const QString Rotating = "/// Polling ///|--- Polling ---|\\\\\\ Polling \\\\\\|||| Polling |||";

} // namespace

// The reader link: frames, the command table, and QProtocole on a pseudo-terminal
// with a scripted reader (commands, answers, the poller, the port coming and going).
class TstLink : public QObject
{
    Q_OBJECT

private slots:
    void frames()
    {
        const QByteArray full(FrameReceiver::PayloadCapacity, 'p');
        const std::tuple<QByteArray, bool, QString> rows[] = {
            {wire("<V0abc=1>xyz"), false, "OK V 0 abc=1|pos=0"},
            {wire("zz>\x01<B1X>012"), false, "OK B 1 X|pos=0"}, // garbage before STX skipped
            {wire("<DXhello>012<B0>012"), false, "OK D X hello|OK B 0 |pos=0"},
            {wire("<B0ab>0"), true, "BROKEN|pos=0"}, // cut after ETX, then the byte time-out
            {wire("<B0ab>0"), false, "pos=5"},
            {wire("<B0ab<B0c>012"), false, wire("OK B 0 ab<B0c|pos=0")}, // no escaping
            {wire("<B0>01234<D0x>012"), false, "OK B 0 |OK D 0 x|pos=0"},
            {wire("<B0") + full + wire(">012"), false, "OK B 0 " + full + "|pos=0"},
            {wire("<B0") + full + "pp" + wire(">012<B0ok>012"), false, "BROKEN|OK B 0 ok|pos=0"}};
        for (const auto& [bytes, expire, out] : rows)
            QCOMPARE(Receive(bytes, expire), out);
        // A frame broken before its header says nothing of the previous one.
        FrameReceiver rx;
        for (const char byte : wire("<DX>012<"))
            rx.feed(byte);
        QVERIFY(rx.expire() && !rx.frameOk() && rx.header1() == '\0' && rx.rawFrame() == wire("<"));
        QCOMPARE(Frame::decodePayload("H\xc3\xa9l\xe8ne"), QStringLiteral("H\u00c3\u00a9l\u00e8ne"));
    }

    // Every command the program sends: its bytes on the wire, result identifier and time-out.
    void commandTable()
    {
        const QDateTime at(QDate(2025, 3, 7), QTime(9, 5, 42));
        const std::tuple<ReaderCommand, const char*, unsigned int, unsigned int> rows[] = {
            {poll(), "<BS>012", 0, 3000},
            {badgeRead(), "<BR>012", 9, 4000},
            {badgeRead(2000), "<BR>012", 9, 2000},
            {badgeCreate("Nom=Hélène"), "<BNNom=H\xc3\xa9l\xc3\xa8ne>012", 8, 4000},
            {badgeWrite("Cpt=2"), "<BWCpt=2>012", 10, 1000},
            {badgeFormat(), "<BF>012", 32, 4000},
            {blockRead("4", true, "K"), "<RR4;1;K>012", 21, 2000},
            {blockWrite("4", false, "K", "00 11"), "<RW4;0;K;00 11>012", 21, 2000},
            {blockIncrement("5", false, "K", "10"), "<RI5;0;K;1;10>012", 21, 2000},
            {blockDecrement("5", true, "K", "3"), "<RD5;1;K;2;3>012", 21, 2000},
            {trailerRead(quint32(-1), false, "K"), "<RR4294967295;0;K>012", 23, 2000}, // no overflow
            {trailerWrite(1, true, "K", "0xA0", "0xFF 0x07", "0xB0"), "<RW7;1;K;0xA0 0xFF 0x07 0xB0>012", 22,
             2000},
            {fileClear(ReaderFile::Blacklist), "<FCFil=5>012", 18, 2000},
            {fileAdd(ReaderFile::Blacklist, "Id=12"), "<FAFil=5;Id=12>012", 19, 2000},
            {fileGet(ReaderFile::Blacklist, 0), "<FGFil=5;Pos=0>012", 20, 2000},
            {fileClear(ReaderFile::Access), "<FCFil=18>012", 26, 2000},
            {fileAdd(ReaderFile::Access, "Zid=3"), "<FAFil=18;Zid=3>012", 27, 2000},
            {fileGet(ReaderFile::Access, 12), "<FGFil=18;Pos=12>012", 28, 2000},
            {configGet("3.4.0"), "<VG3.4.0>012", 16, 1000},
            {configPut("3.0.1", "X"), "<VP3.0.1=X>012", 24, 4000},
            {configCommit("3"), "<VP3.255.1=>012", 25, 4000},
            {outputTest(1, "250"), "<VP12.255.7.1=250>012", 34, 4000},
            {clockDate(at), "<VP12.255.8=07/03/25>012", 0, 4000},
            {clockTime(at), "<VP12.255.9=09:05>012", 0, 4000}};
        for (const auto& [cmd, bytes, resultId, timeoutMs] : rows) {
            bool tooLong = true;
            QCOMPARE(Frame::build(cmd.letter, cmd.subLetter, Frame::encodePayload(cmd.payload, &tooLong)),
                     wire(bytes));
            QVERIFY(!tooLong);
            QCOMPARE(cmd.resultId, resultId);
            QCOMPARE(cmd.timeoutMs, timeoutMs);
        }
    }

    void openAndClose()
    {
        LinkBench b;
        b.reader.answerAlways('V', 'G', '0', "v");
        b.link.SetPortName(QString());
        b.link.SetConnectionRequest(QProtocole::CONNECTION_OPEN);
        QVERIFY(b.rec.waitForData(DATA_CHANNEL_RESULT, ARG_LINK_STATE) && !b.link.Connected);
        QVERIFY(b.rec.texts(LinkEvent::ComStatus).isEmpty()); // no port named: nothing to say
        // Submitted with the port closed: failed at once, slot not stuck, no stale frame later.
        QCOMPARE(b.exchange(configGet("1")), QStringLiteral("failed ? untouched"));
        QVERIFY(b.link.Cmd.IsFree && b.open());
        QCOMPARE(b.rec.texts(LinkEvent::ComStatus), QStringList{"Ouvert"});
        QCOMPARE(b.exchange(configGet("5")), QStringLiteral("ok 0 v"));
        QCOMPARE(b.reader.requestTexts(), QStringList{"VG 5"});
        b.rec.clear();
        b.link.SetConnectionRequest(QProtocole::CONNECTION_CLOSE);
        QVERIFY(QTest::qWaitFor([&] { return b.rec.texts(LinkEvent::ComStatus) == QStringList{"Fermé"}; }));
        QVERIFY(!b.link.Connected && b.rec.events.at(0).arg1 == ARG_LINK_STATE);
        QVERIFY(b.open()); // the same line again
        // Pending when the port closes: failed then, long before its time-out.
        b.reader.answerRaw('V', 'G', QByteArray());
        QCOMPARE(b.link.CmdRequest('V', 'G', "6", ARG_CONFIG_GET_RESULT, 60000), QProtocole::CMD_SUBMITTED);
        QVERIFY(b.reader.waitForRequests(2));
        b.link.SetConnectionRequest(QProtocole::CONNECTION_CLOSE);
        QCOMPARE(b.exchange(configGet("6"), false), QStringLiteral("failed ? untouched"));
    }

    void exchangesAndTrace()
    {
        std::mutex mutex; // declared before the bench, so that it outlives its worker
        QStringList trace;
        LinkBench b;
        b.link.SetFrameTrace([&](QProtocole::FrameDirection d, const QByteArray& bytes) {
            const std::lock_guard<std::mutex> lock(mutex);
            trace << (d == QProtocole::FrameDirection::Sent ? "TX " : "RX ") +
                         QString::fromUtf8(bytes.mid(1, 3));
        });
        b.reader.setHandler([](const ReaderRequest& r) {
            return r.letter == 'B' ? FakeReader::frame('B', '0', "re:" + r.payload) : QByteArray();
        });
        QVERIFY(b.open());
        // What was sent comes back unchanged.
        QCOMPARE(b.exchange(badgeCreate("Nom=Hélène")), QStringLiteral("ok 0 re:Nom=Hélène"));
        QCOMPARE(b.reader.requestTexts(), QStringList{"BN Nom=Hélène"});
        // No answer at all: failed, reported with the command's identifier; the slot was busy meanwhile.
        QCOMPARE(b.link.CmdRequest('V', 'W', "x", 7, 300), QProtocole::CMD_SUBMITTED);
        QCOMPARE(b.exchange(badgeFormat()), QStringLiteral("busy"));
        QCOMPARE(b.exchange({'V', 'W', "x", 7, 300}, false), QStringLiteral("failed ? untouched"));
        b.link.SetFrameTrace(nullptr);
        const std::lock_guard<std::mutex> lock(mutex);
        QCOMPARE(trace, (QStringList{"TX BNN", "RX B0r", "TX VWx"}));
        QCOMPARE(b.rec.dataCount(DATA_CHANNEL_RESULT, 0), 0);
    }

    void brokenAnswersAndLimits()
    {
        LinkBench b;
        b.reader.answerAlways('F', 'A', '0');
        QVERIFY(b.open());
        b.reader.answerRaw('B', 'R', wire("<B0ab>0")); // cut after ETX and one trailer byte
        QCOMPARE(b.exchange(badgeRead()), QStringLiteral("failed ? untouched"));
        b.reader.answer('B', 'N', '3'); // a refusal is a good frame with its own status
        QCOMPARE(b.exchange(badgeCreate("Cpt=1")), QStringLiteral("ok 3 "));
        // Longer than the receive buffer: broken, and the line recovers.
        b.reader.answerRaw('V', 'G', FakeReader::frame('V', '0', QByteArray(1100, 'x')));
        b.reader.answer('V', 'G', '0', "after");
        QCOMPARE(b.exchange(configGet("2")), QStringLiteral("failed ? untouched"));
        QCOMPARE(b.exchange(configGet("3")), QStringLiteral("ok 0 after"));
        // Over 999 bytes once encoded: refused, nothing sent.
        QCOMPARE(b.exchange({'F', 'A', QString(1000, 'a'), 19, 2000}), QStringLiteral("too long"));
        QCOMPARE(b.link.CmdRequestQueued('F', 'A', QString(500, QChar(0xe9)), 19, 2000),
                 QProtocole::CMD_TOO_LONG);
        QCOMPARE(b.exchange({'F', 'A', QString(999, 'a'), 19, 2000}), QStringLiteral("ok 0 "));
        // A debug frame while an answer is held back.
        b.reader.answerRaw('V', 'G', QByteArray());
        QCOMPARE(b.link.CmdRequest(configGet("2.1")), QProtocole::CMD_SUBMITTED);
        QVERIFY(b.reader.waitForRequests(6));
        b.reader.send(FakeReader::frame('D', '0', "trace é"));
        QVERIFY(QTest::qWaitFor([&] { return b.rec.texts(LinkEvent::Debug).contains("trace é"); }));
        QVERIFY(!b.link.Cmd.IsFree); // still waiting for its answer
        // A debug frame and the answer back to back: both delivered.
        b.reader.send(FakeReader::frame('D', '0', "second") + FakeReader::frame('V', '0', "42"));
        QCOMPARE(b.exchange(configGet("2.1"), false), QStringLiteral("ok 0 42"));
        QVERIFY(b.rec.texts(LinkEvent::Debug).contains("second"));
        // Nothing asked: shown as a problem.
        b.reader.send(FakeReader::frame('B', '0', "orphan"));
        QVERIFY(QTest::qWaitFor([&] { return b.rec.texts(LinkEvent::Debug).contains("PB=>orphan"); }));
        QVERIFY(b.link.Cmd.IsFree);
        // The synchronous pattern of the clock update.
        QVERIFY(b.link.CmdWaitFree(5000));
        QCOMPARE(b.link.PutValueRequest("12.255.8", "07/03/25", 0), QProtocole::CMD_SUBMITTED);
        QVERIFY(b.link.CmdWaitAnswer(8000));
        QCOMPARE(b.reader.requestTexts().last(), QStringLiteral("VP 12.255.8=07/03/25"));
        QCOMPARE(b.reader.requestCount(), 7);
    }

    void poller()
    {
        LinkBench b;
        for (const char* status : {"", "00000000", "10", "1100000abc"})
            b.reader.answer('B', 'S', '0', status); // the first poll stays in flight
        b.reader.answerRaw('B', 'S', QByteArray());
        b.reader.answerAlways('B', 'S', '0', "0");
        b.reader.answerAlways('V', 'G', '0', "v");
        QVERIFY(b.open());
        b.link.SetPollingWanted(true);
        QVERIFY(QTest::qWaitFor(
            [&] { return b.rec.dataCount(DATA_CHANNEL_RESULT, ARG_SUPPORT_INSERTED) == 1; }, 8000));
        QCOMPARE(b.rec.dataCount(DATA_CHANNEL_RESULT, ARG_SUPPORT_REMOVED), 1);
        QCOMPARE(b.rec.events.last().text, QStringLiteral("1100000abc"));
        QStringList texts = b.rec.texts(LinkEvent::Data);
        texts = texts.filter(" Polling ");
        for (int i = 1; i < texts.size(); ++i)
            QCOMPARE(Rotating.indexOf(texts[i]), (Rotating.indexOf(texts[i - 1]) + 16) % 64);

        // The next poll stays in flight: a click finds the slot busy, chain steps wait their turn.
        QVERIFY(b.reader.waitForRequests(5));
        QCOMPARE(b.link.CmdRequest(configGet("1")), QProtocole::CMD_BUSY);
        for (const char* id : {"2", "3"})
            QCOMPARE(b.link.CmdRequestQueued(configGet(id)), QProtocole::CMD_SUBMITTED);
        b.reader.send(FakeReader::frame('B', '0', "0"));
        QCOMPARE(b.exchange(configGet("2"), false), QStringLiteral("ok 0 v"));
        QCOMPARE(b.exchange(configGet("3"), false), QStringLiteral("ok 0 v"));
        QVERIFY(b.reader.waitForRequests(8));
        QCOMPARE(b.reader.requestTexts().mid(4, 4), (QStringList{"BS ", "VG 2", "VG 3", "BS "}));

        b.link.SetPollingWanted(false);
        QVERIFY(QTest::qWaitFor([&] { return b.rec.texts(LinkEvent::Data).contains("Polling -> Stop"); }));
        // A failed poll switches polling off without "Polling -> Stop".
        b.rec.clear();
        b.reader.answerRaw('B', 'S', wire("<B0>"));
        b.link.SetPollingWanted(true);
        QVERIFY(b.rec.waitForData(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT));
        QVERIFY(!b.link.PollingWanted && !b.rec.texts(LinkEvent::Data).contains("Polling -> Stop"));
        QCOMPARE(b.exchange(configGet("4")), QStringLiteral("ok 0 v"));
    }

    // The device goes while a command and a poll are in flight (adapter pulled, emulator killed).
    void deviceVanishes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ttyKorvel"); // a symlink standing for a device node
        auto device = std::make_unique<LinkBench::Line>();
        QVERIFY(device->plugIn(path));
        device->reader.answerRaw('B', 'S', QByteArray());
        LinkBench b;
        QVERIFY(b.open(path));
        b.link.SetPollingWanted(true);
        QVERIFY(device->reader.waitForRequests(1));
        QCOMPARE(b.link.CmdRequestQueued('V', 'G', "1", ARG_CONFIG_GET_RESULT, 60000),
                 QProtocole::CMD_SUBMITTED);
        b.rec.clear();
        device.reset();
        const QString lost = QStringLiteral("Port perdu (%1)").arg(path);
        QVERIFY(QTest::qWaitFor([&] { return b.rec.texts(LinkEvent::ComStatus) == QStringList{lost}; }));
        QVERIFY(!b.link.Connected && b.rec.dataCount(DATA_CHANNEL_RESULT, ARG_LINK_STATE) == 1);
        // The queued command fails now, not after its minute; polling stops as after a failed poll.
        QVERIFY(QTest::qWaitFor([&] {
            return b.rec.dataCount(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT) == 1 &&
                   b.rec.dataCount(DATA_CHANNEL_RESULT, ARG_CONFIG_GET_RESULT) == 1;
        }));
        bool ok = true;
        char status = 0;
        QVERIFY(b.link.CmdAnswer(&ok, &status, nullptr) == QProtocole::ANSWER_ENDED && !ok);
        QVERIFY(!b.link.PollingWanted && b.link.Cmd.IsFree);
        // A dead line must not keep the worker turning: closed, it only looks a few times a second.
        const quint64 turns = b.link.LoopTurns();
        QTest::qWait(500);
        QVERIFY2(b.link.LoopTurns() - turns < 100, qPrintable(QString::number(b.link.LoopTurns() - turns)));

        // Not back yet: the open fails and says so; back: the link works again.
        QVERIFY(QFile::remove(path) && !b.open(path));
        device = std::make_unique<LinkBench::Line>();
        QVERIFY(device->plugIn(path) && b.open(path));
        device->reader.answer('V', 'G', '0', "back");
        QCOMPARE(b.exchange(configGet("2")), QStringLiteral("ok 0 back"));
    }
};

QTEST_GUILESS_MAIN(TstLink)
#include "tst_link.moc"
