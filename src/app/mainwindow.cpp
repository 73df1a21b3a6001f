#include "app/mainwindow.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSerialPortInfo>

#include "access/accesstransfer.h"
#include "access/groups.h"
#include "access/zoneseditor.h"
#include "app/textcolorset.h"
#include "badge/badgetab.h"
#include "badge/experttab.h"
#include "blacklist/blacklisttab.h"
#include "blacklist/blacklisttransfer.h"
#include "readerconfig/appsettings.h"
#include "readerconfig/configfile.h"
#include "readerconfig/outputtest.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/readerclock.h"
#include "ui_mainwindow.h"

// The resource lives in the static korvelcore library; it must be registered
// by name from outside any namespace.
static void ResourcesInit()
{
    Q_INIT_RESOURCE(korvelmanager);
}

namespace {
// The buttons that need an open link.
const char* const READER_BUTTONS[] = {
    "BTN_BlackListReadFromSupport", "BTN_BlackListReadFromReader", "BTN_BlackListWriteToReader",
    "BTN_BlackListWriteToSupport",  "BTN_ReaderConfigLoad",        "BTN_ReaderConfigSave",
    "BTN_ZonesSendToReader",
};

QString WorkingDirectoryDefault()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\local\\apps\\qtcreator");
#else
    return QDir::currentPath();
#endif
}
} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_configIni(QStringLiteral("config.ini")), ui(new Ui::MainWindow)
{
    ResourcesInit();
    ui->setupUi(this);

    m_badge = std::make_unique<BadgeTab>(this, m_link, ui->TREE_AppsConfig, m_zones, &m_groups);
    m_params = std::make_unique<ParameterTree>(ui->treeWidget, ui->SAI_ConfigStatus);
    m_params->Setup();
    m_paramTransfer = std::make_unique<ParameterTransfer>(m_params.get(), &m_protocole);
    m_paramTransfer->ProgressBarAttach(ui->PROGRESS_Config);
    connect(m_paramTransfer.get(), &ParameterTransfer::SIG_ReadComplete, this, [this]() {
        ui->BTN_ReaderConfigSave->setEnabled(true);
        ui->BTN_ReaderFileSave->setEnabled(true);
    });
    FileDialog = [this](FileDialogKind kind, const QString& caption, const QString& dir,
                        const QString& filter) {
        return kind == FileDialogKind::Save ? QFileDialog::getSaveFileName(this, caption, dir, filter)
                                            : QFileDialog::getOpenFileName(this, caption, dir, filter);
    };
    AppsConfigTreeSetUp(ui->TREE_AppsConfig);
    ui->TABLE_BlackList->setAlternatingRowColors(true);
    BlacklistTableSetup(ui->TABLE_BlackList);

    m_expert = std::make_unique<ExpertTab>(this, m_link, [this]() {
        return QMessageBox::warning(
                   this, QStringLiteral("Attention"),
                   QStringLiteral("Ces conditions d'accès figent le secteur : ses conditions "
                                  "d'accès ne pourront plus jamais être modifiées.\n"
                                  "Ecrire le trailer ?"),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    });
    resultsRegister();
    transfersSetUp();

    connect(&m_protocole, &QProtocole::SIG_Debug, this, &MainWindow::DebugShow);
    connect(&m_protocole, &QProtocole::SIG_ComStatus, this, &MainWindow::ComStatusShow);
    connect(&m_protocole, &QProtocole::SIG_Data, this, &MainWindow::ComDataProcess);

    ui->ONG_Main->setCurrentIndex(0);

    if (m_configIni.Open()) {
        ZonesLoad(m_zones, &m_configIni);
        GroupsLoad(&m_groups, &m_configIni);
        m_configIni.Close();
    }

    // Also fills CBOX_GroupList then COMBO_Profil; the by-name slots show the first group.
    m_zonesEditor = std::make_unique<ZonesEditor>(
        ZonesEditor::Form{ui->GridZones, ui->GridGroup, ui->LE_Group, ui->CBOX_GroupList, ui->COMBO_Profil,
                          ui->BTN_ZonesSave, ui->BTN_GroupSave},
        m_zones, &m_groups, &m_configIni);
    m_zonesEditor->ColorSetterSet(TextColorSet);
    m_zonesEditor->GridsSetup();
    for (QCheckBox* box : m_zonesEditor->InstalledBoxes())
        connect(box, &QCheckBox::stateChanged, this, &MainWindow::on_CHECKBOX_ZonesStateChanged);

    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        ui->COMB_Serial->addItem(QIcon(), port.portName());

    qDebug("MainWindwo->Constructor");
    m_protocole.start(QThread::InheritPriority);
    on_BTN_Serial_clicked();

    ui->BTN_ReaderConfigSave->setEnabled(false);
    ui->BTN_ReaderFileSave->setEnabled(false);
    m_workingDirectory = WorkingDirectoryDefault();
    ui->ONG_Main->setTabEnabled(6, false);
    ui->ONG_Main->setTabEnabled(7, false);
    ui->LAB_Version->setText(QStringLiteral("Version:1.00"));
}

MainWindow::~MainWindow()
{
    m_blacklistTransfer.reset();
    m_accessTransfer.reset();
    m_zonesEditor.reset();
    m_paramTransfer.reset();
    m_params.reset();
    m_expert.reset();
    m_badge.reset();
    delete ui;
    ui = nullptr;
    // The link's destructor ends the worker cooperatively, before the port goes.
    qDeleteAll(m_groups);
    m_groups.clear();
}

void MainWindow::resultsRegister()
{
    m_badge->RegisterResults(m_router);
    m_expert->RegisterResults(m_router);
    m_paramTransfer->RegisterResults(m_router);
    m_router.Register(ARG_TEST_RESULT,
                      [this](const QString&) { OutputTestResult(&m_protocole, ui->SAI_TestCmdStatus); });
    m_router.Register(ARG_LINK_STATE, [this](const QString&) { linkState(); });
}

// Both chains share the blacklist tab's status line and progress bar.
void MainWindow::transfersSetUp()
{
    m_blacklistTransfer =
        std::make_unique<BlacklistTransfer>(&m_protocole, ui->TABLE_BlackList, ui->SAI_BlackListStatus);
    m_accessTransfer = std::make_unique<AccessTransfer>(&m_protocole, &m_groups, ui->TABLE_BlackList,
                                                        ui->SAI_BlackListStatus);
    m_blacklistTransfer->ProgressBarAttach(ui->PROGRESS_BlackList);
    m_accessTransfer->ProgressBarAttach(ui->PROGRESS_BlackList);

    // Each handler writes its result's name to the debug log first.
    m_router.Register(ARG_FILE_LN_CLEAR_RESULT,
                      [this](const QString&) { m_blacklistTransfer->OnClearResult(); });
    m_router.Register(ARG_FILE_LN_ADD_RESULT, [this](const QString&) { m_blacklistTransfer->OnAddResult(); });
    m_router.Register(ARG_FILE_LN_GET_RESULT, [this](const QString&) { m_blacklistTransfer->OnGetResult(); });
    m_router.Register(ARG_FILE_ACCESS_CLEAR_RESULT,
                      [this](const QString&) { m_accessTransfer->OnClearResult(); });
    m_router.Register(ARG_FILE_ACCESS_ADD_RESULT,
                      [this](const QString&) { m_accessTransfer->OnAddResult(); });
    m_router.Register(ARG_FILE_ACCESS_GET_RESULT,
                      [this](const QString&) { m_accessTransfer->OnGetResult(); });
}

QString MainWindow::WorkingFilePath(const QString& fileName) const
{
    return QDir(m_workingDirectory).filePath(fileName);
}

QString MainWindow::AppsConfigReadString(QString key, QString defaultValue) const
{
    return ::AppsConfigReadString(ui->TREE_AppsConfig, key, defaultValue);
}

int MainWindow::AppsConfigReadInt(QString key, int defaultValue) const
{
    return ::AppsConfigReadInt(ui->TREE_AppsConfig, key, defaultValue);
}

bool MainWindow::BadgeRecordBuild(QString& record) const
{
    return m_badge->BadgeRecordBuild(record);
}

void MainWindow::BadgeRecordDisplay(const QString& record)
{
    m_badge->BadgeRecordDisplay(record);
}

void MainWindow::BadgeFormClear()
{
    m_badge->BadgeFormClear();
}

void MainWindow::CreationDefaultsLoad()
{
    m_badge->CreationDefaultsLoad();
}

void MainWindow::UserNumberIncrement()
{
    m_badge->UserNumberIncrement();
}

int MainWindow::BadgeMode() const
{
    return m_badge->BadgeMode;
}

void MainWindow::ReaderButtonsEnable()
{
    for (const char* name : READER_BUTTONS)
        findChild<QPushButton*>(QLatin1String(name))->setEnabled(true);
}

void MainWindow::ReaderButtonsDisable()
{
    for (const char* name : READER_BUTTONS)
        findChild<QPushButton*>(QLatin1String(name))->setEnabled(false);
}

void MainWindow::on_BTN_Serial_clicked()
{
    m_protocole.SetPortName(ui->COMB_Serial->currentText());
    qDebug("BTN_Seriel->Click");
    m_protocole.SetConnectionRequest(m_protocole.Connected ? 2 : 1);
}

void MainWindow::on_BTN_ComReaderFind_clicked()
{
    ui->COMB_Serial->clear();
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        ui->COMB_Serial->addItem(QIcon(), port.portName());
}

void MainWindow::ComStatusShow(QString s)
{
    ui->LINEEDIT_Com->setText(s);
    if (m_protocole.Connected) {
        TextColorSet(Qt::green, ui->LINEEDIT_Com);
        ui->BTN_Serial->setText(QStringLiteral("Deconnecter"));
    } else {
        TextColorSet(Qt::red, ui->LINEEDIT_Com);
        ui->BTN_Serial->setText(QStringLiteral("Connecter"));
    }
}

void MainWindow::DebugShow(QString s)
{
    ui->TXTEDIT_Debug->appendPlainText(s);
}

void MainWindow::on_pushButton_3_clicked()
{
    ui->TXTEDIT_Debug->clear();
}

void MainWindow::on_treeWidget_itemChanged(QTreeWidgetItem* item, int column)
{
    // The tree reports changes while the form is still being built and torn down.
    if (m_params)
        m_params->ItemChanged(item, column);
}

void MainWindow::on_BTN_ReaderConfigAll_clicked()
{
    m_params->ShowAllColumns();
}

void MainWindow::on_BTN_ReaderConfigLoad_clicked()
{
    m_paramTransfer->ReadAll();
}

void MainWindow::on_BTN_ReaderConfigSave_clicked()
{
    m_paramTransfer->WriteModified();
}

void MainWindow::on_BTN_FileSelect_clicked()
{
    ui->SAI_FIleName->setText(
        FileDialog(FileDialogKind::Open, tr("Configuration"), m_workingDirectory, tr("config (*.txt)")));
}

void MainWindow::on_BTN_ReaderFileSave_clicked()
{
    // A file taken in the middle of a transfer would mix old and new values.
    if (m_paramTransfer->IsRunning()) {
        ui->SAI_ConfigStatus->setText(CommandChain::BusyText());
        return;
    }
    const QString start = ui->SAI_FIleName->text().isEmpty() ? m_workingDirectory : ui->SAI_FIleName->text();
    ui->SAI_FIleName->setText(
        FileDialog(FileDialogKind::Save, tr("Configuration"), start, tr("config (*.txt)")));
    QString error;
    if (!ConfigFileSave(ui->treeWidget, ui->SAI_FIleName->text(), &error)) {
        QMessageBox::critical(this, QStringLiteral("Erreur"), error, QMessageBox::Ok);
        return;
    }
    QMessageBox::information(this, QStringLiteral("Information"),
                             QStringLiteral("Configuration enregistrée"));
}

void MainWindow::on_BTN_ReaderFileLoad_clicked()
{
    // The running chain owns the tree's values and marks until it ends.
    if (m_paramTransfer->IsRunning()) {
        ui->SAI_ConfigStatus->setText(CommandChain::BusyText());
        return;
    }
    if (ui->SAI_FIleName->text().isEmpty())
        ui->SAI_FIleName->setText(
            FileDialog(FileDialogKind::Open, tr("Configuration"), QDir::currentPath(), tr("config (*.txt)")));
    if (!ConfigFileLoad(ui->treeWidget, ui->SAI_FIleName->text())) {
        QMessageBox::critical(this, QStringLiteral("Erreur"),
                              QStringLiteral("Impossible d'ouvrir le fichier"), QMessageBox::Ok);
        return;
    }
    ui->BTN_ReaderConfigSave->setEnabled(true);
    ui->BTN_ReaderFileSave->setEnabled(true);
    ui->SAI_ConfigStatus->setText(QStringLiteral("Origine des données->Fichier"));
    QMessageBox::information(this, QStringLiteral("Information"), QStringLiteral("Configuration chargée"));
}

void MainWindow::on_BTN_DateHeureMAJ_clicked()
{
    const QString text = ClockUpdateText(ClockUpdate(&m_protocole, QDateTime::currentDateTime()));
    if (!text.isEmpty())
        QMessageBox::information(this, QStringLiteral("MAJ Heure/Date"), text);
}

void MainWindow::on_BTN_TestC1_clicked()
{
    OutputTestStart(&m_protocole, 0, ui->SAI_TestDurationImpulsion->text(), ui->SAI_TestCmdStatus);
}

void MainWindow::on_BTN_TestC2_clicked()
{
    OutputTestStart(&m_protocole, 1, ui->SAI_TestDurationImpulsion->text(), ui->SAI_TestCmdStatus);
}

void MainWindow::on_BTN_FirmwareFile_clicked()
{
    // Programming is not offered: the choice is not kept.
    FileDialog(FileDialogKind::Open, tr("Sélection du fichier hex"), m_workingDirectory, tr("Prog (*.hex)"));
}

void MainWindow::ComDataProcess(unsigned int Id, unsigned int Arg1, const QString& s)
{
    if (Id == 1) {
        if (Arg1 == 0)
            ui->SAI_ProtocoleStatus->setText(s);
        return;
    }
    if (Id == 2)
        m_router.Dispatch(Arg1, s);
}

void MainWindow::linkState()
{
    if (m_link.Connected())
        ReaderButtonsEnable();
    else
        ReaderButtonsDisable();
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
    QMessageBox::information(this, QStringLiteral("Erreur"), QStringLiteral("Contenu transaction invalide"),
                             QMessageBox::Ok);
}

void MainWindow::on_BTN_TransactionCredit_clicked()
{
    QMessageBox::information(this, QStringLiteral("Erreur"), QStringLiteral("Contenu transaction invalide"),
                             QMessageBox::Ok);
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

void MainWindow::configSaveFailed()
{
    QMessageBox::critical(this, QStringLiteral("Erreur"),
                          QStringLiteral("Impossible d'enregistrer le fichier config.ini"), QMessageBox::Ok);
}

void MainWindow::on_BTN_BlackListNew_clicked()
{
    BlacklistRowNew(ui->TABLE_BlackList, ui->SAI_BlackListStatus);
}

void MainWindow::on_BTN_BlackListDelete_clicked()
{
    BlacklistRowDelete(ui->TABLE_BlackList, ui->SAI_BlackListStatus);
}

void MainWindow::on_BTN_BlackListWriteToFile_clicked()
{
    BlacklistFileSave(ui->TABLE_BlackList, ui->SAI_BlackListStatus,
                      WorkingFilePath(QStringLiteral("listenoire.txt")));
}

void MainWindow::on_BTN_BlackListReadFromFile_clicked()
{
    BlacklistFileLoad(ui->TABLE_BlackList, ui->SAI_BlackListStatus,
                      WorkingFilePath(QStringLiteral("listenoire.txt")));
}

void MainWindow::on_BTN_BlackListWriteToSupport_clicked()
{
    m_blacklistTransfer->WriteToSupport();
}

void MainWindow::on_BTN_BlackListReadFromSupport_clicked()
{
    m_blacklistTransfer->ReadFromSupport();
}

void MainWindow::on_BTN_ZonesSave_clicked()
{
    if (!m_zonesEditor->ZonesSave())
        configSaveFailed();
}

void MainWindow::on_CBOX_GroupList_currentIndexChanged(int index)
{
    m_zonesEditor->GroupShow(index);
}

void MainWindow::on_CHECKBOX_ZonesStateChanged(int state)
{
    m_zonesEditor->OnZoneStateChanged(state);
}

void MainWindow::on_BTN_GroupNew_clicked()
{
    m_zonesEditor->GroupNew();
}

void MainWindow::on_BTN_GroupSave_clicked()
{
    if (!m_zonesEditor->GroupSave())
        configSaveFailed();
}

void MainWindow::on_LE_Group_textChanged(QString)
{
    m_zonesEditor->GroupNumberChanged();
}

void MainWindow::on_CBOX_GroupList_editTextChanged(QString)
{
    m_zonesEditor->GroupLabelChanged();
}

void MainWindow::on_BTN_GroupDelete_clicked()
{
    const bool confirmed =
        QMessageBox::information(this, QStringLiteral("Confirmation :"),
                                 QStringLiteral("Voulez-vous supprimer ce profil définitivement ?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    if (!m_zonesEditor->GroupDelete(confirmed))
        configSaveFailed();
}

void MainWindow::on_BTN_ZonesSendToReader_clicked()
{
    m_accessTransfer->SendToReader();
}

void MainWindow::on_BTN_BlackListReadFromReader_clicked()
{
    m_accessTransfer->ReadFromReader();
}
