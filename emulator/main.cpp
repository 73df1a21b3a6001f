#include "controlconsole.h"
#include "emulatoroptions.h"
#include "emulatorsession.h"
#include "emulatorwindow.h"
#include "readermodel.h"
#include "readerstate.h"
#include "transport.h"

#include <QApplication>
#include <QDateTime>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
#ifdef Q_OS_UNIX
int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

// Ctrl-C and kill end the event loop normally, so the --link symlink is removed.
void quitOnSignals(QCoreApplication* app)
{
    if (::pipe(signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, &QCoreApplication::quit);
    std::signal(SIGINT, onTerminate);
    std::signal(SIGTERM, onTerminate);
    // Whoever reads our standard output may go away; the reader goes on.
    std::signal(SIGPIPE, SIG_IGN);
}
#else
void quitOnSignals(QCoreApplication*) {}
#endif

int fail(const QString& message)
{
    std::fprintf(stderr, "korvel-reader-emulator: %s\n", message.toLocal8Bit().constData());
    return 1;
}

// The cards and what the reader kept from earlier runs.
bool loadReader(const EmulatorOptions& options, ReaderModel* model, QString* error)
{
    if (options.cards) {
        QVector<VirtualCard> deck;
        if (!CardDeck::load(*options.cards, &deck, error))
            return false;
        model->setDeck(deck);
    }
    return options.session.statePath.isEmpty() || ReaderState::load(options.session.statePath, model, error);
}
} // namespace

int main(int argc, char** argv)
{
    const bool gui = EmulatorOptions::windowPossible(argc, argv);
    std::unique_ptr<QCoreApplication> app(gui ? new QApplication(argc, argv)
                                              : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName("korvel-reader-emulator");
    quitOnSignals(app.get());

    EmulatorOptions options;
    QString error;
    if (!options.parse(*app, &error))
        return fail(error);
    ReaderModel model;
    if (!loadReader(options, &model, &error))
        return fail(error);

    std::unique_ptr<Transport> transport;
    if (options.port)
        transport = std::make_unique<SerialTransport>(*options.port);
    else
        transport = std::make_unique<PtyTransport>(options.link);
    if (!transport->open(&error))
        return fail(error);
    // The first line is what scripts and tests wait for.
    std::fprintf(stdout, "PORT %s\n", transport->portName().toLocal8Bit().constData());
    std::fflush(stdout);

    EmulatorSession session(&model, transport.get(), options.session);
    ControlConsole console(&session);
    QObject::connect(&console, &ControlConsole::quitRequested, app.get(), &QCoreApplication::quit);
    QObject::connect(&session, &EmulatorSession::logLine, [](const QString& line) {
        const QString stamped = QTime::currentTime().toString("HH:mm:ss.zzz ") + line;
        std::fprintf(stderr, "%s\n", stamped.toUtf8().constData());
    });

    std::unique_ptr<EmulatorWindow> window;
    if (gui) {
        window = std::make_unique<EmulatorWindow>(&session, transport->portName());
        QObject::connect(&session, &EmulatorSession::logLine, window.get(), &EmulatorWindow::appendLog);
        window->show();
    } else if (options.gui) {
        std::fprintf(stderr, "korvel-reader-emulator: no display, running without the window\n");
    }
    return app->exec();
}
