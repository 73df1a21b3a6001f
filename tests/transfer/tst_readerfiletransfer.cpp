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

// Group 0 grants zones 0 and 11 (a chain starts from zone 0), group 1 zone 0; group 2 nothing.
void ExampleGroups(QList<CGROUP*>* groups)
{
    CGROUP* first = GroupAdd(groups, "Personnel", 4);
    first->Rules[0] = {true, 1, 3, 9, 10};
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

const QStringList ThreeRowsSent{"FC Fil=5", "FA Fil=5;Cda=000229;UID=04A1B2C3;Usr=125;Grp=3",
                                "FA Fil=5;Cda=;UID=0A0B;Usr=;Grp=2", "FA Fil=5;Cda=;UID=;Usr=;Grp="};
const QStringList AccessSent{"FC Fil=18", "FA Fil=18;Zid=0;Grp=0;Cpt=1;Apb=3",
                             "FA Fil=18;Zid=11;Grp=0;Cpt=2;Apb=0", "FA Fil=18;Zid=0;Grp=1;Cpt=0;Apb=5"};

} // namespace

class TstReaderFileTransfer : public QObject
{
    Q_OBJECT

private slots:
    // One row per outcome: the chain, whether there is something to send (table rows or groups),
    // the reader's answers, how many requests went out and the final status. Each upload then
    // runs again from the start with the reader answering everything.
    void chain()
    {
        const std::tuple<const char*, bool, QByteArray, int, const char*> rows[] = {
            {"LN up", false, "", 1, "LN Aucun liste à envoyer11"},
            {"LN up", true, "", 4, "LN Add->FIN"},
            {"LN up", true, "1", 1, "LN effacement->échec"},
            {"LN up", true, "002", 3, "LN Add->ECHEC"},
            {"Access up", true, "", 4, "Access Add->FIN"},
            {"Access up", true, "01", 2, "Access Add->ECHEC"},
            {"LN down", true, "T", 1, "LN Add->CMD ERREUR"},
            {"Access down", true, "0T", 2, "Access Add->CMD ERREUR"}};
        for (const auto& [chain, filled, script, sent, end] : rows) {
            Bench b;
            if (filled) { // "dd/MM/yy" is read in the 2000s, where 29/02/00 exists
                for (const QStringList& cells : {QStringList{"29/02/00", "04A1B2C3", "125", "3", "perdu"},
                                                 QStringList{"hier", "0A0B", "", "2", "volé"}, QStringList{}})
                    TableRowAdd(&b.table, cells);
                ExampleGroups(&b.groups);
            } else {
                GroupAdd(&b.groups, "Vide", 1);
            }
            b.link.reader = Script(script, {"Zid=3;Grp=0;Cpt=2;Apb=1"});
            QVERIFY(b.run(chain));
            const bool ln = QByteArray(chain).startsWith("LN"), down = QByteArray(chain).endsWith("down");
            QStringList all = ln ? ThreeRowsSent : AccessSent;
            for (int i = 0; down && i < 4; ++i)
                all[i] = QStringLiteral("FG Fil=%1;Pos=%2").arg(ln ? 5 : 18).arg(i);
            QCOMPARE(b.link.wires(), all.mid(0, sent));
            QCOMPARE(b.status.text(), QString(end));
            QVERIFY(b.bar.isHidden() && !b.guard.IsBusy());
            if (down)
                continue;
            QSignalSpy progress(&b.blacklist, &CommandChain::SIG_Progress);
            b.link.requests.clear();
            b.link.answered = b.link.routed = 0;
            b.link.reader = Script({});
            QVERIFY(b.run(chain));
            QCOMPARE(b.link.wires(), filled ? all : all.mid(0, 1));
            QCOMPARE(b.status.text(),
                     filled ? QString(ln ? "LN Add->FIN" : "Access Add->FIN") : QString(end));
            if (ln && filled)
                QCOMPARE(progress.last(), (QVariantList{3, 3}));
        }
    }

    void readBack()
    {
        const std::tuple<const char*, QStringList, QList<QStringList>> rows[] = {
            {"LN down",
             {"Cda=261204;UID=04A1B2C3;Usr=125;Grp=3", "Cda=;UID=0A0B;Grp=4"},
             {{"", "", "125", "3", ""}, {"", "", "", "4", ""}}},
            {"Access down",
             {"Zid=3;Grp=0;Cpt=2;Apb=1", "Zid=11;Grp=1"},
             {{"", "1", "3", "0", "2"}, {"", "", "11", "1", ""}}},
            {"LN down", {}, {}}};
        for (const auto& [chain, records, table] : rows) {
            Bench b;
            TableRowAdd(&b.table, {"stale"});
            b.link.reader = Script({}, records);
            QVERIFY(b.run(chain));
            const bool ln = QByteArray(chain).startsWith("LN");
            QCOMPARE(b.status.text(), ln ? QStringLiteral("LN Add->FIN") : "Access Add->FIN");
            QCOMPARE(b.link.wires(),
                     QStringList(b.link.wires().mid(0, records.size()))
                         << QStringLiteral("FG Fil=%1;Pos=%2").arg(ln ? 5 : 18).arg(records.size()));
            QCOMPARE(TableTexts(&b.table), table);
        }
    }

    // One chain at a time on a link, whichever tab starts it; a running chain's
    // texts stay its own whatever else the status line shows meanwhile.
    void oneChainAtATime()
    {
        Bench b;
        TableRowAdd(&b.table, {"01/01/26", "A"});
        b.link.reader = Script({});
        QVERIFY(b.blacklist.WriteToSupport() && !b.bar.isHidden());
        QVERIFY(!b.blacklist.ReadFromSupport() && !b.access.SendToReader());
        QCOMPARE(b.status.text(), CommandChain::BusyText());
        QCOMPARE(b.blacklist.Status(), QStringLiteral("LN Put"));
        b.link.Serve(b.router);
        QCOMPARE(b.status.text(), QStringLiteral("LN Add->FIN"));
    }
};

QTEST_MAIN(TstReaderFileTransfer)
#include "tst_readerfiletransfer.moc"
