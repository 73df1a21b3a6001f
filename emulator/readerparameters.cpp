// ReaderModel, continued: the parameters and the clock ("V" requests).

#include "readermodel.h"

#include <QRegularExpression>

using namespace ReaderStatus;
using namespace ReaderText;

namespace {
constexpr int MaxTextValue = 64;
} // namespace

QString ReaderModel::parameter(const QString& id) const
{
    return m_pending.contains(id) ? m_pending.value(id) : m_committed.value(id);
}

ReaderModel::Answer ReaderModel::values(char sub, const QString& payload)
{
    if (sub == 'G') {
        if (payload == "12.3")
            return answer(Ok, clock().toString("HH:mm"));
        if (payload == "12.4")
            return answer(Ok, clock().toString("dd/MM/yy"));
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
    if (id == "12.255.8" || id == "12.255.9")
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
        valid = parseNumber(value, 0xFFFFFFFF, &n);
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
    if (id == "12.255.8") {
        // Dates come as dd/MM/yy, the year within 2000-2099.
        const QDate date = value.size() == 8 ? QDate::fromString(value, "dd/MM/yy").addYears(100) : QDate();
        if (!date.isValid())
            return answer(BadPayload);
        setClock(QDateTime(date, clock().time()));
        a.debug.append("Date réglée " + value);
    } else {
        const QTime time = value.size() == 5 ? QTime::fromString(value, "HH:mm") : QTime();
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
    qint64 duration = 500;
    if (!parseNumber(output, 7, &n) || (!value.isEmpty() && !parseNumber(value, 60000, &duration)))
        return answer(BadPayload);
    Answer a = answer(Ok);
    a.debug.append(QString("Sortie %1 impulsion %2 ms").arg(n).arg(duration));
    return a;
}
