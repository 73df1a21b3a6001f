#include "link/qprotocole.h"

// Placeholder until the link lands: accepts nothing, reports nothing.

QProtocole::QProtocole(QObject* parent) : QThread(parent) {}

QProtocole::~QProtocole()
{
    requestInterruption();
    wait();
}

unsigned char QProtocole::CmdRequest(char, char, QString, unsigned int, unsigned int)
{
    return CMD_BUSY;
}

unsigned char QProtocole::PutValueRequest(QString, QString, unsigned int)
{
    return CMD_BUSY;
}

unsigned char QProtocole::CmdAnswer(bool*, char*, QString*)
{
    return 0;
}

unsigned char QProtocole::CmdRequestQueued(char, char, QString, unsigned int, unsigned int)
{
    return CMD_BUSY;
}

unsigned char QProtocole::PutValueRequestQueued(QString, QString, unsigned int)
{
    return CMD_BUSY;
}

bool QProtocole::CmdWaitFree(unsigned int)
{
    return false;
}

bool QProtocole::CmdWaitAnswer(unsigned int)
{
    return false;
}

void QProtocole::SetPortName(const QString& name)
{
    std::lock_guard<std::mutex> lock(m_portNameMutex);
    m_portName = name;
}

QString QProtocole::PortName() const
{
    std::lock_guard<std::mutex> lock(m_portNameMutex);
    return m_portName;
}

void QProtocole::On_ReadyRead() {}

void QProtocole::run() {}
