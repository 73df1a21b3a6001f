#include <QtTest>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/types.h>

namespace {
// Children of `parent` still alive (zombies count as gone), from /proc.
QList<qint64> LiveChildren(qint64 parent)
{
    QList<qint64> children;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces, so read after its ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(0) != "Z" && fields.at(1).toLongLong() == parent)
            children << pid;
    }
    return children;
}

bool Alive(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

QStringList Arguments(qint64 pid)
{
    QFile file(QString("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arguments;
    for (const QByteArray& part : file.readAll().split('\0'))
        arguments << QString::fromLocal8Bit(part);
    return arguments;
}

// Pseudo-terminals the process holds open: its standard channels are pipes here,
// so any is the serial port.
QStringList OpenTerminals(qint64 pid)
{
    QStringList terminals;
    const QDir fds(QString("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target.startsWith("/dev/pts/"))
            terminals << target;
    }
    return terminals;
}
} // namespace

// korvelmanager --emulator as a newcomer starts it: the program starts the
// emulator beside it, opens its port, and takes it along when it dies.
class TstE2eDemo : public QObject
{
    Q_OBJECT

private slots:
    void emulatorFollowsTheProgram()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_DATA_HOME", dir.filePath("data"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.path());
        program.setStandardOutputFile(dir.filePath("program.log"));
        program.setStandardErrorFile(dir.filePath("program.log"), QIODevice::Append);
        program.start(KORVEL_PROGRAM_PATH, {"--emulator"});
        QVERIFY(program.waitForStarted(10000));

        // A child caught between fork and exec still shows the program's own arguments.
        QList<qint64> emulators;
        QStringList arguments;
        QTRY_VERIFY_WITH_TIMEOUT(
            (emulators = LiveChildren(program.processId())).size() == 1 &&
                (arguments = Arguments(emulators.first())).value(0).endsWith("korvel-reader-emulator"),
            15000);
        const qint64 emulator = emulators.first();
        // No display here: no emulator window; its state goes to the user's data folder.
        QVERIFY(!arguments.contains("--gui"));
        const int state = arguments.indexOf("--state");
        QVERIFY(state > 0);
        QVERIFY2(arguments.value(state + 1).startsWith(dir.filePath("data") + "/"),
                 qPrintable(arguments.value(state + 1)));

        // The automatic connection opened the emulator's pseudo-terminal.
        QTRY_COMPARE_WITH_TIMEOUT(OpenTerminals(program.processId()).size(), 1, 15000);

        // Killed, the program cannot stop the emulator itself: the system does.
        program.kill();
        QVERIFY(program.waitForFinished(10000));
        const bool ended = QTest::qWaitFor([emulator] { return !Alive(emulator); }, 15000);
        if (!ended)
            ::kill(pid_t(emulator), SIGKILL);
        QVERIFY(ended);
    }
};

QTEST_MAIN(TstE2eDemo)
#include "tst_e2e_demo.moc"
