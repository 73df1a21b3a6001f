#include <QtTest>
#include <QtWidgets>

#include "app/mainwindow.h"
#include "fakereader.h"
#include "filesizelimit.h"
#include "link/argids.h"
#include "ptypair.h"
#include "testfiles.h"
#include "transfer/commandchain.h"
#include "treerows.h"
#include "windowbench.h"

namespace {

const char* const Config =
    "[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\nZONE2=INSTALLED:YES;LABEL:Salle\n[GROUPS]\n"
    "GROUP=ID:4;LABEL:Personnel;Z0:YES,1,0,0,20;Z2:YES,0,0,0,0;\n"
    "GROUP=ID:9;LABEL:Visiteur;Z2:YES,0,0,0,0;\n";

bool Red(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, QPalette::ButtonText) == QColor(Qt::red);
}

QStringList Groups()
{
    return QString::fromUtf8(FileBytes("config.ini")).split('\n').filter(QRegularExpression("^GROUP="));
}

// Calls the window's slot for a button, as a click does (the "Tests" tab's are disabled).
void Press(MainWindow& window, const char* button)
{
    QVERIFY(QMetaObject::invokeMethod(&window, QByteArray("on_") + button + "_clicked"));
}

} // namespace

// The window as the shell: start-up, the dispatcher, the port row, and each slot reaching its tab,
// against a scripted reader on a pseudo-terminal. The tabs' rules are tested on their own units.
class TstWindow : public QObject
{
    Q_OBJECT

    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("*.debug=false"); }

    void startUp()
    {
        QFile::remove("config.ini");
        MainWindow window;
        auto* tabs = widget<QTabWidget>(window, "ONG_Main");
        QString enabled;
        for (int i = 0; i < tabs->count(); ++i)
            enabled += tabs->isTabEnabled(i) ? '1' : '0';
        QCOMPARE(enabled + QString::number(tabs->currentIndex()), "1111110010"); // "Debug", "Tests" off
        QVERIFY(!window.windowIcon().isNull()); // the static library's resource is registered
        QCOMPARE(window.WorkingFilePath("listenoire.txt"), QDir(m_dir.path()).filePath("listenoire.txt"));
        // A missing config.ini is created empty.
        QVERIFY(QFileInfo::exists("config.ini") && QFileInfo("config.ini").size() == 0);
        QVERIFY(!widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());

        // Channel 1 argument 0 is shown; other channels and unknown ids are dropped.
        auto* protocole = widget<QLineEdit>(window, "SAI_ProtocoleStatus");
        for (const QString call : {"1 0 Ouvert", "1 1 x", "3 0 x", "2 7 x"})
            window.ComDataProcess(call.section(' ', 0, 0).toUInt(), call.section(' ', 1, 1).toUInt(),
                                  call.section(' ', 2));
        QCOMPARE(protocole->text(), QStringLiteral("Ouvert"));
        window.ComDataProcess(DATA_CHANNEL_RESULT, ARG_SUPPORT_REMOVED, QString());
        QCOMPARE(widget<QLineEdit>(window, "SAI_SupportStatus")->text(), QStringLiteral("Aucun Support"));
        window.DebugShow("one");
        window.DebugShow("two");
        QCOMPARE(widget<QPlainTextEdit>(window, "TXTEDIT_Debug")->toPlainText(), QStringLiteral("one\ntwo"));
        Press(window, "pushButton_3");
        QVERIFY(widget<QPlainTextEdit>(window, "TXTEDIT_Debug")->toPlainText().isEmpty());
    }

    void portRow()
    {
        PtyPair pty;
        MainWindow window("/nonexistent/ttyExtra"); // a --port that cannot open
        QVERIFY(WindowLinkSettle(window));
        auto* com = widget<QLineEdit>(window, "LINEEDIT_Com");
        auto* serial = widget<QPushButton>(window, "BTN_Serial");
        // The buttons that need an open link follow it; the field is green while open, red otherwise.
        const auto row = [&] {
            QString state =
                serial->text() + ' ' +
                (com->palette().color(QPalette::Active, QPalette::Text) == Qt::green ? "green" : "red");
            for (const char* name :
                 {"BTN_BlackListReadFromSupport", "BTN_ReaderConfigSave", "BTN_ZonesSendToReader"})
                state += widget<QPushButton>(window, name)->isEnabled() ? '1' : '0';
            return state;
        };
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        QTRY_COMPARE(row(), QStringLiteral("Deconnecter green111"));
        serial->click();
        QTRY_COMPARE(com->text() + ' ' + row(), QStringLiteral("Fermé Connecter red000"));
        auto* ports = widget<QComboBox>(window, "COMB_Serial");
        ports->addItem("/nonexistent/ttyKorvel");
        ports->setCurrentIndex(ports->count() - 1);
        serial->click();
        QTRY_VERIFY(com->text().startsWith("Can't open /nonexistent/ttyKorvel, error code "));
        QCOMPARE(row(), QStringLiteral("Connecter red000"));
        // A new search refills the list, the --port first, and leaves the link as it is.
        Press(window, "BTN_ComReaderFind");
        QVERIFY(ports->findText("/nonexistent/ttyKorvel") < 0 &&
                ports->itemText(0) == "/nonexistent/ttyExtra");
    }

    // Each slot the end-to-end suite does not press sends its request; the tabs' chains run to their end.
    void slotsReachTheReader()
    {
        PtyPair pty;
        FakeReader reader(pty);
        reader.setHandler([](const ReaderRequest& r) { return FakeReader::frame(r.letter, '0'); });
        MainWindow window;
        QVERIFY(WindowLinkSettle(window) && WindowLinkOpen(window, pty.slavePath()));
        for (const char* fill : {"SAI_BlockNumber=4", "SAI_KeyToUsed=K", "SAI_Sector=1",
                                 "SAI_TestDurationImpulsion=150", "SAI_Usr=5"})
            widget<QLineEdit>(window, QString(fill).section('=', 0, 0))
                ->setText(QString(fill).section('=', 1));
        const std::pair<const char*, const char*> rows[] = {
            {"BTN_ReaderRead", "RR 4;0;K"},      {"BTN_TraillerRead", "RR 7;0;K"},
            {"BTN_BadgeFormat", "BF "},          {"BTN_BadgeWrite", "BW Tyc=16;Usr=5"},
            {"BTN_TestC1", "VP 12.255.7.0=150"}, {"BTN_TestC2", "VP 12.255.7.1=150"},
            {"BTN_ReaderConfigLoad", "VG 3.0.0"}};
        auto* status = widget<QLineEdit>(window, "SAI_BlackListStatus");
        for (const auto& [button, request] : rows) {
            const int before = reader.requestCount();
            Press(window, button);
            QVERIFY2(reader.waitForRequests(before + 1), button);
            QVERIFY2(reader.requestTexts().at(before).startsWith(request),
                     qPrintable(reader.requestTexts().at(before)));
            QTRY_VERIFY(window.Link().IsFree() &&
                        !widget<QProgressBar>(window, "PROGRESS_Config")->isVisible());
        }
        QCOMPARE(widget<QLineEdit>(window, "SAI_CeationSecuriteResult")->text(),
                 QStringLiteral("Formatage->OK"));
        QCOMPARE(widget<QLineEdit>(window, "SAI_TestCmdStatus")->text(), QStringLiteral("Test C2->OK"));
        QCOMPARE(widget<QLineEdit>(window, "SAI_ConfigStatus")->text(), QStringLiteral("Lecture Ok"));
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());

        // While a chain runs, a second one, a file load and a file save are refused on its status line.
        reader.setHandler([](const ReaderRequest&) { return QByteArray(); });
        window.FileDialog = [](MainWindow::FileDialogKind, const QString&, const QString&, const QString&) {
            return QString("never.txt");
        };
        Press(window, "BTN_ReaderConfigLoad");
        auto* config = widget<QLineEdit>(window, "SAI_ConfigStatus");
        for (const char* button :
             {"BTN_ReaderFileLoad", "BTN_ReaderFileSave", "BTN_BlackListWriteToSupport"}) {
            Press(window, button);
            QCOMPARE(QString(button).startsWith("BTN_Reader") ? config->text() : status->text(),
                     CommandChain::BusyText());
        }
        QVERIFY(!QFileInfo::exists("never.txt"));
        // The window closes while that read waits for its answer.
    }

    // Zones and groups through the window's slots: config.ini, the red marks, the boxes.
    void zonesAndGroups()
    {
        writeConfig(Config);
        MainWindow window;
        BoxCatcher boxes;
        auto* zonesSave = widget<QPushButton>(window, "BTN_ZonesSave");
        widget<QCheckBox>(window, "CB_Installed5")->click();
        QTest::keyClicks(widget<QLineEdit>(window, "LE_Label5"), "Quai");
        QVERIFY(Red(zonesSave));
        zonesSave->click();
        QVERIFY(!Red(zonesSave) && FileBytes("config.ini").contains("ZONE5=INSTALLED:YES;LABEL:Quai\n"));
        QCOMPARE(widget<QLabel>(window, "LAB_ZoneRule5")->text(), QStringLiteral("ZONE 6:\nQuai"));

        auto* chooser = widget<QComboBox>(window, "CBOX_GroupList");
        auto* number = widget<QLineEdit>(window, "LE_Group");
        auto* save = widget<QPushButton>(window, "BTN_GroupSave");
        chooser->setCurrentIndex(1); // showing another group is no edit; typing is
        QVERIFY(number->text() == "9" && !Red(save));
        number->selectAll();
        QTest::keyClicks(number, "12");
        Press(window, "BTN_GroupNew");
        save->click();
        QCOMPARE(Groups().size(), 3);
        QCOMPARE(widget<QComboBox>(window, "COMBO_Profil")->itemText(2), QStringLiteral("Nouveau Group"));
        // Deleting asks first; a save that fails says so and keeps config.ini and the red mark.
        chooser->setCurrentIndex(0);
        Press(window, "BTN_GroupDelete");
        QCOMPARE(Groups().size(), 3); // the catcher answers Ok, which is no "Yes"
        const QByteArray before = FileBytes("config.ini");
        QTest::keyClicks(number, "7");
        for (QPushButton* button : {save, zonesSave}) {
            FileSizeLimit limit(16);
            QVERIFY(limit.isActive());
            button->click();
        }
        const QString failed = "Erreur / Impossible d'enregistrer le fichier config.ini";
        QCOMPARE(boxes.boxes,
                 QStringList(
                     {"Confirmation : / Voulez-vous supprimer ce profil définitivement ?", failed, failed}));
        QVERIFY(Red(save) && FileBytes("config.ini") == before);
        Press(window, "BTN_TransactionDebit");
        Press(window, "BTN_TransactionCredit");
        QCOMPARE(boxes.boxes.mid(3).join('|'),
                 "Erreur / Contenu transaction invalide|Erreur / Contenu transaction invalide");
    }

    // The dialogs the "Lecteur" and "Firmware" buttons open, and the boxes they show.
    void configurationFiles()
    {
        MainWindow window;
        BoxCatcher boxes;
        QStringList calls; // kind and start folder
        QStringList answers;
        window.FileDialog = [&](MainWindow::FileDialogKind kind, const QString&, const QString& dir,
                                const QString&) {
            calls << (kind == MainWindow::FileDialogKind::Save ? "Save " : "Open ") + dir;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        auto* fileName = widget<QLineEdit>(window, "SAI_FIleName");
        const QString in = m_dir.filePath("in.txt");
        const QString out = m_dir.filePath("out.txt");
        QVERIFY(FileWrite(in, "3.0.1=A\n"));
        Press(window, "BTN_ReaderConfigAll");
        QVERIFY(!widget<QTreeWidget>(window, "treeWidget")->isColumnHidden(PARAM_COL_VERSION));
        answers << "chosen.txt" << in << out;
        Press(window, "BTN_FileSelect");
        QCOMPARE(fileName->text(), QStringLiteral("chosen.txt"));
        fileName->clear(); // a load asks only when no file is named
        Press(window, "BTN_ReaderFileLoad");
        Press(window, "BTN_ReaderFileLoad");
        QCOMPARE(widget<QLineEdit>(window, "SAI_ConfigStatus")->text(),
                 QStringLiteral("Origine des données->Fichier"));
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());
        QCOMPARE(RowById(widget<QTreeWidget>(window, "treeWidget"), "3.0.1")->text(PARAM_COL_VALEUR),
                 QStringLiteral("A"));
        Press(window, "BTN_ReaderFileSave"); // a save always asks, starting at the named file
        QVERIFY(FileBytes(out).startsWith("3.0.0="));
        Press(window, "BTN_ReaderFileSave"); // cancelled: nothing to write
        Press(window, "BTN_ReaderFileLoad");
        Press(window, "BTN_FirmwareFile"); // the choice is not kept
        QTRY_COMPARE(boxes.boxes.size(), 5);
        const QString loaded = "Information / Configuration chargée";
        QCOMPARE(boxes.boxes, (QStringList{loaded, loaded, "Information / Configuration enregistrée",
                                           "Erreur / Impossible de créer le fichier",
                                           "Erreur / Impossible d'ouvrir le fichier"}));
        const QString work = "Open " + window.WorkingDirectory();
        const QString here = "Open " + QDir::currentPath();
        QCOMPARE(calls, (QStringList{work, here, "Save " + in, "Save " + out, here, work}));
        QCOMPARE(fileName->text(), QString());
    }
};

QTEST_MAIN(TstWindow)
#include "tst_window.moc"
