// korvelbench: how close the program's exchanges come to the 9600 baud line,
// what it costs while idle, how fast the window starts and how fast the big
// files load and save. Run through scripts/bench (Release build).

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

#include "app/emulatorlauncher.h"
#include "benchreport.h"
#include "benchrig.h"
#include "chainscenarios.h"
#include "filescenarios.h"
#include "reconnectscenario.h"
#include "windowscenario.h"

namespace {
constexpr int DefaultIdleSeconds = 10;
constexpr int DefaultRepeat = 3;
// Returns of a lost port: each lands at a random moment of the watch's period.
constexpr int ReconnectRuns = 10;
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("KorvelManager benchmark"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("idle-seconds"), QStringLiteral("Length of each idle measurement."),
                      QStringLiteral("s"), QString::number(DefaultIdleSeconds)});
    parser.addOption({QStringLiteral("repeat"),
                      QStringLiteral("Runs of each chain (and of its replay); the fastest is kept."),
                      QStringLiteral("n"), QString::number(DefaultRepeat)});
    parser.addOption(
        {QStringLiteral("only"),
         QStringLiteral("Runs only these parts (comma-separated): window, reconnect, params, blacklist, "
                        "card, files."),
         QStringLiteral("parts")});
    parser.process(app);
    const QStringList only = parser.value(QStringLiteral("only")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const auto wanted = [&only](const char* part) {
        return only.isEmpty() || only.contains(QLatin1String(part));
    };
    const int idleSeconds = qMax(1, parser.value(QStringLiteral("idle-seconds")).toInt());
    const int repeat = qMax(1, parser.value(QStringLiteral("repeat")).toInt());

    EmulatorLauncher emulator;
    QString error;
    if (!EmulatorStart(&emulator, &error)) {
        std::fprintf(stderr, "korvelbench: %s\n", qPrintable(error));
        std::printf("korvelbench: %s\n", qPrintable(error));
        return 2;
    }

    BenchReport report;
    // The window first: its figure is the cold start the operator waits for.
    if (wanted("window"))
        WindowAndIdle(report, emulator.PortName(), idleSeconds);
    if (wanted("reconnect"))
        Reconnect(report, idleSeconds, ReconnectRuns);
    if (wanted("params"))
        ParameterRead(report, emulator.PortName(), repeat);
    if (wanted("blacklist"))
        BlacklistUpload(report, emulator.PortName(), repeat);
    if (wanted("card"))
        CardRead(report, emulator, repeat);
    if (wanted("files")) {
        BlacklistFile(report);
        ConfigIni(report);
    }
    emulator.Stop();

    report.Print();
    return report.AllTargetsHold() ? 0 : 1;
}
