#ifndef VRLTOOLBOX_H
#define VRLTOOLBOX_H

// Stateless helpers for the text records exchanged with the reader and kept in config.ini:
// keyed records ("Zid=3;Grp=0"), positional records ("YES,1,0,0,0"), hex byte texts
// ("0x00 0x1F") and amounts in hundredths ("12.05").

#include <QChar>
#include <QString>
#include <QtGlobal>

// Qt text family. Every pointer to a flag may be null.

// Value of the first field "key<equals>value" of a record whose fields are split by separator.
// An empty value counts as missing: defaultValue is returned and *found stays false.
QString VRLTBSTR_ValueGet(bool* found, QString text, QString key, QChar separator, QChar equals,
                          QString defaultValue);
int VRLTBSTR_ValueGet(bool* found, QString text, QString key, QChar separator, QChar equals,
                      int defaultValue);
QChar VRLTBSTR_ValueGet(bool* found, const QString& text, QString key, QChar separator, QChar equals,
                        QChar defaultValue);
// Without this a char default such as '0' would silently pick the int overload.
QChar VRLTBSTR_ValueGet(bool* found, const QString& text, QString key, QChar separator, QChar equals,
                        char defaultValue);

// Field number index (1-based, 0 counts as 1); an empty field that exists is returned as found.
QString VRLTBSTR_FieldGet(bool* found, QString text, QChar separator, int index, QString defaultValue);
int VRLTBSTR_FieldGet(bool* found, QString text, QChar separator, int index, int defaultValue);

// 1205 -> "12.05".
QString VRLTBSTR_HundredthsToText(quint32 amount);
// "12.05" -> 1205, "12.5" -> 1250, "12" -> 1200. Returns 0 with *ok false for a text that is not
// an unsigned amount fitting 32 bits; a bad fraction keeps the integer part and sets *ok false.
quint32 VRLTBSTR_TextToHundredths(const QString& text, bool* ok);
// "1205" -> "12.05"; empty with *ok false when the text is not an unsigned 32-bit number.
QString VRLTBSTR_NumberToHundredthsText(const QString& text, bool* ok);

// Buffer family: NUL-terminated char buffers owned by the caller, no allocation. A null text
// reads as an empty one; a null destination makes the function do nothing and fail.

// Looks for the first field of text (split by separator) that starts with key and holds a
// second '='-separated part, and copies that part into dst, cut to maxLength characters.
// dst must hold maxLength + 1 bytes. Fields may be of any length. When no field matches, a
// non-null defaultValue is copied (cut the same way) and the result is still true.
bool VRLTBSTR_ValueGetSz(char* dst, quint8 maxLength, const char* text, const char* key, char separator,
                         const char* defaultValue);
// Copies field number index (0 counts as 1) into dst. An empty last field counts as missing.
// A field is never longer than its text, so a dst of strlen(text) + 1 bytes is always enough.
bool VRLTBSTR_FieldGetSz(char* dst, const char* text, char separator, quint8 index);
// Writes count bytes as prefix + two upper-case hex digits, joined by separator. dst must hold
// count * (strlen(prefix) + 2) + (count - 1) * strlen(separator) + 1 bytes. Returns dst.
char* VRLTBSTR_BytesToHex(const quint8* bytes, char* dst, quint8 count, const char* prefix,
                          const char* separator);
// Reads "0x01 0xAB ..." into dst; clears maxCount bytes first and never stores more than that.
void VRLTBSTR_HexToBytes(const char* text, quint8* dst, quint8 maxCount);
// Value of a run of hex digits; other characters count as 0.
quint32 VRLTBSTR_HexToUInt(const char* digits);

#endif // VRLTOOLBOX_H
