#ifndef READERLINK_H
#define READERLINK_H

#include <QString>

#include "link/commands.h"

class QProtocole;

// One collected answer; collected stays false while the answer is not there.
struct ReaderAnswer
{
    bool collected = false;
    bool isOk = false;
    char status = 0;
    QString text;

    bool Succeeded() const { return isOk && status == '0'; }
    // The status text of the outcome: the command failed, status "0", or another status.
    QString Pick(const QString& commandError, const QString& ok, const QString& failed) const
    {
        return !isOk ? commandError : status == '0' ? ok : failed;
    }
};

// What the window's subsystems need from the reader link. The program passes
// ProtocoleLink; tests pass a recording fake, so the flows run without a port.
class ReaderLink
{
public:
    virtual ~ReaderLink() = default;

    virtual bool IsFree() const = 0;
    virtual bool Connected() const = 0;
    // QProtocole's result codes: CMD_SUBMITTED, CMD_BUSY, CMD_TOO_LONG.
    virtual unsigned char CmdRequest(char letter, char subLetter, const QString& payload,
                                     unsigned int resultId, unsigned int timeoutMs) = 0;
    // Never refused for a busy slot: sent as soon as the slot frees.
    virtual unsigned char CmdRequestQueued(char letter, char subLetter, const QString& payload,
                                           unsigned int resultId, unsigned int timeoutMs) = 0;
    virtual unsigned char CmdAnswer(bool* isOk, char* status, QString* text) = 0;
    virtual void PollingSet(bool wanted) = 0;
    // Bounded waits for the synchronous pattern (clock update): true once the
    // slot is free / the command in the slot has ended.
    virtual bool CmdWaitFree(unsigned int maxMs) = 0;
    virtual bool CmdWaitAnswer(unsigned int maxMs) = 0;

    unsigned char Request(const ReaderCommand& cmd)
    {
        return CmdRequest(cmd.letter, cmd.subLetter, cmd.payload, cmd.resultId, cmd.timeoutMs);
    }
    unsigned char RequestQueued(const ReaderCommand& cmd)
    {
        return CmdRequestQueued(cmd.letter, cmd.subLetter, cmd.payload, cmd.resultId, cmd.timeoutMs);
    }
    ReaderAnswer Answer()
    {
        ReaderAnswer answer;
        answer.collected = CmdAnswer(&answer.isOk, &answer.status, &answer.text) != 0;
        return answer;
    }
};

class ProtocoleLink : public ReaderLink
{
public:
    explicit ProtocoleLink(QProtocole& protocole) : m_protocole(protocole) {}

    bool IsFree() const override;
    bool Connected() const override;
    unsigned char CmdRequest(char letter, char subLetter, const QString& payload, unsigned int resultId,
                             unsigned int timeoutMs) override;
    unsigned char CmdRequestQueued(char letter, char subLetter, const QString& payload, unsigned int resultId,
                                   unsigned int timeoutMs) override;
    unsigned char CmdAnswer(bool* isOk, char* status, QString* text) override;
    void PollingSet(bool wanted) override;
    bool CmdWaitFree(unsigned int maxMs) override;
    bool CmdWaitAnswer(unsigned int maxMs) override;

private:
    QProtocole& m_protocole;
};

#endif // READERLINK_H
