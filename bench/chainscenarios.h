#ifndef CHAINSCENARIOS_H
#define CHAINSCENARIOS_H

#include <QString>

class BenchReport;
class EmulatorLauncher;

// The two longest chains against the line time of the bytes they exchange, run
// `repeat` times on a link of their own to the emulator at port.
void ParameterRead(BenchReport& report, const QString& port, int repeat);
void BlacklistUpload(BenchReport& report, const QString& port, int repeat);
// A whole-card read of the emulator's valid badge, with its key in the field.
void CardRead(BenchReport& report, EmulatorLauncher& emulator, int repeat);

#endif // CHAINSCENARIOS_H
