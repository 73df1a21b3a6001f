#include "requestparser.h"

#include <QtTest>

// Each parsed item written as text: "C:BS:payload", "O:...", "B:...", "N:<hex>".
static QStringList describe(const QVector<RequestFrame>& frames)
{
    QStringList out;
    for (const RequestFrame& f : frames) {
        const char* kinds = "COBN";
        const QString head = QString("%1:").arg(kinds[f.kind]);
        if (f.kind == RequestFrame::Noise)
            out << head + f.payload.toHex();
        else
            out << head + QString(QChar(f.letter)) + QString(QChar(f.subLetter)) + ":" +
                       QString::fromLatin1(f.payload.left(20)) +
                       (f.payload.size() > 20 ? QString("+%1").arg(f.payload.size()) : QString());
    }
    return out;
}

static QByteArray frame(const QByteArray& body, const QByteArray& trailer = "012")
{
    return "\x02" + body + "\x03" + trailer;
}

class TstRequestParser : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void expire();
    void answerFrame();
};

void TstRequestParser::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("idleAfter");

    QTest::newRow("empty payload") << frame("BS") << QStringList{"C:BS:"} << true;
    QTest::newRow("payload") << frame("FGFil=5;Pos=0") << QStringList{"C:FG:Fil=5;Pos=0"} << true;
    QTest::newRow("trailer bytes unchecked")
        << frame("VG3.0.3", QByteArray("\x00\xFF\x02", 3)) << QStringList{"C:VG:3.0.3"} << true;
    QTest::newRow("back to back") << frame("BS") + frame("BR") << QStringList{"C:BS:", "C:BR:"} << true;
    QTest::newRow("noise before") << QByteArray("\xFF\x00~", 3) + frame("BS")
                                  << QStringList{"N:ff007e", "C:BS:"} << true;
    QTest::newRow("stx restarts") << QByteArray("\x02VGabc") + frame("BS") << QStringList{"B:VG:abc", "C:BS:"}
                                  << true;
    QTest::newRow("overlong") << frame("FA" + QByteArray(1200, 'x'))
                              << QStringList{"O:FA:xxxxxxxxxxxxxxxxxxxx+999"} << true;
    QTest::newRow("exactly max") << frame("FA" + QByteArray(RequestParser::MaxPayload, 'y'))
                                 << QStringList{"C:FA:yyyyyyyyyyyyyyyyyyyy+999"} << true;
    QTest::newRow("partial frame stays") << QByteArray("\x02"
                                                       "BS\x03"
                                                       "0")
                                         << QStringList{} << false;
    QTest::newRow("etx in header") << frame(QByteArray("\x03\x03", 2)) << QStringList{"C:\x03\x03:"} << true;
    QTest::newRow("frame after partial trailer") << QByteArray("\x02"
                                                               "BS\x03"
                                                               "01") +
                                                        QByteArray("2") + frame("BR")
                                                 << QStringList{"C:BS:", "C:BR:"} << true;
}

void TstRequestParser::parse()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, expected);
    QFETCH(bool, idleAfter);

    RequestParser whole;
    QCOMPARE(describe(whole.feed(input)), expected);
    QCOMPARE(whole.idle(), idleAfter);

    // Bytes arriving one by one give the same frames (noise is reported as it ends).
    RequestParser bytewise;
    QVector<RequestFrame> frames;
    for (const char c : input)
        frames += bytewise.feed(QByteArray(1, c));
    QStringList joined = describe(frames);
    QStringList merged;
    for (const QString& item : joined) {
        if (item.startsWith("N:") && !merged.isEmpty() && merged.last().startsWith("N:"))
            merged.last() += item.mid(2);
        else
            merged << item;
    }
    QCOMPARE(merged, expected);
}

void TstRequestParser::expire()
{
    RequestParser parser;
    QVERIFY(parser.expire().isEmpty());

    QVERIFY(parser.feed("\x02VG12").isEmpty());
    QCOMPARE(describe(parser.expire()), QStringList{"B:VG:12"});
    QVERIFY(parser.idle());
    // After the broken frame the next one is read whole.
    QCOMPARE(describe(parser.feed(frame("VG3.0.3"))), QStringList{"C:VG:3.0.3"});

    QVERIFY(parser.feed("zz").isEmpty());
    QCOMPARE(describe(parser.expire()), QStringList{"N:7a7a"});
}

void TstRequestParser::answerFrame()
{
    QCOMPARE(RequestParser::answerFrame('B', '0', ""), QByteArray("\x02"
                                                                  "B0\x03"
                                                                  "012"));
    QCOMPARE(RequestParser::answerFrame('V', '0', "KorvelReader"), QByteArray("\x02"
                                                                              "V0KorvelReader\x03"
                                                                              "012"));
    // An ETX inside a payload would end the frame early on the other side.
    QCOMPARE(RequestParser::answerFrame('F', '6',
                                        "a\x03"
                                        "b"),
             QByteArray("\x02"
                        "F6a?b\x03"
                        "012"));
}

QTEST_APPLESS_MAIN(TstRequestParser)
#include "tst_requestparser.moc"
