#include "link/readerlink.h"

#include "link/qprotocole.h"

bool ProtocoleLink::IsFree() const
{
    return m_protocole.Cmd.IsFree;
}

bool ProtocoleLink::Connected() const
{
    return m_protocole.Connected;
}

unsigned char ProtocoleLink::CmdRequest(char letter, char subLetter, const QString& payload,
                                        unsigned int resultId, unsigned int timeoutMs)
{
    return m_protocole.CmdRequest(letter, subLetter, payload, resultId, timeoutMs);
}

unsigned char ProtocoleLink::CmdRequestQueued(char letter, char subLetter, const QString& payload,
                                              unsigned int resultId, unsigned int timeoutMs)
{
    return m_protocole.CmdRequestQueued(letter, subLetter, payload, resultId, timeoutMs);
}

unsigned char ProtocoleLink::CmdAnswer(bool* isOk, char* status, QString* text)
{
    return m_protocole.CmdAnswer(isOk, status, text);
}

void ProtocoleLink::PollingSet(bool wanted)
{
    m_protocole.SetPollingWanted(wanted);
}

bool ProtocoleLink::CmdWaitFree(unsigned int maxMs)
{
    return m_protocole.CmdWaitFree(maxMs);
}

bool ProtocoleLink::CmdWaitAnswer(unsigned int maxMs)
{
    return m_protocole.CmdWaitAnswer(maxMs);
}
