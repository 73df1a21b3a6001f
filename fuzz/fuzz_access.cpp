// Zone and group texts: as values on their own (Set, Get, Set again gives the same text) and as
// a whole config.ini (load, save, load again gives the same zones and groups).

#include "fuzzsupport.h"

#include "access/groups.h"
#include "access/zones.h"
#include "commun/fileini.h"
#include "commun/textdecode.h"

#include <QFile>

namespace {

template <typename T> QString settled(const QString& text)
{
    T first;
    first.Set(text);
    const QString once = first.Get();
    T second;
    second.Set(once);
    FUZZ_CHECK(second.Get() == once);
    return once;
}

void valueTexts(const QString& text)
{
    settled<CZONE>(text);
    settled<CZONE_RULE>(text);
    settled<CGROUP>(text);
}

struct Access
{
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    ~Access() { qDeleteAll(groups); }

    void load(CFILE_INI* ini)
    {
        ZonesLoad(zones, ini);
        GroupsLoad(&groups, ini);
    }
    // Saved lines are trimmed: a label's trailing blanks at the end of a line do not survive.
    QStringList texts() const
    {
        QStringList all;
        for (const CZONE& zone : zones)
            all.append(zone.Get().trimmed());
        for (const CGROUP* group : groups)
            all.append(group->Get());
        return all;
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietMessages();
    FuzzSupport::workDirPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    valueTexts(DecodeText(bytes));
    // Each value on its own too; the first lines are enough, the rest only slow the runs down.
    for (const QByteArray& line : bytes.split('\n').mid(0, 16)) {
        const int equals = line.indexOf('=');
        valueTexts(DecodeText(equals < 0 ? line : line.mid(equals + 1)).trimmed());
    }

    const QString path = FuzzSupport::workDirPath() + QStringLiteral("/config.ini");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    Access loaded;
    {
        CFILE_INI ini(path);
        FUZZ_CHECK(ini.Open());
        loaded.load(&ini);
        ZonesSave(loaded.zones, &ini);
        GroupsSave(&loaded.groups, &ini);
        FUZZ_CHECK(ini.Close());
    }
    Access reloaded;
    CFILE_INI ini(path);
    FUZZ_CHECK(ini.Open());
    reloaded.load(&ini);
    if (reloaded.texts() != loaded.texts()) {
        for (const QString& line : loaded.texts() + QStringList("--") + reloaded.texts())
            std::fprintf(stderr, "  %s\n", line.toUtf8().toPercentEncoding(" []=#;:,").constData());
    }
    FUZZ_CHECK(reloaded.texts() == loaded.texts());
    return 0;
}
