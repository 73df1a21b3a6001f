#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/mainwindow.h"
#include "e2ebench.h"
#include "windowbench.h"

// The "Clé/Carte" tab against the reader emulator: the default deck read card
// by card, then badges created and read back.
class TstE2eBadge : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    // Group numbers equal to their positions: a badge read selects its profile by position.
    void initTestCase()
    {
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n[GROUPS]\n"
                    "GROUP=ID:0;LABEL:Personnel;Z0:YES,1,0,0,20;\n"
                    "GROUP=ID:1;LABEL:Visiteur;Z0:YES,0,0,0,0;\n");
    }

    void readDeck()
    {
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        auto frames = std::make_shared<FrameLog>();
        MainWindow window(emulator.port(), FrameLog::Sink(frames));
        auto* combo = E2eWidget<QComboBox>(window, "COMB_Serial");
        QCOMPARE(combo->itemText(0), emulator.port());
        // The start-up opens the first port listed: the emulator's.
        QTRY_VERIFY_WITH_TIMEOUT(window.Protocole().Connected, 10000);
        QVERIFY(E2ePortOpen(window, emulator.port()));

        auto support = E2eTexts(E2eWidget<QLineEdit>(window, "SAI_SupportStatus"));
        auto protocole = E2eTexts(E2eWidget<QLineEdit>(window, "SAI_ProtocoleStatus"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QVERIFY(window.Protocole().PollingWanted);

        // Card, support status, read result (empty: no read), last name shown.
        struct Case
        {
            int card;
            QString status;
            QString read;
            QString lastName;
        };
        const QList<Case> cases{
            {1, "Support Inconnu", "", ""},
            {2, "Support OK", "Lecture->OK", "Martin"},
            {3, "Date Validité Erreur", "Lecture->OK", "Durand"},
            {4, "En Liste Noire", "Lecture->OK", "Petit"},
            {5, "Intégrité erreur", "Lecture->ECHEC", ""},
        };
        auto* lastName = E2eWidget<QLineEdit>(window, "SAI_LastName");
        for (const Case& c : cases) {
            support->clear();
            protocole->clear();
            QCOMPARE(emulator.command(QString("present %1").arg(c.card)), QStringList());
            QTRY_VERIFY2_WITH_TIMEOUT(support->contains(c.status), qPrintable(support->join('|')), 15000);
            if (!c.read.isEmpty())
                QTRY_VERIFY2_WITH_TIMEOUT(protocole->contains(c.read), qPrintable(protocole->join('|')),
                                          15000);
            QCOMPARE(lastName->text(), c.lastName);
            if (c.card == 2) {
                QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_FirstName")->text(), QStringLiteral("Alice"));
                QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_UID")->text(), QStringLiteral("5E6F7081"));
                QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_Compagny")->text(), QStringLiteral("Korvel"));
                QCOMPARE(frames->answers('B').last(),
                         QStringLiteral("0UID=5E6F7081;Tyc=128;Usr=101;Grp=0;Lev=1;Vda=991231;Cda=261201;"
                                        "Naf=Alice;Nal=Martin;Nac=Korvel;Cn0=2500"));
            }
        }
        // The blank card was not read: one read for each of the four others.
        QCOMPARE(frames->sent('B', 'R').size(), 4);

        support->clear();
        QCOMPARE(emulator.command("remove"), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(support->contains("Aucun Support"), 15000);
        QVERIFY(emulator.command("status").contains("support: aucun"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QVERIFY(!window.Protocole().PollingWanted);
    }

    void createAndReadBack()
    {
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        auto frames = std::make_shared<FrameLog>();
        MainWindow window(emulator.port(), FrameLog::Sink(frames));
        QVERIFY(E2ePortOpen(window, emulator.port()));
        auto protocole = E2eTexts(E2eWidget<QLineEdit>(window, "SAI_ProtocoleStatus"));
        auto* lastName = E2eWidget<QLineEdit>(window, "SAI_LastName");
        auto* force = E2eWidget<QCheckBox>(window, "CKB_CreationForce");
        auto* usr = E2eWidget<QLineEdit>(window, "SAI_Usr");

        E2eWidget<QPushButton>(window, "BTN_BadgeCreate")->click();
        QCOMPARE(window.BadgeMode(), 1);
        auto* profiles = E2eWidget<QComboBox>(window, "COMBO_Profil");
        profiles->setCurrentIndex(1);
        profiles->setCurrentIndex(0);
        QVERIFY(!force->isChecked());
        lastName->setText("Lefèvre");
        E2eWidget<QLineEdit>(window, "SAI_FirstName")->setText("Zoé");
        const QString firstUser = usr->text();

        // A blank card is created without forcing.
        QCOMPARE(emulator.command("present 1"), QStringList());
        QTRY_VERIFY2_WITH_TIMEOUT(protocole->contains("Création->OK"), qPrintable(protocole->join('|')),
                                  15000);
        QCOMPARE(frames->sent('B', 'N').size(), 1);
        const QString blankRecord = frames->sent('B', 'N').last();
        QVERIFY2(blankRecord.contains(";Grp=0;") && blankRecord.contains(";Nal=Lefèvre"),
                 qPrintable(blankRecord));
        QCOMPARE(usr->text(), firstUser);

        // A valid badge is only read without forcing, and keeps its record.
        protocole->clear();
        QCOMPARE(emulator.command("present 2"), QStringList());
        QTRY_VERIFY2_WITH_TIMEOUT(protocole->contains("Lecture->OK"), qPrintable(protocole->join('|')),
                                  15000);
        QCOMPARE(lastName->text(), QStringLiteral("Martin"));
        QCOMPARE(frames->sent('B', 'N').size(), 1);

        // Forced, it is created over; the next user number is offered.
        force->setChecked(true);
        lastName->setText("Roux");
        E2eWidget<QLineEdit>(window, "SAI_FirstName")->setText("Zoé");
        usr->setText("300");
        protocole->clear();
        QCOMPARE(emulator.command("present 2"), QStringList());
        QTRY_VERIFY2_WITH_TIMEOUT(protocole->contains("Création->OK"), qPrintable(protocole->join('|')),
                                  15000);
        QCOMPARE(frames->sent('B', 'N').size(), 2);
        const QString forcedRecord = frames->sent('B', 'N').last();
        QVERIFY2(forcedRecord.contains(";Usr=300;") && forcedRecord.contains(";Nal=Roux"),
                 qPrintable(forcedRecord));
        QCOMPARE(usr->text(), QStringLiteral("301"));

        // Read back, each gives the record it was created with.
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QCOMPARE(window.BadgeMode(), 0);
        const QList<QPair<int, QString>> readBacks{{1, blankRecord}, {2, forcedRecord}};
        for (const auto& [card, created] : readBacks) {
            protocole->clear();
            const int from = frames->count();
            QCOMPARE(emulator.command(QString("present %1").arg(card)), QStringList());
            QTRY_VERIFY2_WITH_TIMEOUT(protocole->contains("Lecture->OK"), qPrintable(protocole->join('|')),
                                      15000);
            const QString uid = card == 1 ? "1A2B3C4D" : "5E6F7081";
            QCOMPARE(frames->answers('B', from).last(), "0UID=" + uid + ";" + created);
            QString shown;
            window.BadgeRecordBuild(shown);
            QCOMPARE(shown, created);
            QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_UID")->text(), uid);
        }
        QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_FirstName")->text(), QStringLiteral("Zoé"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
    }
};

QTEST_MAIN(TstE2eBadge)
#include "tst_e2e_badge.moc"
