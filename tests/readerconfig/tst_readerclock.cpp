#include <QtTest>

#include "linkbench.h"
#include "readerconfig/readerclock.h"

namespace {

const QDateTime Moment(QDate(2025, 3, 7), QTime(9, 5, 42));

} // namespace

class TstReaderClock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }

    void update_data()
    {
        QTest::addColumn<char>("dateStatus");
        QTest::addColumn<QByteArray>("timeAnswer");
        QTest::addColumn<QString>("text"); // of the information box; none without an answer
        const QByteArray ok = FakeReader::frame('V', '0');
        QTest::newRow("accepted") << '0' << ok << "Mise à jour OK";
        // A refused date is not reported as a set clock.
        QTest::newRow("date refused only") << 'E' << ok << "Mise à jour ECHEC";
        QTest::newRow("time refused") << '0' << FakeReader::frame('V', 'E') << "Mise à jour ECHEC";
        QTest::newRow("time answer broken") << '0' << ok.left(5) << "";
    }

    void update()
    {
        QFETCH(char, dateStatus);
        QFETCH(QByteArray, timeAnswer);
        QFETCH(QString, text);
        LinkBench b;
        b.reader.answer('V', 'P', dateStatus);
        b.reader.answerRaw('V', 'P', timeAnswer);
        QVERIFY(b.open());
        QCOMPARE(ClockUpdateText(ClockUpdate(&b.link, Moment)), text);
        QCOMPARE(b.reader.requestTexts(), QStringList({"VP 12.255.8=07/03/25", "VP 12.255.9=09:05"}));
        QVERIFY(b.link.Cmd.IsFree);
    }

    // Closed, or held by another command past the bound: the clock gives up and sends nothing.
    void closedOrBusyLink()
    {
        LinkBench b;
        QCOMPARE(ClockUpdateText(ClockUpdate(&b.link, Moment)),
                 QString("Mise à jour ECHEC : lecteur non connecté"));
        QVERIFY(b.open());
        QCOMPARE(b.link.CmdRequest('V', 'G', "3.0.0", 0, 60000), QProtocole::CMD_SUBMITTED);
        QCOMPARE(ClockUpdateText(ClockUpdate(&b.link, Moment, 50)),
                 QString("Mise à jour ECHEC : lecteur occupé"));
        QVERIFY(b.reader.waitForRequests(1));
        QCOMPARE(b.reader.requestTexts(), QStringList{"VG 3.0.0"});
    }
};

QTEST_MAIN(TstReaderClock)
#include "tst_readerclock.moc"
