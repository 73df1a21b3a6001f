#include "emulatorsession.h"
#include "filesizelimit.h"
#include "readermodel.h"
#include "transport.h"

#include <QtTest>

namespace {
// Bytes as the Expert tab types them: "A0A1" gives "0xA0 0xA1".
QString hex(const char* digits)
{
    QStringList out;
    for (const char b : QByteArray::fromHex(digits))
        out << QString::asprintf("0x%02X", quint8(b));
    return out.join(' ');
}
const QString SystemKey = hex("5A17C3882E91"), Ffs = hex("FFFFFFFFFFFF");
const QString KeyA = hex("A0A1A2A3A4A5"), KeyB = hex("B0B1B2B3B4B5");

// Runs one request; the answer as "status:payload".
QString ask(ReaderModel& model, const char* command, const QString& payload = QString())
{
    const ReaderModel::Answer a = model.handle(command[0], command[1], payload.toUtf8());
    return QString(QChar(a.status)) + ":" + QString::fromUtf8(a.payload);
}

// Runs the requests of "XY payload -> answer" lines in turn; returns the lines with the answers got,
// so that a mismatch shows its request.
QStringList run(ReaderModel& model, const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines) {
        const QString request = line.section(" -> ", 0, 0);
        out << request + " -> " + ask(model, qPrintable(request.left(2)), request.mid(3));
    }
    return out;
}

// Puts the card with that UID on the reader; the debug texts of the insertion.
QStringList present(ReaderModel& model, const QString& uid)
{
    QStringList debug;
    for (int i = 0; i < model.cards().size(); ++i)
        if (ReaderText::uidText(model.cards()[i].chip.uid()) == uid)
            model.present(i, &debug);
    return debug;
}

class NullTransport : public Transport
{
public:
    bool open(QString*) override { return true; }
    QString portName() const override { return "null"; }
    void write(const QByteArray&) override {}
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
    QVERIFY(ask(model, "VG", "12.0").startsWith("0:12."));

    // Put stores a pending value, visible at once; the commit of its object keeps it.
    const QStringList before = {"VG 3.0.3 -> 0:KorvelReader",
                                "VG 3.4.3 -> 0:1",
                                "VG 99.1 -> 6:",
                                "VG  -> 6:",
                                "VX 3.0.3 -> 1:",
                                "VP 3.0.1=Piscine -> 0:",
                                "VP 3.4.2=1 -> 0:",
                                "VP 2.1.0.4.0=90 -> 0:",
                                "VG 3.0.1 -> 0:Piscine"};
    QCOMPARE(run(model, before), before);
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
    const QStringList puts = {"VP 3.4.0=2 -> 2:",   "VP 3.4.0= -> 2:",          "VP 3.4.0=1 -> 0:",
                              "VP 2.0.11=3 -> 0:",  "VP 2.0.11=4 -> 2:",        "VP 2.0.11=-1 -> 2:",
                              "VP 7.1.1.1=3 -> 0:", "VP 7.1.0.1=3 -> 2:",       "VP 10.1=12a -> 2:",
                              "VP 10.1= -> 2:",     "VP 13.1.4=10.0.0.9 -> 0:", "VP 12.0=13 -> 5:",
                              "VP 4.4.4=1 -> 6:",   "VP 3.0.1 -> 2:",           "VP = -> 6:",
                              "VP 3.0.9=x -> 6:",   "VG 2.0.11 -> 0:3",         "VG 10.1 -> 0:5000"};
    QCOMPARE(run(model, puts), puts);
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
    const QStringList outputs = {
        "VP 12.255.7.0= -> 0:", "VP 12.255.7.9=100 -> 2:", "VP 12.255.7.0=abc -> 2:", "VP 12.255.5=1 -> 6:"};
    QCOMPARE(run(model, outputs), outputs);
}

void TstReaderModel::files()
{
    ReaderModel model;
    const ReaderModel::Answer cleared = model.handle('F', 'C', "Fil=5");
    QCOMPARE(cleared.status, '0');
    QCOMPARE(cleared.debug, QStringList{"Fichier 5 effacé"});
    const QStringList records = {"FG Fil=5;Pos=0 -> 6:",
                                 "FA Fil=5;Cda=261204;UID=04A1B2C3;Usr=125;Grp=3 -> 0:",
                                 "FA Fil=5;Cda=;UID=;Usr=;Grp= -> 0:",
                                 "FG Fil=5;Pos=0 -> 0:Cda=261204;UID=04A1B2C3;Usr=125;Grp=3",
                                 "FG Fil=5;Pos=1 -> 0:Cda=;UID=;Usr=;Grp=",
                                 "FG Fil=5;Pos=2 -> 6:",
                                 "FC Fil=18 -> 0:",
                                 "FA Fil=18;Zid=3;Grp=0;Cpt=2;Apb=0 -> 0:",
                                 "FG Fil=18;Pos=0 -> 0:Zid=3;Grp=0;Cpt=2;Apb=0",
                                 "FC Fil=5;Pos=0 -> 2:",
                                 "FC Fil=19 -> 6:"};
    QCOMPARE(run(model, records), records);

    // Malformed requests are refused and leave both files alone.
    for (const char* bad :
         {"Fil=18;Zid=12;Grp=0", "Fil=18;Zid=a;Grp=0", "Fil=18;Grp=0", "Fil=18;Zid=1;Grp=0;Cpt=300",
          "Fil=5;Cda=991340", "Fil=5;Usr=12x", "Fil=5;Usr=\x01",
          "Fil=5;UID=0123456789012345678901234567890123", "Fil=5;", "Fil=5", "Fil=7;Usr=1", "Fl=5;Usr=1"})
        QVERIFY2(ask(model, "FA", bad) != "0:", bad);
    for (const char* bad : {"Fil=5;Pos=-1", "Fil=5;Pos=", "Fil=5;Pos=1x", "Fil=5;Pos=99999999999999999999",
                            "Fil=5", "Fil=5;Poss=0", "Fil=6;Pos=0"})
        QVERIFY2(ask(model, "FG", bad) != "0:", bad);
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
    QStringList debug;
    QVERIFY(!model.present(8, &debug));
    QVERIFY(!model.present(-1, &debug));

    // Each status code of the default deck, with one event per insertion and removal.
    const char* deck[][2] = {{"1A2B3C4D", "1007000"},
                             {"5E6F7081", "1100000"},
                             {"92A3B4C5", "1003000"},
                             {"04A1B2C3", "1001000"},
                             {"D6E7F809", "1005000"}};
    for (const auto& card : deck) {
        QCOMPARE(present(model, card[0]), QStringList{QString("Support inséré UID=") + card[0]});
        QCOMPARE(ask(model, "BS"), QString("0:1%1;UID=%2").arg(card[1], card[0]));
        QCOMPARE(ask(model, "BS"), QString("0:0%1").arg(card[1]));
        QCOMPARE(model.remove(), QStringList{"Support retiré"});
        QCOMPARE(ask(model, "BS"), QString("0:10000000"));
        QCOMPARE(ask(model, "BS"), QString("0:00000000"));
    }
    QVERIFY(model.remove().isEmpty());

    // Switching cards reports the removal first; a card gone before any poll was never there.
    model.present(0, &debug);
    model.present(1, &debug);
    QCOMPARE(ask(model, "BS"), QString("0:11100000;UID=5E6F7081"));
    model.remove();
    model.present(0, &debug);
    model.remove();
    QCOMPARE(ask(model, "BS"), QString("0:10000000"));
    QCOMPARE(ask(model, "BS"), QString("0:00000000"));

    // Blacklist entries by UID, by user and group, by group alone (a leading '-' marks one that does not
    // match the card); and the validity switch.
    present(model, "5E6F7081");
    const QStringList entries = {"UID=5e6f7081",   "Usr=101;Grp=0",       "Grp=0",
                                 "-Usr=101;Grp=1", "-UID=5E6F7081;Usr=7", "-Cda=;UID=;Usr=;Grp="};
    for (const QString& e : entries) {
        model.handle('F', 'C', "Fil=5");
        const bool listed = !e.startsWith('-');
        QCOMPARE(model.handle('F', 'A', ("Fil=5;" + e.mid(listed ? 0 : 1)).toLatin1()).status, '0');
        QCOMPARE(model.pollPeek(), QString(listed ? "01001000" : "01100000"));
    }
    present(model, "92A3B4C5"); // expired
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
    const QStringList noCard = {"BR -> 3:", "BN Tyc=128 -> 3:"};
    QCOMPARE(run(model, noCard), noCard);
    present(model, "5E6F7081");
    QVERIFY(ask(model, "BR").startsWith("0:UID=5E6F7081;Tyc=128;Usr=101;Grp=0;"));
    QCOMPARE(ask(model, "BQ"), QString("1:"));

    // A blank card: unknown until created; "W" needs the structure, "N" makes it.
    present(model, "1A2B3C4D");
    const QString created = "UID=1A2B3C4D;Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250";
    const QStringList blank = {
        "BR -> 7:UID=1A2B3C4D",
        "BW Tyc=128;Usr=9 -> 7:UID=1A2B3C4D",
        "BN Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250;UID=FFFFFFFF -> 0:" + created,
        "BR -> 0:" + created,
        "BW Tyc=16;Usr=16 -> 0:UID=1A2B3C4D;Tyc=16;Usr=16",
        "BR -> 0:UID=1A2B3C4D;Tyc=16;Usr=16",
        "BW " + QString(400, 'x') + " -> 8:",
        "BW  -> 2:",
        "BR -> 0:UID=1A2B3C4D;Tyc=16;Usr=16"};
    QCOMPARE(run(model, blank), blank);
    QCOMPARE(model.pollPeek(), QString("01100000"));
    // Credit above the reader's maximum (10.1, in hundredths).
    ask(model, "BW", "Tyc=16;Cn2=500001");
    QCOMPARE(model.pollPeek(), QString("01002000"));

    // The damaged badge reads as failed, and is made whole again by a creation.
    present(model, "D6E7F809");
    QCOMPARE(ask(model, "BR"), QString("7:UID=D6E7F809"));
    QCOMPARE(ask(model, "BN", "Tyc=128;Usr=3").left(2), QString("0:"));
    QCOMPARE(model.pollPeek(), QString("01100000"));

    // Security structure: refused at the first sector with foreign keys, which it names.
    present(model, "1A2B3C4D");
    QCOMPARE(ask(model, "BF"), QString("0:"));
    QCOMPARE(ask(model, "BW", "Tyc=16;Nal=" + QString(250, 'x')).left(2), QString("0:"));
    const QString foreign = ";" + SystemKey + ";" + KeyA + " 0x7F 0x07 0x88 0x69 " + KeyB;
    QCOMPARE(ask(model, "RW", "27;0" + foreign), QString("5:"));
    QCOMPARE(ask(model, "RW", "27;1" + foreign).left(2), QString("0:"));
    QCOMPARE(ask(model, "BF"), QString("4:6"));
    QCOMPARE(model.pollPeek(), QString("01006006"));
    QCOMPARE(ask(model, "BN", "Tyc=128"), QString("4:6"));
}

void TstReaderModel::rawCommands()
{
    ReaderModel model;
    QCOMPARE(ask(model, "RR", "4;0;" + SystemKey), QString("3:"));
    present(model, "1A2B3C4D");
    QCOMPARE(ask(model, "RR", "0;0;" + Ffs), "0:" + hex("1A2B3C4D400804000000000000000000"));
    QCOMPARE(ask(model, "RR", "3;0;FFFFFFFFFFFF"), "0:" + hex("000000000000FF078069FFFFFFFFFFFF"));
    QCOMPARE(ask(model, "RR", "4;0;" + SystemKey), QString("4:"));
    QCOMPARE(ask(model, "RR", "3;1;" + Ffs), QString("5:"));
    QCOMPARE(ask(model, "RW", "0;0;" + Ffs + ";0x01"), QString("5:"));

    // Value block: write it, then increment and decrement with the "1"/"2" operand codes.
    const QString value = hex("640000009BFFFFFF6400000008F708F7");
    QCOMPARE(ask(model, "RW", "8;0;" + Ffs + ";" + value), "0:" + value);
    QCOMPARE(ask(model, "RI", "8;0;" + Ffs + ";1;5").left(7), QString("0:0x69 "));
    QCOMPARE(ask(model, "RD", "8;0;" + Ffs + ";2;10").left(7), QString("0:0x5F "));
    QCOMPARE(ask(model, "RD", "8;0;" + Ffs + ";1;10"), QString("2:"));
    QCOMPARE(ask(model, "RI", "9;0;" + Ffs + ";1;1"), QString("7:"));
    QCOMPARE(ask(model, "RI", "8;0;" + Ffs + ";1;2147483647"), QString("7:"));
    QCOMPARE(ask(model, "RW", "9;0;" + Ffs + ";0x01 0x02"), "0:" + hex("01020000000000000000000000000000"));

    // Trailer write as the Expert tab sends it: key A, access bytes, key B.
    QCOMPARE(ask(model, "RW", "11;0;" + Ffs + ";" + KeyA + " 0x7F 0x07 0x88 0x69 " + KeyB),
             "0:" + hex("0000000000007F078869000000000000"));
    QCOMPARE(ask(model, "RR", "8;0;" + Ffs), QString("4:"));
    QVERIFY(ask(model, "RR", "8;0;" + KeyA).startsWith("0:0x5F "));
    for (const char* bad :
         {"", "8", "8;0", "64;0;FFFFFFFFFFFF", "-1;0;FFFFFFFFFFFF", "8;2;FFFFFFFFFFFF", "8;0;FFFF",
          "8;0;0xGG 0xFF 0xFF 0xFF 0xFF 0xFF", "8;0;FFFFFFFFFFFF;1", "x;0;FFFFFFFFFFFF"})
        QVERIFY2(ask(model, "RR", bad) == "2:", bad);
    const QStringList refused = {
        "RW 8;0;" + Ffs + ";" + QString("0x01 ").repeated(17) + " -> 2:", "RW 11;0;" + Ffs + ";0x01 -> 2:",
        "RW 8;0;" + Ffs + ";hello -> 2:", "RI 8;0;" + Ffs + ";1;-5 -> 2:", "RX 8;0;" + Ffs + " -> 1:"};
    QCOMPARE(run(model, refused), refused);
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
    QCOMPARE(untouched.file(5), QStringList{"Cda=261204;UID=04A1B2C3;Usr=125;Grp=3"});

    // Deck files: plain cards, created badges, damaged ones, full memory dumps, imposed status codes.
    QVERIFY(restored.loadDeck(R"({"cards":[{"name":"A","uid":"0A0B0C0D"},
        {"name":"B","uid":"01020304","record":"Tyc=128;Usr=5;Vda=991231"},
        {"name":"C","uid":"01020305","record":"Tyc=128","damaged":true},
        {"name":"D","uid":"01020306","secured":true},
        {"name":"E","uid":"01020307","record":"Tyc=128","status":4}]})",
                              &error));
    QList<int> codes;
    for (const VirtualCard& card : restored.cards()) {
        int code = 0;
        QString detail;
        restored.cardStatus(card, &code, &detail);
        codes << code;
    }
    QCOMPARE(codes, (QList<int>{7, 0, 5, 7, 4}));
    for (const char* deck : {"[]", R"([{"uid":"123"}])", "{", R"([{"uid":"01020304","status":100}])"})
        QVERIFY2(!restored.loadDeck(deck, &error), deck);
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

    // Random requests never crash and never change the refused state (the writing commands are skipped).
    quint32 seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const char alphabet[] = "0123456789;=.xFil=PosUID \xFF\x00";
    const QStringList writers = {"BN", "BW", "BF", "RW", "FC", "FA", "VP"};
    for (int i = 0; i < 3000; ++i) {
        QByteArray payload;
        for (int j = next() % 40; j > 0; --j)
            payload.append(alphabet[next() % (sizeof alphabet - 1)]);
        const char letter = "BRFVDXbr\x02\x03"[next() % 10];
        const char sub = "SRNWFCAGPID\x00"[next() % 12];
        if (!writers.contains(QString(QChar(letter)) + sub))
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
    QString error;
    bool saved = true;
    {
        FileSizeLimit limit(1024);
        QVERIFY(limit.isActive());
        saved = session.saveState(&error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), good);
}

QTEST_GUILESS_MAIN(TstReaderModel)
#include "tst_readermodel.moc"
