// CFILE_INI on arbitrary files: load, a few edits driven by the input, save, reload. The edits
// must read back as made, and what was saved must load back as the same lines.

#include "fuzzsupport.h"

#include "commun/fileini.h"
#include "commun/textdecode.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>

#include <utility>

namespace {

QString pickSection(FuzzedDataProvider& fdp, const QStringList& lines)
{
    QStringList sections;
    for (const QString& line : lines) {
        if (CFILE_INI::IsSectionLine(line))
            sections.append(line.mid(1, line.indexOf(QLatin1Char(']'), 2) - 1));
    }
    if (!sections.isEmpty() && fdp.ConsumeIntegralInRange(0, 3) != 0)
        return sections.at(fdp.ConsumeIntegralInRange(0, int(sections.size()) - 1));
    return DecodeText(QByteArray::fromStdString(fdp.ConsumeRandomLengthString(24)));
}

QString pickKey(FuzzedDataProvider& fdp, const QStringList& lines)
{
    QStringList keys;
    for (const QString& line : lines) {
        if (CFILE_INI::IsKeyLine(line))
            keys.append(line.left(line.indexOf(QLatin1Char('='))));
    }
    if (!keys.isEmpty() && fdp.ConsumeIntegralInRange(0, 3) != 0)
        return keys.at(fdp.ConsumeIntegralInRange(0, int(keys.size()) - 1));
    return DecodeText(QByteArray::fromStdString(fdp.ConsumeRandomLengthString(24)));
}

QString pickValue(FuzzedDataProvider& fdp)
{
    return DecodeText(QByteArray::fromStdString(fdp.ConsumeRandomLengthString(64)));
}

// A value as it reads back: the store keeps each entry on one line.
QString stored(QString value)
{
    return value.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QByteArray shown(const QString& text)
{
    return text.toUtf8().toPercentEncoding(" []=#;:");
}

// Printed before a failed check, to tell what went wrong.
void dump(const char* what, const QString& section, const QString& key, const QString& value,
          const QStringList& lines)
{
    std::fprintf(stderr, "%s [%s] %s=%s\n", what, shown(section).constData(), shown(key).constData(),
                 shown(value).constData());
    for (const QString& line : lines)
        std::fprintf(stderr, "  %s\n", shown(line).constData());
}

int keyCount(CFILE_INI& ini, const QString& section, const QString& key)
{
    int count = 0;
    bool found = true;
    while (found && count <= ini.lines.size())
        ini.ValueGet(&found, section, key, ++count, QString());
    return count - 1;
}

// The edits below promise to read back only for names the program itself would write.
bool plainNames(const QString& section, const QString& key)
{
    return CFILE_INI::IsSectionLine(QLatin1Char('[') + section + QLatin1Char(']')) && !key.isEmpty() &&
           !key.startsWith(QLatin1Char('#')) && !key.startsWith(QLatin1Char('[')) &&
           !key.contains(QLatin1Char('=')) && !key.contains(QLatin1Char('\n')) &&
           !section.contains(QLatin1Char('\n'));
}

void edit(FuzzedDataProvider& fdp, CFILE_INI& ini)
{
    const int kind = fdp.ConsumeIntegralInRange(0, 4);
    const QString section = pickSection(fdp, ini.lines);
    const QString key = pickKey(fdp, ini.lines);
    const bool plain = plainNames(section, key);
    bool found = false;
    switch (kind) {
    case 0: {
        const QString value = ini.ValueGet(&found, section, key, fdp.ConsumeIntegralInRange(-1, 3), "\x01");
        if (!found)
            FUZZ_CHECK(value == QLatin1String("\x01"));
        break;
    }
    case 1: {
        const QString value = pickValue(fdp);
        const int occurrence = fdp.ConsumeIntegralInRange(1, 3);
        const int before = plain ? keyCount(ini, section, key) : 0;
        const QStringList old = ini.lines;
        FUZZ_CHECK(ini.ValueSet(section, key, value, occurrence));
        if (plain &&
            ini.ValueGet(&found, section, key, qMin(occurrence, before + 1), "\x01") != stored(value)) {
            dump("before ValueSet", section, key, value, old);
            dump("after", section, key, QString::number(occurrence), ini.lines);
        }
        if (plain) {
            FUZZ_CHECK(ini.ValueGet(&found, section, key, qMin(occurrence, before + 1), "\x01") ==
                       stored(value));
            FUZZ_CHECK(found);
        }
        break;
    }
    case 2: {
        const QString value = pickValue(fdp);
        const int before = plain ? keyCount(ini, section, key) : 0;
        const QStringList old = ini.lines;
        FUZZ_CHECK(ini.KeyAdd(section, key, value));
        if (plain && ini.ValueGet(&found, section, key, before + 1, "\x01") != stored(value)) {
            dump("before KeyAdd", section, key, value, old);
            dump("after", section, key, value, ini.lines);
        }
        if (plain) {
            FUZZ_CHECK(ini.ValueGet(&found, section, key, before + 1, "\x01") == stored(value) && found);
            FUZZ_CHECK(keyCount(ini, section, key) == before + 1);
        }
        break;
    }
    case 3: {
        const int occurrence = fdp.ConsumeIntegralInRange(1, 2);
        const QStringList before = ini.lines;
        const bool exists = ini.SectionFind(section, occurrence);
        FUZZ_CHECK(ini.SectionClear(section, occurrence));
        if (exists) {
            ini.KeyLineFirst(&found, section, occurrence);
            FUZZ_CHECK(!found);
        } else {
            FUZZ_CHECK(ini.lines == before);
        }
        break;
    }
    default: {
        // The walk the group loader does: every key line of the section, then stop.
        int steps = 0;
        QString line = ini.KeyLineFirst(&found, section, 1);
        while (found) {
            FUZZ_CHECK(CFILE_INI::IsKeyLine(line) && ++steps <= ini.lines.size());
            CFILE_INI::LineValue(line);
            line = ini.KeyLineNext(&found);
        }
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietMessages();
    FuzzSupport::workDirPath();
    return 0;
}

// The file comes first ('\'-terminated); the edits are drawn from the end of the input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const QString path = FuzzSupport::workDirPath() + QStringLiteral("/config.ini");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string content = fdp.ConsumeRandomLengthString(16384);
        FUZZ_CHECK(file.write(content.data(), qint64(content.size())) == qint64(content.size()));
    }

    CFILE_INI ini(path);
    FUZZ_CHECK(ini.Open());
    for (const QString& line : std::as_const(ini.lines))
        FUZZ_CHECK(line == line.trimmed() && !line.contains(QLatin1Char('\n')));

    const int edits = fdp.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < edits; ++i)
        edit(fdp, ini);

    QStringList expected;
    for (const QString& line : std::as_const(ini.lines))
        expected.append(line.trimmed());
    FUZZ_CHECK(ini.Close());

    CFILE_INI again(path);
    FUZZ_CHECK(again.Open());
    if (again.lines != expected) {
        for (int i = 0; i < qMax(again.lines.size(), expected.size()); ++i)
            std::fprintf(stderr, "%d: %s | %s\n", i,
                         qPrintable(expected.value(i).toUtf8().toPercentEncoding()),
                         qPrintable(again.lines.value(i).toUtf8().toPercentEncoding()));
    }
    FUZZ_CHECK(again.lines == expected);
    FUZZ_CHECK(again.Close());
    return 0;
}
