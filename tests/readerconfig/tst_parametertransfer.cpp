#include <QtTest>

#include "fakelink.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/treeeditors.h"
#include "transfer/chainguard.h"
#include "transfer/chainview.h"
#include "treerows.h"

#include <QCheckBox>
#include <QProgressBar>

namespace {

// The parameter tree, its transfer and the window's result routing over a fake link.
struct Bench
{
    ParameterTreeBench p{true};
    QProgressBar bar{&p.tree};
    FakeLink link;
    ChainGuard guard;
    ParameterTransfer transfer{&p.params, link, guard};
    ResultRouter router;
    // With a duplicated Identifiant, the first row tells what the reader holds.
    QHash<QString, QString> kinds;

    Bench()
    {
        ChainViewAttach(&transfer, &p.status, &bar);
        transfer.RegisterResults(router);
        for (QTreeWidgetItem* row : p.params.ParameterRows()) {
            if (!kinds.contains(row->text(PARAM_COL_IDENTIFIANT)))
                kinds.insert(row->text(PARAM_COL_IDENTIFIANT), row->text(PARAM_COL_WIDGET));
        }
    }

    // The value the reader holds for a parameter: "1" for check boxes and lists, a text for the others.
    QString ReaderValue(const QString& id) const
    {
        return kinds.value(id) == "10" || kinds.value(id) == "20" ? QString("1") : "v" + id;
    }

    // Answers every read with the reader's value and takes every write;
    // `special` may change the answer of the request numbered `index`.
    using Special = std::function<bool(const FakeLink::Request& r, int index, FakeLink::Answer* answer)>;
    void Script(Special special = nullptr)
    {
        link.reader = [this, special](const FakeLink::Request& r, int index) {
            FakeLink::Answer answer;
            if (special && special(r, index, &answer))
                return answer;
            if (r.subLetter == 'G')
                answer.text = ReaderValue(r.payload);
            return answer;
        };
    }

    // Plays the reader until the chain sends nothing more.
    bool Idle()
    {
        link.Serve(router);
        return !transfer.IsRunning();
    }
    QStringList Sent() const { return link.wires(); }
    QTreeWidgetItem* Row(const QString& path) { return RowAt(&p.tree, path); }
};

FakeLink::Answer Status(char status)
{
    FakeLink::Answer answer;
    answer.status = status;
    return answer;
}

FakeLink::Answer NoAnswer()
{
    FakeLink::Answer answer;
    answer.isOk = false;
    return answer;
}

} // namespace

class TstParameterTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }

    void fullReadThenNothingToWrite()
    {
        Bench b;
        // A refusal keeps the row as it was: never read, so still to be written.
        b.Script([](const FakeLink::Request& r, int, FakeLink::Answer* answer) {
            if (r.subLetter != 'G' || r.payload != "3.4.2")
                return false;
            *answer = Status('5');
            return true;
        });
        QSignalSpy complete(&b.transfer, &ParameterTransfer::SIG_ReadComplete);
        QVERIFY(b.transfer.ReadAll());
        QVERIFY(!b.bar.isHidden());
        // A second chain is refused while this one runs, and never interleaves with it.
        QVERIFY(b.transfer.IsRunning());
        QVERIFY(!b.transfer.ReadAll());
        QCOMPARE(b.p.status.text(), ParameterTransfer::BusyText());
        QVERIFY(!b.transfer.WriteModified());
        QVERIFY(b.Idle());

        QStringList expected;
        for (QTreeWidgetItem* row : b.p.params.ParameterRows())
            expected << "VG " + row->text(PARAM_COL_IDENTIFIANT);
        QCOMPARE(expected.size(), 143);
        QCOMPARE(b.Sent(), expected);
        QCOMPARE(b.p.status.text(), QString("Lecture Ok"));
        QCOMPARE(complete.count(), 1);
        QVERIFY(!b.p.params.TreeLoading);
        QVERIFY(b.bar.isHidden());
        QCOMPARE(b.bar.value(), 143);

        QTreeWidgetItem* refused = b.p.params.RowsWithIdentifiant("3.4.2").first();
        QCOMPARE(refused->text(PARAM_COL_MODIFIE), QString());
        for (QTreeWidgetItem* row : b.p.params.ParameterRows()) {
            if (row == refused)
                continue;
            const QString kind = row->text(PARAM_COL_WIDGET);
            QCOMPARE(row->text(PARAM_COL_MODIFIE), QString("0"));
            QCOMPARE(TreeItemValue(true, &b.p.tree, row, "", PARAM_COL_WIDGET, PARAM_COL_VALEUR),
                     kind == "10" || kind == "20" ? QString("1")
                                                  : b.ReaderValue(row->text(PARAM_COL_IDENTIFIANT)));
        }
        // Only the refused row goes out; nothing else changed.
        QVERIFY(b.transfer.WriteModified());
        QVERIFY(b.Idle());
        QCOMPARE(b.Sent().mid(143), QStringList({"VP 3.4.2=0", "VP 3.255.1="}));
        QCOMPARE(b.p.status.text(), QString("Save(3) :->OK"));
        QCOMPARE(refused->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(refused->text(PARAM_COL_SAVE), QString("0"));

        QVERIFY(b.transfer.WriteModified());
        QCOMPARE(b.p.status.text(), QString("Aucune modification"));
        QVERIFY(!b.transfer.IsRunning());
        QCOMPARE(b.Sent().size(), 145);
    }

    void readTimesOutAtTheTenth()
    {
        Bench b;
        b.Script([](const FakeLink::Request&, int index, FakeLink::Answer* answer) {
            if (index != 9)
                return false;
            *answer = NoAnswer();
            return true;
        });
        QSignalSpy complete(&b.transfer, &ParameterTransfer::SIG_ReadComplete);
        QVERIFY(b.transfer.ReadAll());
        QVERIFY(b.Idle());
        QCOMPARE(b.Sent().size(), 10);
        QVERIFY(b.p.params.TreeLoading);
        QCOMPARE(complete.count(), 0);
        QVERIFY(b.bar.isHidden());
        const QList<QTreeWidgetItem*> rows = b.p.params.ParameterRows();
        QCOMPARE(rows[0]->text(PARAM_COL_VALEUR), QString("v3.0.0"));
        QCOMPARE(rows[8]->text(PARAM_COL_VALEUR), QString("1"));
        QCOMPARE(rows[8]->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(rows[9]->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(rows[9]->text(PARAM_COL_MODIFIE), QString());
        // Without a complete read, edits are not marked.
        rows[0]->setText(PARAM_COL_VALEUR, "edit");
        QCOMPARE(rows[0]->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(b.p.status.text(), QString("Get value (3.4.3)->TIMEOUT"));
    }

    void writeOrderAndCommits()
    {
        Bench b;
        b.Script();
        QVERIFY(b.transfer.ReadAll());
        QVERIFY(b.Idle());
        QCOMPARE(b.p.status.text(), QString("Lecture Ok"));

        QTreeWidgetItem* site = b.Row("Lecteur>Identification>Nom du site");
        QTreeWidgetItem* ethernet = b.Row("Lecteur>Options>Module Ethernet");
        const QList<QTreeWidgetItem*> prio = b.p.params.RowsWithIdentifiant("3.7.7");
        site->setText(PARAM_COL_VALEUR, "X");
        b.Row("Gestion Appareils Timer>Appareil 1 (Par défaut)>Tarifs/Durées>Tarif Démarrage>Durée (en "
              "seconde)")
            ->setText(PARAM_COL_VALEUR, "Y");
        qobject_cast<QCheckBox*>(b.p.tree.itemWidget(ethernet, PARAM_COL_VALEUR))->click();
        prio[1]->setText(PARAM_COL_VALEUR, "0");
        site->setText(PARAM_COL_VALEUR, "Z");

        // In the order of the last changes, then one commit per object.
        QVERIFY(b.transfer.WriteModified());
        QVERIFY(!b.bar.isHidden());
        QVERIFY(b.Idle());
        QCOMPARE(b.Sent().mid(143), QStringList({"VP 2.1.0.4.0=Y", "VP 3.4.2=0", "VP 3.7.7=0", "VP 3.0.1=Z",
                                                 "VP 2.255.1=", "VP 3.255.1="}));
        QCOMPARE(b.p.status.text(), QString("Save(3) :->OK"));
        QCOMPARE(b.bar.value(), 6);
        QCOMPARE(site->text(PARAM_COL_SAVE), QString("Z"));
        QCOMPARE(ethernet->text(PARAM_COL_SAVE), QString("0"));
        for (QTreeWidgetItem* row : b.p.params.ParameterRows())
            QCOMPARE(row->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(prio[0]->text(PARAM_COL_SAVE), QString());
    }

    void writeStopsAtRefusal_data()
    {
        QTest::addColumn<int>("failAt");  // index among the requests
        QTest::addColumn<bool>("broken"); // an invalid answer counts as a time-out
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("sent");
        QTest::newRow("write refused") << 1 << false << "Save: ->Echec" << 2;
        QTest::newRow("write answer broken") << 0 << true << "Save ->Echec" << 1;
        QTest::newRow("commit answer broken") << 2 << true << "Save(3) :->TIMEOUT" << 3;
        QTest::newRow("commit refused") << 2 << false << "Save(3) :->FAILED" << 3;
    }

    void writeStopsAtRefusal()
    {
        QFETCH(int, failAt);
        QFETCH(bool, broken);
        QFETCH(QString, status);
        QFETCH(int, sent);
        Bench b;
        b.Script([failAt, broken](const FakeLink::Request&, int index, FakeLink::Answer* answer) {
            if (index != failAt)
                return false;
            *answer = broken ? NoAnswer() : Status('E');
            return true;
        });
        // As after a complete read.
        for (QTreeWidgetItem* row : b.p.params.ParameterRows())
            row->setText(PARAM_COL_MODIFIE, "0");
        for (int i = 0; i < b.p.tree.topLevelItemCount(); ++i)
            TreeValuesFromWidgets(&b.p.tree, b.p.tree.topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        b.p.params.TreeLoading = false;
        QTreeWidgetItem* code = b.Row("Lecteur>Identification>Code site");
        b.Row("Lecteur>Identification>Nom du site")->setText(PARAM_COL_VALEUR, "A");
        code->setText(PARAM_COL_VALEUR, "7");
        QVERIFY(b.transfer.WriteModified());
        QVERIFY(b.Idle());
        QCOMPARE(b.Sent().size(), sent);
        QCOMPARE(b.p.status.text(), status);
        // A row not written keeps its mark for the next write.
        QCOMPARE(code->text(PARAM_COL_MODIFIE), QString(failAt >= 2 ? "0" : "2"));
    }
};

QTEST_MAIN(TstParameterTransfer)
#include "tst_parametertransfer.moc"
