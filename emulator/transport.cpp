#include "transport.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
PtyTransport::PtyTransport(const QString& linkPath, QObject* parent) : Transport(parent), m_linkPath(linkPath)
{
}

PtyTransport::~PtyTransport()
{
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).isSymLink())
        QFile::remove(m_linkPath);
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyTransport::open(QString* error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = QString("pseudo-terminal: %1").arg(qt_error_string(errno));
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        *error = "pseudo-terminal: no slave name";
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = QString("%1: %2").arg(m_slavePath, qt_error_string(errno));
        return false;
    }
    // Raw 8-bit line: STX and ETX must pass untouched, no echo, no line editing.
    termios tio{};
    ::tcgetattr(m_slave, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(m_slave, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (!m_linkPath.isEmpty()) {
        if (QFileInfo(m_linkPath).isSymLink())
            QFile::remove(m_linkPath);
        if (!QFile::link(m_slavePath, m_linkPath)) {
            *error = QString("cannot create the link %1").arg(m_linkPath);
            m_linkPath.clear();
            return false;
        }
    }
    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyTransport::onReadable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyTransport::onWritable);
    return true;
}

void PtyTransport::onReadable()
{
    constexpr int ReadChunk = 512;
    char buffer[ReadChunk];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n > 0)
        emit received(QByteArray(buffer, static_cast<int>(n)));
}

void PtyTransport::write(const QByteArray& bytes)
{
    m_out.append(bytes);
    // Nobody reads the line: keep only the latest bytes, as a UART buffer would.
    constexpr int MaxPending = 64 * 1024;
    if (m_out.size() > MaxPending)
        m_out.remove(0, m_out.size() - MaxPending);
    flushOut();
}

void PtyTransport::onWritable()
{
    flushOut();
}

void PtyTransport::flushOut()
{
    while (!m_out.isEmpty()) {
        const ssize_t n = ::write(m_master, m_out.constData(), static_cast<size_t>(m_out.size()));
        if (n <= 0) {
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                m_out.clear(); // the line is gone; a reader just talks into the void
            break;
        }
        m_out.remove(0, static_cast<int>(n));
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_out.isEmpty());
}

#else
// Windows has no pseudo-terminal: a virtual COM pair and --port take its place.
PtyTransport::PtyTransport(const QString& linkPath, QObject* parent) : Transport(parent), m_linkPath(linkPath)
{
}

PtyTransport::~PtyTransport() = default;

bool PtyTransport::open(QString* error)
{
    *error = "no pseudo-terminal on this system: install a virtual COM port pair and use --port";
    return false;
}

void PtyTransport::write(const QByteArray&) {}

void PtyTransport::onReadable() {}

void PtyTransport::onWritable() {}

void PtyTransport::flushOut() {}
#endif

SerialTransport::SerialTransport(const QString& name, QObject* parent)
    : Transport(parent), m_name(name), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] { emit received(m_port->readAll()); });
}

bool SerialTransport::open(QString* error)
{
    m_port->setPortName(m_name);
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        *error = QString("%1: %2").arg(m_name, m_port->errorString());
        return false;
    }
    return true;
}

void SerialTransport::write(const QByteArray& bytes)
{
    m_port->write(bytes);
}
