#ifndef PORTROW_H
#define PORTROW_H

#include <QString>

class QComboBox;
class QLineEdit;
class QProtocole;
class QPushButton;
class QWidget;

// The port row: the port chooser, the connect button and the link status field.
class PortRow
{
public:
    // extraPort is listed first (--port, or the emulator's pseudo-terminal).
    PortRow(QWidget* form, QProtocole& link, QString extraPort);

    // BTN_Serial: opens the chosen port, or closes the open one.
    void ConnectClicked();
    // BTN_ComReaderFind: lists the ports again; the link stays as it is.
    void PortsFind();
    // SIG_ComStatus: the text, green while connected, red otherwise.
    void StatusShow(const QString& text);

private:
    void portsList();

    QProtocole& m_link;
    QString m_extraPort;
    QComboBox* m_ports;
    QPushButton* m_connect;
    QLineEdit* m_status;
};

#endif // PORTROW_H
