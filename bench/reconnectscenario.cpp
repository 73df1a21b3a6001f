#include "reconnectscenario.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

#include "app/emulatorlauncher.h"
#include "app/mainwindow.h"
#include "app/reconnectwatch.h"
#include "benchreport.h"
#include "benchrig.h"

namespace {
constexpr double IdleCpuLimit = 0.5;
constexpr double ReopenLimitMs = 1000;
// Lets the loss's signals die down before idling is measured.
constexpr int SettleMs = 1000;

// The port "comes back" when the symlink the window opened appears again; the emulator
// behind it is started first, so its start-up (which blocks this thread) is not counted,
// and the symlink appears at a random moment of the watch's period.
class LinkedEmulator
{
public:
    explicit LinkedEmulator(QString link) : m_link(std::move(link)) {}

    bool Start(QString* error)
    {
        m_emulator.SetLogFile(QProcess::nullDevice());
        QFile::remove(m_link);
        return m_emulator.Start(QStringLiteral(KORVEL_EMULATOR_PATH), {QStringLiteral("--pace")}, error);
    }
    bool Link() { return QFile::link(m_emulator.PortName(), m_link); }
    void Kill() { m_emulator.Kill(); }

private:
    QString m_link;
    EmulatorLauncher m_emulator;
};

bool Shows(QLineEdit* com, const char* text, int maxMs = SetupBoundMs)
{
    return RunUntil([com, text] { return com->text() == QLatin1String(text); }, maxMs);
}

// One return of the port: from the symlink's appearance to "Ouvert", in ms, or -1.
double ReopenMs(LinkedEmulator& emulator, QLineEdit* com)
{
    QString error;
    if (!emulator.Start(&error))
        return -1;
    RunFor(QRandomGenerator::global()->bounded(ReconnectWatch::CheckIntervalMs));
    QElapsedTimer timer;
    double openedMs = -1;
    const auto connection = QObject::connect(com, &QLineEdit::textChanged, com, [&](const QString& text) {
        if (text == QLatin1String("Ouvert") && openedMs < 0)
            openedMs = ElapsedMs(timer);
    });
    timer.start();
    const bool linked = emulator.Link();
    RunUntil([&openedMs] { return openedMs >= 0; }, SetupBoundMs);
    QObject::disconnect(connection);
    return linked ? openedMs : -1;
}
} // namespace

void Reconnect(BenchReport& report, int idleSeconds, int repeat)
{
    Progress("reconnection");
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString link = dir.filePath(QStringLiteral("ttyKORVEL"));
    LinkedEmulator emulator(link);
    QString error;
    if (!emulator.Start(&error) || !emulator.Link()) {
        report.AddFailure(QStringLiteral("reconnect_time_max"), QStringLiteral("ms"), error);
        QDir::setCurrent(previous);
        return;
    }
    auto window = std::make_unique<MainWindow>(link);
    window->show();
    auto* com = window->findChild<QLineEdit*>(QStringLiteral("LINEEDIT_Com"));
    double worst = -1;
    double total = 0;
    int runs = 0;
    if (Shows(com, "Ouvert")) {
        emulator.Kill();
        if (Shows(com, "Reconnexion...")) {
            RunFor(SettleMs);
            Progress("idle, watching for the lost port");
            report.AddTarget(QStringLiteral("idle_cpu_watching"), IdleCpuPercent(idleSeconds),
                             QStringLiteral("%"), IdleCpuLimit);
        }
        for (; runs < repeat; ++runs) {
            const double ms = ReopenMs(emulator, com);
            if (ms < 0)
                break;
            worst = std::max(worst, ms);
            total += ms;
            emulator.Kill();
            if (!Shows(com, "Reconnexion..."))
                break;
        }
    }
    if (runs == repeat && repeat > 0) {
        report.Add(QStringLiteral("reconnect_time_mean"), total / runs, QStringLiteral("ms"));
        report.AddTarget(QStringLiteral("reconnect_time_max"), worst, QStringLiteral("ms"), ReopenLimitMs);
    } else {
        report.AddFailure(QStringLiteral("reconnect_time_max"), QStringLiteral("ms"), com->text());
    }
    window.reset();
    QDir::setCurrent(previous);
}
