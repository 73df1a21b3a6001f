#ifndef ACCESSTAB_H
#define ACCESSTAB_H

#include <QList>
#include <QObject>

#include <functional>
#include <memory>

#include "access/zones.h"

class AccessTransfer;
class CFILE_INI;
class CGROUP;
class ChainGuard;
class QWidget;
class ReaderLink;
class ResultRouter;
class ZonesEditor;

// The "Zones et Groupes" tab: the zones and groups editor over config.ini, and
// the access list sent to the reader and read back into the blacklist table.
class AccessTab : public QObject
{
    Q_OBJECT

public:
    using ColorSetter = std::function<void(Qt::GlobalColor, QWidget*)>;

    AccessTab(QWidget* window, ReaderLink& link, ChainGuard& guard, CZONE* zones, QList<CGROUP*>* groups,
              CFILE_INI* ini, ColorSetter colorSet);
    ~AccessTab() override;

    // Once zones and groups are loaded: builds the grids and fills both group
    // choosers (whose by-name slots then reach this tab).
    void Setup();

    ZonesEditor& Editor() { return *m_editor; }
    AccessTransfer& Transfer() { return *m_transfer; }

    void ZonesSave();
    void GroupShow(int index);
    void ZoneStateChanged(int state);
    void GroupNew();
    void GroupSave();
    void GroupNumberChanged();
    void GroupLabelChanged();
    // Asks for confirmation first.
    void GroupDelete();
    void SendToReader();
    void ReadFromReader();

    void RegisterResults(ResultRouter& router);

signals:
    // One of the CB_Installed boxes changed: the window's by-name slot forwards it.
    void SIG_ZoneStateChanged(int state);

private:
    void saveFailed();

    QWidget* m_window;
    std::unique_ptr<ZonesEditor> m_editor;
    std::unique_ptr<AccessTransfer> m_transfer;
};

#endif // ACCESSTAB_H
