#include "blacklist/blacklisttransfer.h"

#include <QCoreApplication>
#include <QDate>
#include <QTableWidget>

#include "blacklist/tablerows.h"
#include "commun/shortdate.h"

namespace {

// "dd/MM/yy" as "yyMMdd"; empty when the cell is not such a date.
QString BlacklistDate(const QString& text)
{
    const QDate date = ShortDateRead(text);
    return date.isValid() ? date.toString(QStringLiteral("yyMMdd")) : QString();
}

// Built per transfer: the texts follow the translator installed at start.
ReaderFileTransfer::Texts blacklistTexts()
{
    return {
        QCoreApplication::translate("BlacklistTransfer", "LN Put"),
        QCoreApplication::translate("BlacklistTransfer", "LN Get"),
        QCoreApplication::translate("BlacklistTransfer", "LN effacement->échec"),
        QCoreApplication::translate("BlacklistTransfer", "LN effacement->OK"),
        QCoreApplication::translate("BlacklistTransfer", "LN Aucun liste à envoyer11"),
        QCoreApplication::translate("BlacklistTransfer", "LN Add->ECHEC"),
        QCoreApplication::translate("BlacklistTransfer", "LN Add->OK"),
        QCoreApplication::translate("BlacklistTransfer", "LN Add->FIN"),
        QCoreApplication::translate("BlacklistTransfer", "LN Add->CMD ERREUR"),
        QCoreApplication::translate("BlacklistTransfer", "LN Get->OK"),
        "ARG_FILE_LN_CLEAR_RESULT",
        "ARG_FILE_LN_ADD_RESULT",
        "ARG_FILE_LN_GET_RESULT",
        "BL Value:%s",
    };
}

} // namespace

bool BlacklistRecordBuild(QTableWidget* table, int row, QString* record)
{
    *record = QStringLiteral("Cda=") + BlacklistDate(TableCellText(table, row, 0)) + QStringLiteral(";UID=") +
              TableCellText(table, row, 1) + QStringLiteral(";Usr=") + TableCellText(table, row, 2) +
              QStringLiteral(";Grp=") + TableCellText(table, row, 3);
    return true;
}

bool TableRecordFirst(QTableWidget* table, unsigned int* cursor, TableRecordBuilder builder, QString* record)
{
    *cursor = 0;
    if (table->rowCount() <= 0)
        return false;
    return builder(table, 0, record);
}

bool TableRecordNext(QTableWidget* table, unsigned int* cursor, TableRecordBuilder builder, QString* record)
{
    ++*cursor;
    if (*cursor >= static_cast<unsigned int>(qMax(table->rowCount(), 0)))
        return false;
    return builder(table, static_cast<int>(*cursor), record);
}

BlacklistTransfer::BlacklistTransfer(ReaderLink& link, ChainGuard& guard, QTableWidget* table,
                                     QObject* parent)
    : ReaderFileTransfer(link, guard, ReaderFile::Blacklist, blacklistTexts(), parent), m_table(table)
{
}

int BlacklistTransfer::RecordCount() const
{
    return m_table->rowCount();
}

bool BlacklistTransfer::RecordFirst(QString* record)
{
    return TableRecordFirst(m_table, &m_rowCursor, BlacklistRecordBuild, record);
}

bool BlacklistTransfer::RecordNext(QString* record)
{
    return TableRecordNext(m_table, &m_rowCursor, BlacklistRecordBuild, record);
}

void BlacklistTransfer::ReadBegin()
{
    TableClear(m_table);
}

void BlacklistTransfer::RecordReceived(const QString& record)
{
    TableRecordAppend(m_table, record, {{"Grp", 3, "BL Grp:%s"}, {"Usr", 2, "BL Usr:%s"}});
}
