#include <QtTest>

#include <mutex>

#include "link/commands.h"
#include "linkbench.h"

Q_DECLARE_METATYPE(ReaderCommand)

using namespace ReaderCommands;

namespace {
// How the command in the slot ended: "ok <status> <text>", or "failed ? untouched" (a failure
// leaves status and text alone).
QString outcome(LinkBench& b, unsigned int resultId)
{
    bool ok = false;
    char status = '?';
    QString text = QStringLiteral("untouched");
    if (!b.collect(resultId, &ok, &status, &text))
        return QStringLiteral("no end");
    return QStringLiteral("%1 %2 %3").arg(ok ? "ok" : "failed", QString(QChar(status)), text);
}

// Submits and waits for the end; "busy" or "too long" when refused.
QString exchange(LinkBench& b, const ReaderCommand& cmd)
{
    const unsigned char r = b.link.CmdRequest(cmd);
    if (r == QProtocole::CMD_SUBMITTED)
        return outcome(b, cmd.resultId);
    return r == QProtocole::CMD_BUSY ? QStringLiteral("busy") : QStringLiteral("too long");
}

const QRegularExpression
    CantOpen(QStringLiteral("^Can't open /nonexistent/ttyKorvel, error code [1-9]\\d*$"));
} // namespace

class TstQProtocole : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // What goes on the wire is the local 8-bit encoding: pin it (always UTF-8 on Qt 6).
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
#endif
    }

    void openAndClose()
    {
        LinkBench b;
        QVERIFY(b.pty.isValid());
        for (const QString& name : {QString(), QStringLiteral("/nonexistent/ttyKorvel")}) {
            b.link.SetPortName(name);
            b.link.SetConnectionRequest(QProtocole::CONNECTION_OPEN);
            QVERIFY(b.rec.waitForData(DATA_CHANNEL_RESULT, ARG_LINK_STATE));
            QVERIFY(!b.link.Connected);
        }
        // The empty name gave no status text, the failed open exactly one.
        const QStringList status = b.rec.texts(LinkEvent::ComStatus);
        QCOMPARE(status.size(), 1);
        QVERIFY2(CantOpen.match(status.first()).hasMatch(), qPrintable(status.first()));

        QVERIFY(b.open());
        QCOMPARE(b.rec.texts(LinkEvent::ComStatus).last(), QStringLiteral("Ouvert"));
        b.rec.clear();
        b.link.SetConnectionRequest(QProtocole::CONNECTION_CLOSE);
        QVERIFY(b.rec.waitFor([&] { return b.rec.texts(LinkEvent::ComStatus).size() == 1; }));
        QVERIFY(!b.link.Connected);
        QCOMPARE(b.rec.events.size(), 2);
        QCOMPARE(b.rec.events.at(0).arg1, ARG_LINK_STATE);
        QCOMPARE(b.rec.events.at(1).text, QStringLiteral("Fermé"));
        QVERIFY(b.open()); // the same line again
    }

    void commandsOnTheWire_data()
    {
        QTest::addColumn<ReaderCommand>("cmd");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<unsigned int>("resultId");
        QTest::addColumn<unsigned int>("timeoutMs");

        const QDateTime at(QDate(2025, 3, 7), QTime(9, 5, 42));
        const QString key = "0x5A 0x17 0xC3 0x88 0x2E 0x91";
        auto row = [](const char* name, const ReaderCommand& c, const char* bytes, unsigned int id,
                      unsigned int ms) { QTest::newRow(name) << c << wire(bytes) << id << ms; };
        row("poll", poll(), "<BS>012", 0, 3000);
        row("badge read", badgeRead(), "<BR>012", 9, 4000);
        row("badge read, create mode", badgeRead(2000), "<BR>012", 9, 2000);
        row("badge create", badgeCreate("Nom=Hélène;Zid=3"), "<BNNom=H\xc3\xa9l\xc3\xa8ne;Zid=3>012", 8,
            4000);
        row("badge write", badgeWrite("Cpt=2"), "<BWCpt=2>012", 10, 1000);
        row("badge format", badgeFormat(), "<BF>012", 32, 4000);
        row("block read", blockRead("4", true, key), "<RR4;1;0x5A 0x17 0xC3 0x88 0x2E 0x91>012", 21, 2000);
        row("block write", blockWrite("4", false, key, "00 11"),
            "<RW4;0;0x5A 0x17 0xC3 0x88 0x2E 0x91;00 11>012", 21, 2000);
        row("block increment", blockIncrement("5", false, "K", "10"), "<RI5;0;K;1;10>012", 21, 2000);
        row("block decrement", blockDecrement("5", true, "K", "3"), "<RD5;1;K;2;3>012", 21, 2000);
        row("trailer read", trailerRead(2, false, "K"), "<RR11;0;K>012", 23, 2000);
        row("trailer write", trailerWrite(1, true, "K", "0xA0", "0xFF 0x07 0x80 0x00", "0xB0"),
            "<RW7;1;K;0xA0 0xFF 0x07 0x80 0x00 0xB0>012", 22, 2000);
        row("blacklist clear", fileClear(ReaderFile::Blacklist), "<FCFil=5>012", 18, 2000);
        row("blacklist add", fileAdd(ReaderFile::Blacklist, "Id=12"), "<FAFil=5;Id=12>012", 19, 2000);
        row("blacklist get", fileGet(ReaderFile::Blacklist, 0), "<FGFil=5;Pos=0>012", 20, 2000);
        row("access clear", fileClear(ReaderFile::Access), "<FCFil=18>012", 26, 2000);
        row("access add", fileAdd(ReaderFile::Access, "Zid=3;Grp=0;Cpt=2;Apb=0"),
            "<FAFil=18;Zid=3;Grp=0;Cpt=2;Apb=0>012", 27, 2000);
        row("access get", fileGet(ReaderFile::Access, 12), "<FGFil=18;Pos=12>012", 28, 2000);
        row("config get", configGet("3.4.0"), "<VG3.4.0>012", 16, 1000);
        row("config put", configPut("3.0.1", "X"), "<VP3.0.1=X>012", 24, 4000);
        row("config commit", configCommit("3"), "<VP3.255.1=>012", 25, 4000);
        row("output test 1, empty", outputTest(0, QString()), "<VP12.255.7.0=>012", 34, 4000);
        row("output test 2", outputTest(1, "250"), "<VP12.255.7.1=250>012", 34, 4000);
        row("clock date", clockDate(at), "<VP12.255.8=07/03/25>012", 0, 4000);
        row("clock time", clockTime(at), "<VP12.255.9=09:05>012", 0, 4000);
    }

    void commandsOnTheWire()
    {
        QFETCH(ReaderCommand, cmd);
        QFETCH(QByteArray, wire);
        QFETCH(unsigned int, resultId);
        QFETCH(unsigned int, timeoutMs);
        QCOMPARE(cmd.resultId, resultId);
        QCOMPARE(cmd.timeoutMs, timeoutMs);

        // Declared before the bench, so that they outlive its worker.
        std::mutex mutex;
        QList<QPair<QProtocole::FrameDirection, QByteArray>> trace;
        LinkBench b;
        b.link.SetFrameTrace([&](QProtocole::FrameDirection d, const QByteArray& bytes) {
            const std::lock_guard<std::mutex> lock(mutex);
            trace.append(qMakePair(d, bytes));
        });
        b.reader.setHandler(
            [](const ReaderRequest& r) { return FakeReader::frame(r.letter, '0', "re:" + r.payload); });
        QVERIFY(b.open());
        // What was sent comes back unchanged.
        QCOMPARE(exchange(b, cmd), "ok 0 re:" + cmd.payload);
        b.link.SetFrameTrace(nullptr);
        const ReaderRequest sent = b.reader.requests().first();
        QCOMPARE(sent.raw, wire);
        QVERIFY(b.link.Cmd.IsFree);
        QCOMPARE(b.rec.dataCount(DATA_CHANNEL_RESULT, 0), 0);
        const std::lock_guard<std::mutex> lock(mutex);
        QCOMPARE(trace.size(), 2);
        QCOMPARE(trace.at(0), qMakePair(QProtocole::FrameDirection::Sent, wire));
        QCOMPARE(trace.at(1), qMakePair(QProtocole::FrameDirection::Received,
                                        FakeReader::frame(sent.letter, '0', "re:" + sent.payload)));
    }

    void answersTimeOutsAndBrokenFrames()
    {
        LinkBench b;
        QVERIFY(b.open());
        // No answer at all: reported with the command's identifier.
        QCOMPARE(b.link.CmdRequest('B', 'W', QStringLiteral("x"), 7, 300), QProtocole::CMD_SUBMITTED);
        QCOMPARE(exchange(b, badgeFormat()), QStringLiteral("busy"));
        QCOMPARE(outcome(b, 7), QStringLiteral("failed ? untouched"));
        QVERIFY(b.link.Cmd.IsFree);

        // Cut after ETX and one trailer byte: a failure.
        b.reader.answerRaw('B', 'R', wire("<B0ab>0"));
        QCOMPARE(exchange(b, badgeRead()), QStringLiteral("failed ? untouched"));
        // A refusal is a good frame with its own status character.
        b.reader.answer('B', 'N', '3');
        QCOMPARE(exchange(b, badgeCreate("Cpt=1")), QStringLiteral("ok 3 "));
        // Garbage before STX, then a 300-byte payload.
        b.reader.answerRaw('V', 'G',
                           QByteArray("\xff\x01junk", 6) + FakeReader::frame('V', '0', QByteArray(300, 'b')));
        QCOMPARE(exchange(b, configGet("1.0.0")), "ok 0 " + QString(300, 'b'));
        // Longer than the receive buffer: broken, and the line recovers.
        b.reader.answerRaw('V', 'G', FakeReader::frame('V', '0', QByteArray(1100, 'x')));
        b.reader.answer('V', 'G', '0', "after");
        QCOMPARE(exchange(b, configGet("1.0.1")), QStringLiteral("failed ? untouched"));
        QCOMPARE(exchange(b, configGet("1.0.2")), QStringLiteral("ok 0 after"));
    }

    void debugAndUnexpectedFrames()
    {
        LinkBench b;
        b.reader.answerRaw('V', 'G', QByteArray()); // hold the answer
        QVERIFY(b.open());
        QCOMPARE(b.link.CmdRequest(configGet("2.1")), QProtocole::CMD_SUBMITTED);
        QVERIFY(b.reader.waitForRequests(1));

        b.reader.send(FakeReader::frame('D', '0', "trace lecteur é"));
        QVERIFY(b.rec.waitFor([&] { return b.rec.texts(LinkEvent::Debug).contains("trace lecteur é"); }));
        QVERIFY(b.link.Cmd.IsPending);
        bool ok = false;
        char status = '?';
        QCOMPARE(b.link.CmdAnswer(&ok, &status, nullptr), (unsigned char)0);
        QCOMPARE(status, '?');

        // A debug frame and the answer back to back: both delivered.
        b.reader.send(FakeReader::frame('D', '0', "second") + FakeReader::frame('V', '0', "42"));
        QCOMPARE(outcome(b, ARG_CONFIG_GET_RESULT), QStringLiteral("ok 0 42"));
        QVERIFY(b.rec.texts(LinkEvent::Debug).contains("second"));

        // Nothing asked: shown as a problem.
        b.reader.send(FakeReader::frame('B', '0', "orphan"));
        QVERIFY(b.rec.waitFor([&] { return b.rec.texts(LinkEvent::Debug).contains("PB=>orphan"); }));
        QVERIFY(b.link.Cmd.IsFree);
    }

    void putValueAndLengthLimit()
    {
        LinkBench b;
        b.reader.answerAlways('F', 'A', '0');
        b.reader.answerAlways('V', 'P', '0');
        QVERIFY(b.open());
        QCOMPARE(exchange(b, {'F', 'A', QString(1000, 'a'), 19, 2000}), QStringLiteral("too long"));
        // 500 characters, 1000 bytes once encoded.
        QCOMPARE(b.link.CmdRequestQueued('F', 'A', QString(500, QChar(0xe9)), 19, 2000),
                 QProtocole::CMD_TOO_LONG);
        QCOMPARE(b.link.PutValueRequest(QStringLiteral("1"), QString(998, 'v'), 24),
                 QProtocole::CMD_TOO_LONG);
        QVERIFY(b.link.Cmd.IsFree);
        QCOMPARE(exchange(b, {'F', 'A', QString(999, 'a'), 19, 2000}), QStringLiteral("ok 0 "));

        // The synchronous pattern of the clock update.
        QVERIFY(b.link.CmdWaitFree(5000));
        QCOMPARE(b.link.PutValueRequest(QStringLiteral("12.255.8"), QStringLiteral("07/03/25"), 0),
                 QProtocole::CMD_SUBMITTED);
        QCOMPARE(outcome(b, 0), QStringLiteral("ok 0 "));
        // Nothing went out for the refused ones.
        const QList<ReaderRequest> sent = b.reader.requests();
        QCOMPARE(sent.size(), 2);
        QCOMPARE(sent.at(0).payload, QByteArray(999, 'a'));
        QCOMPARE(sent.at(1).raw, wire("<VP12.255.8=07/03/25>012"));
        QCOMPARE(b.rec.dataCount(DATA_CHANNEL_RESULT, 0), 0);
    }

    void commandsWhileClosed()
    {
        LinkBench b;
        b.reader.answerAlways('V', 'G', '0', "v");
        // Submitted with the port closed: failed at once, slot not stuck.
        QCOMPARE(exchange(b, configGet("1")), QStringLiteral("failed ? untouched"));
        QCOMPARE(b.link.PutValueRequest(QStringLiteral("12.255.8"), QStringLiteral("x"), 0),
                 QProtocole::CMD_SUBMITTED);
        QCOMPARE(outcome(b, 0), QStringLiteral("failed ? untouched"));
        QVERIFY(b.link.Cmd.IsFree);

        // No stale frame once the port opens.
        QVERIFY(b.open());
        QCOMPARE(exchange(b, configGet("5")), QStringLiteral("ok 0 v"));
        QCOMPARE(b.reader.requestCount(), 1);
        QCOMPARE(b.reader.requests().first().payload, QByteArray("5"));

        // Pending when the port closes: failed then, long before its time-out.
        b.reader.answerRaw('V', 'G', QByteArray());
        QCOMPARE(b.link.CmdRequest('V', 'G', QStringLiteral("6"), ARG_CONFIG_GET_RESULT, 60000),
                 QProtocole::CMD_SUBMITTED);
        QVERIFY(b.reader.waitForRequests(2));
        b.link.SetConnectionRequest(QProtocole::CONNECTION_CLOSE);
        QCOMPARE(outcome(b, ARG_CONFIG_GET_RESULT), QStringLiteral("failed ? untouched"));
        QVERIFY(!b.link.Connected);
    }

    void bareLineWithoutFakeReader()
    {
        PtyPair pty;
        QProtocole link;
        LinkRecorder rec(&link);
        link.start();
        link.SetPortName(pty.slavePath());
        link.SetConnectionRequest(QProtocole::CONNECTION_OPEN);
        QVERIFY(rec.waitForData(DATA_CHANNEL_RESULT, ARG_LINK_STATE));
        QVERIFY(link.Connected);
        QCOMPARE(link.CmdRequest(fileGet(ReaderFile::Blacklist, 3)), QProtocole::CMD_SUBMITTED);
        QCOMPARE(pty.readFrame(5000), wire("<FGFil=5;Pos=3>012"));
        QVERIFY(pty.write(wire("<F0Id=7>012")));
        QVERIFY(rec.waitForData(DATA_CHANNEL_RESULT, ARG_FILE_LN_GET_RESULT));
        bool ok = false;
        char status = 0;
        QString text;
        QCOMPARE(link.CmdAnswer(&ok, &status, &text), (unsigned char)1);
        QVERIFY(ok);
        QCOMPARE(text, QStringLiteral("Id=7"));
    }

    void stringToChar()
    {
        char buf[8];
        QString text = QStringLiteral("aé\u20acb");
        QCOMPARE(QByteArray(QProtocole::QStringToChar(&text, buf)), QByteArray("a\xe9"));
        QCOMPARE(buf[3], 'b');
        QCOMPARE(buf[4], '\0');
    }
};

QTEST_GUILESS_MAIN(TstQProtocole)
#include "tst_qprotocole.moc"
