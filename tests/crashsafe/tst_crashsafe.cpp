#include "access/groups.h"
#include "blacklist/ttablefile.h"
#include "commun/fileini.h"
#include "readerconfig/configfile.h"
#include "readerconfig/parametertree.h"
#include "testfiles.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/wait.h>
#include <unistd.h>

namespace {
const QStringList Names{"config.ini", "listenoire.txt", "configuration.txt"};

// One of three contents of config.ini and listenoire.txt, large enough for a kill to land inside a
// save; the configuration file is the default tree's.
struct Variant
{
    QList<CGROUP*> groups;
    QTableWidget table{4000, 5};
    QTreeWidget tree;
    QLineEdit status;
    ParameterTree parameters{&tree, &status};

    Variant(int v) // not explicit: an array of them is built from their numbers
    {
        for (int g = 0; g < 400; ++g)
            GroupAdd(&groups, QString("Groupe %1-%2").arg(v).arg(g), g + 1);
        for (int cell = 0; cell < 4000 * 5; ++cell)
            table.setItem(cell / 5, cell % 5, new QTableWidgetItem(QString("%1 v%2").arg(cell).arg(v)));
        parameters.Setup();
    }
    ~Variant() { qDeleteAll(groups); }

    bool save(const QDir& folder, int file)
    {
        QString error;
        CFILE_INI ini(folder.filePath(Names[0]));
        if (file == 0 && ini.Open())
            GroupsSave(&groups, &ini);
        return file == 0   ? ini.IsOpened() && ini.Close()
               : file == 1 ? TTableFile::TableSave(&table, folder.filePath(Names[1]))
                           : ConfigFileSave(&tree, folder.filePath(Names[2]), &error);
    }
};
} // namespace

class TstCrashSafe : public QObject
{
    Q_OBJECT

private slots:
    // A forked saver of config.ini, listenoire.txt and a configuration file, killed at random moments,
    // leaves each file whole (one of its contents); besides them only temporaries that no "*.txt" or
    // "*.ini" filter would take for them.
    void killedSaverLeavesWholeFiles()
    {
        QTemporaryDir dir;
        const QDir live(dir.path());
        Variant variants[3]{0, 1, 2};
        QSet<QByteArray> whole; // each file's contents, which no other file could have
        for (int i = 0; i < 9; whole << FileBytes(live.filePath(Names[i++ % 3]))) // each as saved
            QVERIFY(variants[i / 3].save(live, i % 3));
        QRandomGenerator random(QRandomGenerator::global()->generate());
        for (int kill = 0, kills = 30 + int(random.bounded(31)); kill <= kills; ++kill) {
            int pipe[2], status = 0;
            QVERIFY(::pipe(pipe) == 0);
            const pid_t pid = ::fork();
            // Each round starts from another content and file, so that kills land in all saves.
            for (int n = kill * 3; pid == 0; ++n) // round n / 3, step n % 3
                if (!variants[n / 3 % 3].save(live, (n / 3 + n % 3) % 3) || ::write(pipe[1], "s", 1) != 1)
                    ::_exit(1);
            // A few whole saves first (a whole round before the last kill), then killed as soon as a save
            // shows a temporary, or a random while later.
            ::close(pipe[1]);
            for (int saves = kill == kills ? 3 : int(random.bounded(4)), done = 0; saves > 0; --saves)
                QVERIFY(::read(pipe[0], &done, 1) == 1);
            const int files = live.entryList(QDir::Files).size();
            (void)QTest::qWaitFor([&] { return live.entryList(QDir::Files).size() > files; },
                                  kill == kills ? 0 : int(random.bounded(51)));
            QVERIFY(::kill(pid, SIGKILL) == 0 && ::waitpid(pid, &status, 0) == pid && WIFSIGNALED(status));
            ::close(pipe[0]);
            // A missing file reads "<unreadable>".
            for (const QString& name : Names + live.entryList(QDir::Files))
                QVERIFY2(Names.contains(name) ? whole.contains(FileBytes(live.filePath(name)))
                                              : !name.endsWith(".txt") && !name.endsWith(".ini") &&
                                                    Names.contains(name.section('.', 0, 1)),
                         qPrintable(QString("%1 after kill %2").arg(name).arg(kill)));
        }
    }
};

QTEST_MAIN(TstCrashSafe)
#include "tst_crashsafe.moc"
