#ifndef MIFARECARD_H
#define MIFARECARD_H

#include <QByteArray>

// A Mifare Classic 1K memory with the card's own access rules: every operation
// authenticates its sector with one key and is then allowed or refused by the
// sector trailer's access bits, exactly as the chip decides.

enum class KeyType
{
    A = 0,
    B = 1
};

enum class MifareResult
{
    Ok,
    BadBlock,      // block or sector out of range
    AuthFailed,    // wrong key
    Forbidden,     // the access conditions refuse the operation with this key
    NotValueBlock, // increment or decrement of a block not in value format
    Overflow,      // the value would leave the signed 32-bit range
    BadAccessBits  // a trailer write with access bytes the chip would reject
};

namespace MifareAccess {
enum class DataOp
{
    Read,
    Write,
    Increment,
    Decrement
};
enum class TrailerOp
{
    WriteKeyA,
    ReadAccess,
    WriteAccess,
    ReadKeyB,
    WriteKeyB
};

// Access bytes are bytes 6 to 8 of the trailer; each Cn bit is stored once plain and once inverted.
bool accessBytesValid(const QByteArray& access);
// The condition of one block of the sector (0 to 3, 3 = trailer) as C1 C2 C3 = bits 2 1 0.
int condition(const QByteArray& access, int blockInSector);
// Builds the three access bytes from four conditions (blocks 0, 1, 2, trailer).
QByteArray accessBytes(int cond0, int cond1, int cond2, int condTrailer);
bool dataAllowed(int cond, DataOp op, KeyType key);
bool trailerAllowed(int cond, TrailerOp op, KeyType key);
// When key B can be read it is plain data and cannot authenticate.
bool keyBReadable(int trailerCond);
} // namespace MifareAccess

class MifareCard
{
public:
    static constexpr int Sectors = 16;
    static constexpr int BlocksPerSector = 4;
    static constexpr int BlockSize = 16;
    static constexpr int Blocks = Sectors * BlocksPerSector;
    static constexpr int Size = Blocks * BlockSize;
    static constexpr int UidSize = 4;
    static constexpr int KeySize = 6;
    // A sector trailer: key A, three access bytes and a user byte, key B.
    static constexpr int TrailerIndex = BlocksPerSector - 1; // its block within the sector
    static constexpr int AccessOffset = KeySize;
    static constexpr int AccessBitsSize = 3;
    static constexpr int AccessSize = AccessBitsSize + 1;
    static constexpr int KeyBOffset = AccessOffset + AccessSize;

    static QByteArray transportKey();
    static QByteArray transportAccess(); // FF 07 80 69

    // A card as it leaves the factory: transport keys in every sector, zero data.
    explicit MifareCard(const QByteArray& uid = QByteArray::fromHex("01020304"));

    QByteArray uid() const { return m_memory.left(UidSize); }
    const QByteArray& memory() const { return m_memory; }
    bool setMemory(const QByteArray& memory);
    QByteArray rawBlock(int block) const { return m_memory.mid(block * BlockSize, BlockSize); }
    void setRawBlock(int block, const QByteArray& data);

    // A "magic" card, made for cloning, lets block 0 be written like any data block.
    bool uidWritable() const { return m_uidWritable; }
    void setUidWritable(bool writable) { m_uidWritable = writable; }

    static bool isTrailer(int block) { return block % BlocksPerSector == TrailerIndex; }

    MifareResult readBlock(int block, KeyType keyType, const QByteArray& key, QByteArray* data) const;
    MifareResult writeBlock(int block, KeyType keyType, const QByteArray& key, const QByteArray& data);
    MifareResult increment(int block, KeyType keyType, const QByteArray& key, qint64 operand);
    MifareResult decrement(int block, KeyType keyType, const QByteArray& key, qint64 operand);
    // Trailer as the chip returns it: key A as zeros, key B as zeros unless readable.
    MifareResult readTrailer(int sector, KeyType keyType, const QByteArray& key, QByteArray* trailer) const;
    // Writes the parts of the trailer that this key may change; the others stay as they are.
    MifareResult writeTrailer(int sector, KeyType keyType, const QByteArray& key, const QByteArray& keyA,
                              const QByteArray& access4, const QByteArray& keyB);

    static QByteArray valueBlock(qint32 value, quint8 address);
    static bool parseValueBlock(const QByteArray& block, qint32* value, quint8* address);

private:
    MifareResult authenticate(int sector, KeyType keyType, const QByteArray& key) const;
    QByteArray trailerOf(int sector) const { return rawBlock(sector * BlocksPerSector + TrailerIndex); }
    int conditionOf(int block) const;
    MifareResult valueOp(int block, KeyType keyType, const QByteArray& key, qint64 delta,
                         MifareAccess::DataOp op);

    QByteArray m_memory;
    bool m_uidWritable = false;
};

#endif // MIFARECARD_H
