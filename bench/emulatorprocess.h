#ifndef EMULATORPROCESS_H
#define EMULATORPROCESS_H

#include <QProcess>
#include <QString>
#include <QStringList>

// The reader emulator as a child process: started with the given options,
// its pseudo-terminal read from the "PORT <path>" line it prints first.
class EmulatorProcess
{
public:
    ~EmulatorProcess();

    bool Start(const QStringList& arguments, QString* error);
    QString PortPath() const { return m_portPath; }
    // "quit" on its input, then a kill if it lingers.
    void Stop();

private:
    QProcess m_process;
    QString m_portPath;
};

#endif // EMULATORPROCESS_H
