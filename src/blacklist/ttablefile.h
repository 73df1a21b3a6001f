#ifndef TTABLEFILE_H
#define TTABLEFILE_H

#include <QString>

class QTableWidget;

// The blacklist table in a text file: one row per line, each cell followed
// by ";". Written UTF-8; read as UTF-8, or Latin-1 for a line that is not
// valid UTF-8, so files written by older tools still load.
class TTableFile
{
public:
    // Replaces the file only once every byte is written; creates a missing folder.
    static bool TableSave(QTableWidget* table, QString fileName);
    // Appends one row per line; false when the file cannot be read.
    static bool TableLoad(QTableWidget* table, QString fileName);
};

#endif // TTABLEFILE_H
