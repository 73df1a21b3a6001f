#ifndef PORTROW_H
#define PORTROW_H

#include <QString>
#include <QStringList>

#include <functional>

#include "app/reconnectwatch.h"

class QCheckBox;
class QLineEdit;
class QProtocole;
class QPushButton;
class QWidget;
class PortComboBox;

// The port row: the port chooser, the connect button, the link status field and
// the automatic reconnection of a lost port.
class PortRow
{
public:
    using PortLister = std::function<QStringList()>;

    // extraPort is listed first (--port, or the emulator's pseudo-terminal), then
    // lastPort when the system still lists it; ports lists the system's ports.
    PortRow(QWidget* form, QProtocole& link, QString extraPort, const QString& lastPort = QString(),
            PortLister ports = {});

    // BTN_Serial: opens the chosen port, or closes the open one; during a
    // reconnection watch it gives the lost port up.
    void ConnectClicked();
    // BTN_ComReaderFind: lists the ports again; the link stays as it is.
    void PortsFind();
    // SIG_ComStatus: the text, green while connected, red otherwise.
    void StatusShow(const QString& text);
    // SIG_PortLost: with CKB_AutoReconnect on, waits for the port to come back and reopens it.
    void PortLost(const QString& port, bool wasPolling);

    // The last port the system lists that opened successfully (or the one given at construction).
    QString LastPort() const { return m_lastPort; }
    bool Watching() const { return m_watch.IsWatching(); }

    // Called once a lost port is open again if polling was on when it went.
    std::function<void()> PollingResume;

private:
    void portsRefill();
    void portBack(const QString& port);
    // The operator takes over from the watch: it stops and the link is told to close.
    void watchAbandon();

    QProtocole& m_link;
    QString m_extraPort;
    QString m_lastPort;
    PortLister m_systemPorts;
    PortComboBox* m_ports;
    QPushButton* m_connect;
    QLineEdit* m_status;
    QCheckBox* m_autoReconnect;
    ReconnectWatch m_watch;
    bool m_resumePolling = false;
    bool m_attempting = false;
};

#endif // PORTROW_H
