#include "app/emulatorlauncher.h"

#include <QtTest>

#include <cerrno>
#include <csignal>

namespace {
bool makeExecutable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\n");
    file.close();
    return file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

bool processGone(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}
} // namespace

class tst_EmulatorLauncher : public QObject
{
    Q_OBJECT

private slots:
    void findEmulator();
    void startAndEnd();
    void failures();
};

void tst_EmulatorLauncher::findEmulator()
{
    QTemporaryDir root;
    QDir dir(root.path());
    QVERIFY(dir.mkpath("installed/bin") && dir.mkpath("build/src") && dir.mkpath("build/emulator") &&
            dir.mkpath("lonely/src") && dir.mkpath("lonely/emulator"));

    // Installed: both programs in one folder.
    const QString installed = dir.filePath("installed/bin/korvel-reader-emulator");
    QVERIFY(makeExecutable(installed));
    QCOMPARE(EmulatorLauncher::FindEmulator(dir.filePath("installed/bin")), installed);

    // Build tree: build/src/korvelmanager, build/emulator/korvel-reader-emulator.
    const QString built = dir.filePath("build/emulator/korvel-reader-emulator");
    QVERIFY(makeExecutable(built));
    QCOMPARE(EmulatorLauncher::FindEmulator(dir.filePath("build/src")), built);

    // A file that cannot run is no emulator.
    QFile plain(dir.filePath("lonely/emulator/korvel-reader-emulator"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(plain.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(EmulatorLauncher::FindEmulator(dir.filePath("lonely/src")), QString());
}

void tst_EmulatorLauncher::startAndEnd()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("emulator-state.json");
    qint64 pid = 0;
    QString port;
    {
        EmulatorLauncher launcher;
        QString error;
        QVERIFY2(launcher.Start(KORVEL_EMULATOR_PATH, {"--state", state}, &error), qPrintable(error));
        QVERIFY(error.isEmpty());
        QVERIFY(launcher.IsRunning());
        port = launcher.PortName();
        QVERIFY2(port.startsWith("/dev/"), qPrintable(port));
        QVERIFY(QFileInfo::exists(port));
        pid = launcher.ProcessId();
        QVERIFY(pid > 0);
    }
    // Ended with the launcher, through "quit": the emulator saved its state on the way out.
    QVERIFY(processGone(pid));
    QVERIFY(QFileInfo::exists(state));
    QVERIFY(QFile(state).size() > 0);

    // A second run keeps working with the same state file, and Stop() is safe twice.
    EmulatorLauncher again;
    QString error;
    QVERIFY2(again.Start(KORVEL_EMULATOR_PATH, {"--state", state}, &error), qPrintable(error));
    again.Stop();
    QVERIFY(!again.IsRunning());
    QVERIFY(again.PortName().isEmpty());
    again.Stop();
}

void tst_EmulatorLauncher::failures()
{
    EmulatorLauncher launcher;
    QString error;

    QVERIFY(!launcher.Start("/nonexistent-korvel/korvel-reader-emulator", {}, &error));
    QVERIFY2(error.contains("/nonexistent-korvel/korvel-reader-emulator"), qPrintable(error));
    QVERIFY(!launcher.IsRunning());

    // Beside the test program there is no emulator.
    error.clear();
    QVERIFY(!launcher.Start(&error));
    QVERIFY2(error.startsWith("Simulateur de lecteur introuvable"), qPrintable(error));
    QVERIFY(error.contains(QCoreApplication::applicationDirPath()));

    // The emulator refuses its arguments: its own message reaches the operator.
    error.clear();
    QVERIFY(!launcher.Start(KORVEL_EMULATOR_PATH, {"--cards", "/nonexistent-korvel/deck.json"}, &error));
    QVERIFY2(error.startsWith("Le simulateur de lecteur s'est arrêté au démarrage"), qPrintable(error));
    QVERIFY2(error.contains("/nonexistent-korvel/deck.json"), qPrintable(error));

    // Something that runs but never names its port: a bounded wait, then an error.
    error.clear();
    QVERIFY(!launcher.Start("/bin/sh", {"-c", "echo bonjour; read line"}, &error, 2000));
    QVERIFY2(error.contains("n'a pas indiqué son port") && error.contains("bonjour"), qPrintable(error));
    QVERIFY(!launcher.IsRunning());
    error.clear();
    QVERIFY(!launcher.Start("/bin/sh", {"-c", "read line"}, &error, 300));
    QVERIFY2(error.contains("n'a pas indiqué son port"), qPrintable(error));
    QVERIFY(!launcher.IsRunning());
}

QTEST_GUILESS_MAIN(tst_EmulatorLauncher)
#include "tst_emulatorlauncher.moc"
