#ifndef POLLER_H
#define POLLER_H

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>

#include <functional>

class QProtocole;

// Where the poller stands; the values are the step numbers of its traces.
enum class PollStep : quint8
{
    Idle = 0,    // not polling
    Request = 1, // a poll goes out as soon as the slot is free
    Answer = 2,  // the poll is in the slot
    Pause = 3,   // between two polls
};

// Asks the reader for its news (a support put down or taken away) while the
// link's PollingWanted holds. Runs in the worker thread and goes through the
// command slot like any other request, so a click waits at most one exchange.
class Poller
{
public:
    // Emits the link's SIG_Data.
    using Report = std::function<void(unsigned int channel, unsigned int arg1, const QString& text)>;

    Poller(QProtocole& link, Report report);

    void step();
    // At most wait: how long the idle worker may sleep before the next step is due.
    qint64 idleWaitMs(qint64 wait) const;
    // Nothing will answer a poll until the operator reconnects: polling stops
    // whatever its step, and the window hears it as a failed poll.
    void stopOnLostPort();
    // The port is closed: a poll in the slot has failed, collect it.
    void collectFailedPoll();

private:
    void start();
    void request();
    void collect();
    void pause();

    QProtocole& m_link;
    Report m_report;
    PollStep m_step = PollStep::Idle;
    QElapsedTimer m_pauseTimer;
    // Successful polls of this link: chooses the rotating text.
    quint8 m_count = 0;
};

#endif // POLLER_H
