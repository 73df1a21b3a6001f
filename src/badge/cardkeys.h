#ifndef CARDKEYS_H
#define CARDKEYS_H

#include <QByteArray>
#include <QList>
#include <QString>

// The keys a whole-card operation tries on each sector after the operator's own:
// six-byte Mifare Classic keys.
constexpr int CARD_KEY_SIZE = 6;

// The system's two keys, then the common public ones.
QList<QByteArray> CardKeysDefault();
// One key as the operator types it: 12 hex digits, or six "0xHH" separated by blanks.
bool CardKeyParse(const QString& text, QByteArray* key);
// "0x5A 0x17 0xC3 0x88 0x2E 0x91", as the reader takes keys.
QString CardKeyText(const QByteArray& key);
// A key list file: one key per line in either form, "#" starts a comment, blank lines
// are skipped. Fails on the first bad line, naming it; keys is left as it was.
bool CardKeysParse(const QByteArray& content, QList<QByteArray>* keys, QString* error);
// first, then the others, each key once.
QList<QByteArray> CardKeysMerge(const QList<QByteArray>& first, const QList<QByteArray>& others);

#endif // CARDKEYS_H
