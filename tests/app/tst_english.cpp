#include <QtTest>

#include <QTabWidget>

#include "app/translations.h"
#include "fakereader.h"
#include "ptypair.h"
#include "testfiles.h"
#include "windowbench.h"

// The window in English: its texts change, what it writes and sends does not.
class TstEnglish : public QObject
{
    Q_OBJECT

    TemporaryCurrentDir m_dir;

    // Zones and a new group saved, one request sent: the requests, config.ini,
    // then three texts shown.
    static QStringList Run()
    {
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n");
        PtyPair pty;
        FakeReader reader(pty);
        reader.setHandler([](const ReaderRequest& r) { return FakeReader::frame(r.letter, '0'); });
        MainWindow window;
        auto* status = widget<QLineEdit>(window, "SAI_CeationSecuriteResult");
        if (!WindowLinkSettle(window) || !WindowLinkOpen(window, pty.slavePath()))
            return {};
        for (const char* slot : {"on_BTN_ZonesSave_clicked", "on_BTN_GroupNew_clicked",
                                 "on_BTN_GroupSave_clicked", "on_BTN_BadgeFormat_clicked"})
            QMetaObject::invokeMethod(&window, slot);
        if (!QTest::qWaitFor([&] { return status->text().endsWith("->OK"); }))
            return {};
        return reader.requestTexts() << QString::fromUtf8(FileBytes("config.ini"))
                                     << widget<QTabWidget>(window, "ONG_Main")->tabText(0)
                                     << widget<QPushButton>(window, "BTN_ZonesSave")->text()
                                     << status->text();
    }

private slots:
    void sameFilesAndFrames()
    {
        const QStringList french = Run();
        QVERIFY(UiLanguageInstall("en") && french.join('|').contains("LABEL:Nouveau Group;"));
        const QStringList english = Run();
        QCOMPARE(english.mid(0, english.size() - 3), french.mid(0, french.size() - 3));
        QCOMPARE(english.mid(english.size() - 3), QStringList({"Key/Card", "Save", "Formatting->OK"}));
        // --lang, then the stored choice, then the system's first UI language.
        QVERIFY(UiLanguageChoose("", "", {"en-GB"}) == "en" &&
                UiLanguageChoose("", "fr", {"en-GB"}) == "fr" &&
                UiLanguageChoose("en", "fr", {"C"}) == "en" && UiLanguageChoose("", "", {"C"}) == "fr");
    }
};

QTEST_MAIN(TstEnglish)
#include "tst_english.moc"
