#ifndef COMMANDSLOT_H
#define COMMANDSLOT_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// The one command between the window and the worker: claimed and filled by a
// requester, sent and ended (answered, timed out or failed) by the worker,
// then emptied by the requester. Steps that must not be lost wait behind it.
// Every field is under one mutex; the flags are atomic as well, so that a
// glance at them needs no lock.
class CommandSlot
{
public:
    struct Flags
    {
        std::atomic<bool> IsFree{true};
        std::atomic<bool> IsPending{false};
        std::atomic<bool> IsOk{false};
    };

    // A command as it goes on the wire.
    struct Command
    {
        char letter = 0;
        char subLetter = 0;
        QByteArray payload;
        unsigned int resultId = 0;
        unsigned int timeoutMs = 0;
    };

    // The flags belong to the link, which shows them to everyone.
    explicit CommandSlot(Flags& flags) : m_flags(flags) {}

    // Requester side. Takes the slot when free; otherwise queues the command
    // when asked to, or refuses it (false).
    bool submit(const Command& cmd, bool queueWhenBusy);
    // False while the command is pending. Once it has ended: fills the
    // outcome and frees the slot, or hands it to the first queued step.
    bool answer(bool* isOk, char* status, QString* text);
    bool waitFree(unsigned int maxMs);
    bool waitAnswer(unsigned int maxMs);

    // Worker side.
    bool sendPending() const;
    // The frame to send; false when there is none any more.
    bool frameToSend(QByteArray* frame) const;
    void markSent();
    // At most wait: 0 when a frame waits to go, else no later than the
    // pending command's time-out.
    qint64 idleWaitMs(qint64 wait) const;
    // At most left: no later than the time-out of a command sent and awaiting its answer.
    qint64 answerWaitMs(qint64 left) const;
    // The pending command ends failed; false when none was pending.
    bool fail(unsigned int* resultId);
    // The same, once the pending command's time-out has passed.
    bool expire(unsigned int* resultId);
    // A frame came back: it ends the command. False when no sent command awaits it.
    bool complete(bool ok, char status, const QString& text, unsigned int* resultId);
    // Waits at most maxMs for a frame to send or for done() to hold.
    void waitForWork(int maxMs, const std::function<bool()>& done);

    // Either thread. Wakes the bounded waits and waitForWork.
    void notify();
    // Takes and releases the lock: what the other thread wrote before its
    // last release is visible afterwards.
    void sync();

private:
    // Call with m_mutex held.
    void load(const Command& cmd);
    void failLocked(unsigned int* resultId);

    Flags& m_flags;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_sendPending = false;
    Command m_current;
    QElapsedTimer m_cmdTimer;
    QString m_answerText;
    char m_answerStatus = 0;
    std::deque<Command> m_queue;
};

#endif // COMMANDSLOT_H
