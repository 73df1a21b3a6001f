#ifndef PARAMETERTRANSFER_H
#define PARAMETERTRANSFER_H

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include "transfer/commandchain.h"

class ParameterTree;
class QTreeWidgetItem;
class ResultRouter;

// Reading the reader's whole parameter set into the tree ("Lire") and writing
// the modified rows back, then committing each written object ("Ecrire").
// The window's result router calls the three result branches.
class ParameterTransfer : public CommandChain
{
    Q_OBJECT

public:
    ParameterTransfer(ParameterTree* params, ReaderLink& link, ChainGuard& guard, QObject* parent = nullptr);

    // Both refuse (false, busy status) while a chain runs on the link.
    bool ReadAll();
    bool WriteModified();

    void ConfigGetResult();     // ARG_CONFIG_GET_RESULT
    void ConfigPutResult();     // ARG_CONFIG_PUT_RESULT
    void ConfigPutSaveResult(); // ARG_CONFIG_PUT_SAVE_RESULT
    // Registers the three branches above.
    void RegisterResults(ResultRouter& router);

    // The rows a write sends: parameter rows whose text in `column` is not
    // "0", in tree order, for `item` and everything below it.
    static void TreeToDoSave(QTreeWidgetItem* item, QList<QTreeWidgetItem*>* list, quint8 column);

signals:
    // A complete read: the window enables "Ecrire" and "Sauvegarder".
    void SIG_ReadComplete();

private:
    enum class Phase
    {
        Reading,
        Writing,
        Committing
    };

    bool ToDoFirst();
    bool Collected(Phase expected, bool* isOk, char* code, QString* text);
    void CommitNext();

    ParameterTree* m_params;
    Phase m_phase = Phase::Reading;

    QList<QTreeWidgetItem*> ToDoList;
    int ToDoIndex = 0;
    QTreeWidgetItem* ToDoCurrent = nullptr;
    QString ObjetToSave;
    int SaveIndex = 0;
    QElapsedTimer LoadTimer;
};

#endif // PARAMETERTRANSFER_H
