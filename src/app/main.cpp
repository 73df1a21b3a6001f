#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>

#include "app/commandline.h"
#include "app/emulatorlauncher.h"
#include "app/frametracewriter.h"
#include "app/mainwindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const CommandLineResult command = ParseCommandLine(QApplication::arguments());
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
    const CommandLineOptions& options = command.options;

    // Declared before the window: it ends after the window has closed the port.
    EmulatorLauncher emulator;
    QString extraPort = options.port;
    if (options.emulator) {
        QString error;
        if (!emulator.Start(&error)) {
            QMessageBox::critical(nullptr, QStringLiteral("Erreur"), error);
            return 1;
        }
        extraPort = emulator.PortName();
    }

    QProtocole::FrameTrace trace;
    if (!options.tracePath.isEmpty()) {
        auto writer = std::make_shared<FrameTraceWriter>(options.tracePath);
        if (writer->IsOpen())
            trace = FrameTraceWriter::Sink(writer);
        else
            QMessageBox::warning(nullptr, QStringLiteral("Attention"), writer->ErrorString());
    }

    MainWindow window(extraPort, trace);
    window.show();
    return app.exec();
}
