#ifndef ATOMICSAVE_H
#define ATOMICSAVE_H

#include <QByteArray>
#include <QString>

// Replaces the file at path by content, creating missing parent folders. The content goes to a
// temporary file next to the target, which replaces the old file only once it is wholly written:
// on any failure the old file stays as it was and the result is false.
bool SaveFileAtomic(const QString& path, const QByteArray& content);

#endif // ATOMICSAVE_H
