#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#ifndef KORVEL_VERSION
#define KORVEL_VERSION "0"
#endif

QString ProgramVersionText()
{
    return QStringLiteral("korvelmanager " KORVEL_VERSION);
}

namespace {
// The program's own options, with their texts in the interface's language.
struct ProgramOptions
{
    const QCommandLineOption emulator{
        "emulator",
        QCoreApplication::translate(
            "CommandLine",
            "Démarre le simulateur de lecteur korvel-reader-emulator et se connecte à son port.")};
    const QCommandLineOption port{
        "port",
        QCoreApplication::translate(
            "CommandLine",
            "Place le port <nom> en tête de la liste (chemin de périphérique ou lien symbolique)."),
        QCoreApplication::translate("CommandLine", "nom")};
    const QCommandLineOption trace{
        "trace",
        QCoreApplication::translate(
            "CommandLine",
            "Ajoute chaque trame envoyée et reçue au fichier <fichier> (horodatée, texte et hexa)."),
        QCoreApplication::translate("CommandLine", "fichier")};
    const QCommandLineOption noSettings{
        "no-settings",
        QCoreApplication::translate(
            "CommandLine", "Démarre sans la session mémorisée (port, fenêtre, dossiers) et n'en mémorise "
                           "aucune ; KORVEL_NO_SETTINGS=1 fait de même.")};
    const QCommandLineOption lang{
        "lang",
        QCoreApplication::translate(
            "CommandLine", "Langue de l'interface : fr ou en (sinon celle choisie, ou celle du système)."),
        QStringLiteral("fr|en")};
};
} // namespace

CommandLineResult ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Maintenance et personnalisation des badges et des lecteurs Korvel.\n"
                       "Sans option, le programme liste les ports série du système et ouvre le premier."));
    const ProgramOptions options;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({options.emulator, options.port, options.trace, options.noSettings, options.lang});

    CommandLineResult result;
    auto fail = [&result, &parser](const QString& message) {
        result.action = CommandLineResult::Action::Error;
        result.text = message + "\n\n" + parser.helpText();
        return result;
    };

    if (!parser.parse(arguments))
        return fail(parser.errorText());
    // Known before anything else: help and errors come out in that language too.
    if (parser.value(options.lang) == QLatin1String("fr") ||
        parser.value(options.lang) == QLatin1String("en"))
        result.options.language = parser.value(options.lang);
    if (parser.isSet(help)) {
        result.action = CommandLineResult::Action::Help;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLineResult::Action::Version;
        result.text = ProgramVersionText() + "\n";
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QCoreApplication::translate("CommandLine", "Argument inattendu : ") +
                    parser.positionalArguments().first());
    // The last occurrence wins, as for most programs.
    if (parser.isSet(options.port) && parser.value(options.port).trimmed().isEmpty())
        return fail(QCoreApplication::translate("CommandLine", "--port attend un nom de port."));
    if (parser.isSet(options.trace) && parser.value(options.trace).trimmed().isEmpty())
        return fail(QCoreApplication::translate("CommandLine", "--trace attend un nom de fichier."));
    if (parser.isSet(options.lang) && parser.value(options.lang) != QLatin1String("fr") &&
        parser.value(options.lang) != QLatin1String("en"))
        return fail(QCoreApplication::translate("CommandLine", "--lang attend fr ou en."));
    // Two ports first in the list would leave one of them unused without a word.
    if (parser.isSet(options.port) && parser.isSet(options.emulator))
        return fail(QCoreApplication::translate(
            "CommandLine", "--emulator et --port ne peuvent pas être utilisés ensemble."));

    result.options.emulator = parser.isSet(options.emulator);
    result.options.port = parser.value(options.port).trimmed();
    result.options.tracePath = parser.value(options.trace);
    result.options.noSettings = parser.isSet(options.noSettings);
    result.options.language = parser.value(options.lang);
    return result;
}
