#include "app/portrow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/applog.h"
#include "app/portcombobox.h"
#include "app/portlist.h"
#include "app/textcolorset.h"
#include "commun/formwidget.h"
#include "link/qprotocole.h"

PortRow::PortRow(QWidget* form, QProtocole& link, QString extraPort, const QString& lastPort,
                 PortLister ports)
    : m_link(link), m_extraPort(std::move(extraPort)), m_lastPort(lastPort),
      m_systemPorts(ports ? std::move(ports) : PortLister(SystemSerialPorts)),
      m_ports(FormWidget<PortComboBox>(form, "COMB_Serial")),
      m_connect(FormWidget<QPushButton>(form, "BTN_Serial")),
      m_status(FormWidget<QLineEdit>(form, "LINEEDIT_Com")),
      m_autoReconnect(FormWidget<QCheckBox>(form, "CKB_AutoReconnect"))
{
    const QStringList system = m_systemPorts();
    // A last port that has gone is not chosen for the start-up connection.
    const QString last = SerialPortListed(system, lastPort) ? lastPort : QString();
    m_ports->addItems(SerialPortChoices(system, m_extraPort, last));

    QObject::connect(m_ports, &PortComboBox::SIG_PopupAboutToShow, m_ports, [this] { portsRefill(); });
    QObject::connect(m_ports, QOverload<int>::of(&QComboBox::activated), m_ports, [this](int index) {
        if (m_watch.IsWatching() && m_ports->itemText(index) != m_watch.Port())
            watchAbandon();
    });
    QObject::connect(m_autoReconnect, &QCheckBox::toggled, m_autoReconnect, [this](bool on) {
        if (!on && m_watch.IsWatching())
            watchAbandon();
    });
    QObject::connect(&m_watch, &ReconnectWatch::SIG_PortBack, &m_watch,
                     [this](const QString& port) { portBack(port); });
}

void PortRow::ConnectClicked()
{
    if (m_watch.IsWatching()) {
        watchAbandon();
        return;
    }
    m_link.SetPortName(m_ports->currentText());
    qCDebug(lcApp, "BTN_Seriel->Click");
    m_link.SetConnectionRequest(m_link.Connected ? QProtocole::CONNECTION_CLOSE
                                                 : QProtocole::CONNECTION_OPEN);
}

void PortRow::PortsFind()
{
    m_ports->clear();
    m_ports->addItems(SerialPortChoices(m_systemPorts(), m_extraPort));
}

// The list as it is when the operator opens it; the current choice stays, even gone.
void PortRow::portsRefill()
{
    const QString current = m_ports->currentText();
    const QSignalBlocker blocker(m_ports);
    m_ports->clear();
    m_ports->addItems(SerialPortChoices(m_systemPorts(), m_extraPort, current));
    m_ports->setCurrentIndex(qMax(0, m_ports->findText(current)));
}

void PortRow::StatusShow(const QString& text)
{
    const bool connected = m_link.Connected;
    bool reconnected = false;
    if (m_watch.IsWatching()) {
        m_attempting = false;
        // An attempt that failed: the watch goes on, the reason is at hand.
        if (!connected) {
            m_status->setToolTip(text);
            return;
        }
        m_watch.Stop();
        reconnected = true;
    }
    m_status->setToolTip(QString());
    m_status->setText(text);
    if (connected) {
        // A pseudo-terminal or symlink is listed first only when given again, so
        // remembering it would only forget the operator's real port.
        if (SerialPortListed(m_systemPorts(), m_link.PortName()))
            m_lastPort = m_link.PortName();
        TextColorSet(Qt::green, m_status);
        m_connect->setText(QCoreApplication::translate("PortRow", "Deconnecter"));
    } else {
        TextColorSet(Qt::red, m_status);
        m_connect->setText(QCoreApplication::translate("PortRow", "Connecter"));
    }
    if (reconnected && m_resumePolling && PollingResume)
        PollingResume();
}

void PortRow::PortLost(const QString& port, bool wasPolling)
{
    if (!m_autoReconnect->isChecked() || port.isEmpty())
        return;
    m_resumePolling = wasPolling;
    m_attempting = false;
    m_watch.Start(port);
    m_status->setText(QCoreApplication::translate("PortRow", "Reconnexion..."));
    TextColorSet(Qt::red, m_status);
    m_connect->setText(QCoreApplication::translate("PortRow", "Deconnecter"));
}

void PortRow::portBack(const QString& port)
{
    // One attempt at a time: the link answers each with a status text, and an open
    // under way is neither connected nor requested any more.
    if (m_attempting || m_link.Connected || m_link.ConnectionRequest != QProtocole::CONNECTION_NONE)
        return;
    m_attempting = true;
    qCDebug(lcApp, "%s is back: reopening", qUtf8Printable(port));
    m_link.SetPortName(port);
    m_link.SetConnectionRequest(QProtocole::CONNECTION_OPEN);
}

void PortRow::watchAbandon()
{
    m_watch.Stop();
    m_attempting = false;
    // A close on a closed link only reports "Fermé" and the link state.
    m_link.SetConnectionRequest(QProtocole::CONNECTION_CLOSE);
}
