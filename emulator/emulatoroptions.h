#ifndef EMULATOROPTIONS_H
#define EMULATOROPTIONS_H

#include "emulatorsession.h"

#include <QString>

#include <optional>

class QCoreApplication;

// The emulator's command line.
struct EmulatorOptions
{
    SessionOptions session;
    std::optional<QString> port;  // an existing serial device instead of a pseudo-terminal
    QString link;                 // a symbolic link to make to the pseudo-terminal
    std::optional<QString> cards; // a deck file instead of the default cards
    bool gui = false;             // the window was asked for

    // Before the application exists, which it must be told: --gui asked, and a display to show it.
    static bool windowPossible(int argc, char** argv);
    // --help and unknown options print and exit, as QCommandLineParser does; a count that is
    // no number from 0 gives false and the text to show.
    bool parse(const QCoreApplication& app, QString* error);
};

#endif // EMULATOROPTIONS_H
