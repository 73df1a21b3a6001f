#include "badge/badgerecord.h"

#include <QCoreApplication>
#include <QStringList>

#include <iterator>

#include "commun/shortdate.h"
#include "commun/vrltoolbox.h"

namespace {
const char* const RECORD_DATE = "yyMMdd";
const char* const TEXT_KEYS[] = {"UID", "Usr", "Lev", "Doi", "Rem", "Naf", "Nal", "Nac"};

QString KeyOf(const QString& part)
{
    return part.section(QLatin1Char('='), 0, 0);
}

bool IsTextKey(const QString& key)
{
    for (const char* known : TEXT_KEYS) {
        if (key == QLatin1String(known))
            return true;
    }
    return false;
}

// False when the field is not one the form shows, or its value does not decode.
bool ItemDecode(const QString& key, const QString& value, BadgeItem* item)
{
    using Kind = BadgeItem::Kind;
    item->key = key;
    item->value = value;
    bool ok = false;
    if (IsTextKey(key)) {
        item->kind = Kind::Text;
        return true;
    }
    if (key == QLatin1String("Tyc")) {
        item->kind = Kind::Type;
        item->number = value.toInt(&ok, 10);
        return ok;
    }
    if (key == QLatin1String("Grp")) {
        item->kind = Kind::Group;
        item->number = value.toInt(&ok, 10);
        if (!ok)
            item->number = -1;
        return true;
    }
    if (key == QLatin1String("Vda") || key == QLatin1String("Cda")) {
        item->kind = key == QLatin1String("Vda") ? Kind::Validity : Kind::Creation;
        item->date = RecordDateRead(value);
        return item->date.isValid();
    }
    if (key.size() >= 3 && key.startsWith(QLatin1String("Cn"))) {
        item->kind = Kind::Counter;
        item->number = key.at(2).digitValue();
        item->value = VRLTBSTR_NumberToHundredthsText(value, &ok);
        return ok && item->number >= 0 && item->number < COUNTER_ROW_COUNT;
    }
    return false;
}
} // namespace

const BadgeType BADGE_TYPES[5] = {
    {QT_TRANSLATE_NOOP("BadgeForm", "Crédit"), BADGE_TYPE_CREDIT},
    {QT_TRANSLATE_NOOP("BadgeForm", "Exploitant"), BADGE_TYPE_EXPLOITANT},
    {QT_TRANSLATE_NOOP("BadgeForm", "Accès"), BADGE_TYPE_ACCES},
    {QT_TRANSLATE_NOOP("BadgeForm", "Unité"), BADGE_TYPE_UNITE},
    {QT_TRANSLATE_NOOP("BadgeForm", "Facturation"), BADGE_TYPE_FACTURATION},
};

bool BadgeTypeKnown(int code)
{
    for (const BadgeType& type : BADGE_TYPES) {
        if (type.code == code)
            return true;
    }
    return false;
}

bool BadgeRecordBuild(const BadgeFields& fields, QString* built)
{
    built->clear();
    QString record = QStringLiteral("Tyc=");
    if (fields.type != BadgeFields::NO_TYPE)
        record += QString::number(fields.type);

    const auto append = [&record](const char* key, const QString& text) {
        if (!text.isEmpty())
            record += QLatin1Char(';') + QLatin1String(key) + QLatin1Char('=') + text;
    };
    append("Usr", fields.usr);
    append("Grp", fields.grp);
    append("Lev", fields.lev);
    if (fields.validity.isValid())
        record += QStringLiteral(";Vda=") + fields.validity.toString(QLatin1String(RECORD_DATE));
    const QDate created = ShortDateRead(fields.creation);
    if (created.isValid())
        record += QStringLiteral(";Cda=") + created.toString(QLatin1String(RECORD_DATE));
    append("Doi", fields.doi);
    append("Rem", fields.rem);
    append("Naf", fields.naf);
    append("Nal", fields.nal);
    append("Nac", fields.nac);
    for (int row = 0; row < COUNTER_ROW_COUNT; ++row) {
        // An empty amount gives no counter value, as it always has.
        if (!fields.counterInUse[row] || fields.counters[row].isEmpty())
            continue;
        bool ok = false;
        const quint32 amount = VRLTBSTR_TextToHundredths(fields.counters[row], &ok);
        if (!ok)
            return false;
        record += QStringLiteral(";Cn%1=%2").arg(row).arg(amount);
    }
    *built = record;
    return true;
}

QList<BadgeItem> BadgeRecordItems(const QString& record)
{
    const QStringList parts = record.split(QLatin1Char(';'));
    QStringList ordered;
    for (const QString& part : parts) {
        if (KeyOf(part) == QLatin1String("Grp"))
            ordered.append(part);
    }
    for (const QString& part : parts) {
        if (KeyOf(part) != QLatin1String("Grp"))
            ordered.append(part);
    }
    QList<BadgeItem> items;
    for (const QString& part : ordered) {
        BadgeItem item;
        if (ItemDecode(KeyOf(part), part.section(QLatin1Char('='), 1, 1), &item))
            items.append(item);
    }
    return items;
}

void BadgeItemApply(const BadgeItem& item, BadgeFields* fields)
{
    using Kind = BadgeItem::Kind;
    QString* const texts[] = {nullptr,      &fields->usr, &fields->lev, &fields->doi,
                              &fields->rem, &fields->naf, &fields->nal, &fields->nac};
    switch (item.kind) {
    case Kind::Text:
        for (int i = 0; i < int(std::size(TEXT_KEYS)); ++i) {
            if (texts[i] && item.key == QLatin1String(TEXT_KEYS[i]))
                *texts[i] = item.value;
        }
        break;
    case Kind::Type:
        if (BadgeTypeKnown(item.number))
            fields->type = item.number;
        break;
    case Kind::Group:
        fields->grp = item.value;
        break;
    case Kind::Validity:
        fields->validity = item.date;
        break;
    case Kind::Creation:
        fields->creation = item.date.toString(QStringLiteral("dd/MM/yy"));
        break;
    case Kind::Counter:
        fields->counterInUse[item.number] = true;
        fields->counters[item.number] = item.value;
        break;
    }
}
