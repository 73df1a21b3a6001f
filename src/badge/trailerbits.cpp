#include "badge/trailerbits.h"

#include <QRegularExpression>
#include <QStringList>

#include "commun/vrltoolbox.h"

namespace {
constexpr unsigned NIBBLE = 0x0F;
// Below this block sectors have 4 blocks; from it on (4K cards), 16.
constexpr qint64 LARGE_SECTORS_START = 128;
constexpr qint64 SMALL_SECTOR_BLOCKS = 4;
constexpr qint64 LARGE_SECTOR_BLOCKS = 16;
} // namespace

std::array<quint8, TRAILER_ACCESS_SIZE> TrailerAccessBytes(const TrailerAccess& access)
{
    std::array<quint8, TRAILER_ACCESS_SIZE> bytes = {0xFF, 0x0F, 0x00, 0x00};
    for (int block = 0; block < 4; ++block) {
        if (access.Bits[0][block]) {
            bytes[0] &= quint8(~(1u << block));
            bytes[1] |= quint8(1u << (4 + block));
        }
        if (access.Bits[1][block]) {
            bytes[0] &= quint8(~(1u << (4 + block)));
            bytes[2] |= quint8(1u << block);
        }
        if (access.Bits[2][block]) {
            bytes[1] &= quint8(~(1u << block));
            bytes[2] |= quint8(1u << (4 + block));
        }
    }
    return bytes;
}

TrailerAccess TrailerAccessFromTrailer(const quint8 trailer[MIFARE_BLOCK_SIZE])
{
    TrailerAccess access;
    for (int block = 0; block < 4; ++block) {
        access.Bits[0][block] = (trailer[7] >> (4 + block)) & 1u;
        access.Bits[1][block] = (trailer[8] >> block) & 1u;
        access.Bits[2][block] = (trailer[8] >> (4 + block)) & 1u;
    }
    return access;
}

TrailerAccessDecoded TrailerAccessDecode(const quint8 trailer[MIFARE_BLOCK_SIZE])
{
    const quint8 b6 = trailer[6], b7 = trailer[7], b8 = trailer[8];
    const auto inverted = [](unsigned nibble) { return ~nibble & NIBBLE; };
    TrailerAccessDecoded decoded;
    decoded.access = TrailerAccessFromTrailer(trailer);
    decoded.consistent = inverted(b6 & NIBBLE) == unsigned(b7 >> 4) &&
                         inverted(b6 >> 4) == unsigned(b8 & NIBBLE) &&
                         inverted(b7 & NIBBLE) == unsigned(b8 >> 4);
    return decoded;
}

bool TrailerAccessFreezes(const TrailerAccess& access)
{
    const int c1 = access.Bits[0][3];
    const int c2 = access.Bits[1][3];
    const int c3 = access.Bits[2][3];
    // Only 001, 011 and 101 leave the access bits writable with some key.
    const int code = c1 << 2 | c2 << 1 | c3;
    return code != 0b001 && code != 0b011 && code != 0b101;
}

QString TrailerBytesText(const quint8* bytes, quint8 count)
{
    // "0xAB" and a blank per byte, a NUL at the end.
    char text[MIFARE_BLOCK_SIZE * 5 + 1];
    return QString::fromLatin1(VRLTBSTR_BytesToHex(bytes, text, count, "0x", " "));
}

bool MifareBlockRead(const QString& text, quint8 block[MIFARE_BLOCK_SIZE])
{
    static const QRegularExpression byteText(QStringLiteral("^0[xX][0-9a-fA-F]{2}$"));
    const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != MIFARE_BLOCK_SIZE)
        return false;
    for (int i = 0; i < MIFARE_BLOCK_SIZE; ++i) {
        if (!byteText.match(parts.at(i)).hasMatch())
            return false;
        block[i] = quint8(parts.at(i).mid(2).toUInt(nullptr, 16));
    }
    return true;
}

bool MifareTrailerBlock(qint64 block)
{
    if (block < 0)
        return false;
    if (block < LARGE_SECTORS_START)
        return block % SMALL_SECTOR_BLOCKS == SMALL_SECTOR_BLOCKS - 1;
    return (block - LARGE_SECTORS_START) % LARGE_SECTOR_BLOCKS == LARGE_SECTOR_BLOCKS - 1;
}
