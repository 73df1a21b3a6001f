#ifndef ACCESSRIGHTS_H
#define ACCESSRIGHTS_H

#include <QString>
#include <QtGlobal>

#include "badge/trailerbits.h"

// What the access conditions of a Mifare Classic sector allow, as the card's
// access-condition tables give it, and in the operator's words. The byte layout
// (TrailerAccessBytes, TrailerAccessDecode) and TrailerAccessFreezes are in trailerbits.h.

// The keys an operation is allowed with.
enum AccessKeys : quint8
{
    ACCESS_NEVER = 0,
    ACCESS_KEY_A = 1,
    ACCESS_KEY_B = 2,
    ACCESS_KEY_AB = ACCESS_KEY_A | ACCESS_KEY_B,
};

// A data block's rights; decrement also stands for transfer and restore.
struct DataBlockRights
{
    AccessKeys read, write, increment, decrement;
};

// The trailer's rights; key A is never readable. A key B that can be read cannot
// authenticate, whatever the data blocks' rights name it for.
struct TrailerRights
{
    AccessKeys keyAWrite, accessRead, accessWrite, keyBRead, keyBWrite;
};

// The condition C1 C2 C3 of block 0 to 3 of the sector (3: the trailer) as one
// number from 0 to 7, C1 its high bit.
int AccessCondition(const TrailerAccess& access, int block);
DataBlockRights DataBlockRightsOf(int condition);
TrailerRights TrailerRightsOf(int condition);

// "lecture A|B, écriture B"; "aucun accès" when nothing is allowed.
QString DataBlockRightsText(int condition);
// "clé A écrite par B, bits d'accès lus par A|B, clé B écrite par B".
QString TrailerRightsText(int condition);
// One line per block of the sector, then the trailer's: "Bloc 0 : ...", ..., "Trailer : ...".
QString AccessRightsText(const TrailerAccess& access);

#endif // ACCESSRIGHTS_H
