#include "blacklist/blacklisttab.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>

#include "blacklist/blacklisttransfer.h"
#include "blacklist/tablerows.h"
#include "blacklist/ttablefile.h"
#include "commun/formwidget.h"
#include "link/argids.h"
#include "link/resultrouter.h"
#include "transfer/chainview.h"

namespace {
const char* const BLACKLIST_FILE = "listenoire.txt";
}

void BlacklistTableSetup(QTableWidget* table)
{
    table->setSortingEnabled(false);
    table->setRowCount(0);
    table->setColumnCount(5);
    table->setHorizontalHeaderLabels(
        QCoreApplication::translate("BlacklistTab", "Date;Uid;Utilisateur;Groupe;Raison")
            .split(QLatin1Char(';')));
}

QString BlacklistFilePath(const QString& workingDirectory)
{
    return QDir(workingDirectory).filePath(QLatin1String(BLACKLIST_FILE));
}

void BlacklistRowNew(QTableWidget* table, QLineEdit* status, const QDate& today)
{
    TableRowAppend(table);
    TableCellSet(table, table->rowCount() - 1, 0, today.toString(QStringLiteral("dd/MM/yy")));
    status->setText(QCoreApplication::translate("BlacklistTab",
                                                "Ligne insérée, saisir le numéro de goupe ou d'utilisateur"));
}

void BlacklistRowDelete(QTableWidget* table, QLineEdit* status)
{
    if (TableRowDeleteSelected(table) == -1)
        status->setText(QCoreApplication::translate("BlacklistTab", "sélectionnez une ligne auparavant"));
    else
        status->setText(QCoreApplication::translate("BlacklistTab", "Ligne supprimée"));
}

bool BlacklistFileSave(QTableWidget* table, QLineEdit* status, const QString& fileName)
{
    status->setText(QCoreApplication::translate("BlacklistTab", "Enregistrement liste noire..."));
    const bool ok = TTableFile::TableSave(table, fileName);
    status->setText(ok ? QCoreApplication::translate("BlacklistTab", "Enregistrement liste noire->OK")
                       : QCoreApplication::translate("BlacklistTab", "Enregistrement liste noire->ECHEC"));
    return ok;
}

bool BlacklistFileLoad(QTableWidget* table, QLineEdit* status, const QString& fileName)
{
    status->setText(QCoreApplication::translate("BlacklistTab", "Chargement liste noire..."));
    TableClear(table);
    const bool ok = TTableFile::TableLoad(table, fileName);
    status->setText(ok ? QCoreApplication::translate("BlacklistTab", "Chargement liste noire->OK")
                       : QCoreApplication::translate("BlacklistTab", "Chargement liste noire->ECHEC"));
    return ok;
}

BlacklistTab::BlacklistTab(QWidget* form, ReaderLink& link, ChainGuard& guard, QString folder)
    : m_table(FormWidget<QTableWidget>(form, "TABLE_BlackList")),
      m_status(FormWidget<QLineEdit>(form, "SAI_BlackListStatus")), m_folder(std::move(folder)),
      m_transfer(std::make_unique<BlacklistTransfer>(link, guard, m_table))
{
    m_table->setAlternatingRowColors(true);
    BlacklistTableSetup(m_table);
    ChainViewAttach(m_transfer.get(), m_status, FormWidget<QProgressBar>(form, "PROGRESS_BlackList"));
}

BlacklistTab::~BlacklistTab() = default;

QString BlacklistTab::filePath() const
{
    return BlacklistFilePath(m_folder);
}

void BlacklistTab::RowNew()
{
    BlacklistRowNew(m_table, m_status);
}

void BlacklistTab::RowDelete()
{
    BlacklistRowDelete(m_table, m_status);
}

void BlacklistTab::FileSave()
{
    BlacklistFileSave(m_table, m_status, filePath());
}

void BlacklistTab::FileLoad()
{
    BlacklistFileLoad(m_table, m_status, filePath());
}

void BlacklistTab::WriteToSupport()
{
    m_transfer->WriteToSupport();
}

void BlacklistTab::ReadFromSupport()
{
    m_transfer->ReadFromSupport();
}

void BlacklistTab::RegisterResults(ResultRouter& router)
{
    router.Register(ARG_FILE_LN_CLEAR_RESULT, [this](const QString&) { m_transfer->OnClearResult(); });
    router.Register(ARG_FILE_LN_ADD_RESULT, [this](const QString&) { m_transfer->OnAddResult(); });
    router.Register(ARG_FILE_LN_GET_RESULT, [this](const QString&) { m_transfer->OnGetResult(); });
}
