#include "readerconfig/readerclock.h"

#include "link/commands.h"
#include "link/qprotocole.h"

#include <QElapsedTimer>
#include <QtDebug>

namespace {

// One synchronous write: claims the slot (the poller may take it between two
// tries), then waits for the end of this very command and collects it.
bool WriteAndWait(QProtocole* link, const ReaderCommand& command, unsigned int waitMs, bool* isOk, char* status)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const qint64 left = qint64(waitMs) - waited.elapsed();
        if (left <= 0 || !link->CmdWaitFree(unsigned(left)))
            return false;
        const unsigned char sent = link->CmdRequest(command);
        if (sent == QProtocole::CMD_SUBMITTED)
            break;
        if (sent != QProtocole::CMD_BUSY)
            return false;
    }
    if (!link->CmdWaitAnswer(waitMs))
        return false;
    QString text;
    return link->CmdAnswer(isOk, status, &text) == 1;
}

} // namespace

ClockUpdateOutcome ClockUpdate(QProtocole* link, const QDateTime& now, unsigned int waitMs)
{
    if (!link->Connected)
        return ClockUpdateOutcome::NotConnected;

    bool isOk = false;
    char status = 0;
    // The date write's own outcome is not examined: the time write tells.
    if (!WriteAndWait(link, ReaderCommands::clockDate(now), waitMs, &isOk, &status))
        return ClockUpdateOutcome::NoAnswer;
    isOk = false;
    if (!WriteAndWait(link, ReaderCommands::clockTime(now), waitMs, &isOk, &status))
        return ClockUpdateOutcome::NoAnswer;
    if (!isOk)
        return ClockUpdateOutcome::NoAnswer;
    return status == '0' ? ClockUpdateOutcome::Accepted : ClockUpdateOutcome::Refused;
}

QString ClockUpdateText(ClockUpdateOutcome outcome)
{
    switch (outcome) {
    case ClockUpdateOutcome::Accepted:
        return QStringLiteral("Mise à jour OK");
    case ClockUpdateOutcome::Refused:
        return QStringLiteral("Mise à jour ECHEC");
    case ClockUpdateOutcome::NotConnected:
        return QStringLiteral("Mise à jour ECHEC : lecteur non connecté");
    case ClockUpdateOutcome::NoAnswer:
        break;
    }
    return QString();
}
