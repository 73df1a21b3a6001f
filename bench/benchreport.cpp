#include "benchreport.h"

#include <cstdio>

namespace {

QString Number(double value)
{
    if (value == static_cast<double>(static_cast<qint64>(value)))
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'f', value < 10 ? 3 : 1);
}

} // namespace

void BenchReport::Add(const QString& name, double value, const QString& unit)
{
    m_rows.append({name, value, unit, false, 0, QString()});
}

void BenchReport::AddTarget(const QString& name, double value, const QString& unit, double limit)
{
    m_rows.append({name, value, unit, true, limit, QString()});
}

void BenchReport::AddFailure(const QString& name, const QString& unit, const QString& why)
{
    m_rows.append({name, 0, unit, true, 0, why});
}

void BenchReport::Print() const
{
    std::printf("\n%-40s %12s %-6s %-10s %s\n", "figure", "value", "unit", "target", "result");
    for (const Row& row : m_rows) {
        QString value = row.failure.isEmpty() ? Number(row.value) : QStringLiteral("-");
        QString target = row.hasTarget ? QStringLiteral("<= ") + Number(row.limit) : QString();
        QString result;
        if (!row.failure.isEmpty())
            result = QStringLiteral("FAIL (") + row.failure + QLatin1Char(')');
        else if (row.hasTarget)
            result = row.value <= row.limit ? QStringLiteral("PASS") : QStringLiteral("FAIL");
        std::printf("%-40s %12s %-6s %-10s %s\n", qPrintable(row.name), qPrintable(value),
                    qPrintable(row.unit), qPrintable(target), qPrintable(result));
    }
    std::printf("\n");
    for (const Row& row : m_rows) {
        if (row.failure.isEmpty())
            std::printf("%s %s %s\n", qPrintable(row.name), qPrintable(Number(row.value)),
                        qPrintable(row.unit));
        else
            std::printf("%s nan %s\n", qPrintable(row.name), qPrintable(row.unit));
    }
    std::fflush(stdout);
}

bool BenchReport::AllTargetsHold() const
{
    for (const Row& row : m_rows) {
        if (row.hasTarget && (!row.failure.isEmpty() || row.value > row.limit))
            return false;
    }
    return true;
}
