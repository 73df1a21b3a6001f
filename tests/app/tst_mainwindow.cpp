#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>

#include "app/mainwindow.h"
#include "link/argids.h"
#include "windowbench.h"

class TstMainWindow : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void startUp()
    {
        QFile::remove("config.ini");
        MainWindow window;
        window.show();
        QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(window.windowTitle(), QStringLiteral("KorvelManager"));
        QCOMPARE(window.size(), QSize(1042, 740));
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(window.findChild<QToolBar*>("mainToolBar"));
        QVERIFY(window.findChild<QStatusBar*>("statusBar"));
        QVERIFY(!window.findChild<QMenuBar*>());
        for (const char* name : {"actionVersion", "actionVersion_2", "actionVersion_3"})
            QCOMPARE(widget<QAction>(window, name)->text(), QStringLiteral("Version"));

        auto* tabs = widget<QTabWidget>(window, "ONG_Main");
        QCOMPARE(tabs->tabShape(), QTabWidget::Triangular);
        const QStringList names = {"ONG_ReadWrite",    "tab",          "ONG_BlackList",
                                   "ONG_ReaderConfig", "ONG_Firmware", "ONG_Configuration",
                                   "ONG_Debug",        "ONG_Test",     "ONG_Expert"};
        const QStringList titles = {"Clé/Carte", "Zones et Groupes", "Liste noire", "Lecteur",
                                    "Firmware",  "Configuration",    "Debug",       "Tests",
                                    "Expert"};
        QCOMPARE(tabs->count(), 9);
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(tabs->widget(i)->objectName(), names[i]);
            QCOMPARE(tabs->tabText(i), titles[i]);
            QCOMPARE(tabs->isTabEnabled(i), i != 6 && i != 7);
        }
        QCOMPARE(tabs->currentIndex(), 0);

        QCOMPARE(widget<QLabel>(window, "LAB_Version")->text(), QStringLiteral("Version:1.00"));
        QCOMPARE(widget<QPushButton>(window, "BTN_Serial")->text(), QStringLiteral("Connexion"));
        QCOMPARE(widget<QPushButton>(window, "BTN_ComReaderFind")->text(), QStringLiteral("..."));
        QVERIFY(widget<QComboBox>(window, "COMB_Serial")->minimumWidth() >= 150);
        QVERIFY(!widget<QPushButton>(window, "BTN_ReaderConfigSave")->isEnabled());
        QVERIFY(!widget<QPushButton>(window, "BTN_ReaderFileSave")->isEnabled());
        QVERIFY(widget<QPushButton>(window, "BTN_ReaderConfigLoad")->isEnabled());
        QCOMPARE(window.BadgeMode(), 0);
        QCOMPARE(QDir(window.WorkingDirectory()).canonicalPath(), QDir(m_dir.path()).canonicalPath());
        QCOMPARE(window.WorkingFilePath("listenoire.txt"),
                 QDir(window.WorkingDirectory()).filePath("listenoire.txt"));

        // A missing config.ini is created empty, with no zone and no group.
        QFileInfo config("config.ini");
        QVERIFY(config.exists());
        QCOMPARE(config.size(), 0);
        QCOMPARE(widget<QComboBox>(window, "COMBO_Profil")->count(), 0);
        QCOMPARE(widget<QComboBox>(window, "CBOX_GroupList")->count(), 0);
        QVERIFY(widget<QComboBox>(window, "CBOX_GroupList")->isEditable());

        auto* type = widget<QComboBox>(window, "COMBO_BadgeType");
        const QStringList typeTexts = {"Crédit", "Exploitant", "Accès", "Unité", "Facturation"};
        const QList<int> typeCodes = {16, 2, 128, 32, 64};
        QCOMPARE(type->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(type->itemText(i), typeTexts[i]);
            QCOMPARE(type->itemData(i).toInt(), typeCodes[i]);
        }

        auto* table = widget<QTableWidget>(window, "TABLE_BlackList");
        QCOMPARE(table->rowCount(), 0);
        QCOMPARE(table->columnCount(), 5);
        QVERIFY(table->alternatingRowColors());
        QVERIFY(!table->isSortingEnabled());
        const QStringList tableHeaders = {"Date", "Uid", "Utilisateur", "Groupe", "Raison"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(table->horizontalHeaderItem(i)->text(), tableHeaders[i]);

        auto* tree = widget<QTreeWidget>(window, "treeWidget");
        const QStringList treeHeaders = {"Désignation",     "Valeur",   "Save",   "Identifiant",
                                         "Modifié",         "Mask",     "Max",    "Widget",
                                         "WidgetArguments", "Attribut", "Version"};
        QCOMPARE(tree->columnCount(), 11);
        for (int i = 0; i < 11; ++i)
            QCOMPARE(tree->headerItem()->text(i), treeHeaders[i]);

        auto* apps = widget<QTreeWidget>(window, "TREE_AppsConfig");
        QCOMPARE(apps->columnCount(), 3);
        QVERIFY(apps->isColumnHidden(2));
        QCOMPARE(apps->columnWidth(0), 200);
        QCOMPARE(apps->columnWidth(1), 150);
        QCOMPARE(apps->topLevelItemCount(), 2);
        QCOMPARE(apps->topLevelItem(0)->text(0), QStringLiteral("Création"));
        QCOMPARE(apps->topLevelItem(1)->text(0), QStringLiteral("Crédit/Compteur"));
        QCOMPARE(apps->topLevelItem(0)->childCount(), 7);
        QCOMPARE(window.AppsConfigReadString("CREATION.DEFAUT.CREDIT", "x"), QStringLiteral("200"));
        QCOMPARE(window.AppsConfigReadString("CREATION.DEFAUT.GROUP", "x"), QStringLiteral("1"));
        QCOMPARE(window.AppsConfigReadString("CREATION.CURRENT.USER", "x"), QStringLiteral("1"));
        QCOMPARE(window.AppsConfigReadInt("CREATION.DEFAUT.VALIDITE.MOIS.NB", 48), 92);
        QCOMPARE(window.AppsConfigReadString("CREATION.DEFAUT.NOM", "x"), QString());
        QCOMPARE(window.AppsConfigReadString("CREATION.DEFAUT.PRENOM", "x"), QString());
        QCOMPARE(window.AppsConfigReadString("CREATION.DEFAUT.SOCIETE", "x"), QString());
        QCOMPARE(window.AppsConfigReadString("CREDIT.DEFAUT.NUMERO", "x"), QStringLiteral("0"));
        QCOMPARE(apps->topLevelItem(1)->child(0)->text(0), QStringLiteral("Crédit numéro défaut"));

        // The badge form.
        auto* protocole = widget<QLineEdit>(window, "SAI_ProtocoleStatus");
        QCOMPARE(protocole->font().pointSize(), 18);
        QCOMPARE(protocole->maximumWidth(), 250);
        QCOMPARE(protocole->minimumWidth(), 100);
        QCOMPARE(protocole->palette().color(QPalette::Active, QPalette::WindowText), QColor(255, 0, 255));
        QCOMPARE(protocole->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(120, 120, 120));
        QCOMPARE(widget<QLineEdit>(window, "SAI_SupportStatus")->font().pointSize(), 18);
        QVERIFY(!widget<QLineEdit>(window, "SAI_UID")->isEnabled());
        QCOMPARE(widget<QLineEdit>(window, "SAI_UID")->toolTip(),
                 QStringLiteral("IUD : numéro constructeur unique"));
        QCOMPARE(widget<QLineEdit>(window, "SAI_Grp")->inputMask(), QStringLiteral("0000000000"));
        QCOMPARE(widget<QLineEdit>(window, "SAI_Usr")->inputMask(), QStringLiteral("0000000000"));
        for (const char* name : {"BTN_BadgeRead", "BTN_BadgeCreate"}) {
            QVERIFY(widget<QPushButton>(window, name)->isCheckable());
            QVERIFY(!widget<QPushButton>(window, name)->isChecked());
        }
        QCOMPARE(widget<QPushButton>(window, "BTN_BlackListWriteToFile")->text(),
                 QStringLiteral("Sauvergader"));
        QCOMPARE(widget<QPushButton>(window, "BTN_TestC8")->text(), QStringLiteral("Commande 8 (Relais 2)"));
    }

    void profilesFromConfig()
    {
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\nZONE3=INSTALLED:YES;LABEL:Parking\n"
                    "ZONE5=INSTALLED:YES;LABEL:Piscine\n[GROUPS]\n"
                    "GROUP=ID:4;LABEL:Personnel;Z0:YES,2,0,0,10;Z3:YES,2,0,0,15;Z5:YES,0,0,0,0;\n"
                    "GROUP=ID:9;LABEL:Visiteur;Z0:YES,1,0,0,3;\n");
        MainWindow window;
        auto* profil = widget<QComboBox>(window, "COMBO_Profil");
        QCOMPARE(profil->count(), 2);
        QCOMPARE(profil->itemText(1), QStringLiteral("Visiteur"));
        QCOMPARE(widget<QComboBox>(window, "CBOX_GroupList")->count(), 2);

        // Create mode lets the operator pick a profile.
        auto* create = widget<QPushButton>(window, "BTN_BadgeCreate");
        create->click();
        QVERIFY(create->isChecked());
        QCOMPARE(window.BadgeMode(), 1);
        QVERIFY(window.Protocole().PollingWanted);
        profil->setCurrentIndex(1);
        profil->setCurrentIndex(0);
        QCOMPARE(widget<QLineEdit>(window, "SAI_Grp")->text(), QStringLiteral("4"));
        QString record;
        window.BadgeRecordBuild(record);
        QVERIFY2(record.endsWith(";Cn1=1500"), qPrintable(record));
        auto* counters = window.findChild<QGroupBox*>("GRP_CountersWithZones");
        QStringList shown;
        for (QLabel* label : counters->findChildren<QLabel*>()) {
            if (!label->isHidden())
                shown << label->text();
        }
        QCOMPARE(shown, QStringList{"Hall\n+ Parking"});

        // Read mode blocks the chooser.
        auto* read = widget<QPushButton>(window, "BTN_BadgeRead");
        read->click();
        QVERIFY(!create->isChecked());
        QCOMPARE(window.BadgeMode(), 0);
        profil->setCurrentIndex(1);
        QCOMPARE(widget<QLineEdit>(window, "SAI_Grp")->text(), QString());
        read->click();
        QVERIFY(!window.Protocole().PollingWanted);
    }

    void trailerFreezeAsksFirst()
    {
        MainWindow window;
        widget<QLineEdit>(window, "SAI_Sector")->setText("2");
        widget<QLineEdit>(window, "SAI_TrailerReadResult")->setText("old");
        QString question;
        // No box checked: the trailer's own bits would read 000, frozen for good.
        QTimer::singleShot(0, this, [&question]() {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            question = box->text();
            box->button(QMessageBox::No)->click();
        });
        widget<QPushButton>(window, "BTN_TraillerWrite")->click();
        QVERIFY2(question.contains(QStringLiteral("ne pourront plus jamais être modifiées")),
                 qPrintable(question));
        QCOMPARE(widget<QLineEdit>(window, "SAI_TrailerReadResult")->text(), QString());
    }

    void statusAndDispatcher()
    {
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        auto* com = widget<QLineEdit>(window, "LINEEDIT_Com");
        auto* serial = widget<QPushButton>(window, "BTN_Serial");
        window.ComStatusShow("Fermé");
        QCOMPARE(com->text(), QStringLiteral("Fermé"));
        QCOMPARE(com->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
        QCOMPARE(com->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(Qt::red));
        QCOMPARE(serial->text(), QStringLiteral("Connecter"));

        // A new search refills the combo, leaving the link as it is.
        auto* ports = widget<QComboBox>(window, "COMB_Serial");
        ports->addItem("/dev/ttyKorvelGone");
        widget<QPushButton>(window, "BTN_ComReaderFind")->click();
        QStringList listed;
        for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
            listed << port.portName();
        QStringList shown;
        for (int i = 0; i < ports->count(); ++i)
            shown << ports->itemText(i);
        QCOMPARE(shown, listed);
        QCOMPARE(ports->currentIndex(), listed.isEmpty() ? -1 : 0);

        auto* debug = widget<QPlainTextEdit>(window, "TXTEDIT_Debug");
        window.DebugShow("one");
        window.DebugShow("two");
        QCOMPARE(debug->toPlainText(), QStringLiteral("one\ntwo"));
        // The "Debug" tab is disabled, so its clear button only answers a direct call.
        QVERIFY(!widget<QPushButton>(window, "pushButton_3")->isEnabled());
        window.on_pushButton_3_clicked();
        QCOMPARE(debug->toPlainText(), QString());

        auto* protocole = widget<QLineEdit>(window, "SAI_ProtocoleStatus");
        window.ComDataProcess(1, 0, "Ouvert");
        QCOMPARE(protocole->text(), QStringLiteral("Ouvert"));
        window.ComDataProcess(1, 1, "ignored");
        window.ComDataProcess(3, 0, "ignored");
        window.ComDataProcess(2, 7, "ignored");
        window.ComDataProcess(2, 0, "ignored");
        QCOMPARE(protocole->text(), QStringLiteral("Ouvert"));

        const char* const buttons[] = {"BTN_BlackListReadFromSupport", "BTN_BlackListReadFromReader",
                                       "BTN_BlackListWriteToReader",   "BTN_BlackListWriteToSupport",
                                       "BTN_ReaderConfigLoad",         "BTN_ReaderConfigSave",
                                       "BTN_ZonesSendToReader"};
        window.ReaderButtonsEnable();
        for (const char* name : buttons)
            QVERIFY(widget<QPushButton>(window, name)->isEnabled());
        window.ReaderButtonsDisable();
        for (const char* name : buttons)
            QVERIFY(!widget<QPushButton>(window, name)->isEnabled());

        window.ComDataProcess(2, ARG_SUPPORT_REMOVED, QString());
        QCOMPARE(widget<QLineEdit>(window, "SAI_SupportStatus")->text(), QStringLiteral("Aucun Support"));
        window.ComDataProcess(2, ARG_POLLING_TIMEOUT, QString());
        QCOMPARE(protocole->text(), QStringLiteral("Statut timeout"));
        for (unsigned int id : {1u, 2u, 8u, 9u, 10u, 21u, 22u, 23u, 32u, 33u, 34u, 35u})
            QVERIFY(window.Router().IsRegistered(id));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
