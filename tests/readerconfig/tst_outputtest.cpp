#include <QtTest>

#include "linkbench.h"
#include "readerconfig/outputtest.h"

#include <QLineEdit>

// The status line and the result branch of the "Tests" tab.
struct OutputBench : LinkBench
{
    QLineEdit status;
    int results = 0;

    OutputBench()
    {
        route(ARG_TEST_RESULT, [this] {
            ++results;
            OutputTestResult(&link, &status);
        });
    }
};

class TstOutputTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }

    void pulse_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("status");
        const QByteArray ok = FakeReader::frame('V', '0');
        QTest::newRow("C1 empty duration") << 0 << "" << ok << "VP 12.255.7.0="
                                           << "Test C1->OK";
        QTest::newRow("C2") << 1 << "150" << ok << "VP 12.255.7.1=150"
                            << "Test C2->OK";
        QTest::newRow("refused") << 0 << "5" << FakeReader::frame('V', 'E') << "VP 12.255.7.0=5"
                                 << "Test C1->FAILED";
        QTest::newRow("broken answer") << 1 << "5" << ok.left(5) << "VP 12.255.7.1=5"
                                       << "Test C2->TIMEOUT";
    }

    void pulse()
    {
        QFETCH(int, output);
        QFETCH(QString, duration);
        QFETCH(QByteArray, answer);
        QFETCH(QString, request);
        QFETCH(QString, status);
        OutputBench b;
        b.reader.answerRaw('V', 'P', answer);
        QVERIFY(b.open());
        QVERIFY(OutputTestStart(&b.link, output, duration, &b.status));
        QCOMPARE(b.status.text(), QString("Test C%1").arg(output + 1));
        QVERIFY(b.rec.waitFor([&b] { return b.results == 1; }, 20000));
        QCOMPARE(b.status.text(), status);
        QCOMPARE(b.reader.requestTexts(), QStringList{request});
        QVERIFY(b.link.Cmd.IsFree);
    }

    // With another command in progress a press does nothing, not even the status.
    void busySlotDoesNothing()
    {
        OutputBench b;
        QVERIFY(b.open());
        QCOMPARE(b.link.CmdRequest('V', 'G', "3.0.0", 0, 60000), QProtocole::CMD_SUBMITTED);
        b.status.setText("avant");
        QVERIFY(!OutputTestStart(&b.link, 0, "10", &b.status));
        QCOMPARE(b.status.text(), QString("avant"));
        QVERIFY(b.reader.waitForRequests(1));
        QCOMPARE(b.reader.requestCount(), 1);
        QCOMPARE(b.results, 0);
    }
};

QTEST_MAIN(TstOutputTest)
#include "tst_outputtest.moc"
