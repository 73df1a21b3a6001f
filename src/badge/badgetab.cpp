#include "badge/badgetab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

#include "badge/badgelog.h"
#include "badge/supportstatus.h"
#include "commun/formwidget.h"
#include "link/argids.h"
#include "link/qprotocole.h"
#include "link/readerlink.h"
#include "link/resultrouter.h"

namespace {
// Read time-outs after an insertion: a create-mode read is only a look at a badge that is not blank.
constexpr unsigned int READ_MODE_READ_MS = 4000;
constexpr unsigned int CREATE_MODE_READ_MS = 2000;
} // namespace

QString BadgeRecordTooLongText(const QString& operation)
{
    return operation + QCoreApplication::translate("BadgeTab", "->ECHEC(enregistrement trop long)");
}

QString BadgeAmountInvalidText(const QString& operation)
{
    return operation + QCoreApplication::translate("BadgeTab", "->ECHEC(montant invalide)");
}

BadgeTab::BadgeTab(QWidget* form, ReaderLink& link, const QTreeWidget* settings, const CZONE* zones,
                   const QList<CGROUP*>* groups)
    : m_link(link), m_form(form, settings, zones, groups),
      m_profil(FormWidget<QComboBox>(form, "COMBO_Profil")),
      m_creationForce(FormWidget<QCheckBox>(form, "CKB_CreationForce")),
      m_read(FormWidget<QPushButton>(form, "BTN_BadgeRead")),
      m_create(FormWidget<QPushButton>(form, "BTN_BadgeCreate")),
      m_protocoleStatus(FormWidget<QLineEdit>(form, "SAI_ProtocoleStatus")),
      m_supportStatus(FormWidget<QLineEdit>(form, "SAI_SupportStatus"))
{
}

void BadgeTab::BadgeReadClicked()
{
    m_create->setChecked(false);
    BadgeMode = MODE_READ;
    m_link.PollingSet(false);
    if (m_read->isChecked()) {
        m_form.Clear();
        m_link.PollingSet(true);
        m_profil->blockSignals(true);
    }
}

void BadgeTab::BadgeCreateClicked()
{
    m_read->setChecked(false);
    m_link.PollingSet(false);
    BadgeMode = MODE_CREATE;
    if (m_create->isChecked()) {
        m_form.CreationDefaultsLoad();
        m_profil->blockSignals(false);
        m_link.PollingSet(true);
    }
    m_supportStatus->setText(
        QCoreApplication::translate("BadgeTab", "Insérez un support (cartes, clés ...)"));
    qCDebug(lcBadge, "BadgeCreateClicked");
}

void BadgeTab::PollingResume()
{
    if (m_read->isChecked() || m_create->isChecked())
        return;
    (BadgeMode == MODE_CREATE ? m_create : m_read)->setChecked(true);
    // As a click leaves it: the chooser speaks only in create mode.
    m_profil->blockSignals(BadgeMode != MODE_CREATE);
    m_link.PollingSet(true);
}

void BadgeTab::ProfilChanged(int index)
{
    m_form.ProfileShow(index);
}

void BadgeTab::BadgeWriteClicked()
{
    QString record;
    // A badge written without a counter the operator filled in would be wrong, unseen.
    if (!m_form.RecordBuild(&record)) {
        m_protocoleStatus->setText(
            BadgeAmountInvalidText(QCoreApplication::translate("BadgeTab", "Ecriture ")));
        return;
    }
    if (!m_link.IsFree())
        return;
    if (m_link.Request(ReaderCommands::badgeWrite(record)) == QProtocole::CMD_TOO_LONG)
        m_protocoleStatus->setText(
            BadgeRecordTooLongText(QCoreApplication::translate("BadgeTab", "Ecriture ")));
}

void BadgeTab::readRequest(unsigned int timeoutMs)
{
    qCDebug(lcBadge, "LECTURE DU BADGE ...");
    m_protocoleStatus->setText(QCoreApplication::translate("BadgeTab", "Lecture ..."));
    // Queued: the poller may hold the slot right now, and this read must not be lost.
    m_link.RequestQueued(ReaderCommands::badgeRead(timeoutMs));
}

void BadgeTab::createRequest()
{
    QString record;
    if (!m_form.RecordBuild(&record)) {
        qCDebug(lcBadge, "Création refusée : montant invalide");
        m_protocoleStatus->setText(
            BadgeAmountInvalidText(QCoreApplication::translate("BadgeTab", "Création")));
        return;
    }
    qCDebug(lcBadge, "COMDATAPROCESS: Demande de créer le badge");
    m_protocoleStatus->setText(QCoreApplication::translate("BadgeTab", "Création ..."));
    if (m_link.RequestQueued(ReaderCommands::badgeCreate(record)) == QProtocole::CMD_TOO_LONG)
        m_protocoleStatus->setText(
            BadgeRecordTooLongText(QCoreApplication::translate("BadgeTab", "Création")));
}

void BadgeTab::SupportInserted(const QString& s)
{
    m_form.RecordDisplay(s);
    const SupportStatus status = SupportStatusDecode(s);
    if (!status.inserted)
        return;
    if (status.trace)
        qCDebug(lcBadge, "%s", status.trace);
    if (!status.text.isEmpty())
        m_supportStatus->setText(status.text);

    if (BadgeMode == MODE_READ) {
        if (status.readable) {
            m_form.Clear();
            readRequest(READ_MODE_READ_MS);
        }
    } else if (BadgeMode == MODE_CREATE) {
        if (m_creationForce->isChecked() || status.creatable) {
            createRequest();
        } else {
            m_form.Clear();
            readRequest(CREATE_MODE_READ_MS);
        }
    }
}

void BadgeTab::SupportRemoved()
{
    m_supportStatus->setText(QCoreApplication::translate("BadgeTab", "Aucun Support"));
    qCDebug(lcBadge, "Support Retiré");
}

void BadgeTab::CreateResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (!answer.collected)
        return;
    m_protocoleStatus->setText(answer.Pick(QCoreApplication::translate("BadgeTab", "Création->CMD ERREUR"),
                                           QCoreApplication::translate("BadgeTab", "Création->OK"),
                                           QCoreApplication::translate("BadgeTab", "Création->ECHEC")));
    if (answer.Succeeded() && m_creationForce->isChecked())
        m_form.UserNumberIncrement();
}

void BadgeTab::ReadResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (!answer.collected)
        return;
    if (answer.Succeeded()) {
        qCDebug(lcBadge, "Lecture:***%s***", answer.text.toLatin1().constData());
        m_form.ZoneLabelsClear();
        m_form.RecordDisplay(answer.text);
    }
    m_protocoleStatus->setText(answer.Pick(QCoreApplication::translate("BadgeTab", "Lecture->CMD ERREUR"),
                                           QCoreApplication::translate("BadgeTab", "Lecture->OK"),
                                           QCoreApplication::translate("BadgeTab", "Lecture->ECHEC")));
}

void BadgeTab::WriteResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected)
        m_protocoleStatus->setText(answer.Pick(QCoreApplication::translate("BadgeTab", "Ecriture ->Echec"),
                                               QCoreApplication::translate("BadgeTab", "Ecriture ->OK"),
                                               QCoreApplication::translate("BadgeTab", "Ecriture ->ECHEC")));
}

void BadgeTab::PollingTimeout()
{
    m_create->setChecked(false);
    m_read->setChecked(false);
    m_protocoleStatus->setText(QCoreApplication::translate("BadgeTab", "Statut timeout"));
}

void BadgeTab::RegisterResults(ResultRouter& router)
{
    router.Register(ARG_SUPPORT_INSERTED, [this](const QString& s) { SupportInserted(s); });
    router.Register(ARG_SUPPORT_REMOVED, [this](const QString&) { SupportRemoved(); });
    router.Register(ARG_BADGE_CREATE_RESULT, [this](const QString&) { CreateResult(); });
    router.Register(ARG_BADGE_READ_RESULT, [this](const QString&) { ReadResult(); });
    router.Register(ARG_BADGE_WRITE_RESULT, [this](const QString&) { WriteResult(); });
    router.Register(ARG_POLLING_TIMEOUT, [this](const QString&) { PollingTimeout(); });
}
