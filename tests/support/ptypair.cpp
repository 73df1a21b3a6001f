#include "ptypair.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

PtyPair::PtyPair()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0)
        return;
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio;
    if (m_slave >= 0 && ::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
}

PtyPair::~PtyPair()
{
    for (const int fd : {m_slave, m_master})
        if (fd >= 0)
            ::close(fd);
}

bool PtyPair::write(const QByteArray& bytes)
{
    for (int done = 0; done < bytes.size();) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0 && errno != EINTR)
            return false;
        done += int(qMax<ssize_t>(n, 0));
    }
    return true;
}

int ptyFrameLength(const QByteArray& bytes, int* skipped)
{
    const int stx = bytes.indexOf('\x02');
    *skipped = qMax(stx, 0);
    const int etx = stx < 0 ? -1 : bytes.indexOf('\x03', stx + 3);
    return etx < 0 || bytes.size() < etx + 4 ? 0 : etx + 4 - stx;
}

QByteArray wire(const char* text)
{
    return QByteArray(text).replace('<', '\x02').replace('>', '\x03');
}
