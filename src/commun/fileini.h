#ifndef FILEINI_H
#define FILEINI_H

#include <QFile>
#include <QString>
#include <QStringList>

// A small INI-like text file kept in memory as its list of trimmed lines and edited in place:
// '[SECTION]' headers, 'KEY=value' lines (keys may repeat), comments and blank lines kept as they are.
// Edits touch only the list; Save() (or Close()) writes the whole list back.
//
// Open() reads the file and then releases the OS handle while the store stays logically open,
// so that Save() can replace the file by a rename, which an open handle forbids on Windows.
// The file is written as UTF-8; a line that is not valid UTF-8 is read as Latin-1.
class CFILE_INI : public QFile
{
    Q_OBJECT

public:
    CFILE_INI();
    explicit CFILE_INI(const QString& fileName);

    // Opens the file (creating it when missing) and loads it; false when it cannot be opened or read.
    bool Open();
    // Saves the lines when open, then closes; false only when that save failed.
    bool Close();
    bool IsOpened() const { return opened; }

    bool Load();
    // Replaces the file atomically: on failure the file on disk stays whole and the result is false.
    bool Save();

    bool LineNext(QString* line);
    bool SectionFind(const QString& name, int occurrence);
    QString KeyLineFirst(bool* found, const QString& section, int occurrence);
    QString KeyLineNext(bool* found);
    QString ValueGet(bool* found, const QString& section, const QString& key, int occurrence,
                     const QString& defaultValue);
    // One entry is one line: line feeds in a section name, key or value are written as spaces.
    bool ValueSet(const QString& section, const QString& key, const QString& value, int occurrence);
    bool KeyAdd(const QString& section, const QString& key, const QString& value);
    bool SectionClear(const QString& section, int occurrence);
    static QString LineValue(const QString& line);

    static bool IsSectionLine(const QString& line);
    static bool IsKeyLine(const QString& line);

    // Every line of the file, trimmed; blank lines stay as empty entries.
    QStringList lines;
    // Index of the next line the line walk reads.
    int cursor = 0;

private:
    bool linesRead(QIODevice* device);
    // Over the occurrence-th line of key (none when 0), else at the end of
    // the section, which is added when missing.
    bool KeyLineSet(const QString& section, const QString& key, const QString& value, int occurrence);
    static bool sectionNamed(const QString& line, const QString& name);
    static bool keyMatches(const QString& line, const QString& key);

    bool opened = false;
};

#endif // FILEINI_H
