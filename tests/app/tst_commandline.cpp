#include "app/commandline.h"

#include <QtTest>

using Action = CommandLineResult::Action;

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void helpAndVersion();
};

void tst_CommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("emulator");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("trace");

    QTest::newRow("none: as before") << QStringList() << true << false << QString() << QString();
    QTest::newRow("emulator") << QStringList{"--emulator"} << true << true << QString() << QString();
    QTest::newRow("port") << QStringList{"--port", "/dev/ttyUSB0"} << true << false << "/dev/ttyUSB0"
                          << QString();
    QTest::newRow("port=") << QStringList{"--port=/dev/serial/by-id/lecteur"} << true << false
                           << "/dev/serial/by-id/lecteur" << QString();
    QTest::newRow("trace with emulator") << QStringList{"--trace", "/tmp/trames.txt", "--emulator"} << true
                                         << true << QString() << "/tmp/trames.txt";
    QTest::newRow("trace with port") << QStringList{"--port", "COM3", "--trace", "t.log"} << true << false
                                     << "COM3"
                                     << "t.log";
    QTest::newRow("port without name") << QStringList{"--port"} << false << false << QString() << QString();
    QTest::newRow("empty port") << QStringList{"--port", " "} << false << false << QString() << QString();
    QTest::newRow("empty trace") << QStringList{"--trace="} << false << false << QString() << QString();
    QTest::newRow("unknown option") << QStringList{"--demo"} << false << false << QString() << QString();
    QTest::newRow("stray argument") << QStringList{"ttyUSB0"} << false << false << QString() << QString();
    QTest::newRow("emulator and port")
        << QStringList{"--emulator", "--port", "/dev/ttyS0"} << false << false << QString() << QString();
}

void tst_CommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    const CommandLineResult result = ParseCommandLine(QStringList{"korvelmanager"} + arguments);
    if (!ok) {
        QCOMPARE(result.action, Action::Error);
        // The message, then the usage, so the operator sees what to type.
        QVERIFY(!result.text.startsWith('\n'));
        QVERIFY(result.text.contains("--emulator"));
        return;
    }
    QCOMPARE(result.action, Action::Run);
    QTEST(result.options.emulator, "emulator");
    QTEST(result.options.port, "port");
    QTEST(result.options.tracePath, "trace");
}

void tst_CommandLine::helpAndVersion()
{
    const CommandLineResult help = ParseCommandLine({"korvelmanager", "--help"});
    QCOMPARE(help.action, Action::Help);
    for (const char* option : {"--emulator", "--port <nom>", "--trace <fichier>", "--version"})
        QVERIFY2(help.text.contains(option), option);

    // Help wins over the other options, even a faulty combination.
    QCOMPARE(ParseCommandLine({"korvelmanager", "--emulator", "--port", "x", "-h"}).action, Action::Help);

    const CommandLineResult version = ParseCommandLine({"korvelmanager", "--version"});
    QCOMPARE(version.action, Action::Version);
    QVERIFY(version.text.startsWith("korvelmanager "));
    QVERIFY(version.text.contains(QRegularExpression("\\d+\\.\\d+\\.\\d+")));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
