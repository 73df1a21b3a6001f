#include <QLineEdit>
#include <QtTest>

#include "fakelink.h"
#include "readerconfig/outputtest.h"
#include "readerconfig/readerclock.h"

namespace {

const QDateTime Moment(QDate(2025, 3, 7), QTime(9, 5, 42));

// The reader answers the statuses of script in turn; 'T' goes unanswered.
FakeLink::Reader Answers(const QByteArray& script)
{
    return [script](const FakeLink::Request&, int index) {
        FakeLink::Answer answer;
        answer.status = script.at(index);
        answer.isOk = answer.status != 'T';
        return answer;
    };
}

} // namespace

// The two one-shot writes of the "Lecteur" and "Tests" tabs: the clock, awaited
// in place, and an output pulse, answered through its result branch.
class TstReaderClock : public QObject
{
    Q_OBJECT

private slots:
    void update_data()
    {
        QTest::addColumn<QByteArray>("answers"); // to the date, then to the time
        QTest::addColumn<QString>("text");       // of the information box; none without an answer
        QTest::newRow("accepted") << QByteArray("00") << "Mise à jour OK";
        // A refused date is not reported as a set clock.
        QTest::newRow("date refused only") << QByteArray("E0") << "Mise à jour ECHEC";
        QTest::newRow("time refused") << QByteArray("0E") << "Mise à jour ECHEC";
        QTest::newRow("time unanswered") << QByteArray("0T") << "";
        QTest::newRow("date unanswered") << QByteArray("T0") << "";
    }

    void update()
    {
        QFETCH(QByteArray, answers);
        QFETCH(QString, text);
        FakeLink link;
        link.connected = true;
        link.reader = Answers(answers);
        QCOMPARE(ClockUpdateText(ClockUpdate(link, Moment)), text);
        QCOMPARE(link.wires(), QStringList({"VP 12.255.8=07/03/25", "VP 12.255.9=09:05"}));
    }

    // Closed, or held by another command past the bound: the clock gives up and sends nothing.
    void closedOrBusyLink()
    {
        FakeLink link;
        QCOMPARE(ClockUpdateText(ClockUpdate(link, Moment)),
                 QString("Mise à jour ECHEC : lecteur non connecté"));
        link.connected = true;
        link.free = false;
        QCOMPARE(ClockUpdateText(ClockUpdate(link, Moment, 50)),
                 QString("Mise à jour ECHEC : lecteur occupé"));
        QVERIFY(link.requests.isEmpty());
    }

    void pulse_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("status");
        QTest::newRow("C1 empty duration") << 0 << "" << QByteArray("0") << "VP 12.255.7.0="
                                           << "Test C1->OK";
        QTest::newRow("C2") << 1 << "150" << QByteArray("0") << "VP 12.255.7.1=150"
                            << "Test C2->OK";
        QTest::newRow("refused") << 0 << "5" << QByteArray("E") << "VP 12.255.7.0=5"
                                 << "Test C1->FAILED";
        QTest::newRow("unanswered") << 1 << "5" << QByteArray("T") << "VP 12.255.7.1=5"
                                    << "Test C2->TIMEOUT";
    }

    void pulse()
    {
        QFETCH(int, output);
        QFETCH(QString, duration);
        QFETCH(QByteArray, answer);
        QFETCH(QString, request);
        QFETCH(QString, status);
        FakeLink link;
        link.reader = Answers(answer);
        QLineEdit line;
        QVERIFY(OutputTestStart(link, output, duration, &line));
        QCOMPARE(line.text(), QString("Test C%1").arg(output + 1));
        OutputTestResult(link, &line);
        QCOMPARE(line.text(), status);
        QCOMPARE(link.wires(), QStringList{request});

        // With another command in progress a press does nothing, not even the status.
        link.free = false;
        QVERIFY(!OutputTestStart(link, output, duration, &line));
        QCOMPARE(line.text(), status);
        QCOMPARE(link.requests.size(), 1);
    }
};

QTEST_MAIN(TstReaderClock)
#include "tst_readerclock.moc"
