#include <QtTest>

#include "link/framereceiver.h"
#include "ptypair.h"

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
        auto row = [](const char* name, const QByteArray& bytes, bool expire, const QString& frames) {
            QTest::newRow(name) << bytes << expire << frames.split('|');
        };
        const QByteArray full(FrameReceiver::PayloadCapacity, 'p');
        row("empty payload", wire("<B0>012"), false, "OK B 0 |pos=0");
        row("payload", wire("<V0abc=1>xyz"), false, "OK V 0 abc=1|pos=0");
        row("garbage before STX skipped", wire("zz>\x01<B1X>012"), false, "OK B 1 X|pos=0");
        row("two frames back to back", wire("<DXhello>012<B0ans>012"), false,
            "OK D X hello|OK B 0 ans|pos=0");
        row("cut after ETX, then time-out", wire("<B0ab>0"), true, "BROKEN|pos=0");
        row("cut after ETX, still waiting", wire("<B0ab>0"), false, "pos=5");
        row("time-out with nothing started", wire("junk"), true, "pos=0");
        // No escaping: an STX inside the payload is payload.
        row("STX inside a payload", wire("<B0ab<B0c>012"), false, wire("OK B 0 ab<B0c|pos=0"));
        row("trailer bytes beyond three start nothing", wire("<B0>01234<D0x>012"), false,
            "OK B 0 |OK D 0 x|pos=0");
        row("payload at capacity", wire("<B0") + full + wire(">012"), false, "OK B 0 " + full + "|pos=0");
        row("payload over capacity: broken, rest skipped", wire("<B0") + full + "pp" + wire(">012<B0ok>012"),
            false, "BROKEN|OK B 0 ok|pos=0");
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
        for (const char byte : wire("<DX>012<"))
            rx.feed(byte);
        QVERIFY(rx.expire());
        QVERIFY(!rx.frameOk());
        // A frame broken before its header says nothing of the previous one.
        QCOMPARE(rx.header1(), '\0');
        QCOMPARE(rx.rawFrame(), wire("<"));
    }

    void decodePayload()
    {
        QCOMPARE(Frame::decodePayload(QByteArray("Nom=H\xc3\xa9l\xc3\xa8ne")), QStringLiteral("Nom=Hélène"));
        QCOMPARE(Frame::decodePayload(QByteArray("Nom=H\xe9l\xe8ne")), QStringLiteral("Nom=Hélène"));
        QCOMPARE(Frame::decodePayload(QByteArray("Nom=H\xc3")), QStringLiteral("Nom=H\u00c3"));
    }
};

QTEST_GUILESS_MAIN(TstFrameReceiver)
#include "tst_framereceiver.moc"
