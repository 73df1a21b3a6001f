#include "app/mainwindow.h"
#include "app/portcombobox.h"
#include "app/portrow.h"

#include <QtTest>
#include <QtWidgets>

#include "testfiles.h"

namespace {
QString Items(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items.join(' ');
}

// Every field, so one comparison shows which value was kept or defaulted.
QString Summary(const SessionState& s)
{
    return QString("%1|%2|%3|%4|%5|%6|%7")
        .arg(s.lastPort, s.autoReconnect ? "on" : "off", QString::number(s.geometry.size()),
             QString::number(s.windowState.size()), QString::number(s.tab), s.configFolder, s.firmwareFolder);
}
} // namespace

// The port list and the session kept in a settings file of a temporary folder, never the user's.
class tst_Session : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // The system lists ttyS0 ttyUSB0 ttyUSB1 at start, ttyUSB2 ttyS0 when the list opens.
    void portList()
    {
        const char* const rows[][4] = {
            // --port, last port, at start, after the refill
            {"", "ttyUSB1", "ttyUSB1 ttyS0 ttyUSB0", "ttyUSB1 ttyUSB2 ttyS0"}, // kept while gone
            {"", "ttyACM0", "ttyS0 ttyUSB0 ttyUSB1", "ttyS0 ttyUSB2"},         // gone: not chosen
            {"/tmp/ttyK", "ttyUSB0", "/tmp/ttyK ttyUSB0 ttyS0 ttyUSB1", "/tmp/ttyK ttyUSB2 ttyS0"},
        };
        for (const auto& row : rows) {
            QWidget form;
            auto* combo = new PortComboBox(&form);
            combo->setObjectName("COMB_Serial");
            (new QPushButton(&form))->setObjectName("BTN_Serial");
            (new QLineEdit(&form))->setObjectName("LINEEDIT_Com");
            (new QCheckBox(&form))->setObjectName("CKB_AutoReconnect");
            QStringList system{"ttyS0", "ttyUSB0", "ttyUSB1"};
            QProtocole link;
            PortRow portRow(&form, link, row[0], row[1], [&system] { return system; });
            QCOMPARE(Items(*combo), QString(row[2]));
            system = QStringList{"ttyUSB2", "ttyS0"};
            combo->showPopup();
            QCOMPARE(Items(*combo), QString(row[3]));
        }
    }

    // Each damaged value gives its default, the good ones stay.
    void load()
    {
        const char* const rows[][2] = {
            {"[port]\nlast=COM1\nautoReconnect=false\n[window]\ngeometry=@ByteArray(a)\nstate=@ByteArray(b)\n"
             "tab=3\n[dialogs]\nconfigFolder=/\nfirmwareFolder=/tmp\n",
             "COM1|off|1|1|3|/|/tmp"},
            // wrong types
            {"[port]\nlast=a,b\nautoReconnect=2\n[window]\ngeometry=x\nstate=@Size(1 2)\n", "|on|0|0|0||"},
            // out of range, a control character
            {"[port]\nlast=a\\x1b\n[window]\ntab=9\n[dialogs]\nfirmwareFolder=tmp\n", "|on|0|0|0||"},
            {"[window]\ntab=-1\n[dialogs]\nconfigFolder=/no\n", "|on|0|0|0||"},
            // unreadable, though a value in it would pass
            {"[port]\nlast=ttyS1\n[\x01\xff", "|on|0|0|0||"},
        };
        for (const auto& row : rows) {
            const QString path = m_dir.filePath(QString::number(&row - rows) + ".ini");
            QVERIFY(FileWrite(path, row[0]));
            QCOMPARE(Summary(SessionSettings::File(path).Load(9)), QString(row[1]));
        }
    }

    void switchedOff()
    {
        qunsetenv(SessionSettings::DisableVariable); // set by ctest
        QVERIFY(SessionSettings::ForProgram(false).IsEnabled());
        QVERIFY(!SessionSettings::ForProgram(true).IsEnabled());
        qputenv(SessionSettings::DisableVariable, "1");
        QVERIFY(!SessionSettings::ForProgram(false).IsEnabled());
    }

    // What the window keeps from one run to the next.
    void window()
    {
        const QString path = m_dir.filePath("window.ini"), fw = m_dir.filePath("fw");
        QVERIFY(QDir().mkpath(fw));
        {
            MainWindow first(WindowSetup{QString(), {}, m_dir.path(), SessionSettings::File(path)});
            first.resize(640, 480);
            first.findChild<QTabWidget*>("ONG_Main")->setCurrentIndex(4);
            first.findChild<QCheckBox*>("CKB_AutoReconnect")->setChecked(false);
            first.FileDialog = [&](auto, auto, auto, auto) { return fw + "/prog.hex"; };
            first.findChild<QAbstractButton*>("BTN_FirmwareFile")->click();
        }
        MainWindow second(WindowSetup{QString(), {}, m_dir.path(), SessionSettings::File(path)});
        QCOMPARE(second.size(), QSize(640, 480));
        QCOMPARE(second.findChild<QTabWidget*>("ONG_Main")->currentIndex(), 4);
        QVERIFY(!second.findChild<QCheckBox*>("CKB_AutoReconnect")->isChecked());
        QString start;
        second.FileDialog = [&](auto, auto, const QString& dir, auto) { return start = dir, QString(); };
        second.findChild<QAbstractButton*>("BTN_FirmwareFile")->click();
        QCOMPARE(start, fw);
    }
};

QTEST_MAIN(tst_Session)
#include "tst_session.moc"
