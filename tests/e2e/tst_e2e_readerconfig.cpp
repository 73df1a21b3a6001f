#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "app/mainwindow.h"
#include "e2ebench.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"
#include "windowbench.h"

namespace {
constexpr int Bound = 60000;

// Identifier -> value as the window would send it, for every parameter row.
QMap<QString, QString> TreeValues(QTreeWidget* tree)
{
    QMap<QString, QString> values;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QString id = (*it)->text(PARAM_COL_IDENTIFIANT);
        if (!id.isEmpty())
            values.insert(id, TreeItemValue(true, tree, *it, QString(), PARAM_COL_WIDGET, PARAM_COL_VALEUR));
    }
    return values;
}

// The emulator's committed parameters; pending values would show as "(en attente: ...)".
QMap<QString, QString> EmulatorValues(E2eEmulator& emulator)
{
    QMap<QString, QString> values;
    for (const QString& line : emulator.command("params"))
        values.insert(line.section('=', 0, 0), line.section('=', 1));
    return values;
}

bool ReadAll(MainWindow& window)
{
    auto* status = E2eWidget<QLineEdit>(window, "SAI_ConfigStatus");
    E2eWidget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
    return QTest::qWaitFor([status] { return status->text() == "Lecture Ok"; }, Bound);
}

// The status the write ended with (the last commit's ":->OK" when all went well);
// the progress bar goes when the transfer ends.
QString WriteModified(MainWindow& window)
{
    auto* status = E2eWidget<QLineEdit>(window, "SAI_ConfigStatus");
    auto* bar = E2eWidget<QProgressBar>(window, "PROGRESS_Config");
    E2eWidget<QPushButton>(window, "BTN_ReaderConfigSave")->click();
    if (!QTest::qWaitFor([bar] { return bar->isHidden(); }, Bound))
        return "still running: " + status->text();
    return status->text();
}
} // namespace

// The "Lecteur" tab against the reader emulator: parameters read, edited,
// written and committed; a configuration file carried from one reader to
// another; the clock.
class TstE2eReaderConfig : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }

    void parametersAndFile()
    {
        const QString path = m_dir.filePath("lecteur-a.txt");
        QMap<QString, QString> first;
        {
            E2eEmulator emulator;
            QVERIFY(emulator.start());
            MainWindow window(emulator.port());
            QVERIFY(E2ePortOpen(window, emulator.port()));
            auto* tree = E2eWidget<QTreeWidget>(window, "treeWidget");
            QVERIFY(ReadAll(window));
            QMap<QString, QString> read = TreeValues(tree);
            // The clock's rows are read like the others but are no stored parameters.
            QVERIFY(QRegularExpression("^\\d\\d:\\d\\d$").match(read.take("12.3")).hasMatch());
            QVERIFY(QRegularExpression("^\\d\\d/\\d\\d/\\d\\d$").match(read.take("12.4")).hasMatch());
            const QMap<QString, QString> held = EmulatorValues(emulator);
            QCOMPARE(read.keys(), held.keys());
            for (auto it = read.cbegin(); it != read.cend(); ++it)
                QCOMPARE(it.key() + "=" + it.value(), it.key() + "=" + held.value(it.key()));

            // A text, a number and a check box, then written and committed.
            auto* installed =
                qobject_cast<QCheckBox*>(tree->itemWidget(RowById(tree, "2.1.0.0"), PARAM_COL_VALEUR));
            QVERIFY(installed);
            installed->setChecked(!installed->isChecked());
            RowById(tree, "3.0.1")->setText(PARAM_COL_VALEUR, "Entrepôt Nord");
            RowById(tree, "10.1")->setText(PARAM_COL_VALEUR, "7000");
            QVERIFY2(WriteModified(window).endsWith(":->OK"),
                     qPrintable(E2eWidget<QLineEdit>(window, "SAI_ConfigStatus")->text()));
            const QMap<QString, QString> committed = EmulatorValues(emulator);
            QCOMPARE(committed.value("3.0.1"), QStringLiteral("Entrepôt Nord"));
            QCOMPARE(committed.value("10.1"), QStringLiteral("7000"));
            QCOMPARE(committed.value("2.1.0.0"),
                     installed->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
            QCOMPARE(committed, EmulatorValues(emulator)); // nothing left pending
            const QJsonObject saved = emulator.state().value("parameters").toObject();
            QCOMPARE(saved.value("3.0.1").toString(), QStringLiteral("Entrepôt Nord"));
            QCOMPARE(saved.value("10.1").toString(), QStringLiteral("7000"));

            BoxCatcher boxes;
            window.FileDialog = [path](MainWindow::FileDialogKind, const QString&, const QString&,
                                       const QString&) { return path; };
            E2eWidget<QPushButton>(window, "BTN_ReaderFileSave")->click();
            QCOMPARE(boxes.boxes, QStringList{"Information / Configuration enregistrée"});
            first = committed;
        }

        // A second reader, still with its defaults, takes the file.
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        QVERIFY(EmulatorValues(emulator) != first);
        MainWindow window(emulator.port());
        QVERIFY(E2ePortOpen(window, emulator.port()));
        QVERIFY(ReadAll(window));
        // Versions and clock in the file are another reader's: they must not be written.
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("12.0=V0.1\n12.3=00:00\n12.4=01/01/20\n");
        file.close();
        BoxCatcher boxes;
        E2eWidget<QLineEdit>(window, "SAI_FIleName")->setText(path);
        E2eWidget<QPushButton>(window, "BTN_ReaderFileLoad")->click();
        QCOMPARE(boxes.boxes, QStringList{"Information / Configuration chargée"});
        QVERIFY2(WriteModified(window).endsWith(":->OK"),
                 qPrintable(E2eWidget<QLineEdit>(window, "SAI_ConfigStatus")->text()));
        QCOMPARE(EmulatorValues(emulator), first);
    }

    void clock()
    {
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        auto frames = std::make_shared<FrameLog>();
        MainWindow window(emulator.port(), FrameLog::Sink(frames));
        QVERIFY(E2ePortOpen(window, emulator.port()));
        BoxCatcher boxes;
        const QDateTime before = QDateTime::currentDateTime();
        E2eWidget<QPushButton>(window, "BTN_DateHeureMAJ")->click();
        QCOMPARE(boxes.boxes, QStringList{"MAJ Heure/Date / Mise à jour OK"});
        const QStringList sent = frames->sent('V', 'P');
        QCOMPARE(sent.size(), 2);
        QVERIFY2(sent[0].startsWith("12.255.8=") && sent[1].startsWith("12.255.9="),
                 qPrintable(sent.join('|')));

        // The emulator's clock runs with the system's: its log shows that it was set all the same.
        const QString time = sent[1].mid(9);
        QTRY_VERIFY_WITH_TIMEOUT(emulator.log().contains("Heure réglée " + time), 10000);

        QString clock;
        for (const QString& line : emulator.command("status")) {
            if (line.startsWith("horloge: "))
                clock = line.mid(9);
        }
        const QDateTime read = QDateTime::fromString(clock, "dd/MM/yy HH:mm").addYears(100);
        QVERIFY2(read.isValid(), qPrintable(clock));
        // The minute may roll over between the update and the question.
        const QDateTime minute(before.date(), QTime(before.time().hour(), before.time().minute()));
        QVERIFY2(read == minute || read == minute.addSecs(60),
                 qPrintable(clock + " / " + minute.toString("dd/MM/yy HH:mm")));
    }
};

QTEST_MAIN(TstE2eReaderConfig)
#include "tst_e2e_readerconfig.moc"
