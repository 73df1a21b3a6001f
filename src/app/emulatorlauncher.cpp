#include "app/emulatorlauncher.h"

#include "app/applog.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

#include <cstdio>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace {
constexpr int QuitWaitMs = 5000;
constexpr int KillWaitMs = 3000;
constexpr char DataFolderName[] = "korvelmanager";

QString executableName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("korvel-reader-emulator.exe");
#else
    return QStringLiteral("korvel-reader-emulator");
#endif
}

QStringList searchFolders(const QString& programDir)
{
    return {QDir::cleanPath(programDir), QDir::cleanPath(programDir + "/../emulator")};
}

bool headlessPlatform(const QString& name)
{
    return name.startsWith("offscreen") || name.startsWith("minimal");
}
} // namespace

void EmulatorLauncher::EndWithParent([[maybe_unused]] qint64 parentPid)
{
#ifdef Q_OS_LINUX
    // Runs in the child between fork and exec. A parent already gone before the call
    // would never send the signal: then the child ends at once.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parentPid)
        ::_exit(1);
#endif
}

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
void EmulatorLauncher::Process::setupChildProcess()
{
    EndWithParent(m_parentPid);
}

EmulatorLauncher::EmulatorLauncher() = default;
#else
EmulatorLauncher::EmulatorLauncher()
{
    m_process.setChildProcessModifier(
        [parentPid = QCoreApplication::applicationPid()] { EndWithParent(parentPid); });
}
#endif

EmulatorLauncher::~EmulatorLauncher()
{
    Stop();
}

QString EmulatorLauncher::FindEmulator(const QString& programDir)
{
    for (const QString& folder : searchFolders(programDir)) {
        const QFileInfo info(QDir(folder).filePath(executableName()));
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QString();
}

QString EmulatorLauncher::DataFolder(QString* error)
{
    // AppDataLocation would move with the organisation name the settings need.
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = generic.isEmpty() ? QString() : QDir(generic).filePath(DataFolderName);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        if (error)
            *error =
                QCoreApplication::translate("EmulatorLauncher", "Dossier de données %1 impossible à créer")
                    .arg(folder);
        return QString();
    }
    return folder;
}

QString EmulatorLauncher::DefaultStatePath(QString* error)
{
    const QString folder = DataFolder(error);
    return folder.isEmpty() ? QString() : QDir(folder).filePath("emulator-state.json");
}

bool EmulatorLauncher::DisplayAvailable()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        headlessPlatform(QGuiApplication::platformName()))
        return false;
    if (headlessPlatform(QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM"))))
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

bool EmulatorLauncher::Start(QString* error)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString executable = FindEmulator(programDir);
    if (executable.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("EmulatorLauncher",
                                                 "Simulateur de lecteur introuvable : %1 n'est pas dans %2.")
                         .arg(executableName(), searchFolders(programDir).join(" ni dans "));
        return false;
    }
    QStringList arguments;
    if (DisplayAvailable())
        arguments << "--gui";
    QString stateError;
    const QString statePath = DefaultStatePath(&stateError);
    if (statePath.isEmpty())
        qCWarning(lcApp, "%s: the emulator keeps no state", qUtf8Printable(stateError));
    else
        arguments << "--state" << statePath;
    return Start(executable, arguments, error);
}

bool EmulatorLauncher::Start(const QString& executable, const QStringList& arguments, QString* error,
                             int timeoutMs)
{
    Stop();
    auto failWith = [this, error](const QString& text) {
        if (error)
            *error = text;
        Stop();
        return false;
    };

    m_process.setProgram(executable);
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(m_logFile);
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs))
        return failWith(QCoreApplication::translate("EmulatorLauncher",
                                                    "Impossible de démarrer le simulateur de lecteur %1 : %2")
                            .arg(executable, m_process.errorString()));

    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine() && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            break;
    }
    const QString first =
        m_process.canReadLine() ? QString::fromLocal8Bit(m_process.readLine()).trimmed() : QString();
    if (!first.startsWith("PORT ") || first.mid(5).trimmed().isEmpty()) {
        QString text;
        if (m_process.state() == QProcess::NotRunning)
            text = QCoreApplication::translate(
                       "EmulatorLauncher", "Le simulateur de lecteur s'est arrêté au démarrage (code %1).")
                       .arg(m_process.exitCode());
        else if (!first.isEmpty())
            text = QCoreApplication::translate(
                       "EmulatorLauncher",
                       "Le simulateur de lecteur n'a pas indiqué son port (première ligne : « %1 »).")
                       .arg(first.left(80));
        else
            text = QCoreApplication::translate(
                       "EmulatorLauncher", "Le simulateur de lecteur n'a pas indiqué son port dans les %1 s.")
                       .arg((timeoutMs + 999) / 1000);
        const QString details = collectedErrors();
        return failWith(details.isEmpty() ? text : text + "\n" + details);
    }
    m_portName = first.mid(5).trimmed();

    // Left unread, its output would pile up in memory for as long as the program runs:
    // answers on standard output are not needed but by Command(), its log goes on to ours.
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] {
        if (!m_commandRunning)
            m_process.readAllStandardOutput();
    });
    QObject::connect(&m_process, &QProcess::readyReadStandardError, &m_process, [this] {
        const QByteArray log = m_process.readAllStandardError();
        std::fwrite(log.constData(), 1, static_cast<size_t>(log.size()), stderr);
    });
    return true;
}

QStringList EmulatorLauncher::Command(const QString& line, int timeoutMs)
{
    QStringList lines;
    if (!IsRunning())
        return lines;
    m_commandRunning = true;
    m_process.write(line.toUtf8() + '\n');
    for (;;) {
        const QString answer = readLine(timeoutMs);
        if (answer.isNull() || answer == "OK")
            break;
        lines << answer;
        if (answer.startsWith("ERR"))
            break;
    }
    m_commandRunning = false;
    return lines;
}

QString EmulatorLauncher::readLine(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine() && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            break;
    }
    if (!m_process.canReadLine())
        return QString();
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

QString EmulatorLauncher::collectedErrors()
{
    return QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
}

bool EmulatorLauncher::IsRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

QString EmulatorLauncher::PortName() const
{
    return m_portName;
}

qint64 EmulatorLauncher::ProcessId() const
{
    return m_process.processId();
}

void EmulatorLauncher::Stop()
{
    QObject::disconnect(&m_process, nullptr, &m_process, nullptr);
    m_portName.clear();
    if (m_process.state() == QProcess::NotRunning)
        return;
    if (m_process.state() == QProcess::Running) {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        if (m_process.waitForFinished(QuitWaitMs))
            return;
        m_process.terminate();
        if (m_process.waitForFinished(KillWaitMs))
            return;
    }
    m_process.kill();
    m_process.waitForFinished(KillWaitMs);
}

void EmulatorLauncher::Kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(KillWaitMs);
    }
    Stop();
}
