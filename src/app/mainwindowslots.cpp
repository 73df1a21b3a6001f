// The form's slots: each hands its button to the tab unit that owns it.
#include "app/mainwindow.h"

#include <QMessageBox>

#include "access/accesstab.h"
#include "badge/badgetab.h"
#include "badge/experttab.h"
#include "blacklist/blacklisttab.h"
#include "ui_mainwindow.h"

void MainWindow::on_treeWidget_itemChanged(QTreeWidgetItem* item, int column)
{
    // The tree reports changes while the form is still being built and torn down.
    if (m_readerConfig)
        m_readerConfig->ItemChanged(item, column);
}

void MainWindow::on_BTN_ReaderConfigAll_clicked()
{
    m_readerConfig->ShowAllColumns();
}

void MainWindow::on_BTN_ReaderConfigLoad_clicked()
{
    m_readerConfig->ReadAll();
}

void MainWindow::on_BTN_ReaderConfigSave_clicked()
{
    m_readerConfig->WriteModified();
}

void MainWindow::on_BTN_FileSelect_clicked()
{
    m_readerConfig->FileSelect();
}

void MainWindow::on_BTN_ReaderFileSave_clicked()
{
    m_readerConfig->FileSave();
}

void MainWindow::on_BTN_ReaderFileLoad_clicked()
{
    m_readerConfig->FileLoad();
}

void MainWindow::on_BTN_DateHeureMAJ_clicked()
{
    m_readerConfig->ClockUpdate();
}

void MainWindow::on_BTN_TestC1_clicked()
{
    m_readerConfig->OutputTest(0);
}

void MainWindow::on_BTN_TestC2_clicked()
{
    m_readerConfig->OutputTest(1);
}

void MainWindow::on_BTN_FirmwareFile_clicked()
{
    m_readerConfig->FirmwareFileSelect();
}

void MainWindow::on_BTN_BadgeRead_clicked()
{
    m_badge->BadgeReadClicked();
}

void MainWindow::on_BTN_BadgeWrite_clicked()
{
    m_badge->BadgeWriteClicked();
}

void MainWindow::on_BTN_BadgeCreate_clicked()
{
    m_badge->BadgeCreateClicked();
}

void MainWindow::on_BTN_TransactionDebit_clicked()
{
    QMessageBox::information(this, tr("Erreur"), tr("Contenu transaction invalide"), QMessageBox::Ok);
}

void MainWindow::on_BTN_TransactionCredit_clicked()
{
    on_BTN_TransactionDebit_clicked();
}

void MainWindow::on_COMBO_Profil_currentIndexChanged(int index)
{
    m_badge->ProfilChanged(index);
}

void MainWindow::on_BTN_ReaderRead_clicked()
{
    m_expert->BlockClicked(ExpertTab::BlockOperation::Read);
}

void MainWindow::on_BTN_ReaderDecrement_clicked()
{
    m_expert->BlockClicked(ExpertTab::BlockOperation::Decrement);
}

void MainWindow::on_BTN_ReaderWrite_clicked()
{
    m_expert->BlockClicked(ExpertTab::BlockOperation::Write);
}

void MainWindow::on_BTN_ReaderIncrement_clicked()
{
    m_expert->BlockClicked(ExpertTab::BlockOperation::Increment);
}

void MainWindow::on_BTN_TraillerRead_clicked()
{
    m_expert->TrailerReadClicked();
}

void MainWindow::on_BTN_TraillerWrite_clicked()
{
    m_expert->TrailerWriteClicked();
}

void MainWindow::on_BTN_TraillerDefault_clicked()
{
    m_expert->TrailerDefaultClicked();
}

void MainWindow::on_BTN_BadgeFormat_clicked()
{
    m_expert->BadgeFormatClicked();
}

void MainWindow::on_pushButton_clicked() {}

void MainWindow::on_ONG_Main_currentChanged(int) {}

void MainWindow::on_BTN_BlackListNew_clicked()
{
    m_blacklist->RowNew();
}

void MainWindow::on_BTN_BlackListDelete_clicked()
{
    m_blacklist->RowDelete();
}

void MainWindow::on_BTN_BlackListWriteToFile_clicked()
{
    m_blacklist->FileSave();
}

void MainWindow::on_BTN_BlackListReadFromFile_clicked()
{
    m_blacklist->FileLoad();
}

void MainWindow::on_BTN_BlackListWriteToSupport_clicked()
{
    m_blacklist->WriteToSupport();
}

void MainWindow::on_BTN_BlackListReadFromSupport_clicked()
{
    m_blacklist->ReadFromSupport();
}

void MainWindow::on_BTN_ZonesSave_clicked()
{
    m_access->ZonesSave();
}

void MainWindow::on_CBOX_GroupList_currentIndexChanged(int index)
{
    // The group chooser is filled while its tab is being built.
    if (m_access)
        m_access->GroupShow(index);
}

void MainWindow::on_CHECKBOX_ZonesStateChanged(int state)
{
    m_access->ZoneStateChanged(state);
}

void MainWindow::on_BTN_GroupNew_clicked()
{
    m_access->GroupNew();
}

void MainWindow::on_BTN_GroupSave_clicked()
{
    m_access->GroupSave();
}

void MainWindow::on_LE_Group_textChanged(QString)
{
    if (m_access)
        m_access->GroupNumberChanged();
}

void MainWindow::on_CBOX_GroupList_editTextChanged(QString)
{
    if (m_access)
        m_access->GroupLabelChanged();
}

void MainWindow::on_BTN_GroupDelete_clicked()
{
    m_access->GroupDelete();
}

void MainWindow::on_BTN_ZonesSendToReader_clicked()
{
    m_access->SendToReader();
}

void MainWindow::on_BTN_BlackListReadFromReader_clicked()
{
    m_access->ReadFromReader();
}
