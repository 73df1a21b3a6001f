#include "readerconfig/readerclock.h"

#include "link/commands.h"
#include "link/qprotocole.h"
#include "link/readerlink.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

// One synchronous write: claims the slot (the poller may take it between two
// tries), then waits for the end of this very command and collects it.
// The link ends every command within its time-out, so the answer wait's
// bound is only a safety net.
ClockUpdateOutcome WriteAndWait(ReaderLink& link, const ReaderCommand& command, unsigned int waitMs,
                                bool* isOk, char* status)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const qint64 left = qint64(waitMs) - waited.elapsed();
        if (left <= 0 || !link.CmdWaitFree(unsigned(left)))
            return ClockUpdateOutcome::Busy;
        const unsigned char sent = link.Request(command);
        if (sent == QProtocole::CMD_SUBMITTED)
            break;
        if (sent != QProtocole::CMD_BUSY)
            return ClockUpdateOutcome::NoAnswer;
    }
    QString text;
    if (!link.CmdWaitAnswer(waitMs) || link.CmdAnswer(isOk, status, &text) != 1 || !*isOk)
        return ClockUpdateOutcome::NoAnswer;
    return *status == '0' ? ClockUpdateOutcome::Accepted : ClockUpdateOutcome::Refused;
}

} // namespace

ClockUpdateOutcome ClockUpdate(ReaderLink& link, const QDateTime& now, unsigned int waitMs)
{
    if (!link.Connected())
        return ClockUpdateOutcome::NotConnected;

    bool isOk = false;
    char status = 0;
    // Without a free link there is no point sending the time.
    const ClockUpdateOutcome date =
        WriteAndWait(link, ReaderCommands::clockDate(now), waitMs, &isOk, &status);
    if (date == ClockUpdateOutcome::Busy)
        return date;
    isOk = false;
    const ClockUpdateOutcome time =
        WriteAndWait(link, ReaderCommands::clockTime(now), waitMs, &isOk, &status);
    // The time is still sent after a refused date, but "OK" must mean the whole clock was
    // set: a refused date makes the update a failure, an unanswered one leaves it unknown.
    if (time == ClockUpdateOutcome::Accepted && date != ClockUpdateOutcome::Accepted)
        return date;
    return time;
}

QString ClockUpdateText(ClockUpdateOutcome outcome)
{
    switch (outcome) {
    case ClockUpdateOutcome::Accepted:
        return QCoreApplication::translate("ReaderClock", "Mise à jour OK");
    case ClockUpdateOutcome::Refused:
        return QCoreApplication::translate("ReaderClock", "Mise à jour ECHEC");
    case ClockUpdateOutcome::NotConnected:
        return QCoreApplication::translate("ReaderClock", "Mise à jour ECHEC : lecteur non connecté");
    case ClockUpdateOutcome::Busy:
        return QCoreApplication::translate("ReaderClock", "Mise à jour ECHEC : lecteur occupé");
    case ClockUpdateOutcome::NoAnswer:
        break;
    }
    return QString();
}
