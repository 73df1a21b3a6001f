#ifndef BLACKLISTTAB_H
#define BLACKLISTTAB_H

#include <QDate>
#include <QString>

class QLineEdit;
class QTableWidget;

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

#endif // BLACKLISTTAB_H
