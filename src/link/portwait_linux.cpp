#include "link/portwait.h"

#include <QSerialPort>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

PortWait::PortWait() : m_wakeFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

PortWait::~PortWait()
{
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void PortWait::wake()
{
    if (m_wakeFd >= 0) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    }
}

PortWait::Outcome PortWait::wait(QSerialPort& port, int maxMs)
{
    pollfd fds[2] = {{port.handle(), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    if (::poll(fds, 2, maxMs) <= 0)
        return Outcome::Nothing;
    if (fds[1].revents & POLLIN) {
        quint64 count;
        [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &count, sizeof count);
    }
    // Hung up for good: adapter pulled, far end of a pseudo-terminal closed.
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
        return Outcome::HungUp;
    if (!(fds[0].revents & POLLIN))
        return Outcome::Nothing;
    const qint64 before = port.bytesAvailable();
    port.waitForReadyRead(0);
    // Readable, yet the read brought nothing: it would do so every turn.
    if (port.bytesAvailable() == before && port.error() == QSerialPort::ReadError)
        return Outcome::ReadFailed;
    return Outcome::Input;
}
