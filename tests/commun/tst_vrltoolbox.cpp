#include <QtTest>

#include "commun/vrltoolbox.h"

#include <cstring>
#include <string>
#include <tuple>

namespace {

// A destination with guard bytes on both sides, to see any write outside its capacity.
struct GuardedBuffer
{
    static constexpr int guard = 32;
    explicit GuardedBuffer(int capacity) : size(capacity), bytes(size_t(capacity + 2 * guard), '\x5A') {}
    char* data() { return &bytes[guard]; }
    bool guardsIntact() const
    {
        return bytes.compare(0, guard, std::string(guard, '\x5A')) == 0 &&
               bytes.compare(size_t(guard + size), guard, std::string(guard, '\x5A')) == 0;
    }
    int size;
    std::string bytes;
};

} // namespace

class TstVrlToolbox : public QObject
{
    Q_OBJECT

private slots:
    void textLookups()
    {
        // Value "x" (the default): not found.
        const std::tuple<const char*, const char*, char, const char*> values[] = {
            {"Zid=1;Grp=3", "Grp", '=', "3"}, {"Zid=1;Grp=3", "rp", '=', "x"},
            {"XGrp=1", "Grp", '=', "x"},      {"Grp=;Usr=2", "Grp", '=', "x"},
            {"Grp=1;Grp=2", "Grp", '=', "1"}, {"grp=1", "Grp", '=', "x"},
            {"A=b=c;D=1", "A", '=', "b=c"},   {"INSTALLED:YES;LABEL:Hall", "LABEL", ':', "Hall"}};
        for (const auto& [text, key, equals, value] : values) {
            const bool expected = QByteArray(value) != "x";
            bool found = !expected;
            QCOMPARE(VRLTBSTR_ValueGet(&found, text, key, ';', equals, QStringLiteral("x")), QString(value));
            QVERIFY2(found == expected, text);
        }

        bool found = false;
        QCOMPARE(VRLTBSTR_ValueGet(&found, QStringLiteral("ID:12;X:abc"), QStringLiteral("ID"), ';', ':', 7),
                 12);
        QCOMPARE(VRLTBSTR_ValueGet(&found, QStringLiteral("ID:12;X:abc"), QStringLiteral("X"), ';', ':', 7),
                 7);
        QCOMPARE(
            VRLTBSTR_ValueGet(&found, QStringLiteral("M=Write"), QStringLiteral("M"), ';', '=', QChar('R')),
            QChar('W'));
        // A char default picks the character lookup, not the int one.
        QCOMPARE(VRLTBSTR_ValueGet(&found, QStringLiteral("M="), QStringLiteral("M"), ';', '=', 'R'),
                 QChar('R'));
        QVERIFY(!found);

        // Field "d" (the default): not found.
        const std::tuple<const char*, int, const char*> fields[] = {
            {"YES,1,0,0,0", 0, "YES"}, {"YES,1,0,0,0", 1, "YES"}, {"YES,1,0,0,9", 5, "9"},
            {"YES,1,0,0,0", 6, "d"},   {"a,,b", 2, ""},           {"a,", 2, ""},
            {"a,b", -3, "a"}};
        for (const auto& [text, index, field] : fields) {
            const bool expected = QByteArray(field) != "d";
            found = !expected;
            QCOMPARE(VRLTBSTR_FieldGet(&found, text, ',', index, QStringLiteral("d")), QString(field));
            QVERIFY2(found == expected, text);
        }
        QCOMPARE(VRLTBSTR_FieldGet(&found, QStringLiteral("YES,abc"), ',', 2, 5), 5);
    }

    void hundredths()
    {
        QCOMPARE(VRLTBSTR_HundredthsToText(7), QStringLiteral("0.07"));
        QCOMPARE(VRLTBSTR_HundredthsToText(4294967295u), QStringLiteral("42949672.95"));

        // "1.5" used to give 105 and "1.234" 334; a bad fraction keeps the integer part, not ok.
        const std::tuple<const char*, quint32, bool> amounts[] = {{"", 0, false},
                                                                  {"3", 300, true},
                                                                  {"3.", 300, true},
                                                                  {"1.05", 105, true},
                                                                  {"1.5", 150, true},
                                                                  {"1.234", 100, false},
                                                                  {"1.x", 100, false},
                                                                  {"abc", 0, false},
                                                                  {".5", 0, false},
                                                                  {"-1.50", 0, false},
                                                                  {"42949672.95", 4294967295u, true},
                                                                  {"42949672.96", 0, false},
                                                                  {"50000000", 0, false}};
        for (const auto& [text, amount, valid] : amounts) {
            bool ok = !valid;
            QCOMPARE(VRLTBSTR_TextToHundredths(text, &ok), amount);
            QVERIFY2(ok == valid, text);
        }

        bool ok = false;
        QCOMPARE(VRLTBSTR_NumberToHundredthsText(QStringLiteral("1205"), &ok), QStringLiteral("12.05"));
        QVERIFY(ok);
        for (const char* bad : {"12x", "-5", "4294967296"}) {
            QCOMPARE(VRLTBSTR_NumberToHundredthsText(bad, &ok), QString());
            QVERIFY2(!ok, bad);
        }
    }

    void bufferLookups()
    {
        char dst[101];
        const std::tuple<const char*, const char*, const char*, bool, const char*> values[] = {
            {"Grp=2;Usr=15", "Usr", nullptr, true, "15"}, {"Grp=2", "Usr", nullptr, false, ""},
            {"Grp=2", "Usr", "dflt", true, "dflt"},       {"Grpx=1;Grp=2", "Grp", nullptr, true, "1"},
            {"Grp=;Grp=4", "Grp", nullptr, true, "4"},    {"Grp=5=6", "Grp", nullptr, true, "5"},
            {";;Zid=3;", "Zid", nullptr, true, "3"},      {"", "Grp", nullptr, false, ""}};
        for (const auto& [text, key, defaultValue, result, value] : values) {
            std::memset(dst, 'Q', sizeof dst);
            QVERIFY2(VRLTBSTR_ValueGetSz(dst, 100, text, key, ';', defaultValue) == result, text);
            QCOMPARE(QByteArray(dst), QByteArray(value));
        }

        const std::tuple<const char*, quint8, bool, const char*> fields[] = {
            {"a;b", 0, true, "a"}, {"a;b", 2, true, "b"}, {"a;;b", 2, true, ""}, {"a;", 2, false, ""},
            {"a;b", 3, false, ""}, {"", 1, false, ""},    {"a", 255, false, ""}};
        for (const auto& [text, index, result, field] : fields) {
            std::memset(dst, 'Q', sizeof dst);
            QVERIFY2(VRLTBSTR_FieldGetSz(dst, text, ';', index) == result, text);
            QCOMPARE(QByteArray(dst), QByteArray(field));
        }
    }

    void bufferFamilyBounds()
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

    void hex()
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

        const std::tuple<const char*, int, QByteArray> reads[] = {
            {"0x01 0xab 0xFF", 4, QByteArray::fromHex("01abff00")},
            {"0x01 0xab 0xFF", 2, QByteArray::fromHex("01ab")},
            {"0x01", 0, QByteArray()},
            {"0xA 0x02", 3, QByteArray::fromHex("020000")},  // a one-digit token is dropped
            {"Z 0X10", 3, QByteArray::fromHex("5a1000")},    // plain characters are kept
            {"00x12 0", 4, QByteArray::fromHex("30123000")}, // after a lone "0" the next one starts over
        };
        for (const auto& [hexText, maxCount, read] : reads) {
            GuardedBuffer dst(maxCount);
            VRLTBSTR_HexToBytes(hexText, reinterpret_cast<quint8*>(dst.data()), quint8(maxCount));
            QCOMPARE(QByteArray(dst.data(), maxCount), read);
            QVERIFY(dst.guardsIntact());
        }
    }
};

QTEST_APPLESS_MAIN(TstVrlToolbox)
#include "tst_vrltoolbox.moc"
