#include <QtTest>

#include <QtWidgets>

#include "app/demosite.h"
#include "app/mainwindow.h"
#include "app/reconnectwatch.h"
#include "e2ebench.h"
#include "windowbench.h"

// The emulator killed under a polling window, then a new one started on the same
// --link path, as an adapter pulled and plugged in again.
class TstE2eReconnect : public QObject
{
    Q_OBJECT

    static constexpr int Bound = 15000;
    TemporaryCurrentDir m_dir;

private slots:
    void reconnect_data()
    {
        QTest::addColumn<bool>("create");
        QTest::addColumn<QString>("operatorDoes");
        QTest::addColumn<QString>("outcome"); // empty: the port stays closed
        QTest::newRow("read mode resumes") << false << QString() << "Lecture->OK";
        QTest::newRow("create mode resumes, name kept") << true << QString() << "Création->OK";
        QTest::newRow("box off") << false << "box off" << QString();
        QTest::newRow("Deconnecter stops the watch") << false << "Deconnecter" << QString();
    }

    void reconnect()
    {
        QFETCH(bool, create);
        QFETCH(QString, operatorDoes);
        QFETCH(QString, outcome);
        const QString link = m_dir.filePath("ttyKORVEL");
        // The demo's config.ini: the default deck's badges find their profiles in it.
        QVERIFY(DemoSitePrepare(m_dir.path(), nullptr));
        auto emulator = std::make_unique<E2eEmulator>();
        QVERIFY(emulator->start({"--link", link}));
        MainWindow window(link);
        QVERIFY(E2ePortOpen(window, link));
        auto* com = E2eWidget<QLineEdit>(window, "LINEEDIT_Com");
        auto* polling = E2eWidget<QPushButton>(window, create ? "BTN_BadgeCreate" : "BTN_BadgeRead");
        auto* name = E2eWidget<QLineEdit>(window, "SAI_LastName");
        E2eWidget<QCheckBox>(window, "CKB_AutoReconnect")->setChecked(operatorDoes != "box off");
        polling->click();
        name->setText("Typed");
        emulator->kill();
        const QString lost = operatorDoes == "box off" ? "Port perdu (" + link + ")" : "Reconnexion...";
        QTRY_COMPARE_WITH_TIMEOUT(com->text(), lost, Bound);
        if (operatorDoes == "Deconnecter") {
            E2eWidget<QPushButton>(window, "BTN_Serial")->click();
            QTRY_COMPARE_WITH_TIMEOUT(com->text(), QStringLiteral("Fermé"), Bound);
        }
        emulator = std::make_unique<E2eEmulator>();
        QVERIFY(emulator->start({"--link", link}));
        if (outcome.isEmpty()) {
            QTest::qWait(3 * ReconnectWatch::CheckIntervalMs); // several looks, had a watch gone on
            QVERIFY(!window.Protocole().Connected);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(window.Protocole().Connected && com->text() == "Ouvert", Bound);
        QCOMPARE(com->palette().color(QPalette::Text), QColor(Qt::green));
        QVERIFY(polling->isChecked());
        QCOMPARE(name->text(), QStringLiteral("Typed"));
        emulator->command(create ? "present 1" : "present 2"); // a blank card, a valid badge
        QTRY_COMPARE_WITH_TIMEOUT(E2eWidget<QLineEdit>(window, "SAI_ProtocoleStatus")->text(), outcome,
                                  Bound);
        QCOMPARE(E2eWidget<QComboBox>(window, "COMBO_Profil")->currentText(), QStringLiteral("Personnel"));
    }
};

QTEST_MAIN(TstE2eReconnect)
#include "tst_e2e_reconnect.moc"
