#include <QtTest>

#include "fakereader.h"
#include "link/qprotocole.h"
#include "ptypair.h"
#include "readerconfig/readerclock.h"

namespace {

const QDateTime Moment(QDate(2025, 3, 7), QTime(9, 5, 42));

QStringList Payloads(const FakeReader& reader)
{
    QStringList texts;
    for (const ReaderRequest& r : reader.requests())
        texts << QString("%1/%2 %3")
                     .arg(QChar(r.letter))
                     .arg(QChar(r.subLetter))
                     .arg(QString::fromUtf8(r.payload));
    return texts;
}

} // namespace

class TstReaderClock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void texts()
    {
        QCOMPARE(ClockUpdateText(ClockUpdateOutcome::Accepted), QString("Mise à jour OK"));
        QCOMPARE(ClockUpdateText(ClockUpdateOutcome::Refused), QString("Mise à jour ECHEC"));
        QVERIFY(ClockUpdateText(ClockUpdateOutcome::NoAnswer).isEmpty());
        QVERIFY(!ClockUpdateText(ClockUpdateOutcome::NotConnected).isEmpty());
        QVERIFY(!ClockUpdateText(ClockUpdateOutcome::Busy).isEmpty());
    }

    void closedLinkFailsAtOnce()
    {
        QProtocole link;
        link.start();
        QCOMPARE(ClockUpdate(&link, Moment), ClockUpdateOutcome::NotConnected);
    }

    void update_data()
    {
        QTest::addColumn<char>("dateStatus");
        QTest::addColumn<QByteArray>("timeAnswer"); // "ok", "refused" or "broken"
        QTest::addColumn<int>("outcome");
        QTest::newRow("accepted") << '0' << QByteArray("ok") << int(ClockUpdateOutcome::Accepted);
        QTest::newRow("date refused only") << 'E' << QByteArray("ok") << int(ClockUpdateOutcome::Accepted);
        QTest::newRow("time refused") << '0' << QByteArray("refused") << int(ClockUpdateOutcome::Refused);
        QTest::newRow("time answer broken")
            << '0' << QByteArray("broken") << int(ClockUpdateOutcome::NoAnswer);
    }

    void update()
    {
        QFETCH(char, dateStatus);
        QFETCH(QByteArray, timeAnswer);
        QFETCH(int, outcome);
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        reader.setHandler([dateStatus, timeAnswer](const ReaderRequest& r) {
            if (r.payload.startsWith("12.255.8="))
                return FakeReader::frame(r.letter, dateStatus);
            if (timeAnswer == "broken")
                return FakeReader::frame(r.letter, '0').left(5);
            return FakeReader::frame(r.letter, timeAnswer == "ok" ? '0' : 'E');
        });
        QProtocole link;
        link.SetPortName(pty.slavePath());
        link.start();
        link.ConnectionRequest = 1;
        QTRY_VERIFY_WITH_TIMEOUT(link.Connected, 20000);

        QCOMPARE(int(ClockUpdate(&link, Moment)), outcome);
        QCOMPARE(Payloads(reader), QStringList({"V/P 12.255.8=07/03/25", "V/P 12.255.9=09:05"}));
        QVERIFY(link.Cmd.IsFree);
    }

    // A command that holds the link past the bound: the clock gives up, sends nothing.
    void busyLink()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        reader.setHandler([](const ReaderRequest&) { return QByteArray(); });
        QProtocole link;
        link.SetPortName(pty.slavePath());
        link.start();
        link.ConnectionRequest = 1;
        QTRY_VERIFY_WITH_TIMEOUT(link.Connected, 20000);
        QCOMPARE(link.CmdRequest('V', 'G', "3.0.0", 0, 60000), QProtocole::CMD_SUBMITTED);
        QCOMPARE(ClockUpdate(&link, Moment, 50), ClockUpdateOutcome::Busy);
        QVERIFY(reader.waitForRequests(1));
        QCOMPARE(Payloads(reader), QStringList({"V/G 3.0.0"}));
    }
};

QTEST_MAIN(TstReaderClock)
#include "tst_readerclock.moc"
