#include "precisealarm.h"

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

PreciseAlarm::PreciseAlarm(QObject* parent) : QObject(parent), m_thread([this] { run(); }) {}

PreciseAlarm::~PreciseAlarm()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void PreciseAlarm::ringAt(Clock::time_point at)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_armed && m_at <= at)
            return;
        m_at = at;
        m_armed = true;
    }
    m_wake.notify_one();
}

void PreciseAlarm::run()
{
#ifdef Q_OS_LINUX
    // The default 50 us of timer slack would be a twentieth of a character time.
    constexpr unsigned long SlackNs = 1;
    ::prctl(PR_SET_TIMERSLACK, SlackNs, 0UL, 0UL, 0UL);
#endif
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        if (!m_armed) {
            m_wake.wait(lock);
            continue;
        }
        if (Clock::now() < m_at) {
            // Woken early by a new instant or by the end: look again.
            m_wake.wait_until(lock, m_at);
            continue;
        }
        m_armed = false;
        lock.unlock();
        // Emitted from this thread: receivers must connect with Qt::QueuedConnection.
        emit rang();
        lock.lock();
    }
}
