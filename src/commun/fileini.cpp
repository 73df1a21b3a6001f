#include "commun/fileini.h"

#include "commun/atomicsave.h"
#include "commun/communlog.h"
#include "commun/textdecode.h"

#include <utility>

namespace {

// A line feed inside a name or a value would split its line on saving, and whatever followed it
// would load back as lines of its own (a section, a key). A lone CR does not split a line.
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

CFILE_INI::CFILE_INI() = default;

CFILE_INI::CFILE_INI(const QString& fileName) : QFile(fileName) {}

bool CFILE_INI::Open()
{
    if (QFile::isOpen())
        QFile::close();
    opened = false;
    lines.clear();
    if (!QFile::open(QIODevice::ReadWrite))
        return false;
    // A file that could not be read whole must not be overwritten by a later Close().
    opened = linesRead(this);
    if (!opened)
        lines.clear();
    QFile::close();
    return opened;
}

bool CFILE_INI::Close()
{
    if (!opened)
        return true;
    const bool saved = Save();
    opened = false;
    if (QFile::isOpen())
        QFile::close();
    return saved;
}

bool CFILE_INI::Load()
{
    lines.clear();
    if (!opened)
        return false;
    QFile file(fileName());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return linesRead(&file);
}

// The device is opened without QIODevice::Text, whose reading drops a CR inside some lines and
// not others; trimmed() takes off the CR of a CRLF end.
bool CFILE_INI::linesRead(QIODevice* device)
{
    lines.clear();
    if (!device->seek(0))
        return false;
    while (!device->atEnd()) {
        const QByteArray raw = device->readLine();
        if (raw.isEmpty())
            return false;
        // Only the file's own byte-order mark is dropped, not one that starts a later line.
        const QString line = DecodeText(raw, lines.isEmpty());
        qCDebug(lcCommun, "CFILE_INI.Load Append:%s", qUtf8Printable(line));
        lines.append(line.trimmed());
    }
    return true;
}

bool CFILE_INI::Save()
{
    if (!opened)
        return false;
    QByteArray content;
    // A first line that starts with U+FEFF would read back as a byte-order mark and lose it.
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        content = "\xEF\xBB\xBF";
    for (const QString& line : std::as_const(lines)) {
        content += line.toUtf8();
        qCDebug(lcCommun, "CFILE_INI.Save Append:%s", qUtf8Printable(line));
        content += TextLineEnd;
    }
    return SaveFileAtomic(fileName(), content);
}

bool CFILE_INI::LineNext(QString* line)
{
    if (lines.isEmpty())
        return false;
    if (cursor < 0)
        cursor = 0;
    while (cursor < lines.size()) {
        const QString& taken = lines.at(cursor++);
        if (line)
            *line = taken;
        if (!taken.isEmpty())
            return true;
    }
    return false;
}

bool CFILE_INI::SectionFind(const QString& name, int occurrence)
{
    if (lines.isEmpty())
        return false;
    if (occurrence < 1)
        occurrence = 1;
    cursor = 0;
    QString line;
    while (LineNext(&line)) {
        if (sectionNamed(line, name) && --occurrence == 0)
            return true;
    }
    return false;
}

QString CFILE_INI::KeyLineFirst(bool* found, const QString& section, int occurrence)
{
    if (found)
        *found = false;
    if (!SectionFind(section, occurrence))
        return QString();
    return KeyLineNext(found);
}

QString CFILE_INI::KeyLineNext(bool* found)
{
    if (found)
        *found = false;
    QString line;
    while (LineNext(&line)) {
        if (IsSectionLine(line))
            return line;
        if (IsKeyLine(line)) {
            if (found)
                *found = true;
            return line;
        }
    }
    return QString();
}

QString CFILE_INI::ValueGet(bool* found, const QString& section, const QString& key, int occurrence,
                            const QString& defaultValue)
{
    if (found)
        *found = false;
    if (!SectionFind(section, 1))
        return defaultValue;
    if (occurrence < 1)
        occurrence = 1;
    QString line;
    while (LineNext(&line)) {
        if (IsSectionLine(line))
            return defaultValue;
        if (keyMatches(line, key) && --occurrence == 0) {
            if (found)
                *found = true;
            return LineValue(line);
        }
    }
    return defaultValue;
}

bool CFILE_INI::ValueSet(const QString& section, const QString& key, const QString& value, int occurrence)
{
    return KeyLineSet(section, key, value, qMax(occurrence, 1));
}

bool CFILE_INI::KeyAdd(const QString& section, const QString& key, const QString& value)
{
    return KeyLineSet(section, key, value, 0);
}

bool CFILE_INI::KeyLineSet(const QString& sectionName, const QString& key, const QString& value,
                           int occurrence)
{
    const QString section = oneLine(sectionName);
    if (!SectionFind(section, 1)) {
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        cursor = lines.size();
    }
    const QString oneKey = oneLine(key);
    const QString keyLine = oneKey + QLatin1Char('=') + oneLine(value);
    QString line;
    while (LineNext(&line)) {
        if (IsSectionLine(line)) {
            lines.insert(--cursor, keyLine);
            return true;
        }
        if (occurrence > 0 && keyMatches(line, oneKey) && --occurrence == 0) {
            lines[--cursor] = keyLine;
            return true;
        }
    }
    lines.append(keyLine);
    return true;
}

bool CFILE_INI::SectionClear(const QString& section, int occurrence)
{
    // When the section is missing the cursor stands at the end and nothing is removed.
    SectionFind(section, occurrence);
    QString line;
    while (LineNext(&line)) {
        if (IsSectionLine(line))
            break;
        lines.removeAt(--cursor);
    }
    return true;
}

QString CFILE_INI::LineValue(const QString& line)
{
    const int equals = line.indexOf(QLatin1Char('='), 1);
    if (equals < 0)
        return QString();
    return line.mid(equals + 1);
}

bool CFILE_INI::IsSectionLine(const QString& line)
{
    return line.startsWith(QLatin1Char('[')) && line.indexOf(QLatin1Char(']'), 2) >= 2;
}

bool CFILE_INI::IsKeyLine(const QString& line)
{
    return !line.startsWith(QLatin1Char('#')) && line.indexOf(QLatin1Char('=')) >= 1;
}

bool CFILE_INI::sectionNamed(const QString& line, const QString& name)
{
    return IsSectionLine(line) && line.startsWith(QLatin1Char('[') + name + QLatin1Char(']'));
}

bool CFILE_INI::keyMatches(const QString& line, const QString& key)
{
    return IsKeyLine(line) && line.startsWith(key + QLatin1Char('='));
}
