#ifndef BENCHREPORT_H
#define BENCHREPORT_H

#include <QString>
#include <QVector>

// The figures of one run: a table for people, then one "NAME value unit"
// line per figure for scripts.
class BenchReport
{
public:
    // A figure without a target.
    void Add(const QString& name, double value, const QString& unit);
    // A figure that must stay at or below limit.
    void AddTarget(const QString& name, double value, const QString& unit, double limit);
    // A figure that could not be measured (counts as a failed target).
    void AddFailure(const QString& name, const QString& unit, const QString& why);

    void Print() const;
    bool AllTargetsHold() const;

private:
    struct Row
    {
        QString name;
        double value;
        QString unit;
        bool hasTarget;
        double limit;
        QString failure;
    };
    QVector<Row> m_rows;
};

#endif // BENCHREPORT_H
