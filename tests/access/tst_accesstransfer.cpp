#include <QtTest>

#include "access/accesstransfer.h"
#include "access/groups.h"

namespace {

// Group 0 grants zones 2 and 11, group 1 zone 0; group 2 grants nothing.
void ExampleGroups(QList<CGROUP*>* groups)
{
    CGROUP* first = GroupAdd(groups, "Personnel", 4);
    first->Rules[2] = {true, 1, 3, 9, 10};
    first->Rules[11] = {true, 2, 0, 0, 0};
    first->Rules[5].Counter = 7; // no access: not sent
    CGROUP* second = GroupAdd(groups, "Visiteurs", 9);
    second->Rules[0] = {true, 0, 5, 0, 0};
    GroupAdd(groups, "Vide", 2);
}

} // namespace

class TstAccessTransfer : public QObject
{
    Q_OBJECT

private slots:
    void records()
    {
        QList<CGROUP*> groups;
        unsigned int group = 0;
        unsigned int zone = 0;
        QString record;
        QVERIFY(!AccessRecordNext(&groups, &group, &zone, &record));

        ExampleGroups(&groups);
        QStringList walked;
        while (AccessRecordNext(&groups, &group, &zone, &record))
            walked << record;
        QCOMPARE(walked, (QStringList{"Zid=2;Grp=0;Cpt=1;Apb=3", "Zid=11;Grp=0;Cpt=2;Apb=0",
                                      "Zid=0;Grp=1;Cpt=0;Apb=5"}));
        QCOMPARE(group, 3u);
        QCOMPARE(AccessRecordCount(&groups), 3);
        qDeleteAll(groups);
    }
};

QTEST_MAIN(TstAccessTransfer)
#include "tst_accesstransfer.moc"
