#ifndef ZONESEDITOR_H
#define ZONESEDITOR_H

#include <QList>
#include <QObject>
#include <Qt>

#include <functional>

#include "access/zones.h"

class CFILE_INI;
class CGROUP;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

// The "Zones et Groupes" tab: builds the zone grid and the rule grid, shows
// and reads them, saves zones and groups to config.ini and marks unsaved
// edits in red on the save buttons. The window keeps the zones, the groups
// and the INI store and hands them over with its form's widgets; it asks the
// delete confirmation itself and passes the answer. The window's by-name slots
// reach the installed boxes, LE_Group and the chooser's text, so the editor
// leaves those connections to it.
class ZonesEditor : public QObject
{
    Q_OBJECT

public:
    struct Form
    {
        QGridLayout* gridZones = nullptr;
        QGridLayout* gridGroup = nullptr;
        QLineEdit* group = nullptr;     // LE_Group
        QComboBox* groupList = nullptr; // CBOX_GroupList, editable
        QComboBox* profiles = nullptr;  // COMBO_Profil of the badge tab
        QAbstractButton* zonesSave = nullptr;
        QAbstractButton* groupSave = nullptr;
    };
    using ColorSetter = std::function<void(Qt::GlobalColor, QWidget*)>;

    // colorSet marks the save buttons (red unsaved, black saved).
    ZonesEditor(const Form& form, CZONE* zones, QList<CGROUP*>* groups, CFILE_INI* ini, ColorSetter colorSet,
                QObject* parent = nullptr);

    // Once, after zones and groups are loaded: both grids, then both group choosers.
    void GridsSetup();

    // on_CBOX_GroupList_currentIndexChanged; out-of-range indexes are ignored.
    void GroupShow(int index);
    void GroupRead(int index);

    // False when config.ini could not be written; the button then stays red.
    bool ZonesSave();
    void GroupNew();
    bool GroupSave();
    // confirmed: the operator's answer to the confirmation box.
    bool GroupDelete(bool confirmed);

    // The window connects each CB_Installed box's stateChanged here.
    void OnZoneStateChanged(int state);
    void ZonesEdited();
    void GroupEdited();
    // textChanged of LE_Group and of the chooser's text: marks the group
    // unsaved when the operator typed, not when a group is shown. The chooser's
    // text is the shown group's label: Enter neither adds nor picks a group.
    void GroupNumberChanged();
    void GroupLabelChanged();

    // CB_Installed0 to 11, once the grids are built.
    QList<QCheckBox*> InstalledBoxes() const;

    static QString ZoneRuleTitle(int zone, const QString& label);

private:
    void zoneGridBuild();
    void ruleGridBuild();
    CGROUP* ProfileSelected() const;
    // Refills COMBO_Profil, keeping the group it showed when that group is still listed.
    void ProfilesRefill(const CGROUP* selected);
    bool GroupsWrite();
    void GroupListRefill(int current);

    Form m_form;
    CZONE* m_zones;
    QList<CGROUP*>* m_groups;
    CFILE_INI* m_ini;
    ColorSetter m_colorSet;

    QCheckBox* m_installed[ZONE_COUNT] = {};
    QLineEdit* m_labels[ZONE_COUNT] = {};
    QLabel* m_ruleTitles[ZONE_COUNT] = {};
    QCheckBox* m_access[ZONE_COUNT] = {};
    QLineEdit* m_counters[ZONE_COUNT] = {};
    QLineEdit* m_antipassbacks[ZONE_COUNT] = {};
    QLineEdit* m_defaults[ZONE_COUNT] = {};
    // The shown group's number or rules were edited (or it is new) and not saved yet.
    bool m_groupEdited = false;
};

#endif // ZONESEDITOR_H
