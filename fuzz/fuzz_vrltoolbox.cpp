// Both toolbox families with the fuzz input split into their arguments. The buffer family gets
// heap buffers of exactly the documented sizes, so one byte too many is an ASan report.

#include "fuzzsupport.h"

#include "commun/textdecode.h"
#include "commun/vrltoolbox.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* orNull(const std::string& s, bool null)
{
    return null ? nullptr : s.c_str();
}

void bufferFamily(FuzzedDataProvider& fdp, const std::string& text, const std::string& key,
                  const std::string& defaultValue)
{
    const char separator = fdp.ConsumeIntegral<char>();
    const quint8 maxLength = fdp.ConsumeIntegral<quint8>();
    const quint8 index = fdp.ConsumeIntegral<quint8>();
    const bool nullText = fdp.ConsumeIntegralInRange(0, 15) == 0;
    const bool nullKey = fdp.ConsumeIntegralInRange(0, 15) == 0;
    const bool nullDefault = fdp.ConsumeBool();
    const size_t textLength = std::strlen(text.c_str());

    std::vector<char> value(size_t(maxLength) + 1, 'Q');
    const bool got = VRLTBSTR_ValueGetSz(value.data(), maxLength, orNull(text, nullText),
                                         orNull(key, nullKey), separator, orNull(defaultValue, nullDefault));
    FUZZ_CHECK(std::strlen(value.data()) <= maxLength);
    if (!got)
        FUZZ_CHECK(value[0] == '\0');
    else if (nullDefault)
        FUZZ_CHECK(!nullText && std::string(text.c_str()).find(value.data()) != std::string::npos);

    std::vector<char> field(textLength + 1, 'Q');
    const bool fieldFound = VRLTBSTR_FieldGetSz(field.data(), orNull(text, nullText), separator, index);
    if (fieldFound) {
        // The text family agrees on every field the buffer family finds.
        bool found = false;
        const QString qtField = VRLTBSTR_FieldGet(&found, QString::fromLatin1(text.c_str()),
                                                  QChar::fromLatin1(separator), index, QStringLiteral("?"));
        FUZZ_CHECK(found && qtField == QString::fromLatin1(field.data()));
    } else {
        FUZZ_CHECK(field[0] == '\0');
    }

    // Hex both ways: exact output size, and the canonical form reads back as the bytes.
    const quint8 count = fdp.ConsumeIntegral<quint8>();
    std::vector<quint8> bytes = fdp.ConsumeBytes<quint8>(count);
    bytes.resize(count);
    const bool canonical = fdp.ConsumeBool();
    const std::string prefix = canonical ? "0x" : fdp.ConsumeRandomLengthString(6);
    const std::string joiner = canonical ? " " : fdp.ConsumeRandomLengthString(6);
    const size_t prefixLength = std::strlen(prefix.c_str());
    const size_t joinerLength = std::strlen(joiner.c_str());
    const size_t hexLength = count * (prefixLength + 2) + (count > 0 ? (count - 1) * joinerLength : 0);
    std::vector<char> hex(hexLength + 1, 'Q');
    FUZZ_CHECK(VRLTBSTR_BytesToHex(bytes.data(), hex.data(), count, prefix.c_str(), joiner.c_str()) ==
               hex.data());
    FUZZ_CHECK(std::strlen(hex.data()) == hexLength);
    std::vector<quint8> back(count);
    VRLTBSTR_HexToBytes(hex.data(), back.data(), count);
    if (canonical)
        FUZZ_CHECK(back == bytes);

    const quint8 maxCount = fdp.ConsumeIntegral<quint8>();
    std::vector<quint8> parsed(maxCount, 0xAA);
    VRLTBSTR_HexToBytes(orNull(text, nullText), parsed.data(), maxCount);
    VRLTBSTR_HexToUInt(orNull(text, nullText));
}

void textFamily(FuzzedDataProvider& fdp, const QString& text, const QString& key, const QString& defaultValue)
{
    const QChar separator(fdp.ConsumeIntegral<ushort>());
    const QChar equals(fdp.ConsumeIntegral<ushort>());
    const int index = fdp.ConsumeIntegral<int>();

    bool found = true;
    const QString value = VRLTBSTR_ValueGet(&found, text, key, separator, equals, defaultValue);
    if (found)
        FUZZ_CHECK(!value.isEmpty() && text.contains(key + equals + value));
    else
        FUZZ_CHECK(value == defaultValue);
    const int number = VRLTBSTR_ValueGet(nullptr, text, key, separator, equals, index);
    if (number != index)
        FUZZ_CHECK(VRLTBSTR_ValueGet(&found, text, key, separator, equals, 0) == number && found);
    const QChar first = VRLTBSTR_ValueGet(&found, text, key, separator, equals, QChar('#'));
    FUZZ_CHECK(found ? first == value.at(0) : first == QChar('#'));
    VRLTBSTR_ValueGet(nullptr, text, key, separator, equals, '0');

    const QString field = VRLTBSTR_FieldGet(&found, text, separator, index, defaultValue);
    if (found)
        FUZZ_CHECK(field.size() <= text.size() && !field.contains(separator));
    else
        FUZZ_CHECK(field == defaultValue);
    VRLTBSTR_FieldGet(nullptr, text, separator, index, -1);

    const quint32 amount = fdp.ConsumeIntegral<quint32>();
    bool ok = false;
    FUZZ_CHECK(VRLTBSTR_TextToHundredths(VRLTBSTR_HundredthsToText(amount), &ok) == amount && ok);
    const quint32 parsed = VRLTBSTR_TextToHundredths(text, &ok);
    if (ok)
        FUZZ_CHECK(VRLTBSTR_TextToHundredths(VRLTBSTR_HundredthsToText(parsed), &ok) == parsed && ok);
    const QString shown = VRLTBSTR_NumberToHundredthsText(text, &ok);
    if (ok)
        FUZZ_CHECK(VRLTBSTR_TextToHundredths(shown, &ok) == quint32(text.toLongLong()) && ok);
    else
        FUZZ_CHECK(shown.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietMessages();
    return 0;
}

// Arguments: text, key and default are '\'-terminated strings from the front; the numbers and
// characters come from the back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const std::string text = fdp.ConsumeRandomLengthString(4096);
    const std::string key = fdp.ConsumeRandomLengthString(64);
    const std::string defaultValue = fdp.ConsumeRandomLengthString(64);
    textFamily(fdp, DecodeText(QByteArray::fromStdString(text)), DecodeText(QByteArray::fromStdString(key)),
               DecodeText(QByteArray::fromStdString(defaultValue)));
    bufferFamily(fdp, text, key, defaultValue);
    return 0;
}
