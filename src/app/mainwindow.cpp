#include "app/mainwindow.h"

#include <QDir>
#include <QFileDialog>

#include "access/accesstab.h"
#include "access/groups.h"
#include "app/applog.h"
#include "app/portrow.h"
#include "app/textcolorset.h"
#include "app/translations.h"
#include "badge/badgetab.h"
#include "badge/experttab.h"
#include "blacklist/blacklisttab.h"
#include "readerconfig/appsettings.h"
#include "ui_mainwindow.h"

// The resource lives in the static korvelcore library; it must be registered
// by name from outside any namespace.
static void ResourcesInit()
{
    Q_INIT_RESOURCE(korvelmanager);
}

namespace {
// Tabs of ONG_Main.
constexpr int TAB_BADGE = 0;
constexpr int TAB_DEBUG = 6;
constexpr int TAB_TESTS = 7;

// The buttons that need an open link.
const char* const READER_BUTTONS[] = {
    "BTN_BlackListReadFromSupport", "BTN_BlackListReadFromReader", "BTN_BlackListWriteToReader",
    "BTN_BlackListWriteToSupport",  "BTN_ReaderConfigLoad",        "BTN_ReaderConfigSave",
    "BTN_ZonesSendToReader",
};

QString SiteFilePath(const QString& siteFolder, const QString& fileName)
{
    return siteFolder.isEmpty() ? fileName : QDir(siteFolder).filePath(fileName);
}

QString WorkingDirectoryDefault()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\local\\apps\\qtcreator");
#else
    return QDir::currentPath();
#endif
}

} // namespace

MainWindow::MainWindow(const QString& extraPort, QProtocole::FrameTrace frameTrace, QWidget* parent)
    : MainWindow(WindowSetup{extraPort, std::move(frameTrace), QString(), SessionSettings()}, parent)
{
}

MainWindow::MainWindow(WindowSetup setup, QWidget* parent)
    : QMainWindow(parent), m_configIni(SiteFilePath(setup.siteFolder, QStringLiteral("config.ini"))),
      m_workingDirectory(setup.siteFolder.isEmpty() ? WorkingDirectoryDefault() : setup.siteFolder),
      m_extraPort(setup.extraPort), m_session(setup.session), ui(new Ui::MainWindow)
{
    ResourcesInit();
    ui->setupUi(this);
    FileDialog = [this](FileDialogKind kind, const QString& caption, const QString& dir,
                        const QString& filter) {
        return kind == FileDialogKind::Save ? QFileDialog::getSaveFileName(this, caption, dir, filter)
                                            : QFileDialog::getOpenFileName(this, caption, dir, filter);
    };
    tabsCreate();

    connect(&m_protocole, &QProtocole::SIG_Debug, this, &MainWindow::DebugShow);
    connect(&m_protocole, &QProtocole::SIG_ComStatus, this, &MainWindow::ComStatusShow);
    connect(&m_protocole, &QProtocole::SIG_Data, this, &MainWindow::ComDataProcess);
    connect(&m_protocole, &QProtocole::SIG_PortLost, this, &MainWindow::PortLost);

    ui->ONG_Main->setCurrentIndex(TAB_BADGE);
    configLoad();
    const SessionState session = m_session.Load(ui->ONG_Main->count());
    m_portRow = std::make_unique<PortRow>(this, m_protocole, m_extraPort, session.lastPort);
    m_portRow->PollingResume = [this] { m_badge->PollingResume(); };

    qCDebug(lcApp, "MainWindwo->Constructor");
    if (setup.frameTrace)
        m_protocole.SetFrameTrace(std::move(setup.frameTrace));
    m_protocole.start(QThread::InheritPriority);
    on_BTN_Serial_clicked();

    ui->BTN_ReaderConfigSave->setEnabled(false);
    ui->BTN_ReaderFileSave->setEnabled(false);
    ui->ONG_Main->setTabEnabled(TAB_DEBUG, false);
    ui->ONG_Main->setTabEnabled(TAB_TESTS, false);
    ui->LAB_Version->setText(tr("Version:1.00"));
    sessionRestore(session);
}

MainWindow::~MainWindow()
{
    sessionSave();
    m_access.reset();
    m_blacklist.reset();
    m_readerConfig.reset();
    m_card.reset();
    m_expert.reset();
    m_badge.reset();
    delete ui;
    ui = nullptr;
    // The link's destructor ends the worker cooperatively, before the port goes.
    qDeleteAll(m_groups);
    m_groups.clear();
}

void MainWindow::tabsCreate()
{
    m_badge = std::make_unique<BadgeTab>(this, m_link, ui->TREE_AppsConfig, m_zones, &m_groups);
    m_readerConfig = std::make_unique<ReaderConfigTab>(
        this, m_link, m_chains,
        [this](FileDialogKind kind, const QString& caption, const QString& dir, const QString& filter) {
            return FileDialog(kind, caption, dir, filter);
        },
        [this] { return m_workingDirectory; });
    AppsConfigTreeSetUp(ui->TREE_AppsConfig);
    m_blacklist = std::make_unique<BlacklistTab>(this, m_link, m_chains, m_workingDirectory);
    m_expert = std::make_unique<ExpertTab>(this, m_link);
    CardView::Prompts cardPrompts;
    cardPrompts.dialogs = [this](FileDialogKind kind, const QString& caption, const QString& dir,
                                 const QString& filter) { return FileDialog(kind, caption, dir, filter); };
    m_card = std::make_unique<CardView>(this, m_link, m_chains, cardPrompts);

    m_badge->RegisterResults(m_router);
    m_expert->RegisterResults(m_router);
    m_card->RegisterResults(m_router);
    m_readerConfig->RegisterResults(m_router);
    m_blacklist->RegisterResults(m_router);
    m_router.Register(ARG_LINK_STATE, [this](const QString&) { linkState(); });
}

// Zones and groups from config.ini (created empty when missing), then their tab.
void MainWindow::configLoad()
{
    if (m_configIni.Open()) {
        ZonesLoad(m_zones, &m_configIni);
        GroupsLoad(&m_groups, &m_configIni);
        m_configIni.Close();
    }
    m_access =
        std::make_unique<AccessTab>(this, m_link, m_chains, m_zones, &m_groups, &m_configIni, TextColorSet);
    m_access->RegisterResults(m_router);
    connect(m_access.get(), &AccessTab::SIG_ZoneStateChanged, this,
            &MainWindow::on_CHECKBOX_ZonesStateChanged);
    m_access->Setup();
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
    QString built;
    if (!m_badge->Form().RecordBuild(&built))
        return false;
    record += built;
    return true;
}

void MainWindow::BadgeRecordDisplay(const QString& record)
{
    m_badge->Form().RecordDisplay(record);
}

void MainWindow::BadgeFormClear()
{
    m_badge->Form().Clear();
}

void MainWindow::CreationDefaultsLoad()
{
    m_badge->Form().CreationDefaultsLoad();
}

void MainWindow::UserNumberIncrement()
{
    m_badge->Form().UserNumberIncrement();
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
    m_portRow->ConnectClicked();
}

void MainWindow::on_BTN_ComReaderFind_clicked()
{
    m_portRow->PortsFind();
}

void MainWindow::ComStatusShow(QString s)
{
    m_portRow->StatusShow(s);
}

void MainWindow::DebugShow(QString s)
{
    ui->TXTEDIT_Debug->appendPlainText(s);
}

void MainWindow::on_pushButton_3_clicked()
{
    ui->TXTEDIT_Debug->clear();
}

void MainWindow::ComDataProcess(unsigned int Id, unsigned int Arg1, const QString& s)
{
    if (Id == DATA_CHANNEL_TEXT) {
        if (Arg1 == 0)
            ui->SAI_ProtocoleStatus->setText(s);
        return;
    }
    if (Id == DATA_CHANNEL_RESULT)
        m_router.Dispatch(Arg1, s);
}

void MainWindow::linkState()
{
    if (m_link.Connected())
        ReaderButtonsEnable();
    else
        ReaderButtonsDisable();
}

void MainWindow::PortLost(QString port, bool wasPolling)
{
    m_portRow->PortLost(port, wasPolling);
}

// Bytes of another Qt version or a damaged store are refused by restoreGeometry/State themselves.
void MainWindow::sessionRestore(const SessionState& state)
{
    if (!state.geometry.isEmpty())
        restoreGeometry(state.geometry);
    if (!state.windowState.isEmpty())
        restoreState(state.windowState);
    if (ui->ONG_Main->isTabEnabled(state.tab))
        ui->ONG_Main->setCurrentIndex(state.tab);
    ui->CKB_AutoReconnect->setChecked(state.autoReconnect);
    UiLanguageComboShow(ui->COMBO_Language, state.language);
    m_readerConfig->SetLastFolder(DialogFolder::Config, state.configFolder);
    m_readerConfig->SetLastFolder(DialogFolder::Firmware, state.firmwareFolder);
}

void MainWindow::sessionSave()
{
    if (!m_session.IsEnabled())
        return;
    SessionState state;
    state.lastPort = m_portRow->LastPort();
    state.geometry = saveGeometry();
    state.windowState = saveState();
    state.tab = ui->ONG_Main->currentIndex();
    state.configFolder = m_readerConfig->LastFolder(DialogFolder::Config);
    state.firmwareFolder = m_readerConfig->LastFolder(DialogFolder::Firmware);
    state.autoReconnect = ui->CKB_AutoReconnect->isChecked();
    state.language = UiLanguageComboChoice(ui->COMBO_Language);
    m_session.Save(state);
}
