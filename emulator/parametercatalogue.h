#ifndef PARAMETERCATALOGUE_H
#define PARAMETERCATALOGUE_H

#include <QString>
#include <QVector>

// The reader's parameter set as it leaves the factory.
struct ReaderParameter
{
    enum Kind
    {
        Text,
        Number,
        CheckBox,
        List,
        ReadOnly
    };
    QString id;
    Kind kind = Text;
    QString value;
    int choices = 0; // List only
};

namespace ParameterCatalogue {
// Every identifier once, in the order of the program's tree.
const QVector<ReaderParameter>& defaults();
// Object number: the first number of an identifier.
QString objectOf(const QString& id);
} // namespace ParameterCatalogue

#endif // PARAMETERCATALOGUE_H
