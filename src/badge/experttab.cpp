#include "badge/experttab.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "badge/accessrights.h"
#include "badge/badgelog.h"
#include "badge/trailerbits.h"
#include "commun/formwidget.h"
#include "commun/vrltoolbox.h"
#include "link/argids.h"
#include "link/readerlink.h"
#include "link/resultrouter.h"

namespace {
const char* const DEFAULT_KEY = "0x5A 0x17 0xC3 0x88 0x2E 0x91";

bool FreezeAsk(QWidget* parent)
{
    return QMessageBox::warning(parent, QCoreApplication::translate("ExpertTab", "Attention"),
                                QCoreApplication::translate(
                                    "ExpertTab", "Ces conditions d'accès figent le secteur : ses conditions "
                                                 "d'accès ne pourront plus jamais être modifiées.\n"
                                                 "Ecrire le trailer ?"),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool BlockZeroAsk(QWidget* parent)
{
    return QMessageBox::warning(
               parent, QCoreApplication::translate("ExpertTab", "Attention"),
               QCoreApplication::translate("ExpertTab",
                                           "Le bloc 0 est le bloc constructeur : il est en lecture seule "
                                           "sur une carte d'origine, et l'écrire peut rendre le support "
                                           "inutilisable.\nEcrire le bloc 0 ?"),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
} // namespace

ExpertTab::ExpertTab(QWidget* form, ReaderLink& link, FreezeConfirm confirm,
                     BlockZeroConfirm blockZeroConfirm)
    : m_link(link),
      m_confirm(confirm ? std::move(confirm) : FreezeConfirm([form] { return FreezeAsk(form); })),
      m_blockZeroConfirm(blockZeroConfirm ? std::move(blockZeroConfirm)
                                          : BlockZeroConfirm([form] { return BlockZeroAsk(form); })),
      m_blockNumber(FormWidget<QLineEdit>(form, "SAI_BlockNumber")),
      m_readerSnd(FormWidget<QLineEdit>(form, "SAI_ReaderSnd")),
      m_readerRcv(FormWidget<QLineEdit>(form, "SAI_ReaderRcv")),
      m_sector(FormWidget<QLineEdit>(form, "SAI_Sector")), m_keyA(FormWidget<QLineEdit>(form, "SAI_KeyA")),
      m_keyB(FormWidget<QLineEdit>(form, "SAI_KeyB")), m_keyType(FormWidget<QCheckBox>(form, "CKB_KeyType")),
      m_keyToUsed(FormWidget<QLineEdit>(form, "SAI_KeyToUsed")),
      m_trailerResult(FormWidget<QLineEdit>(form, "SAI_TrailerReadResult")),
      m_securiteResult(FormWidget<QLineEdit>(form, "SAI_CeationSecuriteResult")),
      m_accessRights(FormWidget<QLabel>(form, "LAB_AccessRights"))
{
    for (int n = 0; n < 3; ++n) {
        for (int m = 0; m < 4; ++m) {
            const QByteArray name = QStringLiteral("CKB_C%1B%2").arg(n + 1).arg(m).toLatin1();
            m_boxes[n][m] = FormWidget<QCheckBox>(form, name.constData());
            QObject::connect(m_boxes[n][m], &QCheckBox::toggled, &m_boxWatch, [this] { AccessRightsShow(); });
        }
    }
    AccessRightsShow();
}

void ExpertTab::BlockClicked(BlockOperation operation)
{
    m_readerRcv->clear();
    if (!m_link.IsFree())
        return;
    switch (operation) {
    case BlockOperation::Read:
        qCDebug(lcBadge, "READER Cmd Read");
        break;
    case BlockOperation::Write:
        qCDebug(lcBadge, "WRITE Cmd Read");
        break;
    case BlockOperation::Decrement:
        qCDebug(lcBadge, "READER Cmd Decrement");
        break;
    case BlockOperation::Increment:
        qCDebug(lcBadge, "READER Cmd Increment");
        break;
    }
    bool ok = false;
    const int number = m_blockNumber->text().toInt(&ok, 10);
    if (!ok) {
        m_readerSnd->setText(QCoreApplication::translate("ExpertTab", "Erreur->Bloque non défini"));
        return;
    }
    if (operation == BlockOperation::Write && !rawWriteAllowed(number, m_readerSnd->text()))
        return;
    const QString block = m_blockNumber->text();
    const bool keyB = m_keyType->isChecked();
    const QString key = m_keyToUsed->text();
    const QString data = m_readerSnd->text();
    switch (operation) {
    case BlockOperation::Read:
        m_link.Request(ReaderCommands::blockRead(block, keyB, key));
        break;
    case BlockOperation::Write:
        m_link.Request(ReaderCommands::blockWrite(block, keyB, key, data));
        break;
    case BlockOperation::Decrement:
        m_link.Request(ReaderCommands::blockDecrement(block, keyB, key, data));
        break;
    case BlockOperation::Increment:
        m_link.Request(ReaderCommands::blockIncrement(block, keyB, key, data));
        break;
    }
}

bool ExpertTab::rawWriteAllowed(int block, const QString& data)
{
    if (block == 0)
        return m_blockZeroConfirm();
    if (!MifareTrailerBlock(block))
        return true;
    // Access bytes whose inverted copies disagree block the sector for good: never sent.
    quint8 trailer[MIFARE_BLOCK_SIZE];
    const bool read = MifareBlockRead(data, trailer);
    const TrailerAccessDecoded decoded = read ? TrailerAccessDecode(trailer) : TrailerAccessDecoded();
    if (!decoded.consistent) {
        qCDebug(lcBadge, "Ecriture brute du trailer %d refusée", block);
        m_readerRcv->setText(
            QCoreApplication::translate("ExpertTab", "Erreur->Conditions d'accès invalides"));
        return false;
    }
    return !TrailerAccessFreezes(decoded.access) || m_confirm();
}

bool ExpertTab::sectorNumber(quint32* sector)
{
    bool ok = false;
    const int number = m_sector->text().toInt(&ok, 10);
    if (!ok) {
        m_trailerResult->setText(QCoreApplication::translate("ExpertTab", "Erreur->Sector non défini"));
        return false;
    }
    // A negative sector wraps as the reader has always received it.
    *sector = quint32(number);
    return true;
}

void ExpertTab::TrailerReadClicked()
{
    m_trailerResult->clear();
    if (!m_link.IsFree())
        return;
    qCDebug(lcBadge, "READER Cmd TRAILLER Read");
    quint32 sector = 0;
    if (!sectorNumber(&sector))
        return;
    m_link.Request(ReaderCommands::trailerRead(sector, m_keyType->isChecked(), m_keyToUsed->text()));
}

void ExpertTab::TrailerWriteClicked()
{
    m_trailerResult->clear();
    if (!m_link.IsFree())
        return;
    qCDebug(lcBadge, "READER Cmd TRAILLER Write");
    quint32 sector = 0;
    if (!sectorNumber(&sector))
        return;
    const TrailerAccess access = AccessFromBoxes();
    if (TrailerAccessFreezes(access) && !m_confirm())
        return;
    const std::array<quint8, TRAILER_ACCESS_SIZE> bytes = TrailerAccessBytes(access);
    m_link.Request(
        ReaderCommands::trailerWrite(sector, m_keyType->isChecked(), m_keyToUsed->text(), m_keyA->text(),
                                     TrailerBytesText(bytes.data(), TRAILER_ACCESS_SIZE), m_keyB->text()));
}

void ExpertTab::TrailerDefaultClicked()
{
    m_keyToUsed->setText(QLatin1String(DEFAULT_KEY));
    m_keyA->setText(QLatin1String(DEFAULT_KEY));
    m_keyB->setText(QLatin1String(DEFAULT_KEY));
}

void ExpertTab::BadgeFormatClicked()
{
    if (!m_link.IsFree())
        return;
    m_securiteResult->setText(QCoreApplication::translate("ExpertTab", "Formatage ..."));
    m_link.Request(ReaderCommands::badgeFormat());
}

void ExpertTab::BlockResult()
{
    qCDebug(lcBadge, "ARG_COUPLEUR READ RESULT");
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected && answer.isOk)
        m_readerRcv->setText(answer.text);
}

void ExpertTab::TrailerWriteResult()
{
    qCDebug(lcBadge, "ARG_COUPLEUR READ RESULT");
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected && answer.isOk)
        m_trailerResult->setText(answer.text);
}

void ExpertTab::TrailerReadResult()
{
    qCDebug(lcBadge, "ARG_COUPLEUR READ RESULT");
    const ReaderAnswer answer = m_link.Answer();
    if (!answer.collected || !answer.isOk)
        return;
    m_trailerResult->setText(answer.text);
    if (answer.status != '0')
        return;
    quint8 trailer[MIFARE_BLOCK_SIZE];
    VRLTBSTR_HexToBytes(answer.text.toLatin1().constData(), trailer, MIFARE_BLOCK_SIZE);
    qCDebug(lcBadge, "ARG_COUPLEUR READ CMD **%x %x %x****", trailer[7], trailer[8], trailer[9]);
    AccessToBoxes(TrailerAccessFromTrailer(trailer));
    m_keyA->setText(TrailerBytesText(trailer, MIFARE_KEY_SIZE));
    m_keyB->setText(TrailerBytesText(trailer + TRAILER_KEY_B_OFFSET, MIFARE_KEY_SIZE));
}

void ExpertTab::FormatResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected)
        m_securiteResult->setText(
            answer.Pick(QCoreApplication::translate("ExpertTab", "Formatage->CMD ECHEC"),
                        QCoreApplication::translate("ExpertTab", "Formatage->OK"),
                        QCoreApplication::translate("ExpertTab", "Formatage->ECHEC(Sector=") + answer.text +
                            QLatin1Char(')')));
}

void ExpertTab::RegisterResults(ResultRouter& router)
{
    router.Register(ARG_COUPLEUR_BLOCK_RESULT, [this](const QString&) { BlockResult(); });
    router.Register(ARG_COUPLEUR_TRAILER_WRITE_RESULT, [this](const QString&) { TrailerWriteResult(); });
    router.Register(ARG_COUPLEUR_TRAILER_READ_RESULT, [this](const QString&) { TrailerReadResult(); });
    router.Register(ARG_BADGE_FORMAT_RESULT, [this](const QString&) { FormatResult(); });
}

TrailerAccess ExpertTab::AccessFromBoxes() const
{
    TrailerAccess access;
    for (int n = 0; n < 3; ++n) {
        for (int m = 0; m < 4; ++m)
            access.Bits[n][m] = m_boxes[n][m]->isChecked();
    }
    return access;
}

void ExpertTab::AccessToBoxes(const TrailerAccess& access)
{
    for (int n = 0; n < 3; ++n) {
        for (int m = 0; m < 4; ++m)
            m_boxes[n][m]->setChecked(access.Bits[n][m]);
    }
    AccessRightsShow();
}

void ExpertTab::AccessRightsShow()
{
    m_accessRights->setText(AccessRightsText(AccessFromBoxes()));
}
