#include "link/commandslot.h"

#include "link/framereceiver.h"
#include "link/linklog.h"

#include <chrono>

void CommandSlot::load(const Command& cmd)
{
    m_current = cmd;
    qCDebug(lcLink, "CmdRequest => Load String ***%s****", m_current.payload.constData());
    m_cmdTimer.start();
    m_flags.IsOk = false;
    m_flags.IsPending = true;
    m_sendPending = true;
}

bool CommandSlot::submit(const Command& cmd, bool queueWhenBusy)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    bool expected = true;
    if (m_flags.IsFree.compare_exchange_strong(expected, false))
        load(cmd);
    else if (queueWhenBusy)
        m_queue.push_back(cmd);
    else
        return false;
    return true;
}

bool CommandSlot::answer(bool* isOk, char* status, QString* text)
{
    bool ok;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_flags.IsPending)
            return false;
        ok = m_flags.IsOk;
        *isOk = ok;
        if (ok) {
            *status = m_answerStatus;
            if (text)
                *text = m_answerText;
        }
        // A queued step takes the slot straight away, so neither the poller
        // nor a click can slip in before it.
        if (!m_queue.empty()) {
            const Command next = m_queue.front();
            m_queue.pop_front();
            load(next);
        } else {
            m_flags.IsFree = true;
        }
    }
    qCDebug(lcLink, ok ? "QProtocole::GetValueAnswer= Cmd.IsOk = TRUE"
                       : "QProtocole::GetValueAnswer= Cmd.IsOk = FALSE");
    return true;
}

bool CommandSlot::waitFree(unsigned int maxMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(maxMs),
                              [this] { return m_flags.IsFree.load(); });
}

bool CommandSlot::waitAnswer(unsigned int maxMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(maxMs),
                              [this] { return !m_flags.IsPending.load(); });
}

bool CommandSlot::sendPending() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sendPending;
}

bool CommandSlot::frameToSend(QByteArray* frame) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sendPending)
        return false;
    *frame = Frame::build(m_current.letter, m_current.subLetter, m_current.payload);
    return true;
}

void CommandSlot::markSent()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sendPending = false;
}

qint64 CommandSlot::idleWaitMs(qint64 wait) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_sendPending)
        return 0;
    if (m_flags.IsPending)
        return qMin<qint64>(wait, m_current.timeoutMs - m_cmdTimer.elapsed() + 1);
    return wait;
}

qint64 CommandSlot::answerWaitMs(qint64 left) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_flags.IsPending && !m_sendPending)
        return qMin<qint64>(left, m_current.timeoutMs - m_cmdTimer.elapsed() + 1);
    return left;
}

void CommandSlot::failLocked(unsigned int* resultId)
{
    // A frame not yet sent never goes out later.
    m_sendPending = false;
    m_flags.IsOk = false;
    m_flags.IsPending = false;
    *resultId = m_current.resultId;
}

bool CommandSlot::fail(unsigned int* resultId)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_flags.IsPending)
            return false;
        qCDebug(lcLink, "QProtocole => port fermé, commande en échec");
        failLocked(resultId);
    }
    m_changed.notify_all();
    return true;
}

bool CommandSlot::expire(unsigned int* resultId)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_flags.IsPending || m_cmdTimer.elapsed() <= m_current.timeoutMs)
            return false;
        failLocked(resultId);
    }
    m_changed.notify_all();
    return true;
}

bool CommandSlot::complete(bool ok, char status, const QString& text, unsigned int* resultId)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Only a frame that follows the request can answer it: bytes that
        // came before it was sent belong to an older exchange.
        if (!m_flags.IsPending || m_sendPending)
            return false;
        m_flags.IsOk = ok;
        if (ok) {
            m_answerText = text;
            m_answerStatus = status;
        }
        m_flags.IsPending = false;
        *resultId = m_current.resultId;
    }
    m_changed.notify_all();
    return true;
}

void CommandSlot::waitForWork(int maxMs, const std::function<bool()>& done)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(maxMs), [&] { return done() || m_sendPending; });
}

void CommandSlot::notify()
{
    // Taking the lock orders the caller's writes before the waiter's check.
    sync();
    m_changed.notify_all();
}

void CommandSlot::sync()
{
    std::lock_guard<std::mutex> lock(m_mutex);
}
