#include "access/accesstransfer.h"

#include <QTableWidget>

#include "access/groups.h"
#include "blacklist/tablerows.h"
#include "commun/vrltoolbox.h"

bool AccessRecordNext(const QList<CGROUP*>* groups, unsigned int* group, unsigned int* zone, QString* record)
{
    for (; *group < static_cast<unsigned int>(groups->size()); ++*group, *zone = 0) {
        const CGROUP* current = groups->at(static_cast<int>(*group));
        for (; *zone < static_cast<unsigned int>(ZONE_COUNT); ++*zone) {
            const CZONE_RULE& rule = current->Rules[*zone];
            if (!rule.Access)
                continue;
            *record = QStringLiteral("Zid=%1;Grp=%2;Cpt=%3;Apb=%4")
                          .arg(*zone)
                          .arg(*group)
                          .arg(rule.Counter)
                          .arg(rule.Antipassback);
            if (++*zone == static_cast<unsigned int>(ZONE_COUNT)) {
                *zone = 0;
                ++*group;
            }
            return true;
        }
    }
    return false;
}

int AccessRecordCount(const QList<CGROUP*>* groups)
{
    int count = 0;
    for (const CGROUP* group : *groups)
        for (const CZONE_RULE& rule : group->Rules)
            count += rule.Access ? 1 : 0;
    return count;
}

AccessTransfer::AccessTransfer(QProtocole* link, const QList<CGROUP*>* groups, QTableWidget* table,
                               QLineEdit* status, QObject* parent)
    : CommandChain(link, status, parent), m_groups(groups), m_table(table)
{
}

bool AccessTransfer::SendToReader()
{
    if (!Begin(QStringLiteral("Access Put"), AccessRecordCount(m_groups)))
        return false;
    m_group = 0;
    m_zone = 0;
    if (!Send(ReaderCommands::fileClear(ReaderFile::Access))) {
        Finish(QStringLiteral("Access effacement->échec"));
        return false;
    }
    return true;
}

bool AccessTransfer::ReadFromReader()
{
    if (!Begin(QStringLiteral("access Get"), -1))
        return false;
    TableClear(m_table);
    m_readPosition = 0;
    return GetSend();
}

void AccessTransfer::OnClearResult()
{
    qDebug("ARG_FILE_ACCESS_CLEAR_RESULT");
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Collect(&isOk, &status, &text))
        return;
    if (!isOk || status != '0') {
        Finish(QStringLiteral("Access effacement->échec"));
        return;
    }
    StatusSet(QStringLiteral("Access effacement->OK"));
    qDebug("LECTURE DU BADGE");
    AddNext(QStringLiteral("Access Aucun liste à envoyer"));
}

void AccessTransfer::OnAddResult()
{
    qDebug("ARG_FILE_ACCESS_ADD_RESULT");
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Collect(&isOk, &status, &text))
        return;
    if (!isOk || status != '0') {
        Finish(QStringLiteral("Access Add->ECHEC"));
        return;
    }
    StepDone();
    StatusSet(QStringLiteral("Access Add->OK"));
    AddNext(QStringLiteral("Access Add->FIN"));
}

void AccessTransfer::OnGetResult()
{
    qDebug("ARG_FILE_ACCESS_GET_RESULT");
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Collect(&isOk, &status, &text))
        return;
    if (!isOk) {
        Finish(QStringLiteral("Access Add->CMD ERREUR"));
        return;
    }
    qDebug("CMD : %c", status);
    if (status != '0') {
        Finish(QStringLiteral("Access Add->FIN"));
        return;
    }
    qDebug("Access Value:%s", qUtf8Printable(text));
    StatusSet(QStringLiteral("Access Get->OK"));
    TableRowAppend(m_table);
    const int row = m_table->rowCount() - 1;
    struct Field
    {
        const char* key;
        int column;
        const char* trace;
    };
    static const Field fields[] = {{"Grp", 3, "Access Grp:%s"},
                                   {"Zid", 2, "Access Usr:%s"},
                                   {"Cpt", 4, "Access Usr:%s"},
                                   {"Apb", 1, "Access Usr:%s"}};
    for (const Field& field : fields) {
        bool found = false;
        const QString value = VRLTBSTR_ValueGet(&found, text, QLatin1String(field.key), QLatin1Char(';'),
                                                QLatin1Char('='), QString());
        if (!found)
            continue;
        TableCellSet(m_table, row, field.column, value);
        qDebug(field.trace, qUtf8Printable(value));
    }
    StepDone();
    ++m_readPosition;
    GetSend();
}

void AccessTransfer::AddNext(const QString& noneText)
{
    QString record;
    if (!AccessRecordNext(m_groups, &m_group, &m_zone, &record)) {
        Finish(noneText);
        return;
    }
    if (!Send(ReaderCommands::fileAdd(ReaderFile::Access, record)))
        Finish(QStringLiteral("Access Add->ECHEC"));
}

bool AccessTransfer::GetSend()
{
    if (Send(ReaderCommands::fileGet(ReaderFile::Access, m_readPosition)))
        return true;
    Finish(QStringLiteral("Access Add->CMD ERREUR"));
    return false;
}
