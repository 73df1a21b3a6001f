#include "commun/commandchain.h"

#include <QHash>
#include <QLineEdit>
#include <QProgressBar>

#include "link/qprotocole.h"

namespace {

// The chain running on each link. GUI thread only.
QHash<const QProtocole*, const CommandChain*>& RunningChains()
{
    static QHash<const QProtocole*, const CommandChain*> chains;
    return chains;
}

} // namespace

CommandChain::CommandChain(QProtocole* link, QLineEdit* status, QObject* parent)
    : QObject(parent), m_link(link), m_status(status)
{
}

CommandChain::~CommandChain()
{
    if (m_running)
        RunningChains().remove(m_link);
}

void CommandChain::Abort(const QString& text)
{
    if (m_running)
        Finish(text);
}

void CommandChain::ProgressBarAttach(QProgressBar* bar)
{
    bar->setVisible(m_running);
    connect(this, &CommandChain::SIG_Running, bar, &QProgressBar::setVisible);
    connect(this, &CommandChain::SIG_Progress, bar, [bar](int done, int total) {
        // An unknown total shows the busy indicator.
        const int maximum = total < 0 ? 0 : qMax(total, 1);
        bar->setRange(0, maximum);
        bar->setValue(total < 0 ? 0 : qMin(done, maximum));
        bar->setFormat(total < 0 ? QString::number(done) : QStringLiteral("%v / %m"));
    });
}

bool CommandChain::Begin(const QString& text, int total)
{
    if (RunningChains().contains(m_link)) {
        StatusSet(BusyText());
        return false;
    }
    RunningChains().insert(m_link, this);
    m_running = true;
    m_done = 0;
    m_total = total;
    StatusSet(text);
    emit SIG_Running(true);
    ProgressEmit();
    return true;
}

bool CommandChain::Send(const ReaderCommand& command)
{
    return m_link->CmdRequestQueued(command) == QProtocole::CMD_SUBMITTED;
}

bool CommandChain::Collect(bool* isOk, char* status, QString* text)
{
    // Always collect: the slot stays taken until the answer is fetched.
    if (!m_link->CmdAnswer(isOk, status, text))
        return false;
    return m_running;
}

void CommandChain::StatusSet(const QString& text)
{
    if (m_status)
        m_status->setText(text);
    emit SIG_Status(text);
}

void CommandChain::TotalSet(int total)
{
    if (m_total == total)
        return;
    m_total = total;
    ProgressEmit();
}

void CommandChain::StepDone()
{
    ++m_done;
    ProgressEmit();
}

void CommandChain::Finish(const QString& text)
{
    if (m_running) {
        RunningChains().remove(m_link);
        m_running = false;
        emit SIG_Running(false);
    }
    StatusSet(text);
}

void CommandChain::ProgressEmit()
{
    emit SIG_Progress(m_done, m_total);
}
