#include <QtTest>

#include "badge/resultrouter.h"
#include "fakereader.h"
#include "link/qprotocole.h"
#include "ptypair.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>

namespace {

constexpr int Bound = 20000;

// The value the fake reader holds for a parameter: "1" for check boxes and
// lists, a text for the others.
QString ReaderValue(const QString& id, const QHash<QString, QString>& kinds)
{
    const QString kind = kinds.value(id);
    return kind == "10" || kind == "20" ? QString("1") : "v" + id;
}

} // namespace

class TstParameterTransfer : public QObject
{
    Q_OBJECT

    PtyPair* m_pty = nullptr;
    FakeReader* m_reader = nullptr;
    QProtocole* m_link = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_status = nullptr;
    QProgressBar* m_bar = nullptr;
    ParameterTree* m_params = nullptr;
    ParameterTransfer* m_transfer = nullptr;
    ResultRouter* m_router = nullptr;
    QHash<QString, QString> m_kinds;

    // Answers every read with the reader's value and takes every write;
    // `special` may change the answer of the request numbered `index`.
    using Special = std::function<bool(const ReaderRequest& r, int index, QByteArray* answer)>;
    void Script(Special special = nullptr)
    {
        const QHash<QString, QString> kinds = m_kinds;
        auto count = std::make_shared<int>(0);
        m_reader->setHandler([kinds, special, count](const ReaderRequest& r) {
            const int index = (*count)++;
            QByteArray answer;
            if (special && special(r, index, &answer))
                return answer;
            const QString value =
                r.subLetter == 'G' ? ReaderValue(QString::fromUtf8(r.payload), kinds) : QString();
            return FakeReader::frame(r.letter, '0', value.toUtf8());
        });
    }

    QStringList Requests() const
    {
        QStringList texts;
        for (const ReaderRequest& r : m_reader->requests())
            texts << QString("%1/%2 %3")
                         .arg(QChar(r.letter))
                         .arg(QChar(r.subLetter))
                         .arg(QString::fromUtf8(r.payload));
        return texts;
    }

    void ReadAllAndWait()
    {
        QVERIFY(m_transfer->ReadAll());
        QTRY_VERIFY_WITH_TIMEOUT(!m_transfer->IsRunning(), Bound);
    }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void init()
    {
        m_pty = new PtyPair;
        QVERIFY(m_pty->isValid());
        m_reader = new FakeReader(*m_pty);
        m_link = new QProtocole;
        m_tree = new QTreeWidget;
        m_status = new QLineEdit;
        m_bar = new QProgressBar(m_tree);
        m_params = new ParameterTree(m_tree, m_status);
        m_params->Setup();
        m_transfer = new ParameterTransfer(m_params, m_link);
        m_transfer->ProgressBarAttach(m_bar);
        connect(m_tree, &QTreeWidget::itemChanged, m_tree,
                [this](QTreeWidgetItem* item, int column) { m_params->ItemChanged(item, column); });
        m_router = new ResultRouter;
        m_transfer->RegisterResults(*m_router);
        connect(m_link, &QProtocole::SIG_Data, m_transfer,
                [this](unsigned int id, unsigned int arg, QString s) {
                    if (id == 2)
                        m_router->Dispatch(arg, s);
                });
        m_kinds.clear();
        // With a duplicated Identifiant, the first row tells what the reader holds.
        for (QTreeWidgetItem* row : m_params->ParameterRows()) {
            if (!m_kinds.contains(row->text(PARAM_COL_IDENTIFIANT)))
                m_kinds.insert(row->text(PARAM_COL_IDENTIFIANT), row->text(PARAM_COL_WIDGET));
        }

        m_link->SetPortName(m_pty->slavePath());
        m_link->start();
        m_link->ConnectionRequest = 1;
        QTRY_VERIFY_WITH_TIMEOUT(m_link->Connected, Bound);
    }

    void cleanup()
    {
        delete m_transfer;
        delete m_router;
        delete m_link;
        delete m_params;
        delete m_status;
        delete m_tree;
        delete m_reader;
        delete m_pty;
    }

    void fullReadThenNothingToWrite()
    {
        // A refusal keeps the row as it was: never read, so still to be written.
        Script([](const ReaderRequest& r, int, QByteArray* answer) {
            if (r.subLetter != 'G' || r.payload != "3.4.2")
                return false;
            *answer = FakeReader::frame(r.letter, '5');
            return true;
        });
        QSignalSpy complete(m_transfer, &ParameterTransfer::SIG_ReadComplete);
        QVERIFY(m_transfer->ReadAll());
        QVERIFY(!m_bar->isHidden());
        // A second chain is refused while this one runs, and never interleaves with it.
        QVERIFY(m_transfer->IsRunning());
        QVERIFY(!m_transfer->ReadAll());
        QCOMPARE(m_status->text(), ParameterTransfer::BusyText());
        QVERIFY(!m_transfer->WriteModified());
        // Any other chain on the same link is refused too.
        ParameterTransfer other(m_params, m_link);
        QVERIFY(!other.ReadAll());
        QTRY_VERIFY_WITH_TIMEOUT(!m_transfer->IsRunning(), Bound);

        QStringList expected;
        for (QTreeWidgetItem* row : m_params->ParameterRows())
            expected << "V/G " + row->text(PARAM_COL_IDENTIFIANT);
        QCOMPARE(expected.size(), 143);
        QCOMPARE(Requests(), expected);
        QCOMPARE(m_status->text(), QString("Lecture Ok"));
        QCOMPARE(complete.count(), 1);
        QVERIFY(!m_params->TreeLoading);
        QVERIFY(m_bar->isHidden());
        QCOMPARE(m_bar->value(), 143);

        QTreeWidgetItem* refused = m_params->RowsWithIdentifiant("3.4.2").first();
        QCOMPARE(refused->text(PARAM_COL_MODIFIE), QString());
        for (QTreeWidgetItem* row : m_params->ParameterRows()) {
            const QString id = row->text(PARAM_COL_IDENTIFIANT);
            if (row == refused)
                continue;
            QCOMPARE(row->text(PARAM_COL_MODIFIE), QString("0"));
            const QString kind = row->text(PARAM_COL_WIDGET);
            QCOMPARE(TreeItemValue(true, m_tree, row, "", PARAM_COL_WIDGET, PARAM_COL_VALEUR),
                     kind == "10" || kind == "20" ? QString("1") : ReaderValue(id, m_kinds));
        }
        // Only the refused row goes out; nothing else changed.
        QVERIFY(m_transfer->WriteModified());
        QTRY_VERIFY_WITH_TIMEOUT(!m_transfer->IsRunning(), Bound);
        QCOMPARE(Requests().mid(143), QStringList({"V/P 3.4.2=0", "V/P 3.255.1="}));
        QCOMPARE(m_status->text(), QString("Save(3) :->OK"));
        QCOMPARE(refused->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(refused->text(PARAM_COL_SAVE), QString("0"));

        QVERIFY(m_transfer->WriteModified());
        QCOMPARE(m_status->text(), QString("Aucune modification"));
        QVERIFY(!m_transfer->IsRunning());
        QCOMPARE(m_reader->requestCount(), 145);
    }

    void readTimesOutAtTheTenth()
    {
        Script([](const ReaderRequest&, int index, QByteArray* answer) {
            answer->clear();
            return index == 9;
        });
        QSignalSpy complete(m_transfer, &ParameterTransfer::SIG_ReadComplete);
        ReadAllAndWait();
        QCOMPARE(m_reader->requestCount(), 10);
        QVERIFY(m_status->text().endsWith("->TIMEOUT"));
        QCOMPARE(m_status->text(), QString("Get value (3.4.3)->TIMEOUT"));
        QVERIFY(m_params->TreeLoading);
        QCOMPARE(complete.count(), 0);
        QVERIFY(m_bar->isHidden());
        const QList<QTreeWidgetItem*> rows = m_params->ParameterRows();
        QCOMPARE(rows[0]->text(PARAM_COL_VALEUR), QString("v3.0.0"));
        QCOMPARE(rows[8]->text(PARAM_COL_VALEUR), QString("1"));
        QCOMPARE(rows[8]->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(rows[9]->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(rows[9]->text(PARAM_COL_MODIFIE), QString());
        // Later edits are not marked.
        rows[0]->setText(PARAM_COL_VALEUR, "edit");
        QCOMPARE(rows[0]->text(PARAM_COL_MODIFIE), QString("0"));
    }

    void writeOrderAndCommits()
    {
        Script();
        ReadAllAndWait();
        QCOMPARE(m_status->text(), QString("Lecture Ok"));

        QTreeWidgetItem* site = RowAt(m_tree, "Lecteur>Identification>Nom du site");
        QTreeWidgetItem* duration = RowAt(m_tree, "Gestion Appareils Timer>Appareil 1 (Par "
                                                  "défaut)>Tarifs/Durées>Tarif Démarrage>Durée (en seconde)");
        QTreeWidgetItem* ethernet = RowAt(m_tree, "Lecteur>Options>Module Ethernet");
        const QList<QTreeWidgetItem*> prio = m_params->RowsWithIdentifiant("3.7.7");
        site->setText(PARAM_COL_VALEUR, "X");
        duration->setText(PARAM_COL_VALEUR, "Y");
        qobject_cast<QCheckBox*>(m_tree->itemWidget(ethernet, 1))->click();
        prio[1]->setText(PARAM_COL_VALEUR, "0");
        site->setText(PARAM_COL_VALEUR, "Z");

        QVERIFY(m_transfer->WriteModified());
        QVERIFY(!m_bar->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!m_transfer->IsRunning(), Bound);
        QCOMPARE(Requests().mid(143), QStringList({"V/P 2.1.0.4.0=Y", "V/P 3.4.2=0", "V/P 3.7.7=0",
                                                   "V/P 3.0.1=Z", "V/P 2.255.1=", "V/P 3.255.1="}));
        QCOMPARE(m_status->text(), QString("Save(3) :->OK"));
        QCOMPARE(m_bar->value(), 6);
        QCOMPARE(site->text(PARAM_COL_SAVE), QString("Z"));
        QCOMPARE(ethernet->text(PARAM_COL_SAVE), QString("0"));
        for (QTreeWidgetItem* row : m_params->ParameterRows())
            QCOMPARE(row->text(PARAM_COL_MODIFIE), QString("0"));
        QCOMPARE(prio[0]->text(PARAM_COL_SAVE), QString());
    }

    void writeStopsAtRefusal_data()
    {
        QTest::addColumn<int>("failAt");  // index among the requests after the read
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
        Script([failAt, broken](const ReaderRequest& r, int index, QByteArray* answer) {
            if (index != failAt)
                return false;
            // Cut after ETX and one trailer byte.
            *answer = broken ? FakeReader::frame(r.letter, '0').left(5) : FakeReader::frame(r.letter, 'E');
            return true;
        });
        // As after a complete read.
        for (QTreeWidgetItem* row : m_params->ParameterRows())
            row->setText(PARAM_COL_MODIFIE, "0");
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            TreeValuesFromWidgets(m_tree, m_tree->topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        m_params->TreeLoading = false;
        QTreeWidgetItem* site = RowAt(m_tree, "Lecteur>Identification>Nom du site");
        QTreeWidgetItem* code = RowAt(m_tree, "Lecteur>Identification>Code site");
        site->setText(PARAM_COL_VALEUR, "A");
        code->setText(PARAM_COL_VALEUR, "7");
        QVERIFY(m_transfer->WriteModified());
        QTRY_VERIFY_WITH_TIMEOUT(!m_transfer->IsRunning(), Bound);
        QCOMPARE(m_reader->requestCount(), sent);
        QCOMPARE(m_status->text(), status);
        // A row not written keeps its mark for the next write.
        QCOMPARE(code->text(PARAM_COL_MODIFIE), QString(failAt >= 2 ? "0" : "2"));
    }
};

QTEST_MAIN(TstParameterTransfer)
#include "tst_parametertransfer.moc"
