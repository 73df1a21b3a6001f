#include "readerconfig/readerconfigtab.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "commun/formwidget.h"
#include "link/argids.h"
#include "link/resultrouter.h"
#include "readerconfig/configfile.h"
#include "readerconfig/outputtest.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/readerclock.h"
#include "transfer/chainview.h"

namespace {
QString ConfigCaption()
{
    return QCoreApplication::translate("ReaderConfigTab", "Configuration");
}

QString ConfigFilter()
{
    return QCoreApplication::translate("ReaderConfigTab", "config (*.txt)");
}
} // namespace

ReaderConfigTab::ReaderConfigTab(QWidget* window, ReaderLink& link, ChainGuard& guard,
                                 FileDialogFunction dialogs, std::function<QString()> folder)
    : m_window(window), m_link(link), m_dialogs(std::move(dialogs)), m_folder(std::move(folder)),
      m_tree(FormWidget<QTreeWidget>(window, "treeWidget")),
      m_status(FormWidget<QLineEdit>(window, "SAI_ConfigStatus")),
      m_fileName(FormWidget<QLineEdit>(window, "SAI_FIleName")),
      m_testStatus(FormWidget<QLineEdit>(window, "SAI_TestCmdStatus")),
      m_testDuration(FormWidget<QLineEdit>(window, "SAI_TestDurationImpulsion")),
      m_configSave(FormWidget<QPushButton>(window, "BTN_ReaderConfigSave")),
      m_fileSave(FormWidget<QPushButton>(window, "BTN_ReaderFileSave"))
{
    m_params = std::make_unique<ParameterTree>(m_tree, m_status);
    m_params->Setup();
    m_transfer = std::make_unique<ParameterTransfer>(m_params.get(), link, guard);
    ChainViewAttach(m_transfer.get(), m_status, FormWidget<QProgressBar>(window, "PROGRESS_Config"));
    connect(m_transfer.get(), &ParameterTransfer::SIG_ReadComplete, this,
            &ReaderConfigTab::saveButtonsEnable);
}

ReaderConfigTab::~ReaderConfigTab() = default;

void ReaderConfigTab::ItemChanged(QTreeWidgetItem* item, int column)
{
    m_params->ItemChanged(item, column);
}

void ReaderConfigTab::ShowAllColumns()
{
    m_params->ShowAllColumns();
}

void ReaderConfigTab::ReadAll()
{
    m_transfer->ReadAll();
}

void ReaderConfigTab::WriteModified()
{
    m_transfer->WriteModified();
}

void ReaderConfigTab::saveButtonsEnable()
{
    m_configSave->setEnabled(true);
    m_fileSave->setEnabled(true);
}

bool ReaderConfigTab::refusedWhileRunning()
{
    // The running chain owns the tree's values and marks until it ends: a file
    // taken or applied meanwhile would mix old and new values.
    if (!m_transfer->IsRunning())
        return false;
    m_status->setText(m_transfer->BusyText());
    return true;
}

void ReaderConfigTab::FileSelect()
{
    m_fileName->setText(remembered(DialogFolder::Config,
                                   m_dialogs(FileDialogKind::Open, ConfigCaption(),
                                             startFolder(DialogFolder::Config, m_folder()), ConfigFilter())));
}

void ReaderConfigTab::FileSave()
{
    if (refusedWhileRunning())
        return;
    const QString start =
        m_fileName->text().isEmpty() ? startFolder(DialogFolder::Config, m_folder()) : m_fileName->text();
    m_fileName->setText(remembered(DialogFolder::Config,
                                   m_dialogs(FileDialogKind::Save, ConfigCaption(), start, ConfigFilter())));
    QString error;
    if (!ConfigFileSave(m_tree, m_fileName->text(), &error)) {
        QMessageBox::critical(m_window, QCoreApplication::translate("ReaderConfigTab", "Erreur"), error,
                              QMessageBox::Ok);
        return;
    }
    QMessageBox::information(m_window, QCoreApplication::translate("ReaderConfigTab", "Information"),
                             QCoreApplication::translate("ReaderConfigTab", "Configuration enregistrée"));
}

void ReaderConfigTab::FileLoad()
{
    if (refusedWhileRunning())
        return;
    if (m_fileName->text().isEmpty())
        m_fileName->setText(
            remembered(DialogFolder::Config,
                       m_dialogs(FileDialogKind::Open, ConfigCaption(),
                                 startFolder(DialogFolder::Config, QDir::currentPath()), ConfigFilter())));
    if (!ConfigFileLoad(m_tree, m_fileName->text())) {
        QMessageBox::critical(
            m_window, QCoreApplication::translate("ReaderConfigTab", "Erreur"),
            QCoreApplication::translate("ReaderConfigTab", "Impossible d'ouvrir le fichier"),
            QMessageBox::Ok);
        return;
    }
    saveButtonsEnable();
    m_status->setText(QCoreApplication::translate("ReaderConfigTab", "Origine des données->Fichier"));
    QMessageBox::information(m_window, QCoreApplication::translate("ReaderConfigTab", "Information"),
                             QCoreApplication::translate("ReaderConfigTab", "Configuration chargée"));
}

void ReaderConfigTab::FirmwareFileSelect()
{
    // Programming is not offered: the choice is not kept.
    remembered(DialogFolder::Firmware,
               m_dialogs(FileDialogKind::Open, tr("Sélection du fichier hex"),
                         startFolder(DialogFolder::Firmware, m_folder()), tr("Prog (*.hex)")));
}

QString ReaderConfigTab::LastFolder(DialogFolder dialog) const
{
    return m_lastFolders[static_cast<int>(dialog)];
}

void ReaderConfigTab::SetLastFolder(DialogFolder dialog, const QString& folder)
{
    m_lastFolders[static_cast<int>(dialog)] = folder;
}

QString ReaderConfigTab::startFolder(DialogFolder dialog, const QString& fallback) const
{
    const QString last = LastFolder(dialog);
    return last.isEmpty() ? fallback : last;
}

QString ReaderConfigTab::remembered(DialogFolder dialog, const QString& chosen)
{
    if (!chosen.isEmpty())
        SetLastFolder(dialog, QFileInfo(chosen).absolutePath());
    return chosen;
}

void ReaderConfigTab::ClockUpdate()
{
    const QString text = ClockUpdateText(::ClockUpdate(m_link, QDateTime::currentDateTime()));
    if (!text.isEmpty())
        QMessageBox::information(m_window, QCoreApplication::translate("ReaderConfigTab", "MAJ Heure/Date"),
                                 text);
}

void ReaderConfigTab::OutputTest(int output)
{
    OutputTestStart(m_link, output, m_testDuration->text(), m_testStatus);
}

void ReaderConfigTab::RegisterResults(ResultRouter& router)
{
    m_transfer->RegisterResults(router);
    router.Register(ARG_TEST_RESULT, [this](const QString&) { OutputTestResult(m_link, m_testStatus); });
}
