#include "readermodel.h"

#include "badgememory.h"

#include <limits>

using namespace ReaderStatus;
using namespace ReaderText;

namespace {
constexpr ushort FirstPrintable = 0x20;
constexpr ushort Delete = 0x7F;

// Fields of an "R" request: block;key type;key, then the data of a write, or the
// operation and operand of an increment or decrement.
constexpr int ReadFields = 3;
constexpr int WriteFields = ReadFields + 1;
constexpr int ValueFields = ReadFields + 2;
constexpr qint64 MaxOperand = std::numeric_limits<qint32>::max();

const QString FileKey = QStringLiteral("Fil=");
const QString PositionKey = QStringLiteral("Pos=");
constexpr qint64 MaxPosition = 1000000;
// Record fields as the program's tables allow them.
constexpr qint64 LastZone = 11;
constexpr qint64 MaxGroup = 65535;
constexpr qint64 MaxCounter = 255;
constexpr qint64 MaxUserOrGroup = Q_INT64_C(9999999999);
constexpr int MaxUidText = 32;

char statusOf(MifareResult result)
{
    switch (result) {
    case MifareResult::Ok:
        return Ok;
    case MifareResult::BadBlock:
    case MifareResult::BadAccessBits:
        return BadPayload;
    case MifareResult::AuthFailed:
        return AuthFailed;
    case MifareResult::Forbidden:
        return Forbidden;
    case MifareResult::NotValueBlock:
    case MifareResult::Overflow:
        return BadCardData;
    }
    return BadCardData;
}

bool hasControlChars(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < FirstPrintable || c.unicode() == Delete)
            return true;
    }
    return false;
}

QString withoutUid(const QString& record)
{
    QStringList kept;
    for (const QString& element : record.split(';')) {
        if (element.section('=', 0, 0) != "UID")
            kept.append(element);
    }
    return kept.join(';');
}

bool recordValid(bool accessFile, const QMap<QString, QString>& rec)
{
    qint64 n = 0;
    if (accessFile) {
        if (!parseNumber(rec.value("Zid"), LastZone, &n) || !parseNumber(rec.value("Grp"), MaxGroup, &n))
            return false;
        for (const char* key : {"Cpt", "Apb"}) {
            if (rec.contains(key) && !parseNumber(rec.value(key), MaxCounter, &n))
                return false;
        }
        return true;
    }
    for (const char* key : {"Usr", "Grp"}) {
        if (!rec.value(key).isEmpty() && !parseNumber(rec.value(key), MaxUserOrGroup, &n))
            return false;
    }
    if (!rec.value("Cda").isEmpty() && !recordDate(rec.value("Cda")).isValid())
        return false;
    // UIDs are typed by hand in the program's table: any short text is kept as given.
    return rec.value("UID").size() <= MaxUidText;
}
} // namespace

ReaderModel::ReaderModel()
{
    for (const ReaderParameter& p : ParameterCatalogue::defaults()) {
        m_params.insert(p.id, p);
        m_order.append(p.id);
        m_committed.insert(p.id, p.value);
    }
    m_cards = CardDeck::defaults();
    // The blacklisted badge of the default deck is listed here.
    m_file5.append("Cda=261204;UID=04A1B2C3;Usr=125;Grp=3");
    m_file18 = QStringList{"Zid=0;Grp=0;Cpt=0;Apb=0", "Zid=1;Grp=0;Cpt=1;Apb=0"};
}

bool ReaderModel::loadDeck(const QByteArray& json, QString* error)
{
    QVector<VirtualCard> deck;
    if (!CardDeck::fromJson(json, &deck, error))
        return false;
    setDeck(deck);
    return true;
}

bool ReaderModel::present(int index, QStringList* debug)
{
    if (index < 0 || index >= m_cards.size())
        return false;
    if (m_present >= 0)
        debug->append(remove());
    m_present = index;
    m_events.append(true);
    debug->append("Support inséré UID=" + uidText(m_cards[index].chip.uid()));
    return true;
}

QStringList ReaderModel::remove()
{
    if (m_present < 0)
        return {};
    m_present = -1;
    // A card taken away before anyone polled was never seen: both events vanish.
    if (!m_events.isEmpty() && m_events.last())
        m_events.removeLast();
    else
        m_events.append(false);
    return {"Support retiré"};
}

ReaderModel::Answer ReaderModel::answer(char status, const QString& payload)
{
    Answer a;
    a.status = status;
    a.payload = payload.toUtf8();
    return a;
}

ReaderModel::Answer ReaderModel::handle(char letter, char subLetter, const QByteArray& payload)
{
    const QString text = decode(payload);
    if (hasControlChars(text))
        return answer(BadPayload);
    switch (letter) {
    case 'B':
        return badge(subLetter, text);
    case 'R':
        return raw(subLetter, text);
    case 'F':
        return files(subLetter, text);
    case 'V':
        return values(subLetter, text);
    default:
        return answer(UnknownCommand);
    }
}

ReaderModel::Answer ReaderModel::badge(char sub, const QString& payload)
{
    if (sub == 'S') {
        if (m_events.isEmpty())
            return answer(Ok, pollText(false, m_present >= 0));
        const bool insertion = m_events.takeFirst();
        return answer(Ok, pollText(true, insertion && m_present >= 0));
    }
    if (sub != 'R' && sub != 'N' && sub != 'W' && sub != 'F')
        return answer(UnknownCommand);
    if (m_present < 0)
        return answer(NoCard);
    MifareCard& chip = m_cards[m_present].chip;
    const QString uid = "UID=" + uidText(chip.uid());
    if (sub == 'R') {
        const BadgeMemory::ReadResult read = BadgeMemory::read(chip);
        switch (read.state) {
        case BadgeMemory::State::Ok:
            return answer(Ok, uid + ";" + read.record);
        case BadgeMemory::State::ReadError:
        case BadgeMemory::State::Foreign:
            return answer(AuthFailed, QString::number(read.sector));
        default:
            return answer(BadCardData, uid);
        }
    }
    if (sub == 'F') {
        const int failed = BadgeMemory::createSecurity(chip);
        Answer a = answer(failed < 0 ? Ok : AuthFailed, failed < 0 ? QString() : QString::number(failed));
        a.stateChanged = true;
        a.debug.append(failed < 0 ? "Structure sécurité créée " + uid
                                  : QString("Structure sécurité secteur %1 refusé").arg(failed));
        return a;
    }
    const QString rec = withoutUid(payload);
    if (rec.isEmpty())
        return answer(BadPayload);
    if (rec.toUtf8().size() > BadgeMemory::capacity())
        return answer(Full);
    if (sub == 'W' && !BadgeMemory::hasSecurity(chip))
        return answer(BadCardData, uid);
    int failed = sub == 'N' ? BadgeMemory::createSecurity(chip) : -1;
    if (failed < 0)
        failed = BadgeMemory::writeRecord(chip, rec);
    Answer a = answer(failed < 0 ? Ok : AuthFailed, failed < 0 ? uid + ";" + rec : QString::number(failed));
    a.stateChanged = true;
    if (failed < 0)
        a.debug.append((sub == 'N' ? "Badge créé " : "Badge écrit ") + uid);
    return a;
}

ReaderModel::Answer ReaderModel::raw(char sub, const QString& payload)
{
    if (sub != 'R' && sub != 'W' && sub != 'I' && sub != 'D')
        return answer(UnknownCommand);
    const QStringList f = payload.split(';');
    const int expected = sub == 'R' ? ReadFields : sub == 'W' ? WriteFields : ValueFields;
    qint64 block = 0;
    QByteArray key;
    if (f.size() != expected || !parseNumber(f[0], MifareCard::Blocks - 1, &block) ||
        (f[1] != "0" && f[1] != "1") || !parseHexBytes(f[2], &key) || key.size() != MifareCard::KeySize)
        return answer(BadPayload);
    if (m_present < 0)
        return answer(NoCard);
    MifareCard& chip = m_cards[m_present].chip;
    const KeyType keyType = f[1] == "1" ? KeyType::B : KeyType::A;
    const int b = static_cast<int>(block);
    const bool trailer = MifareCard::isTrailer(b);
    MifareResult result = MifareResult::Ok;
    QByteArray data;
    if (sub == 'W') {
        if (!parseHexBytes(f[3], &data) || data.size() > MifareCard::BlockSize ||
            (trailer && data.size() != MifareCard::BlockSize))
            return answer(BadPayload);
        result = trailer ? chip.writeTrailer(b / MifareCard::BlocksPerSector, keyType, key,
                                             data.left(MifareCard::KeySize),
                                             data.mid(MifareCard::AccessOffset, MifareCard::AccessSize),
                                             data.mid(MifareCard::KeyBOffset, MifareCard::KeySize))
                         : chip.writeBlock(b, keyType, key, data);
    } else if (sub == 'I' || sub == 'D') {
        qint64 operand = 0;
        if (f[3] != (sub == 'I' ? "1" : "2") || !parseNumber(f[4], MaxOperand, &operand))
            return answer(BadPayload);
        result =
            sub == 'I' ? chip.increment(b, keyType, key, operand) : chip.decrement(b, keyType, key, operand);
    } else {
        result = chip.readBlock(b, keyType, key, &data);
    }
    if (result != MifareResult::Ok)
        return answer(statusOf(result));
    Answer a = answer(Ok);
    a.stateChanged = sub != 'R';
    // The answer shows the block as it now reads with the same key, or with the new one
    // when a trailer write has just changed it.
    const QByteArray newKey = keyType == KeyType::A ? data.left(MifareCard::KeySize)
                                                    : data.mid(MifareCard::KeyBOffset, MifareCard::KeySize);
    QByteArray shown;
    if (chip.readBlock(b, keyType, key, &shown) == MifareResult::Ok ||
        (trailer && sub == 'W' && chip.readBlock(b, keyType, newKey, &shown) == MifareResult::Ok))
        a.payload = hexText(shown).toUtf8();
    return a;
}

QStringList* ReaderModel::fileByNumber(const QString& text)
{
    if (text == FileKey + QString::number(BlacklistFile))
        return &m_file5;
    if (text == FileKey + QString::number(AccessFile))
        return &m_file18;
    return nullptr;
}

ReaderModel::Answer ReaderModel::files(char sub, const QString& payload)
{
    if (sub != 'C' && sub != 'A' && sub != 'G')
        return answer(UnknownCommand);
    const QString head = payload.section(';', 0, 0);
    const QString rest = payload.section(';', 1);
    if (!head.startsWith(FileKey))
        return answer(BadPayload);
    QStringList* file = fileByNumber(head);
    if (!file)
        return answer(NotFound);
    const QString number = head.mid(FileKey.size());
    if (sub == 'C') {
        if (payload != head)
            return answer(BadPayload);
        file->clear();
        Answer a = answer(Ok);
        a.stateChanged = true;
        a.debug.append("Fichier " + number + " effacé");
        return a;
    }
    if (sub == 'G') {
        qint64 pos = 0;
        if (!rest.startsWith(PositionKey) || !parseNumber(rest.mid(PositionKey.size()), MaxPosition, &pos))
            return answer(BadPayload);
        if (pos >= file->size())
            return answer(NotFound);
        return answer(Ok, file->at(static_cast<int>(pos)));
    }
    if (!payload.contains(';') || rest.isEmpty())
        return answer(BadPayload);
    if (!recordValid(file == &m_file18, record(rest)))
        return answer(BadPayload);
    if (file->size() >= MaxFileRecords)
        return answer(Full);
    file->append(rest);
    Answer a = answer(Ok);
    a.stateChanged = true;
    return a;
}
