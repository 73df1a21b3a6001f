// Badge records as the reader sends them, read into the form's fields; then the record those
// fields build, read and built again, must settle: the program's own record reads back as itself.

#include "fuzzsupport.h"

#include "badge/badgerecord.h"
#include "commun/textdecode.h"

namespace {

QString ReadAndBuild(const QString& record)
{
    BadgeFields fields;
    for (const BadgeItem& item : BadgeRecordItems(record)) {
        FUZZ_CHECK(item.kind != BadgeItem::Kind::Counter ||
                   (item.number >= 0 && item.number < COUNTER_ROW_COUNT));
        BadgeItemApply(item, &fields);
    }
    // Counters shown from a record always convert back.
    QString built;
    FUZZ_CHECK(BadgeRecordBuild(fields, &built));
    return built;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString record = DecodeText(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    const QString first = ReadAndBuild(record);
    const QString second = ReadAndBuild(first);
    const QString third = ReadAndBuild(second);
    if (third != second)
        std::fprintf(stderr, "  %s\n  %s\n", qUtf8Printable(second), qUtf8Printable(third));
    FUZZ_CHECK(third == second);
    return 0;
}
