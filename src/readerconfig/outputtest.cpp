#include "readerconfig/outputtest.h"

#include "link/commands.h"
#include "link/qprotocole.h"
#include "link/readerlink.h"

#include <QCoreApplication>
#include <QLineEdit>

bool OutputTestStart(ReaderLink& link, int output, const QString& duration, QLineEdit* status)
{
    // The claim itself tells whether the slot was free; the result arrives
    // queued, so the status set just after cannot come too late.
    if (link.Request(ReaderCommands::outputTest(output, duration)) != QProtocole::CMD_SUBMITTED)
        return false;
    status->setText(QCoreApplication::translate("OutputTest", "Test C%1").arg(output + 1));
    return true;
}

void OutputTestResult(ReaderLink& link, QLineEdit* status)
{
    bool isOk = false;
    char code = 0;
    QString text;
    if (!link.CmdAnswer(&isOk, &code, &text))
        return;
    const char* suffix = !isOk ? "->TIMEOUT" : code == '0' ? "->OK" : "->FAILED";
    status->setText(status->text() + QLatin1String(suffix));
}
