#include "badge/carddump.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "badge/cardkeys.h"
#include "badge/trailerbits.h"

namespace {
const QString JSON_FORMAT = QStringLiteral("korvelmanager-carte-1k");
constexpr int JSON_VERSION = 1;
constexpr int HEX_BLOCK = 2 * CARD_BLOCK_SIZE;

bool HexOfSize(const QString& text, int digits, QByteArray* bytes)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-fA-F]*$"));
    if (text.size() != digits || !hex.match(text).hasMatch())
        return false;
    *bytes = QByteArray::fromHex(text.toLatin1());
    return true;
}

// Keys as the trailers of a file hold them: a file knows every key.
void KeysFromTrailers(CardDump* dump)
{
    for (int s = 0; s < CARD_SECTORS; ++s) {
        const QByteArray& trailer = dump->blocks[size_t(CardDump::TrailerOf(s))];
        dump->keys[size_t(s)] = {trailer.left(MIFARE_KEY_SIZE), trailer.mid(TRAILER_KEY_B_OFFSET), 0};
    }
}

QByteArray ImageOf(const CardDump& dump)
{
    QByteArray image;
    for (int b = 0; b < CARD_BLOCKS; ++b) {
        const int sector = b / CARD_SECTOR_BLOCKS;
        if (dump.SectorRead(sector) && dump.Known(b))
            image += dump.blocks[size_t(b)];
        else if (b == CardDump::TrailerOf(sector))
            image += CardBlankTrailer();
        else
            image += QByteArray(CARD_BLOCK_SIZE, '\0');
    }
    return image;
}

bool RawParse(const QByteArray& content, CardDump* dump, QString* error)
{
    if (content.size() != CARD_SIZE) {
        *error = QCoreApplication::translate("CardDump", "taille %1 octets au lieu de %2")
                     .arg(content.size())
                     .arg(CARD_SIZE);
        return false;
    }
    for (int b = 0; b < CARD_BLOCKS; ++b)
        dump->blocks[size_t(b)] = content.mid(b * CARD_BLOCK_SIZE, CARD_BLOCK_SIZE);
    KeysFromTrailers(dump);
    return true;
}

bool EmlParse(const QByteArray& content, CardDump* dump, QString* error)
{
    QList<QByteArray> lines = content.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != CARD_BLOCKS) {
        *error = QCoreApplication::translate("CardDump", "%1 lignes au lieu de %2")
                     .arg(lines.size())
                     .arg(CARD_BLOCKS);
        return false;
    }
    for (int b = 0; b < CARD_BLOCKS; ++b) {
        QByteArray line = lines.at(b);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!HexOfSize(QString::fromLatin1(line), HEX_BLOCK, &dump->blocks[size_t(b)])) {
            *error = QCoreApplication::translate("CardDump", "ligne %1 : %2 chiffres hexadécimaux attendus")
                         .arg(b + 1)
                         .arg(HEX_BLOCK);
            return false;
        }
    }
    KeysFromTrailers(dump);
    return true;
}

QJsonValue KeyJson(const QByteArray& key)
{
    return key.isEmpty() ? QJsonValue() : QJsonValue(QString::fromLatin1(key.toHex().toUpper()));
}

QByteArray JsonWrite(const CardDump& dump)
{
    QJsonArray blocks;
    for (const QByteArray& block : dump.blocks)
        blocks.append(block.isEmpty() ? QJsonValue()
                                      : QJsonValue(QString::fromLatin1(block.toHex().toUpper())));
    QJsonArray sectors;
    for (const CardSectorKeys& keys : dump.keys) {
        const QJsonValue opened =
            keys.openedBy ? QJsonValue(QString(QLatin1Char(keys.openedBy))) : QJsonValue();
        sectors.append(
            QJsonObject{{"keyA", KeyJson(keys.keyA)}, {"keyB", KeyJson(keys.keyB)}, {"openedBy", opened}});
    }
    const QJsonObject root{
        {"format", JSON_FORMAT}, {"version", JSON_VERSION}, {"blocks", blocks}, {"sectors", sectors}};
    return QJsonDocument(root).toJson();
}

// A key of a sector: null (not known) or 12 hex digits that the trailer, when read, holds too.
bool JsonKey(const QJsonValue& value, const QByteArray& trailer, int offset, QByteArray* key)
{
    if (value.isNull())
        return true;
    return HexOfSize(value.toString(), 2 * CARD_KEY_SIZE, key) &&
           (trailer.isEmpty() || trailer.mid(offset, CARD_KEY_SIZE) == *key);
}

bool JsonSector(const QJsonObject& o, const QByteArray& trailer, CardSectorKeys* keys)
{
    const QJsonValue opened = o.value("openedBy");
    if (!opened.isNull() && opened.toString() != "A" && opened.toString() != "B")
        return false;
    keys->openedBy = opened.isNull() ? 0 : opened.toString().at(0).toLatin1();
    return JsonKey(o.value("keyA"), trailer, 0, &keys->keyA) &&
           JsonKey(o.value("keyB"), trailer, TRAILER_KEY_B_OFFSET, &keys->keyB);
}

bool JsonParse(const QByteArray& content, CardDump* dump, QString* error)
{
    const QJsonObject root = QJsonDocument::fromJson(content).object();
    if (root.value("format").toString() != JSON_FORMAT || root.value("version").toInt() != JSON_VERSION) {
        *error =
            QCoreApplication::translate("CardDump", "pas un vidage de carte JSON (format %1, version %2)")
                .arg(JSON_FORMAT)
                .arg(JSON_VERSION);
        return false;
    }
    const QJsonArray blocks = root.value("blocks").toArray();
    const QJsonArray sectors = root.value("sectors").toArray();
    if (blocks.size() != CARD_BLOCKS || sectors.size() != CARD_SECTORS) {
        *error = QCoreApplication::translate("CardDump", "%1 blocs et %2 secteurs attendus")
                     .arg(CARD_BLOCKS)
                     .arg(CARD_SECTORS);
        return false;
    }
    for (int b = 0; b < CARD_BLOCKS; ++b) {
        if (!blocks.at(b).isNull() &&
            !HexOfSize(blocks.at(b).toString(), HEX_BLOCK, &dump->blocks[size_t(b)])) {
            *error =
                QCoreApplication::translate("CardDump", "bloc %1 : %2 chiffres hexadécimaux ou null attendus")
                    .arg(b)
                    .arg(HEX_BLOCK);
            return false;
        }
    }
    for (int s = 0; s < CARD_SECTORS; ++s) {
        if (!JsonSector(sectors.at(s).toObject(), dump->blocks[size_t(CardDump::TrailerOf(s))],
                        &dump->keys[size_t(s)])) {
            *error = QCoreApplication::translate("CardDump",
                                                 "secteur %1 : clés invalides ou différentes du trailer")
                         .arg(s);
            return false;
        }
    }
    return true;
}
} // namespace

int CardDump::SectorsRead() const
{
    int read = 0;
    for (int s = 0; s < CARD_SECTORS; ++s)
        read += SectorRead(s) ? 1 : 0;
    return read;
}

bool CardDump::IsEmpty() const
{
    for (int b = 0; b < CARD_BLOCKS; ++b) {
        if (Known(b))
            return false;
    }
    return true;
}

void CardDump::TrailerKeysFill(int sector)
{
    QByteArray& trailer = blocks[size_t(TrailerOf(sector))];
    const CardSectorKeys& k = keys[size_t(sector)];
    if (trailer.size() != CARD_BLOCK_SIZE)
        return;
    if (k.keyA.size() == CARD_KEY_SIZE)
        trailer.replace(0, CARD_KEY_SIZE, k.keyA);
    if (k.keyB.size() == CARD_KEY_SIZE)
        trailer.replace(TRAILER_KEY_B_OFFSET, CARD_KEY_SIZE, k.keyB);
}

QByteArray CardBlankTrailer()
{
    return QByteArray::fromHex("FFFFFFFFFFFFFF078069FFFFFFFFFFFF");
}

CardFileFormat CardFileFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "mfd" || suffix == "bin")
        return CardFileFormat::Raw;
    if (suffix == "eml")
        return CardFileFormat::Eml;
    return suffix == "json" ? CardFileFormat::Json : CardFileFormat::Unknown;
}

QByteArray CardDumpSerialize(const CardDump& dump, CardFileFormat format)
{
    if (format == CardFileFormat::Json)
        return JsonWrite(dump);
    const QByteArray image = ImageOf(dump);
    if (format == CardFileFormat::Raw)
        return image;
    QByteArray text;
    for (int b = 0; b < CARD_BLOCKS; ++b)
        text += image.mid(b * CARD_BLOCK_SIZE, CARD_BLOCK_SIZE).toHex().toUpper() + '\n';
    return text;
}

bool CardDumpParse(const QByteArray& content, CardFileFormat format, CardDump* dump, QString* error)
{
    CardDump parsed;
    bool ok = false;
    switch (format) {
    case CardFileFormat::Raw:
        ok = RawParse(content, &parsed, error);
        break;
    case CardFileFormat::Eml:
        ok = EmlParse(content, &parsed, error);
        break;
    case CardFileFormat::Json:
        ok = JsonParse(content, &parsed, error);
        break;
    case CardFileFormat::Unknown:
        *error = QCoreApplication::translate("CardDump", "extension inconnue (.mfd, .bin, .eml ou .json)");
        break;
    }
    if (ok)
        *dump = parsed;
    return ok;
}

QList<int> CardDumpDiff(const CardDump& expected, const CardDump& actual, const QList<int>& skip)
{
    QList<int> differ;
    for (int b = 0; b < CARD_BLOCKS; ++b) {
        if (!expected.Known(b) || skip.contains(b))
            continue;
        const QByteArray& want = expected.blocks[size_t(b)];
        const QByteArray& got = actual.blocks[size_t(b)];
        const int sector = b / CARD_SECTOR_BLOCKS;
        bool same = actual.Known(b);
        if (same && b == CardDump::TrailerOf(sector)) {
            const CardSectorKeys& k1 = expected.keys[size_t(sector)];
            const CardSectorKeys& k2 = actual.keys[size_t(sector)];
            same = want.mid(TRAILER_ACCESS_OFFSET, TRAILER_ACCESS_SIZE) ==
                       got.mid(TRAILER_ACCESS_OFFSET, TRAILER_ACCESS_SIZE) &&
                   (k1.keyA.isEmpty() || k2.keyA.isEmpty() || k1.keyA == k2.keyA) &&
                   (k1.keyB.isEmpty() || k2.keyB.isEmpty() || k1.keyB == k2.keyB);
        } else if (same) {
            same = want == got;
        }
        if (!same)
            differ << b;
    }
    return differ;
}

CardRestoreProblems CardRestoreCheck(const CardDump& source)
{
    CardRestoreProblems problems;
    for (int s = 0; s < CARD_SECTORS; ++s) {
        if (!source.SectorRead(s))
            continue;
        const auto* trailer =
            reinterpret_cast<const quint8*>(source.blocks[size_t(CardDump::TrailerOf(s))].constData());
        const TrailerAccessDecoded decoded = TrailerAccessDecode(trailer);
        if (!decoded.consistent)
            problems.inconsistent << s;
        else if (TrailerAccessFreezes(decoded.access))
            problems.freezing << s;
    }
    return problems;
}

QString CardNumberList(const QList<int>& numbers)
{
    QStringList texts;
    for (const int number : numbers)
        texts << QString::number(number);
    return texts.join(QStringLiteral(", "));
}
