#ifndef READERCLOCK_H
#define READERCLOCK_H

#include <QDateTime>
#include <QString>

class ReaderLink;

// Setting the reader's clock ("MAJ Date/Heure"): two parameter writes, the
// date then the time of one moment, each awaited in place with a bound.

enum class ClockUpdateOutcome
{
    Accepted,     // the reader took both writes
    Refused,      // the reader answered a write with a status other than "0"
    NoAnswer,     // the time write, or the date write of an accepted time, went unanswered
    Busy,         // another command held the link past the bound: nothing more was sent
    NotConnected, // the link is closed: nothing was sent
};

// Sends both writes with result identifier 0 and waits for each at most
// waitMs (the request's own time-out plus a margin by default).
ClockUpdateOutcome ClockUpdate(ReaderLink& link, const QDateTime& now, unsigned int waitMs = 5000);

// Text of the "MAJ Heure/Date" information box; empty when no box is shown.
QString ClockUpdateText(ClockUpdateOutcome outcome);

#endif // READERCLOCK_H
