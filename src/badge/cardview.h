#ifndef CARDVIEW_H
#define CARDVIEW_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

#include "badge/carddump.h"
#include "badge/carddumpchain.h"
#include "readerconfig/readerconfigtab.h"

class ChainGuard;
class QCheckBox;
class QLineEdit;
class QTableWidget;
class QWidget;
class ReaderLink;
class ResultRouter;

// The whole-card part of the "Expert" tab: read, restore and compare a card, save and
// load its dump, load a key list, and show the card block by block in TABLE_Card.
class CardView : public QObject
{
    Q_OBJECT

public:
    // What asks the operator; replaceable so the flows run without a person at the screen.
    struct Prompts
    {
        FileDialogFunction dialogs;
        // An "Erreur" box with the reason.
        std::function<void(const QString& reason)> error;
        // Asked once before a restore whose trailers would freeze these sectors.
        std::function<bool(const QList<int>& sectors)> freezeConfirm;
    };

    // Prompts left empty ask through dialogs and message boxes parented to form.
    CardView(QWidget* form, ReaderLink& link, ChainGuard& guard, Prompts prompts = {});

    void DumpClicked();
    void CancelClicked() { m_chain.Cancel(); }
    void RestoreClicked();
    void CompareClicked();
    void SaveClicked();
    void LoadClicked();
    void KeyFileLoadClicked();
    void RegisterResults(ResultRouter& router);

    const CardDump& Dump() const { return m_dump; }
    CardDumpChain& Chain() { return m_chain; }

private:
    CardDumpChain::Options options() const;
    bool dumpPresent();
    void chainEnded();
    void tableFill();

    QWidget* m_form;
    Prompts m_prompts;
    CardDumpChain m_chain;
    CardDump m_dump;
    QList<int> m_differences;
    QList<QByteArray> m_fileKeys;
    QLineEdit* m_keyToUsed;
    QCheckBox* m_keyType;
    QCheckBox* m_writeBlock0;
    QLineEdit* m_status;
    QTableWidget* m_table;
};

#endif // CARDVIEW_H
