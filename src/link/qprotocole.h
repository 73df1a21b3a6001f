#ifndef QPROTOCOLE_H
#define QPROTOCOLE_H

#include <QString>
#include <QThread>

#include <atomic>
#include <mutex>

#include "link/argids.h"

// The program's only way to the badge reader. run() is the worker loop: it
// opens and closes the port on request, moves frames, completes one command
// at a time through the command slot and polls the reader while asked to.
// It reaches the window only through its three signals (queued calls).
class QProtocole : public QThread
{
    Q_OBJECT

public:
    // Results of CmdRequest, PutValueRequest and CmdRequestQueued.
    enum : unsigned char {
        CMD_SUBMITTED = 0, // the command is in the slot (or queued)
        CMD_BUSY = 1,      // the slot was taken: nothing was sent
        CMD_TOO_LONG = 2,  // payload over 999 bytes once encoded: nothing was sent
    };
    static constexpr int MaxPayload = 999;

    explicit QProtocole(QObject* parent = nullptr);
    ~QProtocole() override;

    // Claims the slot and submits in one atomic step; refuses when busy.
    unsigned char CmdRequest(char letter, char subLetter, QString payload, unsigned int resultId,
                             unsigned int timeoutMs);
    // "V"/"P" key=value, 4000 ms.
    unsigned char PutValueRequest(QString key, QString value, unsigned int resultId);
    // 0 while the command is pending; 1 once ended: fills the outcome, frees the slot.
    unsigned char CmdAnswer(bool* isOk, char* status, QString* text);

    // For steps that must not be lost (a chain's next request, the read that
    // follows an insertion): submitted now when the slot is free, otherwise
    // queued and submitted by the worker as soon as the slot frees, before
    // the next poll. Returns CMD_SUBMITTED or CMD_TOO_LONG.
    unsigned char CmdRequestQueued(char letter, char subLetter, QString payload, unsigned int resultId,
                                   unsigned int timeoutMs);
    unsigned char PutValueRequestQueued(QString key, QString value, unsigned int resultId);

    // Blocking waits for the synchronous pattern (clock update), bounded.
    bool CmdWaitFree(unsigned int maxMs);
    bool CmdWaitAnswer(unsigned int maxMs);

    void SetPortName(const QString& name);
    QString PortName() const;

    // The command slot's flags, shared by the GUI thread and the worker.
    struct CommandFlags
    {
        std::atomic<bool> IsFree{true};
        std::atomic<bool> IsPending{false};
        std::atomic<bool> IsOk{false};
    } Cmd;

    std::atomic<quint8> ConnectionRequest{0}; // 0 none, 1 open, 2 close
    std::atomic<bool> Connected{false};
    std::atomic<bool> PollingWanted{false};

signals:
    void SIG_Debug(QString s);
    void SIG_ComStatus(QString s);
    void SIG_Data(unsigned int Id, unsigned int Arg1, QString s);

public slots:
    void On_ReadyRead();

protected:
    void run() override;

private:
    mutable std::mutex m_portNameMutex;
    QString m_portName;
};

#endif // QPROTOCOLE_H
