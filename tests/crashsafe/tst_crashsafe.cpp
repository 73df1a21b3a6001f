#include "access/groups.h"
#include "access/zones.h"
#include "blacklist/ttablefile.h"
#include "commun/fileini.h"
#include "readerconfig/configfile.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/treeeditors.h"
#include "testfiles.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QStringList Names{"config.ini", "listenoire.txt", "configuration.txt"};

// One of three contents of each file, all large enough for a kill to land inside a save.
struct Variant
{
    QList<CGROUP*> groups;
    QTableWidget table{4000, 5};
    QTreeWidget tree;
    QLineEdit status;
    ParameterTree parameters{&tree, &status};

    explicit Variant(int v)
    {
        for (int g = 0; g < 400; ++g)
            GroupAdd(&groups, QString("Groupe %1-%2").arg(v).arg(g), g + 1);
        for (int cell = 0; cell < 4000 * 5; ++cell)
            table.setItem(cell / 5, cell % 5,
                          new QTableWidgetItem(QString("%1 version %2").arg(cell).arg(v)));
        parameters.Setup();
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if ((*it)->text(PARAM_COL_WIDGET) != PARAM_WIDGET_CHECKBOX &&
                !tree.itemWidget(*it, PARAM_COL_VALEUR))
                TreeItemValue(false, &tree, *it, QString(300, QChar('a' + v)), PARAM_COL_WIDGET,
                              PARAM_COL_VALEUR);
    }
    ~Variant() { qDeleteAll(groups); }

    bool save(const QDir& folder, int file)
    {
        QString error;
        if (file == 1 || file == 2)
            return file == 1 ? TTableFile::TableSave(&table, folder.filePath(Names[1]))
                             : ConfigFileSave(&tree, folder.filePath(Names[2]), &error);
        CZONE zones[ZONE_COUNT];
        CFILE_INI ini(folder.filePath(Names[0]));
        if (!ini.Open())
            return false;
        ZonesSave(zones, &ini);
        GroupsSave(&groups, &ini);
        return ini.Close();
    }
};
} // namespace

class TstCrashSafe : public QObject
{
    Q_OBJECT

private slots:
    // A forked saver of config.ini, listenoire.txt and a configuration file, killed at random moments,
    // leaves each file whole (one of its contents) or, before its first save, absent; besides them only
    // temporaries that no "*.txt" or "*.ini" filter would take for them.
    void killedSaverLeavesWholeFiles()
    {
        QLoggingCategory::setFilterRules("*.debug=false");
        QTemporaryDir dir;
        QDir live(dir.path());
        std::unique_ptr<Variant> variants[3];
        QHash<QString, QList<QByteArray>> whole;
        for (int v = 0; v < 3; ++v) {
            variants[v] = std::make_unique<Variant>(v);
            for (int file = 0; file < 3; ++file) {
                QVERIFY(variants[v]->save(live, file));
                whole[Names[file]] << FileBytes(live.filePath(Names[file]));
                QVERIFY(live.remove(Names[file]));
            }
        }
        QRandomGenerator random(QRandomGenerator::global()->generate());
        const int kills = 30 + int(random.bounded(31));
        QSet<QString> saved;
        for (int kill = 0; kill <= kills; ++kill) {
            int pipe[2];
            QVERIFY(::pipe(pipe) == 0);
            const pid_t saver = ::fork();
            // Each round starts from another content and file, so that kills land in all saves.
            for (int round = kill; saver == 0; ++round)
                for (int step = 0; step < 3; ++step)
                    if (!variants[round % 3]->save(live, (round + step) % 3) || ::write(pipe[1], "s", 1) != 1)
                        ::_exit(1);
            ::close(pipe[1]);
            // A few whole saves first (a whole round before the last kill), then killed as soon as a save
            // is under way, or a random while later.
            char done;
            for (int saves = kill == kills ? 3 : int(random.bounded(4)); saves > 0; --saves)
                QVERIFY(::read(pipe[0], &done, 1) == 1);
            const int files = live.entryList(QDir::Files).size();
            (void)QTest::qWaitFor([&] { return live.entryList(QDir::Files).size() > files; },
                                  kill == kills ? 0 : int(random.bounded(51)));
            int status = 0;
            QVERIFY(::kill(saver, SIGKILL) == 0 && ::waitpid(saver, &status, 0) == saver &&
                    WIFSIGNALED(status));
            ::close(pipe[0]);
            const QStringList present = live.entryList(QDir::Files);
            for (const QString& name : present) {
                const QByteArray content = FileBytes(live.filePath(name));
                // Opening the store creates an empty config.ini before its first save.
                const bool fine = Names.contains(name) ? whole[name].contains(content) ||
                                                             (content.isEmpty() && !saved.contains(name))
                                                       : !name.endsWith(".txt") && !name.endsWith(".ini") &&
                                                             Names.contains(name.section('.', 0, 1));
                QVERIFY2(fine,
                         qPrintable(
                             QString("%1 (%2 bytes) after kill %3").arg(name).arg(content.size()).arg(kill)));
                if (!content.isEmpty() && Names.contains(name))
                    saved << name;
            }
            QVERIFY(std::all_of(saved.begin(), saved.end(),
                                [&](const QString& n) { return present.contains(n); }));
        }
        QCOMPARE(saved.size(), 3);
    }
};

QTEST_MAIN(TstCrashSafe)
#include "tst_crashsafe.moc"
