#ifndef BADGETAB_H
#define BADGETAB_H

#include <QList>
#include <QString>

#include "badge/badgeform.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class ReaderLink;
class ResultRouter;

// The "Clé/Carte" tab: its read and create modes, the writes, and the result
// branches of the badge commands. The form's fields belong to BadgeForm.
class BadgeTab
{
public:
    enum Mode : int
    {
        MODE_READ = 0,  // each support presented is read
        MODE_CREATE = 1 // each blank support presented is written from the form
    };

    BadgeTab(QWidget* form, ReaderLink& link, const QTreeWidget* settings, const CZONE* zones,
             const QList<CGROUP*>* groups);

    BadgeForm& Form() { return m_form; }

    // Behind the tab's buttons and profile chooser.
    void BadgeReadClicked();
    void BadgeCreateClicked();
    void ProfilChanged(int index);
    void BadgeWriteClicked();
    // After a lost port is back: polling again in the tab's mode, unless the operator
    // has restarted it. Nothing typed is cleared and no default reloaded.
    void PollingResume();

    // Result branches.
    void SupportInserted(const QString& s);
    void SupportRemoved();
    void CreateResult();
    void ReadResult();
    void WriteResult();
    void PollingTimeout();

    // Registers the branches above under their result identifiers.
    void RegisterResults(ResultRouter& router);

    int BadgeMode = MODE_READ;

private:
    void readRequest(unsigned int timeoutMs);
    void createRequest();

    ReaderLink& m_link;
    BadgeForm m_form;
    QComboBox* m_profil;
    QCheckBox* m_creationForce;
    QPushButton* m_read;
    QPushButton* m_create;
    QLineEdit* m_protocoleStatus;
    QLineEdit* m_supportStatus;
};

// The status shown when the link refuses a record over its payload limit.
QString BadgeRecordTooLongText(const QString& operation);
// The status shown when a counter's amount does not convert and nothing is sent.
QString BadgeAmountInvalidText(const QString& operation);

#endif // BADGETAB_H
