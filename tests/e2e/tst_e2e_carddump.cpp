#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/mainwindow.h"
#include "e2ebench.h"
#include "windowbench.h"

// A badge whose sectors open with different keys is dumped, saved as .mfd, loaded, cloned onto
// the emulator's UID-writable blank card and compared: the two cards are then one.
class TstE2eCardDump : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void dumpSaveCloneCompare()
    {
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        MainWindow window(emulator.port());
        QVERIFY(E2ePortOpen(window, emulator.port()));
        const QString file = m_dir.filePath("badge.mfd");
        window.FileDialog = [&file](auto, auto, auto, auto) { return file; };
        auto* status = E2eWidget<QLineEdit>(window, "SAI_CardStatus");
        const auto click = [&window](const char* name) { E2eWidget<QPushButton>(window, name)->click(); };
        E2eWidget<QLineEdit>(window, "SAI_KeyToUsed")->setText("0x5A 0x17 0xC3 0x88 0x2E 0x91");

        QCOMPARE(emulator.command("present 7"), QStringList());
        click("BTN_CardDump");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), "Lecture carte->PARTIEL (15/16 secteurs)", 30000);

        QCOMPARE(emulator.command("present 6"), QStringList());
        click("BTN_CardDump");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), "Lecture carte->OK (16/16 secteurs)", 30000);
        click("BTN_CardSave");
        QCOMPARE(status->text(), "Enregistré : badge.mfd");
        click("BTN_CardLoad");
        QCOMPARE(status->text(), "Chargé : badge.mfd");

        QCOMPARE(emulator.command("present 8"), QStringList());
        E2eWidget<QCheckBox>(window, "CKB_CardWriteBlock0")->setChecked(true);
        click("BTN_CardRestore");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), "Ecriture carte->OK (vérifiée)", 30000);
        click("BTN_CardCompare");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), "Comparaison carte->OK (identique)", 30000);
        // Keys, access bytes and data alike, as the emulator stores them.
        const QJsonArray cards = emulator.state().value("cards").toArray();
        QCOMPARE(cards.at(7).toObject().value("memory"), cards.at(5).toObject().value("memory"));
    }
};

QTEST_MAIN(TstE2eCardDump)
#include "tst_e2e_carddump.moc"
