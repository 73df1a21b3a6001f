#ifndef BENCHRIG_H
#define BENCHRIG_H

#include <QElapsedTimer>
#include <QString>

#include <functional>

class EmulatorLauncher;

// The bound of every wait that only sets a measurement up.
constexpr int SetupBoundMs = 10000;

// A "# text" line, so that a run shows where it is.
void Progress(const char* text);
// The CPU time of this process, all threads.
double ProcessCpuMs();
double ElapsedMs(const QElapsedTimer& timer);
// Runs the event loop until done() holds, looking every 10 ms. Set-up only:
// never used around a timed step.
bool RunUntil(const std::function<bool()>& done, int maxMs);
// Runs the event loop for ms milliseconds.
void RunFor(int ms);
// The whole process's CPU over `seconds` of event loop, in percent of one core.
double IdleCpuPercent(int seconds);
// korvel-reader-emulator on a paced 9600 baud line.
bool EmulatorStart(EmulatorLauncher* emulator, QString* error);

#endif // BENCHRIG_H
