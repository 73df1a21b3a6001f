#include "app/sessionsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

#include "app/applog.h"
#include "app/translations.h"

namespace {
// Longer is no port name and no window state this program wrote.
constexpr int MaxPortNameLength = 512;
constexpr int MaxWindowStateBytes = 64 * 1024;

const char KeyLastPort[] = "port/last";
const char KeyAutoReconnect[] = "port/autoReconnect";
const char KeyGeometry[] = "window/geometry";
const char KeyWindowState[] = "window/state";
const char KeyTab[] = "window/tab";
const char KeyConfigFolder[] = "dialogs/configFolder";
const char KeyFirmwareFolder[] = "dialogs/firmwareFolder";
const char KeyLanguage[] = "ui/language";

bool isText(const QVariant& value)
{
    return value.userType() == QMetaType::QString;
}

QString portValue(const QVariant& value)
{
    const QString name = isText(value) ? value.toString().trimmed() : QString();
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QString();
    }
    return name.size() <= MaxPortNameLength ? name : QString();
}

QByteArray bytesValue(const QVariant& value)
{
    if (value.userType() != QMetaType::QByteArray || value.toByteArray().size() > MaxWindowStateBytes)
        return QByteArray();
    return value.toByteArray();
}

// A folder that no longer exists is no place to start a dialog in.
QString folderValue(const QVariant& value)
{
    const QString path = isText(value) ? value.toString() : QString();
    return !path.isEmpty() && QDir::isAbsolutePath(path) && QFileInfo(path).isDir() ? path : QString();
}

// Settings stores may hand numbers back as numbers or as text.
bool intValue(const QVariant& value, int* number)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QString: {
        bool ok = false;
        *number = value.toString().trimmed().toInt(&ok);
        return ok;
    }
    default:
        return false;
    }
}

bool boolValue(const QVariant& value, bool fallback)
{
    if (value.userType() == QMetaType::Bool)
        return value.toBool();
    const QString text = isText(value) ? value.toString().trimmed().toLower() : QString();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}
} // namespace

SessionSettings SessionSettings::User()
{
    SessionSettings settings;
    settings.m_kind = Kind::User;
    return settings;
}

SessionSettings SessionSettings::File(const QString& path)
{
    SessionSettings settings;
    settings.m_kind = Kind::File;
    settings.m_path = path;
    return settings;
}

SessionSettings SessionSettings::ForProgram(bool noSettings)
{
    if (noSettings || !qEnvironmentVariableIsEmpty(DisableVariable))
        return SessionSettings();
    return User();
}

std::unique_ptr<QSettings> SessionSettings::open() const
{
    switch (m_kind) {
    case Kind::User:
        return std::make_unique<QSettings>();
    case Kind::File:
        return std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    case Kind::None:
        break;
    }
    return nullptr;
}

SessionState SessionSettings::Load(int tabCount) const
{
    SessionState state;
    const std::unique_ptr<QSettings> settings = open();
    if (!settings)
        return state;
    if (settings->status() != QSettings::NoError) {
        qCWarning(lcApp, "%s: session settings unreadable, defaults taken",
                  qUtf8Printable(settings->fileName()));
        return state;
    }
    state.lastPort = portValue(settings->value(KeyLastPort));
    state.autoReconnect = boolValue(settings->value(KeyAutoReconnect), state.autoReconnect);
    state.geometry = bytesValue(settings->value(KeyGeometry));
    state.windowState = bytesValue(settings->value(KeyWindowState));
    int tab = 0;
    if (intValue(settings->value(KeyTab), &tab) && tab >= 0 && tab < tabCount)
        state.tab = tab;
    state.configFolder = folderValue(settings->value(KeyConfigFolder));
    state.firmwareFolder = folderValue(settings->value(KeyFirmwareFolder));
    const QVariant language = settings->value(KeyLanguage);
    if (isText(language) && UiLanguageValid(language.toString()))
        state.language = language.toString();
    return state;
}

bool SessionSettings::Save(const SessionState& state) const
{
    const std::unique_ptr<QSettings> settings = open();
    if (!settings)
        return true;
    settings->setValue(KeyLastPort, state.lastPort);
    settings->setValue(KeyAutoReconnect, state.autoReconnect);
    settings->setValue(KeyGeometry, state.geometry);
    settings->setValue(KeyWindowState, state.windowState);
    settings->setValue(KeyTab, state.tab);
    settings->setValue(KeyConfigFolder, state.configFolder);
    settings->setValue(KeyFirmwareFolder, state.firmwareFolder);
    settings->setValue(KeyLanguage, state.language);
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return true;
    qCWarning(lcApp, "%s: session settings not saved", qUtf8Printable(settings->fileName()));
    return false;
}
