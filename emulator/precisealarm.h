#ifndef PRECISEALARM_H
#define PRECISEALARM_H

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Rings at a given instant with sub-millisecond precision, which a QTimer cannot do.
// A thread of its own sleeps until the instant; rang() is emitted from that thread, so
// receivers connect with Qt::QueuedConnection and get it through their event loop.
class PreciseAlarm : public QObject
{
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit PreciseAlarm(QObject* parent = nullptr);
    ~PreciseAlarm() override;

    // An earlier instant replaces a later one; an instant already past rings at once.
    void ringAt(Clock::time_point at);

signals:
    void rang();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    Clock::time_point m_at;
    bool m_armed = false;
    bool m_stop = false;
    std::thread m_thread;
};

#endif // PRECISEALARM_H
