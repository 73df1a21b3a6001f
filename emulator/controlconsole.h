#ifndef CONTROLCONSOLE_H
#define CONTROLCONSOLE_H

#include <QObject>
#include <QStringList>

class EmulatorSession;
class QSocketNotifier;

// Operator commands, one a line on standard input; every answer ends with "OK" or "ERR ...".
class ControlConsole : public QObject
{
    Q_OBJECT
public:
    explicit ControlConsole(EmulatorSession* session, QObject* parent = nullptr);
    // Runs one command line and returns the answer lines.
    QStringList execute(const QString& line);

signals:
    void quitRequested();

private:
    void onReadable();
    void onLine(const QString& line);

    EmulatorSession* m_session;
    QSocketNotifier* m_notifier;
    QByteArray m_buffer;
};

#endif // CONTROLCONSOLE_H
