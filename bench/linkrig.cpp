#include "linkrig.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "benchreport.h"
#include "benchrig.h"
#include "transfer/commandchain.h"
#include "link/framereceiver.h"

namespace {
// 8N1: a start bit, eight data bits and a stop bit for every byte.
constexpr int Baud = 9600;
constexpr int BitsPerByte = 10;
constexpr double LineMsPerByte = BitsPerByte * 1000.0 / Baud;
constexpr double RatioLimit = 1.05;
constexpr int ChainBoundMs = 120000;
constexpr int ReplayAnswerBoundMs = 3000;
constexpr int ReadChunk = 256;
constexpr double NsPerMs = 1e6;
// QProtocole's connection requests, and the channel of reader results.
constexpr quint8 OpenRequest = 1;
constexpr quint8 CloseRequest = 2;
constexpr unsigned int ResultChannel = 2;

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
            char buffer[ReadChunk];
            const ssize_t n =
                ::poll(&pfd, 1, ReplayAnswerBoundMs) > 0 ? ::read(fd, buffer, sizeof buffer) : -1;
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
} // namespace

LinkRig::LinkRig()
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
                         if (id == ResultChannel)
                             router.Dispatch(arg, s);
                     });
    link.start();
}

bool LinkRig::Open(const QString& port)
{
    link.SetPortName(port);
    link.SetConnectionRequest(OpenRequest);
    return RunUntil([this] { return link.Connected.load(); }, SetupBoundMs);
}

void LinkRig::CountReset()
{
    bytes = 0;
    framesSent = 0;
    std::lock_guard<std::mutex> lock(eventsMutex);
    events.clear();
    sentFrames.clear();
}

bool LinkRig::Close()
{
    link.SetConnectionRequest(CloseRequest);
    return RunUntil([this] { return !link.Connected; }, SetupBoundMs);
}

double LinkRig::ProgramGapMs()
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
    return gaps ? total / NsPerMs / gaps : 0;
}

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
