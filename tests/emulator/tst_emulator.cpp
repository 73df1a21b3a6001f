#include "app/emulatorlauncher.h"
#include "emulatorsession.h"
#include "filesizelimit.h"
#include "mifarecard.h"
#include "ptypair.h"
#include "readermodel.h"
#include "testfiles.h"
#include "transport.h"

#include <QSerialPort>
#include <QtTest>

#include <csignal>

using namespace MifareAccess;

namespace {
constexpr int WaitMs = 5000;
const QString Ffs = ";0xFF 0xFF 0xFF 0xFF 0xFF 0xFF";
const QByteArray FfsBytes = MifareCard::transportKey(), KeyABytes = QByteArray::fromHex("A0A1A2A3A4A5"),
                 KeyBBytes = QByteArray::fromHex("B0B1B2B3B4B5");

// The emulator process: its console through the program's launcher, its line through QSerialPort.
struct Emulator
{
    EmulatorLauncher launcher;
    QSerialPort port;
    QByteArray in;

    bool start(const QStringList& args)
    {
        QString error;
        port.setPortName(launcher.Start(KORVEL_EMULATOR_PATH, args, &error) ? launcher.PortName() : error);
        return port.open(QIODevice::ReadWrite);
    }
    // Each row "request -> answer" asked in turn.
    void play(const QStringList& rows)
    {
        for (const QString& row : rows)
            QCOMPARE(row.section(" -> ", 0, 0) + " -> " + ask(row.section(" -> ", 0, 0)), row);
    }
    // "!command" goes to the console (its lines, an "ERR" one last), "XY payload" to the line
    // (the answer as "status:payload", debug frames passed over).
    QString ask(const QString& request)
    {
        if (request.startsWith('!'))
            return launcher.Command(request.mid(1)).join('|');
        port.write(wire(qPrintable("<" + request.left(2) + request.mid(3) + ">012")));
        for (;;) {
            int skipped = 0, length = 0;
            while ((length = ptyFrameLength(in, &skipped)) == 0 && port.waitForReadyRead(WaitMs))
                in += port.readAll();
            const QByteArray f = in.mid(skipped, length);
            in.remove(0, skipped + length);
            if (f.size() < 7 || f[1] != 'D')
                return f.size() < 7 ? "no answer"
                                    : QChar(f[2]) + (":" + QString::fromUtf8(f.mid(3, f.size() - 7)));
        }
    }
};
} // namespace

// The emulator: its card rules and state saving as units, then the running program over its
// line, its console, its files and its options (the --link symlink is the end-to-end suite's).
class TstEmulator : public QObject
{
    Q_OBJECT
private slots:
    void units();
    void session();
    void options();
};

void TstEmulator::units()
{
    // Per condition C1C2C3, what key A then key B may do. Block 8: r read, w write, i increment,
    // d decrement. Trailer: r read access bits, k read key B, a write key A, c access bits, b key B.
    const QByteArray newA = QByteArray::fromHex("C0C1C2C3C4C5"), newB = QByteArray::fromHex("D0D1D2D3D4D5");
    auto mark = [](bool done, char letter) { return done ? letter : '-'; };
    QStringList data, trailer;
    for (int cond = 0; cond < 8; ++cond) {
        QString d = QString::number(cond), t = d;
        for (const auto& [type, key] : {std::pair(KeyType::A, KeyABytes), std::pair(KeyType::B, KeyBBytes)}) {
            MifareCard card;
            card.setRawBlock(11, KeyABytes + accessBytes(cond, 0, 0, 3) + '\x69' + KeyBBytes);
            card.setRawBlock(8, MifareCard::valueBlock(100, 8));
            QByteArray bytes;
            d +=
                QString(" ") + mark(card.readBlock(8, type, key, &bytes) == MifareResult::Ok, 'r') +
                mark(card.writeBlock(8, type, key, MifareCard::valueBlock(100, 8)) == MifareResult::Ok, 'w') +
                mark(card.increment(8, type, key, 5) == MifareResult::Ok, 'i') +
                mark(card.decrement(8, type, key, 5) == MifareResult::Ok, 'd');

            card.setRawBlock(11, KeyABytes + accessBytes(0, 0, 0, cond) + '\x69' + KeyBBytes);
            const bool readable = card.readTrailer(2, type, key, &bytes) == MifareResult::Ok;
            t += QString(" ") + mark(readable, 'r') + mark(readable && bytes.mid(10) == KeyBBytes, 'k');
            // Another general purpose byte shows whether the access bytes were written.
            card.writeTrailer(2, type, key, newA, accessBytes(0, 0, 0, cond) + '\x42', newB);
            const QByteArray stored = card.rawBlock(11);
            t += QString(mark(stored.left(6) == newA, 'a')) + mark(stored.at(9) == '\x42', 'c') +
                 mark(stored.mid(10) == newB, 'b');
        }
        data << d;
        trailer << t;
    }
    QCOMPARE(data, (QStringList{"0 rwid rwid", "1 r--d r--d", "2 r--- r---", "3 ---- rw--", "4 r--- rw--",
                                "5 ---- r---", "6 r--d rwid", "7 ---- ----"}));
    QCOMPARE(trailer, (QStringList{"0 rka-b -----", "1 rkacb -----", "2 rk--- -----", "3 r---- r-acb",
                                   "4 r---- r-a-b", "5 r---- r--c-", "6 r---- r----", "7 r---- r----"}));

    // Inconsistent access bytes are refused and change nothing; stored ones block the sector.
    MifareCard card;
    QCOMPARE(
        card.writeTrailer(1, KeyType::A, FfsBytes, KeyABytes, QByteArray::fromHex("FF0F0F00"), KeyBBytes),
        MifareResult::BadAccessBits);
    QCOMPARE(card.rawBlock(7).toHex(), QByteArray("ffffffffffffff078069ffffffffffff"));
    card.setRawBlock(11, FfsBytes + QByteArray(4, '\0') + FfsBytes);
    QByteArray bytes;
    QCOMPARE(card.readBlock(8, KeyType::A, FfsBytes, &bytes), MifareResult::Forbidden);

    // A state or deck refused changes nothing; a state save that fails (file-size limit) leaves the
    // old file whole.
    ReaderModel model;
    QString error;
    QVERIFY(!model.applyState(
        QJsonObject{{"cards", QJsonArray{QJsonObject{{"uid", "1A2B3C4D"}, {"memory", "00"}}}}}, &error));
    for (const char* deck : {"[]", R"([{"uid":"123"}])", R"([{"uid":"01020304","status":100}])"})
        QVERIFY2(!model.loadDeck(deck, &error) && model.cards().size() == 8, deck);
    QTemporaryDir dir;
    PtyTransport transport; // never opened: the save fails on the disk, not the line
    SessionOptions options;
    options.statePath = dir.filePath("state.json");
    EmulatorSession session(&model, &transport, options);
    QVERIFY(session.saveState());
    const QByteArray good = FileBytes(options.statePath);
    model.handle('F', 'C', "Fil=18");
    auto limit = std::make_unique<FileSizeLimit>(1024);
    QVERIFY(!session.saveState(&error) && !error.isEmpty());
    limit.reset();
    QCOMPARE(FileBytes(options.statePath), good);
}

// The reader's answers to what the window never sends (its own exchanges are the end-to-end
// suites'), the console, then what a second run keeps.
void TstEmulator::session()
{
    const QString created = "UID=D6E7F809;Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250";
    const QString value = "0x64 0x00 0x00 0x00 0x9B 0xFF 0xFF 0xFF 0x64 0x00 0x00 0x00 0x08 0xF7 0x08 0xF7",
                  key = "0xA0 0xA1 0xA2 0xA3 0xA4 0xA5";
    const QStringList script{
        // Parameters: kinds checked, a pending value visible at once, kept once committed.
        "VP 3.0.1=Piscine -> 0:", "VG 3.0.1 -> 0:Piscine", "VP 3.255.1= -> 0:", "VP 3.0.2=55 -> 0:",
        "VG 99.1 -> 6:", "VX 3.0.3 -> 1:", "VG 3.0.3\t -> 2:", "VP 3.4.0=2 -> 2:", "VP 2.0.11=4 -> 2:",
        "VP 7.1.0.1=3 -> 2:", "VP 10.1=12a -> 2:", "VP 13.1.4=10.0.0.9 -> 0:", "VP 12.0=13 -> 5:",
        "VP 4.4.4=1 -> 6:", "VP 3.0.1 -> 2:", "VP 12.255.7.1=250 -> 0:", "VP 12.255.7.9=100 -> 2:",
        "VP 12.255.5=1 -> 6:", "VP 12.255.8=31/02/25 -> 2:", "VP 12.255.9=9:05 -> 2:",
        // Files 5 and 18: one kept record, refusals.
        "FC Fil=18 -> 0:", "FA Fil=18;Zid=3;Grp=0;Cpt=2;Apb=0 -> 0:", "FG Fil=5;Pos=9 -> 6:",
        "FC Fil=5;Pos=0 -> 2:", "FC Fil=19 -> 6:", "FA Fil=18;Zid=12;Grp=0 -> 2:",
        "FA Fil=18;Zid=1;Grp=0;Cpt=300 -> 2:", "FA Fil=5;Cda=991340 -> 2:", "FA Fil=5;Usr=12x -> 2:",
        "FA Fil=5 -> 2:", "FA Fil=7;Usr=1 -> 6:", "FG Fil=5;Pos=-1 -> 2:",
        "FG Fil=5;Pos=99999999999999999999 -> 2:", "FG Fil=6;Pos=0 -> 6:",
        // Polling: a switch of cards, the blacklist by UID, user, group; the validity switch.
        "BR -> 3:", "BN Tyc=128 -> 3:", "!present 1 -> ", "!present 2 -> ", "BS -> 0:11100000;UID=5E6F7081",
        "BQ -> 1:", "FC Fil=5 -> 0:", "FA Fil=5;Usr=101;Grp=1 -> 0:", "BS -> 0:01100000",
        "FA Fil=5;Grp=0 -> 0:", "BS -> 0:01001000", "!present 3 -> ", "BS -> 0:10000000",
        "BS -> 0:11003000;UID=92A3B4C5", "VP 10.2=0 -> 0:", "BS -> 0:01100000", "VP 10.2=1 -> 0:",
        // Raw block commands on the blank card: keys, value blocks, a trailer, malformed requests.
        "!present 1 -> ", "RR 3;1" + Ffs + " -> 5:", "RW 0;0" + Ffs + ";0x01 -> 5:",
        "RW 24;0" + Ffs + ";" + value + " -> 0:" + value, "RD 24;0" + Ffs + ";1;10 -> 2:",
        "RI 25;0" + Ffs + ";1;1 -> 7:", "RI 24;0" + Ffs + ";1;2147483647 -> 7:",
        "RW 27;0" + Ffs + ";" + key + " 0x7F 0x07 0x88 0x69 " + key +
            " -> 0:0x00 0x00 0x00 0x00 0x00 0x00 0x7F 0x07 0x88 0x69" + QString(" 0x00").repeated(6),
        "RR 24;0" + Ffs + " -> 4:", "RR 8 -> 2:", "RR 8;0;FFFF -> 2:", "RW 8;0" + Ffs + ";hello -> 2:",
        "RW 11;0" + Ffs + ";0x01 -> 2:", "RI 8;0" + Ffs + ";1;-5 -> 2:", "RX 8;0" + Ffs + " -> 1:",
        // The security structure stops at the first sector with foreign keys, which it names. Badges:
        // damaged until created, record limits, credit above the maximum. Requests unknown or too long.
        "BF -> 4:6", "BN Tyc=128 -> 4:6", "!present 5 -> ", "BR -> 7:UID=D6E7F809",
        "BW Tyc=128;Usr=9 -> 0:UID=D6E7F809;Tyc=128;Usr=9",
        "BN Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250;UID=FFFFFFFF -> 0:" + created,
        "BW Tyc=16;Usr=16 -> 0:UID=D6E7F809;Tyc=16;Usr=16", "BW " + QString(400, 'x') + " -> 8:", "BW  -> 2:",
        "BW Tyc=16;Cn2=500001 -> 0:UID=D6E7F809;Tyc=16;Cn2=500001", "BS -> 0:10000000",
        "BS -> 0:11002000;UID=D6E7F809", "ZZ -> 1:", "FA Fil=5;Usr=" + QString(1500, '1') + " -> 2:",
        // The console.
        "!remove -> ", "!remove -> ERR aucun support", "!present 9 -> ERR carte inconnue (1 à 8)"};
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyKorvel"), deck = dir.filePath("cartes.json");
    const QStringList args{"--state", dir.filePath("lecteur.json"), "--link", link};
    {
        Emulator emu;
        QVERIFY(emu.start(args));
        emu.play(script);
    }
    // Saved atomically (no temporary file left), the link gone; a deck file for the second run.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System), QStringList{"lecteur.json"});
    QVERIFY(FileWrite(deck, R"({"cards":[{"name":"Vierge","uid":"CAFEBABE"},{"name":"Abonné","uid":"0BADF00D",
        "record":"Tyc=16;Usr=9;Vda=991231"},{"name":"C","uid":"01020305","record":"Tyc=128","damaged":true},
        {"name":"E","uid":"01020307","record":"Tyc=128","status":4}]})"));
    Emulator emu;
    QVERIFY(emu.start(args + QStringList{"--cards", deck, "--gui"}));
    emu.play(
        {"!cards -> 1 Vierge UID=CAFEBABE code=07|2 Abonné UID=0BADF00D code=00|3 C UID=01020305 code=05|"
         "4 E UID=01020307 code=04",
         "VG 3.0.1 -> 0:Piscine", "VG 3.0.2 -> 0:1001", "FG Fil=18;Pos=0 -> 0:Zid=3;Grp=0;Cpt=2;Apb=0",
         "!present 2 -> ", "BR -> 0:UID=0BADF00D;Tyc=16;Usr=9;Vda=991231"});
    // A signal ends it cleanly, window and all: the link goes.
    ::kill(pid_t(emu.launcher.ProcessId()), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(link).isSymLink(), WaitMs);
}

// Three requests (3.0.3, 3.0.1, 3.0.4) after noise and a frame cut by a new STX, the first one in
// two pieces: the exact bytes that come back under each fault option (--drop and its line's
// recovery are the end-to-end suite's), and on the paced line. Then options refused at start.
void TstEmulator::options()
{
    const QByteArray name = wire("<V0KorvelReader>012"), place = wire("<V0A DEFINIR>012"),
                     type = wire("<V03>012"), noise("\xFF\x00~", 3);
    const std::pair<QString, QByteArray> rows[] = {{"--cut 2", name + place.chopped(3) + type},
                                                   {"--noise", noise + name + noise + place + noise + type},
                                                   {"--garble 3", name + place + type},
                                                   {"--pace --latency-ms 2", name + place + type}};
    for (const auto& [args, expected] : rows) {
        Emulator emu;
        QVERIFY(emu.start(args.split(' ')));
        emu.port.write(QByteArray("\xFF~", 2) + wire("<VGabc<VG3"));
        QVERIFY(emu.port.waitForBytesWritten(WaitMs));
        emu.port.write(wire(".0.3>012<VG3.0.1>012<VG3.0.4>012"));
        while (emu.in.size() < expected.size() && emu.port.waitForReadyRead(WaitMs))
            emu.in += emu.port.readAll();
        // --garble touches exactly one byte of the third answer's header or payload; nothing else differs.
        int changed = 0;
        for (int i = 0; i < qMax(emu.in.size(), expected.size()); ++i)
            changed += (emu.in.mid(i, 1) != expected.mid(i, 1)) *
                       (i > expected.size() - 8 && i < expected.size() - 4 ? 1 : 100);
        QCOMPARE(changed, args.contains("--garble") ? 1 : 0);
    }

    // A state file that is not JSON stops the start instead of being overwritten.
    QTemporaryDir dir;
    const QString state = dir.filePath("lecteur.json");
    QVERIFY(FileWrite(state, "{ broken"));
    for (const char* row :
         {"--help 0", "--drop x 1", "--port /nonexistent/ttyS99 1", "--cards %1 1", "--state %1 1"}) {
        const QStringList f = QString(row).replace("%1", state).split(' ');
        QProcess process;
        process.start(KORVEL_EMULATOR_PATH, f.mid(0, f.size() - 1));
        QCOMPARE(process.waitForFinished(WaitMs) ? process.exitCode() : -1, f.last().toInt());
    }
    QCOMPARE(FileBytes(state), QByteArray("{ broken"));
}

QTEST_GUILESS_MAIN(TstEmulator)
#include "tst_emulator.moc"
