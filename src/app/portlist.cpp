#include "app/portlist.h"

#include <QFileInfo>
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

bool listedAmong(const QStringList& names, const QString& name)
{
    for (const QString& listed : names) {
        if (sameDevice(listed, name) || sameDevice(name, listed))
            return true;
    }
    return false;
}
} // namespace

QStringList SerialPortChoices(const QStringList& systemPorts, const QString& extraPort,
                              const QString& preferred)
{
    QStringList choices;
    for (const QString& first : {extraPort.trimmed(), preferred.trimmed()}) {
        if (!first.isEmpty() && !listedAmong(choices, first))
            choices << first;
    }
    for (const QString& name : systemPorts) {
        if (!listedAmong(choices, name))
            choices << name;
    }
    return choices;
}

bool SerialPortListed(const QStringList& systemPorts, const QString& name)
{
    return !name.isEmpty() && listedAmong(systemPorts, name);
}

bool SerialPortPresent(const QString& name)
{
    if (name.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    // A stat, not a scan of every port: the watch looks twice a second. A dangling
    // symlink (the emulator killed) is not there.
    return QFileInfo::exists(name.contains('/') ? name : "/dev/" + name);
#else
    return SerialPortListed(SystemSerialPorts(), name);
#endif
}

QStringList SystemSerialPorts()
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    return names;
}
