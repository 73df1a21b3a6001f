#ifndef RECONNECTWATCH_H
#define RECONNECTWATCH_H

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Watches for a lost port to come back: a look every CheckIntervalMs on the GUI
// thread's timer (no thread, no busy loop), and SIG_PortBack each time the port
// is there, until Stop(). Opening it is the caller's business.
class ReconnectWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int CheckIntervalMs = 500;
    using Presence = std::function<bool(const QString& port)>;

    // present: whether a port is there (SerialPortPresent by default).
    explicit ReconnectWatch(Presence present = {}, QObject* parent = nullptr);

    void Start(const QString& port);
    void Stop();
    bool IsWatching() const { return m_timer.isActive(); }
    QString Port() const { return m_port; }

signals:
    void SIG_PortBack(const QString& port);

private:
    void check();

    Presence m_present;
    QTimer m_timer;
    QString m_port;
};

#endif // RECONNECTWATCH_H
