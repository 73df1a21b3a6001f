#include "carddeck.h"

#include "badgememory.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {
// The damaged badge: one byte of its record text flipped, so the checksum no longer matches.
constexpr int DamagedBlock = 5;
constexpr int DamagedByte = 3;
constexpr char DamageMask = 0x21;
// A forced status is the polling answer's two-digit code.
constexpr int MaxStatus = 99;

// Puts keys of their own on a sector of the system's security structure.
void sectorKeysSet(MifareCard& chip, int sector, const char* keyA, const char* keyB,
                   const QByteArray& text = {})
{
    const int first = sector * MifareCard::BlocksPerSector;
    chip.setRawBlock(first + MifareCard::TrailerIndex,
                     QByteArray::fromHex(keyA) + BadgeMemory::systemAccess() + QByteArray::fromHex(keyB));
    chip.setRawBlock(first, text);
}

VirtualCard makeCard(const QString& name, const QString& uidHex, const QString& record, bool damage = false)
{
    VirtualCard card{name, MifareCard(QByteArray::fromHex(uidHex.toLatin1())), 0};
    if (!record.isEmpty()) {
        BadgeMemory::createSecurity(card.chip);
        BadgeMemory::writeRecord(card.chip, record);
        if (damage) {
            QByteArray block = card.chip.rawBlock(DamagedBlock);
            block[DamagedByte] = static_cast<char>(block[DamagedByte] ^ DamageMask);
            card.chip.setRawBlock(DamagedBlock, block);
        }
    }
    return card;
}
// A badge whose sectors 8 to 10 open with common public keys of their own; locked, one more
// sector opens only with a key no usual list holds.
VirtualCard multiKeyCard(bool locked)
{
    VirtualCard card = locked ? makeCard("Badge secteur verrouillé", "7C8D9EAF",
                                         "Tyc=128;Usr=107;Grp=0;Vda=991231;Naf=Marc;Nal=Roux")
                              : makeCard("Badge multi-clés", "6A7B8C9D",
                                         "Tyc=128;Usr=106;Grp=0;Vda=991231;Naf=Ines;Nal=Blanc");
    sectorKeysSet(card.chip, 8, "A0A1A2A3A4A5", "B0B1B2B3B4B5", "Secteur 8 A0A1");
    sectorKeysSet(card.chip, 9, "D3F7D3F7D3F7", "D3F7D3F7D3F7", "Secteur 9 D3F7");
    sectorKeysSet(card.chip, 10, "000000000000", "B0B1B2B3B4B5", "Secteur 10 0000");
    if (locked)
        sectorKeysSet(card.chip, 12, "112233445566", "665544332211", "Secteur 12 secret");
    return card;
}

// A blank card whose block 0 can be written: what a badge is cloned onto.
VirtualCard magicBlank()
{
    VirtualCard card = makeCard("Carte vierge magique", "C0FFEE01", QString());
    card.chip.setUidWritable(true);
    return card;
}
} // namespace

QVector<VirtualCard> CardDeck::defaults()
{
    return {
        makeCard("Carte vierge", "1A2B3C4D", QString()),
        makeCard(
            "Badge accès valide", "5E6F7081",
            "Tyc=128;Usr=101;Grp=0;Lev=1;Vda=991231;Cda=261201;Naf=Alice;Nal=Martin;Nac=Korvel;Cn0=2500"),
        makeCard("Badge expiré", "92A3B4C5",
                 "Tyc=128;Usr=102;Grp=1;Vda=240630;Cda=230101;Naf=Paul;Nal=Durand"),
        makeCard("Badge en liste noire", "04A1B2C3",
                 "Tyc=128;Usr=125;Grp=3;Vda=991231;Cda=250101;Naf=Luc;Nal=Petit"),
        makeCard("Badge endommagé", "D6E7F809", "Tyc=16;Usr=104;Grp=0;Vda=991231;Nal=Bernard;Cn0=1000", true),
        multiKeyCard(false),
        multiKeyCard(true),
        magicBlank(),
    };
}

bool CardDeck::fromJson(const QByteArray& json, QVector<VirtualCard>* deck, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        *error = parseError.errorString();
        return false;
    }
    const QJsonArray list = doc.isArray() ? doc.array() : doc.object().value("cards").toArray();
    if (list.isEmpty()) {
        *error = "no card in the deck";
        return false;
    }
    QVector<VirtualCard> cards;
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject o = list.at(i).toObject();
        const QString name = o.value("name").toString(QString("Carte %1").arg(i + 1));
        const QString uid = o.value("uid").toString();
        const int status = o.value("status").toInt();
        if (status < 0 || status > MaxStatus) {
            *error = QString("card %1: status must be 0 to 99").arg(i + 1);
            return false;
        }
        VirtualCard card{name, MifareCard(), status};
        if (o.contains("memory")) {
            const QByteArray memory = QByteArray::fromHex(o.value("memory").toString().toLatin1());
            if (!card.chip.setMemory(memory)) {
                *error = QString("card %1: memory must be %2 bytes in hex").arg(i + 1).arg(MifareCard::Size);
                return false;
            }
        } else if (!QRegularExpression("^[0-9A-Fa-f]{8}$").match(uid).hasMatch()) {
            *error = QString("card %1: uid must be 8 hex digits").arg(i + 1);
            return false;
        } else {
            card.chip = makeCard(name, uid, o.value("record").toString(), o.value("damaged").toBool()).chip;
            if (o.value("secured").toBool())
                BadgeMemory::createSecurity(card.chip);
        }
        card.chip.setUidWritable(o.value("magic").toBool());
        cards.append(card);
    }
    *deck = cards;
    return true;
}

bool CardDeck::load(const QString& path, QVector<VirtualCard>* deck, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.fileName() + ": " + file.errorString();
        return false;
    }
    QString problem;
    if (!fromJson(file.readAll(), deck, &problem)) {
        *error = file.fileName() + ": " + problem;
        return false;
    }
    return true;
}
