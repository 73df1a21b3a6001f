#ifndef BADGETAB_H
#define BADGETAB_H

#include <QList>
#include <QString>

#include "access/zones.h"

class CGROUP;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;
class ReaderLink;
class ResultRouter;

constexpr int COUNTER_ROW_COUNT = 8;

// The "Clé/Carte" tab: the badge form, its read and create modes, the badge
// record, counter rows and zone labels, and the dispatcher branches of the
// badge commands. Works on the form's widgets, found by object name under
// form, so tests can drive it on the real window or on a bare form.
class BadgeTab
{
public:
    struct CounterRow
    {
        QLabel* Label = nullptr;
        QLineEdit* Value = nullptr;
        bool InUse = false;
    };

    // Installs the counter rows, zone labels, input masks and badge types.
    BadgeTab(QWidget* form, ReaderLink& link, const QTreeWidget* settings, const CZONE* zones,
             const QList<CGROUP*>* groups);

    // Badge record exchanged with the reader.
    bool BadgeRecordBuild(QString& record) const;
    void BadgeRecordDisplay(const QString& record);

    void BadgeFormClear();
    void CreationDefaultsLoad();
    void CounterRowsClear();
    void CounterRowsShow(int groupIndex, bool withDefaults);
    void CounterRowShow(int row);
    void ZoneLabelsClear();
    void ZoneLabelsShow(int groupIndex);
    void UserNumberIncrement();

    // Behind the tab's buttons and profile chooser.
    void BadgeReadClicked();
    void BadgeCreateClicked();
    void ProfilChanged(int index);
    void BadgeWriteClicked();

    // Dispatcher branches.
    void SupportInserted(const QString& s);
    void SupportRemoved();
    void CreateResult();
    void ReadResult();
    void WriteResult();
    void PollingTimeout();

    // Registers the branches above under their result identifiers.
    void RegisterResults(ResultRouter& router);

    // 0 read mode, 1 create mode; read on each support insertion.
    int BadgeMode = 0;
    CounterRow CounterRows[COUNTER_ROW_COUNT];
    QLabel* ZoneLabels[ZONE_COUNT] = {};

private:
    const CGROUP* group(int groupIndex) const;
    void readRequest(unsigned int timeoutMs);

    ReaderLink& m_link;
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
    QCheckBox* m_creationForce;
    QPushButton* m_read;
    QPushButton* m_create;
    QLineEdit* m_protocoleStatus;
    QLineEdit* m_supportStatus;
};

// The record text shown when the link refuses a record over its payload limit.
QString BadgeRecordTooLongText(const QString& operation);

#endif // BADGETAB_H
