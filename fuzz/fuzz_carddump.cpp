// Card dump files (.mfd/.bin, .eml, .json) and key list files: a file that loads saves in its
// own format as a file that loads back as the same dump; a refused file changes nothing and
// says why.

#include "fuzzsupport.h"

#include "badge/carddump.h"
#include "badge/cardkeys.h"

namespace {
// The first byte chooses the parser; the rest is the file.
enum Parser
{
    PARSE_RAW,
    PARSE_EML,
    PARSE_JSON,
    PARSE_KEYS,
    PARSER_COUNT
};

bool SameDump(const CardDump& a, const CardDump& b)
{
    for (int s = 0; s < CARD_SECTORS; ++s) {
        const CardSectorKeys& x = a.keys[size_t(s)];
        const CardSectorKeys& y = b.keys[size_t(s)];
        if (x.keyA != y.keyA || x.keyB != y.keyB || x.openedBy != y.openedBy)
            return false;
    }
    return a.blocks == b.blocks;
}

void Dump(CardFileFormat format, const QByteArray& content)
{
    CardDump dump;
    dump.blocks[1] = QByteArray(CARD_BLOCK_SIZE, 'k');
    const CardDump before = dump;
    QString error;
    if (!CardDumpParse(content, format, &dump, &error)) {
        FUZZ_CHECK(!error.isEmpty() && SameDump(dump, before));
        return;
    }
    FUZZ_CHECK(CardDumpDiff(dump, dump).isEmpty());
    CardRestoreCheck(dump);
    const QByteArray saved = CardDumpSerialize(dump, format);
    FUZZ_CHECK(CardDumpSerialize(dump, CardFileFormat::Raw).size() == CARD_SIZE);
    if (format == CardFileFormat::Raw)
        FUZZ_CHECK(saved == content);
    CardDump again;
    FUZZ_CHECK(CardDumpParse(saved, format, &again, &error));
    FUZZ_CHECK(SameDump(again, dump));
}

void Keys(const QByteArray& content)
{
    QList<QByteArray> keys{QByteArray(CARD_KEY_SIZE, 'k')};
    const QList<QByteArray> before = keys;
    QString error;
    if (!CardKeysParse(content, &keys, &error)) {
        FUZZ_CHECK(!error.isEmpty() && keys == before);
        return;
    }
    QByteArray saved;
    for (const QByteArray& key : keys) {
        FUZZ_CHECK(key.size() == CARD_KEY_SIZE);
        saved += CardKeyText(key).toLatin1() + '\n';
    }
    QList<QByteArray> again;
    FUZZ_CHECK(CardKeysParse(saved, &again, &error) && again == keys);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray content(reinterpret_cast<const char*>(data) + 1, int(size) - 1);
    switch (data[0] % PARSER_COUNT) {
    case PARSE_RAW:
        Dump(CardFileFormat::Raw, content);
        break;
    case PARSE_EML:
        Dump(CardFileFormat::Eml, content);
        break;
    case PARSE_JSON:
        Dump(CardFileFormat::Json, content);
        break;
    default:
        Keys(content);
        break;
    }
    return 0;
}
