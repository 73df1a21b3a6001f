#include "app/portlist.h"

#include <QtTest>

class tst_PortList : public QObject
{
    Q_OBJECT

private slots:
    void choices_data()
    {
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QStringList>("expected");
        const QStringList usb{"ttyS0", "ttyUSB0", "ttyUSB1"};
        QTest::newRow("no extra: system order kept") << usb << QString() << usb;
        QTest::newRow("blank extra ignored") << usb << "  " << usb;
        QTest::newRow("emulator pty first")
            << usb << "/dev/pts/3" << QStringList{"/dev/pts/3", "ttyS0", "ttyUSB0", "ttyUSB1"};
        QTest::newRow("no system port") << QStringList() << "/dev/pts/7" << QStringList{"/dev/pts/7"};
        QTest::newRow("listed port moved first")
            << usb << "ttyUSB1" << QStringList{"ttyUSB1", "ttyS0", "ttyUSB0"};
#ifdef Q_OS_UNIX
        QTest::newRow("device path of a listed port")
            << usb << "/dev/ttyUSB0" << QStringList{"/dev/ttyUSB0", "ttyS0", "ttyUSB1"};
        QTest::newRow("symlink kept apart")
            << usb << "/dev/serial/by-id/usb-lecteur"
            << QStringList{"/dev/serial/by-id/usb-lecteur", "ttyS0", "ttyUSB0", "ttyUSB1"};
#endif
    }

    void choices()
    {
        QFETCH(QStringList, system);
        QFETCH(QString, extra);
        QTEST(SerialPortChoices(system, extra), "expected");
    }
};

QTEST_GUILESS_MAIN(tst_PortList)
#include "tst_portlist.moc"
