#include <QtTest>

#include <QCheckBox>
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

    // Zones and a new group saved, one request sent: config.ini, the requests, and the texts shown.
    static QStringList Run(QStringList* shown)
    {
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n");
        PtyPair pty;
        FakeReader reader(pty);
        reader.setHandler([](const ReaderRequest& r) { return FakeReader::frame(r.letter, '0'); });
        MainWindow window;
        [&] { QVERIFY(WindowLinkSettle(window) && WindowLinkOpen(window, pty.slavePath())); }();
        widget<QCheckBox>(window, "CB_Installed5")->click();
        widget<QPushButton>(window, "BTN_ZonesSave")->click();
        QMetaObject::invokeMethod(&window, "on_BTN_GroupNew_clicked");
        widget<QPushButton>(window, "BTN_GroupSave")->click();
        QMetaObject::invokeMethod(&window, "on_BTN_BadgeFormat_clicked");
        auto* status = widget<QLineEdit>(window, "SAI_CeationSecuriteResult");
        [&] { QTRY_VERIFY(status->text().endsWith("->OK")); }();
        *shown = QStringList{widget<QTabWidget>(window, "ONG_Main")->tabText(0),
                             widget<QPushButton>(window, "BTN_ZonesSave")->text(), status->text()};
        return reader.requestTexts() << QString::fromUtf8(FileBytes("config.ini"));
    }

private slots:
    void sameFilesAndFrames()
    {
        QStringList french, english;
        const QStringList written = Run(&french);
        QVERIFY(UiLanguageInstall("en"));
        QCOMPARE(Run(&english), written);
        QCOMPARE(french, QStringList({"Clé/Carte", "Sauvegarder", "Formatage->OK"}));
        QCOMPARE(english, QStringList({"Key/Card", "Save", "Formatting->OK"}));
        QVERIFY(written.last().contains("LABEL:Nouveau Group;"));
    }

    // --lang, then the stored choice, then the system's first UI language.
    void choice()
    {
        const std::tuple<const char*, const char*, QStringList, const char*> rows[] = {
            {"", "", {"en-GB", "fr"}, "en"}, {"", "", {"fr-FR", "en"}, "fr"}, {"", "", {"C"}, "fr"},
            {"", "fr", {"en-US"}, "fr"},     {"en", "fr", {"fr"}, "en"},      {"", "de", {"de"}, "fr"}};
        for (const auto& [commandLine, stored, system, expected] : rows)
            QCOMPARE(UiLanguageChoose(commandLine, stored, system), QString(expected));
    }
};

QTEST_MAIN(TstEnglish)
#include "tst_english.moc"
