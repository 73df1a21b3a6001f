#ifndef WINDOWSCENARIO_H
#define WINDOWSCENARIO_H

#include <QString>

class BenchReport;

// The window from construction to its first paint, then the whole process's
// CPU while it idles for idleSeconds with the port closed and with port open.
void WindowAndIdle(BenchReport& report, const QString& port, int idleSeconds);

#endif // WINDOWSCENARIO_H
