#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "access/groups.h"
#include "badge/badgetab.h"
#include "link/argids.h"
#include "link/resultrouter.h"
#include "tabbench.h"

class TstBadgeTab : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        Fixture()
        {
            for (int zone = 0; zone < ZONE_COUNT; ++zone)
                zones[zone] = {true, QStringLiteral("Z%1").arg(zone)};
            // Group 0: zones 0 and 3 on counter 2, zone 5 unlimited, zone 6 refused.
            CGROUP* first = GroupAdd(&groups, QStringLiteral("Personnel"), 10);
            first->Rules[0] = {true, 2, 0, 0, 5};
            first->Rules[3] = {true, 2, 0, 0, 7};
            first->Rules[5] = {true, 0, 0, 0, 0};
            // Group 1: zone 1 on counter 1, nothing unlimited.
            GroupAdd(&groups, QStringLiteral("Visiteur"), 20)->Rules[1] = {true, 1, 0, 0, 3};
            GroupListFill(&groups, form.ui.COMBO_Profil);
            tab = new BadgeTab(&form.window, link, form.ui.TREE_AppsConfig, zones, &groups);
            tab->RegisterResults(router);
        }
        ~Fixture()
        {
            delete tab;
            qDeleteAll(groups);
        }
        QLineEdit* edit(const char* name) const { return form.widget(name); }
        void setting(const QString& key, const QString& value)
        {
            for (QTreeWidgetItem* row :
                 form.ui.TREE_AppsConfig->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive, 2)) {
                if (row->text(2) == key)
                    row->setText(1, value);
            }
        }
        QString record() const
        {
            QString built;
            tab->Form().RecordBuild(&built);
            return built;
        }
        // An "Accès" badge with no validity date.
        void accessBadge()
        {
            form.ui.COMBO_BadgeType->setCurrentIndex(2);
            form.ui.SAI_ValiditeDate->QAbstractSpinBox::clear();
        }

        TestForm form;
        FakeLink link;
        CZONE zones[ZONE_COUNT];
        QList<CGROUP*> groups;
        ResultRouter router;
        BadgeTab* tab = nullptr;
    };

private slots:
    void recordBuild()
    {
        Fixture f;
        f.accessBadge();
        QCOMPARE(f.record(), QStringLiteral("Tyc=128"));
        f.form.ui.COMBO_BadgeType->setCurrentIndex(-1);
        QCOMPARE(f.record(), QStringLiteral("Tyc="));

        f.form.ui.COMBO_BadgeType->setCurrentIndex(2);
        f.form.fill("SAI_Usr=15;SAI_Grp=2;SAI_CreationDate=04/12/26;SAI_LastName=Test");
        f.form.ui.SAI_ValiditeDate->setDate(QDate(2027, 12, 31));
        f.tab->Form().CounterRowShow(0);
        f.tab->Form().CounterRows[0].Value->setText("12.50");
        f.tab->Form().CounterRowShow(1);
        f.tab->Form().CounterRows[1].Value->clear();
        f.tab->Form().CounterRows[2].Value->setText("9.00"); // not in use
        QCOMPARE(f.record(), QStringLiteral("Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=261204;Nal=Test;Cn0=1250"));

        f.tab->Form().CounterRows[0].Value->setText("1.5");
        f.tab->Form().CounterRows[1].Value->setText("3");
        f.form.fill("SAI_CreationDate=29/02/00;SAI_LastName="); // a leap day of 2000, not of 1900
        f.form.ui.SAI_ValiditeDate->QAbstractSpinBox::clear();
        QCOMPARE(f.record(), QStringLiteral("Tyc=128;Usr=15;Grp=2;Cda=000229;Cn0=150;Cn1=300"));

        f.form.fill(
            "SAI_CreationDate=31/02/26;SAI_Domaine=D;SAI_Remise=5;SAI_FirstName=Jean;SAI_Compagny=ACME;"
            "SAI_Level=3");
        QCOMPARE(f.record(),
                 QStringLiteral("Tyc=128;Usr=15;Grp=2;Lev=3;Doi=D;Rem=5;Naf=Jean;Nac=ACME;Cn0=150;Cn1=300"));
    }

    void recordDisplay()
    {
        Fixture f;
        f.tab->Form().RecordDisplay("Cn3=1205;Cn8=100;Cnx=100");
        QCOMPARE(f.tab->Form().CounterRows[3].Value->text(), QStringLiteral("12.05"));
        f.tab->Form().RecordDisplay("Cn31=100");
        QCOMPARE(f.tab->Form().CounterRows[3].Value->text(), QStringLiteral("1.00"));
        f.tab->Form().RecordDisplay("Vda=991231");
        f.tab->Form().RecordDisplay("Vda=991331;Cda=261204");
        QCOMPARE(f.form.ui.SAI_ValiditeDate->date(), QDate(2099, 12, 31));
        QCOMPARE(f.edit("SAI_CreationDate")->text(), QStringLiteral("04/12/26"));

        f.edit("SAI_Compagny")->setText("Keep");
        f.tab->Form().RecordDisplay("UID=04A1B2C3;Nal=Du=pont;Usr;Naf=Ann;Lev=2;Doi=7;Rem=10;Uni=4;usr=9");
        QCOMPARE(
            f.form.texts(
                "SAI_UID SAI_LastName SAI_Usr SAI_FirstName SAI_Level SAI_Domaine SAI_Remise SAI_Compagny"),
            QStringLiteral("04A1B2C3|Du||Ann|2|7|10|Keep"));
        f.form.ui.COMBO_BadgeType->setCurrentIndex(2);
        f.tab->Form().RecordDisplay("Tyc=16");
        f.tab->Form().RecordDisplay("Tyc=99");
        QCOMPARE(f.form.ui.COMBO_BadgeType->currentText(), QStringLiteral("Crédit"));

        // A group that is no profile index only fills the group field.
        f.form.ui.COMBO_Profil->setCurrentIndex(1);
        f.tab->Form().RecordDisplay("Grp=7");
        QCOMPARE(f.edit("SAI_Grp")->text(), QStringLiteral("7"));
        QCOMPARE(f.form.ui.COMBO_Profil->currentIndex(), 1);

        // Counters sent before the group keep their values.
        f.tab->Form().CounterRowsClear();
        f.tab->Form().RecordDisplay("Cn0=1250;Grp=1");
        QCOMPARE(f.form.ui.COMBO_Profil->currentIndex(), 1);
        QVERIFY(f.tab->Form().CounterRows[0].InUse);
        QCOMPARE(f.tab->Form().CounterRows[0].Label->text(), QStringLiteral("Z1"));
        QCOMPARE(f.tab->Form().CounterRows[0].Value->text(), QStringLiteral("12.50"));

        // The zones of the badge shown before do not stay under the next one.
        f.tab->Form().CounterRowsClear();
        f.tab->Form().RecordDisplay("Grp=0");
        QCOMPARE(f.tab->Form().ZoneLabels[5]->text(), QStringLiteral("Z5"));
        QVERIFY(!f.tab->Form().ZoneLabels[5]->isHidden());
        QCOMPARE(f.tab->Form().CounterRows[1].Value->text(), QStringLiteral("0"));
        f.tab->Form().RecordDisplay("Grp=1");
        QCOMPARE(f.tab->Form().ZoneLabels[5]->text(), QString());
        QVERIFY(f.tab->Form().ZoneLabels[5]->isHidden());
    }

    // Two zones on one counter, an unlimited zone, a refused one.
    void profileChoice()
    {
        Fixture f;
        f.tab->ProfilChanged(0);
        QCOMPARE(f.edit("SAI_Grp")->text(), QStringLiteral("10"));
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(f.tab->Form().CounterRows[row].InUse, row == 1);
            QCOMPARE(f.tab->Form().CounterRows[row].Label->isHidden(), row != 1);
        }
        QVERIFY(!f.tab->Form().CounterRows[1].Value->isHidden());
        QCOMPARE(f.tab->Form().CounterRows[1].Label->text(), QStringLiteral("Z0\n+ Z3"));
        QCOMPARE(f.tab->Form().CounterRows[1].Value->text(), QStringLiteral("7"));
        for (int zone = 0; zone < ZONE_COUNT; ++zone)
            QCOMPARE(f.tab->Form().ZoneLabels[zone]->isHidden(), zone != 5);
        QCOMPARE(f.tab->Form().ZoneLabels[5]->text(), QStringLiteral("Z5"));
        QVERIFY(f.record().endsWith(QStringLiteral(";Cn1=700")));

        f.tab->ProfilChanged(1);
        QCOMPARE(f.edit("SAI_Grp")->text(), QStringLiteral("20"));
        QVERIFY(!f.tab->Form().CounterRows[1].InUse);
        QCOMPARE(f.tab->Form().CounterRows[0].Value->text(), QStringLiteral("3"));
        QVERIFY(f.tab->Form().ZoneLabels[5]->isHidden());
        f.tab->ProfilChanged(5);
        QCOMPARE(f.edit("SAI_Grp")->text(), QStringLiteral("20"));
        QVERIFY(!f.tab->Form().CounterRows[0].InUse);
    }

    void modesAndDefaults()
    {
        Fixture f;
        QCOMPARE(f.tab->BadgeMode, 0);
        QPushButton* read = f.form.ui.BTN_BadgeRead;
        QPushButton* create = f.form.ui.BTN_BadgeCreate;

        // The user number comes from "CREATION.CURRENT.USER", not from the group setting.
        f.setting("CREATION.CURRENT.USER", "41");
        f.setting("CREATION.DEFAUT.NOM", "Martin");
        create->setChecked(true);
        f.tab->BadgeCreateClicked();
        QCOMPARE(f.tab->BadgeMode, 1);
        QVERIFY(f.link.polling);
        QCOMPARE(f.form.ui.COMBO_BadgeType->currentText(), QStringLiteral("Accès"));
        QCOMPARE(f.form.texts(
                     "SAI_Usr SAI_Grp SAI_LastName SAI_FirstName SAI_Compagny SAI_Remise SAI_SupportStatus"),
                 QStringLiteral("41|1|Martin|||0|Insérez un support (cartes, clés ...)"));
        const QDate validity = QDate::currentDate().addMonths(92);
        QCOMPARE(f.edit("SAI_CreationDate")->text(), QDate::currentDate().toString("dd/MM/yy"));
        QCOMPARE(f.form.ui.SAI_ValiditeDate->date(), validity);
        QCOMPARE(f.form.ui.SAI_ValiditeDate->text(), validity.toString("dd/MM/yy"));
        f.setting("CREATION.DEFAUT.VALIDITE.MOIS.NB", "");
        f.tab->Form().CreationDefaultsLoad();
        QCOMPARE(f.form.ui.SAI_ValiditeDate->date(), QDate::currentDate().addMonths(48));

        // Switching "Lire" on switches "Créer" off, empties the form, keeps polling on.
        read->setChecked(true);
        f.tab->BadgeReadClicked();
        QVERIFY(!create->isChecked());
        QCOMPARE(f.tab->BadgeMode, 0);
        QVERIFY(f.link.polling);
        QCOMPARE(f.edit("SAI_Usr")->text(), QString());
        QVERIFY(f.form.ui.COMBO_Profil->signalsBlocked());
        f.edit("SAI_LastName")->setText("Kept");
        read->setChecked(false);
        f.tab->BadgeReadClicked();
        QVERIFY(!f.link.polling);
        QCOMPARE(f.edit("SAI_LastName")->text(), QStringLiteral("Kept"));

        create->setChecked(true);
        f.tab->BadgeCreateClicked();
        QVERIFY(!f.form.ui.COMBO_Profil->signalsBlocked());
        create->setChecked(false);
        f.tab->BadgeCreateClicked();
        QVERIFY(!f.link.polling);
        QCOMPARE(f.tab->BadgeMode, 1);

        // A polling failure switches both buttons off and keeps the mode.
        create->setChecked(true);
        f.router.Dispatch(ARG_POLLING_TIMEOUT, QString());
        QVERIFY(!create->isChecked() && !read->isChecked());
        QCOMPARE(f.tab->BadgeMode, 1);
        QCOMPARE(f.edit("SAI_ProtocoleStatus")->text(), QStringLiteral("Statut timeout"));
    }

    // request: letters and time-out of the request sent, empty for none.
    void supportInserted_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("supportStatus");
        QTest::addColumn<QString>("request");
        const auto row = [](const char* name, int mode, bool force, const char* answer, const char* status,
                            const char* request) {
            QTest::newRow(name) << mode << force << QString(answer) << QString::fromUtf8(status)
                                << QString(request);
        };
        row("read ok", 0, false, "11100000", "Support OK", "BR4000");
        row("read 1", 0, false, "11001000", "En Liste Noire", "BR4000");
        row("read 2", 0, false, "11002000", "Crédit En Erreur", "BR4000");
        row("read 3", 0, false, "11003000", "Date Validité Erreur", "BR4000");
        row("read 4", 0, false, "11004000", "Dernière écriture erreur", "BR4000");
        row("read 5", 0, false, "11005000", "Intégrité erreur", "BR4000");
        row("read 6", 0, false, "11006123", "Lecture erreur(123)", "");
        row("read 7", 0, false, "11007000", "Support Inconnu", "");
        row("read 8", 0, false, "11008000", "Sécurité inconnue", "");
        row("read 9", 0, false, "11009000", "Erreur protocole", "");
        row("read 10", 0, false, "11010000", "avant", "");
        row("read 00", 0, false, "11000000", "avant", "BR4000");
        row("read not a number", 0, false, "110ab000", "avant", "BR4000");
        row("read 11 alone", 0, false, "11", "avant", "BR4000");
        row("read no support", 0, false, "10100000", "avant", "");
        row("create ok", 1, false, "11100000", "Support OK", "BR2000");
        row("create 1", 1, false, "11001000", "En Liste Noire", "BR2000");
        row("create 5", 1, false, "11005000", "Intégrité erreur", "BN4000");
        row("create 6", 1, false, "11006123", "Lecture erreur(123)", "BR2000");
        row("create 7", 1, false, "11007000", "Support Inconnu", "BN4000");
        row("create 9", 1, false, "11009000", "Erreur protocole", "BR2000");
        row("create 10", 1, false, "11010000", "avant", "BR2000");
        row("forced ok", 1, true, "11100000", "Support OK", "BN4000");
        row("forced 1", 1, true, "11001000", "En Liste Noire", "BN4000");
        row("forced 8", 1, true, "11008000", "Sécurité inconnue", "BN4000");
        row("forced no support", 1, true, "10100000", "avant", "");
    }

    void supportInserted()
    {
        QFETCH(int, mode);
        QFETCH(bool, force);
        QFETCH(QString, answer);
        QFETCH(QString, request);
        Fixture f;
        f.tab->BadgeMode = mode;
        f.form.ui.CKB_CreationForce->setChecked(force);
        f.form.fill("SAI_SupportStatus=avant;SAI_Usr=15;SAI_Grp=2");
        f.accessBadge();
        // The poller holds the slot: the request must still go, queued.
        f.link.free = false;

        f.router.Dispatch(ARG_SUPPORT_INSERTED, answer);
        QTEST(f.edit("SAI_SupportStatus")->text(), "supportStatus");
        // A read request starts from an empty form.
        QCOMPARE(f.edit("SAI_Usr")->text().isEmpty(), request.startsWith("BR"));
        if (request.isEmpty()) {
            QVERIFY(f.link.requests.isEmpty());
            return;
        }
        QCOMPARE(f.link.requests.size(), 1);
        QVERIFY(f.link.requests[0].queued);
        const bool read = request.startsWith("BR");
        QCOMPARE(f.link.sent(), QStringLiteral("%1|%2|%3|%4")
                                    .arg(request.left(2), read ? "" : "Tyc=128;Usr=15;Grp=2")
                                    .arg(read ? ARG_BADGE_READ_RESULT : ARG_BADGE_CREATE_RESULT)
                                    .arg(request.mid(2)));
        QCOMPARE(f.edit("SAI_ProtocoleStatus")->text(),
                 read ? QStringLiteral("Lecture ...") : QStringLiteral("Création ..."));
    }

    void results_data()
    {
        QTest::addColumn<unsigned int>("id");
        QTest::addColumn<bool>("isOk");
        QTest::addColumn<char>("status");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, unsigned int id, bool isOk, char status, const char* text) {
            QTest::newRow(name) << id << isOk << status << QString::fromUtf8(text);
        };
        row("create ok", ARG_BADGE_CREATE_RESULT, true, '0', "Création->OK");
        row("create refused", ARG_BADGE_CREATE_RESULT, true, '3', "Création->ECHEC");
        row("create error", ARG_BADGE_CREATE_RESULT, false, '0', "Création->CMD ERREUR");
        row("read ok", ARG_BADGE_READ_RESULT, true, '0', "Lecture->OK");
        row("read refused", ARG_BADGE_READ_RESULT, true, '1', "Lecture->ECHEC");
        row("read error", ARG_BADGE_READ_RESULT, false, '0', "Lecture->CMD ERREUR");
        row("write ok", ARG_BADGE_WRITE_RESULT, true, '0', "Ecriture ->OK");
        row("write refused", ARG_BADGE_WRITE_RESULT, true, '1', "Ecriture ->ECHEC");
        row("write error", ARG_BADGE_WRITE_RESULT, false, '0', "Ecriture ->Echec");
    }

    // Only a created badge moves the user number on, only a read badge fills the form.
    void results()
    {
        QFETCH(unsigned int, id);
        QFETCH(bool, isOk);
        QFETCH(char, status);
        Fixture f;
        QLineEdit* protocole = f.edit("SAI_ProtocoleStatus");
        f.edit("SAI_Usr")->setText("41");
        f.form.ui.CKB_CreationForce->setChecked(true);
        const QString record = QStringLiteral("Tyc=128;UID=0A0B;Usr=77;Grp=0;Nal=Dupont;Cn1=2500");
        // No answer collected yet: nothing changes.
        f.link.answer = {0, true, '0', record};
        protocole->setText("pending");
        f.router.Dispatch(id, QString());
        QCOMPARE(protocole->text(), QStringLiteral("pending"));

        f.link.answer = {1, isOk, status, record};
        f.router.Dispatch(id, QString());
        QTEST(protocole->text(), "text");
        const bool done = isOk && status == '0';
        const bool created = id == ARG_BADGE_CREATE_RESULT && done;
        const bool read = id == ARG_BADGE_READ_RESULT && done;
        const QString form = read ? "0A0B|77|Dupont" : created ? "|42|" : "|41|";
        QCOMPARE(f.form.texts("SAI_UID SAI_Usr SAI_LastName"), form);
        if (read) {
            QCOMPARE(f.tab->Form().CounterRows[1].Value->text(), QStringLiteral("25.00"));
            QCOMPARE(f.tab->Form().ZoneLabels[5]->text(), QStringLiteral("Z5"));
        }
        // Taking the support away keeps the form.
        f.router.Dispatch(ARG_SUPPORT_REMOVED, QString());
        QCOMPARE(f.edit("SAI_SupportStatus")->text(), QStringLiteral("Aucun Support"));
        QCOMPARE(f.form.texts("SAI_UID SAI_Usr SAI_LastName"), form);
    }

    void writeAndTooLong()
    {
        Fixture f;
        f.accessBadge();
        f.link.free = false;
        f.tab->BadgeWriteClicked();
        QVERIFY(f.link.requests.isEmpty());
        f.link.free = true;
        f.edit("SAI_Usr")->setText("5");
        f.tab->BadgeWriteClicked();
        QCOMPARE(f.link.sent(), QStringLiteral("BW|Tyc=128;Usr=5|%1|1000").arg(ARG_BADGE_WRITE_RESULT));

        // A record longer than the link takes is not sent, and says why.
        f.edit("SAI_LastName")->setText(QString(1000, QLatin1Char('x')));
        f.tab->BadgeWriteClicked();
        QCOMPARE(f.link.requests.size(), 1);
        QCOMPARE(f.edit("SAI_ProtocoleStatus")->text(),
                 QStringLiteral("Ecriture ->ECHEC(enregistrement trop long)"));
        f.tab->BadgeMode = 1;
        f.form.ui.CKB_CreationForce->setChecked(true);
        f.router.Dispatch(ARG_SUPPORT_INSERTED, QStringLiteral("11100000"));
        QCOMPARE(f.link.requests.size(), 1);
        QCOMPARE(f.edit("SAI_ProtocoleStatus")->text(),
                 QStringLiteral("Création->ECHEC(enregistrement trop long)"));
    }

    void userNumberIncrement()
    {
        Fixture f;
        QLineEdit* usr = f.edit("SAI_Usr");
        const QList<QPair<QString, QString>> cases = {
            {"41", "42"}, {"", ""}, {"2147483647", "2147483648"}, {"9999999999", "9999999999"}};
        for (const auto& c : cases) {
            usr->setText(c.first);
            f.tab->Form().UserNumberIncrement();
            QCOMPARE(usr->text(), c.second);
        }
    }
};

QTEST_MAIN(TstBadgeTab)
#include "tst_badgetab.moc"
