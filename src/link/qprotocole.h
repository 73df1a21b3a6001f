#ifndef QPROTOCOLE_H
#define QPROTOCOLE_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "link/argids.h"
#include "link/commands.h"
#include "link/commandslot.h"
#include "link/framereceiver.h"
#include "link/poller.h"
#include "link/portwait.h"

class QSerialPort;

// The program's only way to the badge reader. run() is the worker loop: it
// opens and closes the port on request, moves frames, completes one command
// at a time through the command slot and polls the reader while asked to.
// It reaches the window only through its three signals (queued calls).
class QProtocole : public QThread
{
    Q_OBJECT

public:
    // Results of CmdRequest, PutValueRequest and CmdRequestQueued.
    enum CmdResult : unsigned char
    {
        CMD_SUBMITTED = 0, // the command is in the slot (or queued)
        CMD_BUSY = 1,      // the slot was taken: nothing was sent
        CMD_TOO_LONG = 2,  // payload over 999 bytes once encoded: nothing was sent
    };
    // Results of CmdAnswer.
    enum CmdAnswerResult : unsigned char
    {
        ANSWER_PENDING = 0,
        ANSWER_ENDED = 1,
    };
    static constexpr int MaxPayload = Frame::MaxPayload;

    // What SetConnectionRequest asks of the worker.
    enum ConnectionRequestCode : quint8
    {
        CONNECTION_NONE = 0,
        CONNECTION_OPEN = 1,
        CONNECTION_CLOSE = 2,
    };

    explicit QProtocole(QObject* parent = nullptr);
    // Stop(), then the members go.
    ~QProtocole() override;

    // Ends the worker loop cooperatively (a frame being sent is cut short)
    // and waits for it; the loop closes and deletes the port on its way out.
    // Final: the link cannot be started again.
    void Stop();

    // Claims the slot and submits in one atomic step; refuses when busy.
    unsigned char CmdRequest(char letter, char subLetter, QString payload, unsigned int resultId,
                             unsigned int timeoutMs);
    unsigned char CmdRequest(const ReaderCommand& cmd);
    // Shorthand for CmdRequest(ReaderCommands::putValue(key, value, resultId)).
    unsigned char PutValueRequest(QString key, QString value, unsigned int resultId);
    // ANSWER_PENDING while the command is pending; ANSWER_ENDED once it has ended:
    // fills the outcome, frees the slot.
    unsigned char CmdAnswer(bool* isOk, char* status, QString* text);

    // For steps that must not be lost (a chain's next request, the read that
    // follows an insertion): submitted now when the slot is free, otherwise
    // queued and submitted by the worker as soon as the slot frees, before
    // the next poll. Returns CMD_SUBMITTED or CMD_TOO_LONG.
    unsigned char CmdRequestQueued(char letter, char subLetter, QString payload, unsigned int resultId,
                                   unsigned int timeoutMs);
    unsigned char CmdRequestQueued(const ReaderCommand& cmd);
    unsigned char PutValueRequestQueued(QString key, QString value, unsigned int resultId);

    // Blocking waits for the synchronous pattern (clock update), bounded.
    // True once the slot is free / the command in the slot has ended.
    bool CmdWaitFree(unsigned int maxMs);
    bool CmdWaitAnswer(unsigned int maxMs);

    void SetPortName(const QString& name);
    QString PortName() const;

    // Same as writing ConnectionRequest / PollingWanted, but the worker
    // reacts at once instead of at its next idle check (within 100 ms).
    void SetConnectionRequest(quint8 request);
    void SetPollingWanted(bool wanted);

    // Copies a text into buf one byte per character (from 256 up: 0) and
    // adds a NUL; buf must hold the text's length plus one.
    static char* QStringToChar(QString* text, char* buf);

    // Frame trace: called from the worker thread with every frame sent and
    // every frame received (complete or broken). Empty function: no trace.
    enum class FrameDirection
    {
        Sent,
        Received
    };
    using FrameTrace = std::function<void(FrameDirection, const QByteArray&)>;
    void SetFrameTrace(FrameTrace trace);

    // Turns of the worker loop so far: lets a test see that a dead line
    // does not keep the worker spinning.
    quint64 LoopTurns() const { return m_loopTurns; }

    // The command slot's flags, shared by the GUI thread and the worker.
    using CommandFlags = CommandSlot::Flags;
    CommandFlags Cmd;

    std::atomic<quint8> ConnectionRequest{CONNECTION_NONE};
    std::atomic<bool> Connected{false};
    std::atomic<bool> PollingWanted{false};

signals:
    void SIG_Debug(QString s);
    void SIG_ComStatus(QString s);
    void SIG_Data(unsigned int Id, unsigned int Arg1, QString s);
    // The open port went away; sent after everything else the loss reports, so
    // a listener sees the link closed and polling stopped. wasPolling: polling
    // was wanted when it went.
    void SIG_PortLost(QString port, bool wasPolling);

public slots:
    void On_ReadyRead();

protected:
    void run() override;

private:
    enum LinkState : quint8
    {
        Listen = 0,
        Send = 1,
        Receive = 2
    };

    void ControlLow();
    void ControlAnswer();

    void handleConnectionRequest();
    void openPort();
    void closePort();
    // The device went away under an open port: close it, tell the window,
    // fail the command in the slot and stop polling.
    void losePort();
    // Clears the port's error; a resource error means the device is gone.
    void checkPortError();
    // Claims the slot for the command; a busy slot queues it or refuses it.
    unsigned char Submit(char letter, char subLetter, const QString& payload, unsigned int resultId,
                         unsigned int timeoutMs, bool queueWhenBusy);
    void failPendingCommand();
    void sendFrame();
    void receiveBytes();
    // Waits for input on the port or a wake-up, at most maxMs.
    void waitForInput(int maxMs);
    int idleWaitMs() const;
    void wake();
    void trace(FrameDirection direction, const QByteArray& frame);
    void logReceived(FrameReceiver::Event event);

    // Worker thread only.
    QSerialPort* m_port = nullptr;
    QString m_openName;
    bool m_lost = false;
    quint8 m_linkState = Listen;
    FrameReceiver m_receiver;
    QElapsedTimer m_byteTimer;
    Poller m_poller;

    // The command in flight; its notify() wakes the bounded waits and the
    // idle worker.
    CommandSlot m_slot{Cmd};

    std::atomic<bool> m_stop{false};
    std::atomic<quint64> m_loopTurns{0};
    PortWait m_wait;

    mutable std::mutex m_portNameMutex;
    QString m_portName;

    std::mutex m_traceMutex;
    std::shared_ptr<const FrameTrace> m_trace;
};

#endif // QPROTOCOLE_H
