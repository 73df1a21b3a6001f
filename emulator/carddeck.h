#ifndef CARDDECK_H
#define CARDDECK_H

#include "mifarecard.h"

#include <QString>
#include <QVector>

struct VirtualCard
{
    QString name;
    MifareCard chip;
    // A status code the deck imposes (faults a card cannot show by its memory alone); 0 = none.
    int forcedStatus = 0;
};

// The cards that can be put on the reader: five by default, or a deck described in JSON.
namespace CardDeck {
QVector<VirtualCard> defaults();
bool fromJson(const QByteArray& json, QVector<VirtualCard>* deck, QString* error);
// A deck file; its errors name the file.
bool load(const QString& path, QVector<VirtualCard>* deck, QString* error);
} // namespace CardDeck

#endif // CARDDECK_H
