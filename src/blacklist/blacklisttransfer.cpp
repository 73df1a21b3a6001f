#include "blacklist/blacklisttransfer.h"

#include <QDate>
#include <QRegularExpression>
#include <QTableWidget>

#include "blacklist/tablerows.h"
#include "commun/vrltoolbox.h"

namespace {

// "dd/MM/yy" as "yyMMdd"; two-digit years are taken in 2000-2099 so that
// 29/02/00 is the leap day it is.
QString BlacklistDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d\\d)/(\\d\\d)/(\\d\\d)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return QString();
    const QDate date(2000 + match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
    return date.isValid() ? date.toString(QStringLiteral("yyMMdd")) : QString();
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

BlacklistTransfer::BlacklistTransfer(QProtocole* link, QTableWidget* table, QLineEdit* status,
                                     QObject* parent)
    : CommandChain(link, status, parent), m_table(table)
{
}

bool BlacklistTransfer::WriteToSupport()
{
    if (!Begin(QStringLiteral("LN Put"), m_table->rowCount()))
        return false;
    if (!Send(ReaderCommands::fileClear(ReaderFile::Blacklist))) {
        Finish(QStringLiteral("LN effacement->échec"));
        return false;
    }
    return true;
}

bool BlacklistTransfer::ReadFromSupport()
{
    if (!Begin(QStringLiteral("LN Get"), -1))
        return false;
    TableClear(m_table);
    m_readPosition = 0;
    return GetSend(QStringLiteral("LN Add->CMD ERREUR"));
}

void BlacklistTransfer::OnClearResult()
{
    qDebug("ARG_FILE_LN_CLEAR_RESULT");
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Collect(&isOk, &status, &text))
        return;
    if (!isOk || status != '0') {
        Finish(QStringLiteral("LN effacement->échec"));
        return;
    }
    StatusSet(QStringLiteral("LN effacement->OK"));
    qDebug("LECTURE DU BADGE");
    QString record;
    if (!TableRecordFirst(m_table, &m_rowCursor, BlacklistRecordBuild, &record)) {
        Finish(QStringLiteral("LN Aucun liste à envoyer11"));
        return;
    }
    AddSend(record, QStringLiteral("LN Add->ECHEC"));
}

void BlacklistTransfer::OnAddResult()
{
    qDebug("ARG_FILE_LN_ADD_RESULT");
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Collect(&isOk, &status, &text))
        return;
    if (!isOk || status != '0') {
        Finish(QStringLiteral("LN Add->ECHEC"));
        return;
    }
    StepDone();
    StatusSet(QStringLiteral("LN Add->OK"));
    QString record;
    if (!TableRecordNext(m_table, &m_rowCursor, BlacklistRecordBuild, &record)) {
        Finish(QStringLiteral("LN Add->FIN"));
        return;
    }
    AddSend(record, QStringLiteral("LN Add->ECHEC"));
}

void BlacklistTransfer::OnGetResult()
{
    qDebug("ARG_FILE_LN_GET_RESULT");
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Collect(&isOk, &status, &text))
        return;
    if (!isOk) {
        Finish(QStringLiteral("LN Add->CMD ERREUR"));
        return;
    }
    qDebug("CMD : %c", status);
    if (status != '0') {
        Finish(QStringLiteral("LN Add->FIN"));
        return;
    }
    qDebug("BL Value:%s", qUtf8Printable(text));
    StatusSet(QStringLiteral("LN Get->OK"));
    TableRowAppend(m_table);
    const int row = m_table->rowCount() - 1;
    bool found = false;
    const QString group =
        VRLTBSTR_ValueGet(&found, text, QStringLiteral("Grp"), QLatin1Char(';'), QLatin1Char('='), QString());
    if (found) {
        TableCellSet(m_table, row, 3, group);
        qDebug("BL Grp:%s", qUtf8Printable(group));
    }
    const QString user =
        VRLTBSTR_ValueGet(&found, text, QStringLiteral("Usr"), QLatin1Char(';'), QLatin1Char('='), QString());
    if (found) {
        TableCellSet(m_table, row, 2, user);
        qDebug("BL Usr:%s", qUtf8Printable(user));
    }
    StepDone();
    ++m_readPosition;
    GetSend(QStringLiteral("LN Add->CMD ERREUR"));
}

bool BlacklistTransfer::AddSend(const QString& record, const QString& failText)
{
    TotalSet(m_table->rowCount());
    if (Send(ReaderCommands::fileAdd(ReaderFile::Blacklist, record)))
        return true;
    Finish(failText);
    return false;
}

bool BlacklistTransfer::GetSend(const QString& failText)
{
    if (Send(ReaderCommands::fileGet(ReaderFile::Blacklist, m_readPosition)))
        return true;
    Finish(failText);
    return false;
}
