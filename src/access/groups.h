#ifndef GROUPS_H
#define GROUPS_H

#include "access/zones.h"

#include <QList>
#include <QString>

class CFILE_INI;
class QComboBox;

// A group (a "profile" on the badge screens): its number written into badges and one rule per zone.
// Kept in config.ini as "GROUP=ID:4;LABEL:Personnel;Z0:YES,1,0,0,10;...;Z11:NO,0,0,0,0;".
class CGROUP
{
public:
    // Reads a "GROUP" value. Without a non-empty label the rules are left untouched.
    void Set(const QString& text);
    QString Get() const;

    QString Label;
    int Number = 0;
    CZONE_RULE Rules[ZONE_COUNT];
};

// Appends one group per "GROUP" line of section "GROUPS" of an opened store.
void GroupsLoad(QList<CGROUP*>* groups, CFILE_INI* ini);
// Rewrites section "GROUPS" whole, one line per group in list order (the caller then closes the store).
void GroupsSave(const QList<CGROUP*>* groups, CFILE_INI* ini);
// Appends a cleared group with that label and number; the list owns it.
CGROUP* GroupAdd(QList<CGROUP*>* groups, const QString& label, int number);
// Refills combo with one item per group: its label, and its index in the list as item data.
void GroupListFill(const QList<CGROUP*>* groups, QComboBox* combo);

#endif // GROUPS_H
