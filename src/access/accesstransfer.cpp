#include "access/accesstransfer.h"

#include <QCoreApplication>
#include <QTableWidget>

#include "access/groups.h"
#include "blacklist/tablerows.h"

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

namespace {

// Built per transfer: the texts follow the translator installed at start.
ReaderFileTransfer::Texts accessTexts()
{
    return {
        QCoreApplication::translate("AccessTransfer", "Access Put"),
        QCoreApplication::translate("AccessTransfer", "access Get"),
        QCoreApplication::translate("AccessTransfer", "Access effacement->échec"),
        QCoreApplication::translate("AccessTransfer", "Access effacement->OK"),
        QCoreApplication::translate("AccessTransfer", "Access Aucun liste à envoyer"),
        QCoreApplication::translate("AccessTransfer", "Access Add->ECHEC"),
        QCoreApplication::translate("AccessTransfer", "Access Add->OK"),
        QCoreApplication::translate("AccessTransfer", "Access Add->FIN"),
        QCoreApplication::translate("AccessTransfer", "Access Add->CMD ERREUR"),
        QCoreApplication::translate("AccessTransfer", "Access Get->OK"),
        "ARG_FILE_ACCESS_CLEAR_RESULT",
        "ARG_FILE_ACCESS_ADD_RESULT",
        "ARG_FILE_ACCESS_GET_RESULT",
        "Access Value:%s",
    };
}

} // namespace

AccessTransfer::AccessTransfer(ReaderLink& link, ChainGuard& guard, const QList<CGROUP*>* groups,
                               QTableWidget* table, QObject* parent)
    : ReaderFileTransfer(link, guard, ReaderFile::Access, accessTexts(), parent), m_groups(groups),
      m_table(table)
{
}

int AccessTransfer::RecordCount() const
{
    return AccessRecordCount(m_groups);
}

bool AccessTransfer::RecordFirst(QString* record)
{
    m_group = 0;
    m_zone = 0;
    return RecordNext(record);
}

bool AccessTransfer::RecordNext(QString* record)
{
    return AccessRecordNext(m_groups, &m_group, &m_zone, record);
}

void AccessTransfer::ReadBegin()
{
    TableClear(m_table);
}

void AccessTransfer::RecordReceived(const QString& record)
{
    TableRecordAppend(m_table, record,
                      {{"Grp", 3, "Access Grp:%s"},
                       {"Zid", 2, "Access Usr:%s"},
                       {"Cpt", 4, "Access Usr:%s"},
                       {"Apb", 1, "Access Usr:%s"}});
}
