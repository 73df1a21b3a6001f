#include <QtTest>
#include <QtWidgets>

#include "fakelink.h"
#include "readerconfig/appsettings.h"
#include "readerconfig/configfile.h"
#include "readerconfig/outputtest.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/qtreecheckbox.h"
#include "readerconfig/qtreecombobox.h"
#include "readerconfig/readerclock.h"
#include "readerconfig/treeeditors.h"
#include "testfiles.h"
#include "transfer/chainguard.h"
#include "transfer/chainview.h"
#include "treerows.h"

namespace {

const QString Site = "Lecteur>Identification>Nom du site";
const QString Option = "Lecteur>Options>Module Ethernet";
const QString Channel2 = "Accepteur>Canal 2>Type";
const QString Dev1 = "Gestion Appareils Timer>Appareil 1 (Par défaut)>Configuration>";
const QString Dev2 = "Gestion Appareils Timer>Appareil 2 (Pour controler 2 appareils)>Configuration>";

// The answer with this status; 'T' is none.
FakeLink::Answer Status(char status)
{
    FakeLink::Answer answer;
    answer.status = status;
    answer.isOk = status != 'T';
    return answer;
}

// The tree with its transfer and the window's result routing over a fake link. The reader answers
// reads of check boxes and lists "1", of others "v<id>", but request `failAt` (or a read of
// `failId`) gets `failStatus`.
struct Bench
{
    ParameterTreeBench p{true};
    QProgressBar bar{&p.tree};
    FakeLink link;
    ChainGuard guard;
    ParameterTransfer transfer{&p.params, link, guard};
    ResultRouter router;
    int failAt = -1;
    QString failId = "-";
    char failStatus = '0';

    Bench()
    {
        ChainViewAttach(&transfer, &p.status, &bar);
        transfer.RegisterResults(router);
        link.reader = [this](const FakeLink::Request& r, int index) {
            FakeLink::Answer answer = Status(index == failAt || r.payload == failId ? failStatus : '0');
            if (r.subLetter == 'G')
                answer.text = ReaderValue(r.payload);
            return answer;
        };
    }
    // With a duplicated Identifiant, the first row tells what the reader holds.
    QString ReaderValue(const QString& id)
    {
        const QString kind = p.params.RowsWithIdentifiant(id).first()->text(PARAM_COL_WIDGET);
        return kind == "10" || kind == "20" ? QString("1") : "v" + id;
    }
    // Plays the reader until the chain sends nothing more.
    bool Idle() { return link.Serve(router), !transfer.IsRunning(); }
};

} // namespace

// The "Lecteur" tab's tree, its editors and marks, its transfers, configuration files, the settings
// tree, and the clock and output writes.
class TstReaderConfig : public QObject
{
    Q_OBJECT

    std::unique_ptr<Bench> b;
    QTemporaryDir m_dir;

    QTreeWidgetItem* Row(const QString& path) { return RowAt(&b->p.tree, path); }
    QString Value(QTreeWidgetItem* row)
    {
        return TreeItemValue(true, &b->p.tree, row, "ignored", PARAM_COL_WIDGET, PARAM_COL_VALEUR);
    }
    QString Value(const QString& path) { return Value(Row(path)); }
    QString Put(const QString& path, const QString& value)
    {
        return TreeItemValue(false, &b->p.tree, Row(path), value, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
    }
    QList<QTreeWidgetItem*> Params() { return b->p.params.ParameterRows(); }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("*.debug=false"); }
    void init() { b.reset(new Bench); }
    void cleanup() { b.reset(); }

    void treeSetUp()
    {
        for (QTreeWidgetItem* row : AllRows(&b->p.tree)) {
            const QString kind = row->text(PARAM_COL_WIDGET);
            QWidget* editor = b->p.tree.itemWidget(row, PARAM_COL_VALEUR);
            auto* box = qobject_cast<QTreeCheckBox*>(editor);
            auto* list = qobject_cast<QTreeComboBox*>(editor);
            QVERIFY(kind == "10" ? box && box->Item == row && !box->isChecked()
                    : kind == "20"
                        ? list && list->Item == row &&
                              list->count() == row->text(PARAM_COL_WIDGET_ARGUMENTS).split(';').size()
                        : !editor);
            QVERIFY(row->text(PARAM_COL_VALEUR) == (kind == "20" ? "0" : "") &&
                    bool(row->flags() & Qt::ItemIsEditable) == !row->text(PARAM_COL_IDENTIFIANT).isEmpty());
        }
        for (int c = 0; c < PARAM_COL_COUNT; ++c)
            QCOMPARE(b->p.tree.isColumnHidden(c), c >= PARAM_COL_SAVE);
        // A tree that took drops before, and a box given a parent, as the form's would be.
        QTreeWidget tree;
        tree.setAcceptDrops(true);
        ParameterTree(&tree, &b->p.status).Setup();
        QVERIFY(!tree.acceptDrops());
        QCOMPARE((new QTreeCheckBox(&tree, nullptr))->parentWidget(), &tree);
    }

    // Putting a value leaves the editor and the Valeur text showing the same thing.
    void editors()
    {
        const QString mode = Dev1 + "Fonctionnement type";
        const std::tuple<QString, const char*, const char*, const char*> rows[] = {
            {"Lecteur>Options>Afficheur", nullptr, "0", "0"}, // a box already showing it still fills Valeur
            {Option, "0", "", "1"},
            {Option, "1", "0", "0"},
            // A list takes a valid index and keeps its choice otherwise.
            {mode, "1", "x", "1"},
            {Channel2, "1", "3", "3"},
            {Site, nullptr, " A=B ", " A=B "}};
        for (const auto& [path, start, value, shown] : rows) {
            if (start)
                Put(path, start);
            QCOMPARE(Put(path, value), QString());
            QCOMPARE(Row(path)->text(PARAM_COL_VALEUR) + '|' + Value(path), QString(shown) + '|' + shown);
        }
        // A write first copies editors changed behind the rows' back into Valeur; untouched boxes read "0".
        QWidget* box = b->p.tree.itemWidget(Row(Option), PARAM_COL_VALEUR);
        box->blockSignals(true);
        qobject_cast<QTreeCheckBox*>(box)->setChecked(false);
        QVERIFY(b->transfer.WriteModified()); // nothing marked: copies the editors, sends nothing
        QCOMPARE(Row(Option)->text(PARAM_COL_VALEUR) + Row(Dev1 + "Affichage")->text(PARAM_COL_VALEUR), "00");
    }

    // After a complete read, the operator's changes of Valeur are numbered in the order last made.
    void marks()
    {
        for (QTreeWidgetItem* row : b->p.params.ParameterRows())
            row->setText(PARAM_COL_MODIFIE, "0");
        Put(Site, "A"); // still loading: not marked
        b->p.params.TreeLoading = false;
        Row(Site)->setText(PARAM_COL_VALEUR, "B");
        Row("Lecteur>Identification>Code site")->setText(PARAM_COL_VALEUR, "12");
        qobject_cast<QCheckBox*>(b->p.tree.itemWidget(Row("Lecteur>Options>Afficheur"), PARAM_COL_VALEUR))
            ->click();
        qobject_cast<QComboBox*>(b->p.tree.itemWidget(Row(Channel2), PARAM_COL_VALEUR))->setCurrentIndex(3);
        Row(Site)->setText(PARAM_COL_VALEUR, "C");
        Row("Lecteur>Identification>Code site")->setText(PARAM_COL_VALEUR, "12"); // same text: nothing
        Row(Site)->setText(PARAM_COL_SAVE, "x");                                  // other columns: never
        QStringList marks;
        for (QTreeWidgetItem* row : AllRows(&b->p.tree))
            if (row->text(PARAM_COL_MODIFIE) != "0" && !row->text(PARAM_COL_MODIFIE).isEmpty())
                marks << row->text(PARAM_COL_DESIGNATION) + '=' + row->text(PARAM_COL_MODIFIE) + '=' +
                             row->text(PARAM_COL_VALEUR);
        QCOMPARE(marks, QStringList({"Code site=2=12", "Nom du site=5=C", "Afficheur=3=1", "Type=4=3"}));
        QCOMPARE(b->p.status.text(), QStringLiteral("Modification à sauvegarder !"));
    }

    void configFileLoad()
    {
        Put(Option, "1");
        Put("Lecteur>Identification>Nom matériel", "Borne");
        b->p.params.TreeLoading = false;
        ConfigFileApply(&b->p.tree,
                        "3.0.1=A=B\r\n 3.0.2=7\n\n=9\n3.7.7=1\n3.4.0=\n3.4.2=0\r\n2.0.11=4\n"
                        "7.1.1.1=3\n99.9=1\n3.0.3\n12.0=V9.9\n12.3=23:59\n2.1.0.3.0=150\n2.1.0.3.0=275\n"
                        "2.0.10=1\n2.0.10=7\n3.0.5=5");
        // Loaded changes are marked in file order; mark "" for a row left as it was.
        const std::tuple<QString, const char*, const char*> rows[] = {
            {Site, "A", "1"},
            {"Lecteur>Identification>Identifiant matériel", "", "0"},
            {Dev1 + "Affichage crédit badge prioritaire", "1", "2"},
            {Dev2 + "Affichage crédit badge prioritaire", "1", "3"},
            {"Lecteur>Options>Mdb CashLess", "1", "4"}, // hand-written empty check-box value
            {Option, "0", "5"},
            {Dev1 + "Affichage", "0", ""}, // no such choice
            {Channel2, "3", "6"},
            {"Lecteur>Identification>Code Exploitant", "5", "14"},          // no line end on the last line
            {"Lecteur>Identification>Nom matériel", "Borne", ""},           // "3.0.3" alone is no value
            {"Fonctionnement>Montant des Débit>Sur Insertion", "275", "9"}, // the later line wins
            {Dev1 + "Fonctionnement type", "1", "11"},
            {Dev2 + "Cumul Autorisé", "0", ""}, // the empty key touches no row without Identifiant
            {"Version>logiciel", "", ""}};      // what the reader reports is not taken from a file
        for (const auto& [path, value, mark] : rows)
            QCOMPARE(Value(path) + '|' + Row(path)->text(PARAM_COL_MODIFIE).remove(QRegularExpression("^0$")),
                     QString(value) + '|' + (QByteArray(mark) == "0" ? "" : mark));
    }

    // Found by fuzzing: a CR left at a value's end became a line end on the next save. Each line
    // decodes alone (UTF-8, else Latin-1): files of older versions load, and are saved as UTF-8.
    void configFileLines()
    {
        const QString path = m_dir.filePath("lines.txt");
        QVERIFY(FileWrite(path, "\xEF\xBB\xBF"
                                "3.0.1=abc\r\r\n3.0.3=Borne \xC9lys\xE9"
                                "e\r\n3.0.5=5\r=6\n"
                                "3.0.0=Zo\xC3\xA9\n3.0.2=a\rb\n"));
        const QStringList ids{"3.0.1", "3.0.3", "3.0.5", "3.0.0", "3.0.2"};
        for (int round = 0; round < 2; ++round) {
            QStringList values;
            for (const QString& id : ids)
                TreeItemValue(false, &b->p.tree, RowById(&b->p.tree, id), "x", PARAM_COL_WIDGET,
                              PARAM_COL_VALEUR);
            QVERIFY(ConfigFileLoad(&b->p.tree, path) && !ConfigFileLoad(&b->p.tree, path + "x"));
            for (const QString& id : ids)
                values << Value(RowById(&b->p.tree, id));
            QCOMPARE(values, (QStringList{"abc", "Borne Élysée", "5", "Zoé", "a\rb"}));
            QString error;
            QVERIFY(ConfigFileSave(&b->p.tree, path, &error));
        }
        // One line per parameter row in tree order; the Valeur column goes out.
        QStringList expected;
        for (QTreeWidgetItem* row : Params())
            expected << row->text(PARAM_COL_IDENTIFIANT) + '=' + Value(row);
        QCOMPARE(QString::fromUtf8(FileBytes(path)), expected.join('\n') + '\n');
    }

    void settingsTree()
    {
        QTreeWidget tree;
        tree.setColumnCount(3);
        auto* group = new QTreeWidgetItem(&tree, {"Création", "", ""});
        auto* months = new QTreeWidgetItem(group, {"Mois", "92", "KEY.MONTHS"});
        new QTreeWidgetItem(group, {"Groupe", "1", "KEY.GROUP"});
        new QTreeWidgetItem(&tree, {"Doublon", "second", "KEY.GROUP"});
        AppsConfigTreeSetUp(&tree);
        QVERIFY(tree.isColumnHidden(2) && !tree.isColumnHidden(1));
        QVERIFY((months->flags() & Qt::ItemIsEditable) && !(group->flags() & Qt::ItemIsEditable));
        QCOMPARE(AppsConfigReadString(&tree, "KEY.GROUP", "x"), QString("1")); // the first of two
        for (const auto& [text, value] : {std::pair<const char*, int>{"92", 1092}, {"12x", 1048}}) {
            months->setText(1, text);
            QCOMPARE(AppsConfigReadInt(&tree, "KEY.MONTHS", 48) +
                         AppsConfigReadInt(&tree, "KEY.MISSING", 1000),
                     value);
        }
    }

    void clockAndOutputs()
    {
        // Answers to the date, then to the time; the box's text, none without an answer.
        for (const auto& [answers, text] :
             {std::pair<QByteArray, const char*>{"0E", "Mise à jour ECHEC"}, {"0T", ""}}) {
            FakeLink link;
            link.connected = true;
            link.reader = [a = answers](const FakeLink::Request&, int i) { return Status(a.at(i)); };
            QCOMPARE(ClockUpdateText(ClockUpdate(link, QDateTime(QDate(2025, 3, 7), QTime(9, 5, 42)))),
                     QString(text));
            QCOMPARE(link.wires(), QStringList({"VP 12.255.8=07/03/25", "VP 12.255.9=09:05"}));
        }
        // Closed, or held by another command past the bound: nothing is sent.
        FakeLink link;
        QString texts = ClockUpdateText(ClockUpdate(link, QDateTime()));
        link.connected = true;
        link.free = false;
        texts += '|' + ClockUpdateText(ClockUpdate(link, QDateTime(), 50));
        QCOMPARE(texts + link.wires().join(""),
                 "Mise à jour ECHEC : lecteur non connecté|Mise à jour ECHEC : lecteur occupé");

        for (const auto& [output, duration, answer, request, status] :
             {std::tuple<int, const char*, char, const char*, const char*>{0, "5", 'E', "VP 12.255.7.0=5",
                                                                           "Test C1->FAILED"},
              {1, "150", 'T', "VP 12.255.7.1=150", "Test C2->TIMEOUT"}}) {
            FakeLink link;
            link.reader = [answer = answer](const FakeLink::Request&, int) { return Status(answer); };
            QLineEdit line;
            QVERIFY(OutputTestStart(link, output, duration, &line));
            OutputTestResult(link, &line);
            QCOMPARE(line.text() + '|' + link.wires().join('|'), QString(status) + '|' + request);
            // With another command in progress a press does nothing, not even the status.
            link.free = false;
            QVERIFY(!OutputTestStart(link, output, duration, &line));
            QCOMPARE(line.text() + QString::number(link.requests.size()), QString(status) + "1");
        }
    }

    // A refusal keeps the row as it was: never read, so still to be written.
    void fullReadThenWrites()
    {
        b->failId = "3.4.2";
        b->failStatus = '5';
        QSignalSpy complete(&b->transfer, &ParameterTransfer::SIG_ReadComplete);
        QVERIFY(b->transfer.ReadAll() && !b->bar.isHidden());
        // A second chain is refused while this one runs, and never interleaves with it.
        QVERIFY(!b->transfer.ReadAll() && !b->transfer.WriteModified());
        QCOMPARE(b->p.status.text(), ParameterTransfer::BusyText());
        QVERIFY(b->Idle());
        QStringList expected;
        for (QTreeWidgetItem* row : Params())
            expected << "VG " + row->text(PARAM_COL_IDENTIFIANT);
        QCOMPARE(b->link.wires(), expected);
        QCOMPARE(b->p.status.text() + QString::number(complete.count() * 1000 + b->bar.value()),
                 "Lecture Ok1143");
        QVERIFY(!b->p.params.TreeLoading && b->bar.isHidden());
        QTreeWidgetItem* ethernet = Row(Option); // Identifiant 3.4.2
        for (QTreeWidgetItem* row : Params())
            QCOMPARE(row->text(PARAM_COL_MODIFIE) + '|' + Value(row),
                     row == ethernet ? "|0" : "0|" + b->ReaderValue(row->text(PARAM_COL_IDENTIFIANT)));
        // Only the refused row goes out; nothing else changed.
        QVERIFY(b->transfer.WriteModified() && b->Idle());
        QCOMPARE(b->link.wires().mid(143), QStringList({"VP 3.4.2=0", "VP 3.255.1="}));
        QCOMPARE(b->p.status.text() + ethernet->text(PARAM_COL_MODIFIE) + ethernet->text(PARAM_COL_SAVE),
                 "Save(3) :->OK00");
        QVERIFY(b->transfer.WriteModified() && !b->transfer.IsRunning());
        QCOMPARE(b->p.status.text() + QString::number(b->link.requests.size()), "Aucune modification145");
        // Then changes go out in the order last made, then one commit per object.
        QTreeWidgetItem* site = Row(Site);
        const QList<QTreeWidgetItem*> prio = b->p.params.RowsWithIdentifiant("3.7.7");
        site->setText(PARAM_COL_VALEUR, "X");
        Row("Gestion Appareils Timer>Appareil 1 (Par défaut)>Tarifs/Durées>Tarif Démarrage>Durée (en "
            "seconde)")
            ->setText(PARAM_COL_VALEUR, "Y");
        qobject_cast<QCheckBox*>(b->p.tree.itemWidget(ethernet, PARAM_COL_VALEUR))->click();
        prio[1]->setText(PARAM_COL_VALEUR, "0");
        site->setText(PARAM_COL_VALEUR, "Z");
        QVERIFY(b->transfer.WriteModified() && !b->bar.isHidden() && b->Idle());
        QCOMPARE(b->link.wires().mid(145), QStringList({"VP 2.1.0.4.0=Y", "VP 3.4.2=1", "VP 3.7.7=0",
                                                        "VP 3.0.1=Z", "VP 2.255.1=", "VP 3.255.1="}));
        QCOMPARE(b->p.status.text() + QString::number(b->bar.value()), "Save(3) :->OK6");
        QCOMPARE(site->text(PARAM_COL_SAVE) + ethernet->text(PARAM_COL_SAVE) + '|' +
                     prio[0]->text(PARAM_COL_SAVE),
                 "Z1|");
        for (QTreeWidgetItem* row : Params())
            QCOMPARE(row->text(PARAM_COL_MODIFIE), QString("0"));
    }

    void readTimesOutAtTheTenth()
    {
        b->failAt = 9;
        b->failStatus = 'T';
        QSignalSpy complete(&b->transfer, &ParameterTransfer::SIG_ReadComplete);
        QVERIFY(b->transfer.ReadAll() && b->Idle());
        QCOMPARE(b->link.requests.size() + complete.count(), 10);
        QVERIFY(b->p.params.TreeLoading && b->bar.isHidden());
        const QList<QTreeWidgetItem*> rows = Params();
        // Rows read so far take their value; without a complete read, edits are not marked.
        rows[0]->setText(PARAM_COL_VALEUR, "edit");
        QCOMPARE(rows[0]->text(PARAM_COL_MODIFIE) + rows[8]->text(PARAM_COL_VALEUR) + '|' +
                     rows[9]->text(PARAM_COL_VALEUR) + ' ' + b->p.status.text(),
                 "01| Get value (3.4.3)->TIMEOUT");
    }

    // The write request that fails after a complete read ('T': no answer), the status, the requests
    // sent; a row not written keeps its mark for the next write.
    void writeStopsAtRefusal()
    {
        const std::tuple<int, char, const char*, int, const char*> rows[] = {
            {1, 'E', "Save: ->Echec", 2, "2"},
            {0, 'T', "Save ->Echec", 1, "2"},
            {2, 'T', "Save(3) :->TIMEOUT", 3, "0"},
            {2, 'E', "Save(3) :->FAILED", 3, "0"}};
        for (const auto& [failAt, status, text, sent, mark] : rows) {
            b.reset(new Bench);
            b->failAt = 143 + failAt;
            b->failStatus = status;
            QVERIFY(b->transfer.ReadAll() && b->Idle());
            Row(Site)->setText(PARAM_COL_VALEUR, "A");
            Row("Lecteur>Identification>Code site")->setText(PARAM_COL_VALEUR, "7");
            QVERIFY(b->transfer.WriteModified() && b->Idle());
            QCOMPARE(b->p.status.text() + QString::number(b->link.requests.size() - 143) +
                         Row("Lecteur>Identification>Code site")->text(PARAM_COL_MODIFIE),
                     QString(text) + QString::number(sent) + mark);
        }
        // Another chain holds the link: nothing starts.
        Row(Site)->setText(PARAM_COL_VALEUR, "B");
        ParameterTransfer other{&b->p.params, b->link, b->guard};
        QVERIFY(other.ReadAll() && !b->transfer.WriteModified());
    }
};

QTEST_MAIN(TstReaderConfig)
#include "tst_readerconfig.moc"
