#ifndef OUTPUTTEST_H
#define OUTPUTTEST_H

#include <QString>

class QLineEdit;
class ReaderLink;

// Pulsing one of the reader's command outputs ("Tests" tab).

// Sends a pulse of `duration` (as typed) to output 0 (command 1) or 1 (command 2)
// with result identifier 34, and sets the status to "Test C1" / "Test C2".
// With the slot taken, does nothing at all and returns false.
bool OutputTestStart(ReaderLink& link, int output, const QString& duration, QLineEdit* status);

// Branch of result 34: appends "->OK" only when the reader accepted the pulse,
// "->TIMEOUT" or "->FAILED" otherwise.
void OutputTestResult(ReaderLink& link, QLineEdit* status);

#endif // OUTPUTTEST_H
