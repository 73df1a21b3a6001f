#include <QtTest>

#include <memory>

#include "fakereader.h"
#include "link/commands.h"
#include "link/qprotocole.h"
#include "linkrecorder.h"
#include "ptypair.h"

namespace {
// A reader on its own pseudo-terminal. Dropping it closes the master side:
// for the program, the device has vanished.
struct Device
{
    PtyPair pty;
    FakeReader reader{pty};
};

// The program always opens `path`, a symlink standing for a device node
// that comes and goes.
bool plugIn(const QString& path, std::unique_ptr<Device>& device)
{
    device = std::make_unique<Device>();
    QFile::remove(path);
    return device->pty.isValid() && QFile::link(device->pty.slavePath(), path);
}

bool open(QProtocole& link, LinkRecorder& rec, const QString& path)
{
    link.SetPortName(path);
    link.SetConnectionRequest(QProtocole::CONNECTION_OPEN);
    return rec.waitForData(DATA_CHANNEL_RESULT, ARG_LINK_STATE) && link.Connected;
}

// A command sent now gets the device's answer back.
bool roundTrip(QProtocole& link, LinkRecorder& rec, Device& device)
{
    device.reader.answer('V', 'G', '0', "back");
    if (link.CmdRequest(ReaderCommands::configGet(QStringLiteral("2"))) != QProtocole::CMD_SUBMITTED ||
        !rec.waitForData(DATA_CHANNEL_RESULT, ARG_CONFIG_GET_RESULT))
        return false;
    bool ok = false;
    char status = 0;
    QString text;
    return link.CmdAnswer(&ok, &status, &text) == 1 && ok && text == QLatin1String("back");
}
} // namespace

class TstLinkFault : public QObject
{
    Q_OBJECT

private slots:
    void deviceVanishes_data()
    {
        QTest::addColumn<bool>("polling");
        QTest::addColumn<bool>("command");
        QTest::newRow("idle") << false << false;
        QTest::newRow("command pending") << false << true;
        QTest::newRow("poll pending") << true << false;
        QTest::newRow("command pending while polling") << true << true;
    }

    void deviceVanishes()
    {
        QFETCH(bool, polling);
        QFETCH(bool, command);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("ttyKorvel"));
        std::unique_ptr<Device> device;
        QVERIFY(plugIn(path, device));
        // Whatever is in flight when the line goes is never answered.
        if (command)
            device->reader.answerAlways('B', 'S', '0', "0");
        else
            device->reader.answerRaw('B', 'S', QByteArray());

        QProtocole link;
        LinkRecorder rec(&link);
        link.start();
        QVERIFY(open(link, rec, path));
        if (polling) {
            link.SetPollingWanted(true);
            QVERIFY(device->reader.waitForRequests(1));
        }
        if (command) {
            QCOMPARE(link.CmdRequestQueued('V', 'G', "1", ARG_CONFIG_GET_RESULT, 60000),
                     QProtocole::CMD_SUBMITTED);
            QVERIFY(rec.waitFor([&] { return device->reader.requestTexts().contains("VG 1"); }));
        }

        rec.clear();
        device.reset();
        const QString lost = QStringLiteral("Port perdu (%1)").arg(path);
        QVERIFY(rec.waitFor([&] { return rec.texts(LinkEvent::ComStatus).contains(lost); }));
        QVERIFY(!link.Connected);
        QCOMPARE(rec.dataCount(DATA_CHANNEL_RESULT, ARG_LINK_STATE), 1);
        QCOMPARE(rec.texts(LinkEvent::ComStatus), QStringList(lost));
        if (command) {
            // Failed now, not after its minute.
            QTRY_COMPARE(rec.dataCount(DATA_CHANNEL_RESULT, ARG_CONFIG_GET_RESULT), 1);
            bool ok = true;
            char status = 0;
            QCOMPARE(link.CmdAnswer(&ok, &status, nullptr), (unsigned char)1);
            QVERIFY(!ok);
        }
        if (polling) {
            QTRY_COMPARE(rec.dataCount(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT), 1);
            QVERIFY(!link.PollingWanted);
            QVERIFY(!rec.texts(LinkEvent::Data).contains(QStringLiteral("Polling -> Stop")));
        }
        QVERIFY(link.Cmd.IsFree);

        // A dead line must not keep the worker turning: closed, it only
        // looks at the requests a few times a second.
        const quint64 turns = link.LoopTurns();
        QTest::qWait(500);
        const quint64 spent = link.LoopTurns() - turns;
        QVERIFY2(spent < 100, qPrintable(QString::number(spent)));
        QCOMPARE(rec.dataCount(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT), polling ? 1 : 0);

        // Not back yet: the open fails and says so, once.
        QVERIFY(QFile::remove(path));
        rec.clear();
        QVERIFY(!open(link, rec, path));
        const QStringList status = rec.texts(LinkEvent::ComStatus);
        QCOMPARE(status.size(), 1);
        const QRegularExpression cantOpen(
            QStringLiteral("^Can't open %1, error code [1-9]\\d*$").arg(QRegularExpression::escape(path)));
        QVERIFY2(cantOpen.match(status.first()).hasMatch(), qPrintable(status.first()));

        // Back: the operator reconnects and the link works again.
        QVERIFY(plugIn(path, device));
        QVERIFY(open(link, rec, path));
        QCOMPARE(rec.texts(LinkEvent::ComStatus).last(), QStringLiteral("Ouvert"));
        QVERIFY(roundTrip(link, rec, *device));
        if (polling) {
            device->reader.answerAlways('B', 'S', '0', "0");
            link.SetPollingWanted(true);
            QVERIFY(rec.waitFor(
                [&] { return rec.texts(LinkEvent::Data).contains(QStringLiteral("/// Polling ///")); }));
        }
    }
};

QTEST_GUILESS_MAIN(TstLinkFault)
#include "tst_linkfault.moc"
