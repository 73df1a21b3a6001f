#include "badgememory.h"

#include <QVector>

namespace {
const QByteArray Magic("KVR1");
constexpr int HeaderBlock = BadgeMemory::FirstSector * MifareCard::BlocksPerSector;
// The header: magic, text length and CRC, each field big-endian.
constexpr int LengthByte = 4;
constexpr int CrcByte = LengthByte + 2;
// CRC-16/CCITT.
constexpr quint16 CrcInit = 0xFFFF;
constexpr quint16 CrcPolynomial = 0x1021;
constexpr quint16 CrcTopBit = 0x8000;

quint16 bigEndian16(const QByteArray& bytes, int at)
{
    return static_cast<quint16>((static_cast<quint8>(bytes[at]) << 8) | static_cast<quint8>(bytes[at + 1]));
}

void setBigEndian16(QByteArray& bytes, int at, int value)
{
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
}

QVector<int> textBlocks()
{
    QVector<int> blocks;
    for (int s = BadgeMemory::FirstSector; s <= BadgeMemory::LastRecordSector; ++s) {
        for (int b = 0; b < MifareCard::TrailerIndex; ++b) {
            const int block = s * MifareCard::BlocksPerSector + b;
            if (block != HeaderBlock)
                blocks.append(block);
        }
    }
    return blocks;
}
} // namespace

QByteArray BadgeMemory::systemKey()
{
    return QByteArray::fromHex("5A17C3882E91");
}

QByteArray BadgeMemory::systemAccess()
{
    return QByteArray::fromHex("7F078869");
}

int BadgeMemory::capacity()
{
    return textBlocks().size() * MifareCard::BlockSize;
}

quint16 BadgeMemory::crc16(const QByteArray& data)
{
    quint16 crc = CrcInit;
    for (const char c : data) {
        crc ^= static_cast<quint16>(static_cast<quint8>(c)) << 8;
        for (int i = 0; i < 8; ++i)
            crc = (crc & CrcTopBit) ? static_cast<quint16>((crc << 1) ^ CrcPolynomial)
                                    : static_cast<quint16>(crc << 1);
    }
    return crc;
}

bool BadgeMemory::hasSecurity(const MifareCard& card)
{
    QByteArray data;
    return card.readBlock(HeaderBlock, KeyType::A, systemKey(), &data) == MifareResult::Ok;
}

BadgeMemory::ReadResult BadgeMemory::read(const MifareCard& card)
{
    ReadResult result;
    QByteArray header;
    if (card.readBlock(HeaderBlock, KeyType::A, systemKey(), &header) != MifareResult::Ok) {
        QByteArray dummy;
        const bool factory =
            card.readBlock(HeaderBlock, KeyType::A, MifareCard::transportKey(), &dummy) == MifareResult::Ok;
        result.state = factory ? State::Blank : State::Foreign;
        result.sector = FirstSector;
        return result;
    }
    if (header == QByteArray(MifareCard::BlockSize, '\0')) {
        result.state = State::NoRecord;
        return result;
    }
    const int length = bigEndian16(header, LengthByte);
    const quint16 crc = bigEndian16(header, CrcByte);
    if (!header.startsWith(Magic) || length > capacity()) {
        result.state = State::Damaged;
        return result;
    }
    QByteArray text;
    for (const int block : textBlocks()) {
        if (text.size() >= length)
            break;
        QByteArray data;
        if (card.readBlock(block, KeyType::A, systemKey(), &data) != MifareResult::Ok) {
            result.state = State::ReadError;
            result.sector = block / MifareCard::BlocksPerSector;
            return result;
        }
        text.append(data);
    }
    text.truncate(length);
    if (crc16(text) != crc) {
        result.state = State::Damaged;
        return result;
    }
    result.state = State::Ok;
    // Up to the first NUL, as Qt 5 read a QByteArray (Qt 6 would keep the rest).
    result.record = QString::fromUtf8(text.constData(), int(qstrnlen(text.constData(), uint(text.size()))));
    return result;
}

int BadgeMemory::createSecurity(MifareCard& card)
{
    const QByteArray key = systemKey();
    for (int s = FirstSector; s < MifareCard::Sectors; ++s) {
        QByteArray trailer;
        if (card.readTrailer(s, KeyType::A, key, &trailer) == MifareResult::Ok &&
            trailer.mid(MifareCard::AccessOffset, MifareCard::AccessSize) == systemAccess())
            continue;
        // A factory sector lets key A rewrite the whole trailer; a half-made one takes key B.
        if (card.writeTrailer(s, KeyType::A, MifareCard::transportKey(), key, systemAccess(), key) ==
                MifareResult::Ok ||
            card.writeTrailer(s, KeyType::B, key, key, systemAccess(), key) == MifareResult::Ok)
            continue;
        return s;
    }
    return -1;
}

int BadgeMemory::writeRecord(MifareCard& card, const QString& record)
{
    const QByteArray text = record.toUtf8();
    if (text.size() > capacity())
        return FirstSector;
    QByteArray header(MifareCard::BlockSize, '\0');
    header.replace(0, Magic.size(), Magic);
    setBigEndian16(header, LengthByte, text.size());
    setBigEndian16(header, CrcByte, crc16(text));
    const QByteArray key = systemKey();
    const QVector<int> blocks = textBlocks();
    for (int i = 0; i < blocks.size(); ++i) {
        const QByteArray chunk = text.mid(i * MifareCard::BlockSize, MifareCard::BlockSize);
        if (card.writeBlock(blocks[i], KeyType::A, key, chunk) != MifareResult::Ok)
            return blocks[i] / MifareCard::BlocksPerSector;
    }
    // The header goes last: a write cut short leaves the old checksum, so the card reads as damaged.
    if (card.writeBlock(HeaderBlock, KeyType::A, key, header) != MifareResult::Ok)
        return FirstSector;
    return -1;
}
