#include "emulatorprocess.h"

EmulatorProcess::~EmulatorProcess()
{
    Stop();
}

bool EmulatorProcess::Start(const QStringList& arguments, QString* error)
{
    // Its log would fill a pipe nobody reads and cost this process the reading.
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(QStringLiteral(KORVEL_EMULATOR_PATH), arguments);
    if (!m_process.waitForStarted(10000)) {
        *error = QStringLiteral("emulator did not start: ") + m_process.errorString();
        return false;
    }
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000)) {
            *error = QStringLiteral("emulator printed no PORT line");
            return false;
        }
    }
    const QString first = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (!first.startsWith(QLatin1String("PORT "))) {
        *error = QStringLiteral("unexpected first line from the emulator: ") + first;
        return false;
    }
    m_portPath = first.mid(5);
    return true;
}

void EmulatorProcess::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("quit\n");
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
