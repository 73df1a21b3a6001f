#ifndef PORTLIST_H
#define PORTLIST_H

#include <QString>
#include <QStringList>

// The names COMB_Serial shows: the extra port (from --port or the emulator's
// pseudo-terminal, which the system never lists) first, so that the automatic
// connection at start-up opens it, then the preferred one (the last port opened,
// or the current choice when the list is refilled), then the system's ports in
// their order. A port naming the same device as one before it is not listed twice.
QStringList SerialPortChoices(const QStringList& systemPorts, const QString& extraPort,
                              const QString& preferred = QString());

// True when systemPorts holds name's device.
bool SerialPortListed(const QStringList& systemPorts, const QString& name);

// True when the port is there to be opened: a device path or symlink (--port, the
// emulator's --link, /dev/serial/by-id/...) resolves, a system name is listed.
bool SerialPortPresent(const QString& name);

// QSerialPortInfo::availablePorts()' port names, in the order given.
QStringList SystemSerialPorts();

#endif // PORTLIST_H
