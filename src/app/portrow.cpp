#include "app/portrow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/applog.h"
#include "app/portlist.h"
#include "app/textcolorset.h"
#include "commun/formwidget.h"
#include "link/qprotocole.h"

PortRow::PortRow(QWidget* form, QProtocole& link, QString extraPort)
    : m_link(link), m_extraPort(std::move(extraPort)), m_ports(FormWidget<QComboBox>(form, "COMB_Serial")),
      m_connect(FormWidget<QPushButton>(form, "BTN_Serial")),
      m_status(FormWidget<QLineEdit>(form, "LINEEDIT_Com"))
{
    portsList();
}

void PortRow::ConnectClicked()
{
    m_link.SetPortName(m_ports->currentText());
    qCDebug(lcApp, "BTN_Seriel->Click");
    m_link.SetConnectionRequest(m_link.Connected ? QProtocole::CONNECTION_CLOSE
                                                 : QProtocole::CONNECTION_OPEN);
}

void PortRow::PortsFind()
{
    m_ports->clear();
    portsList();
}

void PortRow::portsList()
{
    for (const QString& name : SerialPortChoices(SystemSerialPorts(), m_extraPort))
        m_ports->addItem(QIcon(), name);
}

void PortRow::StatusShow(const QString& text)
{
    m_status->setText(text);
    if (m_link.Connected) {
        TextColorSet(Qt::green, m_status);
        m_connect->setText(QStringLiteral("Deconnecter"));
    } else {
        TextColorSet(Qt::red, m_status);
        m_connect->setText(QStringLiteral("Connecter"));
    }
}
