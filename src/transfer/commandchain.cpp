#include "transfer/commandchain.h"

#include "link/qprotocole.h"
#include "link/readerlink.h"
#include "transfer/chainguard.h"

CommandChain::CommandChain(ReaderLink& link, ChainGuard& guard, QObject* parent)
    : QObject(parent), m_link(link), m_guard(guard)
{
}

CommandChain::~CommandChain()
{
    m_guard.Release(this);
}

void CommandChain::Abort(const QString& text)
{
    if (m_running)
        Finish(text);
}

bool CommandChain::Begin(const QString& text, int total)
{
    if (!m_guard.Claim(this)) {
        BusyShow();
        return false;
    }
    m_running = true;
    m_done = 0;
    m_total = total;
    if (!text.isEmpty())
        StatusSet(text);
    emit SIG_Running(true);
    ProgressEmit();
    return true;
}

bool CommandChain::Send(const ReaderCommand& command)
{
    return m_link.RequestQueued(command) == QProtocole::CMD_SUBMITTED;
}

bool CommandChain::Collect(bool* isOk, char* status, QString* text)
{
    // Always collect: the slot stays taken until the answer is fetched.
    if (!m_link.CmdAnswer(isOk, status, text))
        return false;
    return m_running;
}

void CommandChain::BusyShow()
{
    // Shown, not kept: a running chain goes on from its own last text.
    emit SIG_Status(BusyText());
}

void CommandChain::StatusSet(const QString& text)
{
    m_status = text;
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
        m_guard.Release(this);
        m_running = false;
        emit SIG_Running(false);
    }
    StatusSet(text);
}

void CommandChain::ProgressEmit()
{
    emit SIG_Progress(m_done, m_total);
}
