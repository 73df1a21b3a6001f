#include "blacklist/ttablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTableWidget>
#include <QTextCodec>

#include "blacklist/tablerows.h"

namespace {

QString LineDecode(const QByteArray& bytes)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return QString::fromLatin1(bytes);
    return text;
}

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
    const QFileInfo info(fileName);
    if (!QDir().mkpath(info.absolutePath()))
        return false;

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QString line;
    for (int row = 0; TableRowToLine(table, row, &line); ++row) {
        const QByteArray bytes = line.toUtf8() + '\n';
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            break;
        }
    }
    // QSaveFile::commit() would not notice a failing final flush: do it here.
    if (!file.flush())
        file.cancelWriting();
    return file.commit();
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
        TableLineToRow(table, LineDecode(LineEndStrip(raw)));
    }
    return true;
}
