#include "fakereader.h"
#include "ptypair.h"

#include <QSerialPort>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int WaitMs = 5000;

// Requests and answers have the same shape: STX, two header bytes, payload, ETX, "012".
QByteArray frame(char first, char second, const QByteArray& payload = QByteArray())
{
    return FakeReader::frame(first, second, payload);
}

// The emulator as a separate process, spoken to like the program does: raw frames on the pty.
class Emulator
{
public:
    ~Emulator() { stop(); }

    bool start(const QStringList& args)
    {
        process.start(KORVEL_EMULATOR_PATH, args);
        const QString first = readLine();
        port = first.mid(5);
        m_fd = first.startsWith("PORT ") ? ::open(qPrintable(port), O_RDWR | O_NOCTTY) : -1;
        termios tio{};
        if (m_fd < 0 || ::tcgetattr(m_fd, &tio) != 0)
            return false;
        ::cfmakeraw(&tio);
        return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
    }

    void stop()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        if (process.state() != QProcess::NotRunning) {
            process.write("quit\n");
            if (!process.waitForFinished(WaitMs))
                process.kill();
            process.waitForFinished(WaitMs);
        }
    }

    QString readLine()
    {
        QElapsedTimer timer;
        timer.start();
        while (!process.canReadLine() && timer.elapsed() < WaitMs)
            process.waitForReadyRead(100);
        return QString::fromUtf8(process.readLine()).trimmed();
    }

    // A console command; the answer lines up to "OK" or "ERR ...", that one included.
    QStringList control(const QString& line)
    {
        process.write((line + "\n").toUtf8());
        QStringList lines{readLine()};
        while (!lines.last().isEmpty() && lines.last() != "OK" && !lines.last().startsWith("ERR"))
            lines << readLine();
        return lines;
    }

    void send(const QByteArray& bytes)
    {
        QCOMPARE(::write(m_fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }

    // n bytes, or fewer when the line stays silent for a whole wait.
    QByteArray readBytes(int n)
    {
        while (m_in.size() < n && fill()) {
        }
        return take(n);
    }

    // The next frame, "D" frames collected in debug; empty when none came.
    QByteArray readFrame()
    {
        for (;;) {
            int skipped = 0, length = 0;
            while ((length = ptyFrameLength(m_in, &skipped)) == 0 && fill()) {
            }
            take(skipped);
            const QByteArray f = take(length);
            if (f.isEmpty() || f[1] != 'D')
                return f;
            debug << QString::fromUtf8(f.mid(3, f.size() - 7));
        }
    }

    // One request; the answer as "status:payload".
    QString ask(const char* command, const QByteArray& payload = QByteArray())
    {
        send(frame(command[0], command[1], payload));
        const QByteArray f = readFrame();
        if (f.isEmpty() || f[1] != command[0])
            return "no answer";
        return QString(QChar(f[2])) + ":" + QString::fromUtf8(f.mid(3, f.size() - 7));
    }

    QProcess process;
    QString port;
    QStringList debug;

private:
    bool fill()
    {
        pollfd p{m_fd, POLLIN, 0};
        char buf[512];
        const ssize_t n = ::poll(&p, 1, WaitMs) > 0 ? ::read(m_fd, buf, sizeof buf) : -1;
        if (n > 0)
            m_in.append(buf, int(n));
        return n > 0;
    }

    QByteArray take(int n)
    {
        const QByteArray out = m_in.left(n);
        m_in.remove(0, n);
        return out;
    }

    int m_fd = -1;
    QByteArray m_in;
};
} // namespace

// What only the running program shows: the line, the console, the files, the options. The reader's
// rules are the reader model's test.
class TstEmulatorProcess : public QObject
{
    Q_OBJECT
private slots:
    void lineAndConsole();
    void stateAcrossRuns();
    void deckAndLink();
    void faults_data();
    void faults();
    void pacedLine();
    void serialPortClient();
    void existingDevice();
    void commandLine();
};

void TstEmulatorProcess::lineAndConsole()
{
    Emulator emu;
    QVERIFY(emu.start({}));
    QVERIFY(emu.port.startsWith("/dev/"));
    // Every family once, and the debug frames of a commit and of an insertion.
    QCOMPARE(emu.ask("BS"), QString("0:00000000"));
    QCOMPARE(emu.ask("VG", "3.0.3"), QString("0:KorvelReader"));
    QCOMPARE(emu.ask("VP", "3.0.1=Patinoire"), QString("0:"));
    QCOMPARE(emu.ask("VP", "3.255.1="), QString("0:"));
    QCOMPARE(emu.debug.takeLast(), QString("Objet 3 sauvegardé (1)"));
    QCOMPARE(emu.ask("FA", "Fil=5;Usr=7"), QString("0:"));
    QCOMPARE(emu.ask("FG", "Fil=5;Pos=1"), QString("0:Usr=7"));
    QCOMPARE(emu.control("present 2"), QStringList{"OK"});
    QCOMPARE(emu.ask("BS"), QString("0:11100000;UID=5E6F7081"));
    QCOMPARE(emu.debug, QStringList{"Support inséré UID=5E6F7081"});
    QCOMPARE(emu.control("status").mid(0, 2),
             (QStringList{"support: 2 Badge accès valide", "polling: 01100000"}));
    QCOMPARE(emu.ask("BR").left(23), QString("0:UID=5E6F7081;Tyc=128;"));
    // The record is really in the card: block 5 holds its first bytes.
    QCOMPARE(emu.ask("RR", "5;0;0x5A 0x17 0xC3 0x88 0x2E 0x91"),
             QString("0:0x54 0x79 0x63 0x3D 0x31 0x32 0x38 0x3B 0x55 0x73 0x72 0x3D 0x31 0x30 0x31 0x3B"));

    QCOMPARE(emu.control("remove"), QStringList{"OK"});
    QCOMPARE(emu.control("status").first(), QString("support: aucun"));
    QVERIFY(emu.control("params").contains("3.0.1=Patinoire"));
    QVERIFY(emu.control("files").contains("fichier 5: 2 enregistrement(s)"));
    for (const char* bad : {"remove", "present 9", "present x", "bogus"}) {
        const QStringList answer = emu.control(bad);
        QVERIFY2(answer.size() == 1 && answer.first().startsWith("ERR"), bad);
    }

    // Stray bytes, a frame cut by a new STX, an unknown letter, an over-long payload, a frame in pieces.
    emu.send(QByteArray("\xFF\x00garbage", 9) + wire("<VG3.0"));
    QCOMPARE(emu.ask("VG", "3.0.3"), QString("0:KorvelReader"));
    QCOMPARE(emu.ask("ZZ"), QString("1:"));
    QCOMPARE(emu.ask("FA", "Fil=5;Usr=" + QByteArray(1500, '1')), QString("2:"));
    for (const char* piece : {"<VG3.", "0.3>0", "12"})
        emu.send(wire(piece));
    QCOMPARE(emu.readFrame(), wire("<V0KorvelReader>012"));
    QCOMPARE(emu.process.state(), QProcess::Running);
}

void TstEmulatorProcess::stateAcrossRuns()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("lecteur.json");
    const QByteArray ffs = ";0xFF 0xFF 0xFF 0xFF 0xFF 0xFF";
    {
        Emulator emu;
        QVERIFY(emu.start({"--state", state}));
        QCOMPARE(emu.ask("VP", "3.0.1=Stade"), QString("0:"));
        QCOMPARE(emu.ask("VP", "3.255.1="), QString("0:"));
        QCOMPARE(emu.ask("VP", "3.0.2=55"), QString("0:")); // never committed
        QCOMPARE(emu.ask("FC", "Fil=18"), QString("0:"));
        QCOMPARE(emu.ask("FA", "Fil=18;Zid=3;Grp=0;Cpt=2;Apb=0"), QString("0:"));
        QCOMPARE(emu.control("present 1"), QStringList{"OK"});
        QCOMPARE(emu.ask("RW", "6;0" + ffs + ";0x12 0x34").left(11), QString("0:0x12 0x34"));
        QCOMPARE(emu.control("quit"), QStringList{"OK"});
        QVERIFY(emu.process.waitForFinished(WaitMs));
        QCOMPARE(emu.process.exitCode(), 0);
    }
    // Written atomically: no temporary file left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"lecteur.json"});
    {
        Emulator emu;
        QVERIFY(emu.start({"--state", state}));
        QCOMPARE(emu.ask("VG", "3.0.1"), QString("0:Stade"));
        QCOMPARE(emu.ask("VG", "3.0.2"), QString("0:1001"));
        QCOMPARE(emu.ask("FG", "Fil=18;Pos=0"), QString("0:Zid=3;Grp=0;Cpt=2;Apb=0"));
        QCOMPARE(emu.ask("FG", "Fil=18;Pos=1"), QString("6:"));
        QCOMPARE(emu.control("present 1"), QStringList{"OK"});
        QCOMPARE(emu.ask("RR", "6;0" + ffs).left(11), QString("0:0x12 0x34"));
    }
    // A state file that is not JSON stops the start instead of being overwritten.
    QFile file(state);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{ broken");
    file.close();
    QProcess bad;
    bad.start(KORVEL_EMULATOR_PATH, {"--state", state});
    QVERIFY(bad.waitForFinished(WaitMs));
    QCOMPARE(bad.exitCode(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("{ broken"));
}

void TstEmulatorProcess::deckAndLink()
{
    QTemporaryDir dir;
    const QString deck = dir.filePath("cartes.json"), link = dir.filePath("ttyKorvel");
    QFile file(deck);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"([{"name":"Vierge","uid":"CAFEBABE"},
                   {"name":"Abonné","uid":"0BADF00D","record":"Tyc=16;Usr=9;Vda=991231"}])");
    file.close();
    Emulator emu;
    QVERIFY(emu.start({"--cards", deck, "--link", link}));
    QCOMPARE(QFileInfo(link).symLinkTarget(), emu.port);
    const QStringList cards = emu.control("cards");
    QCOMPARE(cards.size(), 3);
    QVERIFY(cards[1].startsWith("2 Abonné UID=0BADF00D code=00"));
    QCOMPARE(emu.control("present 2"), QStringList{"OK"});
    QCOMPARE(emu.ask("BS"), QString("0:11100000;UID=0BADF00D"));
    QCOMPARE(emu.ask("BR"), QString("0:UID=0BADF00D;Tyc=16;Usr=9;Vda=991231"));
    emu.stop();
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
}

void TstEmulatorProcess::faults_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("expected");
    // Three requests: 3.0.3, 3.0.1, 3.0.4; the exact bytes that come back.
    const QByteArray name = frame('V', '0', "KorvelReader"), place = frame('V', '0', "A DEFINIR"),
                     type = frame('V', '0', "3"), noise("\xFF\x00~", 3);
    QTest::newRow("drop 2") << QStringList{"--drop", "2"} << name + type;
    QTest::newRow("cut 2") << QStringList{"--cut", "2"} << name + place.chopped(3) + type;
    QTest::newRow("noise") << QStringList{"--noise"} << noise + name + noise + place + noise + type;
    QTest::newRow("garble 3") << QStringList{"--garble", "3"} << name + place + type;
}

void TstEmulatorProcess::faults()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, expected);
    Emulator emu;
    QVERIFY(emu.start(args));
    for (const char* id : {"3.0.3", "3.0.1", "3.0.4"})
        emu.send(frame('V', 'G', id));
    const QByteArray got = emu.readBytes(expected.size());
    QCOMPARE(got.size(), expected.size());
    if (!args.contains("--garble")) {
        QCOMPARE(got, expected);
        return;
    }
    // Only the third answer is touched, in exactly one byte of its header or payload.
    const int third = expected.size() - frame('V', '0', "3").size();
    QCOMPARE(got.left(third), expected.left(third));
    int changed = 0;
    for (int i = third; i < got.size(); ++i) {
        if (got[i] != expected[i]) {
            ++changed;
            QVERIFY(i > third && i < got.size() - 4);
        }
    }
    QCOMPARE(changed, 1);
}

void TstEmulatorProcess::pacedLine()
{
    Emulator emu;
    QVERIFY(emu.start({"--pace", "--latency-ms", "2"}));
    // A request in two pieces, then two more right behind it: every frame, the debug
    // one included, comes out whole and in order on the paced line.
    const QByteArray get = frame('V', 'G', "3.0.3");
    emu.send(get.left(4));
    emu.send(get.mid(4) + frame('V', 'P', "3.255.1=") + frame('B', 'S'));
    const QByteArray expected = frame('V', '0', "KorvelReader") + frame('D', '0', "Objet 3 sauvegardé (0)") +
                                frame('V', '0') + frame('B', '0', "00000000");
    QCOMPARE(emu.readBytes(expected.size()), expected);
}

void TstEmulatorProcess::serialPortClient()
{
    // The program opens the line with QSerialPort, exactly like this.
    Emulator emu;
    QVERIFY(emu.start({"--gui"}));
    QSerialPort port;
    port.setPortName(emu.port);
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    QVERIFY(port.setBaudRate(QSerialPort::Baud9600));
    QCOMPARE(emu.control("present 3"), QStringList{"OK"});
    const QByteArray expected =
        frame('D', '0', "Support inséré UID=92A3B4C5") + frame('B', '0', "11003000;UID=92A3B4C5");
    port.write(frame('B', 'S'));
    QVERIFY(port.waitForBytesWritten(WaitMs));
    QByteArray got;
    while (got.size() < expected.size() && port.waitForReadyRead(WaitMs))
        got += port.readAll();
    QCOMPARE(got, expected);

    // Killed by a signal, it ends cleanly.
    ::kill(static_cast<pid_t>(emu.process.processId()), SIGTERM);
    QVERIFY(emu.process.waitForFinished(WaitMs));
    QCOMPARE(emu.process.exitStatus(), QProcess::NormalExit);
}

void TstEmulatorProcess::existingDevice()
{
    // --port: the emulator opens a device it is given; here the slave of our own pty.
    PtyPair pty;
    QProcess process;
    process.start(KORVEL_EMULATOR_PATH, {"--port", pty.slavePath()});
    QVERIFY(process.waitForReadyRead(WaitMs));
    QCOMPARE(process.readLine().trimmed(), ("PORT " + pty.slavePath()).toLocal8Bit());
    QVERIFY(pty.write(frame('V', 'G', "3.0.3")));
    QCOMPARE(pty.readFrame(WaitMs), frame('V', '0', "KorvelReader"));
    process.write("quit\n");
    QVERIFY(process.waitForFinished(WaitMs));
}

void TstEmulatorProcess::commandLine()
{
    QProcess help;
    help.start(KORVEL_EMULATOR_PATH, {"--help"});
    QVERIFY(help.waitForFinished(WaitMs));
    QCOMPARE(help.exitCode(), 0);
    // Bad arguments stop the start.
    for (const QStringList& args :
         {QStringList{"--drop", "x"}, QStringList{"--port", "/nonexistent/ttyS99"}}) {
        QProcess bad;
        bad.start(KORVEL_EMULATOR_PATH, args);
        QVERIFY(bad.waitForFinished(WaitMs));
        QCOMPARE(bad.exitCode(), 1);
    }
}

QTEST_GUILESS_MAIN(TstEmulatorProcess)
#include "tst_emulatorprocess.moc"
