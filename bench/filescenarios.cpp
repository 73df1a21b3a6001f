#include "filescenarios.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include "access/groups.h"
#include "access/zones.h"
#include "benchreport.h"
#include "benchrig.h"
#include "blacklist/blacklisttab.h"
#include "blacklist/tablerows.h"
#include "commun/fileini.h"

namespace {
constexpr double FileLimitMs = 300;
constexpr int BlacklistFileRows = 10000;
constexpr int ConfigGroups = 500;
// Lets a shown table paint before it is timed.
constexpr int PaintSettleMs = 100;
// Rows of the blacklist, each different: dates within any month, UIDs and users counted up.
constexpr int DaysInAnyMonth = 28;
constexpr int Months = 12;
constexpr int FirstUid = 0x0B000000;
constexpr int FirstUser = 20000;
constexpr int Groups = 9;

// Twelve zones, two in three installed, and groups whose rules vary from zone to zone.
void ConfigFill(CZONE* zones, QList<CGROUP*>* groups)
{
    for (int z = 0; z < ZONE_COUNT; ++z) {
        zones[z].Installed = z % 3 != 0;
        zones[z].Label = QStringLiteral("Zone %1").arg(z + 1);
    }
    for (int g = 0; g < ConfigGroups; ++g) {
        CGROUP* group = GroupAdd(groups, QStringLiteral("Groupe %1").arg(g + 1), g + 1);
        for (int z = 0; z < ZONE_COUNT; ++z) {
            group->Rules[z].Access = (g + z) % 2 == 0;
            group->Rules[z].Counter = static_cast<quint8>(z % 4);
            group->Rules[z].Default = static_cast<quint8>(g % 50);
        }
    }
}
} // namespace

void BlacklistFile(BenchReport& report)
{
    Progress("blacklist file");
    QTemporaryDir dir;
    const QString path = BlacklistFilePath(dir.path());
    QLineEdit status;

    QTableWidget source;
    BlacklistTableSetup(&source);
    for (int row = 0; row < BlacklistFileRows; ++row) {
        TableLineToRow(&source, QStringLiteral("%1/%2/26;%3;%4;%5;Badge volé à l'accueil;")
                                    .arg(row % DaysInAnyMonth + 1, 2, 10, QLatin1Char('0'))
                                    .arg(row % Months + 1, 2, 10, QLatin1Char('0'))
                                    .arg(FirstUid + row, 8, 16, QLatin1Char('0'))
                                    .arg(FirstUser + row)
                                    .arg(row % Groups + 1));
    }
    source.show();
    RunFor(PaintSettleMs);
    QElapsedTimer timer;
    timer.start();
    const bool saved = BlacklistFileSave(&source, &status, path);
    const double saveMs = ElapsedMs(timer);
    if (saved)
        report.AddTarget(QStringLiteral("blacklist_file_save"), saveMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("blacklist_file_save"), QStringLiteral("ms"), status.text());
    source.hide();

    // Loaded into a shown table, as the operator sees it.
    QTableWidget target;
    BlacklistTableSetup(&target);
    target.show();
    RunFor(PaintSettleMs);
    timer.start();
    const bool loaded = BlacklistFileLoad(&target, &status, path);
    const double loadMs = ElapsedMs(timer);
    if (loaded && target.rowCount() == BlacklistFileRows)
        report.AddTarget(QStringLiteral("blacklist_file_load"), loadMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("blacklist_file_load"), QStringLiteral("ms"), status.text());
}

void ConfigIni(BenchReport& report)
{
    Progress("config.ini");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    ConfigFill(zones, &groups);

    // A first save creates the file; the timed one replaces a full section, as the zone editor does.
    CFILE_INI first(path);
    bool ok = first.Open();
    ZonesSave(zones, &first);
    GroupsSave(&groups, &first);
    ok = first.Close() && ok;

    QElapsedTimer timer;
    timer.start();
    CFILE_INI saveIni(path);
    ok = saveIni.Open() && ok;
    GroupsSave(&groups, &saveIni);
    ok = saveIni.Close() && ok;
    const double saveMs = ElapsedMs(timer);
    qDeleteAll(groups);
    if (ok)
        report.AddTarget(QStringLiteral("config_ini_save"), saveMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("config_ini_save"), QStringLiteral("ms"),
                          QStringLiteral("save failed"));

    // As the window does at start: open, read zones and groups, close.
    CZONE loadedZones[ZONE_COUNT];
    QList<CGROUP*> loaded;
    timer.start();
    CFILE_INI loadIni(path);
    bool loadOk = loadIni.Open();
    ZonesLoad(loadedZones, &loadIni);
    GroupsLoad(&loaded, &loadIni);
    loadOk = loadIni.Close() && loadOk;
    const double loadMs = ElapsedMs(timer);
    if (loadOk && loaded.size() == ConfigGroups)
        report.AddTarget(QStringLiteral("config_ini_load"), loadMs, QStringLiteral("ms"), FileLimitMs);
    else
        report.AddFailure(QStringLiteral("config_ini_load"), QStringLiteral("ms"),
                          QStringLiteral("%1 groups read").arg(loaded.size()));
    qDeleteAll(loaded);
}
