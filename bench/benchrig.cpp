#include "benchrig.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <ctime>

#include "app/emulatorlauncher.h"

namespace {
constexpr int LookMs = 10;
constexpr int MsPerSecond = 1000;
constexpr double NsPerMs = 1e6;
constexpr double Percent = 100.0;
} // namespace

void Progress(const char* text)
{
    std::printf("# %s\n", text);
    std::fflush(stdout);
}

double ProcessCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * MsPerSecond + ts.tv_nsec / NsPerMs;
}

double ElapsedMs(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / NsPerMs;
}

bool RunUntil(const std::function<bool()>& done, int maxMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > maxMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(LookMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double IdleCpuPercent(int seconds)
{
    const double cpuBefore = ProcessCpuMs();
    QElapsedTimer wall;
    wall.start();
    RunFor(seconds * MsPerSecond);
    return (ProcessCpuMs() - cpuBefore) / ElapsedMs(wall) * Percent;
}

bool EmulatorStart(EmulatorLauncher* emulator, QString* error)
{
    // Its log would fill a pipe nobody reads and cost this process the reading.
    emulator->SetLogFile(QProcess::nullDevice());
    return emulator->Start(QStringLiteral(KORVEL_EMULATOR_PATH), {QStringLiteral("--pace")}, error);
}
