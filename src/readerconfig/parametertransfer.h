#ifndef PARAMETERTRANSFER_H
#define PARAMETERTRANSFER_H

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

class ParameterTree;
class QProgressBar;
class QProtocole;
class QTreeWidgetItem;

// Reading the reader's whole parameter set into the tree ("Lire") and writing
// the modified rows back, then committing each written object ("Ecrire").
// Both are chains: one request in flight, the next sent from the previous
// result. The window's result dispatcher calls the three result branches.
class ParameterTransfer : public QObject
{
    Q_OBJECT

public:
    ParameterTransfer(ParameterTree* params, QProtocole* link, QObject* parent = nullptr);

    // Both refuse (false, busy status) while a chain runs.
    bool ReadAll();
    bool WriteModified();

    void ConfigGetResult();     // ARG_CONFIG_GET_RESULT
    void ConfigPutResult();     // ARG_CONFIG_PUT_RESULT
    void ConfigPutSaveResult(); // ARG_CONFIG_PUT_SAVE_RESULT

    bool IsRunning() const { return m_phase != Phase::Idle; }
    int Done() const { return m_done; }
    int Total() const { return m_total; }

    // The bar follows the progress while a chain runs and is hidden otherwise.
    void ProgressBarAttach(QProgressBar* bar);

    static QString BusyText() { return QStringLiteral("Transfert déjà en cours, patientez"); }

    // The rows a write sends: parameter rows whose Modifié text is not "0",
    // in tree order, for `item` and everything below it.
    static void TreeToDoSave(QTreeWidgetItem* item, QList<QTreeWidgetItem*>* list, quint8 column);

signals:
    // A complete read: the window enables "Ecrire" and "Sauvegarder".
    void SIG_ReadComplete();
    void SIG_Progress(int done, int total);
    void SIG_Running(bool running);

private:
    enum class Phase
    {
        Idle,
        Reading,
        Writing,
        Committing
    };

    bool ToDoFirst();
    bool Collect(Phase expected, bool* isOk, char* code, QString* text);
    bool ReadSend();
    bool WriteSend();
    bool CommitSend(const QString& object);
    void Begin(Phase phase, int total);
    void StepDone();
    void Finish();
    void StatusSet(const QString& text);
    void StatusAppend(const QString& suffix);

    ParameterTree* m_params;
    QProtocole* m_link;
    Phase m_phase = Phase::Idle;
    int m_done = 0;
    int m_total = 0;

    QList<QTreeWidgetItem*> ToDoList;
    int ToDoIndex = 0;
    QTreeWidgetItem* ToDoCurrent = nullptr;
    QString ObjetToSave;
    int SaveIndex = 0;
    QElapsedTimer LoadTimer;
};

#endif // PARAMETERTRANSFER_H
