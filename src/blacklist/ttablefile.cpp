#include "blacklist/ttablefile.h"

#include <QFile>
#include <QTableWidget>

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
    qDebug("Sauvegarde liste noire dans %s", qUtf8Printable(fileName));
    QByteArray content;
    QString line;
    for (int row = 0; TableRowToLine(table, row, &line); ++row)
        content += line.toUtf8() + TextLineEnd;
    return SaveFileAtomic(fileName, content);
}

bool TTableFile::TableLoad(QTableWidget* table, QString fileName)
{
    qDebug("load liste noire dans %s", qUtf8Printable(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QByteArray raw = file.readLine();
        if (raw.isEmpty())
            break;
        TableLineToRow(table, DecodeText(LineEndStrip(raw)));
    }
    return true;
}
