#include "blacklist/ttablefile.h"

#include <QFile>
#include <QTableWidget>

#include "blacklist/blacklistlog.h"
#include "blacklist/tablerows.h"
#include "commun/atomicsave.h"
#include "commun/textdecode.h"

namespace {

QByteArray LineEndStrip(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

bool TTableFile::TableSave(QTableWidget* table, QString fileName)
{
    qCDebug(lcBlacklist, "Sauvegarde liste noire dans %s", qUtf8Printable(fileName));
    QByteArray content;
    QString line;
    for (int row = 0; TableRowToLine(table, row, &line); ++row) {
        // A first cell that starts with U+FEFF would read back as a byte-order mark and lose it.
        if (row == 0 && line.startsWith(QChar(0xFEFF)))
            content = "\xEF\xBB\xBF";
        content += line.toUtf8() + TextLineEnd;
    }
    return SaveFileAtomic(fileName, content);
}

bool TTableFile::TableLoad(QTableWidget* table, QString fileName)
{
    qCDebug(lcBlacklist, "load liste noire dans %s", qUtf8Printable(fileName));
    QFile file(fileName);
    // Read raw: text mode drops a carriage return inside some lines and not in others.
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (bool first = true; !file.atEnd(); first = false) {
        const QByteArray raw = file.readLine();
        if (raw.isEmpty())
            break;
        // Only the file's own byte-order mark goes; one starting a later line is a cell's text.
        TableLineToRow(table, DecodeText(LineEndStrip(raw), first));
    }
    return true;
}
