// ReaderModel, continued: the parameters and the clock ("V" requests).

#include "readermodel.h"

#include <QRegularExpression>

using namespace ReaderStatus;
using namespace ReaderText;

namespace {
constexpr int MaxTextValue = 64;
constexpr qint64 MaxNumberValue = 0xFFFFFFFF;

// The clock is read and set through parameters of object 12 that are kept nowhere.
const QString TimeId = QStringLiteral("12.3");
const QString DateId = QStringLiteral("12.4");
const QString DateWriteId = QStringLiteral("12.255.8");
const QString TimeWriteId = QStringLiteral("12.255.9");
const QString TimeFormat = QStringLiteral("HH:mm");
const QString DateFormat = QStringLiteral("dd/MM/yy");
// A two-digit year reads as 19yy.
constexpr int Century = 100;

constexpr qint64 LastOutput = 7;
constexpr qint64 DefaultPulseMs = 500;
constexpr qint64 MaxPulseMs = 60000;
} // namespace

QString ReaderModel::parameter(const QString& id) const
{
    return m_pending.contains(id) ? m_pending.value(id) : m_committed.value(id);
}

ReaderModel::Answer ReaderModel::values(char sub, const QString& payload)
{
    if (sub == 'G') {
        if (payload == TimeId)
            return answer(Ok, clock().toString(TimeFormat));
        if (payload == DateId)
            return answer(Ok, clock().toString(DateFormat));
        if (!m_params.contains(payload))
            return answer(NotFound);
        return answer(Ok, parameter(payload));
    }
    if (sub != 'P')
        return answer(UnknownCommand);
    const int eq = payload.indexOf('=');
    if (eq < 0)
        return answer(BadPayload);
    return putValue(payload.left(eq), payload.mid(eq + 1));
}

ReaderModel::Answer ReaderModel::putValue(const QString& id, const QString& value)
{
    static const QRegularExpression commitKey("^(\\d{1,3})\\.255\\.1$");
    static const QRegularExpression outputKey("^12\\.255\\.7\\.(\\d+)$");
    if (const auto m = commitKey.match(id); m.hasMatch())
        return commitObject(QString::number(m.captured(1).toInt()));
    if (id == DateWriteId || id == TimeWriteId)
        return clockWrite(id, value);
    if (const auto m = outputKey.match(id); m.hasMatch())
        return outputPulse(m.captured(1), value);
    if (!m_params.contains(id))
        return answer(NotFound);
    const ReaderParameter& p = m_params[id];
    qint64 n = 0;
    bool valid = true;
    switch (p.kind) {
    case ReaderParameter::ReadOnly:
        return answer(Forbidden);
    case ReaderParameter::CheckBox:
        valid = value == "0" || value == "1";
        break;
    case ReaderParameter::List:
        valid = parseNumber(value, p.choices - 1, &n);
        break;
    case ReaderParameter::Number:
        valid = parseNumber(value, MaxNumberValue, &n);
        break;
    case ReaderParameter::Text:
        valid = value.size() <= MaxTextValue;
        break;
    }
    if (!valid)
        return answer(BadPayload);
    m_pending.insert(id, value);
    return answer(Ok);
}

ReaderModel::Answer ReaderModel::commitObject(const QString& object)
{
    int saved = 0;
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (ParameterCatalogue::objectOf(it.key()) == object) {
            m_committed.insert(it.key(), it.value());
            it = m_pending.erase(it);
            ++saved;
        } else {
            ++it;
        }
    }
    Answer a = answer(Ok);
    a.stateChanged = saved > 0;
    a.debug.append(QString("Objet %1 sauvegardé (%2)").arg(object).arg(saved));
    return a;
}

ReaderModel::Answer ReaderModel::clockWrite(const QString& id, const QString& value)
{
    Answer a = answer(Ok);
    if (id == DateWriteId) {
        // Dates come as dd/MM/yy, the year within 2000-2099.
        const QDate date = value.size() == DateFormat.size()
                               ? QDate::fromString(value, DateFormat).addYears(Century)
                               : QDate();
        if (!date.isValid())
            return answer(BadPayload);
        setClock(QDateTime(date, clock().time()));
        a.debug.append("Date réglée " + value);
    } else {
        const QTime time = value.size() == TimeFormat.size() ? QTime::fromString(value, TimeFormat) : QTime();
        if (!time.isValid())
            return answer(BadPayload);
        setClock(QDateTime(clock().date(), time));
        a.debug.append("Heure réglée " + value);
    }
    return a;
}

ReaderModel::Answer ReaderModel::outputPulse(const QString& output, const QString& value)
{
    qint64 n = 0;
    qint64 duration = DefaultPulseMs;
    if (!parseNumber(output, LastOutput, &n) ||
        (!value.isEmpty() && !parseNumber(value, MaxPulseMs, &duration)))
        return answer(BadPayload);
    Answer a = answer(Ok);
    a.debug.append(QString("Sortie %1 impulsion %2 ms").arg(n).arg(duration));
    return a;
}
