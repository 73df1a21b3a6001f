#include "app/portcombobox.h"
#include "app/portrow.h"

#include <QtTest>
#include <QtWidgets>

#include "link/qprotocole.h"

namespace {
QStringList Items(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}
} // namespace

// The port list at start (the last port first while the system lists it) and
// refilled when opened, with ports that come and go.
class tst_PortRow : public QObject
{
    Q_OBJECT

private slots:
    void list_data()
    {
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("atStart");
        QTest::addColumn<QStringList>("afterRefill");
        // At start the system lists ttyS0 ttyUSB0 ttyUSB1; when the list opens, ttyUSB2 ttyS0.
        QTest::newRow("last port first, kept when gone")
            << QString() << "ttyUSB1" << QStringList{"ttyUSB1", "ttyS0", "ttyUSB0"}
            << QStringList{"ttyUSB1", "ttyUSB2", "ttyS0"};
        QTest::newRow("last port gone: not chosen")
            << QString() << "ttyACM0" << QStringList{"ttyS0", "ttyUSB0", "ttyUSB1"}
            << QStringList{"ttyS0", "ttyUSB2"};
        QTest::newRow("--port before the last port")
            << "/tmp/ttyKORVEL"
            << "ttyUSB0" << QStringList{"/tmp/ttyKORVEL", "ttyUSB0", "ttyS0", "ttyUSB1"}
            << QStringList{"/tmp/ttyKORVEL", "ttyUSB2", "ttyS0"};
    }

    void list()
    {
        QFETCH(QString, extra);
        QFETCH(QString, last);
        QWidget form;
        auto* combo = new PortComboBox(&form);
        combo->setObjectName("COMB_Serial");
        (new QPushButton(&form))->setObjectName("BTN_Serial");
        (new QLineEdit(&form))->setObjectName("LINEEDIT_Com");
        (new QCheckBox(&form))->setObjectName("CKB_AutoReconnect");
        QStringList system{"ttyS0", "ttyUSB0", "ttyUSB1"};
        QProtocole link;
        PortRow row(&form, link, extra, last, [&system] { return system; });
        QTEST(Items(*combo), "atStart");
        const QString current = combo->currentText();
        system = QStringList{"ttyUSB2", "ttyS0"};
        combo->showPopup();
        combo->hidePopup();
        QTEST(Items(*combo), "afterRefill");
        QCOMPARE(combo->currentText(), current);
    }
};

QTEST_MAIN(tst_PortRow)
#include "tst_portrow.moc"
