#include <QProgressBar>
#include <QSignalSpy>
#include <QtTest>

#include "access/accesstransfer.h"
#include "access/groups.h"
#include "blacklist/blacklisttab.h"
#include "blacklist/blacklisttransfer.h"
#include "fakelink.h"
#include "link/argids.h"
#include "tabletexts.h"
#include "transfer/chainguard.h"
#include "transfer/chainview.h"

namespace {

// The reader answers the status characters of script in turn ('T': no answer in time),
// then "0"; a get at a position past records answers "1".
FakeLink::Reader Script(const QByteArray& script, const QStringList& records = {})
{
    return [script, records](const FakeLink::Request& r, int index) {
        FakeLink::Answer answer;
        const char status = index < script.size() ? script.at(index) : '0';
        answer.isOk = status != 'T';
        answer.status = status;
        if (r.subLetter == 'G') {
            const int position = r.payload.section("Pos=", 1).toInt();
            answer.status = position < records.size() ? '0' : '1';
            answer.text = records.value(position);
        }
        return answer;
    };
}

// Group 0 grants zones 2 and 11, group 1 zone 0; group 2 grants nothing.
void ExampleGroups(QList<CGROUP*>* groups)
{
    CGROUP* first = GroupAdd(groups, "Personnel", 4);
    first->Rules[2] = {true, 1, 3, 9, 10};
    first->Rules[11] = {true, 2, 0, 0, 0};
    first->Rules[5].Counter = 7; // no access: not sent
    GroupAdd(groups, "Visiteurs", 9)->Rules[0] = {true, 0, 5, 0, 0};
    GroupAdd(groups, "Vide", 2);
}

// Both reader-file chains on one link and one guard, routed as the window routes them,
// shown on one status line and one progress bar as the "Liste noire" tab shows them.
struct Bench
{
    Bench()
    {
        BlacklistTableSetup(&table);
        for (ReaderFileTransfer* chain :
             {static_cast<ReaderFileTransfer*>(&blacklist), static_cast<ReaderFileTransfer*>(&access)})
            ChainViewAttach(chain, &status, &bar);
        router.Register(ARG_FILE_LN_CLEAR_RESULT, [this](const QString&) { blacklist.OnClearResult(); });
        router.Register(ARG_FILE_LN_ADD_RESULT, [this](const QString&) { blacklist.OnAddResult(); });
        router.Register(ARG_FILE_LN_GET_RESULT, [this](const QString&) { blacklist.OnGetResult(); });
        router.Register(ARG_FILE_ACCESS_CLEAR_RESULT, [this](const QString&) { access.OnClearResult(); });
        router.Register(ARG_FILE_ACCESS_ADD_RESULT, [this](const QString&) { access.OnAddResult(); });
        router.Register(ARG_FILE_ACCESS_GET_RESULT, [this](const QString&) { access.OnGetResult(); });
    }
    ~Bench() { qDeleteAll(groups); }

    // Starts the chain of the row, then plays the reader until the chain ends.
    bool run(const QString& chain)
    {
        const bool started = chain == "LN up"       ? blacklist.WriteToSupport()
                             : chain == "LN down"   ? blacklist.ReadFromSupport()
                             : chain == "Access up" ? access.SendToReader()
                                                    : access.ReadFromReader();
        link.Serve(router);
        return started;
    }

    FakeLink link;
    ChainGuard guard;
    ResultRouter router;
    QTableWidget table;
    QLineEdit status;
    QProgressBar bar;
    QList<CGROUP*> groups;
    BlacklistTransfer blacklist{link, guard, &table};
    AccessTransfer access{link, guard, &groups, &table};
};

const QStringList ThreeRowsSent{"FC Fil=5", "FA Fil=5;Cda=251231;UID=04A1B2C3;Usr=125;Grp=3",
                                "FA Fil=5;Cda=;UID=0A0B;Usr=;Grp=2", "FA Fil=5;Cda=;UID=;Usr=;Grp="};
const QStringList AccessSent{"FC Fil=18", "FA Fil=18;Zid=2;Grp=0;Cpt=1;Apb=3",
                             "FA Fil=18;Zid=11;Grp=0;Cpt=2;Apb=0", "FA Fil=18;Zid=0;Grp=1;Cpt=0;Apb=5"};

} // namespace

class TstReaderFileTransfer : public QObject
{
    Q_OBJECT

private slots:
    void recordBuild_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("record");
        QTest::newRow("example") << QStringList{"04/12/26", "04A1B2C3", "125", "3", "perdu"}
                                 << "Cda=261204;UID=04A1B2C3;Usr=125;Grp=3";
        // "dd/MM/yy" is read in the 2000s, where 29/02/00 exists.
        QTest::newRow("leap day 2000") << QStringList{"29/02/00"} << "Cda=000229;UID=;Usr=;Grp=";
        QTest::newRow("impossible day") << QStringList{"31/02/26"} << "Cda=;UID=;Usr=;Grp=";
        QTest::newRow("four-digit year") << QStringList{"04/12/2026"} << "Cda=;UID=;Usr=;Grp=";
    }

    void recordBuild()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, record);
        QTableWidget table;
        BlacklistTableSetup(&table);
        TableRowAdd(&table, cells);
        QString built;
        QVERIFY(BlacklistRecordBuild(&table, 0, &built));
        QCOMPARE(built, record);
    }

    // One row per outcome: the source (table rows or groups), the reader's answers,
    // what went out and the final status. Each chain then runs again from the start.
    void chain_data()
    {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<bool>("filled");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("end");
        QTest::newRow("LN empty") << "LN up" << false << QByteArray() << QStringList{"FC Fil=5"}
                                  << "LN Aucun liste à envoyer11";
        QTest::newRow("LN three rows") << "LN up" << true << QByteArray() << ThreeRowsSent << "LN Add->FIN";
        QTest::newRow("LN clear refused") << "LN up" << true << QByteArray("1")
                                          << QStringList(ThreeRowsSent.mid(0, 1)) << "LN effacement->échec";
        QTest::newRow("LN clear unanswered")
            << "LN up" << true << QByteArray("T") << QStringList(ThreeRowsSent.mid(0, 1))
            << "LN effacement->échec";
        QTest::newRow("LN second add refused") << "LN up" << true << QByteArray("002")
                                               << QStringList(ThreeRowsSent.mid(0, 3)) << "LN Add->ECHEC";
        QTest::newRow("Access two groups")
            << "Access up" << true << QByteArray() << AccessSent << "Access Add->FIN";
        QTest::newRow("Access none") << "Access up" << false << QByteArray() << QStringList{"FC Fil=18"}
                                     << "Access Aucun liste à envoyer";
        QTest::newRow("Access add refused") << "Access up" << true << QByteArray("01")
                                            << QStringList(AccessSent.mid(0, 2)) << "Access Add->ECHEC";
        QTest::newRow("LN get unanswered")
            << "LN down" << true << QByteArray("T") << QStringList{"FG Fil=5;Pos=0"} << "LN Add->CMD ERREUR";
        QTest::newRow("Access get unanswered")
            << "Access down" << true << QByteArray("0T") << QStringList{"FG Fil=18;Pos=0", "FG Fil=18;Pos=1"}
            << "Access Add->CMD ERREUR";
    }

    void chain()
    {
        QFETCH(QString, chain);
        QFETCH(bool, filled);
        QFETCH(QByteArray, script);
        QFETCH(QStringList, sent);
        QFETCH(QString, end);
        Bench b;
        if (filled) {
            for (const QStringList& cells : {QStringList{"31/12/25", "04A1B2C3", "125", "3", "perdu"},
                                             QStringList{"hier", "0A0B", "", "2", "volé"}, QStringList{}})
                TableRowAdd(&b.table, cells);
            ExampleGroups(&b.groups);
        } else {
            GroupAdd(&b.groups, "Vide", 1);
        }
        b.link.reader = Script(script, {"Zid=3;Grp=0;Cpt=2;Apb=1"});
        QVERIFY(b.run(chain));
        QCOMPARE(b.link.wires(), sent);
        QCOMPARE(b.status.text(), end);
        QVERIFY(b.bar.isHidden());
        QVERIFY(!b.guard.IsBusy());

        // Pressed again, the chain starts over and, the reader answering everything, goes through.
        if (chain.endsWith("down"))
            return;
        QSignalSpy progress(&b.blacklist, &CommandChain::SIG_Progress);
        b.link.requests.clear();
        b.link.answered = b.link.routed = 0;
        b.link.reader = Script({});
        QVERIFY(b.run(chain));
        const QStringList all =
            chain.startsWith("LN") ? (filled ? ThreeRowsSent : sent) : (filled ? AccessSent : sent);
        QCOMPARE(b.link.wires(), all);
        const QString fin = chain.startsWith("LN") ? "LN Add->FIN" : "Access Add->FIN";
        QCOMPARE(b.status.text(), all.size() == 1 ? end : fin);
        if (chain.startsWith("LN") && filled)
            QCOMPARE(progress.last(), (QVariantList{3, 3}));
    }

    void readBack_data()
    {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("LN two records")
            << "LN down" << QStringList{"Cda=261204;UID=04A1B2C3;Usr=125;Grp=3", "Cda=;UID=0A0B;Grp=4"}
            << QList<QStringList>{{"", "", "125", "3", ""}, {"", "", "", "4", ""}};
        QTest::newRow("Access two records")
            << "Access down" << QStringList{"Zid=3;Grp=0;Cpt=2;Apb=1", "Zid=11;Grp=1"}
            << QList<QStringList>{{"", "1", "3", "0", "2"}, {"", "", "11", "1", ""}};
        QTest::newRow("empty file") << "LN down" << QStringList{} << QList<QStringList>{};
    }

    void readBack()
    {
        QFETCH(QString, chain);
        QFETCH(QStringList, records);
        QFETCH(QList<QStringList>, rows);
        Bench b;
        TableRowAdd(&b.table, {"stale"});
        b.link.reader = Script({}, records);
        QVERIFY(b.run(chain));
        QCOMPARE(b.status.text(), chain.startsWith("LN") ? QStringLiteral("LN Add->FIN") : "Access Add->FIN");
        QCOMPARE(b.link.requests.size(), records.size() + 1);
        QCOMPARE(b.link.wires().last(),
                 QStringLiteral("FG Fil=%1;Pos=%2").arg(chain.startsWith("LN") ? 5 : 18).arg(records.size()));
        QCOMPARE(TableTexts(&b.table), rows);
    }

    // One chain at a time on a link, whichever tab starts it; a running chain's
    // texts stay its own whatever else the status line shows meanwhile.
    void oneChainAtATime()
    {
        Bench b;
        TableRowAdd(&b.table, {"01/01/26", "A"});
        b.link.reader = Script({});
        QVERIFY(b.blacklist.WriteToSupport());
        QVERIFY(!b.bar.isHidden());
        QVERIFY(!b.blacklist.ReadFromSupport());
        QVERIFY(!b.access.SendToReader());
        QCOMPARE(b.status.text(), CommandChain::BusyText());
        QCOMPARE(b.blacklist.Status(), QStringLiteral("LN Put"));
        b.link.Serve(b.router);
        QCOMPARE(b.status.text(), QStringLiteral("LN Add->FIN"));
        QCOMPARE(b.link.wires(), (QStringList{"FC Fil=5", "FA Fil=5;Cda=260101;UID=A;Usr=;Grp="}));
        QVERIFY(b.access.SendToReader());
        b.link.Serve(b.router);
        QCOMPARE(b.status.text(), QStringLiteral("Access Aucun liste à envoyer"));
    }
};

QTEST_MAIN(TstReaderFileTransfer)
#include "tst_readerfiletransfer.moc"
