#include "badge/cardkeys.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include "badge/trailerbits.h"

namespace {
// More keys than this would make a dump of a locked card last for hours.
constexpr int MAX_KEYS = 4096;
} // namespace

QList<QByteArray> CardKeysDefault()
{
    QList<QByteArray> keys;
    for (const char* hex :
         {"5A17C3882E91", "FFFFFFFFFFFF", "A0A1A2A3A4A5", "D3F7D3F7D3F7", "000000000000", "B0B1B2B3B4B5"})
        keys << QByteArray::fromHex(hex);
    return keys;
}

bool CardKeyParse(const QString& text, QByteArray* key)
{
    static const QRegularExpression run(QStringLiteral("^[0-9a-fA-F]{12}$"));
    static const QRegularExpression byteText(QStringLiteral("^0[xX][0-9a-fA-F]{2}$"));
    const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() == 1 && run.match(parts.first()).hasMatch()) {
        *key = QByteArray::fromHex(parts.first().toLatin1());
        return true;
    }
    if (parts.size() != CARD_KEY_SIZE)
        return false;
    QByteArray bytes;
    for (const QString& part : parts) {
        if (!byteText.match(part).hasMatch())
            return false;
        bytes.append(char(part.mid(2).toUInt(nullptr, 16)));
    }
    *key = bytes;
    return true;
}

QString CardKeyText(const QByteArray& key)
{
    return TrailerBytesText(reinterpret_cast<const quint8*>(key.constData()), quint8(key.size()));
}

bool CardKeysParse(const QByteArray& content, QList<QByteArray>* keys, QString* error)
{
    QList<QByteArray> found;
    const QList<QByteArray> lines = content.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines.at(i);
        const int comment = line.indexOf('#');
        if (comment >= 0)
            line.truncate(comment);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        QByteArray key;
        if (!CardKeyParse(QString::fromLatin1(line), &key)) {
            *error = QCoreApplication::translate(
                         "CardKeys", "ligne %1 : clé invalide (12 chiffres hexadécimaux attendus)")
                         .arg(i + 1);
            return false;
        }
        if (found.size() == MAX_KEYS) {
            *error = QCoreApplication::translate("CardKeys", "plus de %1 clés").arg(MAX_KEYS);
            return false;
        }
        found << key;
    }
    if (found.isEmpty()) {
        *error = QCoreApplication::translate("CardKeys", "aucune clé dans le fichier");
        return false;
    }
    *keys = found;
    return true;
}

QList<QByteArray> CardKeysMerge(const QList<QByteArray>& first, const QList<QByteArray>& others)
{
    QList<QByteArray> merged;
    for (const QList<QByteArray>* list : {&first, &others}) {
        for (const QByteArray& key : *list) {
            if (key.size() == CARD_KEY_SIZE && !merged.contains(key))
                merged << key;
        }
    }
    return merged;
}
