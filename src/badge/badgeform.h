#ifndef BADGEFORM_H
#define BADGEFORM_H

#include <QList>
#include <QString>

#include "access/zones.h"
#include "badge/badgerecord.h"

class CGROUP;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QWidget;

// The badge form of the "Clé/Carte" tab: its fields, the counter rows and
// unlimited-zone labels a group shows, and the badge record in and out.
// Works on the form's widgets, found by object name under form.
class BadgeForm
{
public:
    struct CounterRow
    {
        QLabel* Label = nullptr;
        QLineEdit* Value = nullptr;
        bool InUse = false;
    };

    // Installs the counter rows, zone labels, input masks and badge types.
    BadgeForm(QWidget* form, const QTreeWidget* settings, const CZONE* zones, const QList<CGROUP*>* groups);

    BadgeFields Fields() const;
    // False, with record empty, when a counter in use holds an amount that does not convert.
    bool RecordBuild(QString* record) const { return BadgeRecordBuild(Fields(), record); }
    void RecordDisplay(const QString& record);

    void Clear();
    void CreationDefaultsLoad();
    void CounterRowsClear();
    void CounterRowsShow(int groupIndex, bool withDefaults);
    void CounterRowShow(int row);
    void ZoneLabelsClear();
    void ZoneLabelsShow(int groupIndex);
    void UserNumberIncrement();
    // The operator chose a profile: its number, counters with their defaults, and zones.
    void ProfileShow(int groupIndex);

    CounterRow CounterRows[COUNTER_ROW_COUNT];
    QLabel* ZoneLabels[ZONE_COUNT] = {};

private:
    const CGROUP* group(int groupIndex) const;
    void itemShow(const BadgeItem& item);

    const QTreeWidget* m_settings;
    const CZONE* m_zones;
    const QList<CGROUP*>* m_groups;

    QComboBox* m_type;
    QComboBox* m_profil;
    QLineEdit* m_grp;
    QLineEdit* m_uid;
    QLineEdit* m_usr;
    QLineEdit* m_level;
    QLineEdit* m_domaine;
    QLineEdit* m_lastName;
    QLineEdit* m_firstName;
    QLineEdit* m_compagny;
    QLineEdit* m_remise;
    QLineEdit* m_creationDate;
    QDateEdit* m_validiteDate;
};

#endif // BADGEFORM_H
