#include "emulatorsession.h"
#include "readermodel.h"
#include "transport.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
const QString SystemKey = "0x5A 0x17 0xC3 0x88 0x2E 0x91";

// Runs one request; the answer as "status:payload".
QString ask(ReaderModel& model, const char* command, const QString& payload = QString())
{
    const ReaderModel::Answer a = model.handle(command[0], command[1], payload.toUtf8());
    return QString(QChar(a.status)) + ":" + QString::fromUtf8(a.payload);
}

int indexOf(const ReaderModel& model, const QString& uid)
{
    for (int i = 0; i < model.cards().size(); ++i) {
        if (ReaderText::uidText(model.cards()[i].chip.uid()) == uid)
            return i;
    }
    return -1;
}

class NullTransport : public Transport
{
public:
    bool open(QString*) override { return true; }
    QString portName() const override { return "null"; }
    void write(const QByteArray& bytes) override { written += bytes; }
    QByteArray written;
};
} // namespace

class TstReaderModel : public QObject
{
    Q_OBJECT
private slots:
    void parameters();
    void clockAndOutputs();
    void files();
    void polling();
    void badgeCommands();
    void rawCommands();
    void state();
    void badInput();
    void stateWriteFailure();
};

void TstReaderModel::parameters()
{
    ReaderModel model;
    // Every identifier of the program's tree answers (duplicates appear there twice).
    const QStringList ids = model.parameterIds();
    QCOMPARE(ids.size() + 2, 140);
    QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
    for (const QString& id : ids + QStringList{"12.3", "12.4"})
        QVERIFY2(ask(model, "VG", id).startsWith("0:"), qPrintable(id));
    QCOMPARE(ask(model, "VG", "3.0.3"), QString("0:KorvelReader"));
    QVERIFY(ask(model, "VG", "12.0").startsWith("0:12."));
    QCOMPARE(ask(model, "VG", "3.4.3"), QString("0:1"));
    QCOMPARE(ask(model, "VG", "99.1"), QString("6:"));
    QCOMPARE(ask(model, "VG", ""), QString("6:"));

    // Put stores a pending value, visible at once; the commit of its object keeps it.
    QCOMPARE(ask(model, "VP", "3.0.1=Piscine"), QString("0:"));
    QCOMPARE(ask(model, "VP", "3.4.2=1"), QString("0:"));
    QCOMPARE(ask(model, "VP", "2.1.0.4.0=90"), QString("0:"));
    QCOMPARE(ask(model, "VG", "3.0.1"), QString("0:Piscine"));
    QCOMPARE(model.committedParameter("3.0.1"), QString("A DEFINIR"));
    const ReaderModel::Answer commit = model.handle('V', 'P', "3.255.1=");
    QCOMPARE(commit.status, '0');
    QVERIFY(commit.stateChanged);
    QCOMPARE(model.committedParameter("3.0.1"), QString("Piscine"));
    QCOMPARE(model.committedParameter("3.4.2"), QString("1"));
    QVERIFY(model.hasPending("2.1.0.4.0"));
    QCOMPARE(model.committedParameter("2.1.0.4.0"), QString("600"));
    QCOMPARE(ask(model, "VP", "2.255.1="), QString("0:"));
    QCOMPARE(model.committedParameter("2.1.0.4.0"), QString("90"));

    // Values are checked by kind; a refusal leaves the value as it was.
    const struct
    {
        const char* put;
        char status;
    } puts[] = {
        {"3.4.0=2", '2'},   {"3.4.0=", '2'},          {"3.4.0=1", '0'},
        {"2.0.11=3", '0'},  {"2.0.11=4", '2'},        {"2.0.11=-1", '2'},
        {"7.1.1.1=3", '0'}, {"7.1.0.1=3", '2'},       {"10.1=12a", '2'},
        {"10.1=", '2'},     {"13.1.4=10.0.0.9", '0'}, {"12.0=13", '5'},
        {"4.4.4=1", '6'},   {"3.0.1", '2'},           {"=", '6'},
        {"3.0.9=x", '6'},
    };
    for (const auto& p : puts)
        QCOMPARE(QString(QChar(model.handle('V', 'P', p.put).status)) + p.put,
                 QString(QChar(p.status)) + p.put);
    QCOMPARE(ask(model, "VG", "2.0.11"), QString("0:3"));
    QCOMPARE(ask(model, "VG", "10.1"), QString("0:5000"));
    QCOMPARE(ask(model, "VX", "3.0.3"), QString("1:"));
}

void TstReaderModel::clockAndOutputs()
{
    ReaderModel model;
    QCOMPARE(ask(model, "VP", "12.255.8=07/03/25"), QString("0:"));
    QCOMPARE(ask(model, "VP", "12.255.9=09:05"), QString("0:"));
    QCOMPARE(model.clock().date(), QDate(2025, 3, 7));
    QCOMPARE(ask(model, "VG", "12.4"), QString("0:07/03/25"));
    QVERIFY(ask(model, "VG", "12.3").startsWith("0:09:0"));
    for (const char* bad : {"12.255.8=31/02/25", "12.255.8=7/3/25", "12.255.8=", "12.255.8=07/03/2025",
                            "12.255.9=25:00", "12.255.9=9:05", "12.255.9=09h05"})
        QCOMPARE(ask(model, "VP", bad), QString("2:"));
    QCOMPARE(model.clock().date(), QDate(2025, 3, 7));

    const ReaderModel::Answer pulse = model.handle('V', 'P', "12.255.7.1=250");
    QCOMPARE(pulse.status, '0');
    QCOMPARE(pulse.debug, QStringList{"Sortie 1 impulsion 250 ms"});
    QCOMPARE(ask(model, "VP", "12.255.7.0="), QString("0:"));
    QCOMPARE(ask(model, "VP", "12.255.7.9=100"), QString("2:"));
    QCOMPARE(ask(model, "VP", "12.255.7.0=abc"), QString("2:"));
    QCOMPARE(ask(model, "VP", "12.255.5=1"), QString("6:"));
}

void TstReaderModel::files()
{
    ReaderModel model;
    const ReaderModel::Answer cleared = model.handle('F', 'C', "Fil=5");
    QCOMPARE(cleared.status, '0');
    QCOMPARE(cleared.debug, QStringList{"Fichier 5 effacé"});
    QCOMPARE(ask(model, "FG", "Fil=5;Pos=0"), QString("6:"));
    QCOMPARE(ask(model, "FA", "Fil=5;Cda=261204;UID=04A1B2C3;Usr=125;Grp=3"), QString("0:"));
    QCOMPARE(ask(model, "FA", "Fil=5;Cda=;UID=;Usr=;Grp="), QString("0:"));
    QCOMPARE(ask(model, "FG", "Fil=5;Pos=0"), QString("0:Cda=261204;UID=04A1B2C3;Usr=125;Grp=3"));
    QCOMPARE(ask(model, "FG", "Fil=5;Pos=1"), QString("0:Cda=;UID=;Usr=;Grp="));
    QCOMPARE(ask(model, "FG", "Fil=5;Pos=2"), QString("6:"));

    QCOMPARE(ask(model, "FC", "Fil=18"), QString("0:"));
    QCOMPARE(ask(model, "FA", "Fil=18;Zid=3;Grp=0;Cpt=2;Apb=0"), QString("0:"));
    QCOMPARE(ask(model, "FG", "Fil=18;Pos=0"), QString("0:Zid=3;Grp=0;Cpt=2;Apb=0"));
    QCOMPARE(model.file(5).size(), 2);

    // Malformed requests are refused and leave both files alone.
    for (const char* bad :
         {"Fil=18;Zid=12;Grp=0", "Fil=18;Zid=a;Grp=0", "Fil=18;Grp=0", "Fil=18;Zid=1;Grp=0;Cpt=300",
          "Fil=5;Cda=991340", "Fil=5;Usr=12x", "Fil=5;UID=0123456789012345678901234567890123", "Fil=5;",
          "Fil=5", "Fil=7;Usr=1", "Fl=5;Usr=1"})
        QVERIFY2(ask(model, "FA", bad) != "0:", bad);
    for (const char* bad :
         {"Fil=5;Pos=-1", "Fil=5;Pos=", "Fil=5;Pos=1x", "Fil=5", "Fil=5;Poss=0", "Fil=6;Pos=0"})
        QVERIFY2(ask(model, "FG", bad) != "0:", bad);
    QCOMPARE(ask(model, "FC", "Fil=5;Pos=0"), QString("2:"));
    QCOMPARE(ask(model, "FC", "Fil=19"), QString("6:"));
    QCOMPARE(model.file(5).size(), 2);
    QCOMPARE(model.file(18).size(), 1);

    for (int i = 1; i < ReaderModel::MaxFileRecords; ++i)
        model.handle('F', 'A', "Fil=18;Zid=1;Grp=1");
    QCOMPARE(ask(model, "FA", "Fil=18;Zid=1;Grp=1"), QString("8:"));
}

void TstReaderModel::polling()
{
    ReaderModel model;
    QCOMPARE(ask(model, "BS"), QString("0:00000000"));
    QStringList none;
    QVERIFY(!model.present(5, &none));
    QVERIFY(!model.present(-1, &none));

    // Each status code of the default deck, with one event per insertion and removal.
    const struct
    {
        const char* uid;
        const char* status;
    } deck[] = {{"1A2B3C4D", "1007000"},
                {"5E6F7081", "1100000"},
                {"92A3B4C5", "1003000"},
                {"04A1B2C3", "1001000"},
                {"D6E7F809", "1005000"}};
    for (const auto& card : deck) {
        QStringList debug;
        QVERIFY(model.present(indexOf(model, card.uid), &debug));
        QCOMPARE(debug, QStringList{QString("Support inséré UID=") + card.uid});
        QCOMPARE(ask(model, "BS"), QString("0:1%1;UID=%2").arg(card.status, card.uid));
        QCOMPARE(ask(model, "BS"), QString("0:0%1").arg(card.status));
        QCOMPARE(model.remove(), QStringList{"Support retiré"});
        QCOMPARE(ask(model, "BS"), QString("0:10000000"));
        QCOMPARE(ask(model, "BS"), QString("0:00000000"));
    }
    QVERIFY(model.remove().isEmpty());

    // Switching cards reports the removal first; a card gone before any poll was never there.
    QStringList debug;
    model.present(0, &debug);
    model.present(1, &debug);
    QCOMPARE(ask(model, "BS"), QString("0:11100000;UID=5E6F7081"));
    model.remove();
    model.present(0, &debug);
    model.remove();
    QCOMPARE(ask(model, "BS"), QString("0:10000000"));
    QCOMPARE(ask(model, "BS"), QString("0:00000000"));

    // Blacklist entries by UID, by user and group, by group alone; and the validity switch.
    const int valid = indexOf(model, "5E6F7081");
    model.present(valid, &debug);
    const struct
    {
        const char* entry;
        bool listed;
    } entries[] = {{"UID=5e6f7081", true},   {"Usr=101;Grp=0", true},       {"Grp=0", true},
                   {"Usr=101;Grp=1", false}, {"UID=5E6F7081;Usr=7", false}, {"Cda=;UID=;Usr=;Grp=", false}};
    for (const auto& e : entries) {
        model.handle('F', 'C', "Fil=5");
        QCOMPARE(model.handle('F', 'A', QByteArray("Fil=5;") + e.entry).status, '0');
        QCOMPARE(model.pollPeek(), QString(e.listed ? "01001000" : "01100000"));
    }
    const int expired = indexOf(model, "92A3B4C5");
    model.present(expired, &debug);
    QCOMPARE(model.pollPeek(), QString("01003000"));
    model.handle('V', 'P', "10.2=0");
    QCOMPARE(model.pollPeek(), QString("01100000"));
    model.handle('V', 'P', "12.255.8=01/01/24");
    model.handle('V', 'P', "10.2=1");
    QCOMPARE(model.pollPeek(), QString("01100000"));
}

void TstReaderModel::badgeCommands()
{
    ReaderModel model;
    QCOMPARE(ask(model, "BR"), QString("3:"));
    QCOMPARE(ask(model, "BN", "Tyc=128"), QString("3:"));
    QStringList debug;
    model.present(indexOf(model, "5E6F7081"), &debug);
    QVERIFY(ask(model, "BR").startsWith("0:UID=5E6F7081;Tyc=128;Usr=101;Grp=0;"));
    QCOMPARE(ask(model, "BQ"), QString("1:"));

    // A blank card: unknown until created; "W" needs the structure, "N" makes it.
    model.present(indexOf(model, "1A2B3C4D"), &debug);
    QCOMPARE(ask(model, "BR"), QString("7:UID=1A2B3C4D"));
    QCOMPARE(ask(model, "BW", "Tyc=128;Usr=9"), QString("7:UID=1A2B3C4D"));
    QCOMPARE(ask(model, "BN", "Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250;UID=FFFFFFFF"),
             QString("0:UID=1A2B3C4D;Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250"));
    QCOMPARE(ask(model, "BR"),
             QString("0:UID=1A2B3C4D;Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250"));
    QCOMPARE(model.pollPeek(), QString("01100000"));
    QCOMPARE(ask(model, "BW", "Tyc=16;Usr=16"), QString("0:UID=1A2B3C4D;Tyc=16;Usr=16"));
    QCOMPARE(ask(model, "BR"), QString("0:UID=1A2B3C4D;Tyc=16;Usr=16"));
    QCOMPARE(ask(model, "BW", QString(400, 'x')), QString("8:"));
    QCOMPARE(ask(model, "BW", ""), QString("2:"));
    QCOMPARE(ask(model, "BR"), QString("0:UID=1A2B3C4D;Tyc=16;Usr=16"));
    // Credit above the reader's maximum (10.1, in hundredths).
    ask(model, "BW", "Tyc=16;Cn2=500001");
    QCOMPARE(model.pollPeek(), QString("01002000"));

    // The damaged badge reads as failed, and is made whole again by a creation.
    model.present(indexOf(model, "D6E7F809"), &debug);
    QCOMPARE(ask(model, "BR"), QString("7:UID=D6E7F809"));
    QCOMPARE(ask(model, "BN", "Tyc=128;Usr=3").left(2), QString("0:"));
    QCOMPARE(model.pollPeek(), QString("01100000"));

    // Security structure: refused at the first sector with foreign keys, which it names.
    model.present(indexOf(model, "1A2B3C4D"), &debug);
    QCOMPARE(ask(model, "BF"), QString("0:"));
    QCOMPARE(ask(model, "BW", "Tyc=16;Nal=" + QString(250, 'x')).left(2), QString("0:"));
    QCOMPARE(ask(model, "RW",
                 "27;0;" + SystemKey + ";" + QString("0xA0 0xA1 0xA2 0xA3 0xA4 0xA5 ") +
                     "0x7F 0x07 0x88 0x69 0xB0 0xB1 0xB2 0xB3 0xB4 0xB5"),
             QString("5:"));
    QCOMPARE(ask(model, "RW",
                 "27;1;" + SystemKey + ";" + QString("0xA0 0xA1 0xA2 0xA3 0xA4 0xA5 ") +
                     "0x7F 0x07 0x88 0x69 0xB0 0xB1 0xB2 0xB3 0xB4 0xB5")
                 .left(2),
             QString("0:"));
    QCOMPARE(ask(model, "BF"), QString("4:6"));
    QCOMPARE(model.pollPeek(), QString("01006006"));
    QCOMPARE(ask(model, "BN", "Tyc=128"), QString("4:6"));
}

void TstReaderModel::rawCommands()
{
    ReaderModel model;
    QCOMPARE(ask(model, "RR", "4;0;" + SystemKey), QString("3:"));
    QStringList debug;
    model.present(indexOf(model, "1A2B3C4D"), &debug);
    const QString ffs = "0xFF 0xFF 0xFF 0xFF 0xFF 0xFF";
    QCOMPARE(ask(model, "RR", "0;0;" + ffs), QString("0:0x1A 0x2B 0x3C 0x4D 0x40 0x08 0x04 0x00 0x00 0x00 "
                                                     "0x00 0x00 0x00 0x00 0x00 0x00"));
    QCOMPARE(ask(model, "RR", "3;0;FFFFFFFFFFFF"),
             QString("0:0x00 0x00 0x00 0x00 0x00 0x00 0xFF 0x07 0x80 0x69 "
                     "0xFF 0xFF 0xFF 0xFF 0xFF 0xFF"));
    QCOMPARE(ask(model, "RR", "4;0;" + SystemKey), QString("4:"));
    QCOMPARE(ask(model, "RR", "3;1;" + ffs), QString("5:"));
    QCOMPARE(ask(model, "RW", "0;0;" + ffs + ";0x01"), QString("5:"));

    // Value block: write it, then increment and decrement with the "1"/"2" operand codes.
    const QString value = "0x64 0x00 0x00 0x00 0x9B 0xFF 0xFF 0xFF 0x64 0x00 0x00 0x00 0x08 0xF7 0x08 0xF7";
    QCOMPARE(ask(model, "RW", "8;0;" + ffs + ";" + value), "0:" + value);
    QCOMPARE(ask(model, "RI", "8;0;" + ffs + ";1;5").left(7), QString("0:0x69 "));
    QCOMPARE(ask(model, "RD", "8;0;" + ffs + ";2;10").left(7), QString("0:0x5F "));
    QCOMPARE(ask(model, "RD", "8;0;" + ffs + ";1;10"), QString("2:"));
    QCOMPARE(ask(model, "RI", "9;0;" + ffs + ";1;1"), QString("7:"));
    QCOMPARE(ask(model, "RI", "8;0;" + ffs + ";1;2147483647"), QString("7:"));
    QCOMPARE(ask(model, "RW", "9;0;" + ffs + ";0x01 0x02"),
             QString("0:0x01 0x02 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00"));

    // Trailer write as the Expert tab sends it: key A, access bytes, key B.
    const QString keyA = "0xA0 0xA1 0xA2 0xA3 0xA4 0xA5", keyB = "0xB0 0xB1 0xB2 0xB3 0xB4 0xB5";
    QCOMPARE(ask(model, "RW", "11;0;" + ffs + ";" + keyA + " 0x7F 0x07 0x88 0x69 " + keyB),
             QString("0:0x00 0x00 0x00 0x00 0x00 0x00 0x7F 0x07 0x88 0x69 0x00 0x00 0x00 0x00 0x00 0x00"));
    QCOMPARE(ask(model, "RR", "8;0;" + ffs), QString("4:"));
    QVERIFY(ask(model, "RR", "8;0;" + keyA).startsWith("0:0x5F "));
    QVERIFY(ask(model, "RR", "8;1;" + keyB).startsWith("0:0x5F "));
    // Trailer 011: only key B may rewrite it.
    QCOMPARE(ask(model, "RW", "11;0;" + keyA + ";" + ffs + " 0xFF 0x07 0x80 0x69 " + ffs), QString("5:"));
    QCOMPARE(ask(model, "RW", "11;1;" + keyB + ";" + ffs + " 0xFF 0x07 0x80 0x69 " + ffs).left(2),
             QString("0:"));
    QVERIFY(ask(model, "RR", "8;0;" + ffs).startsWith("0:0x5F "));

    for (const char* bad :
         {"", "8", "8;0", "64;0;FFFFFFFFFFFF", "-1;0;FFFFFFFFFFFF", "8;2;FFFFFFFFFFFF", "8;0;FFFF",
          "8;0;0xGG 0xFF 0xFF 0xFF 0xFF 0xFF", "8;0;FFFFFFFFFFFF;1", "x;0;FFFFFFFFFFFF"})
        QVERIFY2(ask(model, "RR", bad) == "2:", bad);
    QCOMPARE(ask(model, "RW", "8;0;" + ffs + ";" + QString("0x01 ").repeated(17)), QString("2:"));
    QCOMPARE(ask(model, "RW", "11;0;" + ffs + ";0x01"), QString("2:"));
    QCOMPARE(ask(model, "RW", "8;0;" + ffs + ";hello"), QString("2:"));
    QCOMPARE(ask(model, "RI", "8;0;" + ffs + ";1;-5"), QString("2:"));
    QCOMPARE(ask(model, "RX", "8;0;" + ffs), QString("1:"));
}

void TstReaderModel::state()
{
    ReaderModel model;
    model.handle('V', 'P', "3.0.1=Gymnase");
    model.handle('V', 'P', "3.255.1=");
    model.handle('V', 'P', "3.0.2=77"); // pending only: not kept
    model.handle('F', 'C', "Fil=5");
    model.handle('F', 'A', "Fil=5;UID=0A0B0C0D");
    QStringList debug;
    model.present(0, &debug);
    model.handle('B', 'N', "Tyc=2;Usr=44");

    ReaderModel restored;
    QString error;
    QVERIFY(restored.applyState(model.stateJson(), &error));
    QCOMPARE(restored.parameter("3.0.1"), QString("Gymnase"));
    QCOMPARE(restored.parameter("3.0.2"), QString("1001"));
    QCOMPARE(restored.file(5), QStringList{"UID=0A0B0C0D"});
    QCOMPARE(restored.file(18), model.file(18));
    QCOMPARE(restored.cards()[0].chip.memory(), model.cards()[0].chip.memory());

    // A state with a bad card memory changes nothing at all.
    QJsonObject bad = model.stateJson();
    QJsonArray cards = bad.value("cards").toArray();
    QJsonObject first = cards[0].toObject();
    first["memory"] = "00";
    cards[0] = first;
    bad["cards"] = cards;
    bad["files"] = QJsonObject{{"5", QJsonArray{"Usr=1"}}};
    ReaderModel untouched;
    QVERIFY(!untouched.applyState(bad, &error));
    QCOMPARE(untouched.file(5).size(), 1);
    QCOMPARE(untouched.file(5).first(), QString("Cda=261204;UID=04A1B2C3;Usr=125;Grp=3"));

    // Deck files: plain cards, created badges, damaged ones, full memory dumps.
    QVERIFY(restored.loadDeck(R"({"cards":[{"name":"A","uid":"0A0B0C0D"},
        {"name":"B","uid":"01020304","record":"Tyc=128;Usr=5;Vda=991231"},
        {"name":"C","uid":"01020305","record":"Tyc=128","damaged":true},
        {"name":"D","uid":"01020306","secured":true},
        {"name":"E","uid":"01020307","record":"Tyc=128","status":4}]})",
                              &error));
    QCOMPARE(restored.cards().size(), 5);
    int code = 0;
    QString detail;
    const int expected[] = {7, 0, 5, 7, 4};
    for (int i = 0; i < 5; ++i) {
        restored.cardStatus(restored.cards()[i], &code, &detail);
        QCOMPARE(code, expected[i]);
    }
    QVERIFY(!restored.loadDeck("[]", &error));
    QVERIFY(!restored.loadDeck(R"([{"uid":"123"}])", &error));
    QVERIFY(!restored.loadDeck("{", &error));
    QVERIFY(!restored.loadDeck(R"([{"uid":"01020304","status":100}])", &error));
    QCOMPARE(restored.cards().size(), 5);
}

void TstReaderModel::badInput()
{
    ReaderModel model;
    QStringList debug;
    model.present(1, &debug);
    const QJsonObject before = model.stateJson();
    QCOMPARE(ask(model, "VG", QString("3.0.3\t")), QString("2:"));
    QCOMPARE(model.handle('F', 'A', QByteArray("Fil=5;Usr=1\0", 12)).status, '2');
    // Latin-1 text from the program arrives whole.
    QCOMPARE(model.handle('V', 'P', QByteArray("3.0.1=Caf\xE9")).status, '0');
    QCOMPARE(model.parameter("3.0.1"), QString("Café"));
    model.handle('V', 'P', "3.0.1=A DEFINIR");

    // Random requests never crash and never change the refused state.
    quint32 seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const char letters[] = "BRFVDXbr\x02\x03";
    const char alphabet[] = "0123456789;=.xFil=PosUID \xFF\x00";
    for (int i = 0; i < 3000; ++i) {
        QByteArray payload;
        const int length = next() % 40;
        for (int j = 0; j < length; ++j)
            payload.append(alphabet[next() % (sizeof alphabet - 1)]);
        const char letter = letters[next() % 10];
        const char sub = "SRNWFCAGPID\x00"[next() % 12];
        if (letter == 'B' && (sub == 'N' || sub == 'W' || sub == 'F'))
            continue;
        if ((letter == 'R' && sub == 'W') || (letter == 'F' && (sub == 'C' || sub == 'A')) ||
            (letter == 'V' && sub == 'P'))
            continue;
        model.handle(letter, sub, payload);
    }
    QCOMPARE(model.stateJson(), before);
}

void TstReaderModel::stateWriteFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("state.json");
    ReaderModel model;
    NullTransport transport;
    SessionOptions options;
    options.statePath = path;
    EmulatorSession session(&model, &transport, options);
    QVERIFY(session.saveState());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();
    QVERIFY(QJsonDocument::fromJson(good).isObject());

    // A file-size limit below the state's size: the write fails and the old file stays whole.
    model.handle('F', 'C', "Fil=18");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool saved = session.saveState(&error);
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), good);
}

QTEST_GUILESS_MAIN(TstReaderModel)
#include "tst_readermodel.moc"
