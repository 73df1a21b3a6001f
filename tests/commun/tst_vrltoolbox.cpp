#include <QtTest>

#include "commun/vrltoolbox.h"

#include <cstring>
#include <string>

namespace {

// A destination with guard bytes on both sides, to see any write outside its capacity.
struct GuardedBuffer
{
    static constexpr int guard = 32;
    explicit GuardedBuffer(int capacity) : size(capacity), bytes(size_t(capacity + 2 * guard), '\x5A') {}
    char* data() { return &bytes[guard]; }
    bool guardsIntact() const
    {
        for (int i = 0; i < guard; ++i) {
            if (bytes[size_t(i)] != '\x5A' || bytes[size_t(guard + size + i)] != '\x5A')
                return false;
        }
        return true;
    }
    int size;
    std::string bytes;
};

} // namespace

class TstVrlToolbox : public QObject
{
    Q_OBJECT

private slots:
    void textLookups();
    void hundredths();
    void bufferLookups();
    void bufferFamilyBounds();
    void hexRoundTrip();
    void hexToBytes_data();
    void hexToBytes();
};

void TstVrlToolbox::textLookups()
{
    const struct
    {
        const char* text;
        const char* key;
        char equals;
        const char* value;
        bool found;
    } values[] = {
        {"Zid=1;Grp=3", "Grp", '=', "3", true}, {"Zid=1;Grp=3", "rp", '=', "x", false},
        {"XGrp=1", "Grp", '=', "x", false},     {"Grp=;Usr=2", "Grp", '=', "x", false},
        {"Grp=1;Grp=2", "Grp", '=', "1", true}, {"grp=1", "Grp", '=', "x", false},
        {"A=b=c;D=1", "A", '=', "b=c", true},   {"INSTALLED:YES;LABEL:Hall", "LABEL", ':', "Hall", true}};
    for (const auto& c : values) {
        bool found = !c.found;
        QCOMPARE(VRLTBSTR_ValueGet(&found, c.text, c.key, ';', c.equals, QStringLiteral("x")),
                 QString::fromLatin1(c.value));
        QVERIFY2(found == c.found, c.text);
    }

    bool found = false;
    QCOMPARE(VRLTBSTR_ValueGet(&found, QStringLiteral("ID:12;X:abc"), QStringLiteral("ID"), ';', ':', 7), 12);
    QCOMPARE(VRLTBSTR_ValueGet(&found, QStringLiteral("ID:12;X:abc"), QStringLiteral("X"), ';', ':', 7), 7);
    QCOMPARE(VRLTBSTR_ValueGet(&found, QStringLiteral("M=Write"), QStringLiteral("M"), ';', '=', QChar('R')),
             QChar('W'));
    QCOMPARE(VRLTBSTR_ValueGet(&found, QStringLiteral("M="), QStringLiteral("M"), ';', '=', 'R'), QChar('R'));
    QVERIFY(!found);

    const struct
    {
        const char* text;
        int index;
        const char* field;
        bool found;
    } fields[] = {{"YES,1,0,0,0", 0, "YES", true}, {"YES,1,0,0,0", 1, "YES", true},
                  {"YES,1,0,0,9", 5, "9", true},   {"YES,1,0,0,0", 6, "d", false},
                  {"a,,b", 2, "", true},           {"a,", 2, "", true},
                  {"a,b", -3, "a", true}};
    for (const auto& c : fields) {
        bool found = !c.found;
        QCOMPARE(VRLTBSTR_FieldGet(&found, c.text, ',', c.index, QStringLiteral("d")),
                 QString::fromLatin1(c.field));
        QVERIFY2(found == c.found, c.text);
    }
    QCOMPARE(VRLTBSTR_FieldGet(&found, QStringLiteral("YES,abc"), ',', 2, 5), 5);
}

void TstVrlToolbox::hundredths()
{
    QCOMPARE(VRLTBSTR_HundredthsToText(7), QStringLiteral("0.07"));
    QCOMPARE(VRLTBSTR_HundredthsToText(100), QStringLiteral("1.00"));
    QCOMPARE(VRLTBSTR_HundredthsToText(4294967295u), QStringLiteral("42949672.95"));

    const struct
    {
        const char* text;
        quint32 amount;
        bool ok;
    } cases[] = {{"", 0, false},
                 {"3", 300, true},
                 {"3.", 300, true},
                 {"1.05", 105, true},
                 {"1.5", 150, true},
                 {"12.34", 1234, true},
                 {"1.234", 100, false},
                 {"1.x", 100, false},
                 {"abc", 0, false},
                 {".5", 0, false},
                 {"-1.50", 0, false},
                 {"42949672.95", 4294967295u, true},
                 {"42949672.96", 0, false},
                 {"50000000", 0, false}};
    for (const auto& c : cases) {
        bool ok = !c.ok;
        QCOMPARE(VRLTBSTR_TextToHundredths(QString::fromLatin1(c.text), &ok), c.amount);
        QVERIFY2(ok == c.ok, c.text);
    }

    bool ok = false;
    QCOMPARE(VRLTBSTR_NumberToHundredthsText(QStringLiteral("1205"), &ok), QStringLiteral("12.05"));
    QVERIFY(ok);
    for (const char* bad : {"12x", "-5", "4294967296"}) {
        QCOMPARE(VRLTBSTR_NumberToHundredthsText(QString::fromLatin1(bad), &ok), QString());
        QVERIFY2(!ok, bad);
    }
}

void TstVrlToolbox::bufferLookups()
{
    const struct
    {
        const char* text;
        const char* key;
        const char* defaultValue;
        bool result;
        const char* value;
    } values[] = {{"Grp=2;Usr=15", "Usr", nullptr, true, "15"},
                  {"Grp=2", "Usr", nullptr, false, ""},
                  {"Grp=2", "Usr", "dflt", true, "dflt"},
                  {"Grpx=1;Grp=2", "Grp", nullptr, true, "1"},
                  {"Grp=;Grp=4", "Grp", nullptr, true, "4"},
                  {"Grp=5=6", "Grp", nullptr, true, "5"},
                  {";;Zid=3;", "Zid", nullptr, true, "3"},
                  {"G=1", "Grp", nullptr, false, ""},
                  {"", "Grp", nullptr, false, ""}};
    for (const auto& c : values) {
        char dst[101];
        std::memset(dst, 'Q', sizeof dst);
        QVERIFY2(VRLTBSTR_ValueGetSz(dst, 100, c.text, c.key, ';', c.defaultValue) == c.result, c.text);
        QCOMPARE(QByteArray(dst), QByteArray(c.value));
    }

    const struct
    {
        const char* text;
        quint8 index;
        bool result;
        const char* field;
    } fields[] = {{"a;b", 0, true, "a"}, {"a;b", 2, true, "b"}, {"a;;b", 2, true, ""}, {"a;", 2, false, ""},
                  {"a;b", 3, false, ""}, {"", 1, false, ""},    {"a", 255, false, ""}};
    for (const auto& c : fields) {
        char dst[16];
        std::memset(dst, 'Q', sizeof dst);
        QVERIFY2(VRLTBSTR_FieldGetSz(dst, c.text, ';', c.index) == c.result, c.text);
        QCOMPARE(QByteArray(dst), QByteArray(c.field));
    }
}

void TstVrlToolbox::bufferFamilyBounds()
{
    // Fields far longer than any fixed work buffer, before and around the wanted one.
    const std::string longValue(1000, 'v');
    const std::string text =
        "Pad=" + std::string(400, 'p') + ";Usr=" + longValue + ";Grp=" + std::string(299, 'g');

    GuardedBuffer cut(101);
    QVERIFY(VRLTBSTR_ValueGetSz(cut.data(), 100, text.c_str(), "Usr", ';', nullptr));
    QCOMPARE(std::strlen(cut.data()), size_t(100));
    QVERIFY(cut.guardsIntact());

    GuardedBuffer full(256);
    QVERIFY(VRLTBSTR_ValueGetSz(full.data(), 255, text.c_str(), "Grp", ';', nullptr));
    QCOMPARE(std::string(full.data()), std::string(255, 'g'));
    QVERIFY(full.guardsIntact());

    // maxLength 0: dst is a single byte and comes back empty, whatever matches.
    GuardedBuffer one(1);
    QVERIFY(VRLTBSTR_ValueGetSz(one.data(), 0, text.c_str(), "Usr", ';', nullptr));
    QCOMPARE(one.data()[0], '\0');
    QVERIFY(VRLTBSTR_ValueGetSz(one.data(), 0, "A=1", "B", ';', "default"));
    QCOMPARE(one.data()[0], '\0');
    QVERIFY(one.guardsIntact());

    // A default longer than maxLength is cut too.
    GuardedBuffer four(4);
    QVERIFY(VRLTBSTR_ValueGetSz(four.data(), 3, "A=1", "B", ';', "abcdef"));
    QCOMPARE(QByteArray(four.data()), QByteArray("abc"));
    QVERIFY(four.guardsIntact());

    // Null texts and keys read as nothing found; a null destination is refused.
    char dst[8] = "junk";
    QVERIFY(!VRLTBSTR_ValueGetSz(dst, 7, nullptr, "A", ';', nullptr));
    QCOMPARE(dst[0], '\0');
    QVERIFY(VRLTBSTR_ValueGetSz(dst, 7, "A=1", nullptr, ';', "d"));
    QCOMPARE(QByteArray(dst), QByteArray("d"));
    QVERIFY(!VRLTBSTR_ValueGetSz(nullptr, 7, "A=1", "A", ';', "d"));
    QVERIFY(!VRLTBSTR_FieldGetSz(dst, nullptr, ';', 1));
    QCOMPARE(dst[0], '\0');
    QVERIFY(!VRLTBSTR_FieldGetSz(nullptr, "a;b", ';', 1));
    VRLTBSTR_HexToBytes("0x01", nullptr, 4);
    quint8 bytes[2] = {9, 9};
    VRLTBSTR_HexToBytes(nullptr, bytes, 2);
    QCOMPARE(bytes[0] + bytes[1], 0);
    QCOMPARE(VRLTBSTR_HexToUInt(nullptr), 0u);
    QCOMPARE(VRLTBSTR_BytesToHex(nullptr, dst, 3, "0x", " "), dst);
    QCOMPARE(dst[0], '\0');

    // More than 255 fields: the field walk must end rather than wrap its count.
    std::string many;
    for (int i = 0; i < 600; ++i)
        many += "K" + std::to_string(i) + "=" + std::to_string(i) + ";";
    QVERIFY(VRLTBSTR_ValueGetSz(dst, 7, many.c_str(), "K599=", ';', nullptr));
    QCOMPARE(QByteArray(dst), QByteArray("599"));
    QVERIFY(!VRLTBSTR_ValueGetSz(dst, 7, many.c_str(), "Z", ';', nullptr));

    // The whole field of a long text fits a destination of the text's size.
    GuardedBuffer field(int(text.size()) + 1);
    QVERIFY(VRLTBSTR_FieldGetSz(field.data(), text.c_str(), ';', 2));
    QCOMPARE(std::string(field.data()), "Usr=" + longValue);
    QVERIFY(field.guardsIntact());
}

void TstVrlToolbox::hexRoundTrip()
{
    const quint8 bytes[] = {0x00, 0x1F, 0xA0, 0xFF, 0x5C, 0x09};
    GuardedBuffer text(6 * 4 + 5 + 1);
    QCOMPARE(VRLTBSTR_BytesToHex(bytes, text.data(), 6, "0x", " "), text.data());
    QCOMPARE(QByteArray(text.data()), QByteArray("0x00 0x1F 0xA0 0xFF 0x5C 0x09"));
    QVERIFY(text.guardsIntact());

    quint8 back[6];
    VRLTBSTR_HexToBytes(text.data(), back, 6);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(back), 6),
             QByteArray(reinterpret_cast<const char*>(bytes), 6));

    char plain[8];
    QCOMPARE(QByteArray(VRLTBSTR_BytesToHex(bytes + 1, plain, 2, "", nullptr)), QByteArray("1FA0"));
    QCOMPARE(QByteArray(VRLTBSTR_BytesToHex(bytes, plain, 0, "0x", " ")), QByteArray());
    QCOMPARE(VRLTBSTR_HexToUInt("aF"), 0xAFu);
    QCOMPARE(VRLTBSTR_HexToUInt("g1"), 0x01u);
}

void TstVrlToolbox::hexToBytes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("three of 16") << QByteArray("0x01 0xab 0xFF") << 16
                                 << QByteArray::fromHex("01abff") + QByteArray(13, '\0');
    QTest::newRow("stops at maxCount") << QByteArray("0x01 0xab 0xFF") << 2 << QByteArray::fromHex("01ab");
    QTest::newRow("maxCount 0") << QByteArray("0x01") << 0 << QByteArray();
    QTest::newRow("one-digit token dropped") << QByteArray("0xA 0x02") << 3 << QByteArray::fromHex("020000");
    QTest::newRow("plain characters kept") << QByteArray("Z 0X10") << 3 << QByteArray::fromHex("5a1000");
    QTest::newRow("lone zero re-reads next") << QByteArray("00x12 0") << 4 << QByteArray::fromHex("30123000");
    QTest::newRow("empty") << QByteArray("") << 2 << QByteArray(2, '\0');
}

void TstVrlToolbox::hexToBytes()
{
    QFETCH(QByteArray, text);
    QFETCH(int, maxCount);
    QFETCH(QByteArray, bytes);
    GuardedBuffer dst(maxCount);
    VRLTBSTR_HexToBytes(text.constData(), reinterpret_cast<quint8*>(dst.data()), quint8(maxCount));
    QCOMPARE(QByteArray(dst.data(), maxCount), bytes);
    QVERIFY(dst.guardsIntact());
}

QTEST_APPLESS_MAIN(TstVrlToolbox)
#include "tst_vrltoolbox.moc"
