#include <QApplication>
#include <QCoreApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "app/applog.h"
#include "app/commandline.h"
#include "app/demosite.h"
#include "app/emulatorlauncher.h"
#include "app/frametracewriter.h"
#include "app/mainwindow.h"
#include "app/translations.h"

namespace {
// Help, version and errors end the program here, with their exit code; -1 when it runs.
int CommandLineExitCode(const CommandLineResult& command)
{
    switch (command.action) {
    case CommandLineResult::Action::Help:
    case CommandLineResult::Action::Version:
        std::fputs(qUtf8Printable(command.text), stdout);
        return 0;
    case CommandLineResult::Action::Error:
        std::fputs(qUtf8Printable(command.text), stderr);
        return 1;
    case CommandLineResult::Action::Run:
        break;
    }
    return -1;
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // QSettings keeps the session under these names, in the platform's usual place.
    QCoreApplication::setOrganizationName(QStringLiteral("Korvel"));
    QCoreApplication::setApplicationName(QStringLiteral("korvelmanager"));
    CommandLineResult command = ParseCommandLine(QApplication::arguments());
    const SessionSettings session = SessionSettings::ForProgram(command.options.noSettings);
    const QString language =
        UiLanguageChoose(command.options.language, session.Load(0).language, QLocale::system().uiLanguages());
    if (!UiLanguageInstall(language))
        qCWarning(lcApp, "the %s translation could not be loaded", qUtf8Printable(language));
    // Again, for the help and error texts in the chosen language.
    command = ParseCommandLine(QApplication::arguments());
    if (const int code = CommandLineExitCode(command); code >= 0)
        return code;
    const CommandLineOptions& options = command.options;

    WindowSetup setup;
    setup.session = session;
    setup.extraPort = options.port;
    // Declared before the window: it ends after the window has closed the port.
    EmulatorLauncher emulator;
    // The demo's site files when the data folder cannot be made: gone at the end, but
    // never left in the folder the program was started from.
    std::unique_ptr<QTemporaryDir> demoFallback;
    if (options.emulator) {
        QString error;
        if (!emulator.Start(&error)) {
            QMessageBox::critical(nullptr, QCoreApplication::translate("main", "Erreur"), error);
            return 1;
        }
        setup.extraPort = emulator.PortName();
        setup.siteFolder = EmulatorLauncher::DataFolder(&error);
        if (setup.siteFolder.isEmpty()) {
            qCWarning(lcApp, "%s: the demo's site files are temporary", qUtf8Printable(error));
            demoFallback = std::make_unique<QTemporaryDir>();
            setup.siteFolder = demoFallback->path();
        }
        if (!DemoSitePrepare(setup.siteFolder, &error))
            qCWarning(lcApp, "%s", qUtf8Printable(error));
    }

    if (!options.tracePath.isEmpty()) {
        auto writer = std::make_shared<FrameTraceWriter>(options.tracePath);
        if (writer->IsOpen())
            setup.frameTrace = FrameTraceWriter::Sink(writer);
        else
            QMessageBox::warning(nullptr, QCoreApplication::translate("main", "Attention"),
                                 writer->ErrorString());
    }

    MainWindow window(std::move(setup));
    window.show();
    return app.exec();
}
