#ifndef BADGEMEMORY_H
#define BADGEMEMORY_H

#include "mifarecard.h"

#include <QString>

// Where the badge record lives on the card. Sectors 1 to 15 carry the system's security
// structure: key A = key B = the system key, data blocks free for either key (C 000),
// trailer writable with key B only (C 011), that is access bytes 7F 07 88 69.
// The record text (UTF-8) sits in the data blocks of sectors 1 to 7: block 4 is a header
// ("KVR1", length on two bytes big-endian, CRC-16/CCITT of the text on two bytes), the
// text follows in blocks 5, 6, 8, 9, 10, 12 ... 30. Sector 0 keeps its factory keys.
namespace BadgeMemory {
constexpr int FirstSector = 1;
constexpr int LastRecordSector = 7;

QByteArray systemKey();
QByteArray systemAccess();
int capacity();
quint16 crc16(const QByteArray& data);

enum class State
{
    Blank,     // factory keys: no security structure yet
    Foreign,   // keys of another system
    NoRecord,  // security structure without a record
    Damaged,   // header or text corrupt
    ReadError, // a record sector refused the system key
    Ok
};

struct ReadResult
{
    State state = State::Blank;
    QString record;
    int sector = 0; // the failing sector for ReadError
};

ReadResult read(const MifareCard& card);
bool hasSecurity(const MifareCard& card);
// Puts the security structure on sectors 1 to 15; returns -1, or the first sector that refused.
int createSecurity(MifareCard& card);
// Writes the record into a card that has the structure; returns -1, or the failing sector.
int writeRecord(MifareCard& card, const QString& record);
} // namespace BadgeMemory

#endif // BADGEMEMORY_H
