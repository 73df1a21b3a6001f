#include <QtTest>

#include <csignal>
#include <thread>

#include "app/commandline.h"
#include "app/emulatorlauncher.h"
#include "app/frametracewriter.h"
#include "app/portlist.h"
#include "filesizelimit.h"
#include "ptypair.h"
#include "testfiles.h"

using Dir = QProtocole::FrameDirection;

// The shell's units with no window: the command line, the port list, the frame trace and the
// emulator launcher.
class TstApp : public QObject
{
    Q_OBJECT

private slots:
    void commandLine()
    {
        // "arguments>emulator|port|trace" of a run, nothing after ">" for an error (--emulator and
        // --port: one of the two ports would go unused).
        for (const QString row : {">0||", "--emulator,--trace,/tmp/t.txt>1||/tmp/t.txt", "--port>",
                                  "--port,COM3,--trace,t.log>0|COM3|t.log", "--trace=>", "--port, >",
                                  "--demo>", "ttyUSB0>", "--emulator,--port,/dev/ttyS0>"}) {
            const CommandLineResult result = ParseCommandLine(
                QStringList{"korvelmanager"} + row.section('>', 0, 0).split(',', Qt::SkipEmptyParts));
            const CommandLineOptions& o = result.options;
            QCOMPARE(result.action == CommandLineResult::Action::Error
                         ? (result.text.startsWith('\n') || !result.text.contains("--emulator") ? "bad" : "")
                         : QStringList({o.emulator ? "1" : "0", o.port, o.tracePath}).join('|'),
                     row.section('>', 1));
        }
        // Help wins, even over a faulty combination, and comes in the language asked.
        const CommandLineResult help =
            ParseCommandLine({"korvelmanager", "--emulator", "--port", "x", "--lang", "en", "-h"});
        QVERIFY(help.action == CommandLineResult::Action::Help && help.options.language == "en");
        const CommandLineResult version = ParseCommandLine({"korvelmanager", "--version"});
        QVERIFY(version.action == CommandLineResult::Action::Version &&
                version.text.contains(QRegularExpression("^korvelmanager \\d+\\.\\d+\\.\\d+\n$")));
    }

    void portChoices()
    {
        const QStringList usb{"ttyS0", "ttyUSB0", "ttyUSB1"};
        const std::tuple<QStringList, const char*, QString> rows[] = {
            {usb, "  ", "ttyS0 ttyUSB0 ttyUSB1"},
            {usb, "/dev/pts/3", "/dev/pts/3 ttyS0 ttyUSB0 ttyUSB1"},
            {usb, "ttyUSB1", "ttyUSB1 ttyS0 ttyUSB0"},
            {usb, "/dev/ttyUSB0", "/dev/ttyUSB0 ttyS0 ttyUSB1"},
            {usb, "/dev/serial/by-id/usb-lecteur", "/dev/serial/by-id/usb-lecteur ttyS0 ttyUSB0 ttyUSB1"}};
        for (const auto& [system, extra, choices] : rows)
            QCOMPARE(SerialPortChoices(system, extra).join(' '), choices);
    }

    void traceLines()
    {
        const std::pair<QByteArray, QString> texts[] = {
            {wire("<D0a\r\nb") + '\0' + wire(">"), "<STX>D0a<CR><LF>b<NUL><ETX>"},
            {"a b\tc\x7f", "a b<HT>c<DEL>"},
            {"H\xc3\xa9l\xe8ne", "H\u00c3\u00a9l\u00e8ne"}, // one Latin-1 byte: the whole frame is Latin-1
            {"H\xc3\xa9", "Hé"},
            {"x\x9by", "x<0x9B>y"}};
        for (const auto& [frame, text] : texts)
            QCOMPARE(FrameTraceWriter::ReadableText(frame), text);
        const QDateTime utc(QDate(2026, 12, 6), QTime(14, 3, 7, 125), Qt::UTC);
        QCOMPARE(FrameTraceWriter::FormatLine(utc, Dir::Sent, wire("<BS>012")),
                 QString("2026-12-06T14:03:07.125Z\tTX\t<STX>BS<ETX>012\t02 42 53 03 30 31 32"));
        const QDateTime paris(QDate(2026, 7, 1), QTime(9, 0, 0, 5), Qt::OffsetFromUTC, 7200);
        QCOMPARE(FrameTraceWriter::FormatLine(paris, Dir::Received, wire("<B")),
                 QString("2026-07-01T09:00:00.005+02:00\tRX\t<STX>B\t02 42"));
    }

    // The link's worker and another thread write at once: every line whole, nothing lost, appended;
    // then a full disk stops the trace with one warning, and the program goes on.
    void traceFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("trace.txt");
        QVERIFY(FileWrite(path, "earlier run\n"));
        auto writer = std::make_shared<FrameTraceWriter>(path);
        QVERIFY(writer->IsOpen());
        const QProtocole::FrameTrace sink = FrameTraceWriter::Sink(writer);
        auto run = [&sink](Dir direction, const QByteArray& frame) {
            for (int i = 0; i < 300; ++i)
                sink(direction, frame);
        };
        std::thread sender(run, Dir::Sent, wire("<VGa=1>012"));
        std::thread receiver(run, Dir::Received, wire("<V0b=22>012"));
        sender.join();
        receiver.join();
        const QStringList lines = QString::fromUtf8(FileBytes(path)).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 601);
        QCOMPARE(
            lines
                .filter(QRegularExpression("^earlier run$|\tTX\t<STX>VGa=1<ETX>012\t02 56 47 61 3D 31 03 30 "
                                           "31 32$|\tRX\t<STX>V0b=22<ETX>012\t02 56 30 62 3D 32 32 03 30 31 "
                                           "32$"))
                .size(),
            601);
        QCOMPARE(lines.filter("\tTX\t").size(), 300);

        // One warning for the file that cannot open, one when the disk fills.
        for (int i = 0; i < 2; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Trace des trames "));
        FrameTraceWriter missing("/nonexistent-korvel/absent/trace.txt");
        QVERIFY(!missing.IsOpen() && missing.ErrorString().contains("/nonexistent-korvel/absent/trace.txt"));
        missing.Write(Dir::Sent, wire("<BS>012"));
        const QString full = dir.filePath("full.txt");
        FrameTraceWriter writing(full);
        {
            FileSizeLimit limit(400);
            QVERIFY(limit.isActive());
            for (int i = 0; i < 50; ++i)
                writing.Write(Dir::Received, wire("<B0Tyc=128;Usr=5;Vda=991231>012"));
        }
        const qint64 size = QFileInfo(full).size();
        writing.Write(Dir::Sent, wire("<BS>012"));
        QVERIFY(!writing.IsOpen() && writing.ErrorString().contains("full.txt"));
        QVERIFY(size <= 400 && QFileInfo(full).size() == size);
    }

    void emulatorLauncher()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        // Installed beside the program, or in the build tree; a file that cannot run is none.
        const std::tuple<const char*, const char*, bool> places[] = {
            {"bin", "bin/korvel-reader-emulator", true},
            {"build/src", "build/emulator/korvel-reader-emulator", true},
            {"lone/src", "lone/emulator/korvel-reader-emulator", false}};
        for (const auto& [from, file, runs] : places) {
            QVERIFY(dir.mkpath(from) && dir.mkpath(QFileInfo(file).path()) &&
                    FileWrite(dir.filePath(file), "#!/bin/sh\n"));
            QFile(dir.filePath(file))
                .setPermissions(QFileDevice::ReadOwner |
                                (runs ? QFileDevice::ExeOwner : QFileDevice::ReadOwner));
            QCOMPARE(EmulatorLauncher::FindEmulator(dir.filePath(from)),
                     runs ? dir.filePath(file) : QString());
        }

        const QString state = dir.filePath("emulator-state.json");
        qint64 pid = 0;
        {
            EmulatorLauncher launcher;
            QString error;
            QVERIFY2(launcher.Start(KORVEL_EMULATOR_PATH, {"--state", state}, &error), qPrintable(error));
            pid = launcher.ProcessId();
        }
        // Ended with the launcher, through "quit": the emulator saved its state on the way out.
        QVERIFY(::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH);
        QVERIFY(QFileInfo(state).size() > 0);

        // What reaches the operator when it cannot start.
        const std::tuple<QString, QStringList, const char*, const char*> failures[] = {
            {"/nonexistent-korvel/emu", {}, "", "/nonexistent-korvel/emu"},
            {KORVEL_EMULATOR_PATH,
             {"--cards", "/nonexistent-korvel/deck.json"},
             "Le simulateur de lecteur s'est arrêté au démarrage",
             "/nonexistent-korvel/deck.json"},
            {"/bin/sh", {"-c", "echo bonjour; read line"}, "", "bonjour"}}; // never names its port
        for (const auto& [program, arguments, start, detail] : failures) {
            EmulatorLauncher launcher;
            QString error;
            QVERIFY(!launcher.Start(program, arguments, &error, 2000) && !launcher.IsRunning());
            QVERIFY2(error.startsWith(start) && error.contains(detail), qPrintable(error));
        }
        EmulatorLauncher beside; // beside the test program there is no emulator
        QString error;
        QVERIFY2(!beside.Start(&error) && error.startsWith("Simulateur de lecteur introuvable"),
                 qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TstApp)
#include "tst_app.moc"
