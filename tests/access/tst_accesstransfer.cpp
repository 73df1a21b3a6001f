#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include "access/accesstransfer.h"
#include "access/groups.h"
#include "blacklist/blacklisttab.h"
#include "blacklist/tablerows.h"
#include "fakereader.h"
#include "link/qprotocole.h"
#include "linkrecorder.h"
#include "ptypair.h"

namespace {

QStringList Payloads(const QList<ReaderRequest>& requests)
{
    QStringList payloads;
    for (const ReaderRequest& request : requests)
        payloads << QString(request.letter) + request.subLetter + ' ' + QString::fromUtf8(request.payload);
    return payloads;
}

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

// The two tabs over a link to a scripted reader, with the window's routing of results 26, 27 and 28.
struct Bench
{
    PtyPair pty;
    FakeReader reader{pty};
    QProtocole link;
    LinkRecorder rec{&link};
    QList<CGROUP*> groups;
    QTableWidget table;
    QLineEdit status;
    AccessTransfer transfer{&link, &groups, &table, &status};

    Bench()
    {
        BlacklistTableSetup(&table);
        QObject::connect(&link, &QProtocole::SIG_Data, &transfer,
                         [this](unsigned int id, unsigned int arg1, QString) {
                             if (id != 2)
                                 return;
                             if (arg1 == ARG_FILE_ACCESS_CLEAR_RESULT)
                                 transfer.OnClearResult();
                             else if (arg1 == ARG_FILE_ACCESS_ADD_RESULT)
                                 transfer.OnAddResult();
                             else if (arg1 == ARG_FILE_ACCESS_GET_RESULT)
                                 transfer.OnGetResult();
                         });
        link.start();
        link.SetPortName(pty.slavePath());
        link.SetConnectionRequest(1);
    }
    ~Bench() { qDeleteAll(groups); }

    bool open() { return rec.waitForData(2, ARG_LINK_STATE) && link.Connected; }
    bool idle()
    {
        return rec.waitFor([this] { return !transfer.IsRunning(); }, 15000);
    }
};

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

    void upload_data()
    {
        QTest::addColumn<bool>("withAccess");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("end");
        QTest::newRow("two groups") << true
                                    << QStringList{"FC Fil=18", "FA Fil=18;Zid=2;Grp=0;Cpt=1;Apb=3",
                                                   "FA Fil=18;Zid=11;Grp=0;Cpt=2;Apb=0",
                                                   "FA Fil=18;Zid=0;Grp=1;Cpt=0;Apb=5"}
                                    << "Access Add->FIN";
        QTest::newRow("no access") << false << QStringList{"FC Fil=18"} << "Access Aucun liste à envoyer";
    }

    void upload()
    {
        QFETCH(bool, withAccess);
        QFETCH(QStringList, sent);
        QFETCH(QString, end);
        Bench b;
        if (withAccess)
            ExampleGroups(&b.groups);
        else
            GroupAdd(&b.groups, "Vide", 1);
        b.reader.answerAlways('F', 'C', '0');
        b.reader.answerAlways('F', 'A', '0');
        QVERIFY(b.open());
        QVERIFY(b.transfer.SendToReader());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), end);
        QCOMPARE(Payloads(b.reader.requests()), sent);
        QCOMPARE(b.transfer.Done(), sent.size() - 1);
    }

    void uploadFailures()
    {
        Bench b;
        ExampleGroups(&b.groups);
        QVERIFY(b.open());
        b.reader.answer('F', 'C', '1');
        QVERIFY(b.transfer.SendToReader());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("Access effacement->échec"));

        b.reader.answer('F', 'C', '0');
        b.reader.answer('F', 'A', '1');
        QVERIFY(b.transfer.SendToReader());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("Access Add->ECHEC"));
        // A new press starts over with a clear and the first record.
        b.reader.answerAlways('F', 'C', '0');
        b.reader.answerAlways('F', 'A', '0');
        QVERIFY(b.transfer.SendToReader());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("Access Add->FIN"));
        QCOMPARE(Payloads(b.reader.requests()).mid(3, 2),
                 (QStringList{"FC Fil=18", "FA Fil=18;Zid=2;Grp=0;Cpt=1;Apb=3"}));
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
        b.reader.setHandler([records](const ReaderRequest& request) {
            const int position = request.payload.mid(request.payload.indexOf("Pos=") + 4).toInt();
            return position < records.size() ? FakeReader::frame('F', '0', records.at(position))
                                             : FakeReader::frame('F', '1');
        });
        QVERIFY(b.transfer.ReadFromReader());
        QVERIFY(b.idle());
        QCOMPARE(b.status.text(), QStringLiteral("Access Add->FIN"));
        QCOMPARE(b.reader.requestCount(), records.size() + 1);
        QCOMPARE(QString::fromUtf8(b.reader.requests().last().payload),
                 QStringLiteral("Fil=18;Pos=%1").arg(records.size()));
        QCOMPARE(b.table.rowCount(), rows.size());
        for (int row = 0; row < rows.size(); ++row)
            for (int column = 0; column < 5; ++column)
                QCOMPARE(TableCellText(&b.table, row, column), rows.at(row).at(column));
        QCOMPARE(b.table.horizontalHeaderItem(2)->text(), QStringLiteral("Utilisateur"));
    }
};

QTEST_MAIN(TstAccessTransfer)
#include "tst_accesstransfer.moc"
