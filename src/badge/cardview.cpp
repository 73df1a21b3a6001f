#include "badge/cardview.h"

#include <QBrush>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>

#include "badge/accessrights.h"
#include "badge/badgelog.h"
#include "badge/cardkeys.h"
#include "badge/trailerbits.h"
#include "commun/atomicsave.h"
#include "commun/formwidget.h"
#include "link/argids.h"
#include "link/resultrouter.h"
#include "transfer/chainview.h"

namespace {
enum Column
{
    COL_SECTOR,
    COL_BLOCK,
    COL_DATA,
    COL_TEXT,
    COL_RIGHTS,
    COL_KEY,
    COL_DIFF,
    COLUMN_COUNT
};
// A dump file is a few kilobytes; anything far larger is not one and is not read whole.
constexpr qint64 MAX_FILE_SIZE = 1 << 20;
constexpr char FIRST_PRINTABLE = 0x20;
constexpr char LAST_PRINTABLE = 0x7E;
const QColor TRAILER_COLOR(0xE4, 0xEA, 0xF4);
const QColor UNREAD_COLOR(0x90, 0x90, 0x90);
const QColor DIFF_COLOR(0xF8, 0xC8, 0xC0);

QString DumpFilter()
{
    return QCoreApplication::translate("CardView", "Vidages de carte (*.mfd *.bin *.eml *.json)");
}

QString Printable(const QByteArray& block)
{
    QString text;
    for (const char c : block)
        text += c >= FIRST_PRINTABLE && c <= LAST_PRINTABLE ? QLatin1Char(c) : QLatin1Char('.');
    return text;
}

bool FreezeAsk(QWidget* parent, const QList<int>& sectors)
{
    return QMessageBox::warning(parent, QCoreApplication::translate("CardView", "Attention"),
                                QCoreApplication::translate(
                                    "CardView", "Les trailers du vidage figent les secteurs %1 : leurs "
                                                "conditions d'accès ne pourront plus jamais être modifiées.\n"
                                                "Ecrire la carte ?")
                                    .arg(CardNumberList(sectors)),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

CardView::Prompts PromptsOrDefault(QWidget* form, CardView::Prompts prompts)
{
    if (!prompts.dialogs)
        prompts.dialogs = [form](FileDialogKind kind, const QString& caption, const QString& dir,
                                 const QString& filter) {
            return kind == FileDialogKind::Save ? QFileDialog::getSaveFileName(form, caption, dir, filter)
                                                : QFileDialog::getOpenFileName(form, caption, dir, filter);
        };
    if (!prompts.error)
        prompts.error = [form](const QString& reason) {
            QMessageBox::critical(form, QCoreApplication::translate("CardView", "Erreur"), reason,
                                  QMessageBox::Ok);
        };
    if (!prompts.freezeConfirm)
        prompts.freezeConfirm = [form](const QList<int>& sectors) { return FreezeAsk(form, sectors); };
    return prompts;
}

// The whole file, or an empty array and the reason.
QByteArray FileRead(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    if (file.size() > MAX_FILE_SIZE) {
        *error = QCoreApplication::translate("CardView", "fichier trop grand");
        return {};
    }
    return file.readAll();
}
} // namespace

CardView::CardView(QWidget* form, ReaderLink& link, ChainGuard& guard, Prompts prompts)
    : m_form(form), m_prompts(PromptsOrDefault(form, std::move(prompts))), m_chain(link, guard),
      m_keyToUsed(FormWidget<QLineEdit>(form, "SAI_KeyToUsed")),
      m_keyType(FormWidget<QCheckBox>(form, "CKB_KeyType")),
      m_writeBlock0(FormWidget<QCheckBox>(form, "CKB_CardWriteBlock0")),
      m_status(FormWidget<QLineEdit>(form, "SAI_CardStatus")),
      m_table(FormWidget<QTableWidget>(form, "TABLE_Card"))
{
    ChainViewAttach(&m_chain, m_status, FormWidget<QProgressBar>(form, "PROGRESS_Card"));
    QObject::connect(&m_chain, &CommandChain::SIG_Running, this, [this](bool running) {
        if (!running)
            chainEnded();
    });
    m_table->setColumnCount(COLUMN_COUNT);
    m_table->setHorizontalHeaderLabels(
        {QCoreApplication::translate("CardView", "Secteur"), QCoreApplication::translate("CardView", "Bloc"),
         QCoreApplication::translate("CardView", "Données"), QCoreApplication::translate("CardView", "Texte"),
         QCoreApplication::translate("CardView", "Droits"), QCoreApplication::translate("CardView", "Clé"),
         QCoreApplication::translate("CardView", "Ecart")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    tableFill();
}

CardDumpChain::Options CardView::options() const
{
    // The operator's key first, when it is a key; the reader would refuse anything else.
    QList<QByteArray> first;
    QByteArray key;
    if (CardKeyParse(m_keyToUsed->text(), &key))
        first << key;
    CardDumpChain::Options options;
    options.keys = CardKeysMerge(first, CardKeysDefault() + m_fileKeys);
    options.keyB = m_keyType->isChecked();
    options.writeBlock0 = m_writeBlock0->isChecked();
    return options;
}

bool CardView::dumpPresent()
{
    if (!m_dump.IsEmpty())
        return true;
    m_prompts.error(QCoreApplication::translate("CardView", "Aucune carte lue ou chargée"));
    return false;
}

void CardView::DumpClicked()
{
    m_chain.Read(options());
}

void CardView::CompareClicked()
{
    if (dumpPresent())
        m_chain.Compare(options(), m_dump);
}

void CardView::RestoreClicked()
{
    if (!dumpPresent())
        return;
    const CardRestoreProblems problems = CardRestoreCheck(m_dump);
    if (!problems.inconsistent.isEmpty()) {
        m_status->setText(
            QCoreApplication::translate("CardView", "Erreur->Conditions d'accès invalides (secteurs %1)")
                .arg(CardNumberList(problems.inconsistent)));
        return;
    }
    if (!problems.freezing.isEmpty() && !m_prompts.freezeConfirm(problems.freezing)) {
        m_status->setText(QCoreApplication::translate("CardView", "Ecriture carte->ANNULE"));
        return;
    }
    m_chain.Restore(options(), m_dump);
}

void CardView::SaveClicked()
{
    if (!dumpPresent())
        return;
    const QString path = m_prompts.dialogs(FileDialogKind::Save,
                                           QCoreApplication::translate("CardView", "Enregistrer la carte"),
                                           QString(), DumpFilter());
    if (path.isEmpty())
        return;
    const CardFileFormat format = CardFileFormatOf(path);
    if (format == CardFileFormat::Unknown) {
        m_prompts.error(path + QCoreApplication::translate(
                                   "CardView", " : extension inconnue (.mfd, .bin, .eml ou .json)"));
        return;
    }
    if (!SaveFileAtomic(path, CardDumpSerialize(m_dump, format))) {
        m_prompts.error(path + QCoreApplication::translate("CardView", " : écriture impossible"));
        return;
    }
    // The raw forms cannot tell a blank or unknown key from a real one: say where they stand in.
    QList<int> blank, zeroKeys;
    for (int s = 0; s < CARD_SECTORS; ++s) {
        const CardSectorKeys& keys = m_dump.keys[size_t(s)];
        if (!m_dump.SectorRead(s))
            blank << s;
        else if (keys.keyA.isEmpty() || keys.keyB.isEmpty())
            zeroKeys << s;
    }
    QString text = QCoreApplication::translate("CardView", "Enregistré : ") + QFileInfo(path).fileName();
    if (format != CardFileFormat::Json && !blank.isEmpty())
        text += QCoreApplication::translate("CardView", " (secteurs non lus écrits vierges : %1)")
                    .arg(CardNumberList(blank));
    if (format != CardFileFormat::Json && !zeroKeys.isEmpty())
        text += QCoreApplication::translate("CardView", " (clés inconnues écrites à zéro : secteurs %1)")
                    .arg(CardNumberList(zeroKeys));
    m_status->setText(text);
}

void CardView::LoadClicked()
{
    if (m_chain.IsRunning()) {
        m_status->setText(CommandChain::BusyText());
        return;
    }
    const QString path =
        m_prompts.dialogs(FileDialogKind::Open, QCoreApplication::translate("CardView", "Charger une carte"),
                          QString(), DumpFilter());
    if (path.isEmpty())
        return;
    QString error;
    const QByteArray content = FileRead(path, &error);
    CardDump loaded;
    if (!error.isEmpty() || !CardDumpParse(content, CardFileFormatOf(path), &loaded, &error)) {
        m_prompts.error(path + QStringLiteral(" : ") + error);
        return;
    }
    m_dump = loaded;
    m_differences.clear();
    tableFill();
    m_status->setText(QCoreApplication::translate("CardView", "Chargé : ") + QFileInfo(path).fileName());
}

void CardView::KeyFileLoadClicked()
{
    const QString path = m_prompts.dialogs(
        FileDialogKind::Open, QCoreApplication::translate("CardView", "Charger une liste de clés"), QString(),
        QCoreApplication::translate("CardView", "Clés (*.keys *.dic *.txt);;Tous (*)"));
    if (path.isEmpty())
        return;
    QString error;
    const QByteArray content = FileRead(path, &error);
    if (!error.isEmpty() || !CardKeysParse(content, &m_fileKeys, &error)) {
        m_prompts.error(path + QStringLiteral(" : ") + error);
        return;
    }
    m_status->setText(QCoreApplication::translate("CardView", "%1 clés chargées").arg(m_fileKeys.size()));
}

void CardView::RegisterResults(ResultRouter& router)
{
    router.Register(ARG_CARD_DUMP_RESULT, [this](const QString&) { m_chain.OnResult(); });
}

void CardView::chainEnded()
{
    const CardDumpChain::Outcome outcome = m_chain.LastOutcome();
    if (outcome != CardDumpChain::Outcome::Ok && outcome != CardDumpChain::Outcome::Partial)
        return;
    // A read replaces the dump; a compare or restore only marks where the card differs from it.
    if (m_chain.LastMode() == CardDumpChain::Mode::Read)
        m_dump = m_chain.Card();
    m_differences = m_chain.Differences();
    tableFill();
}

void CardView::tableFill()
{
    m_table->setRowCount(CARD_BLOCKS);
    for (int b = 0; b < CARD_BLOCKS; ++b) {
        const int sector = b / CARD_SECTOR_BLOCKS;
        const int inSector = b % CARD_SECTOR_BLOCKS;
        const bool trailer = b == CardDump::TrailerOf(sector);
        const bool known = m_dump.Known(b);
        const QByteArray& block = m_dump.blocks[size_t(b)];
        QString rights;
        if (m_dump.SectorRead(sector)) {
            const auto* bytes = reinterpret_cast<const quint8*>(
                m_dump.blocks[size_t(CardDump::TrailerOf(sector))].constData());
            const int condition = AccessCondition(TrailerAccessFromTrailer(bytes), inSector);
            rights = trailer ? TrailerRightsText(condition) : DataBlockRightsText(condition);
        }
        QString key;
        const CardSectorKeys& keys = m_dump.keys[size_t(sector)];
        if (trailer && keys.openedBy)
            key = QLatin1Char(keys.openedBy) + QStringLiteral(" : ") +
                  CardKeyText(keys.openedBy == 'A' ? keys.keyA : keys.keyB);
        else if (trailer && !m_dump.SectorRead(sector))
            key = QCoreApplication::translate("CardView", "aucune clé");
        const QString texts[COLUMN_COUNT] = {
            QString::number(sector),
            QString::number(b),
            known ? QString::fromLatin1(block.toHex(' ').toUpper())
                  : QCoreApplication::translate("CardView", "non lu"),
            known ? Printable(block) : QString(),
            rights,
            key,
            m_differences.contains(b) ? QCoreApplication::translate("CardView", "différent") : QString()};
        for (int c = 0; c < COLUMN_COUNT; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (m_differences.contains(b))
                item->setBackground(DIFF_COLOR);
            else if (trailer)
                item->setBackground(TRAILER_COLOR);
            if (!known)
                item->setForeground(UNREAD_COLOR);
            m_table->setItem(b, c, item);
        }
    }
    m_table->resizeColumnsToContents();
}
