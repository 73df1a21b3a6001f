#ifndef ZONES_H
#define ZONES_H

#include <QString>
#include <QtGlobal>

class CFILE_INI;

// Number of zones a site has, shown to the operator as "ZONE 1" to "ZONE 12".
constexpr int ZONE_COUNT = 12;

// A place guarded by the readers; kept in config.ini as "ZONEi=INSTALLED:YES;LABEL:Parking".
class CZONE
{
public:
    // Reads a "ZONES" value; Installed is only ever set here, the loader clears it first.
    void Set(const QString& text);
    QString Get() const;

    bool Installed = false;
    QString Label;
};

// What a group may do in one zone; kept as "YES,counter,antipassback,spare,default".
class CZONE_RULE
{
public:
    void Set(const QString& text);
    QString Get() const;

    bool Access = false;
    // Badge counter the zone uses; 0 means unlimited.
    quint8 Counter = 0;
    quint8 Antipassback = 0;
    // Carried from load to save, used nowhere else.
    quint8 Spare = 0;
    // Value given to the zone's counter when a badge of the group is created.
    quint8 Default = 0;
};

// Reads section "ZONES" of an opened store into the 12 zones; missing keys leave cleared zones.
void ZonesLoad(CZONE zones[ZONE_COUNT], CFILE_INI* ini);
// Writes the 12 zones into section "ZONES" of the store (the caller then closes it to save).
void ZonesSave(const CZONE zones[ZONE_COUNT], CFILE_INI* ini);

#endif // ZONES_H
