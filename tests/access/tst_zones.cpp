#include <QtTest>

#include "access/zones.h"
#include "commun/fileini.h"

class TstZones : public QObject
{
    Q_OBJECT

private slots:
    void texts()
    {
        const struct
        {
            QString text;
            bool installed;
            QString label;
        } zones[] = {{"INSTALLED:YES;LABEL:Parking", true, "Parking"},
                     {"INSTALLED:yes;LABEL:Hall", false, "Hall"},
                     {"INSTALLED:NO;LABEL:A;B", false, "A"},
                     {"nothing here", false, ""}};
        for (const auto& c : zones) {
            CZONE zone, back;
            zone.Set(c.text);
            back.Set(zone.Get());
            for (const CZONE* z : {&zone, &back}) {
                QCOMPARE(z->Installed, c.installed);
                QCOMPARE(z->Label, c.label);
            }
        }

        // Each number keeps its low 8 bits, as one byte of the reader's record.
        const QStringList rules[] = {{"YES,1,2,3,10", "YES,1,2,3,10"},
                                     {"YES", "YES,0,0,0,0"},
                                     {"NO,300,256,0,511", "NO,44,0,0,255"},
                                     {"yes,a,b,c,d", "NO,0,0,0,0"},
                                     {"", "NO,0,0,0,0"}};
        for (const QStringList& c : rules) {
            CZONE_RULE rule;
            rule.Set(c[0]);
            QCOMPARE(rule.Get(), c[1]);
        }
    }

    void loadAndSave()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("# site\n[ZONES]\nZONE11=INSTALLED:YES;LABEL:Quai\n[GROUPS]\nGROUP=ID:1;LABEL:A;\n");
        }
        CFILE_INI ini(path);
        QVERIFY(ini.Open());
        CZONE zones[ZONE_COUNT];
        zones[0] = {true, QStringLiteral("stale")};
        ZonesLoad(zones, &ini);
        for (int i = 0; i < 11; ++i)
            QVERIFY(!zones[i].Installed && zones[i].Label.isEmpty());
        QVERIFY(zones[11].Installed);
        QCOMPARE(zones[11].Label, QStringLiteral("Quai"));

        // The missing keys are added to the section in place; accented labels survive.
        zones[2] = {true, QStringLiteral("Accès Hall")};
        ZonesSave(zones, &ini);
        QVERIFY(ini.Close());
        QVERIFY(ini.Open());
        QCOMPARE(ini.lines.mid(0, 3), (QStringList{"# site", "[ZONES]", "ZONE11=INSTALLED:YES;LABEL:Quai"}));
        QCOMPARE(ini.lines.at(3), QStringLiteral("ZONE0=INSTALLED:NO;LABEL:"));
        QCOMPARE(ini.lines.at(5), QStringLiteral("ZONE2=INSTALLED:YES;LABEL:Accès Hall"));
        QCOMPARE(ini.lines.at(14), QStringLiteral("[GROUPS]"));
        CZONE again[ZONE_COUNT];
        ZonesLoad(again, &ini);
        for (int i = 0; i < ZONE_COUNT; ++i)
            QCOMPARE(again[i].Get(), zones[i].Get());
    }
};

QTEST_APPLESS_MAIN(TstZones)
#include "tst_zones.moc"
