#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>

// What the command line asks of the program. All empty / false: the program
// behaves as it always has (system ports only, no trace).
struct CommandLineOptions
{
    bool emulator = false;   // --emulator: start the bundled reader emulator and open its port
    QString port;            // --port NAME: a port the system does not list, shown first
    QString tracePath;       // --trace FILE: append every frame sent and received to FILE
    bool noSettings = false; // --no-settings: start with the defaults, remember nothing
    QString language;        // --lang fr|en: the interface's language, over the stored choice
};

struct CommandLineResult
{
    enum class Action
    {
        Run,     // start the program with options
        Help,    // print text on standard output and exit with 0
        Version, // same
        Error    // print text on standard error and exit with 1
    };
    Action action = Action::Run;
    CommandLineOptions options;
    QString text;
};

// Parses the program's arguments (the first one is the program's name, as in
// QCoreApplication::arguments()). Never exits the process: the caller acts on
// the result, so the parsing is testable without an application window.
CommandLineResult ParseCommandLine(const QStringList& arguments);

// "korvelmanager 1.0.0"
QString ProgramVersionText();

#endif // COMMANDLINE_H
