#include "commun/textdecode.h"

#include <cstring>

namespace {
constexpr char ByteOrderMark[] = "\xef\xbb\xbf";
constexpr int ByteOrderMarkSize = sizeof ByteOrderMark - 1;
constexpr QChar ByteOrderMarkChar(0xfeff);

constexpr uchar ContinuationMask = 0xc0;
constexpr uchar ContinuationTag = 0x80;
constexpr uint LastCodePoint = 0x10ffff;
constexpr uint SurrogateFirst = 0xd800;
constexpr uint SurrogateLast = 0xdfff;

struct LeadByte
{
    uchar mask;    // bits that tell the sequence's length
    uchar tag;     // their value for this length
    int length;    // bytes in the sequence
    uint smallest; // below it the form is overlong
};

// Lead bytes of two, three and four byte sequences.
constexpr LeadByte LeadBytes[] = {
    {0xe0, 0xc0, 2, 0x80},
    {0xf0, 0xe0, 3, 0x800},
    {0xf8, 0xf0, 4, 0x10000},
};

// Length of the valid sequence starting at bytes[at]; 0 when it is invalid or cut.
int sequenceLength(const QByteArray& bytes, int at)
{
    const uchar lead = static_cast<uchar>(bytes[at]);
    if (lead < ContinuationTag)
        return 1;
    for (const LeadByte& form : LeadBytes) {
        if ((lead & form.mask) != form.tag)
            continue;
        if (at + form.length > bytes.size())
            return 0;
        uint codePoint = lead & ~form.mask;
        for (int i = 1; i < form.length; ++i) {
            const uchar next = static_cast<uchar>(bytes[at + i]);
            if ((next & ContinuationMask) != ContinuationTag)
                return 0;
            codePoint = (codePoint << 6) | (next & ~ContinuationMask);
        }
        const bool surrogate = codePoint >= SurrogateFirst && codePoint <= SurrogateLast;
        if (codePoint < form.smallest || codePoint > LastCodePoint || surrogate)
            return 0;
        return form.length;
    }
    return 0;
}

bool isValidUtf8(const QByteArray& bytes)
{
    for (int at = 0; at < bytes.size();) {
        const int length = sequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

bool markAt(const QByteArray& bytes, int at)
{
    return bytes.size() - at >= ByteOrderMarkSize &&
           std::memcmp(bytes.constData() + at, ByteOrderMark, ByteOrderMarkSize) == 0;
}
} // namespace

QString DecodeText(const QByteArray& bytes, bool atFileStart)
{
    // A sequence cut at the end counts as invalid too: the line was not written as UTF-8.
    if (!isValidUtf8(bytes))
        return QString::fromLatin1(bytes.constData(), bytes.size()); // Qt 5 would stop at a NUL
    int start = atFileStart && markAt(bytes, 0) ? ByteOrderMarkSize : 0;
    // QString::fromUtf8 drops a leading mark itself, yet only the file's own one may go.
    QString text;
    while (markAt(bytes, start)) {
        text += ByteOrderMarkChar;
        start += ByteOrderMarkSize;
    }
    return text + QString::fromUtf8(bytes.constData() + start, bytes.size() - start);
}
