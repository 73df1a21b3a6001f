#include <QtTest>

#include <QtWidgets>

#include "app/demosite.h"
#include "app/mainwindow.h"
#include "e2ebench.h"
#include "windowbench.h"

// The emulator killed under a polling window, then started again on the same
// --link path, as an adapter pulled and plugged in again.
class TstE2eReconnect : public QObject
{
    Q_OBJECT

    static constexpr int Bound = 15000;
    TemporaryCurrentDir m_dir;

private slots:
    void reconnect()
    {
        const QString link = m_dir.filePath("ttyKORVEL");
        QVERIFY(DemoSitePrepare(m_dir.path(), nullptr)); // the profiles of the emulator's badges
        E2eEmulator emulator;
        QVERIFY(emulator.start({"--link", link}));
        MainWindow window(link);
        QVERIFY(E2ePortOpen(window, link));
        auto* com = E2eWidget<QLineEdit>(window, "LINEEDIT_Com");
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        emulator.kill();
        QTRY_COMPARE_WITH_TIMEOUT(com->text(), QStringLiteral("Reconnexion..."), Bound);
        QVERIFY(emulator.start({"--link", link}));
        QTRY_VERIFY_WITH_TIMEOUT(window.Protocole().Connected && com->text() == "Ouvert", Bound);
        emulator.command("present 2"); // a valid badge, read only if polling resumed
        QTRY_COMPARE_WITH_TIMEOUT(E2eWidget<QLineEdit>(window, "SAI_ProtocoleStatus")->text(),
                                  QStringLiteral("Lecture->OK"), Bound);

        // Lost again and given up: a watch still on would keep "Fermé" in the tooltip.
        emulator.kill();
        QTRY_COMPARE_WITH_TIMEOUT(com->text(), QStringLiteral("Reconnexion..."), Bound);
        E2eWidget<QPushButton>(window, "BTN_Serial")->click();
        QTRY_COMPARE_WITH_TIMEOUT(com->text(), QStringLiteral("Fermé"), Bound);
    }
};

QTEST_MAIN(TstE2eReconnect)
#include "tst_e2e_reconnect.moc"
