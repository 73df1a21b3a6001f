#include "app/commandline.h"

#include <QCommandLineParser>

#ifndef KORVEL_VERSION
#define KORVEL_VERSION "0"
#endif

QString ProgramVersionText()
{
    return QStringLiteral("korvelmanager " KORVEL_VERSION);
}

CommandLineResult ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Maintenance et personnalisation des badges et des lecteurs Korvel.\n"
        "Sans option, le programme liste les ports série du système et ouvre le premier.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption emulator(
        "emulator", "Démarre le simulateur de lecteur korvel-reader-emulator et se connecte à son port.");
    const QCommandLineOption port(
        "port", "Place le port <nom> en tête de la liste (chemin de périphérique ou lien symbolique).",
        "nom");
    const QCommandLineOption trace(
        "trace", "Ajoute chaque trame envoyée et reçue au fichier <fichier> (horodatée, texte et hexa).",
        "fichier");
    const QCommandLineOption noSettings(
        "no-settings", "Démarre sans la session mémorisée (port, fenêtre, dossiers) et n'en mémorise "
                       "aucune ; KORVEL_NO_SETTINGS=1 fait de même.");
    parser.addOptions({emulator, port, trace, noSettings});

    CommandLineResult result;
    auto fail = [&result, &parser](const QString& message) {
        result.action = CommandLineResult::Action::Error;
        result.text = message + "\n\n" + parser.helpText();
        return result;
    };

    if (!parser.parse(arguments))
        return fail(parser.errorText());
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
        return fail("Argument inattendu : " + parser.positionalArguments().first());
    // The last occurrence wins, as for most programs.
    if (parser.isSet(port) && parser.value(port).trimmed().isEmpty())
        return fail("--port attend un nom de port.");
    if (parser.isSet(trace) && parser.value(trace).trimmed().isEmpty())
        return fail("--trace attend un nom de fichier.");
    // Two ports first in the list would leave one of them unused without a word.
    if (parser.isSet(port) && parser.isSet(emulator))
        return fail("--emulator et --port ne peuvent pas être utilisés ensemble.");

    result.options.emulator = parser.isSet(emulator);
    result.options.port = parser.value(port).trimmed();
    result.options.tracePath = parser.value(trace);
    result.options.noSettings = parser.isSet(noSettings);
    return result;
}
