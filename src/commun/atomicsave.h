#ifndef ATOMICSAVE_H
#define ATOMICSAVE_H

#include <QByteArray>
#include <QString>

// The line end a text-mode write gives on this platform, for content built by hand.
#ifdef Q_OS_WIN
constexpr char TextLineEnd[] = "\r\n";
#else
constexpr char TextLineEnd[] = "\n";
#endif

// Replaces the file at path by content, creating missing parent folders. The content goes to a
// temporary file next to the target, which replaces the old file only once it is wholly written:
// on any failure the old file stays as it was and the result is false.
bool SaveFileAtomic(const QString& path, const QByteArray& content);

#endif // ATOMICSAVE_H
