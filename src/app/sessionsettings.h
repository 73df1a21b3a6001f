#ifndef SESSIONSETTINGS_H
#define SESSIONSETTINGS_H

#include <QByteArray>
#include <QString>

#include <memory>

class QSettings;

// What the window remembers from one run to the next. The defaults are a first start's.
struct SessionState
{
    QString lastPort;          // the last port opened successfully
    QByteArray geometry;       // QWidget::saveGeometry()
    QByteArray windowState;    // QMainWindow::saveState()
    int tab = 0;               // ONG_Main's current tab
    QString configFolder;      // last folder of the configuration-file dialogs
    QString firmwareFolder;    // last folder of the firmware dialog
    bool autoReconnect = true; // CKB_AutoReconnect
    QString language;          // COMBO_Language's "fr" or "en"; empty: the system's
};

// Where the session is kept: the platform's usual place for the application's
// organisation and name (set in main), a given INI file, or nowhere. Never
// config.ini, which holds the site's data.
class SessionSettings
{
public:
    // Set (to anything but empty) it turns the settings off, as --no-settings does.
    static constexpr char DisableVariable[] = "KORVEL_NO_SETTINGS";

    // Nowhere: Load() gives the defaults and Save() writes nothing.
    SessionSettings() = default;
    static SessionSettings User();
    static SessionSettings File(const QString& path);
    // User(), unless noSettings or the environment variable turns them off.
    static SessionSettings ForProgram(bool noSettings);

    bool IsEnabled() const { return m_kind != Kind::None; }
    // Every value that is missing, of the wrong type or out of range gives its
    // default, the others are kept; an unreadable store gives every default.
    // tabCount bounds the tab.
    SessionState Load(int tabCount) const;
    // False when the store could not be written.
    bool Save(const SessionState& state) const;

private:
    enum class Kind
    {
        None,
        User,
        File
    };
    std::unique_ptr<QSettings> open() const;

    Kind m_kind = Kind::None;
    QString m_path;
};

#endif // SESSIONSETTINGS_H
