#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "app/mainwindow.h"
#include "commun/commandchain.h"
#include "fakereader.h"
#include "filesizelimit.h"
#include "ptypair.h"
#include "readerconfig/parametercatalogue.h"
#include "windowbench.h"

namespace {

constexpr int Bound = 30000;

struct DialogCall
{
    MainWindow::FileDialogKind kind;
    QString caption;
    QString dir;
    QString filter;
};

QStringList Payloads(const FakeReader& reader, char subLetter, int from = 0)
{
    QStringList texts;
    const QList<ReaderRequest> requests = reader.requests();
    for (int i = from; i < requests.size(); ++i) {
        if (requests[i].letter == 'V' && requests[i].subLetter == subLetter)
            texts << QString::fromUtf8(requests[i].payload);
    }
    return texts;
}

QList<QTreeWidgetItem*> Rows(QTreeWidget* tree, const QString& id = QString())
{
    QList<QTreeWidgetItem*> rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QString rowId = (*it)->text(PARAM_COL_IDENTIFIANT);
        if (id.isNull() || rowId == id)
            rows << *it;
    }
    return rows;
}

QStringList Identifiants(QTreeWidget* tree)
{
    QStringList ids;
    for (QTreeWidgetItem* row : Rows(tree)) {
        if (!row->text(PARAM_COL_IDENTIFIANT).isEmpty())
            ids << row->text(PARAM_COL_IDENTIFIANT);
    }
    return ids;
}

} // namespace

// The "Lecteur", "Firmware" and "Tests" tabs through the window, against a
// scripted reader on a pseudo-terminal.
class TstWindowReaderConfig : public QObject
{
    Q_OBJECT

private:
    template <typename T> static T* widget(const MainWindow& window, const char* name)
    {
        T* found = window.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }

    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void startUpTree()
    {
        MainWindow window;
        auto* tree = widget<QTreeWidget>(window, "treeWidget");
        QCOMPARE(Rows(tree).size(), 193);
        QCOMPARE(Identifiants(tree).size(), 143);
        QCOMPARE(tree->columnCount(), 11);
        for (int c = 0; c < tree->columnCount(); ++c)
            QCOMPARE(tree->isColumnHidden(c), c >= 2);
        QVERIFY(qobject_cast<QCheckBox*>(tree->itemWidget(Rows(tree, "3.4.0").first(), PARAM_COL_VALEUR)));
        QVERIFY(!widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());
        QVERIFY(!widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());
        QVERIFY(widget<QProgressBar>(window, "PROGRESS_Config")->isHidden());

        // Before a complete read, an edit is not marked.
        Rows(tree, "3.0.1").first()->setText(PARAM_COL_VALEUR, "Ici");
        QCOMPARE(Rows(tree, "3.0.1").first()->text(PARAM_COL_MODIFIE), QStringLiteral("0"));
        QCOMPARE(widget<QLineEdit>(window, "SAI_ConfigStatus")->text(), QString());

        widget<QPushButton>(window, "BTN_ReaderConfigAll")->click();
        for (int c = 0; c < tree->columnCount(); ++c)
            QVERIFY(!tree->isColumnHidden(c));
    }

    void readEditWrite()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        reader.answerAlways('V', 'G', '0', "1");
        reader.answerAlways('V', 'P', '0');
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        auto* tree = widget<QTreeWidget>(window, "treeWidget");
        auto* status = widget<QLineEdit>(window, "SAI_ConfigStatus");
        auto* bar = widget<QProgressBar>(window, "PROGRESS_Config");

        widget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->maximum(), 143);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Lecture Ok"), Bound);
        QVERIFY(bar->isHidden());
        QCOMPARE(Payloads(reader, 'G'), Identifiants(tree));
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());

        // Three objects, changed in an order that is not the tree's.
        auto* installed =
            qobject_cast<QCheckBox*>(tree->itemWidget(Rows(tree, "2.1.0.0").first(), PARAM_COL_VALEUR));
        QVERIFY(installed && installed->isChecked());
        installed->setChecked(false);
        QCOMPARE(status->text(), QStringLiteral("Modification à sauvegarder !"));
        QTreeWidgetItem* site = Rows(tree, "3.0.1").first();
        site->setText(PARAM_COL_VALEUR, "Site B");
        Rows(tree, "10.1").first()->setText(PARAM_COL_VALEUR, "7");
        QCOMPARE(site->text(PARAM_COL_MODIFIE), QStringLiteral("2"));

        const int before = reader.requestCount();
        widget<QPushButton>(window, "BTN_ReaderConfigSave")->click();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Save(10) :->OK"), Bound);
        QCOMPARE(Payloads(reader, 'P', before),
                 QStringList({"2.1.0.0=0", "3.0.1=Site B", "10.1=7", "2.255.1=", "3.255.1=", "10.255.1="}));
        QCOMPARE(site->text(PARAM_COL_SAVE), QStringLiteral("Site B"));
        QCOMPARE(site->text(PARAM_COL_MODIFIE), QStringLiteral("0"));
        QVERIFY(bar->isHidden());

        widget<QPushButton>(window, "BTN_ReaderConfigSave")->click();
        QCOMPARE(status->text(), QStringLiteral("Aucune modification"));
    }

    void transferGuardsAndTimeout()
    {
        QFile file("guard.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("3.0.1=Fichier\n");
        file.close();

        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty); // never answers
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        BoxCatcher boxes;
        int dialogs = 0;
        window.FileDialog = [&dialogs](MainWindow::FileDialogKind, const QString&, const QString&,
                                       const QString&) {
            ++dialogs;
            return QString();
        };
        auto* tree = widget<QTreeWidget>(window, "treeWidget");
        auto* status = widget<QLineEdit>(window, "SAI_ConfigStatus");
        widget<QLineEdit>(window, "SAI_FIleName")->setText("guard.txt");
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));
        Rows(tree, "3.0.1").first()->setText(PARAM_COL_VALEUR, "Autre");

        // While the read runs, the files and a second read are refused.
        widget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(status->text(), CommandChain::BusyText());
        QCOMPARE(Rows(tree, "3.0.1").first()->text(PARAM_COL_VALEUR), QStringLiteral("Autre"));
        status->clear();
        widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        QCOMPARE(status->text(), CommandChain::BusyText());
        status->clear();
        widget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
        QCOMPARE(status->text(), CommandChain::BusyText());

        QTRY_VERIFY_WITH_TIMEOUT(status->text().endsWith("->TIMEOUT"), Bound);
        QCOMPARE(Payloads(reader, 'G').size(), 1);
        QVERIFY(widget<QProgressBar>(window, "PROGRESS_Config")->isHidden());
        QCOMPARE(boxes.boxes, QStringList());

        // Once the chain has ended, the same file loads.
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes, QStringList({"Information / Configuration chargée"}));
        QCOMPARE(Rows(tree, "3.0.1").first()->text(PARAM_COL_VALEUR), QStringLiteral("Fichier"));
        QCOMPARE(dialogs, 0);
    }

    void configurationFiles()
    {
        MainWindow window;
        BoxCatcher boxes;
        QList<DialogCall> calls;
        QStringList answers;
        window.FileDialog = [&](MainWindow::FileDialogKind kind, const QString& caption, const QString& dir,
                                const QString& filter) {
            calls << DialogCall{kind, caption, dir, filter};
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        auto* tree = widget<QTreeWidget>(window, "treeWidget");
        auto* fileName = widget<QLineEdit>(window, "SAI_FIleName");
        auto* status = widget<QLineEdit>(window, "SAI_ConfigStatus");
        auto checkCall = [&calls](MainWindow::FileDialogKind kind, const QString& caption, const QString& dir,
                                  const QString& filter) {
            QCOMPARE(calls.size(), 1);
            QVERIFY(calls.first().kind == kind);
            QCOMPARE(calls.first().caption, caption);
            QCOMPARE(calls.first().dir, dir);
            QCOMPARE(calls.first().filter, filter);
            calls.clear();
        };
        const QString inPath = QDir::current().absoluteFilePath("in.txt");
        const QString outPath = QDir::current().absoluteFilePath("out.txt");
        QFile in(inPath);
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("3.0.1=A=B\n 3.0.0=9\n=x\n\n3.4.0=\n");
        in.close();

        answers << "chosen.txt";
        widget<QAbstractButton>(window, "BTN_FileSelect")->click();
        checkCall(MainWindow::FileDialogKind::Open, "Configuration", window.WorkingDirectory(),
                  "config (*.txt)");
        QCOMPARE(fileName->text(), QStringLiteral("chosen.txt"));

        // Load: asks only when no file is named, starting in the current folder.
        fileName->clear();
        answers << inPath;
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        checkCall(MainWindow::FileDialogKind::Open, "Configuration", QDir::currentPath(), "config (*.txt)");
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));
        QCOMPARE(status->text(), QStringLiteral("Origine des données->Fichier"));
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());
        QCOMPARE(Rows(tree, "3.0.1").first()->text(PARAM_COL_VALEUR), QStringLiteral("A"));
        QCOMPARE(Rows(tree, "3.0.0").first()->text(PARAM_COL_VALEUR), QString());
        QVERIFY(qobject_cast<QCheckBox*>(tree->itemWidget(Rows(tree, "3.4.0").first(), PARAM_COL_VALEUR))
                    ->isChecked());
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QVERIFY(calls.isEmpty());
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));

        // Save: always asks, starting at the named file.
        answers << outPath;
        widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        checkCall(MainWindow::FileDialogKind::Save, "Configuration", inPath, "config (*.txt)");
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration enregistrée"));
        QCOMPARE(fileName->text(), outPath);
        QFile out(outPath);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray saved = out.readAll();
        out.close();
        QStringList lines = QString::fromUtf8(saved).split('\n');
        QCOMPARE(lines.takeLast(), QString());
        const QStringList ids = Identifiants(tree);
        QCOMPARE(lines.size(), ids.size());
        for (int i = 0; i < ids.size(); ++i)
            QCOMPARE(lines[i].section('=', 0, 0), ids[i]);
        QCOMPARE(lines.mid(0, 2), QStringList({"3.0.0=", "3.0.1=A"}));
        QVERIFY(lines.contains("3.4.0=1"));
        QVERIFY(lines.contains("3.4.1=0"));
        QVERIFY(lines.contains("2.0.10=0"));

        // A failed write keeps the old file whole.
        Rows(tree, "3.0.1").first()->setText(PARAM_COL_VALEUR, "Nouveau");
        answers << outPath;
        {
            FileSizeLimit limit(64);
            QVERIFY(limit.isActive());
            widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        }
        calls.clear();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible de créer le fichier"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), saved);
        out.close();

        // Cancelled dialogs.
        widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        calls.clear();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible de créer le fichier"));
        QCOMPARE(fileName->text(), QString());
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        calls.clear();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible d'ouvrir le fichier"));
        QCOMPARE(Rows(tree, "3.0.1").first()->text(PARAM_COL_VALEUR), QStringLiteral("Nouveau"));

        // Firmware: a fixed start folder, the choice is not kept.
        answers << "/somewhere/prog.hex";
        widget<QAbstractButton>(window, "BTN_FirmwareFile")->click();
        checkCall(MainWindow::FileDialogKind::Open, QStringLiteral("Sélection du fichier hex"),
                  window.WorkingDirectory(), "Prog (*.hex)");
        QCOMPARE(widget<QLineEdit>(window, "SAI_FirmwareStatus")->text(), QString());
        QCOMPARE(fileName->text(), QString());
        QCOMPARE(boxes.boxes, QStringList());
    }

    void clockAndOutputTests()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        BoxCatcher boxes;

        // Link closed: an error at once, nothing waited for.
        widget<QPushButton>(window, "BTN_DateHeureMAJ")->click();
        QCOMPARE(boxes.boxes.takeFirst(),
                 QStringLiteral("MAJ Heure/Date / Mise à jour ECHEC : lecteur non connecté"));

        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        reader.answer('V', 'P', '0');
        reader.answer('V', 'P', '0');
        reader.answer('V', 'P', '0');
        reader.answer('V', 'P', '5');
        widget<QPushButton>(window, "BTN_DateHeureMAJ")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("MAJ Heure/Date / Mise à jour OK"));
        QStringList payloads = Payloads(reader, 'P');
        QCOMPARE(payloads.size(), 2);
        QVERIFY(QRegularExpression("^12\\.255\\.8=\\d\\d/\\d\\d/\\d\\d$").match(payloads[0]).hasMatch());
        QVERIFY(QRegularExpression("^12\\.255\\.9=\\d\\d:\\d\\d$").match(payloads[1]).hasMatch());

        // The "Tests" tab is disabled in the form; its slots are reached directly.
        auto* status = widget<QLineEdit>(window, "SAI_TestCmdStatus");
        widget<QLineEdit>(window, "SAI_TestDurationImpulsion")->setText("150");
        window.on_BTN_TestC1_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Test C1->OK"), Bound);
        window.on_BTN_TestC2_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith("Test C2->"), Bound);
        QVERIFY2(!status->text().endsWith("->OK"), qPrintable(status->text()));
        QCOMPARE(Payloads(reader, 'P').mid(2), QStringList({"12.255.7.0=150", "12.255.7.1=150"}));
        QCOMPARE(boxes.boxes, QStringList());
    }
};

QTEST_MAIN(TstWindowReaderConfig)
#include "tst_windowreaderconfig.moc"
