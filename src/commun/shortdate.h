#ifndef SHORTDATE_H
#define SHORTDATE_H

#include <QDate>
#include <QString>

// Dates as the operator types them and the reader stores them, two-digit
// years taken in 2000-2099 (Qt reads "yy" as 19yy, which would refuse the
// leap day 29/02/00).

// "dd/MM/yy", exactly two digits each; an invalid date for anything else.
QDate ShortDateRead(const QString& text);
// "yyMMdd" as records carry it; an invalid date for anything else.
QDate RecordDateRead(const QString& text);

#endif // SHORTDATE_H
