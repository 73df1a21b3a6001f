#include <QProgressBar>
#include <QtTest>

#include "access/accesstransfer.h"
#include "access/groups.h"
#include "transferbench.h"

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

struct Bench : TransferBench<AccessTransfer>
{
    QList<CGROUP*> groups;

    Bench()
        : TransferBench(ARG_FILE_ACCESS_CLEAR_RESULT, ARG_FILE_ACCESS_ADD_RESULT, ARG_FILE_ACCESS_GET_RESULT,
                        &groups)
    {
    }
    ~Bench() { qDeleteAll(groups); }
};

} // namespace

class TstAccessTransfer : public QObject
{
    Q_OBJECT

private slots:
    // statuses: the reader's answer to the clear, then to each add until it refuses one.
    void upload_data()
    {
        QTest::addColumn<bool>("withAccess");
        QTest::addColumn<QByteArray>("statuses");
        QTest::addColumn<int>("sentCount");
        QTest::addColumn<QString>("end");
        QTest::newRow("two groups") << true << QByteArray("0") << 4 << "Access Add->FIN";
        QTest::newRow("no access") << false << QByteArray("0") << 1 << "Access Aucun liste à envoyer";
        QTest::newRow("clear refused") << true << QByteArray("1") << 1 << "Access effacement->échec";
        QTest::newRow("add refused") << true << QByteArray("01") << 2 << "Access Add->ECHEC";
    }

    void upload()
    {
        QFETCH(bool, withAccess);
        QFETCH(QByteArray, statuses);
        QFETCH(int, sentCount);
        QFETCH(QString, end);
        const QStringList all = withAccess ? QStringList{"FC Fil=18", "FA Fil=18;Zid=2;Grp=0;Cpt=1;Apb=3",
                                                         "FA Fil=18;Zid=11;Grp=0;Cpt=2;Apb=0",
                                                         "FA Fil=18;Zid=0;Grp=1;Cpt=0;Apb=5"}
                                           : QStringList{"FC Fil=18"};
        Bench b;
        if (withAccess)
            ExampleGroups(&b.groups);
        else
            GroupAdd(&b.groups, "Vide", 1);
        b.fileAnswers(statuses);
        QVERIFY(b.open());
        QVERIFY(b.transfer.SendToReader());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), end);
        QCOMPARE(b.reader.requestTexts(), all.mid(0, sentCount));

        // A new press starts over with a clear and the first record.
        QProgressBar bar;
        b.transfer.ProgressBarAttach(&bar);
        QSignalSpy progress(&b.transfer, &CommandChain::SIG_Progress);
        QVERIFY(b.transfer.SendToReader());
        QVERIFY(!bar.isHidden());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), withAccess ? QStringLiteral("Access Add->FIN") : end);
        QCOMPARE(b.reader.requestTexts().mid(sentCount), all);
        QCOMPARE(b.transfer.Done(), all.size() - 1);
        QCOMPARE(progress.last(), (QVariantList{all.size() - 1, all.size() - 1}));
        QVERIFY(bar.isHidden());
    }

    void readBack_data()
    {
        QTest::addColumn<QList<QByteArray>>("records");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("two records") << QList<QByteArray>{"Zid=3;Grp=0;Cpt=2;Apb=1", "Zid=11;Grp=1"}
                                     << QList<QStringList>{{"", "1", "3", "0", "2"}, {"", "", "11", "1", ""}};
        QTest::newRow("empty file") << QList<QByteArray>{} << QList<QStringList>{};
    }

    void readBack()
    {
        QFETCH(QList<QByteArray>, records);
        QFETCH(QList<QStringList>, rows);
        Bench b;
        QVERIFY(b.open());
        TableRowAppend(&b.table);
        b.reader.setHandler(FakeReader::fileRecords(records));
        QVERIFY(b.transfer.ReadFromReader());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("Access Add->FIN"));
        QCOMPARE(b.reader.requestCount(), records.size() + 1);
        QCOMPARE(b.reader.requestTexts().last(), QStringLiteral("FG Fil=18;Pos=%1").arg(records.size()));
        QCOMPARE(TableTexts(&b.table), rows);
        QCOMPARE(b.table.horizontalHeaderItem(2)->text(), QStringLiteral("Utilisateur"));
    }
};

QTEST_MAIN(TstAccessTransfer)
#include "tst_accesstransfer.moc"
