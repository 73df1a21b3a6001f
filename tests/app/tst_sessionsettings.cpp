#include "app/mainwindow.h"
#include "app/sessionsettings.h"

#include <QtTest>
#include <QtWidgets>

#include "testfiles.h"

namespace {
// Every field, so one comparison shows which value was kept or defaulted.
QString Summary(const SessionState& s)
{
    return QString("%1|%2|%3|%4|%5|%6|%7")
        .arg(s.lastPort, s.autoReconnect ? "on" : "off", QString::number(s.geometry.size()),
             QString::number(s.windowState.size()), QString::number(s.tab), s.configFolder, s.firmwareFolder);
}
} // namespace

// The session kept in a settings file of a temporary folder, never the user's.
class tst_SessionSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // A file as saved, then damaged or hand-edited: each bad value gives its default, the good ones stay.
    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as saved") << QByteArray(
                                         "[port]\nlast=ttyUSB1\nautoReconnect=false\n[window]\ngeometry="
                                         "@ByteArray(abc)\nstate=@ByteArray(de)\ntab=3\n[dialogs]\n"
                                         "configFolder=/\nfirmwareFolder=/tmp\n")
                                  << "ttyUSB1|off|3|2|3|/|/tmp";
        QTest::newRow("wrong types") << QByteArray("[port]\nlast=a, b\nautoReconnect=peut-etre\n[window]\n"
                                                   "geometry=text\nstate=@Rect(1 2 3 4)\ntab=2\n")
                                     << "|on|0|0|2||";
        QTest::newRow("out of range") << QByteArray("[port]\nlast=ttyS1\n[window]\ntab=9\n[dialogs]\n"
                                                    "configFolder=/no/such/folder\nfirmwareFolder=relative\n")
                                      << "ttyS1|on|0|0|0||";
        QTest::newRow("negative tab, control character")
            << QByteArray("[port]\nlast=tty\\x1b\nautoReconnect=FALSE\n[window]\ntab=-1\n") << "|off|0|0|0||";
        QTest::newRow("binary garbage") << QByteArray("\x00\xff[\x01=\n\xfe", 7) << "|on|0|0|0||";
    }

    void load()
    {
        QFETCH(QByteArray, content);
        const QString path = file(QString("%1.ini").arg(QTest::currentDataTag()));
        QVERIFY(FileWrite(path, content));
        QTEST(Summary(SessionSettings::File(path).Load(9)), "expected");
    }

    // The environment variable turns the settings off, as --no-settings does.
    void switchedOff()
    {
        qputenv(SessionSettings::DisableVariable, "1");
        QVERIFY(!SessionSettings::ForProgram(false).IsEnabled());
        qunsetenv(SessionSettings::DisableVariable);
        QVERIFY(SessionSettings::ForProgram(false).IsEnabled());
    }

    // What the window keeps from one run to the next.
    void window()
    {
        const QString path = file("window.ini");
        QVERIFY(QDir(m_dir.path()).mkpath("fw"));
        {
            MainWindow first(WindowSetup{QString(), {}, m_dir.path(), SessionSettings::File(path)});
            first.resize(640, 480);
            first.findChild<QTabWidget*>("ONG_Main")->setCurrentIndex(4);
            first.findChild<QCheckBox*>("CKB_AutoReconnect")->setChecked(false);
            first.FileDialog = [&](auto, auto, auto, auto) { return file("fw/prog.hex"); };
            first.findChild<QAbstractButton*>("BTN_FirmwareFile")->click();
        }
        MainWindow second(WindowSetup{QString(), {}, m_dir.path(), SessionSettings::File(path)});
        QCOMPARE(second.size(), QSize(640, 480));
        QCOMPARE(second.findChild<QTabWidget*>("ONG_Main")->currentIndex(), 4);
        QVERIFY(!second.findChild<QCheckBox*>("CKB_AutoReconnect")->isChecked());
        QString start;
        second.FileDialog = [&](auto, auto, const QString& dir, auto) { return start = dir, QString(); };
        second.findChild<QAbstractButton*>("BTN_FirmwareFile")->click();
        QCOMPARE(start, file("fw"));
    }
};

QTEST_MAIN(tst_SessionSettings)
#include "tst_sessionsettings.moc"
