#include "badge/accessrights.h"

#include <QCoreApplication>
#include <QStringList>

#include <iterator>

namespace {
constexpr int CONDITION_COUNT = 8;
constexpr int SECTOR_DATA_BLOCKS = 3;
constexpr int TRAILER_BLOCK = 3;
constexpr AccessKeys NO = ACCESS_NEVER;
constexpr AccessKeys A = ACCESS_KEY_A;
constexpr AccessKeys B = ACCESS_KEY_B;
constexpr AccessKeys AB = ACCESS_KEY_AB;

// The card's tables, one row per condition C1 C2 C3 from 000 to 111.
constexpr DataBlockRights DATA_RIGHTS[CONDITION_COUNT] = {
    {AB, AB, AB, AB}, // 000 transport configuration
    {AB, NO, NO, AB}, // 001 value block that is only spent
    {AB, NO, NO, NO}, // 010 read only
    {B, B, NO, NO},   // 011
    {AB, B, NO, NO},  // 100
    {B, NO, NO, NO},  // 101
    {AB, B, B, AB},   // 110 value block recharged with key B
    {NO, NO, NO, NO}, // 111 blocked
};
constexpr TrailerRights TRAILER_RIGHTS[CONDITION_COUNT] = {
    {A, A, NO, A, A},     // 000
    {A, A, A, A, A},      // 001 transport configuration
    {NO, A, NO, A, NO},   // 010
    {B, AB, B, NO, B},    // 011
    {B, AB, NO, NO, B},   // 100
    {NO, AB, B, NO, NO},  // 101
    {NO, AB, NO, NO, NO}, // 110
    {NO, AB, NO, NO, NO}, // 111
};

QString KeysText(AccessKeys keys)
{
    return keys == AB ? QStringLiteral("A|B") : keys == A ? QStringLiteral("A") : QStringLiteral("B");
}

// "what keys" for each allowed operation, joined by ", ".
QString RightsText(const char* const* what, const AccessKeys* keys, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i) {
        if (keys[i] != NO)
            parts << QCoreApplication::translate("AccessRights", what[i]) + QLatin1Char(' ') +
                         KeysText(keys[i]);
    }
    return parts.join(QStringLiteral(", "));
}
} // namespace

int AccessCondition(const TrailerAccess& access, int block)
{
    return int(access.Bits[0][block]) << 2 | int(access.Bits[1][block]) << 1 | int(access.Bits[2][block]);
}

DataBlockRights DataBlockRightsOf(int condition)
{
    return DATA_RIGHTS[condition & (CONDITION_COUNT - 1)];
}

TrailerRights TrailerRightsOf(int condition)
{
    return TRAILER_RIGHTS[condition & (CONDITION_COUNT - 1)];
}

QString DataBlockRightsText(int condition)
{
    static const char* const what[] = {
        QT_TRANSLATE_NOOP("AccessRights", "lecture"), QT_TRANSLATE_NOOP("AccessRights", "écriture"),
        QT_TRANSLATE_NOOP("AccessRights", "incrément"), QT_TRANSLATE_NOOP("AccessRights", "décrément")};
    const DataBlockRights r = DataBlockRightsOf(condition);
    const AccessKeys keys[] = {r.read, r.write, r.increment, r.decrement};
    const QString text = RightsText(what, keys, int(std::size(keys)));
    return text.isEmpty() ? QCoreApplication::translate("AccessRights", "aucun accès") : text;
}

QString TrailerRightsText(int condition)
{
    static const char* const what[] = {QT_TRANSLATE_NOOP("AccessRights", "clé A écrite par"),
                                       QT_TRANSLATE_NOOP("AccessRights", "bits d'accès lus par"),
                                       QT_TRANSLATE_NOOP("AccessRights", "bits d'accès écrits par"),
                                       QT_TRANSLATE_NOOP("AccessRights", "clé B lisible par"),
                                       QT_TRANSLATE_NOOP("AccessRights", "clé B écrite par")};
    const TrailerRights r = TrailerRightsOf(condition);
    const AccessKeys keys[] = {r.keyAWrite, r.accessRead, r.accessWrite, r.keyBRead, r.keyBWrite};
    return RightsText(what, keys, int(std::size(keys)));
}

QString AccessRightsText(const TrailerAccess& access)
{
    QStringList lines;
    for (int block = 0; block < SECTOR_DATA_BLOCKS; ++block)
        lines << QCoreApplication::translate("AccessRights", "Bloc %1 : ").arg(block) +
                     DataBlockRightsText(AccessCondition(access, block));
    lines << QCoreApplication::translate("AccessRights", "Trailer : ") +
                 TrailerRightsText(AccessCondition(access, TRAILER_BLOCK));
    return lines.join(QLatin1Char('\n'));
}
