#ifndef ACCESSTRANSFER_H
#define ACCESSTRANSFER_H

#include <QList>
#include <QString>

#include "transfer/readerfiletransfer.h"

class CGROUP;
class QTableWidget;

// "Zid=z;Grp=g;Cpt=..;Apb=.." for the first rule with access at or after the
// cursor (group index, zone index), walking groups in list order then zones;
// the cursor then points past it. False when no rule with access is left.
bool AccessRecordNext(const QList<CGROUP*>* groups, unsigned int* group, unsigned int* zone, QString* record);
// Number of records AccessRecordNext yields from the start.
int AccessRecordCount(const QList<CGROUP*>* groups);

// Sends the groups' access rules to the reader's file 18 (clear, then one add
// per rule with access) and reads that file back into the blacklist table.
// The window's router calls OnClearResult, OnAddResult and OnGetResult for
// results 26, 27 and 28.
class AccessTransfer : public ReaderFileTransfer
{
    Q_OBJECT

public:
    AccessTransfer(ReaderLink& link, ChainGuard& guard, const QList<CGROUP*>* groups, QTableWidget* table,
                   QObject* parent = nullptr);

    bool SendToReader() { return Put(); }
    bool ReadFromReader() { return Get(); }

protected:
    int RecordCount() const override;
    bool RecordFirst(QString* record) override;
    bool RecordNext(QString* record) override;
    void ReadBegin() override;
    void RecordReceived(const QString& record) override;

private:
    const QList<CGROUP*>* m_groups;
    QTableWidget* m_table;
    unsigned int m_group = 0;
    unsigned int m_zone = 0;
};

#endif // ACCESSTRANSFER_H
