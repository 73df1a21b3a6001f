#include "readertext.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtGlobal>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#endif

namespace {
// Any number of this many digits fits a qint64.
constexpr int MaxDigits = 18;
const QString RecordDateFormat = QStringLiteral("yyMMdd");
} // namespace

namespace ReaderText {
QString decode(const QByteArray& bytes)
{
    // Qt's own decoder, not the program's: a fault in either shows against the other.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Not QStringDecoder: Qt 6.4's stateless one reports no error at all.
    const bool valid = bytes.isValidUtf8();
    const QString text = QString::fromUtf8(bytes.constData(), bytes.size());
#else
    QTextCodec::ConverterState state;
    const QString text =
        QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    const bool valid = state.invalidChars == 0 && state.remainingChars == 0;
#endif
    // With its size: Qt 5 would stop at a NUL byte, Qt 6 would not.
    return valid ? text : QString::fromLatin1(bytes.constData(), bytes.size());
}

QMap<QString, QString> record(const QString& text)
{
    QMap<QString, QString> map;
    for (const QString& element : text.split(';', Qt::SkipEmptyParts))
        map.insert(element.section('=', 0, 0), element.section('=', 1, 1));
    return map;
}

bool parseNumber(const QString& text, qint64 max, qint64* value)
{
    if (text.isEmpty() || text.size() > MaxDigits)
        return false;
    for (const QChar c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    const qint64 v = text.toLongLong();
    if (v > max)
        return false;
    *value = v;
    return true;
}

bool parseHexBytes(const QString& text, QByteArray* bytes)
{
    static const QRegularExpression hexByte("^(0[xX])?([0-9a-fA-F]{1,2})$");
    static const QRegularExpression hexRun("^(0[xX])?((?:[0-9a-fA-F]{2})+)$");
    QByteArray out;
    const QStringList tokens = text.split(' ', Qt::SkipEmptyParts);
    if (tokens.size() == 1) {
        const auto run = hexRun.match(tokens.first());
        if (run.hasMatch()) {
            *bytes = QByteArray::fromHex(run.captured(2).toLatin1());
            return true;
        }
    }
    for (const QString& token : tokens) {
        const auto m = hexByte.match(token);
        if (!m.hasMatch())
            return false;
        out.append(static_cast<char>(m.captured(2).toUInt(nullptr, 16)));
    }
    if (out.isEmpty())
        return false;
    *bytes = out;
    return true;
}

QDate recordDate(const QString& text)
{
    if (text.size() != RecordDateFormat.size())
        return QDate();
    return QDate::fromString("20" + text, "yyyyMMdd");
}

QString hexText(const QByteArray& bytes)
{
    QStringList parts;
    for (const char c : bytes)
        parts.append("0x" + QString("%1").arg(static_cast<quint8>(c), 2, 16, QChar('0')).toUpper());
    return parts.join(' ');
}

QString uidText(const QByteArray& uid)
{
    return QString::fromLatin1(uid.toHex().toUpper());
}
} // namespace ReaderText
