#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/mainwindow.h"
#include "e2ebench.h"
#include "windowbench.h"

// A badge whose sectors open with different keys is read, saved as .mfd, loaded and cloned onto
// the emulator's UID-writable blank card: the two cards are then one.
class TstE2eCardDump : public QObject
{
    Q_OBJECT

private slots:
    void readSaveLoadClone()
    {
        TemporaryCurrentDir dir;
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        MainWindow window(emulator.port());
        QVERIFY(E2ePortOpen(window, emulator.port()));
        window.FileDialog = [&dir](auto, auto, auto, auto) { return dir.filePath("badge.mfd"); };
        auto* status = E2eWidget<QLineEdit>(window, "SAI_CardStatus");
        const auto click = [&window](const char* name) { E2eWidget<QPushButton>(window, name)->click(); };
        E2eWidget<QLineEdit>(window, "SAI_KeyToUsed")->setText("5A17C3882E91");

        QCOMPARE(emulator.command("present 6"), QStringList());
        click("BTN_CardDump");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), "Lecture carte->OK (16/16 secteurs)", 30000);
        click("BTN_CardSave");
        click("BTN_CardLoad");
        QCOMPARE(status->text(), "Chargé : badge.mfd");

        QCOMPARE(emulator.command("present 8"), QStringList());
        E2eWidget<QCheckBox>(window, "CKB_CardWriteBlock0")->setChecked(true);
        click("BTN_CardRestore");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), "Ecriture carte->OK (vérifiée)", 30000);
        // Keys, access bytes and data alike, as the emulator stores them.
        const QJsonArray cards = emulator.state().value("cards").toArray();
        QCOMPARE(cards.at(7).toObject().value("memory"), cards.at(5).toObject().value("memory"));
    }
};

QTEST_MAIN(TstE2eCardDump)
#include "tst_e2e_carddump.moc"
