#ifndef PORTLIST_H
#define PORTLIST_H

#include <QString>
#include <QStringList>

// The names COMB_Serial shows: the extra port (from --port or the emulator's
// pseudo-terminal, which the system never lists) first, so that the automatic
// connection at start-up opens it, then the system's ports in their order.
// A system port naming the same device as the extra one is not listed twice.
QStringList SerialPortChoices(const QStringList& systemPorts, const QString& extraPort);

// QSerialPortInfo::availablePorts()' port names, in the order given.
QStringList SystemSerialPorts();

#endif // PORTLIST_H
