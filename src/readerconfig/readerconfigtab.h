#ifndef READERCONFIGTAB_H
#define READERCONFIGTAB_H

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ChainGuard;
class ParameterTransfer;
class ParameterTree;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class ReaderLink;
class ResultRouter;

// The file dialogs the tab opens; replaceable so that its flows run without a
// person at the screen.
enum class FileDialogKind
{
    Open,
    Save
};
using FileDialogFunction = std::function<QString(FileDialogKind kind, const QString& caption,
                                                 const QString& dir, const QString& filter)>;

// The dialogs that remember where their last file was chosen.
enum class DialogFolder
{
    Config,
    Firmware
};

// The "Lecteur" and "Tests" tabs: the parameter tree and its transfer,
// configuration files, the clock update, output tests and the firmware file.
class ReaderConfigTab : public QObject
{
    Q_OBJECT

public:
    // window parents the message boxes; dialogs opens the file dialogs;
    // folder gives the folder the dialogs start in.
    ReaderConfigTab(QWidget* window, ReaderLink& link, ChainGuard& guard, FileDialogFunction dialogs,
                    std::function<QString()> folder);
    ~ReaderConfigTab() override;

    ParameterTree& Params() { return *m_params; }
    ParameterTransfer& Transfer() { return *m_transfer; }

    void ItemChanged(QTreeWidgetItem* item, int column);
    void ShowAllColumns();
    void ReadAll();
    void WriteModified();
    void FileSelect();
    void FileSave();
    void FileLoad();
    void FirmwareFileSelect();
    void ClockUpdate();
    void OutputTest(int output);

    // Where the last file of that dialog was chosen; empty: none yet. The dialog starts there.
    QString LastFolder(DialogFolder dialog) const;
    void SetLastFolder(DialogFolder dialog, const QString& folder);

    void RegisterResults(ResultRouter& router);

private:
    bool refusedWhileRunning();
    void saveButtonsEnable();
    // The dialog's last folder, else fallback.
    QString startFolder(DialogFolder dialog, const QString& fallback) const;
    // A file chosen (not a cancelled dialog) makes its folder the next start.
    QString remembered(DialogFolder dialog, const QString& chosen);

    QWidget* m_window;
    ReaderLink& m_link;
    FileDialogFunction m_dialogs;
    std::function<QString()> m_folder;
    QString m_lastFolders[2];
    std::unique_ptr<ParameterTree> m_params;
    std::unique_ptr<ParameterTransfer> m_transfer;
    QTreeWidget* m_tree;
    QLineEdit* m_status;
    QLineEdit* m_fileName;
    QLineEdit* m_testStatus;
    QLineEdit* m_testDuration;
    QPushButton* m_configSave;
    QPushButton* m_fileSave;
};

#endif // READERCONFIGTAB_H
