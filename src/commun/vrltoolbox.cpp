#include "commun/vrltoolbox.h"

#include "commun/communlog.h"

#include <cstring>
#include <limits>
#include <utility>

namespace {

void flagSet(bool* flag, bool value)
{
    if (flag)
        *flag = value;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isAsciiDigits(const QString& text)
{
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

const char* fieldEnd(const char* p, char separator)
{
    while (*p != '\0' && *p != separator)
        ++p;
    return p;
}

// An empty field before the terminating NUL does not exist; an empty field before a separator does.
bool fieldExists(const char* begin, const char* end)
{
    return *end != '\0' || end != begin;
}

void copyCut(char* dst, const char* src, size_t length, size_t maxLength)
{
    const size_t n = length < maxLength ? length : maxLength;
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

} // namespace

QString VRLTBSTR_ValueGet(bool* found, QString text, QString key, QChar separator, QChar equals,
                          QString defaultValue)
{
    flagSet(found, false);
    // The leading separator makes the pattern match whole keys at the start of a field only.
    text.prepend(separator);
    const QString pattern = separator + key + equals;
    const int pos = text.indexOf(pattern, 0, Qt::CaseSensitive);
    if (pos < 0)
        return defaultValue;
    const int start = pos + pattern.size();
    int end = text.indexOf(separator, start);
    if (end < 0)
        end = text.size();
    const QString value = text.mid(start, end - start);
    if (value.isEmpty())
        return defaultValue;
    flagSet(found, true);
    return value;
}

int VRLTBSTR_ValueGet(bool* found, QString text, QString key, QChar separator, QChar equals, int defaultValue)
{
    const QString value = VRLTBSTR_ValueGet(found, std::move(text), std::move(key), separator, equals,
                                            QString::number(defaultValue));
    bool ok = false;
    const int number = value.toInt(&ok, 10);
    return ok ? number : defaultValue;
}

QChar VRLTBSTR_ValueGet(bool* found, const QString& text, QString key, QChar separator, QChar equals,
                        QChar defaultValue)
{
    bool isFound = false;
    const QString value =
        VRLTBSTR_ValueGet(&isFound, text, std::move(key), separator, equals, QString(defaultValue));
    flagSet(found, isFound);
    if (isFound) {
        qCDebug(lcCommun, "Value GEt Qchar:%s", qUtf8Printable(value));
        return value.at(0);
    }
    qCDebug(lcCommun, "Value get => return défaut car *Result");
    return defaultValue;
}

QChar VRLTBSTR_ValueGet(bool* found, const QString& text, QString key, QChar separator, QChar equals,
                        char defaultValue)
{
    return VRLTBSTR_ValueGet(found, text, std::move(key), separator, equals, QChar::fromLatin1(defaultValue));
}

QString VRLTBSTR_FieldGet(bool* found, QString text, QChar separator, int index, QString defaultValue)
{
    flagSet(found, false);
    if (index < 1)
        index = 1;
    int start = 0;
    for (int i = 1; i < index; ++i) {
        const int pos = text.indexOf(separator, start, Qt::CaseSensitive);
        if (pos < 0)
            return defaultValue;
        start = pos + 1;
    }
    int end = text.indexOf(separator, start, Qt::CaseSensitive);
    if (end < 0)
        end = text.size();
    flagSet(found, true);
    return text.mid(start, end - start);
}

int VRLTBSTR_FieldGet(bool* found, QString text, QChar separator, int index, int defaultValue)
{
    const QString value =
        VRLTBSTR_FieldGet(found, std::move(text), separator, index, QString::number(defaultValue));
    bool ok = false;
    const int number = value.toInt(&ok, 10);
    return ok ? number : defaultValue;
}

QString VRLTBSTR_HundredthsToText(quint32 amount)
{
    const quint32 cents = amount % 100;
    return QString::number(amount / 100) + QLatin1Char('.') + (cents < 10 ? QStringLiteral("0") : QString()) +
           QString::number(cents);
}

quint32 VRLTBSTR_TextToHundredths(const QString& text, bool* ok)
{
    constexpr qint64 maxAmount = std::numeric_limits<quint32>::max();
    flagSet(ok, false);
    const int dot = text.indexOf(QLatin1Char('.'));
    const QString integerPart = dot < 0 ? text : text.left(dot);
    const QString fractionPart = dot < 0 ? QString() : text.mid(dot + 1);
    if (integerPart.isEmpty())
        return 0;
    bool converted = false;
    const qint64 units = integerPart.toLongLong(&converted, 10);
    // A negative or oversized amount would wrap around in 32 bits and show a wrong balance.
    if (!converted || units < 0 || units > maxAmount / 100)
        return 0;
    qint64 amount = units * 100;
    if (fractionPart.isEmpty()) {
        flagSet(ok, true);
        return quint32(amount);
    }
    // One digit means tenths ("1.5" is 1.50), two mean hundredths; anything else is not an amount.
    if (fractionPart.size() > 2 || !isAsciiDigits(fractionPart))
        return quint32(amount);
    int cents = fractionPart.toInt();
    if (fractionPart.size() == 1)
        cents *= 10;
    amount += cents;
    if (amount > maxAmount)
        return 0;
    flagSet(ok, true);
    return quint32(amount);
}

QString VRLTBSTR_NumberToHundredthsText(const QString& text, bool* ok)
{
    bool converted = false;
    const qint64 number = text.toLongLong(&converted, 10);
    const bool valid = converted && number >= 0 && number <= qint64(std::numeric_limits<quint32>::max());
    flagSet(ok, valid);
    return valid ? VRLTBSTR_HundredthsToText(quint32(number)) : QString();
}

bool VRLTBSTR_ValueGetSz(char* dst, quint8 maxLength, const char* text, const char* key, char separator,
                         const char* defaultValue)
{
    if (!dst)
        return false;
    dst[0] = '\0';
    if (text && key) {
        const size_t keyLength = std::strlen(key);
        const char* begin = text;
        for (;;) {
            const char* end = fieldEnd(begin, separator);
            if (!fieldExists(begin, end))
                break;
            const size_t length = size_t(end - begin);
            if (length >= keyLength && std::memcmp(begin, key, keyLength) == 0) {
                const char* equals = static_cast<const char*>(std::memchr(begin, '=', length));
                if (equals) {
                    const char* valueBegin = equals + 1;
                    const char* valueEnd = valueBegin;
                    while (valueEnd < end && *valueEnd != '=')
                        ++valueEnd;
                    // Same rule as for fields: "Grp=" has no value, "Grp==" has an empty one.
                    if (valueEnd < end || valueEnd > valueBegin) {
                        copyCut(dst, valueBegin, size_t(valueEnd - valueBegin), maxLength);
                        return true;
                    }
                }
            }
            if (*end == '\0')
                break;
            begin = end + 1;
        }
    }
    if (!defaultValue)
        return false;
    copyCut(dst, defaultValue, std::strlen(defaultValue), maxLength);
    return true;
}

bool VRLTBSTR_FieldGetSz(char* dst, const char* text, char separator, quint8 index)
{
    if (!dst)
        return false;
    dst[0] = '\0';
    if (!text)
        return false;
    const char* begin = text;
    for (unsigned i = 1; i < (index == 0 ? 1u : unsigned(index)); ++i) {
        const char* end = fieldEnd(begin, separator);
        if (*end == '\0')
            return false;
        begin = end + 1;
    }
    const char* end = fieldEnd(begin, separator);
    if (!fieldExists(begin, end))
        return false;
    const size_t length = size_t(end - begin);
    copyCut(dst, begin, length, length);
    return true;
}

char* VRLTBSTR_BytesToHex(const quint8* bytes, char* dst, quint8 count, const char* prefix,
                          const char* separator)
{
    static const char digits[] = "0123456789ABCDEF";
    if (!dst)
        return dst;
    char* out = dst;
    if (bytes) {
        if (!prefix)
            prefix = "";
        if (!separator)
            separator = "";
        const size_t prefixLength = std::strlen(prefix);
        const size_t separatorLength = std::strlen(separator);
        for (unsigned i = 0; i < count; ++i) {
            if (i > 0) {
                std::memcpy(out, separator, separatorLength);
                out += separatorLength;
            }
            std::memcpy(out, prefix, prefixLength);
            out += prefixLength;
            *out++ = digits[bytes[i] >> 4];
            *out++ = digits[bytes[i] & 0x0F];
        }
    }
    *out = '\0';
    return dst;
}

void VRLTBSTR_HexToBytes(const char* text, quint8* dst, quint8 maxCount)
{
    if (!dst)
        return;
    std::memset(dst, 0, maxCount);
    if (!text)
        return;
    enum class State
    {
        Plain,
        Zero,
        Digits
    };
    State state = State::Plain;
    char pair[3] = {};
    int pairLength = 0;
    unsigned stored = 0;
    const char* p = text;
    while (*p != '\0' && stored < maxCount) {
        const char c = *p;
        switch (state) {
        case State::Plain:
            if (c == '0')
                state = State::Zero;
            else if (c != ' ' && c != '\t')
                dst[stored++] = quint8(c);
            ++p;
            break;
        case State::Zero:
            if (c == 'x' || c == 'X') {
                state = State::Digits;
                pairLength = 0;
                ++p;
            } else {
                // A lone '0' is the character itself; c is read again as the start of a token.
                dst[stored++] = '0';
                state = State::Plain;
            }
            break;
        case State::Digits:
            if (hexValue(c) >= 0) {
                pair[pairLength++] = c;
                if (pairLength == 2) {
                    pair[2] = '\0';
                    dst[stored++] = quint8(VRLTBSTR_HexToUInt(pair));
                    state = State::Plain;
                }
            } else {
                state = State::Plain;
            }
            ++p;
            break;
        }
    }
    if (state == State::Zero && stored < maxCount)
        dst[stored] = '0';
}

quint32 VRLTBSTR_HexToUInt(const char* digits)
{
    quint32 value = 0;
    if (!digits)
        return value;
    for (const char* p = digits; *p != '\0'; ++p) {
        value <<= 4;
        const int digit = hexValue(*p);
        if (digit >= 0)
            value += quint32(digit);
    }
    return value;
}
