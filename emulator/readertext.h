#ifndef READERTEXT_H
#define READERTEXT_H

#include <QByteArray>
#include <QDate>
#include <QMap>
#include <QString>

// How the reader writes and reads its texts: records, numbers, dates, bytes.
namespace ReaderText {
QString decode(const QByteArray& bytes); // UTF-8, or Latin-1 when not valid UTF-8
QMap<QString, QString> record(const QString& text);
bool parseNumber(const QString& text, qint64 max, qint64* value);
bool parseHexBytes(const QString& text, QByteArray* bytes);
// "yyMMdd" in 2000-2099, as the badge and blacklist records carry dates.
QDate recordDate(const QString& text);
QString hexText(const QByteArray& bytes); // "0x5A 0x17 ..."
QString uidText(const QByteArray& uid);   // "04A1B2C3"
} // namespace ReaderText

#endif // READERTEXT_H
