#include <QtTest>

#include "link/framereceiver.h"

// Feeds bytes and returns one line per ended frame: "OK h1 h2 payload" or
// "BROKEN", then "pos=N" with the receive position left at the end.
static QStringList run(const QByteArray& bytes, bool expireAtEnd)
{
    FrameReceiver rx;
    QStringList out;
    for (const char byte : bytes) {
        const FrameReceiver::Event event = rx.feed(byte);
        if (event == FrameReceiver::Event::Complete || event == FrameReceiver::Event::Overflow) {
            out << (rx.frameOk() ? QStringLiteral("OK %1 %2 %3")
                                       .arg(QChar(rx.header1()))
                                       .arg(QChar(rx.header2()))
                                       .arg(QString::fromLatin1(rx.payload()))
                                 : QStringLiteral("BROKEN"));
            rx.clearFrameDone();
        }
    }
    if (expireAtEnd && rx.expire())
        out << QStringLiteral("BROKEN");
    out << QStringLiteral("pos=%1").arg(rx.position());
    return out;
}

class TstFrameReceiver : public QObject
{
    Q_OBJECT

private slots:
    void receive_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("expire");
        QTest::addColumn<QStringList>("frames");

        QTest::newRow("empty payload") << QByteArray("\x02" "B0\x03" "012") << false
                                       << QStringList{"OK B 0 ", "pos=0"};
        QTest::newRow("payload") << QByteArray("\x02" "V0abc=1\x03" "xyz") << false
                                 << QStringList{"OK V 0 abc=1", "pos=0"};
        QTest::newRow("garbage before STX skipped") << QByteArray("zz\x03\x01\x02" "B1X\x03" "012") << false
                                                    << QStringList{"OK B 1 X", "pos=0"};
        QTest::newRow("two frames back to back")
            << QByteArray("\x02" "DXhello\x03" "012\x02" "B0ans\x03" "012") << false
            << QStringList{"OK D X hello", "OK B 0 ans", "pos=0"};
        QTest::newRow("cut after ETX, then time-out") << QByteArray("\x02" "B0ab\x03" "0") << true
                                                      << QStringList{"BROKEN", "pos=0"};
        QTest::newRow("cut after ETX, still waiting") << QByteArray("\x02" "B0ab\x03" "0") << false
                                                      << QStringList{"pos=5"};
        QTest::newRow("time-out with nothing started") << QByteArray("junk") << true << QStringList{"pos=0"};
        QTest::newRow("broken frame then a good one")
            << QByteArray("\x02" "B0ab") + QByteArray("\x02" "B0c\x03" "012") << false
            << QStringList{"OK B 0 ab\x02" "B0c", "pos=0"};
        QTest::newRow("trailer bytes beyond three start nothing")
            << QByteArray("\x02" "B0\x03" "01234\x02" "D0x\x03" "012") << false
            << QStringList{"OK B 0 ", "OK D 0 x", "pos=0"};
        QTest::newRow("payload at capacity")
            << QByteArray("\x02" "B0") + QByteArray(FrameReceiver::PayloadCapacity, 'p') + "\x03" "012" << false
            << QStringList{"OK B 0 " + QString(FrameReceiver::PayloadCapacity, 'p'), "pos=0"};
        QTest::newRow("payload over capacity: broken, rest skipped")
            << QByteArray("\x02" "B0") + QByteArray(FrameReceiver::PayloadCapacity + 50, 'p') + "\x03" "012"
                   + QByteArray("\x02" "B0ok\x03" "012")
            << false << QStringList{"BROKEN", "OK B 0 ok", "pos=0"};
    }

    void receive()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, expire);
        QFETCH(QStringList, frames);
        QCOMPARE(run(bytes, expire), frames);
    }

    void headersAndTraceStartAfresh()
    {
        FrameReceiver rx;
        for (const char byte : QByteArray("\x02" "DX\x03" "012\x02"))
            rx.feed(byte);
        QVERIFY(rx.expire());
        QVERIFY(!rx.frameOk());
        // A frame broken before its header says nothing of the previous one.
        QCOMPARE(rx.header1(), '\0');
        QCOMPARE(rx.rawFrame(), QByteArray("\x02"));
    }

    void build_data()
    {
        QTest::addColumn<char>("letter");
        QTest::addColumn<char>("subLetter");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("empty") << 'B' << 'S' << QByteArray() << QByteArray("\x02\x42\x53\x03\x30\x31\x32", 7);
        QTest::newRow("payload") << 'F' << 'G' << QByteArray("Fil=5;Pos=0")
                                 << QByteArray("\x02" "FGFil=5;Pos=0\x03" "012");
    }

    void build()
    {
        QFETCH(char, letter);
        QFETCH(char, subLetter);
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, frame);
        QCOMPARE(Frame::build(letter, subLetter, payload), frame);
        QCOMPARE(run(frame, false).first(), QStringLiteral("OK %1 %2 %3")
                                                .arg(QChar(letter))
                                                .arg(QChar(subLetter))
                                                .arg(QString::fromLatin1(payload)));
    }

    void decodePayload()
    {
        QTextCodec* previous = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
        QCOMPARE(Frame::decodePayload(QByteArray("Nom=H\xc3\xa9l\xc3\xa8ne")), QStringLiteral("Nom=Hélène"));
        QCOMPARE(Frame::decodePayload(QByteArray("Nom=H\xe9l\xe8ne")), QStringLiteral("Nom=Hélène"));
        QCOMPARE(Frame::decodePayload(QByteArray("Nom=H\xc3")), QStringLiteral("Nom=H\u00c3"));
        QTextCodec::setCodecForLocale(previous);
    }
};

QTEST_GUILESS_MAIN(TstFrameReceiver)
#include "tst_framereceiver.moc"
