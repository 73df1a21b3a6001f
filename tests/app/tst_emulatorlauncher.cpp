#include "app/emulatorlauncher.h"

#include <QtTest>

#include <cerrno>
#include <csignal>

namespace {
bool makeFile(const QString& path, QFileDevice::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\n");
    file.close();
    return file.setPermissions(permissions);
}
} // namespace

class tst_EmulatorLauncher : public QObject
{
    Q_OBJECT

private slots:
    void findEmulator()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        const auto run = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        QVERIFY(dir.mkpath("installed/bin") && dir.mkpath("build/src") && dir.mkpath("build/emulator") &&
                dir.mkpath("lonely/src") && dir.mkpath("lonely/emulator"));
        // Installed: both programs in one folder.
        const QString installed = dir.filePath("installed/bin/korvel-reader-emulator");
        QVERIFY(makeFile(installed, run));
        QCOMPARE(EmulatorLauncher::FindEmulator(dir.filePath("installed/bin")), installed);
        // Build tree: build/src/korvelmanager, build/emulator/korvel-reader-emulator.
        const QString built = dir.filePath("build/emulator/korvel-reader-emulator");
        QVERIFY(makeFile(built, run));
        QCOMPARE(EmulatorLauncher::FindEmulator(dir.filePath("build/src")), built);
        // A file that cannot run is no emulator.
        QVERIFY(makeFile(dir.filePath("lonely/emulator/korvel-reader-emulator"),
                         QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(EmulatorLauncher::FindEmulator(dir.filePath("lonely/src")), QString());
    }

    void startAndEnd()
    {
        QTemporaryDir dir;
        const QString state = dir.filePath("emulator-state.json");
        qint64 pid = 0;
        {
            EmulatorLauncher launcher;
            QString error;
            QVERIFY2(launcher.Start(KORVEL_EMULATOR_PATH, {"--state", state}, &error), qPrintable(error));
            QVERIFY(launcher.IsRunning());
            QVERIFY2(launcher.PortName().startsWith("/dev/"), qPrintable(launcher.PortName()));
            QVERIFY(QFileInfo::exists(launcher.PortName()));
            pid = launcher.ProcessId();
            QVERIFY(pid > 0);
        }
        // Ended with the launcher, through "quit": the emulator saved its state on the way out.
        QVERIFY(::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH);
        QVERIFY(QFileInfo(state).size() > 0);

        // A second run keeps working with the same state file, and Stop() is safe twice.
        EmulatorLauncher again;
        QString error;
        QVERIFY2(again.Start(KORVEL_EMULATOR_PATH, {"--state", state}, &error), qPrintable(error));
        again.Stop();
        QVERIFY(!again.IsRunning());
        QVERIFY(again.PortName().isEmpty());
        again.Stop();
    }

    void failures()
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

        // Something that runs but never names its port: a bounded wait, then an error with what came.
        error.clear();
        QVERIFY(!launcher.Start("/bin/sh", {"-c", "echo bonjour; read line"}, &error, 2000));
        QVERIFY2(error.contains("n'a pas indiqué son port") && error.contains("bonjour"), qPrintable(error));
        QVERIFY(!launcher.IsRunning());
    }
};

QTEST_GUILESS_MAIN(tst_EmulatorLauncher)
#include "tst_emulatorlauncher.moc"
