// ReaderModel, continued: what the polling answer says of the card on the reader.

#include "readermodel.h"

#include "badgememory.h"

using namespace ReaderText;

namespace {
// After the event flag: presence, validity, a two-digit code and a three-digit detail.
constexpr int CodeDigits = 2;
constexpr int DetailDigits = 3;
const QString NoSupport = QStringLiteral("0000000");

// Why a support is not valid, as the program decodes the code.
namespace SupportCode {
constexpr int Valid = 0;
constexpr int Blacklisted = 1;
constexpr int CreditError = 2;
constexpr int Expired = 3;
constexpr int Damaged = 5;
constexpr int ReadError = 6;
constexpr int Unknown = 7;
constexpr int ForeignSecurity = 8;
} // namespace SupportCode

const QString CreditLimitId = QStringLiteral("10.1");
const QString ValidityCheckId = QStringLiteral("10.2");
// Far above any credit a badge holds; bounds the numbers compared.
constexpr qint64 MaxAmount = Q_INT64_C(1) << 40;
} // namespace

QString ReaderModel::pollPeek() const
{
    return pollText(false, m_present >= 0);
}

QString ReaderModel::pollText(bool event, bool present) const
{
    QString text = event ? "1" : "0";
    if (!present)
        return text + NoSupport;
    int code = 0;
    QString detail;
    const MifareCard& chip = m_cards[m_present].chip;
    cardStatus(m_cards[m_present], &code, &detail);
    text += QString("1%1%2%3")
                .arg(code == SupportCode::Valid ? '1' : '0')
                .arg(code, CodeDigits, 10, QChar('0'))
                .arg(detail);
    if (event)
        text += ";UID=" + uidText(chip.uid());
    return text;
}

void ReaderModel::cardStatus(const VirtualCard& virtualCard, int* code, QString* detail) const
{
    *detail = QString(DetailDigits, '0');
    if (virtualCard.forcedStatus > 0) {
        *code = virtualCard.forcedStatus;
        return;
    }
    const MifareCard& card = virtualCard.chip;
    const BadgeMemory::ReadResult read = BadgeMemory::read(card);
    switch (read.state) {
    case BadgeMemory::State::Blank:
    case BadgeMemory::State::NoRecord:
        *code = SupportCode::Unknown;
        return;
    case BadgeMemory::State::Foreign:
        *code = SupportCode::ForeignSecurity;
        return;
    case BadgeMemory::State::Damaged:
        *code = SupportCode::Damaged;
        return;
    case BadgeMemory::State::ReadError:
        *code = SupportCode::ReadError;
        *detail = QString("%1").arg(read.sector, DetailDigits, 10, QChar('0'));
        return;
    case BadgeMemory::State::Ok:
        break;
    }
    const QMap<QString, QString> rec = record(read.record);
    if (blacklisted(uidText(card.uid()), rec)) {
        *code = SupportCode::Blacklisted;
        return;
    }
    if (parameter(ValidityCheckId) == "1") {
        const QDate validity = recordDate(rec.value("Vda"));
        if (validity.isValid() && validity < clock().date()) {
            *code = SupportCode::Expired;
            return;
        }
    }
    qint64 creditMax = 0;
    if (parseNumber(parameter(CreditLimitId), MaxAmount, &creditMax) && creditMax > 0) {
        for (auto it = rec.cbegin(); it != rec.cend(); ++it) {
            qint64 amount = 0;
            if (it.key().startsWith("Cn") && parseNumber(it.value(), MaxAmount, &amount) &&
                amount > creditMax) {
                *code = SupportCode::CreditError;
                return;
            }
        }
    }
    *code = SupportCode::Valid;
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
