#include <QtTest>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include "app/mainwindow.h"
#include "fakereader.h"
#include "link/argids.h"
#include "ptypair.h"
#include "windowbench.h"

// The window's start-up, dispatcher and port row, and the badge flows against a
// scripted reader on a pseudo-terminal. The flows' cases are unit-tested and run
// against the emulator end to end.
class TstMainWindow : public QObject
{
    Q_OBJECT

private:
    static QStringList comboTexts(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i) +
                         (combo->itemData(i).isValid() ? "=" + combo->itemData(i).toString() : "");
        return texts;
    }
    static QStringList headers(const QAbstractItemModel* model)
    {
        QStringList texts;
        for (int i = 0; i < model->columnCount(); ++i)
            texts << model->headerData(i, Qt::Horizontal).toString();
        return texts;
    }
    // Every text a line edit showed, since polling texts overwrite them quickly.
    static QStringList* textsOf(MainWindow& window, const char* name)
    {
        auto* texts = new QStringList;
        QObject::connect(widget<QLineEdit>(window, name), &QLineEdit::textChanged, &window,
                         [texts](const QString& t) { texts->append(t); });
        QObject::connect(&window, &QObject::destroyed, [texts] { delete texts; });
        return texts;
    }

    TemporaryCurrentDir m_dir;

private slots:
    void startUp()
    {
        QFile::remove("config.ini");
        MainWindow window;
        auto* tabs = widget<QTabWidget>(window, "ONG_Main");
        QStringList shown;
        for (int i = 0; i < tabs->count(); ++i)
            shown << tabs->widget(i)->objectName() + ":" + tabs->tabText(i) +
                         (tabs->isTabEnabled(i) ? "" : "-");
        QCOMPARE(shown, (QStringList{"ONG_ReadWrite:Clé/Carte", "tab:Zones et Groupes",
                                     "ONG_BlackList:Liste noire", "ONG_ReaderConfig:Lecteur",
                                     "ONG_Firmware:Firmware", "ONG_Configuration:Configuration",
                                     "ONG_Debug:Debug-", "ONG_Test:Tests-", "ONG_Expert:Expert"}));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(widget<QLabel>(window, "LAB_Version")->text(), QStringLiteral("Version:1.00"));
        QVERIFY(!window.windowIcon().isNull()); // the resource of the static library is registered
        QCOMPARE(window.BadgeMode(), 0);
        QCOMPARE(QDir(window.WorkingDirectory()).canonicalPath(), QDir(m_dir.path()).canonicalPath());
        QCOMPARE(window.WorkingFilePath("listenoire.txt"), QDir(m_dir.path()).filePath("listenoire.txt"));

        // A missing config.ini is created empty, with no zone and no group.
        QVERIFY(QFileInfo::exists("config.ini"));
        QCOMPARE(QFileInfo("config.ini").size(), 0);
        QCOMPARE(widget<QComboBox>(window, "COMBO_Profil")->count(), 0);
        QCOMPARE(widget<QComboBox>(window, "CBOX_GroupList")->count(), 0);

        QCOMPARE(comboTexts(widget<QComboBox>(window, "COMBO_BadgeType")),
                 (QStringList{"Crédit=16", "Exploitant=2", "Accès=128", "Unité=32", "Facturation=64"}));
        QCOMPARE(widget<QTableWidget>(window, "TABLE_BlackList")->rowCount(), 0);
        QCOMPARE(headers(widget<QTableWidget>(window, "TABLE_BlackList")->model()),
                 (QStringList{"Date", "Uid", "Utilisateur", "Groupe", "Raison"}));
        QCOMPARE(headers(widget<QTreeWidget>(window, "treeWidget")->model()),
                 (QStringList{"Désignation", "Valeur", "Save", "Identifiant", "Modifié", "Mask", "Max",
                              "Widget", "WidgetArguments", "Attribut", "Version"}));

        // The settings tree's rows and the values the badge tab reads from it.
        auto* apps = widget<QTreeWidget>(window, "TREE_AppsConfig");
        QVERIFY(apps->isColumnHidden(2));
        QCOMPARE(apps->topLevelItemCount(), 2);
        QCOMPARE(apps->topLevelItem(0)->childCount(), 7);
        const QList<QPair<const char*, const char*>> settings = {
            {"CREATION.DEFAUT.CREDIT", "200"}, {"CREATION.DEFAUT.GROUP", "1"},
            {"CREATION.CURRENT.USER", "1"},    {"CREATION.DEFAUT.VALIDITE.MOIS.NB", "92"},
            {"CREATION.DEFAUT.NOM", ""},       {"CREATION.DEFAUT.PRENOM", ""},
            {"CREATION.DEFAUT.SOCIETE", ""},   {"CREDIT.DEFAUT.NUMERO", "0"}};
        for (const auto& s : settings)
            QCOMPARE(window.AppsConfigReadString(s.first, "x"), QString(s.second));
    }

    void statusAndDispatcher()
    {
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        // A new search refills the combo, leaving the link as it is.
        auto* ports = widget<QComboBox>(window, "COMB_Serial");
        ports->addItem("/dev/ttyKorvelGone");
        widget<QPushButton>(window, "BTN_ComReaderFind")->click();
        QStringList listed;
        for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
            listed << port.portName();
        QCOMPARE(comboTexts(ports), listed);
        QCOMPARE(ports->currentIndex(), listed.isEmpty() ? -1 : 0);

        auto* debug = widget<QPlainTextEdit>(window, "TXTEDIT_Debug");
        window.DebugShow("one");
        window.DebugShow("two");
        QCOMPARE(debug->toPlainText(), QStringLiteral("one\ntwo"));
        // The "Debug" tab is disabled, so its clear button only answers a direct call.
        window.on_pushButton_3_clicked();
        QCOMPARE(debug->toPlainText(), QString());

        // Channel 1 argument 0 is shown; other channels and unknown ids are dropped.
        auto* protocole = widget<QLineEdit>(window, "SAI_ProtocoleStatus");
        window.ComDataProcess(1, 0, "Ouvert");
        window.ComDataProcess(1, 1, "ignored");
        window.ComDataProcess(3, 0, "ignored");
        window.ComDataProcess(2, 7, "ignored");
        window.ComDataProcess(2, 0, "ignored");
        QCOMPARE(protocole->text(), QStringLiteral("Ouvert"));
        window.ComDataProcess(2, ARG_SUPPORT_REMOVED, QString());
        QCOMPARE(widget<QLineEdit>(window, "SAI_SupportStatus")->text(), QStringLiteral("Aucun Support"));
        window.ComDataProcess(2, ARG_POLLING_TIMEOUT, QString());
        QCOMPARE(protocole->text(), QStringLiteral("Statut timeout"));
        for (unsigned int id : {1u, 2u, 8u, 9u, 10u, 21u, 22u, 23u, 32u, 33u, 34u, 35u})
            QVERIFY(window.Router().IsRegistered(id));

        // A trailer write that would freeze the sector asks first: no box checked reads 000.
        BoxCatcher boxes;
        widget<QLineEdit>(window, "SAI_Sector")->setText("2");
        widget<QPushButton>(window, "BTN_TraillerWrite")->click();
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY2(boxes.boxes[0].contains("ne pourront plus jamais être modifiées"),
                 qPrintable(boxes.boxes[0]));
    }

    void connectAndDisconnect()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        auto* com = widget<QLineEdit>(window, "LINEEDIT_Com");
        auto* serial = widget<QPushButton>(window, "BTN_Serial");
        const auto textColor = [com] { return com->palette().color(QPalette::Active, QPalette::Text); };
        // The buttons that need an open link follow it.
        const auto readerButtons = [&window](bool enabled) {
            for (const char* name :
                 {"BTN_BlackListReadFromSupport", "BTN_BlackListReadFromReader", "BTN_BlackListWriteToReader",
                  "BTN_BlackListWriteToSupport", "BTN_ReaderConfigLoad", "BTN_ReaderConfigSave",
                  "BTN_ZonesSendToReader"}) {
                if (widget<QPushButton>(window, name)->isEnabled() != enabled)
                    return false;
            }
            return true;
        };

        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        QCOMPARE(serial->text(), QStringLiteral("Deconnecter"));
        QCOMPARE(textColor(), QColor(Qt::green));
        QTRY_VERIFY_WITH_TIMEOUT(readerButtons(true), 10000);

        serial->click();
        QTRY_COMPARE_WITH_TIMEOUT(com->text(), QStringLiteral("Fermé"), 10000);
        QCOMPARE(serial->text(), QStringLiteral("Connecter"));
        QCOMPARE(textColor(), QColor(Qt::red));
        QTRY_VERIFY_WITH_TIMEOUT(readerButtons(false), 10000);

        // A port that cannot be opened.
        auto* combo = widget<QComboBox>(window, "COMB_Serial");
        combo->addItem("/nonexistent/ttyKorvel");
        combo->setCurrentIndex(combo->count() - 1);
        serial->click();
        QTRY_VERIFY_WITH_TIMEOUT(com->text().startsWith("Can't open /nonexistent/ttyKorvel, error code "),
                                 10000);
        QCOMPARE(serial->text(), QStringLiteral("Connecter"));
        QCOMPARE(textColor(), QColor(Qt::red));
    }

    void closeDuringFrame()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty); // never answers
        auto* window = new MainWindow;
        QVERIFY(WindowLinkSettle(*window));
        QVERIFY(WindowLinkOpen(*window, pty.slavePath()));
        widget<QPushButton>(*window, "BTN_BadgeFormat")->click();
        QVERIFY(reader.waitForRequests(1));
        QCOMPARE(reader.requests().last().subLetter, 'F');
        // The 4000 ms answer wait is cut short: the window goes at once.
        delete window;
    }

    void readFlow()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        reader.answer('B', 'S', '0', "11100000");
        reader.answer('B', 'S', '0', "10000000");
        reader.answerAlways('B', 'S', '0', "00000000");
        reader.answer('B', 'R', '0', "Tyc=16;UID=04A1B2C3;Usr=15;Grp=0;Nal=Dupont;Cn0=2550");
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        QStringList* protocole = textsOf(window, "SAI_ProtocoleStatus");
        QStringList* support = textsOf(window, "SAI_SupportStatus");

        widget<QPushButton>(window, "BTN_BadgeRead")->click();
        QTRY_VERIFY_WITH_TIMEOUT(support->contains("Aucun Support"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(protocole->contains("Lecture->OK"), 10000);
        QVERIFY(support->indexOf("Support OK") < support->indexOf("Aucun Support"));
        QVERIFY(protocole->contains("Lecture ..."));
        QString record;
        window.BadgeRecordBuild(record);
        QVERIFY2(record.endsWith(";Grp=0;Nal=Dupont"), qPrintable(record));
        // The read went out right after the insertion, before the next poll.
        const QStringList sent = reader.requestTexts();
        const int read = sent.indexOf(QRegularExpression("BR.*"));
        QVERIFY(read > 0);
        QVERIFY(sent[read - 1].startsWith("BS"));
        widget<QPushButton>(window, "BTN_BadgeRead")->click();
        QVERIFY(!window.Protocole().PollingWanted);
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
