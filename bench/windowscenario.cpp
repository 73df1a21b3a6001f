#include "windowscenario.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/mainwindow.h"
#include "benchreport.h"
#include "benchrig.h"
#include "link/qprotocole.h"

namespace {
constexpr double IdleCpuLimit = 0.5;
constexpr double WindowLimitMs = 300;
// Lets what a connection change started die down before idling is measured.
constexpr int SettleMs = 1000;

// Quits a loop at the first paint of the watched widget.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QEventLoop* loop) : m_loop(loop) {}
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            m_loop->quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop* m_loop;
};

// Builds the window and reports how long it took to be seen.
MainWindow* WindowReady(BenchReport& report)
{
    QEventLoop paintLoop;
    FirstPaint firstPaint(&paintLoop);
    QElapsedTimer timer;
    timer.start();
    auto* window = new MainWindow;
    const double constructed = ElapsedMs(timer);
    window->installEventFilter(&firstPaint);
    window->show();
    QTimer::singleShot(SetupBoundMs, &paintLoop, &QEventLoop::quit);
    if (!firstPaint.painted)
        paintLoop.exec();
    const double shown = ElapsedMs(timer);
    window->removeEventFilter(&firstPaint);
    report.Add(QStringLiteral("window_constructed"), constructed, QStringLiteral("ms"));
    if (firstPaint.painted)
        report.AddTarget(QStringLiteral("window_ready"), shown, QStringLiteral("ms"), WindowLimitMs);
    else
        report.AddFailure(QStringLiteral("window_ready"), QStringLiteral("ms"),
                          QStringLiteral("never painted"));
    return window;
}

// The process's CPU while the window idles, its port closed, then open on port.
void IdleFigures(BenchReport& report, MainWindow* window, const QString& port, int idleSeconds)
{
    auto* combo = window->findChild<QComboBox*>(QStringLiteral("COMB_Serial"));
    auto* com = window->findChild<QLineEdit*>(QStringLiteral("LINEEDIT_Com"));
    auto* connectButton = window->findChild<QPushButton*>(QStringLiteral("BTN_Serial"));
    QProtocole& link = window->Protocole();
    // Whatever the start-up request opened, the closed state comes first.
    if (combo->count() > 0)
        RunUntil([com] { return !com->text().isEmpty(); }, SetupBoundMs);
    if (link.Connected) {
        connectButton->click();
        RunUntil([&link] { return !link.Connected; }, SetupBoundMs);
    }
    RunFor(SettleMs);
    Progress("idle, port closed");
    report.AddTarget(QStringLiteral("idle_cpu_port_closed"), IdleCpuPercent(idleSeconds), QStringLiteral("%"),
                     IdleCpuLimit);

    combo->addItem(port);
    combo->setCurrentIndex(combo->count() - 1);
    connectButton->click();
    if (!RunUntil([&] { return link.Connected && com->text() == QLatin1String("Ouvert"); }, SetupBoundMs)) {
        report.AddFailure(QStringLiteral("idle_cpu_port_open"), QStringLiteral("%"),
                          QStringLiteral("no link"));
    } else {
        link.SetPollingWanted(false);
        RunFor(SettleMs);
        Progress("idle, port open");
        report.AddTarget(QStringLiteral("idle_cpu_port_open"), IdleCpuPercent(idleSeconds),
                         QStringLiteral("%"), IdleCpuLimit);
        connectButton->click();
        RunUntil([&link] { return !link.Connected; }, SetupBoundMs);
    }
}
} // namespace

void WindowAndIdle(BenchReport& report, const QString& port, int idleSeconds)
{
    Progress("window construction");
    // The window opens config.ini in the working directory and the first
    // listed port at once: keep both away from the user's.
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    MainWindow* window = WindowReady(report);
    IdleFigures(report, window, port, idleSeconds);
    delete window;
    QDir::setCurrent(previous);
}
