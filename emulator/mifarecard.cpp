#include "mifarecard.h"

#include <limits>

namespace {
constexpr int PermA = 1;
constexpr int PermB = 2;
constexpr int PermAB = PermA | PermB;
// An access condition is three bits, C1 C2 C3.
constexpr int ConditionMask = 7;

// Block 0 as the manufacturer writes it: UID, its check byte, SAK and ATQA of a 1K card.
constexpr int BccByte = MifareCard::UidSize;
constexpr int SakByte = BccByte + 1;
constexpr int AtqaByte = SakByte + 1;
constexpr char Sak1K = '\x08';
constexpr char Atqa1K[] = {'\x04', '\x00'};

// A value block: the value, its complement, the value again (little-endian), then the address,
// its complement, the address, its complement.
constexpr int ValueSize = 4;
constexpr int ValueInverted = ValueSize;
constexpr int ValueCopy = 2 * ValueSize;
constexpr int ValueAddress = 3 * ValueSize;

// Rows indexed by C1 C2 C3; columns read, write, increment, decrement/transfer/restore.
constexpr int DataTable[8][4] = {
    {PermAB, PermAB, PermAB, PermAB}, // 000 transport
    {PermAB, 0, 0, PermAB},           // 001 value block, no recharge
    {PermAB, 0, 0, 0},                // 010 read only
    {PermB, PermB, 0, 0},             // 011
    {PermAB, PermB, 0, 0},            // 100
    {PermB, 0, 0, 0},                 // 101
    {PermAB, PermB, PermB, PermAB},   // 110 value block, recharge with key B
    {0, 0, 0, 0},                     // 111 blocked
};

// Columns write key A, read access bits, write access bits, read key B, write key B.
constexpr int TrailerTable[8][5] = {
    {PermA, PermA, 0, PermA, PermA},     // 000
    {PermA, PermA, PermA, PermA, PermA}, // 001 transport
    {0, PermA, 0, PermA, 0},             // 010
    {PermB, PermAB, PermB, 0, PermB},    // 011
    {PermB, PermAB, 0, 0, PermB},        // 100
    {0, PermAB, PermB, 0, 0},            // 101
    {0, PermAB, 0, 0, 0},                // 110
    {0, PermAB, 0, 0, 0},                // 111
};

int bitOf(int perm, KeyType key)
{
    return perm & (key == KeyType::A ? PermA : PermB);
}

quint8 byteAt(const QByteArray& bytes, int i)
{
    return static_cast<quint8>(bytes.at(i));
}
} // namespace

namespace MifareAccess {
bool accessBytesValid(const QByteArray& access)
{
    if (access.size() < MifareCard::AccessBitsSize)
        return false;
    const quint8 b6 = byteAt(access, 0), b7 = byteAt(access, 1), b8 = byteAt(access, 2);
    const quint8 c1 = b7 >> 4, c2 = b8 & 0x0F, c3 = b8 >> 4;
    return (static_cast<quint8>(~b6) & 0x0F) == c1 && (static_cast<quint8>(~b6) >> 4) == c2 &&
           (static_cast<quint8>(~b7) & 0x0F) == c3;
}

int condition(const QByteArray& access, int blockInSector)
{
    const quint8 b7 = byteAt(access, 1), b8 = byteAt(access, 2);
    const int c1 = (b7 >> (4 + blockInSector)) & 1;
    const int c2 = (b8 >> blockInSector) & 1;
    const int c3 = (b8 >> (4 + blockInSector)) & 1;
    return (c1 << 2) | (c2 << 1) | c3;
}

QByteArray accessBytes(int cond0, int cond1, int cond2, int condTrailer)
{
    const int conds[MifareCard::BlocksPerSector] = {cond0, cond1, cond2, condTrailer};
    quint8 c1 = 0, c2 = 0, c3 = 0;
    for (int m = 0; m < MifareCard::BlocksPerSector; ++m) {
        c1 |= ((conds[m] >> 2) & 1) << m;
        c2 |= ((conds[m] >> 1) & 1) << m;
        c3 |= (conds[m] & 1) << m;
    }
    QByteArray bytes(MifareCard::AccessBitsSize, '\0');
    bytes[0] = static_cast<char>(((~c2 & 0x0F) << 4) | (~c1 & 0x0F));
    bytes[1] = static_cast<char>((c1 << 4) | (~c3 & 0x0F));
    bytes[2] = static_cast<char>((c3 << 4) | c2);
    return bytes;
}

bool dataAllowed(int cond, DataOp op, KeyType key)
{
    return bitOf(DataTable[cond & ConditionMask][static_cast<int>(op)], key) != 0;
}

bool trailerAllowed(int cond, TrailerOp op, KeyType key)
{
    return bitOf(TrailerTable[cond & ConditionMask][static_cast<int>(op)], key) != 0;
}

bool keyBReadable(int trailerCond)
{
    return TrailerTable[trailerCond & ConditionMask][static_cast<int>(TrailerOp::ReadKeyB)] != 0;
}
} // namespace MifareAccess

using namespace MifareAccess;

QByteArray MifareCard::transportKey()
{
    return QByteArray(KeySize, '\xFF');
}

QByteArray MifareCard::transportAccess()
{
    return QByteArray::fromHex("FF078069");
}

MifareCard::MifareCard(const QByteArray& uid) : m_memory(Size, '\0')
{
    QByteArray block0(BlockSize, '\0');
    const QByteArray id = uid.left(UidSize).leftJustified(UidSize, '\0');
    quint8 bcc = 0;
    for (int i = 0; i < UidSize; ++i) {
        block0[i] = id[i];
        bcc ^= byteAt(id, i);
    }
    block0[BccByte] = static_cast<char>(bcc);
    block0[SakByte] = Sak1K;
    block0[AtqaByte] = Atqa1K[0];
    block0[AtqaByte + 1] = Atqa1K[1];
    setRawBlock(0, block0);
    const QByteArray trailer = transportKey() + transportAccess() + transportKey();
    for (int s = 0; s < Sectors; ++s)
        setRawBlock(s * BlocksPerSector + TrailerIndex, trailer);
}

bool MifareCard::setMemory(const QByteArray& memory)
{
    if (memory.size() != Size)
        return false;
    m_memory = memory;
    return true;
}

void MifareCard::setRawBlock(int block, const QByteArray& data)
{
    if (block < 0 || block >= Blocks)
        return;
    m_memory.replace(block * BlockSize, BlockSize, data.leftJustified(BlockSize, '\0', true));
}

int MifareCard::conditionOf(int block) const
{
    return condition(trailerOf(block / BlocksPerSector).mid(AccessOffset, AccessBitsSize),
                     block % BlocksPerSector);
}

MifareResult MifareCard::authenticate(int sector, KeyType keyType, const QByteArray& key) const
{
    const QByteArray trailer = trailerOf(sector);
    const QByteArray stored =
        keyType == KeyType::A ? trailer.left(KeySize) : trailer.mid(KeyBOffset, KeySize);
    if (key.size() != KeySize || key != stored)
        return MifareResult::AuthFailed;
    // A sector whose access bytes are corrupt is blocked for good.
    const QByteArray access = trailer.mid(AccessOffset, AccessBitsSize);
    if (!accessBytesValid(access))
        return MifareResult::Forbidden;
    if (keyType == KeyType::B && keyBReadable(condition(access, TrailerIndex)))
        return MifareResult::Forbidden;
    return MifareResult::Ok;
}

MifareResult MifareCard::readBlock(int block, KeyType keyType, const QByteArray& key, QByteArray* data) const
{
    if (block < 0 || block >= Blocks)
        return MifareResult::BadBlock;
    if (isTrailer(block))
        return readTrailer(block / BlocksPerSector, keyType, key, data);
    const MifareResult auth = authenticate(block / BlocksPerSector, keyType, key);
    if (auth != MifareResult::Ok)
        return auth;
    if (!dataAllowed(conditionOf(block), DataOp::Read, keyType))
        return MifareResult::Forbidden;
    *data = rawBlock(block);
    return MifareResult::Ok;
}

MifareResult MifareCard::writeBlock(int block, KeyType keyType, const QByteArray& key, const QByteArray& data)
{
    if (block < 0 || block >= Blocks)
        return MifareResult::BadBlock;
    const QByteArray full = data.leftJustified(BlockSize, '\0', true);
    if (isTrailer(block))
        return writeTrailer(block / BlocksPerSector, keyType, key, full.left(KeySize),
                            full.mid(AccessOffset, AccessSize), full.mid(KeyBOffset, KeySize));
    const MifareResult auth = authenticate(block / BlocksPerSector, keyType, key);
    if (auth != MifareResult::Ok)
        return auth;
    // The manufacturer block is read-only on a genuine card.
    if ((block == 0 && !m_uidWritable) || !dataAllowed(conditionOf(block), DataOp::Write, keyType))
        return MifareResult::Forbidden;
    setRawBlock(block, full);
    return MifareResult::Ok;
}

MifareResult MifareCard::valueOp(int block, KeyType keyType, const QByteArray& key, qint64 delta, DataOp op)
{
    if (block < 0 || block >= Blocks || isTrailer(block))
        return MifareResult::BadBlock;
    const MifareResult auth = authenticate(block / BlocksPerSector, keyType, key);
    if (auth != MifareResult::Ok)
        return auth;
    // The result is transferred back into the same block, which the decrement column governs.
    const int cond = conditionOf(block);
    if (block == 0 || !dataAllowed(cond, op, keyType) || !dataAllowed(cond, DataOp::Decrement, keyType))
        return MifareResult::Forbidden;
    qint32 value = 0;
    quint8 address = 0;
    if (!parseValueBlock(rawBlock(block), &value, &address))
        return MifareResult::NotValueBlock;
    const qint64 result = static_cast<qint64>(value) + delta;
    if (result > std::numeric_limits<qint32>::max() || result < std::numeric_limits<qint32>::min())
        return MifareResult::Overflow;
    setRawBlock(block, valueBlock(static_cast<qint32>(result), address));
    return MifareResult::Ok;
}

MifareResult MifareCard::increment(int block, KeyType keyType, const QByteArray& key, qint64 operand)
{
    if (operand < 0 || operand > std::numeric_limits<qint32>::max())
        return MifareResult::Overflow;
    return valueOp(block, keyType, key, operand, DataOp::Increment);
}

MifareResult MifareCard::decrement(int block, KeyType keyType, const QByteArray& key, qint64 operand)
{
    if (operand < 0 || operand > std::numeric_limits<qint32>::max())
        return MifareResult::Overflow;
    return valueOp(block, keyType, key, -operand, DataOp::Decrement);
}

MifareResult MifareCard::readTrailer(int sector, KeyType keyType, const QByteArray& key,
                                     QByteArray* trailer) const
{
    if (sector < 0 || sector >= Sectors)
        return MifareResult::BadBlock;
    const MifareResult auth = authenticate(sector, keyType, key);
    if (auth != MifareResult::Ok)
        return auth;
    const QByteArray stored = trailerOf(sector);
    const int cond = condition(stored.mid(AccessOffset, AccessBitsSize), TrailerIndex);
    if (!trailerAllowed(cond, TrailerOp::ReadAccess, keyType))
        return MifareResult::Forbidden;
    QByteArray out(BlockSize, '\0');
    out.replace(AccessOffset, AccessSize, stored.mid(AccessOffset, AccessSize));
    if (trailerAllowed(cond, TrailerOp::ReadKeyB, keyType))
        out.replace(KeyBOffset, KeySize, stored.mid(KeyBOffset, KeySize));
    *trailer = out;
    return MifareResult::Ok;
}

MifareResult MifareCard::writeTrailer(int sector, KeyType keyType, const QByteArray& key,
                                      const QByteArray& keyA, const QByteArray& access4,
                                      const QByteArray& keyB)
{
    if (sector < 0 || sector >= Sectors)
        return MifareResult::BadBlock;
    const MifareResult auth = authenticate(sector, keyType, key);
    if (auth != MifareResult::Ok)
        return auth;
    QByteArray trailer = trailerOf(sector);
    const int cond = condition(trailer.mid(AccessOffset, AccessBitsSize), TrailerIndex);
    const bool mayKeyA = trailerAllowed(cond, TrailerOp::WriteKeyA, keyType);
    const bool mayAccess = trailerAllowed(cond, TrailerOp::WriteAccess, keyType);
    const bool mayKeyB = trailerAllowed(cond, TrailerOp::WriteKeyB, keyType);
    if (!mayKeyA && !mayAccess && !mayKeyB)
        return MifareResult::Forbidden;
    // Corrupt access bytes would block the sector for ever; the reader refuses to write them.
    if (mayAccess && !accessBytesValid(access4))
        return MifareResult::BadAccessBits;
    if (mayKeyA)
        trailer.replace(0, KeySize, keyA.leftJustified(KeySize, '\0', true));
    if (mayAccess)
        trailer.replace(AccessOffset, AccessSize, access4.leftJustified(AccessSize, '\0', true));
    if (mayKeyB)
        trailer.replace(KeyBOffset, KeySize, keyB.leftJustified(KeySize, '\0', true));
    setRawBlock(sector * BlocksPerSector + TrailerIndex, trailer);
    return MifareResult::Ok;
}

QByteArray MifareCard::valueBlock(qint32 value, quint8 address)
{
    QByteArray block(BlockSize, '\0');
    const quint32 v = static_cast<quint32>(value);
    for (int i = 0; i < ValueSize; ++i) {
        const char b = static_cast<char>((v >> (8 * i)) & 0xFF);
        block[i] = b;
        block[ValueInverted + i] = static_cast<char>(~b);
        block[ValueCopy + i] = b;
    }
    block[ValueAddress] = static_cast<char>(address);
    block[ValueAddress + 1] = static_cast<char>(~address);
    block[ValueAddress + 2] = static_cast<char>(address);
    block[ValueAddress + 3] = static_cast<char>(~address);
    return block;
}

bool MifareCard::parseValueBlock(const QByteArray& block, qint32* value, quint8* address)
{
    if (block.size() != BlockSize)
        return false;
    for (int i = 0; i < ValueSize; ++i) {
        if (block[i] != block[ValueCopy + i] ||
            byteAt(block, i) != static_cast<quint8>(~byteAt(block, ValueInverted + i)))
            return false;
    }
    if (block[ValueAddress] != block[ValueAddress + 2] ||
        block[ValueAddress + 1] != block[ValueAddress + 3] ||
        byteAt(block, ValueAddress) != static_cast<quint8>(~byteAt(block, ValueAddress + 1)))
        return false;
    quint32 v = 0;
    for (int i = 0; i < ValueSize; ++i)
        v |= static_cast<quint32>(byteAt(block, i)) << (8 * i);
    *value = static_cast<qint32>(v);
    *address = byteAt(block, ValueAddress);
    return true;
}
