#ifndef EMULATORLAUNCHER_H
#define EMULATORLAUNCHER_H

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs korvel-reader-emulator for the demo mode (--emulator), the benchmark and the
// end-to-end tests: starts it, reads the "PORT <path>" line it prints first, and ends
// it when destroyed. Start() blocks for a bounded time and is meant for start-up,
// before the window exists. Errors come back as French texts the caller shows to the
// operator.
class EmulatorLauncher
{
public:
    static constexpr int DefaultTimeoutMs = 10000;

    EmulatorLauncher();
    ~EmulatorLauncher();
    EmulatorLauncher(const EmulatorLauncher&) = delete;
    EmulatorLauncher& operator=(const EmulatorLauncher&) = delete;

    // The emulator's executable: in programDir itself (installed: both programs in one
    // bin folder), else in programDir/../emulator (build tree: build/src/korvelmanager
    // and build/emulator/korvel-reader-emulator). Empty when neither exists.
    static QString FindEmulator(const QString& programDir);
    // The user's data folder of the program, created: the demo mode keeps the emulator's
    // state and the site's files there. It does not depend on the organisation name.
    static QString DataFolder(QString* error);
    // Where the emulator keeps its parameters, files and cards between runs:
    // emulator-state.json in DataFolder().
    static QString DefaultStatePath(QString* error);
    // True when a window can be shown (X11 or Wayland display, not the offscreen platform).
    static bool DisplayAvailable();

    // Demo mode: the emulator beside this program, with its window when there is a
    // display and its state file in the user's data folder.
    bool Start(QString* error);
    // Starts executable with arguments and waits at most timeoutMs for its PORT line.
    bool Start(const QString& executable, const QStringList& arguments, QString* error,
               int timeoutMs = DefaultTimeoutMs);
    // Where the emulator's log (its standard error) goes from the next start on: a file, or
    // QProcess::nullDevice(). Empty, the default: on to this program's standard error.
    void SetLogFile(const QString& path) { m_logFile = path; }

    bool IsRunning() const;
    // The pseudo-terminal (or device) to open as the serial port; empty until started.
    QString PortName() const;
    qint64 ProcessId() const;

    // One line on the emulator's control input; the lines it answers, without the final
    // "OK" (an "ERR ..." line comes last). Waits at most timeoutMs for each line.
    QStringList Command(const QString& line, int timeoutMs = DefaultTimeoutMs);

    // Asks the emulator to save its state and quit, then terminates and at last kills
    // it, each step with a bounded wait. Called by the destructor.
    void Stop();
    // Ends it at once, with no goodbye, as a pulled adapter would.
    void Kill();

private:
    QString collectedErrors();
    QString readLine(int timeoutMs);

    // On Linux the emulator is told to end when this program dies, killed or crashed:
    // otherwise it would go on holding its pseudo-terminal with nobody to stop it.
    static void EndWithParent(qint64 parentPid);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    class Process : public QProcess
    {
    protected:
        void setupChildProcess() override;

    private:
        const qint64 m_parentPid = QCoreApplication::applicationPid();
    };
#else
    // Qt 6 takes the child's set-up as a function (setChildProcessModifier).
    using Process = QProcess;
#endif

    Process m_process;
    QString m_portName;
    QString m_logFile;
    // While a command waits for its answer, standard output is read by it, not dropped.
    bool m_commandRunning = false;
};

#endif // EMULATORLAUNCHER_H
