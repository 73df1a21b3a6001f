#ifndef BADGERECORD_H
#define BADGERECORD_H

#include <QDate>
#include <QList>
#include <QString>

// The badge record exchanged with the reader: "Tyc=128;Usr=5;Grp=1;Vda=991231;Cn0=1250;..."
// Pure text work: the badge form turns its widgets into BadgeFields and shows BadgeItems.

constexpr int COUNTER_ROW_COUNT = 8;

// Badge type codes carried in "Tyc", as COMBO_BadgeType lists them.
enum BadgeTypeCode : int
{
    BADGE_TYPE_EXPLOITANT = 2,
    BADGE_TYPE_CREDIT = 16,
    BADGE_TYPE_UNITE = 32,
    BADGE_TYPE_FACTURATION = 64,
    BADGE_TYPE_ACCES = 128,
};

// COMBO_BadgeType's items, in the form's order.
struct BadgeType
{
    const char* label; // UTF-8
    BadgeTypeCode code;
};
extern const BadgeType BADGE_TYPES[5];
bool BadgeTypeKnown(int code);

// What the form holds when a record is built from it.
struct BadgeFields
{
    static constexpr int NO_TYPE = -1;

    int type = NO_TYPE; // "Tyc=" stays empty without a type
    QString usr, grp, lev;
    QDate validity;   // null when the date field is empty
    QString creation; // "dd/MM/yy" as typed
    QString doi, rem, naf, nal, nac;
    // The amount texts of the counter rows in use ("12.50"); rows not in use are left out.
    bool counterInUse[COUNTER_ROW_COUNT] = {};
    QString counters[COUNTER_ROW_COUNT];
};

// The record of the form's fields into *built. Empty texts are left out, and so is
// a creation date that is not a date. False, with *built empty, when a counter in
// use holds an amount that does not convert: that badge must not be written.
bool BadgeRecordBuild(const BadgeFields& fields, QString* built);

// One field of a record the form knows, decoded.
struct BadgeItem
{
    enum class Kind
    {
        Text,     // key is one of UID Usr Lev Doi Rem Naf Nal Nac; value as it comes
        Type,     // number: the "Tyc" code
        Group,    // value as it comes; number: the group index, -1 when not a number
        Validity, // date
        Creation, // date
        Counter,  // number: the row; value: the amount as "12.50"
    };
    Kind kind = Kind::Text;
    QString key;
    QString value;
    int number = 0;
    QDate date;
};

// The items of a record in the order the form shows them: every "Grp" first
// (it resets the counter rows to its group's zones, whose values come after),
// then the others in record order. A value is the text between the first and
// second "="; fields whose value does not decode are left out.
QList<BadgeItem> BadgeRecordItems(const QString& record);

// What the form would hold after showing item, ignoring the group's counter
// rows and zones (a counter shown becomes in use, an unknown type is ignored).
void BadgeItemApply(const BadgeItem& item, BadgeFields* fields);

#endif // BADGERECORD_H
