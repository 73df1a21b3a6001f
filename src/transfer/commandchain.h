#ifndef COMMANDCHAIN_H
#define COMMANDCHAIN_H

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include "link/commands.h"

class ChainGuard;
class ReaderLink;

// The shape shared by the transfers that move many elements over the link:
// one request in flight, the next one sent from the previous result, status
// texts, a progress count. Steps go through CmdRequestQueued, so a step that
// meets a slot taken by the poller is sent as soon as the slot frees instead
// of being dropped. Only one chain may run on a link at a time (the guard); a
// second start is refused with a visible status. Subclasses supply the steps
// and texts and offer one handler per result identifier for the result router.
// The chain keeps its own status text and tells it through SIG_Status, so what
// others write on the same status line never leaks into its texts.
class CommandChain : public QObject
{
    Q_OBJECT

public:
    CommandChain(ReaderLink& link, ChainGuard& guard, QObject* parent = nullptr);
    ~CommandChain() override;

    bool IsRunning() const { return m_running; }
    int Done() const { return m_done; }
    // -1 while the number of elements is not known.
    int Total() const { return m_total; }
    // The last status this chain gave.
    QString Status() const { return m_status; }

    // Ends a running chain at once, for instance when the link closes;
    // a late result of its last step is then collected and ignored.
    void Abort(const QString& text);

    static QString BusyText()
    {
        return QCoreApplication::translate("CommandChain", "Transfert déjà en cours, patientez");
    }

signals:
    void SIG_Status(QString text);
    void SIG_Progress(int done, int total);
    void SIG_Running(bool running);

protected:
    // Claims the link; false (and the busy status) when a chain already runs on it.
    // An empty text leaves the status line as it is.
    bool Begin(const QString& text, int total);
    // Now, or as soon as the slot frees. False when the link refuses the step.
    bool Send(const ReaderCommand& command);
    // Collects the outcome of this chain's step and frees the slot. False when
    // the answer is not there yet or this chain is not running.
    bool Collect(bool* isOk, char* status, QString* text);
    void StatusSet(const QString& text);
    // Tells the operator a chain already runs.
    void BusyShow();
    void TotalSet(int total);
    void StepDone();
    // Back to idle with a final status.
    void Finish(const QString& text);

    ReaderLink& Link() const { return m_link; }

private:
    void ProgressEmit();

    ReaderLink& m_link;
    ChainGuard& m_guard;
    QString m_status;
    bool m_running = false;
    int m_done = 0;
    int m_total = -1;
};

#endif // COMMANDCHAIN_H
