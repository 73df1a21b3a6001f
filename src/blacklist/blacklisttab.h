#ifndef BLACKLISTTAB_H
#define BLACKLISTTAB_H

#include <QDate>
#include <QString>

#include <memory>

class BlacklistTransfer;
class ChainGuard;
class QLineEdit;
class QTableWidget;
class QWidget;
class ReaderLink;
class ResultRouter;

// What the "Liste noire" tab's table and file buttons do; the window's slots
// hand over TABLE_BlackList, SAI_BlackListStatus and the file path.

// Five columns "Date;Uid;Utilisateur;Groupe;Raison", no row, no sorting.
void BlacklistTableSetup(QTableWidget* table);
// listenoire.txt inside the working directory.
QString BlacklistFilePath(const QString& workingDirectory);

void BlacklistRowNew(QTableWidget* table, QLineEdit* status, const QDate& today = QDate::currentDate());
void BlacklistRowDelete(QTableWidget* table, QLineEdit* status);
bool BlacklistFileSave(QTableWidget* table, QLineEdit* status, const QString& fileName);
bool BlacklistFileLoad(QTableWidget* table, QLineEdit* status, const QString& fileName);

// The "Liste noire" tab: its table, listenoire.txt, and the blacklist transfer
// to and from the reader.
class BlacklistTab
{
public:
    // folder: where listenoire.txt lives.
    BlacklistTab(QWidget* form, ReaderLink& link, ChainGuard& guard, QString folder);
    ~BlacklistTab();

    BlacklistTransfer& Transfer() { return *m_transfer; }

    void RowNew();
    void RowDelete();
    void FileSave();
    void FileLoad();
    void WriteToSupport();
    void ReadFromSupport();

    void RegisterResults(ResultRouter& router);

private:
    QString filePath() const;

    QTableWidget* m_table;
    QLineEdit* m_status;
    QString m_folder;
    std::unique_ptr<BlacklistTransfer> m_transfer;
};

#endif // BLACKLISTTAB_H
