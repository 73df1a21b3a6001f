#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
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

// "VP 3.0.1=x" texts of the parameter requests, from request `from` on.
QStringList Payloads(const FakeReader& reader, const char* letters, int from = 0)
{
    return reader.requestTexts().mid(from).filter(QRegularExpression(QStringLiteral("^%1 ").arg(letters)));
}

QTreeWidgetItem* Row(QTreeWidget* tree, const QString& id)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(PARAM_COL_IDENTIFIANT) == id)
            return *it;
    }
    qFatal("no row %s", qPrintable(id));
    return nullptr;
}

QStringList Identifiants(QTreeWidget* tree, const QString& prefix = QString())
{
    QStringList ids;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (!(*it)->text(PARAM_COL_IDENTIFIANT).isEmpty())
            ids << prefix + (*it)->text(PARAM_COL_IDENTIFIANT);
    }
    return ids;
}

} // namespace

// The "Lecteur", "Firmware" and "Tests" tabs through the window, against a
// scripted reader on a pseudo-terminal. The units behind them are tested on their own.
class TstWindowReaderConfig : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void readEditWrite()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        reader.answerAlways('V', 'G', '0', "1");
        reader.answerAlways('V', 'P', '0');
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        auto* tree = widget<QTreeWidget>(window, "treeWidget");
        auto* status = widget<QLineEdit>(window, "SAI_ConfigStatus");
        auto* bar = widget<QProgressBar>(window, "PROGRESS_Config");
        auto* save = widget<QPushButton>(window, "BTN_ReaderConfigSave");
        auto* fileSave = widget<QPushButton>(window, "BTN_ReaderFileSave");
        QVERIFY(bar->isHidden());
        QVERIFY(!save->isEnabled() && !fileSave->isEnabled());
        widget<QPushButton>(window, "BTN_ReaderConfigAll")->click();
        for (int c = 0; c < tree->columnCount(); ++c)
            QVERIFY(!tree->isColumnHidden(c));
        // The link enables the reader buttons; the file save waits for a complete read.
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        QVERIFY(!fileSave->isEnabled());

        widget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->maximum(), 143);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Lecture Ok"), Bound);
        QVERIFY(bar->isHidden());
        QCOMPARE(Payloads(reader, "VG"), Identifiants(tree, "VG "));
        QVERIFY(save->isEnabled() && fileSave->isEnabled());

        // Three objects, changed in an order that is not the tree's.
        auto* installed = qobject_cast<QCheckBox*>(tree->itemWidget(Row(tree, "2.1.0.0"), PARAM_COL_VALEUR));
        QVERIFY(installed && installed->isChecked());
        installed->setChecked(false);
        QCOMPARE(status->text(), QStringLiteral("Modification à sauvegarder !"));
        Row(tree, "3.0.1")->setText(PARAM_COL_VALEUR, "Site B");
        Row(tree, "10.1")->setText(PARAM_COL_VALEUR, "7");
        const int before = reader.requestCount();
        save->click();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Save(10) :->OK"), Bound);
        QCOMPARE(Payloads(reader, "VP", before), QStringList({"VP 2.1.0.0=0", "VP 3.0.1=Site B", "VP 10.1=7",
                                                              "VP 2.255.1=", "VP 3.255.1=", "VP 10.255.1="}));
        QCOMPARE(Row(tree, "3.0.1")->text(PARAM_COL_MODIFIE), QStringLiteral("0"));
        QVERIFY(bar->isHidden());
        save->click();
        QCOMPARE(status->text(), QStringLiteral("Aucune modification"));
    }

    // While a read runs, the files and a second read are refused.
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
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click(); // also enables the file save
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));
        Row(tree, "3.0.1")->setText(PARAM_COL_VALEUR, "Autre");

        widget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
        for (const char* button : {"BTN_ReaderFileLoad", "BTN_ReaderFileSave", "BTN_ReaderConfigLoad"}) {
            status->clear();
            widget<QPushButton>(window, button)->click();
            QCOMPARE(status->text(), CommandChain::BusyText());
        }
        QCOMPARE(Row(tree, "3.0.1")->text(PARAM_COL_VALEUR), QStringLiteral("Autre"));
        QTRY_VERIFY_WITH_TIMEOUT(status->text().endsWith("->TIMEOUT"), Bound);
        QCOMPARE(Payloads(reader, "VG").size(), 1);
        QVERIFY(widget<QProgressBar>(window, "PROGRESS_Config")->isHidden());
        QCOMPARE(boxes.boxes, QStringList());

        // Once the chain has ended, the same file loads.
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes, QStringList({"Information / Configuration chargée"}));
        QCOMPARE(Row(tree, "3.0.1")->text(PARAM_COL_VALEUR), QStringLiteral("Fichier"));
        QCOMPARE(dialogs, 0);
    }

    void configurationFiles()
    {
        MainWindow window;
        BoxCatcher boxes;
        QStringList calls; // kind, caption, start, filter
        QStringList answers;
        window.FileDialog = [&](MainWindow::FileDialogKind kind, const QString& caption, const QString& dir,
                                const QString& filter) {
            calls << QStringList{kind == MainWindow::FileDialogKind::Save ? "Save" : "Open", caption, dir,
                                 filter}
                         .join('|');
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        auto* tree = widget<QTreeWidget>(window, "treeWidget");
        auto* fileName = widget<QLineEdit>(window, "SAI_FIleName");
        const QString work = window.WorkingDirectory();
        const QString inPath = QDir::current().absoluteFilePath("in.txt");
        const QString outPath = QDir::current().absoluteFilePath("out.txt");
        QFile in(inPath);
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("3.0.1=A\n3.4.0=\n");
        in.close();

        answers << "chosen.txt";
        widget<QAbstractButton>(window, "BTN_FileSelect")->click();
        QCOMPARE(fileName->text(), QStringLiteral("chosen.txt"));
        // Load asks only when no file is named, starting in the current folder.
        fileName->clear();
        answers << inPath;
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));
        QCOMPARE(widget<QLineEdit>(window, "SAI_ConfigStatus")->text(),
                 QStringLiteral("Origine des données->Fichier"));
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());
        QCOMPARE(Row(tree, "3.0.1")->text(PARAM_COL_VALEUR), QStringLiteral("A"));
        QVERIFY(
            qobject_cast<QCheckBox*>(tree->itemWidget(Row(tree, "3.4.0"), PARAM_COL_VALEUR))->isChecked());
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));

        // Save always asks, starting at the named file; a failed write keeps the old file whole.
        answers << outPath;
        widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration enregistrée"));
        QCOMPARE(fileName->text(), outPath);
        QFile out(outPath);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray saved = out.readAll();
        out.close();
        QVERIFY2(saved.startsWith("3.0.0=\n3.0.1=A\n"), saved.left(40).constData());
        Row(tree, "3.0.1")->setText(PARAM_COL_VALEUR, "Nouveau");
        answers << outPath;
        {
            FileSizeLimit limit(64);
            QVERIFY(limit.isActive());
            widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        }
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible de créer le fichier"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), saved);
        out.close();

        // Cancelled dialogs.
        widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible de créer le fichier"));
        QCOMPARE(fileName->text(), QString());
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible d'ouvrir le fichier"));
        QCOMPARE(Row(tree, "3.0.1")->text(PARAM_COL_VALEUR), QStringLiteral("Nouveau"));

        // Firmware: a fixed start folder, the choice is not kept.
        answers << "/somewhere/prog.hex";
        widget<QAbstractButton>(window, "BTN_FirmwareFile")->click();
        QCOMPARE(fileName->text(), QString());
        QCOMPARE(boxes.boxes, QStringList());
        const QString config = "|Configuration|";
        QCOMPARE(calls, (QStringList{"Open" + config + work + "|config (*.txt)",
                                     "Open" + config + QDir::currentPath() + "|config (*.txt)",
                                     "Save" + config + inPath + "|config (*.txt)",
                                     "Save" + config + outPath + "|config (*.txt)",
                                     "Save" + config + outPath + "|config (*.txt)",
                                     "Open" + config + QDir::currentPath() + "|config (*.txt)",
                                     "Open|Sélection du fichier hex|" + work + "|Prog (*.hex)"}));
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
        for (char status : {'0', '0', '0', '5'})
            reader.answer('V', 'P', status);
        widget<QPushButton>(window, "BTN_DateHeureMAJ")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("MAJ Heure/Date / Mise à jour OK"));
        const QStringList clock = Payloads(reader, "VP");
        QCOMPARE(clock.size(), 2);
        QVERIFY(clock[0].startsWith("VP 12.255.8=") && clock[1].startsWith("VP 12.255.9="));

        // The "Tests" tab is disabled in the form; its slots are reached directly.
        auto* status = widget<QLineEdit>(window, "SAI_TestCmdStatus");
        widget<QLineEdit>(window, "SAI_TestDurationImpulsion")->setText("150");
        window.on_BTN_TestC1_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Test C1->OK"), Bound);
        window.on_BTN_TestC2_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Test C2->FAILED"), Bound);
        QCOMPARE(Payloads(reader, "VP").mid(2), QStringList({"VP 12.255.7.0=150", "VP 12.255.7.1=150"}));
        QCOMPARE(boxes.boxes, QStringList());
    }
};

QTEST_MAIN(TstWindowReaderConfig)
#include "tst_windowreaderconfig.moc"
