#include "commun/textdecode.h"

#include <QTextCodec>

QString DecodeText(const QByteArray& bytes, bool atFileStart)
{
    QTextCodec* utf8 = QTextCodec::codecForMib(106);
    QTextCodec::ConverterState state(atFileStart ? QTextCodec::DefaultConversion : QTextCodec::IgnoreHeader);
    const QString text = utf8->toUnicode(bytes.constData(), bytes.size(), &state);
    // A sequence cut at the end counts as invalid too: the line was not written as UTF-8.
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return QString::fromLatin1(bytes);
}
