#include "badgememory.h"

#include <QVector>

namespace {
const QByteArray Magic("KVR1");
constexpr int HeaderBlock = BadgeMemory::FirstSector * MifareCard::BlocksPerSector;

QVector<int> textBlocks()
{
    QVector<int> blocks;
    for (int s = BadgeMemory::FirstSector; s <= BadgeMemory::LastRecordSector; ++s) {
        for (int b = 0; b < 3; ++b) {
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
    quint16 crc = 0xFFFF;
    for (const char c : data) {
        crc ^= static_cast<quint16>(static_cast<quint8>(c)) << 8;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 0x8000) ? static_cast<quint16>((crc << 1) ^ 0x1021) : static_cast<quint16>(crc << 1);
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
    const int length = (static_cast<quint8>(header[4]) << 8) | static_cast<quint8>(header[5]);
    const quint16 crc =
        static_cast<quint16>((static_cast<quint8>(header[6]) << 8) | static_cast<quint8>(header[7]));
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
    result.record = QString::fromUtf8(text);
    return result;
}

int BadgeMemory::createSecurity(MifareCard& card)
{
    const QByteArray key = systemKey();
    for (int s = FirstSector; s < MifareCard::Sectors; ++s) {
        QByteArray trailer;
        if (card.readTrailer(s, KeyType::A, key, &trailer) == MifareResult::Ok &&
            trailer.mid(6, 4) == systemAccess())
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
    header.replace(0, 4, Magic);
    header[4] = static_cast<char>(text.size() >> 8);
    header[5] = static_cast<char>(text.size() & 0xFF);
    const quint16 crc = crc16(text);
    header[6] = static_cast<char>(crc >> 8);
    header[7] = static_cast<char>(crc & 0xFF);
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
