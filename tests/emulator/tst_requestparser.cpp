#include "ptypair.h"
#include "requestparser.h"

#include <QtTest>

// Each parsed item written as text: "C:BS:payload", "O:...", "B:...", "N:<hex>".
static QStringList describe(const QVector<RequestFrame>& frames)
{
    QStringList out;
    for (const RequestFrame& f : frames) {
        const QString head = QString(QChar("COBN"[f.kind])) + ":";
        if (f.kind == RequestFrame::Noise)
            out << head + f.payload.toHex();
        else
            out << head + f.letter + f.subLetter + ":" + QString::fromLatin1(f.payload.left(20)) +
                       (f.payload.size() > 20 ? QString("+%1").arg(f.payload.size()) : QString());
    }
    return out;
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
    auto row = [](const char* name, const QByteArray& input, const QString& expected, bool idle = true) {
        QTest::newRow(name) << input << expected.split('|', Qt::SkipEmptyParts) << idle;
    };
    row("empty payload", wire("<BS>012"), "C:BS:");
    row("payload", wire("<FGFil=5;Pos=0>012"), "C:FG:Fil=5;Pos=0");
    row("trailer bytes unchecked", wire("<VG3.0.3>") + QByteArray("\x00\xFF\x02", 3), "C:VG:3.0.3");
    row("back to back", wire("<BS>012<BR>012"), "C:BS:|C:BR:");
    row("noise before", QByteArray("\xFF\x00~", 3) + wire("<BS>012"), "N:ff007e|C:BS:");
    row("stx restarts", wire("<VGabc<BS>012"), "B:VG:abc|C:BS:");
    row("overlong", wire("<FA") + QByteArray(1200, 'x') + wire(">012"), "O:FA:xxxxxxxxxxxxxxxxxxxx+999");
    row("exactly max", wire("<FA") + QByteArray(RequestParser::MaxPayload, 'y') + wire(">012"),
        "C:FA:yyyyyyyyyyyyyyyyyyyy+999");
    row("partial frame stays", wire("<BS>0"), "", false);
    row("etx in header", wire("<>>>012"), "C:\x03\x03:");
    row("frame after partial trailer", wire("<BS>01") + "2" + wire("<BR>012"), "C:BS:|C:BR:");
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
    QStringList merged;
    for (const char c : input) {
        for (const QString& item : describe(bytewise.feed(QByteArray(1, c)))) {
            if (item.startsWith("N:") && !merged.isEmpty() && merged.last().startsWith("N:"))
                merged.last() += item.mid(2);
            else
                merged << item;
        }
    }
    QCOMPARE(merged, expected);
}

void TstRequestParser::expire()
{
    RequestParser parser;
    QVERIFY(parser.expire().isEmpty());
    QVERIFY(parser.feed(wire("<VG12")).isEmpty());
    QCOMPARE(describe(parser.expire()), QStringList{"B:VG:12"});
    QVERIFY(parser.idle());
    // After the broken frame the next one is read whole.
    QCOMPARE(describe(parser.feed(wire("<VG3.0.3>012"))), QStringList{"C:VG:3.0.3"});
    QVERIFY(parser.feed("zz").isEmpty());
    QCOMPARE(describe(parser.expire()), QStringList{"N:7a7a"});
}

void TstRequestParser::answerFrame()
{
    QCOMPARE(RequestParser::answerFrame('B', '0', ""), wire("<B0>012"));
    QCOMPARE(RequestParser::answerFrame('V', '0', "KorvelReader"), wire("<V0KorvelReader>012"));
    // An ETX inside a payload would end the frame early on the other side.
    QCOMPARE(RequestParser::answerFrame('F', '6', "a\x03z"), wire("<F6a?z>012"));
}

QTEST_APPLESS_MAIN(TstRequestParser)
#include "tst_requestparser.moc"
