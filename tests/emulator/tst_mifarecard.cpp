#include "badgememory.h"
#include "mifarecard.h"

#include <QtTest>

using namespace MifareAccess;

namespace {
const QByteArray Ffs = MifareCard::transportKey();
const QByteArray KeyA = QByteArray::fromHex("A0A1A2A3A4A5");
const QByteArray KeyB = QByteArray::fromHex("B0B1B2B3B4B5");

// Sector 2 (blocks 8 to 11) with keys A/B and the given conditions for block 8 and the trailer.
MifareCard cardWith(int dataCond, int trailerCond)
{
    MifareCard card;
    const QByteArray access = accessBytes(dataCond, 0, 0, trailerCond) + '\x69';
    card.setRawBlock(11, KeyA + access + KeyB);
    return card;
}
} // namespace

class TstMifareCard : public QObject
{
    Q_OBJECT
private slots:
    void accessBytesLayout();
    void accessConditions();
    void trailerRules();
    void valueBlocks();
    void badgeRecord();
};

void TstMifareCard::accessBytesLayout()
{
    // Conditions of blocks 0 to 2 and of the trailer: all zero, transport, C1 of block 0, system, value.
    const struct
    {
        int c[4];
        const char* hex;
    } cases[] = {{{0, 0, 0, 0}, "FF0F00"},
                 {{0, 0, 0, 1}, "FF0780"},
                 {{4, 0, 0, 0}, "FE1F00"},
                 {{0, 0, 0, 3}, "7F0788"},
                 {{6, 6, 1, 3}, "4C33CB"}};
    for (const auto& k : cases) {
        const QByteArray bytes = QByteArray::fromHex(k.hex);
        QCOMPARE(accessBytes(k.c[0], k.c[1], k.c[2], k.c[3]).toHex(), bytes.toHex());
        QVERIFY(accessBytesValid(bytes));
        for (int m = 0; m < 4; ++m)
            QCOMPARE(condition(bytes, m), k.c[m]);
        // Any single flipped bit breaks the plain/inverted pairing.
        for (int bit = 0; bit < 24; ++bit) {
            QByteArray broken = bytes;
            broken[bit / 8] = static_cast<char>(broken[bit / 8] ^ (1 << (bit % 8)));
            QVERIFY2(!accessBytesValid(broken), qPrintable(QString("%1 bit %2").arg(k.hex).arg(bit)));
        }
    }
}

void TstMifareCard::accessConditions()
{
    // Per condition C1C2C3, what key A and then key B may do.
    // Block 8: r read, w write, i increment, d decrement.
    // Trailer: r read access bits, k read key B, a write key A, c write access bits, b write key B.
    const QByteArray newA = QByteArray::fromHex("C0C1C2C3C4C5"), newB = QByteArray::fromHex("D0D1D2D3D4D5");
    auto mark = [](bool done, char letter) { return done ? letter : '-'; };
    QStringList data, trailer;
    for (int cond = 0; cond < 8; ++cond) {
        QString d = QString::number(cond), t = d;
        for (const auto& [type, key] : {std::pair(KeyType::A, KeyA), std::pair(KeyType::B, KeyB)}) {
            // Trailer condition 011: key B is secret, so it can authenticate.
            MifareCard card = cardWith(cond, 3);
            card.setRawBlock(8, MifareCard::valueBlock(100, 8));
            QByteArray bytes;
            const bool read = card.readBlock(8, type, key, &bytes) == MifareResult::Ok;
            QCOMPARE(read, dataAllowed(cond, DataOp::Read, type));
            d +=
                QString(" ") + mark(read, 'r') +
                mark(card.writeBlock(8, type, key, MifareCard::valueBlock(100, 8)) == MifareResult::Ok, 'w') +
                mark(card.increment(8, type, key, 5) == MifareResult::Ok, 'i') +
                mark(card.decrement(8, type, key, 5) == MifareResult::Ok, 'd');
            // A wrong key never gets in, whatever the conditions.
            QCOMPARE(card.readBlock(8, type, Ffs, &bytes), MifareResult::AuthFailed);

            card = cardWith(0, cond);
            bytes.clear();
            const bool readable = card.readTrailer(2, type, key, &bytes) == MifareResult::Ok;
            QCOMPARE(bytes.left(6), readable ? QByteArray(6, '\0') : QByteArray());
            t += QString(" ") + mark(readable, 'r') + mark(readable && bytes.mid(10) == KeyB, 'k');
            // Same conditions, another general purpose byte: shows whether the access bytes were written.
            card.writeTrailer(2, type, key, newA, accessBytes(0, 0, 0, cond) + '\x42', newB);
            const QByteArray stored = card.rawBlock(11);
            t += QString(mark(stored.left(6) == newA, 'a')) + mark(stored.at(9) == '\x42', 'c') +
                 mark(stored.mid(10) == newB, 'b');
        }
        data << d;
        trailer << t;
    }
    QCOMPARE(data, (QStringList{"0 rwid rwid", "1 r--d r--d", "2 r--- r---", "3 ---- rw--", "4 r--- rw--",
                                "5 ---- r---", "6 r--d rwid", "7 ---- ----"}));
    QCOMPARE(trailer, (QStringList{"0 rka-b -----", "1 rkacb -----", "2 rk--- -----", "3 r---- r-acb",
                                   "4 r---- r-a-b", "5 r---- r--c-", "6 r---- r----", "7 r---- r----"}));
}

void TstMifareCard::trailerRules()
{
    QByteArray trailer;
    // Factory card: key A reads access bits and key B, writes everything; key A reads as zeros.
    MifareCard card(QByteArray::fromHex("11223344"));
    QCOMPARE(card.uid().toHex(), QByteArray("11223344"));
    QCOMPARE(card.readTrailer(0, KeyType::A, Ffs, &trailer), MifareResult::Ok);
    QCOMPARE(trailer.toHex(), QByteArray("000000000000ff078069ffffffffffff"));
    // Key B is readable there, so it cannot authenticate.
    QCOMPARE(card.readTrailer(0, KeyType::B, Ffs, &trailer), MifareResult::Forbidden);
    QCOMPARE(card.readBlock(3, KeyType::A, Ffs, &trailer), MifareResult::Ok);
    QCOMPARE(card.writeBlock(0, KeyType::A, Ffs, QByteArray(16, 'x')), MifareResult::Forbidden);
    QCOMPARE(card.readBlock(64, KeyType::A, Ffs, &trailer), MifareResult::BadBlock);
    QCOMPARE(card.readTrailer(16, KeyType::A, Ffs, &trailer), MifareResult::BadBlock);

    // Access bytes that the chip would reject are refused and change nothing.
    QCOMPARE(card.writeTrailer(1, KeyType::A, Ffs, KeyA, QByteArray::fromHex("FF0F0F00"), KeyB),
             MifareResult::BadAccessBits);
    QCOMPARE(card.rawBlock(7).toHex(), QByteArray("ffffffffffffff078069ffffffffffff"));

    // Condition 100: key B changes both keys but not the access bits; key A changes nothing.
    card.setRawBlock(7, KeyA + accessBytes(0, 0, 0, 4) + '\x00' + KeyB);
    QCOMPARE(card.writeTrailer(1, KeyType::A, KeyA, Ffs, MifareCard::transportAccess(), Ffs),
             MifareResult::Forbidden);
    QCOMPARE(card.writeTrailer(1, KeyType::B, KeyB, Ffs, MifareCard::transportAccess(), Ffs),
             MifareResult::Ok);
    QCOMPARE(card.rawBlock(7).toHex(), (Ffs + accessBytes(0, 0, 0, 4) + '\x00' + Ffs).toHex());
    // Key B now reads back as zeros, the access bits as stored.
    QCOMPARE(card.readTrailer(1, KeyType::A, Ffs, &trailer), MifareResult::Ok);
    QCOMPARE(trailer.mid(10).toHex(), QByteArray("000000000000"));
    QCOMPARE(trailer.mid(6, 3), accessBytes(0, 0, 0, 4));

    // A sector whose stored access bytes are corrupt is blocked for every key.
    card.setRawBlock(11, Ffs + QByteArray::fromHex("00000000") + Ffs);
    QCOMPARE(card.readBlock(8, KeyType::A, Ffs, &trailer), MifareResult::Forbidden);
}

void TstMifareCard::valueBlocks()
{
    qint32 value = 0;
    quint8 address = 0;
    QVERIFY(MifareCard::parseValueBlock(MifareCard::valueBlock(-2, 9), &value, &address));
    QCOMPARE(value, -2);
    QCOMPARE(address, quint8(9));
    QCOMPARE(MifareCard::valueBlock(1, 4).toHex(), QByteArray("01000000feffffff0100000004fb04fb"));

    MifareCard card;
    card.setRawBlock(5, MifareCard::valueBlock(100, 5));
    QCOMPARE(card.increment(5, KeyType::A, Ffs, 23), MifareResult::Ok);
    QCOMPARE(card.decrement(5, KeyType::A, Ffs, 3), MifareResult::Ok);
    QVERIFY(MifareCard::parseValueBlock(card.rawBlock(5), &value, &address));
    QCOMPARE(value, 120);
    QCOMPARE(address, quint8(5));
    QCOMPARE(card.increment(5, KeyType::A, Ffs, 0x7FFFFFFF), MifareResult::Overflow);
    QCOMPARE(card.decrement(5, KeyType::A, Ffs, -1), MifareResult::Overflow);
    QVERIFY(MifareCard::parseValueBlock(card.rawBlock(5), &value, &address));
    QCOMPARE(value, 120);
    // A data block that is not in value format, and a trailer, refuse value operations.
    QCOMPARE(card.increment(6, KeyType::A, Ffs, 1), MifareResult::NotValueBlock);
    QCOMPARE(card.increment(7, KeyType::A, Ffs, 1), MifareResult::BadBlock);
    QByteArray broken = MifareCard::valueBlock(7, 5);
    broken[4] = 0;
    card.setRawBlock(5, broken);
    QCOMPARE(card.decrement(5, KeyType::A, Ffs, 1), MifareResult::NotValueBlock);
}

void TstMifareCard::badgeRecord()
{
    MifareCard card(QByteArray::fromHex("5E6F7081"));
    QCOMPARE(BadgeMemory::read(card).state, BadgeMemory::State::Blank);
    QCOMPARE(BadgeMemory::createSecurity(card), -1);
    QCOMPARE(BadgeMemory::read(card).state, BadgeMemory::State::NoRecord);
    // Running it again on a structured card is harmless.
    QCOMPARE(BadgeMemory::createSecurity(card), -1);
    QByteArray trailer;
    QCOMPARE(card.readTrailer(4, KeyType::A, BadgeMemory::systemKey(), &trailer), MifareResult::Ok);
    QCOMPARE(trailer.mid(6, 4).toHex(), QByteArray("7f078869"));

    const QString record = "Tyc=128;Usr=15;Nal=Éloïse;" + QString(200, 'x');
    QCOMPARE(BadgeMemory::writeRecord(card, record), -1);
    BadgeMemory::ReadResult read = BadgeMemory::read(card);
    QCOMPARE(read.state, BadgeMemory::State::Ok);
    QCOMPARE(read.record, record);
    // The text is really in the data blocks, readable with the system key.
    QByteArray block;
    QCOMPARE(card.readBlock(5, KeyType::A, BadgeMemory::systemKey(), &block), MifareResult::Ok);
    QCOMPARE(block.left(8), QByteArray("Tyc=128;"));
    QVERIFY(BadgeMemory::writeRecord(card, QString(BadgeMemory::capacity() + 1, 'y')) >= 0);
    QCOMPARE(BadgeMemory::read(card).record, record);

    // One changed byte: damaged. A record sector with other keys: read error naming it.
    MifareCard damaged = card;
    QByteArray b9 = damaged.rawBlock(9);
    b9[0] = static_cast<char>(b9[0] ^ 1);
    damaged.setRawBlock(9, b9);
    QCOMPARE(BadgeMemory::read(damaged).state, BadgeMemory::State::Damaged);
    MifareCard locked = card;
    locked.setRawBlock(11, KeyA + BadgeMemory::systemAccess() + KeyB);
    read = BadgeMemory::read(locked);
    QCOMPARE(read.state, BadgeMemory::State::ReadError);
    QCOMPARE(read.sector, 2);
    // The security structure stops at the sector it cannot open.
    MifareCard foreign;
    foreign.setRawBlock(4 * 6 + 3, KeyA + MifareCard::transportAccess() + KeyB);
    QCOMPARE(BadgeMemory::createSecurity(foreign), 6);
    locked.setRawBlock(7, KeyA + BadgeMemory::systemAccess() + KeyB);
    QCOMPARE(BadgeMemory::read(locked).state, BadgeMemory::State::Foreign);
}

QTEST_APPLESS_MAIN(TstMifareCard)
#include "tst_mifarecard.moc"
