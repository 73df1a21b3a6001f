#include "app/portlist.h"

#include <QSerialPortInfo>

namespace {
// On Linux the system lists "ttyUSB0" for the device "/dev/ttyUSB0"; QSerialPort opens either.
bool sameDevice(const QString& systemPort, const QString& extraPort)
{
    if (systemPort == extraPort)
        return true;
#ifdef Q_OS_UNIX
    return extraPort == "/dev/" + systemPort;
#else
    return systemPort.compare(extraPort, Qt::CaseInsensitive) == 0;
#endif
}
} // namespace

QStringList SerialPortChoices(const QStringList& systemPorts, const QString& extraPort)
{
    const QString extra = extraPort.trimmed();
    QStringList choices;
    if (!extra.isEmpty())
        choices << extra;
    for (const QString& name : systemPorts) {
        if (extra.isEmpty() || !sameDevice(name, extra))
            choices << name;
    }
    return choices;
}

QStringList SystemSerialPorts()
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    return names;
}
