#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like a crash: say which one, then abort so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);         \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace FuzzSupport {

// The units log every line they parse; at hundreds of thousands of runs a second that output
// would be the whole cost. Warnings and worse still reach stderr.
inline void quietMessages()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtDebugMsg || type == QtInfoMsg)
            return;
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
        if (type == QtFatalMsg)
            std::abort();
    });
}

// A private folder for the targets that go through files; tmpfs when there is one, since every
// save syncs to disk.
inline QString workDirPath()
{
    const QString shm = QStringLiteral("/dev/shm");
    static const QTemporaryDir dir((QFileInfo(shm).isWritable() ? shm : QDir::tempPath()) +
                                   QStringLiteral("/korvelfuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid());
    return dir.path();
}

// Byte streams with in-band controls, so that seeds stay plain recordings of the line:
// 0xFF 0xFF is one 0xFF byte, 0xFF n with n below 0x10 is control n, any other 0xFF is a byte.
class ControlStream
{
public:
    ControlStream(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    // False at the end; otherwise either *control is set (0 to 15) or *byte is, *control being -1.
    bool next(char* byte, int* control)
    {
        if (m_pos >= m_size)
            return false;
        const uint8_t b = m_data[m_pos++];
        *control = -1;
        if (b == 0xFF && m_pos < m_size) {
            const uint8_t n = m_data[m_pos];
            if (n == 0xFF || n < 0x10)
                ++m_pos;
            if (n < 0x10) {
                *control = n;
                return true;
            }
        }
        *byte = char(b);
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

} // namespace FuzzSupport

#endif // FUZZSUPPORT_H
