#ifndef FRAMETRACEWRITER_H
#define FRAMETRACEWRITER_H

#include "link/qprotocole.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <memory>
#include <mutex>

// Appends every frame the link sends and receives to a text file, one line each:
//   2026-12-06T14:03:07.125+01:00<TAB>TX<TAB><STX>BS<ETX>012<TAB>02 42 53 03 30 31 32
// Technicians send such files when a reader misbehaves. Times are local, with the
// UTC offset the program started with. Write() is called from
// the link's worker thread; a file that cannot be opened or written is reported
// once (ErrorString(), and a warning on the debug output) and the program goes on.
class FrameTraceWriter
{
public:
    explicit FrameTraceWriter(const QString& path);

    bool IsOpen() const;
    // Empty while all is well; otherwise the first failure, in French, with the file's name.
    QString ErrorString() const;

    void Write(QProtocole::FrameDirection direction, const QByteArray& frame);

    // A function for QProtocole::SetFrameTrace that keeps the writer alive as long as the link holds it.
    static QProtocole::FrameTrace Sink(std::shared_ptr<FrameTraceWriter> writer);

    // One line, without its line feed.
    static QString FormatLine(const QDateTime& time, QProtocole::FrameDirection direction,
                              const QByteArray& frame);
    // The frame with control characters spelt out: <STX>, <ETX>, <CR>, <0x9B>...
    static QString ReadableText(const QByteArray& frame);

private:
    void fail(const char* what); // what: a QT_TRANSLATE_NOOP text

    mutable std::mutex m_mutex;
    QFile m_file;
    const int m_utcOffset;
    bool m_open = false;
    QString m_error;
};

#endif // FRAMETRACEWRITER_H
