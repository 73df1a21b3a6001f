#include <QtTest>

#include "badge/resultrouter.h"
#include "linkbench.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

#include <QCheckBox>
#include <QProgressBar>

namespace {

constexpr int Bound = 20000;

// The parameter tree, its transfer and the window's result routing over a scripted reader.
struct Bench : LinkBench
{
    ParameterTreeBench p{true};
    QProgressBar bar{&p.tree};
    ParameterTransfer transfer{&p.params, &link};
    ResultRouter router;
    // With a duplicated Identifiant, the first row tells what the reader holds.
    QHash<QString, QString> kinds;

    Bench()
    {
        transfer.ProgressBarAttach(&bar);
        transfer.RegisterResults(router);
        QObject::connect(&link, &QProtocole::SIG_Data, &rec,
                         [this](unsigned int id, unsigned int arg, QString s) {
                             if (id == 2)
                                 router.Dispatch(arg, s);
                         });
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
    using Special = std::function<bool(const ReaderRequest& r, int index, QByteArray* answer)>;
    void Script(Special special = nullptr)
    {
        auto count = std::make_shared<int>(0);
        reader.setHandler([this, special, count](const ReaderRequest& r) {
            const int index = (*count)++;
            QByteArray answer;
            if (special && special(r, index, &answer))
                return answer;
            const QString value = r.subLetter == 'G' ? ReaderValue(QString::fromUtf8(r.payload)) : QString();
            return FakeReader::frame(r.letter, '0', value.toUtf8());
        });
    }

    bool Idle()
    {
        return rec.waitFor([this] { return !transfer.IsRunning(); }, Bound);
    }
    QTreeWidgetItem* Row(const QString& path) { return RowAt(&p.tree, path); }
};

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
        b.Script([](const ReaderRequest& r, int, QByteArray* answer) {
            if (r.subLetter != 'G' || r.payload != "3.4.2")
                return false;
            *answer = FakeReader::frame(r.letter, '5');
            return true;
        });
        QVERIFY(b.open());
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
        QCOMPARE(b.reader.requestTexts(), expected);
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
        QCOMPARE(b.reader.requestTexts().mid(143), QStringList({"VP 3.4.2=0", "VP 3.255.1="}));
        QCOMPARE(b.p.status.text(), QString("Save(3) :->OK"));
        QCOMPARE(refused->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(refused->text(PARAM_COL_SAVE), QString("0"));

        QVERIFY(b.transfer.WriteModified());
        QCOMPARE(b.p.status.text(), QString("Aucune modification"));
        QVERIFY(!b.transfer.IsRunning());
        QCOMPARE(b.reader.requestCount(), 145);
    }

    void readTimesOutAtTheTenth()
    {
        Bench b;
        b.Script([](const ReaderRequest&, int index, QByteArray* answer) {
            answer->clear();
            return index == 9;
        });
        QVERIFY(b.open());
        QSignalSpy complete(&b.transfer, &ParameterTransfer::SIG_ReadComplete);
        QVERIFY(b.transfer.ReadAll());
        QVERIFY(b.Idle());
        QCOMPARE(b.reader.requestCount(), 10);
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
        QVERIFY(b.open());
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
        QCOMPARE(b.reader.requestTexts().mid(143), QStringList({"VP 2.1.0.4.0=Y", "VP 3.4.2=0", "VP 3.7.7=0",
                                                                "VP 3.0.1=Z", "VP 2.255.1=", "VP 3.255.1="}));
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
        b.Script([failAt, broken](const ReaderRequest& r, int index, QByteArray* answer) {
            if (index != failAt)
                return false;
            // Cut after ETX and one trailer byte.
            *answer = broken ? FakeReader::frame(r.letter, '0').left(5) : FakeReader::frame(r.letter, 'E');
            return true;
        });
        QVERIFY(b.open());
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
        QCOMPARE(b.reader.requestCount(), sent);
        QCOMPARE(b.p.status.text(), status);
        // A row not written keeps its mark for the next write.
        QCOMPARE(code->text(PARAM_COL_MODIFIE), QString(failAt >= 2 ? "0" : "2"));
    }
};

QTEST_MAIN(TstParameterTransfer)
#include "tst_parametertransfer.moc"
