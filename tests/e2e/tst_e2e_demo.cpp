#include <QtTest>

#include "testfiles.h"

namespace {
// "pid (name) state ppid ...": the name may hold spaces, so the fields are read after its ')'.
QList<QByteArray> Stat(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray(") Z 0");
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}
} // namespace

// korvelmanager --emulator as a newcomer starts it: the program starts the emulator beside it,
// opens its port, and takes it along when it dies.
class TstE2eDemo : public QObject
{
    Q_OBJECT

private slots:
    void emulatorFollowsTheProgram()
    {
        QTemporaryDir dir;
        QProcess program;
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
        program.setWorkingDirectory(dir.path());
        program.start(KORVEL_PROGRAM_PATH, {"--emulator"});
        QVERIFY(program.waitForStarted(10000));

        // Its live child, once past exec (before, it still shows the program's own arguments).
        qint64 emulator = 0;
        QByteArray arguments;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QString& pid : QDir("/proc").entryList(QDir::Dirs))
                    if (Stat(pid.toLongLong()).value(1).toLongLong() == program.processId() &&
                        Stat(pid.toLongLong()).value(0) != "Z")
                        emulator = pid.toLongLong();
                arguments = FileBytes(QString("/proc/%1/cmdline").arg(emulator));
                return arguments.split('\0').value(0).endsWith("korvel-reader-emulator");
            }(),
            15000);
        // No display here: no emulator window; its state goes to the user's data folder.
        QVERIFY(!arguments.contains("--gui"));
        QVERIFY(arguments.contains(QByteArray("--state") + '\0' + dir.filePath("data/").toLocal8Bit()));

        // The automatic connection opened the emulator's pseudo-terminal.
        const auto terminals = [&] {
            QStringList targets;
            for (const QFileInfo& fd : QDir(QString("/proc/%1/fd").arg(program.processId()))
                                           .entryInfoList(QDir::System | QDir::NoDotAndDotDot))
                targets << fd.symLinkTarget();
            return targets.filter(QRegularExpression("^/dev/pts/")).size();
        };
        QTRY_COMPARE_WITH_TIMEOUT(terminals(), 1, 15000);

        // Killed, the program cannot stop the emulator itself: the system does.
        program.kill();
        QVERIFY(program.waitForFinished(10000));
        QTRY_COMPARE_WITH_TIMEOUT(Stat(emulator).value(0), QByteArray("Z"), 15000);
    }
};

QTEST_MAIN(TstE2eDemo)
#include "tst_e2e_demo.moc"
