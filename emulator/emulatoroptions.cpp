#include "emulatoroptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
bool countOption(const QCommandLineParser& parser, const QString& name, int* value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    *value = parser.value(name).toInt(&ok);
    return ok && *value >= 0;
}

std::optional<QString> optionalValue(const QCommandLineParser& parser, const QString& name)
{
    return parser.isSet(name) ? std::optional<QString>(parser.value(name)) : std::nullopt;
}
} // namespace

bool EmulatorOptions::windowPossible(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--gui") == 0)
            return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                   qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    }
    return false;
}

bool EmulatorOptions::parse(const QCoreApplication& app, QString* error)
{
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
    parser.process(app);

    session.pace = parser.isSet("pace");
    session.noise = parser.isSet("noise");
    session.statePath = parser.value("state");
    port = optionalValue(parser, "port");
    link = parser.value("link");
    cards = optionalValue(parser, "cards");
    gui = parser.isSet("gui");
    if (!countOption(parser, "latency-ms", &session.latencyMs) ||
        !countOption(parser, "drop", &session.drop) || !countOption(parser, "garble", &session.garble) ||
        !countOption(parser, "cut", &session.cut)) {
        *error = "--latency-ms, --drop, --garble and --cut take a number from 0";
        return false;
    }
    return true;
}
