#include "commun/atomicsave.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

bool SaveFileAtomic(const QString& path, const QByteArray& content)
{
    if (path.isEmpty())
        return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Qt 5.15's commit() ignores an error of the flush done by its own close and would rename a
    // cut-off file over the old one, so every step is checked here and the write cancelled first.
    const bool written = file.write(content) == content.size() && file.flush();
    if (!written) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}
