#include "app/translations.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QTranslator>

// The resource lives in the static korvelcore library: registered by name, outside any namespace.
static void TranslationsInit()
{
    Q_INIT_RESOURCE(korveltranslations);
}

namespace {
QString running = QStringLiteral("fr");
const char ChoiceProperty[] = "korvelLanguage";
const QStringList ComboCodes{QStringLiteral("fr"), QStringLiteral("en")};
} // namespace

bool UiLanguageValid(const QString& code)
{
    return code == QLatin1String("fr") || code == QLatin1String("en");
}

QString UiLanguageChoose(const QString& commandLine, const QString& stored,
                         const QStringList& systemLanguages)
{
    if (UiLanguageValid(commandLine))
        return commandLine;
    if (UiLanguageValid(stored))
        return stored;
    const QString first = systemLanguages.value(0);
    return first.startsWith(QLatin1String("en"), Qt::CaseInsensitive) ? QStringLiteral("en")
                                                                      : QStringLiteral("fr");
}

bool UiLanguageInstall(const QString& language)
{
    if (language != QLatin1String("en"))
        return true;
    TranslationsInit();
    // Parented to the application: it must outlive every window.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/i18n/korvelmanager_en.qm"))) {
        delete translator;
        return false;
    }
    running = language;
    return QCoreApplication::installTranslator(translator);
}

QString UiLanguageCurrent()
{
    return running;
}

void UiLanguageComboShow(QComboBox* combo, const QString& stored)
{
    combo->setCurrentIndex(int(ComboCodes.indexOf(UiLanguageValid(stored) ? stored : running)));
    combo->setProperty(ChoiceProperty, stored);
    QObject::connect(combo, qOverload<int>(&QComboBox::activated), combo,
                     [combo](int index) { combo->setProperty(ChoiceProperty, ComboCodes.value(index)); });
}

QString UiLanguageComboChoice(const QComboBox* combo)
{
    return combo->property(ChoiceProperty).toString();
}
