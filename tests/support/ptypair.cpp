#include "ptypair.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

PtyPair::PtyPair()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (m_master >= 0 &&
        (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name, sizeof name) != 0)) {
        ::close(m_master);
        m_master = -1;
    }
    if (m_master < 0)
        return;
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave >= 0) {
        termios tio;
        if (::tcgetattr(m_slave, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_slave, TCSANOW, &tio);
        }
    }
}

PtyPair::~PtyPair()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyPair::write(const QByteArray& bytes)
{
    int done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += int(n);
    }
    return true;
}

QByteArray PtyPair::readFrame(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        int skipped = 0;
        const int length = ptyFrameLength(m_pending, &skipped);
        if (length > 0) {
            const QByteArray frame = m_pending.mid(skipped, length);
            m_pending.remove(0, skipped + length);
            return frame;
        }
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return QByteArray();
        pollfd pfd{m_master, POLLIN, 0};
        if (::poll(&pfd, 1, int(left)) <= 0 || !(pfd.revents & POLLIN))
            continue;
        char buf[4096];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0)
            m_pending.append(buf, int(n));
    }
}

int ptyFrameLength(const QByteArray& bytes, int* skipped)
{
    const int stx = bytes.indexOf('\x02');
    *skipped = stx < 0 ? 0 : stx;
    if (stx < 0)
        return 0;
    const int etx = bytes.indexOf('\x03', stx + 3);
    if (etx < 0 || bytes.size() < etx + 4)
        return 0;
    return etx + 4 - stx;
}

QByteArray wire(const char* text)
{
    QByteArray bytes(text);
    bytes.replace('<', '\x02').replace('>', '\x03');
    return bytes;
}
