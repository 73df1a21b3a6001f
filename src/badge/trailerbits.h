#ifndef TRAILERBITS_H
#define TRAILERBITS_H

#include <QString>
#include <QtGlobal>

#include <array>

// A Mifare Classic block, and so a sector trailer: key A (bytes 0-5), access
// bytes (6-9), key B (10-15).
constexpr int MIFARE_BLOCK_SIZE = 16;
constexpr int MIFARE_KEY_SIZE = 6;
constexpr int TRAILER_ACCESS_OFFSET = 6;
constexpr int TRAILER_ACCESS_SIZE = 4;
constexpr int TRAILER_KEY_B_OFFSET = 10;

// Access conditions of a Mifare Classic sector: Bits[n][m] is condition
// C(n+1) of block m of the sector, block 3 being the trailer itself.
struct TrailerAccess
{
    bool Bits[3][4] = {};
};

// Bytes 6 to 9 of a trailer for these conditions (byte 9, free, is 0):
// inverted C1/C2 in byte 6, inverted C3 and C1 in byte 7, C2 and C3 in byte 8.
std::array<quint8, TRAILER_ACCESS_SIZE> TrailerAccessBytes(const TrailerAccess& access);
// Conditions read back from a 16-byte trailer, from the plain bits of bytes 7 and 8.
TrailerAccess TrailerAccessFromTrailer(const quint8 trailer[MIFARE_BLOCK_SIZE]);
// The same, and whether every inverted copy in bytes 6 and 7 agrees with its plain bits:
// a card blocks a sector for good when one does not.
struct TrailerAccessDecoded
{
    TrailerAccess access;
    bool consistent = false;
};
TrailerAccessDecoded TrailerAccessDecode(const quint8 trailer[MIFARE_BLOCK_SIZE]);
// The trailer's own conditions (C1B3, C2B3, C3B3) of 000, 010, 100, 110 or 111
// forbid any later write of the access bits: the sector is frozen for good.
bool TrailerAccessFreezes(const TrailerAccess& access);
// "0xFF 0x07 0x80 0x00".
QString TrailerBytesText(const quint8* bytes, quint8 count);
// A 16-byte block written as the reader shows blocks: exactly sixteen "0xHH" separated by
// blanks. Other forms are read differently by different readers, so none is guessed at.
bool MifareBlockRead(const QString& text, quint8 block[MIFARE_BLOCK_SIZE]);
// Whether an absolute block number is a sector trailer: the last block of each 4-block
// sector, and from block 128 on (4K cards) the last of each 16-block sector.
bool MifareTrailerBlock(qint64 block);

#endif // TRAILERBITS_H
