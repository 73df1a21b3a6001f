#include <QtTest>

#include <QLineEdit>
#include <QPushButton>

#include "app/mainwindow.h"
#include "e2ebench.h"
#include "windowbench.h"

// A raw write that would ruin a sector of the emulator's valid badge never leaves the window.
class TstE2eRawWrite : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void inconsistentTrailerNotSent()
    {
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        auto frames = std::make_shared<FrameLog>();
        MainWindow window(emulator.port(), FrameLog::Sink(frames));
        QVERIFY(E2ePortOpen(window, emulator.port()));
        QCOMPARE(emulator.command("present 2"), QStringList());

        // Sector 1's trailer, whose access bytes disagree with their inverted copies.
        E2eWidget<QLineEdit>(window, "SAI_BlockNumber")->setText("7");
        E2eWidget<QLineEdit>(window, "SAI_KeyToUsed")->setText("0x5A 0x17 0xC3 0x88 0x2E 0x91");
        E2eWidget<QLineEdit>(window, "SAI_ReaderSnd")
            ->setText("0x5A 0x17 0xC3 0x88 0x2E 0x91 0xFF 0x0F 0x0F 0x00 0x5A 0x17 0xC3 0x88 0x2E 0x91");
        QTRY_VERIFY_WITH_TIMEOUT(window.Link().IsFree(), 10000);
        E2eWidget<QPushButton>(window, "BTN_ReaderWrite")->click();
        QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_ReaderRcv")->text(),
                 QStringLiteral("Erreur->Conditions d'accès invalides"));

        // The badge, whose record starts in that sector, still reads.
        QCOMPARE(emulator.command("remove"), QStringList());
        auto protocole = E2eTexts(E2eWidget<QLineEdit>(window, "SAI_ProtocoleStatus"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QCOMPARE(emulator.command("present 2"), QStringList());
        QTRY_VERIFY2_WITH_TIMEOUT(protocole->contains("Lecture->OK"), qPrintable(protocole->join('|')),
                                  15000);
        QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_LastName")->text(), QStringLiteral("Martin"));
        QCOMPARE(frames->sent('R', 'W'), QStringList());
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
    }
};

QTEST_MAIN(TstE2eRawWrite)
#include "tst_e2e_rawwrite.moc"
