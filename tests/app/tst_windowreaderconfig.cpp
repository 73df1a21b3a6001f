#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "app/mainwindow.h"
#include "fakereader.h"
#include "filesizelimit.h"
#include "ptypair.h"
#include "readerconfig/parametercatalogue.h"
#include "transfer/commandchain.h"
#include "treerows.h"
#include "windowbench.h"

namespace {
constexpr int Bound = 30000;
} // namespace

// The "Lecteur", "Firmware" and "Tests" tabs through the window, against a
// scripted reader on a pseudo-terminal. The units behind them are tested on their own.
class TstWindowReaderConfig : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }

    // While a read runs, the files and a second read are refused; the clock and output tests.
    void linkButtons()
    {
        QFile file("guard.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("3.0.1=Fichier\n");
        file.close();
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty); // silent until told
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        BoxCatcher boxes;
        // Link closed: the clock fails at once. The connected update runs end to end.
        widget<QPushButton>(window, "BTN_DateHeureMAJ")->click();
        QCOMPARE(boxes.boxes.takeFirst(),
                 QStringLiteral("MAJ Heure/Date / Mise à jour ECHEC : lecteur non connecté"));
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
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
        RowById(tree, "3.0.1")->setText(PARAM_COL_VALEUR, "Autre");

        auto* bar = widget<QProgressBar>(window, "PROGRESS_Config");
        widget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->maximum(), 143);
        for (const char* button : {"BTN_ReaderFileLoad", "BTN_ReaderFileSave", "BTN_ReaderConfigLoad"}) {
            status->clear();
            widget<QPushButton>(window, button)->click();
            QCOMPARE(status->text(), CommandChain::BusyText());
        }
        QCOMPARE(RowById(tree, "3.0.1")->text(PARAM_COL_VALEUR), QStringLiteral("Autre"));
        QTRY_VERIFY_WITH_TIMEOUT(status->text().endsWith("->TIMEOUT"), Bound);
        QCOMPARE(reader.requestTexts(), QStringList{"VG 3.0.0"});
        QVERIFY(bar->isHidden());
        QCOMPARE(boxes.boxes, QStringList());

        // Once the chain has ended, the same file loads.
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));
        QCOMPARE(RowById(tree, "3.0.1")->text(PARAM_COL_VALEUR), QStringLiteral("Fichier"));
        QCOMPARE(dialogs, 0);

        // The "Tests" tab is disabled in the form; its slots are reached directly.
        reader.answer('V', 'P', '0');
        reader.answer('V', 'P', '5');
        auto* test = widget<QLineEdit>(window, "SAI_TestCmdStatus");
        widget<QLineEdit>(window, "SAI_TestDurationImpulsion")->setText("150");
        window.on_BTN_TestC1_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(test->text(), QStringLiteral("Test C1->OK"), Bound);
        window.on_BTN_TestC2_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(test->text(), QStringLiteral("Test C2->FAILED"), Bound);
        QCOMPARE(reader.requestTexts().mid(1), QStringList({"VP 12.255.7.0=150", "VP 12.255.7.1=150"}));
        QCOMPARE(boxes.boxes, QStringList());
    }

    // The file rules are unit-tested; here, the dialogs the buttons open and the boxes they show.
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
        QVERIFY(tree->isColumnHidden(2));
        widget<QPushButton>(window, "BTN_ReaderConfigAll")->click();
        for (int c = 0; c < tree->columnCount(); ++c)
            QVERIFY(!tree->isColumnHidden(c));
        // Both saves wait for a complete read or a file load.
        QVERIFY(!widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());
        QVERIFY(!widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());
        const QString work = window.WorkingDirectory();
        const QString here = QDir::currentPath();
        const QString inPath = QDir::current().absoluteFilePath("in.txt");
        const QString outPath = QDir::current().absoluteFilePath("out.txt");
        QFile in(inPath);
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("3.0.1=A\n");
        in.close();

        answers << "chosen.txt";
        widget<QAbstractButton>(window, "BTN_FileSelect")->click();
        QCOMPARE(fileName->text(), QStringLiteral("chosen.txt"));
        // Load asks only when no file is named.
        fileName->clear();
        answers << inPath;
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration chargée"));
        QCOMPARE(widget<QLineEdit>(window, "SAI_ConfigStatus")->text(),
                 QStringLiteral("Origine des données->Fichier"));
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());
        QCOMPARE(RowById(tree, "3.0.1")->text(PARAM_COL_VALEUR), QStringLiteral("A"));

        // Save always asks, starting at the named file.
        answers << outPath << outPath;
        widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Information / Configuration enregistrée"));
        QCOMPARE(fileName->text(), outPath);
        QVERIFY(QFileInfo(outPath).size() > 0);
        {
            FileSizeLimit limit(64);
            QVERIFY(limit.isActive());
            widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        }
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible de créer le fichier"));
        // Cancelled dialogs.
        widget<QPushButton>(window, "BTN_ReaderFileSave")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible de créer le fichier"));
        QCOMPARE(fileName->text(), QString());
        widget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes.takeFirst(), QStringLiteral("Erreur / Impossible d'ouvrir le fichier"));

        // Firmware: a fixed start folder, the choice is not kept.
        answers << "/somewhere/prog.hex";
        widget<QAbstractButton>(window, "BTN_FirmwareFile")->click();
        QCOMPARE(fileName->text(), QString());
        QCOMPARE(boxes.boxes, QStringList());
        const QString config = "|Configuration|%1|config (*.txt)";
        QCOMPARE(calls, (QStringList{"Open" + config.arg(work), "Open" + config.arg(here),
                                     "Save" + config.arg(inPath), "Save" + config.arg(outPath),
                                     "Save" + config.arg(outPath), "Open" + config.arg(here),
                                     "Open|Sélection du fichier hex|" + work + "|Prog (*.hex)"}));
    }
};

QTEST_MAIN(TstWindowReaderConfig)
#include "tst_windowreaderconfig.moc"
