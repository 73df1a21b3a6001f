#include "app/frametracewriter.h"

#include "app/applog.h"
#include "commun/textdecode.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace {
const char* const ControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                      "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                      "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                      "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
} // namespace

FrameTraceWriter::FrameTraceWriter(const QString& path)
    : m_file(path), m_utcOffset(QDateTime::currentDateTime().offsetFromUtc())
{
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        m_open = true;
    else
        fail(QT_TRANSLATE_NOOP("FrameTraceWriter", "ouverture impossible"));
}

bool FrameTraceWriter::IsOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open;
}

QString FrameTraceWriter::ErrorString() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

void FrameTraceWriter::fail(const char* what)
{
    // Called with m_mutex held (or from the constructor).
    m_open = false;
    m_error = QCoreApplication::translate("FrameTraceWriter", "Trace des trames %1 : %2 (%3)")
                  .arg(m_file.fileName(), QCoreApplication::translate("FrameTraceWriter", what),
                       m_file.errorString());
    qCWarning(lcApp, "%s", qUtf8Printable(m_error));
    m_file.close();
}

void FrameTraceWriter::Write(QProtocole::FrameDirection direction, const QByteArray& frame)
{
    // Local time through the offset taken at start: the worker thread then never reads the
    // time zone, whose C library state other threads share.
    const QDateTime now = QDateTime::currentDateTimeUtc().toOffsetFromUtc(m_utcOffset);
    const QByteArray line = (FormatLine(now, direction, frame) + '\n').toUtf8();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open)
        return;
    // Each line reaches the file at once: the trace matters most when the program then crashes.
    if (m_file.write(line) != line.size() || !m_file.flush())
        fail(QT_TRANSLATE_NOOP("FrameTraceWriter", "écriture impossible, trace arrêtée"));
}

QProtocole::FrameTrace FrameTraceWriter::Sink(std::shared_ptr<FrameTraceWriter> writer)
{
    return [writer](QProtocole::FrameDirection direction, const QByteArray& frame) {
        writer->Write(direction, frame);
    };
}

QString FrameTraceWriter::FormatLine(const QDateTime& time, QProtocole::FrameDirection direction,
                                     const QByteArray& frame)
{
    // With the offset, so that traces from another time zone read right.
    const QString stamp = time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
    const char* dir = direction == QProtocole::FrameDirection::Sent ? "TX" : "RX";
    QString hex = QString::fromLatin1(frame.toHex(' ').toUpper());
    return stamp + '\t' + dir + '\t' + ReadableText(frame) + '\t' + hex;
}

QString FrameTraceWriter::ReadableText(const QByteArray& frame)
{
    // Payloads are UTF-8 or Latin-1 (badge names with accents): show the letters, not their bytes.
    const QString text = DecodeText(frame);
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 32)
            out += QLatin1Char('<') + QLatin1String(ControlNames[u]) + QLatin1Char('>');
        else if (u == 0x7F)
            out += QLatin1String("<DEL>");
        else if (u >= 0x80 && u < 0xA0)
            out += QString::asprintf("<0x%02X>", u);
        else
            out += c;
    }
    return out;
}
