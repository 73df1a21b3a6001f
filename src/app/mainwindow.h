#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

#include "access/zones.h"
#include "app/sessionsettings.h"
#include "badge/cardview.h"
#include "commun/fileini.h"
#include "link/qprotocole.h"
#include "link/readerlink.h"
#include "link/resultrouter.h"
#include "readerconfig/readerconfigtab.h"
#include "transfer/chainguard.h"

class AccessTab;
class BadgeTab;
class BlacklistTab;
class CGROUP;
class ExpertTab;
class PortRow;
class QTreeWidgetItem;

namespace Ui {
class MainWindow;
}

// What the window starts with besides the form.
struct WindowSetup
{
    // Listed first in COMB_Serial (--port, or the emulator's pseudo-terminal), so
    // the automatic connection opens it.
    QString extraPort;
    // Receives every frame of the link.
    QProtocole::FrameTrace frameTrace;
    // Where config.ini and listenoire.txt live; empty: the current folder.
    QString siteFolder;
    // Where the session is remembered; by default nowhere.
    SessionSettings session;
};

// The program's one window: builds the form, owns the link and the state every
// tab shares, and hands each user action and each reader result to the tab
// that owns it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The site files in the current folder, no session memory.
    explicit MainWindow(const QString& extraPort = QString(), QProtocole::FrameTrace frameTrace = {},
                        QWidget* parent = nullptr);
    explicit MainWindow(WindowSetup setup, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Settings tree reads.
    QString AppsConfigReadString(QString key, QString defaultValue) const;
    int AppsConfigReadInt(QString key, int defaultValue) const;

    bool BadgeRecordBuild(QString& record) const;
    void BadgeRecordDisplay(const QString& record);
    void BadgeFormClear();
    void CreationDefaultsLoad();
    void UserNumberIncrement();
    int BadgeMode() const;

    void ReaderButtonsEnable();
    void ReaderButtonsDisable();

    // Folder of the blacklist file and of the configuration-file dialogs.
    QString WorkingDirectory() const { return m_workingDirectory; }
    QString WorkingFilePath(const QString& fileName) const;

    QProtocole& Protocole() { return m_protocole; }
    ReaderLink& Link() { return m_link; }
    ResultRouter& Router() { return m_router; }

    // The file dialogs of the "Lecteur", "Firmware" and "Expert" tabs; replaceable so
    // that their callers can run without a person at the screen.
    using FileDialogKind = ::FileDialogKind;
    using FileDialogFunction = ::FileDialogFunction;
    FileDialogFunction FileDialog;

public slots:
    void on_BTN_Serial_clicked();
    void on_pushButton_3_clicked();
    void on_treeWidget_itemChanged(QTreeWidgetItem* item, int column);
    void on_BTN_ReaderConfigAll_clicked();
    void on_BTN_ReaderConfigLoad_clicked();
    void on_BTN_ReaderConfigSave_clicked();
    void on_BTN_ReaderFileLoad_clicked();
    void on_BTN_ReaderFileSave_clicked();
    void on_BTN_FileSelect_clicked();
    void on_BTN_FirmwareFile_clicked();
    void on_BTN_DateHeureMAJ_clicked();
    void on_BTN_TestC1_clicked();
    void on_BTN_TestC2_clicked();
    void on_BTN_BadgeRead_clicked();
    void on_BTN_BadgeWrite_clicked();
    void on_BTN_BadgeCreate_clicked();
    void on_BTN_TransactionDebit_clicked();
    void on_BTN_TransactionCredit_clicked();
    void on_BTN_BlackListNew_clicked();
    void on_BTN_BlackListDelete_clicked();
    void on_BTN_BlackListWriteToSupport_clicked();
    void on_BTN_BlackListWriteToFile_clicked();
    void on_BTN_ReaderRead_clicked();
    void on_BTN_ReaderDecrement_clicked();
    void on_BTN_ReaderWrite_clicked();
    void on_BTN_ReaderIncrement_clicked();
    void on_BTN_TraillerRead_clicked();
    void on_BTN_ComReaderFind_clicked();
    void on_BTN_TraillerWrite_clicked();
    void on_BTN_TraillerDefault_clicked();
    void on_BTN_BadgeFormat_clicked();
    void on_BTN_CardDump_clicked() { m_card->DumpClicked(); }
    void on_BTN_CardCancel_clicked() { m_card->CancelClicked(); }
    void on_BTN_CardRestore_clicked() { m_card->RestoreClicked(); }
    void on_BTN_CardCompare_clicked() { m_card->CompareClicked(); }
    void on_BTN_CardSave_clicked() { m_card->SaveClicked(); }
    void on_BTN_CardLoad_clicked() { m_card->LoadClicked(); }
    void on_BTN_KeyFileLoad_clicked() { m_card->KeyFileLoadClicked(); }
    void on_BTN_BlackListReadFromSupport_clicked();
    void on_BTN_BlackListReadFromFile_clicked();
    void on_BTN_ZonesSave_clicked();
    void on_CBOX_GroupList_currentIndexChanged(int index);
    void on_COMBO_Profil_currentIndexChanged(int index);
    void on_CHECKBOX_ZonesStateChanged(int state);
    void on_pushButton_clicked();
    void on_BTN_GroupNew_clicked();
    void on_BTN_GroupSave_clicked();
    void on_LE_Group_textChanged(QString arg1);
    void on_CBOX_GroupList_editTextChanged(QString arg1);
    void on_BTN_GroupDelete_clicked();
    void on_ONG_Main_currentChanged(int index);
    void on_BTN_BlackListReadFromReader_clicked();
    void on_BTN_ZonesSendToReader_clicked();
    void DebugShow(QString s);
    void ComStatusShow(QString s);
    void ComDataProcess(unsigned int Id, unsigned int Arg1, const QString& s);
    void PortLost(QString port, bool wasPolling);

private:
    void tabsCreate();
    void configLoad();
    void linkState();
    void sessionRestore(const SessionState& state);
    void sessionSave();

    // Declared first so that it is destroyed last: its destructor stops the
    // worker thread before anything the worker's signals reach goes away.
    QProtocole m_protocole;
    ProtocoleLink m_link{m_protocole};
    ChainGuard m_chains;
    CFILE_INI m_configIni;
    CZONE m_zones[ZONE_COUNT];
    QList<CGROUP*> m_groups;
    QString m_workingDirectory;
    QString m_extraPort;
    SessionSettings m_session;
    Ui::MainWindow* ui = nullptr;
    ResultRouter m_router;
    std::unique_ptr<BadgeTab> m_badge;
    std::unique_ptr<ExpertTab> m_expert;
    std::unique_ptr<CardView> m_card;
    std::unique_ptr<ReaderConfigTab> m_readerConfig;
    std::unique_ptr<BlacklistTab> m_blacklist;
    std::unique_ptr<AccessTab> m_access;
    std::unique_ptr<PortRow> m_portRow;
};

#endif // MAINWINDOW_H
