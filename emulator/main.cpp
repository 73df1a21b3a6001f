#include "controlconsole.h"
#include "emulatorsession.h"
#include "emulatorwindow.h"
#include "readermodel.h"
#include "readerstate.h"
#include "transport.h"

#include <QApplication>
#include <QCommandLineParser>
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

bool wantsGui(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--gui") == 0)
            return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                   qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    }
    return false;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "korvel-reader-emulator: %s\n", message.toLocal8Bit().constData());
    return 1;
}

bool countOption(const QCommandLineParser& parser, const QString& name, int* value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    *value = parser.value(name).toInt(&ok);
    return ok && *value >= 0;
}
} // namespace

int main(int argc, char** argv)
{
    const bool gui = wantsGui(argc, argv);
    std::unique_ptr<QCoreApplication> app(gui ? new QApplication(argc, argv)
                                              : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName("korvel-reader-emulator");
    quitOnSignals(app.get());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Virtual badge reader/encoder for KorvelManager.\n"
        "Prints \"PORT <path>\" first; open that path as the serial port in KorvelManager.\n"
        "Standard input takes one command a line: cards, present N, remove, status, params, files, quit.");
    parser.addHelpOption();
    parser.addOptions({
        {"port", "Use the existing serial device <name> (9600 8N1) instead of a pseudo-terminal.", "name"},
        {"link", "Also make the symbolic link <path> to the pseudo-terminal.", "path"},
        {"pace", "Model a 9600 baud line: about 1.04 ms a byte both ways."},
        {"latency-ms", "Processing time of the reader per command.", "ms"},
        {"cards", "JSON file describing the card deck.", "file"},
        {"state", "JSON file keeping parameters, files 5 and 18 and card memory across runs.", "file"},
        {"drop", "Ignore every N-th command.", "N"},
        {"garble", "Corrupt one byte of every N-th answer.", "N"},
        {"cut", "Stop every N-th answer after ETX.", "N"},
        {"noise", "Send stray bytes before each answer."},
        {"gui", "Show a window with the cards and the reader's log (needs a display)."},
    });
    parser.process(*app);

    SessionOptions options;
    options.pace = parser.isSet("pace");
    options.noise = parser.isSet("noise");
    options.statePath = parser.value("state");
    if (!countOption(parser, "latency-ms", &options.latencyMs) ||
        !countOption(parser, "drop", &options.drop) || !countOption(parser, "garble", &options.garble) ||
        !countOption(parser, "cut", &options.cut))
        return fail("--latency-ms, --drop, --garble and --cut take a number from 0");

    ReaderModel model;
    QString error;
    if (parser.isSet("cards")) {
        QVector<VirtualCard> deck;
        if (!CardDeck::load(parser.value("cards"), &deck, &error))
            return fail(error);
        model.setDeck(deck);
    }
    if (!options.statePath.isEmpty() && !ReaderState::load(options.statePath, &model, &error))
        return fail(error);

    std::unique_ptr<Transport> transport;
    if (parser.isSet("port"))
        transport = std::make_unique<SerialTransport>(parser.value("port"));
    else
        transport = std::make_unique<PtyTransport>(parser.value("link"));
    if (!transport->open(&error))
        return fail(error);
    // The first line is what scripts and tests wait for.
    std::fprintf(stdout, "PORT %s\n", transport->portName().toLocal8Bit().constData());
    std::fflush(stdout);

    EmulatorSession session(&model, transport.get(), options);
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
    } else if (parser.isSet("gui")) {
        std::fprintf(stderr, "korvel-reader-emulator: no display, running without the window\n");
    }
    return app->exec();
}
