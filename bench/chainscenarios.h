#ifndef CHAINSCENARIOS_H
#define CHAINSCENARIOS_H

#include <QString>

class BenchReport;

// The two longest chains against the line time of the bytes they exchange, run
// `repeat` times on a link of their own to the emulator at port.
void ParameterRead(BenchReport& report, const QString& port, int repeat);
void BlacklistUpload(BenchReport& report, const QString& port, int repeat);

#endif // CHAINSCENARIOS_H
