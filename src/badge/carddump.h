#ifndef CARDDUMP_H
#define CARDDUMP_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// The memory of a Mifare Classic 1K card as a whole-card read left it: 16 sectors of
// 4 blocks of 16 bytes, each block read or not, each sector's keys found or not.
constexpr int CARD_SECTORS = 16;
constexpr int CARD_SECTOR_BLOCKS = 4;
constexpr int CARD_BLOCKS = CARD_SECTORS * CARD_SECTOR_BLOCKS;
constexpr int CARD_BLOCK_SIZE = 16;
constexpr int CARD_SIZE = CARD_BLOCKS * CARD_BLOCK_SIZE;

struct CardSectorKeys
{
    // Empty while not known: the card never shows key A, and key B only when readable.
    QByteArray keyA;
    QByteArray keyB;
    // The key that opened the sector in the read: 'A' or 'B', 0 when none did or the
    // dump came from a file.
    char openedBy = 0;
};

struct CardDump
{
    // An empty block was not read.
    std::array<QByteArray, CARD_BLOCKS> blocks;
    std::array<CardSectorKeys, CARD_SECTORS> keys;

    static int TrailerOf(int sector) { return sector * CARD_SECTOR_BLOCKS + CARD_SECTOR_BLOCKS - 1; }
    bool Known(int block) const { return blocks[size_t(block)].size() == CARD_BLOCK_SIZE; }
    // A sector is read when its trailer is: some key opened it.
    bool SectorRead(int sector) const { return Known(TrailerOf(sector)); }
    int SectorsRead() const;
    bool IsEmpty() const;
    // Puts the known keys into the trailer's key bytes, where the card shows zeros.
    void TrailerKeysFill(int sector);
};

enum class CardFileFormat
{
    Raw, // .mfd, .bin: the 1024 bytes
    Eml, // .eml: 64 lines of 32 hex digits
    Json,
    Unknown
};

CardFileFormat CardFileFormatOf(const QString& path);
// The file's bytes; a sector not read is written as a blank one (zero data, keys FF..FF,
// access bytes FF 07 80 69) in the raw and .eml forms.
QByteArray CardDumpSerialize(const CardDump& dump, CardFileFormat format);
// The whole content checked before anything is taken: false with the reason, dump untouched.
bool CardDumpParse(const QByteArray& content, CardFileFormat format, CardDump* dump, QString* error);
// The blank sector written for a sector not read.
QByteArray CardBlankTrailer();
// Block or sector numbers as the status texts list them: "3, 7, 11".
QString CardNumberList(const QList<int>& numbers);

// The blocks whose bytes differ, among those known on both sides and not in skip. Trailers
// compare their access bytes, and each key where both sides know it. A block known in
// expected but not read in actual differs: it could not be checked.
QList<int> CardDumpDiff(const CardDump& expected, const CardDump& actual, const QList<int>& skip = {});

// The sectors whose trailer a restore must not write: access bytes whose inverted copies
// disagree (never sent), and access bits that would freeze the sector (asked first).
struct CardRestoreProblems
{
    QList<int> inconsistent;
    QList<int> freezing;
};
CardRestoreProblems CardRestoreCheck(const CardDump& source);

#endif // CARDDUMP_H
