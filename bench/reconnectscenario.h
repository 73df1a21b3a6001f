#ifndef RECONNECTSCENARIO_H
#define RECONNECTSCENARIO_H

class BenchReport;

// A lost port found again: the window's reader goes away, the whole process's CPU is
// measured while the window watches for it, then the port comes back `repeat` times
// and the time to "Ouvert" is measured.
void Reconnect(BenchReport& report, int idleSeconds, int repeat);

#endif // RECONNECTSCENARIO_H
