#include "app/reconnectwatch.h"

#include "app/applog.h"
#include "app/portlist.h"

ReconnectWatch::ReconnectWatch(Presence present, QObject* parent)
    : QObject(parent), m_present(present ? std::move(present) : Presence(SerialPortPresent))
{
    m_timer.setInterval(CheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ReconnectWatch::check);
}

void ReconnectWatch::Start(const QString& port)
{
    qCDebug(lcApp, "waiting for %s to come back", qUtf8Printable(port));
    m_port = port;
    // Not at once: the port has only just gone, and a device node may linger a moment.
    m_timer.start();
}

void ReconnectWatch::Stop()
{
    m_timer.stop();
}

void ReconnectWatch::check()
{
    if (m_present(m_port))
        emit SIG_PortBack(m_port);
}
