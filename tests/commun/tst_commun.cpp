#include <QtTest>

#include <cstring>
#include <string>
#include <tuple>

#include "commun/atomicsave.h"
#include "commun/fileini.h"
#include "commun/shortdate.h"
#include "commun/textdecode.h"
#include "commun/vrltoolbox.h"
#include "filesizelimit.h"
#include "testfiles.h"

namespace {

// A destination with guard bytes on both sides, to see any write outside its capacity.
struct Guarded
{
    explicit Guarded(int capacity) : size(capacity), bytes(size_t(capacity + 64), '\x5A') {}
    char* data() { return &bytes[32]; }
    bool intact() const
    {
        return bytes.compare(0, 32, std::string(32, '\x5A')) == 0 &&
               bytes.compare(size_t(32 + size), 32, std::string(32, '\x5A')) == 0;
    }
    int size;
    std::string bytes;
};

} // namespace

// The bottom layer: the record toolbox, the INI store, atomic saves, text decoding, short dates.
class TstCommun : public QObject
{
    Q_OBJECT

private slots:
    void keyedAndPositionalRecords()
    {
        // Value "x" (the default): not found.
        const std::tuple<const char*, const char*, char, const char*> values[] = {
            {"Zid=1;Grp=3", "Grp", '=', "3"},
            {"XGrp=1", "Grp", '=', "x"},
            {"Grp=;Usr=2", "Grp", '=', "x"},
            {"A=b=c;D=1", "A", '=', "b=c"},
            {"I:YES;LABEL:Hall", "LABEL", ':', "Hall"}};
        for (const auto& [text, key, equals, value] : values) {
            bool found = QByteArray(value) == "x";
            QVERIFY2(VRLTBSTR_ValueGet(&found, text, key, ';', equals, QStringLiteral("x")) == value &&
                         found == (QByteArray(value) != "x"),
                     text);
        }
        bool found = false;
        QCOMPARE(VRLTBSTR_ValueGet(&found, "ID:12;X:abc", "ID", ';', ':', 7) +
                     VRLTBSTR_ValueGet(&found, "ID:12;X:abc", "X", ';', ':', 100),
                 112);
        // A char default picks the character lookup, not the int one.
        QCOMPARE(QString(VRLTBSTR_ValueGet(&found, "M=Write", "M", ';', '=', QChar('R'))) +
                     VRLTBSTR_ValueGet(&found, "M=", "M", ';', '=', 'R'),
                 "WR");

        const std::tuple<const char*, int, const char*> fields[] = {
            {"YES,1,0,0,0", 0, "YES"}, {"YES,1,0,0,9", 5, "9"}, {"YES,1,0,0,0", 6, "d"},
            {"a,,b", 2, ""},           {"a,", 2, ""},           {"a,b", -3, "a"}};
        for (const auto& [text, index, field] : fields) {
            found = QByteArray(field) == "d";
            QVERIFY2(VRLTBSTR_FieldGet(&found, text, ',', index, QStringLiteral("d")) == field &&
                         found == (QByteArray(field) != "d"),
                     text);
        }
        QCOMPARE(VRLTBSTR_FieldGet(&found, "YES,abc", ',', 2, 5), 5);
    }

    void hundredths()
    {
        QCOMPARE(VRLTBSTR_HundredthsToText(4294967295u) + VRLTBSTR_HundredthsToText(7), "42949672.950.07");
        // "1.5" used to give 105 and "1.234" 334; a bad fraction keeps the integer part, not ok.
        // "text|hundredths", "+" when accepted.
        for (const char* row : {"|0", "3.|300+", "1.05|105+", "1.5|150+", "1.234|100", "-1.50|0",
                                "42949672.95|4294967295+", "42949672.96|0"}) {
            bool ok = !QByteArray(row).endsWith('+');
            const QByteArray text = QByteArray(row).split('|').first();
            const quint32 amount = VRLTBSTR_TextToHundredths(text.constData(), &ok);
            QCOMPARE(text + '|' + QByteArray::number(amount) + (ok ? "+" : ""), QByteArray(row));
        }
        for (const char* number : {"1205", "12x", "4294967296"}) {
            bool ok = false;
            const QString text = VRLTBSTR_NumberToHundredthsText(number, &ok);
            QCOMPARE(text + (ok ? "+" : ""), QString(number == QByteArray("1205") ? "12.05+" : ""));
        }
    }

    void bufferRecords()
    {
        char dst[101];
        const std::tuple<const char*, const char*, const char*, bool, const char*> values[] = {
            {"Grp=2;Usr=15", "Usr", nullptr, true, "15"}, {"Grp=2", "Usr", nullptr, false, ""},
            {"Grp=2", "Usr", "dflt", true, "dflt"},       {"Grpx=1;Grp=2", "Grp", nullptr, true, "1"},
            {"Grp=;Grp=4", "Grp", nullptr, true, "4"},    {"Grp=5=6", "Grp", nullptr, true, "5"},
            {nullptr, "A", nullptr, false, ""},           {"A=1", nullptr, "d", true, "d"}};
        for (const auto& [text, key, defaultValue, result, value] : values) {
            std::memset(dst, 'Q', sizeof dst);
            QVERIFY2(VRLTBSTR_ValueGetSz(dst, 100, text, key, ';', defaultValue) == result &&
                         QByteArray(dst) == value,
                     text);
        }
        const std::tuple<const char*, quint8, bool, const char*> fields[] = {
            {"a;b", 0, true, "a"}, {"a;;b", 2, true, ""}, {"a;", 2, false, ""}, {"a;b", 3, false, ""}};
        for (const auto& [text, index, result, field] : fields) {
            std::memset(dst, 'Q', sizeof dst);
            QVERIFY2(VRLTBSTR_FieldGetSz(dst, text, ';', index) == result && QByteArray(dst) == field, text);
        }
        QVERIFY(!VRLTBSTR_ValueGetSz(nullptr, 7, "A=1", "A", ';', "d") &&
                !VRLTBSTR_FieldGetSz(nullptr, "a;b", ';', 1));

        // Fields far longer than any work buffer, cut to the destination; more than 255 fields.
        const std::string text = "Pad=" + std::string(400, 'p') + ";Usr=" + std::string(1000, 'v') +
                                 ";Grp=" + std::string(299, 'g');
        for (const auto& [key, maxLength, value] :
             {std::tuple<const char*, int, std::string>{"Usr", 100, std::string(100, 'v')},
              {"Grp", 255, std::string(255, 'g')},
              {"B", 3, "abc"}}) {
            Guarded cut(maxLength + 1);
            QVERIFY(VRLTBSTR_ValueGetSz(cut.data(), quint8(maxLength), text.c_str(), key, ';', "abcdef") &&
                    std::string(cut.data()) == value && cut.intact());
        }
        std::string many;
        for (int i = 0; i < 600; ++i)
            many += "K" + std::to_string(i) + "=" + std::to_string(i) + ";";
        QVERIFY(VRLTBSTR_ValueGetSz(dst, 7, many.c_str(), "K599=", ';', nullptr) && QByteArray(dst) == "599");
        Guarded field(int(text.size()) + 1);
        QVERIFY(VRLTBSTR_FieldGetSz(field.data(), text.c_str(), ';', 2) &&
                std::strlen(field.data()) == 1004 && field.intact());
    }

    void hexBytes()
    {
        const quint8 bytes[] = {0x00, 0x1F, 0xA0, 0xFF, 0x5C, 0x09};
        Guarded text(6 * 4 + 5 + 1);
        QCOMPARE(VRLTBSTR_BytesToHex(bytes, text.data(), 6, "0x", " "), text.data());
        QVERIFY(QByteArray(text.data()) == "0x00 0x1F 0xA0 0xFF 0x5C 0x09" && text.intact());
        char plain[8];
        QCOMPARE(QByteArray(VRLTBSTR_BytesToHex(bytes + 1, plain, 2, "", nullptr))
                     .append('|')
                     .append(VRLTBSTR_BytesToHex(nullptr, text.data(), 3, "0x", " ")),
                 QByteArray("1FA0|"));
        QCOMPARE(VRLTBSTR_HexToUInt("aF") + VRLTBSTR_HexToUInt("g1") + VRLTBSTR_HexToUInt(nullptr), 0xB0u);
        const std::tuple<const char*, int, QByteArray> reads[] = {
            {"0x00 0x1F 0xA0 0xFF 0x5C 0x09", 6, QByteArray::fromHex("001fa0ff5c09")},
            {"0x01 0xab 0xFF", 4, QByteArray::fromHex("01abff00")},
            {"0xA 0x02", 3, QByteArray::fromHex("020000")},  // a one-digit token is dropped
            {"Z 0X10", 3, QByteArray::fromHex("5a1000")},    // plain characters are kept
            {"00x12 0", 4, QByteArray::fromHex("30123000")}, // after a lone "0" the next one starts over
            {nullptr, 2, QByteArray(2, '\0')}};
        for (const auto& [hexText, maxCount, read] : reads) {
            Guarded dst(maxCount);
            VRLTBSTR_HexToBytes(hexText, reinterpret_cast<quint8*>(dst.data()), quint8(maxCount));
            QVERIFY2(QByteArray(dst.data(), maxCount) == read && dst.intact(), hexText);
        }
    }

    // What a file holds, the lines the store reads from it, and what a save writes back.
    void iniFiles()
    {
        const QByteArray longLine = "GROUP=" + QByteArray(5000, 'z');
        const std::tuple<QByteArray, QStringList, QByteArray> files[] = {
            {"  [ZONES]  \r\nZONE=1;x\t\n\n# c = kept\n" + longLine + "\n[GROUPS]",
             {"[ZONES]", "ZONE=1;x", "", "# c = kept", longLine, "[GROUPS]"},
             "[ZONES]\nZONE=1;x\n\n# c = kept\n" + longLine + "\n[GROUPS]\n"},
            // Found by fuzzing: a CR inside the first line was lost, inside the others kept.
            {"[A]\r B\nK=a\r b\r\n", {"[A]\r B", "K=a\r b"}, "[A]\r B\nK=a\r b\n"},
            // Latin-1 lines of earlier versions beside UTF-8 ones; written back as UTF-8.
            {"Z=\xe8\nY=\xc3\xa9\n", {"Z=è", "Y=é"}, "Z=\xc3\xa8\nY=\xc3\xa9\n"},
            // Found by fuzzing: only the file's own byte-order mark goes; a later one is text.
            {"\xef\xbb\xbf[A]\n \xef\xbb\xbfk=v\n",
             {"[A]", QChar(0xFEFF) + QString("k=v")},
             "[A]\n\xef\xbb\xbfk=v\n"},
            {" \xef\xbb\xbfk=v\n", {QChar(0xFEFF) + QStringLiteral("k=v")}, "\xef\xbb\xbf\xef\xbb\xbfk=v\n"}};
        for (const auto& [content, lines, saved] : files) {
            QVERIFY(FileWrite(m_path, content));
            CFILE_INI ini(m_path);
            QVERIFY(ini.Open());
            QCOMPARE(ini.lines, lines);
            // Saved and read back, as the next session would.
            QVERIFY(ini.Close() && ini.Open() && ini.lines == lines && FileBytes(m_path) == saved);
        }
        // A shorter list leaves no tail; a closed store neither saves nor loads.
        CFILE_INI ini(m_path);
        QVERIFY(ini.Open());
        ini.lines = QStringList{"[A]"};
        QVERIFY(ini.Close() && FileBytes(m_path) == "[A]\n" && !ini.Save() && !ini.Load());
        // A missing file is created; an unreachable one fails and writes nothing.
        // The OS handle is released after the load, so a save can replace the file.
        QVERIFY(QFile::remove(m_path) && ini.Open() && QFile::exists(m_path) && ini.lines.isEmpty() &&
                !ini.isOpen());
        CFILE_INI unreachable(m_dir.filePath("missing/folder/config.ini"));
        unreachable.lines = QStringList{"stale"};
        QVERIFY(!unreachable.Open() && unreachable.lines.isEmpty() && unreachable.Close() &&
                !QFile::exists(unreachable.fileName()));
    }

    void iniLookupsAndEdits()
    {
        CFILE_INI ini(m_path);
        ini.lines = QStringList{"[ZONES] old", "#ZONE=5", "=5",  "",         "ZONE=a=b", "ZONE=2",  "[]",
                                "[GROUPS]",    "[OTHER]", "L=3", "[GROUPS]", "G=2",      "[ZONES]", "ZONE=9"};
        bool found = false;
        // A header with text after its "]" names the section; comments and "=5" are skipped.
        QCOMPARE(ini.KeyLineFirst(&found, "ZONES", 0), QStringLiteral("ZONE=a=b"));
        QCOMPARE(ini.KeyLineNext(&found), QStringLiteral("ZONE=2"));
        // "[]" is not a section line: the walk stops at "[GROUPS]".
        QVERIFY((ini.KeyLineNext(&found), !found) && (ini.KeyLineFirst(&found, "GROUPS", 1), !found));
        QCOMPARE(ini.KeyLineFirst(&found, "GROUPS", 2), QStringLiteral("G=2"));
        QCOMPARE(ini.ValueGet(&found, "ZONES", "ZONE", 1, "d"), QStringLiteral("a=b"));
        // Only the first section of the name is searched.
        QCOMPARE(ini.ValueGet(&found, "ZONES", "ZONE", 3, "d"), QStringLiteral("d"));
        QVERIFY(!found && !ini.SectionFind("zones", 1) && !CFILE_INI(m_path).SectionFind("ZONES", 1));
        QCOMPARE(CFILE_INI::LineValue("novalue"), QString());

        ini.lines = QStringList{"[ZONES]", "ZONE=1", "ZONE=2", "", "[GROUPS]", "GROUP=1", "", "# n", "[G2]"};
        QVERIFY(ini.ValueSet("ZONES", "ZONE", "x", 3) && ini.ValueSet("ZONES", "ZONE", "y", 2));
        QVERIFY(ini.KeyAdd("ZONES", "ZONE", "z") && ini.ValueSet("NEW", "K", "v", 1));
        QVERIFY(ini.SectionClear("GROUPS", 1) && ini.SectionClear("MISSING", 1));
        // Found by fuzzing: a line break in a value came back as lines of its own.
        QVERIFY(ini.KeyAdd("G2\n", "K\r", "a\nb"));
        QCOMPARE(ini.lines, (QStringList{"[ZONES]", "ZONE=1", "ZONE=y", "", "ZONE=x", "ZONE=z", "[GROUPS]",
                                         "", "[G2]", "[NEW]", "K=v", "[G2 ]", "K\r=a b"}));
    }

    void failedSavesKeepTheOldFile()
    {
        const QByteArray old("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n");
        QVERIFY(SaveFileAtomic(m_dir.filePath("a/b/c.txt"), old)); // folders are created
        QVERIFY(!SaveFileAtomic(m_dir.filePath("a/b/c.txt/x"), "x") && !SaveFileAtomic(QString(), "x"));
        // Larger than the write buffer: write() fails; smaller: only the final flush does,
        // which QSaveFile::commit() alone would miss.
        for (const auto& [limit, size] : {std::pair<int, int>{64 * 1024, 256 * 1024}, {4096, 6 * 1024}}) {
            QVERIFY(SaveFileAtomic(m_path, old));
            CFILE_INI ini(m_path);
            QVERIFY(ini.Open());
            ini.lines << QString(size, 'g');
            bool saved = true, closed = true;
            {
                FileSizeLimit fsize{rlim_t(limit)};
                QVERIFY(fsize.isActive());
                saved = SaveFileAtomic(m_path, QByteArray(size, 'n'));
                closed = ini.Close();
            }
            QVERIFY(!saved && !closed && FileBytes(m_path) == old);
            QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"config.ini"});
        }
    }

    void decodingAndDates()
    {
        const std::tuple<QByteArray, bool, QString> texts[] = {
            {"Acc\xc3\xa8s \xe2\x82\xac", true, "Accès €"},
            {"\xef\xbb\xbfk", true, "k"},
            {"\xef\xbb\xbfk", false, QChar(0xFEFF) + QStringLiteral("k")}};
        for (const auto& [bytes, atFileStart, text] : texts)
            QCOMPARE(DecodeText(bytes, atFileStart), text);
        // A cut sequence, an overlong one, a surrogate, past U+10FFFF: the whole line is Latin-1.
        for (const char* bytes : {"caf\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"})
            QCOMPARE(DecodeText(bytes, true), QString::fromLatin1(bytes));

        const std::tuple<const char*, QDate> dates[] = {{"29/02/00", QDate(2000, 2, 29)},
                                                        {"04/12/26", QDate(2026, 12, 4)},
                                                        {"31/02/26", QDate()},
                                                        {"04/12/2026", QDate()}};
        for (const auto& [text, date] : dates)
            QVERIFY2(ShortDateRead(text) == date && RecordDateRead(date.toString("yyMMdd")) == date, text);
        QCOMPARE(RecordDateRead("2612045"), QDate());
    }

private:
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("config.ini");
};

QTEST_APPLESS_MAIN(TstCommun)
#include "tst_commun.moc"
