// ReaderModel, continued: what the polling answer says of the card on the reader.

#include "readermodel.h"

#include "badgememory.h"

using namespace ReaderText;

QString ReaderModel::pollPeek() const
{
    return pollText(false, m_present >= 0);
}

QString ReaderModel::pollText(bool event, bool present) const
{
    QString text = event ? "1" : "0";
    if (!present)
        return text + "0000000";
    int code = 0;
    QString detail;
    const MifareCard& chip = m_cards[m_present].chip;
    cardStatus(m_cards[m_present], &code, &detail);
    text += QString("1%1%2%3").arg(code == 0 ? '1' : '0').arg(code, 2, 10, QChar('0')).arg(detail);
    if (event)
        text += ";UID=" + uidText(chip.uid());
    return text;
}

void ReaderModel::cardStatus(const VirtualCard& virtualCard, int* code, QString* detail) const
{
    *detail = "000";
    if (virtualCard.forcedStatus > 0) {
        *code = virtualCard.forcedStatus;
        return;
    }
    const MifareCard& card = virtualCard.chip;
    const BadgeMemory::ReadResult read = BadgeMemory::read(card);
    switch (read.state) {
    case BadgeMemory::State::Blank:
    case BadgeMemory::State::NoRecord:
        *code = 7;
        return;
    case BadgeMemory::State::Foreign:
        *code = 8;
        return;
    case BadgeMemory::State::Damaged:
        *code = 5;
        return;
    case BadgeMemory::State::ReadError:
        *code = 6;
        *detail = QString("%1").arg(read.sector, 3, 10, QChar('0'));
        return;
    case BadgeMemory::State::Ok:
        break;
    }
    const QMap<QString, QString> rec = record(read.record);
    if (blacklisted(uidText(card.uid()), rec)) {
        *code = 1;
        return;
    }
    if (parameter("10.2") == "1") {
        const QDate validity = recordDate(rec.value("Vda"));
        if (validity.isValid() && validity < clock().date()) {
            *code = 3;
            return;
        }
    }
    qint64 creditMax = 0;
    if (parseNumber(parameter("10.1"), Q_INT64_C(1) << 40, &creditMax) && creditMax > 0) {
        for (auto it = rec.cbegin(); it != rec.cend(); ++it) {
            qint64 amount = 0;
            if (it.key().startsWith("Cn") && parseNumber(it.value(), Q_INT64_C(1) << 40, &amount) &&
                amount > creditMax) {
                *code = 2;
                return;
            }
        }
    }
    *code = 0;
}

bool ReaderModel::blacklisted(const QString& uid, const QMap<QString, QString>& rec) const
{
    // An entry names a support by every field it fills: UID alone, a user, a whole group...
    for (const QString& line : m_file5) {
        const QMap<QString, QString> entry = record(line);
        const QString eUid = entry.value("UID"), eUsr = entry.value("Usr"), eGrp = entry.value("Grp");
        if (eUid.isEmpty() && eUsr.isEmpty() && eGrp.isEmpty())
            continue;
        if (!eUid.isEmpty() && eUid.compare(uid, Qt::CaseInsensitive) != 0)
            continue;
        if (!eUsr.isEmpty() && eUsr.toLongLong() != rec.value("Usr").toLongLong())
            continue;
        if (!eGrp.isEmpty() && eGrp.toLongLong() != rec.value("Grp").toLongLong())
            continue;
        if ((!eUsr.isEmpty() && !rec.contains("Usr")) || (!eGrp.isEmpty() && !rec.contains("Grp")))
            continue;
        return true;
    }
    return false;
}
