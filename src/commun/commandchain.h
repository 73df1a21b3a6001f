#ifndef COMMANDCHAIN_H
#define COMMANDCHAIN_H

#include <QObject>
#include <QString>

#include "link/commands.h"

class QLineEdit;
class QProgressBar;
class QProtocole;

// The shape shared by the transfers that move many elements over the link:
// one request in flight, the next one sent from the previous result, status
// texts, a progress count. Steps go through CmdRequestQueued, so a step that
// meets a slot taken by the poller is sent as soon as the slot frees instead
// of being dropped. Only one chain may run on a link at a time; a second start
// is refused with a visible status. Subclasses supply the steps and texts and
// offer one handler per result identifier for the window's result router.
class CommandChain : public QObject
{
    Q_OBJECT

public:
    CommandChain(QProtocole* link, QLineEdit* status, QObject* parent = nullptr);
    ~CommandChain() override;

    bool IsRunning() const { return m_running; }
    int Done() const { return m_done; }
    // -1 while the number of elements is not known.
    int Total() const { return m_total; }

    // Ends a running chain at once, for instance when the link closes;
    // a late result of its last step is then collected and ignored.
    void Abort(const QString& text);
    // bar follows the progress while a chain runs and is hidden when idle.
    void ProgressBarAttach(QProgressBar* bar);

    static QString BusyText() { return QStringLiteral("Transfert déjà en cours, patientez"); }

signals:
    void SIG_Status(QString text);
    void SIG_Progress(int done, int total);
    void SIG_Running(bool running);

protected:
    // Claims the link; false (and the busy status) when a chain already runs on it.
    bool Begin(const QString& text, int total);
    // Now, or as soon as the slot frees. False when the link refuses the step.
    bool Send(const ReaderCommand& command);
    // Collects the outcome of this chain's step and frees the slot. False when
    // the answer is not there yet or this chain is not running.
    bool Collect(bool* isOk, char* status, QString* text);
    void StatusSet(const QString& text);
    void TotalSet(int total);
    void StepDone();
    // Back to idle with a final status.
    void Finish(const QString& text);

    QProtocole* Link() const { return m_link; }

private:
    void ProgressEmit();

    QProtocole* m_link;
    QLineEdit* m_status;
    bool m_running = false;
    int m_done = 0;
    int m_total = -1;
};

#endif // COMMANDCHAIN_H
