#include <QSerialPort>
#include <QtTest>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int WaitMs = 5000;

struct Frame
{
    char letter = 0;
    char status = 0;
    QByteArray payload;
    bool ok = false;
};

QByteArray request(char letter, char sub, const QByteArray& payload)
{
    return QByteArray(1, '\x02') + letter + sub + payload + '\x03' + "012";
}

QByteArray answer(char letter, char status, const QByteArray& payload)
{
    return QByteArray(1, '\x02') + letter + status + payload + '\x03' + "012";
}

// The emulator as a separate process, spoken to like the program does: raw frames on the pty.
class Emulator
{
public:
    ~Emulator() { stop(); }

    bool start(const QStringList& args)
    {
        m_process.start(KORVEL_EMULATOR_PATH, args);
        if (!m_process.waitForStarted(WaitMs))
            return false;
        const QString first = readLine();
        if (!first.startsWith("PORT "))
            return false;
        port = first.mid(5);
        m_fd = ::open(port.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        if (m_fd < 0)
            return false;
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
        return true;
    }

    void stop()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        if (m_process.state() != QProcess::NotRunning) {
            m_process.write("quit\n");
            if (!m_process.waitForFinished(WaitMs)) {
                m_process.kill();
                m_process.waitForFinished(WaitMs);
            }
        }
    }

    QString readLine()
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_process.canReadLine() && timer.elapsed() < WaitMs)
            m_process.waitForReadyRead(100);
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    // A console command; the answer lines up to "OK" or "ERR ...", that one included.
    QStringList control(const QString& line)
    {
        m_process.write((line + "\n").toUtf8());
        QStringList lines;
        for (int i = 0; i < 500; ++i) {
            const QString l = readLine();
            lines << l;
            if (l.isEmpty() || l == "OK" || l.startsWith("ERR"))
                break;
        }
        return lines;
    }

    void send(const QByteArray& bytes)
    {
        QCOMPARE(::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())), ssize_t(bytes.size()));
    }

    // Exactly n bytes, or fewer when the line stays silent for the whole wait.
    QByteArray readBytes(int n)
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < n && timer.elapsed() < WaitMs) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                char c;
                if (::read(m_fd, &c, 1) == 1)
                    out.append(c);
            }
        }
        return out;
    }

    // The next frame: bytes before STX are skipped, "D" frames are collected in debug.
    Frame readFrame()
    {
        for (;;) {
            Frame f;
            QByteArray b = readBytes(1);
            while (!b.isEmpty() && b[0] != '\x02')
                b = readBytes(1);
            if (b.isEmpty())
                return f;
            const QByteArray head = readBytes(2);
            if (head.size() < 2)
                return f;
            f.letter = head[0];
            f.status = head[1];
            for (QByteArray c = readBytes(1); !c.isEmpty() && c[0] != '\x03'; c = readBytes(1))
                f.payload.append(c);
            f.ok = readBytes(3).size() == 3;
            if (f.letter != 'D' || !f.ok)
                return f;
            debug << QString::fromUtf8(f.payload);
        }
    }

    Frame ask(char letter, char sub, const QByteArray& payload = QByteArray())
    {
        send(request(letter, sub, payload));
        return readFrame();
    }

    QString ask(const char* command, const QByteArray& payload = QByteArray())
    {
        const Frame f = ask(command[0], command[1], payload);
        if (!f.ok || f.letter != command[0])
            return "NO ANSWER";
        return QString(QChar(f.status)) + ":" + QString::fromUtf8(f.payload);
    }

    bool running() const { return m_process.state() == QProcess::Running; }
    QProcess& process() { return m_process; }

    QString port;
    QStringList debug;

private:
    QProcess m_process;
    int m_fd = -1;
};
} // namespace

class TstEmulatorProcess : public QObject
{
    Q_OBJECT
private slots:
    void commandFamilies();
    void cardEvents();
    void badInput();
    void stateAcrossRuns();
    void deckAndLink();
    void faults_data();
    void faults();
    void pacedLine();
    void serialPortClient();
    void existingDevice();
    void commandLine();
};

void TstEmulatorProcess::commandFamilies()
{
    Emulator emu;
    QVERIFY(emu.start({}));
    QVERIFY(emu.port.startsWith("/dev/"));
    QCOMPARE(emu.ask("BS"), QString("0:00000000"));
    QCOMPARE(emu.ask("VG", "3.0.3"), QString("0:KorvelReader"));
    QCOMPARE(emu.ask("VP", "3.0.1=Patinoire"), QString("0:"));
    QCOMPARE(emu.ask("VP", "3.255.1="), QString("0:"));
    QCOMPARE(emu.debug.takeLast(), QString("Objet 3 sauvegardé (1)"));
    QCOMPARE(emu.ask("VP", "12.255.7.0=300"), QString("0:"));
    QCOMPARE(emu.debug.takeLast(), QString("Sortie 0 impulsion 300 ms"));

    QCOMPARE(emu.ask("FC", "Fil=5"), QString("0:"));
    QCOMPARE(emu.debug.takeLast(), QString("Fichier 5 effacé"));
    QCOMPARE(emu.ask("FA", "Fil=5;Cda=261204;UID=04A1B2C3;Usr=125;Grp=3"), QString("0:"));
    QCOMPARE(emu.ask("FG", "Fil=5;Pos=0"), QString("0:Cda=261204;UID=04A1B2C3;Usr=125;Grp=3"));

    QCOMPARE(emu.ask("RR", "4;0;0x5A 0x17 0xC3 0x88 0x2E 0x91"), QString("3:"));
    QCOMPARE(emu.control("present 1"), QStringList{"OK"});
    QCOMPARE(emu.ask("BF"), QString("0:"));
    QCOMPARE(emu.ask("BW", "Tyc=128;Usr=16"), QString("0:UID=1A2B3C4D;Tyc=128;Usr=16"));
    // The record is really in the card: block 5 holds its first bytes.
    QCOMPARE(emu.ask("RR", "5;0;0x5A 0x17 0xC3 0x88 0x2E 0x91"),
             QString("0:0x54 0x79 0x63 0x3D 0x31 0x32 0x38 0x3B 0x55 0x73 0x72 0x3D 0x31 0x36 0x00 0x00"));
    QCOMPARE(emu.ask("RW", "5;0;0xFF 0xFF 0xFF 0xFF 0xFF 0xFF;0x01"), QString("4:"));

    const QStringList params = emu.control("params");
    QVERIFY(params.contains("3.0.1=Patinoire"));
    QCOMPARE(params.size(), 139);
    const QStringList files = emu.control("files");
    QVERIFY(files.contains("fichier 5: 1 enregistrement(s)"));
    QCOMPARE(emu.control("bogus").size(), 1);
    QVERIFY(emu.control("bogus").first().startsWith("ERR"));
}

void TstEmulatorProcess::cardEvents()
{
    Emulator emu;
    QVERIFY(emu.start({}));
    const QStringList cards = emu.control("cards");
    QCOMPARE(cards.size(), 6);
    QVERIFY(cards[1].startsWith("2 Badge accès valide UID=5E6F7081"));

    QCOMPARE(emu.control("present 2"), QStringList{"OK"});
    QCOMPARE(emu.ask("BS"), QString("0:11100000;UID=5E6F7081"));
    QCOMPARE(emu.debug, QStringList{"Support inséré UID=5E6F7081"});
    QCOMPARE(emu.ask("BS"), QString("0:01100000"));
    QCOMPARE(emu.control("status").mid(0, 2),
             (QStringList{"support: 2 Badge accès valide", "polling: 01100000"}));
    QCOMPARE(emu.ask("BR").left(23), QString("0:UID=5E6F7081;Tyc=128;"));

    // Another card: the removal is reported first, then the insertion with its status.
    QCOMPARE(emu.control("present 4"), QStringList{"OK"});
    QCOMPARE(emu.ask("BS"), QString("0:10000000"));
    QCOMPARE(emu.ask("BS"), QString("0:11001000;UID=04A1B2C3"));
    QCOMPARE(emu.control("remove"), QStringList{"OK"});
    QCOMPARE(emu.ask("BS"), QString("0:10000000"));
    QCOMPARE(emu.ask("BS"), QString("0:00000000"));
    QVERIFY(emu.control("remove").first().startsWith("ERR"));
    QVERIFY(emu.control("present 6").first().startsWith("ERR"));
    QVERIFY(emu.control("present x").first().startsWith("ERR"));
    QCOMPARE(emu.ask("BR"), QString("3:"));
}

void TstEmulatorProcess::badInput()
{
    Emulator emu;
    QVERIFY(emu.start({}));
    // Stray bytes, a frame cut by a new STX, an unknown letter, an over-long payload.
    emu.send(QByteArray("\xFF\x00garbage", 9));
    emu.send("\x02VG3.0");
    QCOMPARE(emu.ask("VG", "3.0.3"), QString("0:KorvelReader"));
    QCOMPARE(emu.ask("ZZ"), QString("1:"));
    QCOMPARE(emu.ask("FA", "Fil=5;Usr=" + QByteArray(1500, '1')), QString("2:"));
    QCOMPARE(emu.ask("FG", "Fil=5;Pos=99999999999999999999"), QString("2:"));
    QCOMPARE(emu.ask("FA", QByteArray("Fil=5;Usr=\x01", 11)), QString("2:"));
    // A frame written in pieces is answered once whole.
    emu.send("\x02"
             "VG3.");
    emu.send("0.3\x03"
             "0");
    emu.send("12");
    const Frame f = emu.readFrame();
    QVERIFY(f.ok);
    QCOMPARE(f.payload, QByteArray("KorvelReader"));
    QCOMPARE(emu.ask("FG", "Fil=5;Pos=0"), QString("0:Cda=261204;UID=04A1B2C3;Usr=125;Grp=3"));
    QVERIFY(emu.running());
}

void TstEmulatorProcess::stateAcrossRuns()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("lecteur.json");
    const QByteArray ffs = "0xFF 0xFF 0xFF 0xFF 0xFF 0xFF";
    {
        Emulator emu;
        QVERIFY(emu.start({"--state", state}));
        QCOMPARE(emu.ask("VP", "3.0.1=Stade"), QString("0:"));
        QCOMPARE(emu.ask("VP", "3.255.1="), QString("0:"));
        QCOMPARE(emu.ask("VP", "3.0.2=55"), QString("0:")); // never committed
        QCOMPARE(emu.ask("FC", "Fil=18"), QString("0:"));
        QCOMPARE(emu.ask("FA", "Fil=18;Zid=3;Grp=0;Cpt=2;Apb=0"), QString("0:"));
        QCOMPARE(emu.control("present 1"), QStringList{"OK"});
        QCOMPARE(emu.ask("RW", "6;0;" + ffs + ";0x12 0x34").left(11), QString("0:0x12 0x34"));
        QCOMPARE(emu.control("quit"), QStringList{"OK"});
        QVERIFY(emu.process().waitForFinished(WaitMs));
        QCOMPARE(emu.process().exitCode(), 0);
    }
    QFile file(state);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QJsonDocument::fromJson(file.readAll()).isObject());
    file.close();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"lecteur.json"});
    {
        Emulator emu;
        QVERIFY(emu.start({"--state", state}));
        QCOMPARE(emu.ask("VG", "3.0.1"), QString("0:Stade"));
        QCOMPARE(emu.ask("VG", "3.0.2"), QString("0:1001"));
        QCOMPARE(emu.ask("FG", "Fil=18;Pos=0"), QString("0:Zid=3;Grp=0;Cpt=2;Apb=0"));
        QCOMPARE(emu.ask("FG", "Fil=18;Pos=1"), QString("6:"));
        QCOMPARE(emu.control("present 1"), QStringList{"OK"});
        QCOMPARE(emu.ask("RR", "6;0;" + ffs).left(11), QString("0:0x12 0x34"));
    }
    // A state file that is not JSON stops the start instead of being overwritten.
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
    const QString deck = dir.filePath("cartes.json");
    QFile file(deck);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"([{"name":"Vierge","uid":"CAFEBABE"},
                   {"name":"Abonné","uid":"0BADF00D","record":"Tyc=16;Usr=9;Vda=991231"}])");
    file.close();
    const QString link = dir.filePath("ttyKorvel");
    Emulator emu;
    QVERIFY(emu.start({"--cards", deck, "--link", link}));
    QVERIFY(QFileInfo(link).isSymLink());
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
    const QByteArray name = answer('V', '0', "KorvelReader");
    const QByteArray type = answer('V', '0', "3");
    // Three requests: 3.0.3, 3.0.1, 3.0.4; the exact bytes that come back.
    QTest::newRow("drop 2") << QStringList{"--drop", "2"} << name + type;
    QTest::newRow("cut 2") << QStringList{"--cut", "2"}
                           << name + answer('V', '0', "A DEFINIR").chopped(3) + type;
    QTest::newRow("noise") << QStringList{"--noise"}
                           << QByteArray("\xFF\x00~", 3) + name + QByteArray("\xFF\x00~", 3) +
                                  answer('V', '0', "A DEFINIR") + QByteArray("\xFF\x00~", 3) + type;
    QTest::newRow("garble 3") << QStringList{"--garble", "3"} << name + answer('V', '0', "A DEFINIR") + type;
}

void TstEmulatorProcess::faults()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, expected);
    Emulator emu;
    QVERIFY(emu.start(args));
    for (const char* id : {"3.0.3", "3.0.1", "3.0.4"})
        emu.send(request('V', 'G', id));
    const QByteArray got = emu.readBytes(expected.size());
    QCOMPARE(got.size(), expected.size());
    if (!args.contains("--garble")) {
        QCOMPARE(got, expected);
        return;
    }
    // Only the third answer is touched, in exactly one byte of its header or payload.
    const int third = expected.size() - answer('V', '0', "3").size();
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
    QCOMPARE(emu.ask("VG", "3.0.3"), QString("0:KorvelReader"));
    QCOMPARE(emu.ask("BS"), QString("0:00000000"));

    // A request in two pieces, then two more right behind it: every frame, the debug
    // one included, comes out whole and in order on the paced line.
    const QByteArray get = request('V', 'G', "3.0.3");
    emu.send(get.left(4));
    emu.send(get.mid(4) + request('V', 'P', "3.255.1=") + request('B', 'S', ""));
    const QByteArray expected = answer('V', '0', "KorvelReader") +
                                answer('D', '0', "Objet 3 sauvegardé (0)") + answer('V', '0', "") +
                                answer('B', '0', "00000000");
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
    QByteArray got;
    const QByteArray expected =
        answer('D', '0', "Support inséré UID=92A3B4C5") + answer('B', '0', "11003000;UID=92A3B4C5");
    port.write(request('B', 'S', ""));
    QVERIFY(port.waitForBytesWritten(WaitMs));
    while (got.size() < expected.size() && port.waitForReadyRead(WaitMs))
        got += port.readAll();
    QCOMPARE(got, expected);

    // Killed by a signal, it ends cleanly.
    ::kill(static_cast<pid_t>(emu.process().processId()), SIGTERM);
    QVERIFY(emu.process().waitForFinished(WaitMs));
    QCOMPARE(emu.process().exitStatus(), QProcess::NormalExit);
}

void TstEmulatorProcess::existingDevice()
{
    // --port: the emulator opens a device it is given; here the slave of our own pty.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const QString slave = QString::fromLocal8Bit(::ptsname(master));
    QProcess process;
    process.start(KORVEL_EMULATOR_PATH, {"--port", slave});
    QVERIFY(process.waitForReadyRead(WaitMs));
    QCOMPARE(process.readLine().trimmed(), ("PORT " + slave).toLocal8Bit());
    const QByteArray req = request('V', 'G', "3.0.3");
    QCOMPARE(::write(master, req.constData(), static_cast<size_t>(req.size())), ssize_t(req.size()));
    const QByteArray expected = answer('V', '0', "KorvelReader");
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < expected.size() && timer.elapsed() < WaitMs) {
        pollfd p{master, POLLIN, 0};
        char buffer[64];
        if (::poll(&p, 1, 100) > 0) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<int>(n));
        }
    }
    QCOMPARE(got, expected);
    process.write("quit\n");
    QVERIFY(process.waitForFinished(WaitMs));
    ::close(master);
}

void TstEmulatorProcess::commandLine()
{
    QProcess help;
    help.start(KORVEL_EMULATOR_PATH, {"--help"});
    QVERIFY(help.waitForFinished(WaitMs));
    QCOMPARE(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    for (const char* option : {"--port", "--link", "--pace", "--latency-ms", "--cards", "--state", "--drop",
                               "--garble", "--cut", "--noise", "--gui"})
        QVERIFY2(text.contains(option), option);

    QProcess bad;
    bad.start(KORVEL_EMULATOR_PATH, {"--drop", "x"});
    QVERIFY(bad.waitForFinished(WaitMs));
    QCOMPARE(bad.exitCode(), 1);
    bad.start(KORVEL_EMULATOR_PATH, {"--port", "/nonexistent/ttyS99"});
    QVERIFY(bad.waitForFinished(WaitMs));
    QCOMPARE(bad.exitCode(), 1);
}

QTEST_GUILESS_MAIN(TstEmulatorProcess)
#include "tst_emulatorprocess.moc"
