#ifndef TEXTDECODE_H
#define TEXTDECODE_H

#include <QByteArray>
#include <QString>

// Decodes bytes read from one of the tool's text files: as UTF-8 when they are valid UTF-8
// (a leading byte-order mark is dropped), as Latin-1 otherwise, which is what files written
// by earlier versions hold. Never fails. A caller decoding a file piecewise passes
// atFileStart false for every piece but the first, where a byte-order mark is text like any other.
QString DecodeText(const QByteArray& bytes, bool atFileStart = true);

#endif // TEXTDECODE_H
