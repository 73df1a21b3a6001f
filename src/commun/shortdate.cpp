#include "commun/shortdate.h"

#include <QRegularExpression>

namespace {
constexpr int CENTURY = 2000;

QDate FromMatch(const QRegularExpressionMatch& match, int year, int month, int day)
{
    if (!match.hasMatch())
        return QDate();
    return QDate(CENTURY + match.captured(year).toInt(), match.captured(month).toInt(),
                 match.captured(day).toInt());
}
} // namespace

QDate ShortDateRead(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9][0-9])/([0-9][0-9])/([0-9][0-9])$"));
    return FromMatch(pattern.match(text), 3, 2, 1);
}

QDate RecordDateRead(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9][0-9])([0-9][0-9])([0-9][0-9])$"));
    return FromMatch(pattern.match(text), 1, 2, 3);
}
