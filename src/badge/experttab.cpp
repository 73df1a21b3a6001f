#include "badge/experttab.h"

#include <QCheckBox>
#include <QLineEdit>

#include "badge/formwidget.h"
#include "badge/readerlink.h"
#include "badge/resultrouter.h"
#include "badge/trailerbits.h"
#include "commun/vrltoolbox.h"
#include "link/argids.h"

namespace {
const char* const DEFAULT_KEY = "0x5A 0x17 0xC3 0x88 0x2E 0x91";
} // namespace

ExpertTab::ExpertTab(QWidget* form, ReaderLink& link, FreezeConfirm confirm)
    : m_link(link), m_confirm(std::move(confirm)),
      m_blockNumber(FormWidget<QLineEdit>(form, "SAI_BlockNumber")),
      m_readerSnd(FormWidget<QLineEdit>(form, "SAI_ReaderSnd")),
      m_readerRcv(FormWidget<QLineEdit>(form, "SAI_ReaderRcv")),
      m_sector(FormWidget<QLineEdit>(form, "SAI_Sector")), m_keyA(FormWidget<QLineEdit>(form, "SAI_KeyA")),
      m_keyB(FormWidget<QLineEdit>(form, "SAI_KeyB")), m_keyType(FormWidget<QCheckBox>(form, "CKB_KeyType")),
      m_keyToUsed(FormWidget<QLineEdit>(form, "SAI_KeyToUsed")),
      m_trailerResult(FormWidget<QLineEdit>(form, "SAI_TrailerReadResult")),
      m_securiteResult(FormWidget<QLineEdit>(form, "SAI_CeationSecuriteResult"))
{
    for (int n = 0; n < 3; ++n) {
        for (int m = 0; m < 4; ++m) {
            const QByteArray name = QStringLiteral("CKB_C%1B%2").arg(n + 1).arg(m).toLatin1();
            m_boxes[n][m] = FormWidget<QCheckBox>(form, name.constData());
        }
    }
}

QString ExpertTab::keyFields() const
{
    return (m_keyType->isChecked() ? QStringLiteral("1") : QStringLiteral("0")) + QLatin1Char(';') +
           m_keyToUsed->text();
}

void ExpertTab::BlockClicked(BlockOperation operation)
{
    m_readerRcv->clear();
    if (!m_link.IsFree())
        return;
    switch (operation) {
    case BlockOperation::Read:
        qDebug("READER Cmd Read");
        break;
    case BlockOperation::Write:
        qDebug("WRITE Cmd Read");
        break;
    case BlockOperation::Decrement:
        qDebug("READER Cmd Decrement");
        break;
    case BlockOperation::Increment:
        qDebug("READER Cmd Increment");
        break;
    }
    bool ok = false;
    m_blockNumber->text().toInt(&ok, 10);
    if (!ok) {
        m_readerSnd->setText(QStringLiteral("Erreur->Bloque non défini"));
        return;
    }
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

bool ExpertTab::sectorTrailer(quint32* block)
{
    bool ok = false;
    const int sector = m_sector->text().toInt(&ok, 10);
    if (!ok) {
        m_trailerResult->setText(QStringLiteral("Erreur->Sector non défini"));
        return false;
    }
    // Unsigned on purpose: the builders' int arithmetic would overflow on a
    // large sector, and the reader gets the same 32-bit block it always got.
    *block = quint32(sector) * 4u + 3u;
    return true;
}

void ExpertTab::TrailerReadClicked()
{
    m_trailerResult->clear();
    if (!m_link.IsFree())
        return;
    qDebug("READER Cmd TRAILLER Read");
    quint32 block = 0;
    if (!sectorTrailer(&block))
        return;
    m_link.CmdRequest('R', 'R', QString::number(block) + QLatin1Char(';') + keyFields(),
                      ARG_COUPLEUR_TRAILER_READ_RESULT, 2000);
}

void ExpertTab::TrailerWriteClicked()
{
    m_trailerResult->clear();
    if (!m_link.IsFree())
        return;
    qDebug("READER Cmd TRAILLER Write");
    quint32 block = 0;
    if (!sectorTrailer(&block))
        return;
    const TrailerAccess access = AccessFromBoxes();
    if (TrailerAccessFreezes(access) && !(m_confirm && m_confirm()))
        return;
    const std::array<quint8, 4> bytes = TrailerAccessBytes(access);
    const QString trailer = m_keyA->text() + QLatin1Char(' ') + TrailerBytesText(bytes.data(), 4) +
                            QLatin1Char(' ') + m_keyB->text();
    m_link.CmdRequest('R', 'W',
                      QString::number(block) + QLatin1Char(';') + keyFields() + QLatin1Char(';') + trailer,
                      ARG_COUPLEUR_TRAILER_WRITE_RESULT, 2000);
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
    m_securiteResult->setText(QStringLiteral("Formatage ..."));
    m_link.Request(ReaderCommands::badgeFormat());
}

void ExpertTab::BlockResult()
{
    qDebug("ARG_COUPLEUR READ RESULT");
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected && answer.isOk)
        m_readerRcv->setText(answer.text);
}

void ExpertTab::TrailerWriteResult()
{
    qDebug("ARG_COUPLEUR READ RESULT");
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected && answer.isOk)
        m_trailerResult->setText(answer.text);
}

void ExpertTab::TrailerReadResult()
{
    qDebug("ARG_COUPLEUR READ RESULT");
    const ReaderAnswer answer = m_link.Answer();
    if (!answer.collected || !answer.isOk)
        return;
    m_trailerResult->setText(answer.text);
    if (answer.status != '0')
        return;
    quint8 trailer[16];
    VRLTBSTR_HexToBytes(answer.text.toLatin1().constData(), trailer, 16);
    qDebug("ARG_COUPLEUR READ CMD **%x %x %x****", trailer[7], trailer[8], trailer[9]);
    AccessToBoxes(TrailerAccessFromTrailer(trailer));
    m_keyA->setText(TrailerBytesText(trailer, 6));
    m_keyB->setText(TrailerBytesText(trailer + 10, 6));
}

void ExpertTab::FormatResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected)
        m_securiteResult->setText(
            answer.Pick(QStringLiteral("Formatage->CMD ECHEC"), QStringLiteral("Formatage->OK"),
                        QStringLiteral("Formatage->ECHEC(Sector=") + answer.text + QLatin1Char(')')));
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
}
