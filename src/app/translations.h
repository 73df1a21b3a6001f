#ifndef TRANSLATIONS_H
#define TRANSLATIONS_H

#include <QString>
#include <QStringList>

// The interface's languages: "fr" (the source texts) and "en".
bool UiLanguageValid(const QString& code);

// --lang wins, then the choice kept in the session, then English when the system's
// first UI language is English; French otherwise.
QString UiLanguageChoose(const QString& commandLine, const QString& stored,
                         const QStringList& systemLanguages);

// Installs the translation of language on the application; French needs none.
// False when the embedded translation could not be loaded.
bool UiLanguageInstall(const QString& language);
// The language installed last: "fr" until an English translation is.
QString UiLanguageCurrent();

class QComboBox;
// COMBO_Language (French, English) shows the stored choice, else the running language;
// what the operator picks there is kept for the next start.
void UiLanguageComboShow(QComboBox* combo, const QString& stored);
// The choice to store: the one loaded, unless the operator picked a language.
QString UiLanguageComboChoice(const QComboBox* combo);

#endif // TRANSLATIONS_H
