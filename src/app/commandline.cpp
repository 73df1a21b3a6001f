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

CommandLineResult ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Maintenance et personnalisation des badges et des lecteurs Korvel.\n"
                       "Sans option, le programme liste les ports série du système et ouvre le premier."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption emulator(
        "emulator",
        QCoreApplication::translate(
            "CommandLine",
            "Démarre le simulateur de lecteur korvel-reader-emulator et se connecte à son port."));
    const QCommandLineOption port(
        "port",
        QCoreApplication::translate(
            "CommandLine",
            "Place le port <nom> en tête de la liste (chemin de périphérique ou lien symbolique)."),
        QCoreApplication::translate("CommandLine", "nom"));
    const QCommandLineOption trace(
        "trace",
        QCoreApplication::translate(
            "CommandLine",
            "Ajoute chaque trame envoyée et reçue au fichier <fichier> (horodatée, texte et hexa)."),
        QCoreApplication::translate("CommandLine", "fichier"));
    const QCommandLineOption noSettings(
        "no-settings",
        QCoreApplication::translate(
            "CommandLine", "Démarre sans la session mémorisée (port, fenêtre, dossiers) et n'en mémorise "
                           "aucune ; KORVEL_NO_SETTINGS=1 fait de même."));
    const QCommandLineOption lang(
        "lang",
        QCoreApplication::translate(
            "CommandLine", "Langue de l'interface : fr ou en (sinon celle choisie, ou celle du système)."),
        QStringLiteral("fr|en"));
    parser.addOptions({emulator, port, trace, noSettings, lang});

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
        return fail(QCoreApplication::translate("CommandLine", "Argument inattendu : ") +
                    parser.positionalArguments().first());
    // The last occurrence wins, as for most programs.
    if (parser.isSet(port) && parser.value(port).trimmed().isEmpty())
        return fail(QCoreApplication::translate("CommandLine", "--port attend un nom de port."));
    if (parser.isSet(trace) && parser.value(trace).trimmed().isEmpty())
        return fail(QCoreApplication::translate("CommandLine", "--trace attend un nom de fichier."));
    if (parser.isSet(lang) && parser.value(lang) != QLatin1String("fr") &&
        parser.value(lang) != QLatin1String("en"))
        return fail(QCoreApplication::translate("CommandLine", "--lang attend fr ou en."));
    // Two ports first in the list would leave one of them unused without a word.
    if (parser.isSet(port) && parser.isSet(emulator))
        return fail(QCoreApplication::translate(
            "CommandLine", "--emulator et --port ne peuvent pas être utilisés ensemble."));

    result.options.emulator = parser.isSet(emulator);
    result.options.port = parser.value(port).trimmed();
    result.options.tracePath = parser.value(trace);
    result.options.noSettings = parser.isSet(noSettings);
    result.options.language = parser.value(lang);
    return result;
}
