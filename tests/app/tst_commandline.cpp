#include "app/commandline.h"

#include <QtTest>

using Action = CommandLineResult::Action;

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    // expected: "emulator|port|trace" of a run, empty for an error.
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none: as before") << QStringList() << "0||";
        QTest::newRow("emulator") << QStringList{"--emulator"} << "1||";
        QTest::newRow("port") << QStringList{"--port", "/dev/ttyUSB0"} << "0|/dev/ttyUSB0|";
        QTest::newRow("port=") << QStringList{"--port=/dev/serial/by-id/lecteur"}
                               << "0|/dev/serial/by-id/lecteur|";
        QTest::newRow("trace with emulator")
            << QStringList{"--trace", "/tmp/t.txt", "--emulator"} << "1||/tmp/t.txt";
        QTest::newRow("trace with port")
            << QStringList{"--port", "COM3", "--trace", "t.log"} << "0|COM3|t.log";
        QTest::newRow("port without name") << QStringList{"--port"} << "";
        QTest::newRow("empty port") << QStringList{"--port", " "} << "";
        QTest::newRow("empty trace") << QStringList{"--trace="} << "";
        QTest::newRow("unknown option") << QStringList{"--demo"} << "";
        QTest::newRow("stray argument") << QStringList{"ttyUSB0"} << "";
        // One of the two ports would be silently unused.
        QTest::newRow("emulator and port") << QStringList{"--emulator", "--port", "/dev/ttyS0"} << "";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const CommandLineResult result = ParseCommandLine(QStringList{"korvelmanager"} + arguments);
        if (expected.isEmpty()) {
            QCOMPARE(result.action, Action::Error);
            // The message, then the usage, so the operator sees what to type.
            QVERIFY(!result.text.startsWith('\n'));
            QVERIFY(result.text.contains("--emulator"));
            return;
        }
        QCOMPARE(result.action, Action::Run);
        const CommandLineOptions& o = result.options;
        QCOMPARE(QStringList({o.emulator ? "1" : "0", o.port, o.tracePath}).join('|'), expected);
    }

    void helpAndVersion()
    {
        const CommandLineResult help = ParseCommandLine({"korvelmanager", "--help"});
        QCOMPARE(help.action, Action::Help);
        for (const char* option : {"--emulator", "--port <nom>", "--trace <fichier>", "--version"})
            QVERIFY2(help.text.contains(option), option);
        // Help wins over the other options, even a faulty combination.
        QCOMPARE(ParseCommandLine({"korvelmanager", "--emulator", "--port", "x", "-h"}).action, Action::Help);

        const CommandLineResult version = ParseCommandLine({"korvelmanager", "--version"});
        QCOMPARE(version.action, Action::Version);
        QVERIFY(version.text.contains(QRegularExpression("^korvelmanager \\d+\\.\\d+\\.\\d+")));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
