#include <QtTest>

#include "fakereader.h"
#include "link/qprotocole.h"
#include "ptypair.h"
#include "readerconfig/outputtest.h"

#include <QLineEdit>

class TstOutputTest : public QObject
{
    Q_OBJECT

    PtyPair* m_pty = nullptr;
    FakeReader* m_reader = nullptr;
    QProtocole* m_link = nullptr;
    QLineEdit* m_status = nullptr;
    int m_results = 0;

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void init()
    {
        m_pty = new PtyPair;
        QVERIFY(m_pty->isValid());
        m_reader = new FakeReader(*m_pty);
        m_link = new QProtocole;
        m_status = new QLineEdit;
        m_results = 0;
        connect(m_link, &QProtocole::SIG_Data, m_status, [this](unsigned int id, unsigned int arg, QString) {
            if (id == 2 && arg == ARG_TEST_RESULT) {
                ++m_results;
                OutputTestResult(m_link, m_status);
            }
        });
        m_link->SetPortName(m_pty->slavePath());
        m_link->start();
        m_link->ConnectionRequest = 1;
        QTRY_VERIFY_WITH_TIMEOUT(m_link->Connected, 20000);
    }

    void cleanup()
    {
        delete m_link;
        delete m_status;
        delete m_reader;
        delete m_pty;
    }

    void pulse_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("status");
        const QByteArray ok = FakeReader::frame('V', '0');
        QTest::newRow("C1 empty duration") << 0 << "" << ok << QByteArray("12.255.7.0=") << "Test C1->OK";
        QTest::newRow("C2") << 1 << "150" << ok << QByteArray("12.255.7.1=150") << "Test C2->OK";
        QTest::newRow("refused") << 0 << "5" << FakeReader::frame('V', 'E') << QByteArray("12.255.7.0=5")
                                 << "Test C1->FAILED";
        QTest::newRow("broken answer")
            << 1 << "5" << ok.left(5) << QByteArray("12.255.7.1=5") << "Test C2->TIMEOUT";
    }

    void pulse()
    {
        QFETCH(int, output);
        QFETCH(QString, duration);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, payload);
        QFETCH(QString, status);
        m_reader->setHandler([answer](const ReaderRequest&) { return answer; });
        QVERIFY(OutputTestStart(m_link, output, duration, m_status));
        QCOMPARE(m_status->text(), QString("Test C%1").arg(output + 1));
        QTRY_COMPARE_WITH_TIMEOUT(m_results, 1, 20000);
        QCOMPARE(m_status->text(), status);
        QCOMPARE(m_reader->requestCount(), 1);
        QCOMPARE(m_reader->requests().first().payload, payload);
        QVERIFY(m_link->Cmd.IsFree);
    }

    // With another command in progress a press does nothing, not even the status.
    void busySlotDoesNothing()
    {
        m_reader->setHandler([](const ReaderRequest&) { return QByteArray(); });
        QCOMPARE(m_link->CmdRequest('V', 'G', "3.0.0", 0, 60000), QProtocole::CMD_SUBMITTED);
        m_status->setText("avant");
        QVERIFY(!OutputTestStart(m_link, 0, "10", m_status));
        QCOMPARE(m_status->text(), QString("avant"));
        QVERIFY(m_reader->waitForRequests(1));
        QCOMPARE(m_reader->requestCount(), 1);
        QCOMPARE(m_results, 0);
    }
};

QTEST_MAIN(TstOutputTest)
#include "tst_outputtest.moc"
