#include "blacklist/blacklisttab.h"

#include <QDir>
#include <QLineEdit>
#include <QTableWidget>

#include "blacklist/tablerows.h"
#include "blacklist/ttablefile.h"

void BlacklistTableSetup(QTableWidget* table)
{
    table->setSortingEnabled(false);
    table->setRowCount(0);
    table->setColumnCount(5);
    table->setHorizontalHeaderLabels(
        QStringLiteral("Date;Uid;Utilisateur;Groupe;Raison").split(QLatin1Char(';')));
}

QString BlacklistFilePath(const QString& workingDirectory)
{
    return QDir(workingDirectory).filePath(QStringLiteral("listenoire.txt"));
}

void BlacklistRowNew(QTableWidget* table, QLineEdit* status, const QDate& today)
{
    TableRowAppend(table);
    TableCellSet(table, table->rowCount() - 1, 0, today.toString(QStringLiteral("dd/MM/yy")));
    status->setText(QStringLiteral("Ligne insérée, saisir le numéro de goupe ou d'utilisateur"));
}

void BlacklistRowDelete(QTableWidget* table, QLineEdit* status)
{
    if (TableRowDeleteSelected(table) == -1)
        status->setText(QStringLiteral("sélectionnez une ligne auparavant"));
    else
        status->setText(QStringLiteral("Ligne supprimée"));
}

bool BlacklistFileSave(QTableWidget* table, QLineEdit* status, const QString& fileName)
{
    status->setText(QStringLiteral("Enregistrement liste noire..."));
    const bool ok = TTableFile::TableSave(table, fileName);
    status->setText(ok ? QStringLiteral("Enregistrement liste noire->OK")
                       : QStringLiteral("Enregistrement liste noire->ECHEC"));
    return ok;
}

bool BlacklistFileLoad(QTableWidget* table, QLineEdit* status, const QString& fileName)
{
    status->setText(QStringLiteral("Chargement liste noire..."));
    TableClear(table);
    const bool ok = TTableFile::TableLoad(table, fileName);
    status->setText(ok ? QStringLiteral("Chargement liste noire->OK")
                       : QStringLiteral("Chargement liste noire->ECHEC"));
    return ok;
}
