// korvelbench: how close the program's exchanges come to the 9600 baud line,
// what it costs while idle, how fast the window starts and how fast the big
// files load and save. Run through scripts/bench (Release build).

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <vector>

#include "access/groups.h"
#include "access/zones.h"
#include "app/emulatorlauncher.h"
#include "app/mainwindow.h"
#include "badge/resultrouter.h"
#include "benchreport.h"
#include "blacklist/blacklisttab.h"
#include "blacklist/blacklisttransfer.h"
#include "blacklist/tablerows.h"
#include "commun/fileini.h"
#include "link/framereceiver.h"
#include "link/qprotocole.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/parametertree.h"

namespace {

// 8N1: a start bit, eight data bits and a stop bit for every byte.
constexpr double LineMsPerByte = 10.0 * 1000.0 / 9600.0;
constexpr double RatioLimit = 1.05;
constexpr double IdleCpuLimit = 0.5;
constexpr double WindowLimitMs = 300;
constexpr double FileLimitMs = 300;
constexpr int BlacklistUploadRows = 200;
constexpr int BlacklistFileRows = 10000;
constexpr int ConfigGroups = 500;
constexpr int ChainBoundMs = 120000;
constexpr int SetupBoundMs = 10000;

void Progress(const char* text)
{
    std::printf("# %s\n", text);
    std::fflush(stdout);
}

double ProcessCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double ElapsedMs(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// Runs the event loop until done() holds, looking every 10 ms. Set-up only:
// never used around a timed step.
bool RunUntil(const std::function<bool()>& done, int maxMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > maxMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Runs the event loop for ms milliseconds.
void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs a chain started by start() until it is idle again; its duration in ms,
// or -1. cpuMs: the CPU time this process spent meanwhile, all threads.
double ChainRun(CommandChain* chain, const std::function<bool()>& start, double* cpuMs)
{
    QEventLoop loop;
    bool ended = false;
    QObject::connect(chain, &CommandChain::SIG_Running, &loop, [&](bool running) {
        if (!running) {
            ended = true;
            loop.quit();
        }
    });
    QTimer::singleShot(ChainBoundMs, &loop, &QEventLoop::quit);
    const double cpuBefore = ProcessCpuMs();
    QElapsedTimer timer;
    timer.start();
    if (!start())
        return -1;
    if (!ended)
        loop.exec();
    const double ms = ElapsedMs(timer);
    *cpuMs = ProcessCpuMs() - cpuBefore;
    return ended ? ms : -1;
}

// A link to the emulator with the program's result routing and a count of
// every byte of every frame that crossed the line.
struct LinkRig
{
    QProtocole link;
    ResultRouter router;
    QObject context;
    std::atomic<qint64> bytes{0};
    std::atomic<int> framesSent{0};
    // When each frame was traced, sent or received, for the split below.
    QElapsedTimer clock;
    std::mutex eventsMutex;
    std::vector<std::pair<bool, qint64>> events;
    std::vector<QByteArray> sentFrames;

    LinkRig()
    {
        clock.start();
        link.SetFrameTrace([this](QProtocole::FrameDirection direction, const QByteArray& frame) {
            const bool sent = direction == QProtocole::FrameDirection::Sent;
            bytes += frame.size();
            if (sent)
                ++framesSent;
            std::lock_guard<std::mutex> lock(eventsMutex);
            events.emplace_back(sent, clock.nsecsElapsed());
            if (sent)
                sentFrames.push_back(frame);
        });
        QObject::connect(&link, &QProtocole::SIG_Data, &context,
                         [this](unsigned int id, unsigned int arg, const QString& s) {
                             if (id == 2)
                                 router.Dispatch(arg, s);
                         });
        link.start();
    }

    bool Open(const QString& port)
    {
        link.SetPortName(port);
        link.SetConnectionRequest(1);
        return RunUntil([this] { return link.Connected.load(); }, SetupBoundMs);
    }

    void CountReset()
    {
        bytes = 0;
        framesSent = 0;
        std::lock_guard<std::mutex> lock(eventsMutex);
        events.clear();
        sentFrames.clear();
    }

    bool Close()
    {
        link.SetConnectionRequest(2);
        return RunUntil([this] { return !link.Connected; }, SetupBoundMs);
    }

    // Mean time from an answer's last byte to the next request's last byte
    // written: the program's own share of each step (the request itself goes
    // into the pseudo-terminal at once, the emulator paces it afterwards).
    double ProgramGapMs()
    {
        std::lock_guard<std::mutex> lock(eventsMutex);
        qint64 lastReceived = -1;
        qint64 total = 0;
        int gaps = 0;
        for (const auto& [sent, at] : events) {
            if (!sent) {
                lastReceived = at;
            } else if (lastReceived >= 0) {
                total += at - lastReceived;
                ++gaps;
                lastReceived = -1;
            }
        }
        return gaps ? total / 1e6 / gaps : 0;
    }
};

// The same requests written straight to the emulator's pseudo-terminal, each
// as soon as the previous answer is in: what the emulator and the line take
// with no program in between. Its duration in ms, or -1; bytes counts both ways.
double RawReplay(const QString& port, const std::vector<QByteArray>& frames, qint64* bytes)
{
    *bytes = 0;
    const int fd = ::open(QFile::encodeName(port).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    tcflush(fd, TCIOFLUSH);
    QElapsedTimer timer;
    timer.start();
    bool ok = true;
    for (const QByteArray& frame : frames) {
        if (::write(fd, frame.constData(), frame.size()) != frame.size()) {
            ok = false;
            break;
        }
        *bytes += frame.size();
        FrameReceiver receiver;
        bool answered = false;
        while (ok && !answered) {
            pollfd pfd{fd, POLLIN, 0};
            char buffer[256];
            const ssize_t n = ::poll(&pfd, 1, 3000) > 0 ? ::read(fd, buffer, sizeof buffer) : -1;
            if (n <= 0) {
                ok = false;
                break;
            }
            *bytes += n;
            for (ssize_t i = 0; i < n; ++i) {
                const FrameReceiver::Event event = receiver.feed(buffer[i]);
                if (event == FrameReceiver::Event::Complete && receiver.header1() != 'D')
                    answered = true;
            }
        }
        if (!ok)
            break;
    }
    const double ms = ElapsedMs(timer);
    ::close(fd);
    return ok ? ms : -1;
}

// One run of a chain: its figures and the requests it sent.
struct ChainFigures
{
    double ms = -1;
    double cpuMs = 0;
    qint64 bytes = 0;
    int exchanges = 0;
    double gapMs = 0;
    std::vector<QByteArray> frames;
};

// Runs the chain `repeat` times and keeps the fastest run: the one least
// disturbed by the other work of a shared machine. False when a run fails
// or done() denies its outcome.
bool ChainBest(LinkRig& rig, CommandChain* chain, const std::function<bool()>& start,
               const std::function<bool()>& done, int repeat, ChainFigures* best)
{
    for (int i = 0; i < repeat; ++i) {
        rig.CountReset();
        ChainFigures run;
        run.ms = ChainRun(chain, start, &run.cpuMs);
        if (run.ms < 0 || !done())
            return false;
        run.bytes = rig.bytes;
        run.exchanges = rig.framesSent;
        run.gapMs = rig.ProgramGapMs();
        {
            std::lock_guard<std::mutex> lock(rig.eventsMutex);
            run.frames = rig.sentFrames;
        }
        if (best->ms < 0 || run.ms < best->ms)
            *best = std::move(run);
    }
    return true;
}

// Measured time against the line time of the bytes that were exchanged, and
// the same requests replayed without the program (fastest of `repeat`).
void LineFigures(BenchReport& report, const QString& prefix, const ChainFigures& run, LinkRig& rig,
                 const QString& port, int repeat)
{
    const double limit = run.bytes * LineMsPerByte;
    const int exchanges = qMax(1, run.exchanges);
    report.Add(prefix + QStringLiteral("_exchanges"), run.exchanges, QStringLiteral("count"));
    report.Add(prefix + QStringLiteral("_bytes"), static_cast<double>(run.bytes), QStringLiteral("bytes"));
    report.Add(prefix + QStringLiteral("_time"), run.ms, QStringLiteral("ms"));
    report.Add(prefix + QStringLiteral("_line_limit"), limit, QStringLiteral("ms"));
    report.Add(prefix + QStringLiteral("_overhead_per_exchange"), (run.ms - limit) / exchanges,
               QStringLiteral("ms"));
    report.Add(prefix + QStringLiteral("_program_gap"), run.gapMs, QStringLiteral("ms"));
    report.Add(prefix + QStringLiteral("_cpu_per_exchange"), run.cpuMs / exchanges, QStringLiteral("ms"));
    report.AddTarget(prefix + QStringLiteral("_ratio"), run.ms / limit, QStringLiteral("x"), RatioLimit);

    if (!rig.Close()) {
        std::printf("# %s: the link did not close for the replay\n", qPrintable(prefix));
        return;
    }
    double rawMs = -1;
    qint64 rawBytes = 0;
    for (int i = 0; i < repeat; ++i) {
        qint64 bytes = 0;
        const double ms = RawReplay(port, run.frames, &bytes);
        if (ms < 0) {
            std::printf("# %s: the replay without the program failed\n", qPrintable(prefix));
            return;
        }
        if (rawMs < 0 || ms < rawMs) {
            rawMs = ms;
            rawBytes = bytes;
        }
    }
    report.Add(prefix + QStringLiteral("_emulator_alone_time"), rawMs, QStringLiteral("ms"));
    report.Add(prefix + QStringLiteral("_emulator_alone_ratio"), rawMs / (rawBytes * LineMsPerByte),
               QStringLiteral("x"));
    // What the program adds on top of the emulator and this machine's scheduling.
    report.Add(prefix + QStringLiteral("_program_share"), run.ms / rawMs, QStringLiteral("x"));
}

void ParameterRead(BenchReport& report, const QString& port, int repeat)
{
    Progress("full parameter read");
    LinkRig rig;
    QTreeWidget tree;
    QLineEdit status;
    ParameterTree params(&tree, &status);
    QElapsedTimer setup;
    setup.start();
    params.Setup();
    // Part of the window's start-up once the window builds the tree.
    report.Add(QStringLiteral("param_tree_setup"), ElapsedMs(setup), QStringLiteral("ms"));
    QObject::connect(&tree, &QTreeWidget::itemChanged, &tree,
                     [&params](QTreeWidgetItem* item, int column) { params.ItemChanged(item, column); });
    ParameterTransfer transfer(&params, &rig.link);
    transfer.RegisterResults(rig.router);
    // Shown, as the operator watches it fill.
    tree.resize(800, 600);
    tree.show();
    if (!rig.Open(port)) {
        report.AddFailure(QStringLiteral("param_read_ratio"), QStringLiteral("x"), QStringLiteral("no link"));
        return;
    }
    report.Add(QStringLiteral("param_read_parameters"), params.ParameterRows().size(),
               QStringLiteral("count"));
    ChainFigures best;
    if (!ChainBest(
            rig, &transfer, [&transfer] { return transfer.ReadAll(); },
            [&status] { return status.text() == QLatin1String("Lecture Ok"); }, repeat, &best)) {
        report.AddFailure(QStringLiteral("param_read_ratio"), QStringLiteral("x"), status.text());
        return;
    }
    LineFigures(report, QStringLiteral("param_read"), best, rig, port, repeat);
}

void BlacklistUpload(BenchReport& report, const QString& port, int repeat)
{
    Progress("blacklist upload");
    LinkRig rig;
    QTableWidget table;
    QLineEdit status;
    BlacklistTableSetup(&table);
    for (int row = 0; row < BlacklistUploadRows; ++row) {
        TableRowAppend(&table);
        TableCellSet(&table, row, 0, QStringLiteral("%1/03/27").arg(row % 28 + 1, 2, 10, QLatin1Char('0')));
        TableCellSet(&table, row, 1, QStringLiteral("%1").arg(0x0A000000 + row, 8, 16, QLatin1Char('0')));
        TableCellSet(&table, row, 2, QString::number(1000 + row));
        TableCellSet(&table, row, 3, QString::number(row % 7 + 1));
        TableCellSet(&table, row, 4, QStringLiteral("Badge perdu"));
    }
    BlacklistTransfer transfer(&rig.link, &table, &status);
    rig.router.Register(ARG_FILE_LN_CLEAR_RESULT, [&transfer](const QString&) { transfer.OnClearResult(); });
    rig.router.Register(ARG_FILE_LN_ADD_RESULT, [&transfer](const QString&) { transfer.OnAddResult(); });
    rig.router.Register(ARG_FILE_LN_GET_RESULT, [&transfer](const QString&) { transfer.OnGetResult(); });
    if (!rig.Open(port)) {
        report.AddFailure(QStringLiteral("blacklist_upload_ratio"), QStringLiteral("x"),
                          QStringLiteral("no link"));
        return;
    }
    ChainFigures best;
    if (!ChainBest(
            rig, &transfer, [&transfer] { return transfer.WriteToSupport(); },
            [&] {
                return status.text() == QLatin1String("LN Add->FIN") &&
                       transfer.Done() == BlacklistUploadRows;
            },
            repeat, &best)) {
        report.AddFailure(QStringLiteral("blacklist_upload_ratio"), QStringLiteral("x"), status.text());
        return;
    }
    LineFigures(report, QStringLiteral("blacklist_upload"), best, rig, port, repeat);
}

// Quits a loop at the first paint of the watched widget.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QEventLoop* loop) : m_loop(loop) {}
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            m_loop->quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop* m_loop;
};

double IdleCpuPercent(int seconds)
{
    const double cpuBefore = ProcessCpuMs();
    QElapsedTimer wall;
    wall.start();
    RunFor(seconds * 1000);
    return (ProcessCpuMs() - cpuBefore) / ElapsedMs(wall) * 100.0;
}

// The window from construction to its first paint, then the whole process's
// CPU while it idles with the port closed and open.
void WindowAndIdle(BenchReport& report, const QString& port, int idleSeconds)
{
    Progress("window construction");
    // The window opens config.ini in the working directory and the first
    // listed port at once: keep both away from the user's.
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());

    QEventLoop paintLoop;
    FirstPaint firstPaint(&paintLoop);
    QElapsedTimer timer;
    timer.start();
    auto* window = new MainWindow;
    const double constructed = ElapsedMs(timer);
    window->installEventFilter(&firstPaint);
    window->show();
    QTimer::singleShot(SetupBoundMs, &paintLoop, &QEventLoop::quit);
    if (!firstPaint.painted)
        paintLoop.exec();
    const double shown = ElapsedMs(timer);
    window->removeEventFilter(&firstPaint);
    report.Add(QStringLiteral("window_constructed"), constructed, QStringLiteral("ms"));
    if (firstPaint.painted)
        report.AddTarget(QStringLiteral("window_ready"), shown, QStringLiteral("ms"), WindowLimitMs);
    else
        report.AddFailure(QStringLiteral("window_ready"), QStringLiteral("ms"),
                          QStringLiteral("never painted"));

    auto* combo = window->findChild<QComboBox*>(QStringLiteral("COMB_Serial"));
    auto* com = window->findChild<QLineEdit*>(QStringLiteral("LINEEDIT_Com"));
    auto* connectButton = window->findChild<QPushButton*>(QStringLiteral("BTN_Serial"));
    QProtocole& link = window->Protocole();
    // Whatever the start-up request opened, the closed state comes first.
    if (combo->count() > 0)
        RunUntil([com] { return !com->text().isEmpty(); }, SetupBoundMs);
    if (link.Connected) {
        connectButton->click();
        RunUntil([&link] { return !link.Connected; }, SetupBoundMs);
    }
    RunFor(1000);
    Progress("idle, port closed");
    report.AddTarget(QStringLiteral("idle_cpu_port_closed"), IdleCpuPercent(idleSeconds), QStringLiteral("%"),
                     IdleCpuLimit);

    combo->addItem(port);
    combo->setCurrentIndex(combo->count() - 1);
    connectButton->click();
    if (!RunUntil([&] { return link.Connected && com->text() == QLatin1String("Ouvert"); }, SetupBoundMs)) {
        report.AddFailure(QStringLiteral("idle_cpu_port_open"), QStringLiteral("%"),
                          QStringLiteral("no link"));
    } else {
        link.SetPollingWanted(false);
        RunFor(1000);
        Progress("idle, port open");
        report.AddTarget(QStringLiteral("idle_cpu_port_open"), IdleCpuPercent(idleSeconds),
                         QStringLiteral("%"), IdleCpuLimit);
        connectButton->click();
        RunUntil([&link] { return !link.Connected; }, SetupBoundMs);
    }
    delete window;
    QDir::setCurrent(previous);
}

void BlacklistFile(BenchReport& report)
{
    Progress("blacklist file");
    QTemporaryDir dir;
    const QString path = BlacklistFilePath(dir.path());
    QLineEdit status;

    QTableWidget source;
    BlacklistTableSetup(&source);
    for (int row = 0; row < BlacklistFileRows; ++row) {
        TableLineToRow(&source, QStringLiteral("%1/%2/26;%3;%4;%5;Badge volé à l'accueil;")
                                    .arg(row % 28 + 1, 2, 10, QLatin1Char('0'))
                                    .arg(row % 12 + 1, 2, 10, QLatin1Char('0'))
                                    .arg(0x0B000000 + row, 8, 16, QLatin1Char('0'))
                                    .arg(20000 + row)
                                    .arg(row % 9 + 1));
    }
    source.show();
    RunFor(100);
    QElapsedTimer timer;
    timer.start();
    const bool saved = BlacklistFileSave(&source, &status, path);
    const double saveMs = ElapsedMs(timer);
    if (saved)
        report.AddTarget(QStringLiteral("blacklist_file_save"), saveMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("blacklist_file_save"), QStringLiteral("ms"), status.text());
    source.hide();

    // Loaded into a shown table, as the operator sees it.
    QTableWidget target;
    BlacklistTableSetup(&target);
    target.show();
    RunFor(100);
    timer.start();
    const bool loaded = BlacklistFileLoad(&target, &status, path);
    const double loadMs = ElapsedMs(timer);
    if (loaded && target.rowCount() == BlacklistFileRows)
        report.AddTarget(QStringLiteral("blacklist_file_load"), loadMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("blacklist_file_load"), QStringLiteral("ms"), status.text());
}

void ConfigIni(BenchReport& report)
{
    Progress("config.ini");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    CZONE zones[ZONE_COUNT];
    for (int z = 0; z < ZONE_COUNT; ++z) {
        zones[z].Installed = z % 3 != 0;
        zones[z].Label = QStringLiteral("Zone %1").arg(z + 1);
    }
    QList<CGROUP*> groups;
    for (int g = 0; g < ConfigGroups; ++g) {
        CGROUP* group = GroupAdd(&groups, QStringLiteral("Groupe %1").arg(g + 1), g + 1);
        for (int z = 0; z < ZONE_COUNT; ++z) {
            group->Rules[z].Access = (g + z) % 2 == 0;
            group->Rules[z].Counter = static_cast<quint8>(z % 4);
            group->Rules[z].Default = static_cast<quint8>(g % 50);
        }
    }

    // A first save creates the file; the timed one replaces a full section, as the zone editor does.
    CFILE_INI first(path);
    bool ok = first.Open();
    ZonesSave(zones, &first);
    GroupsSave(&groups, &first);
    ok = first.Close() && ok;

    QElapsedTimer timer;
    timer.start();
    CFILE_INI saveIni(path);
    ok = saveIni.Open() && ok;
    GroupsSave(&groups, &saveIni);
    ok = saveIni.Close() && ok;
    const double saveMs = ElapsedMs(timer);
    qDeleteAll(groups);
    if (ok)
        report.AddTarget(QStringLiteral("config_ini_save"), saveMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("config_ini_save"), QStringLiteral("ms"),
                          QStringLiteral("save failed"));

    // As the window does at start: open, read zones and groups, close.
    CZONE loadedZones[ZONE_COUNT];
    QList<CGROUP*> loaded;
    timer.start();
    CFILE_INI loadIni(path);
    bool loadOk = loadIni.Open();
    ZonesLoad(loadedZones, &loadIni);
    GroupsLoad(&loaded, &loadIni);
    loadOk = loadIni.Close() && loadOk;
    const double loadMs = ElapsedMs(timer);
    if (loadOk && loaded.size() == ConfigGroups)
        report.AddTarget(QStringLiteral("config_ini_load"), loadMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("config_ini_load"), QStringLiteral("ms"),
                          QStringLiteral("%1 groups read").arg(loaded.size()));
    qDeleteAll(loaded);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("KorvelManager benchmark"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("idle-seconds"), QStringLiteral("Length of each idle measurement."),
                      QStringLiteral("s"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("repeat"),
                      QStringLiteral("Runs of each chain (and of its replay); the fastest is kept."),
                      QStringLiteral("n"), QStringLiteral("3")});
    parser.addOption(
        {QStringLiteral("only"),
         QStringLiteral("Runs only these parts (comma-separated): window, params, blacklist, files."),
         QStringLiteral("parts")});
    parser.process(app);
    const QStringList only = parser.value(QStringLiteral("only")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const auto wanted = [&only](const char* part) {
        return only.isEmpty() || only.contains(QLatin1String(part));
    };
    const int idleSeconds = qMax(1, parser.value(QStringLiteral("idle-seconds")).toInt());
    const int repeat = qMax(1, parser.value(QStringLiteral("repeat")).toInt());

    EmulatorLauncher emulator;
    // Its log would fill a pipe nobody reads and cost this process the reading.
    emulator.SetLogFile(QProcess::nullDevice());
    QString error;
    if (!emulator.Start(QStringLiteral(KORVEL_EMULATOR_PATH), {QStringLiteral("--pace")}, &error)) {
        std::fprintf(stderr, "korvelbench: %s\n", qPrintable(error));
        std::printf("korvelbench: %s\n", qPrintable(error));
        return 2;
    }

    BenchReport report;
    // The window first: its figure is the cold start the operator waits for.
    if (wanted("window"))
        WindowAndIdle(report, emulator.PortName(), idleSeconds);
    if (wanted("params"))
        ParameterRead(report, emulator.PortName(), repeat);
    if (wanted("blacklist"))
        BlacklistUpload(report, emulator.PortName(), repeat);
    if (wanted("files")) {
        BlacklistFile(report);
        ConfigIni(report);
    }
    emulator.Stop();

    report.Print();
    return report.AllTargetsHold() ? 0 : 1;
}
