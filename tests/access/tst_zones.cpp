#include <QtTest>

#include "access/zones.h"
#include "commun/fileini.h"

class TstZones : public QObject
{
    Q_OBJECT

private slots:
    void zoneText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("label");

        QTest::newRow("installed") << "INSTALLED:YES;LABEL:Parking" << true << "Parking";
        QTest::newRow("case-sensitive") << "INSTALLED:yes;LABEL:Hall" << false << "Hall";
        QTest::newRow("label cut at ;") << "INSTALLED:NO;LABEL:A;B" << false << "A";
        QTest::newRow("garbage") << "nothing here" << false << "";
    }

    void zoneText()
    {
        QFETCH(QString, text);
        QFETCH(bool, installed);
        QFETCH(QString, label);
        CZONE zone;
        zone.Set(text);
        QCOMPARE(zone.Installed, installed);
        QCOMPARE(zone.Label, label);
        CZONE back;
        back.Set(zone.Get());
        QCOMPARE(back.Installed, installed);
        QCOMPARE(back.Label, label);
    }

    void ruleText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normalised");

        QTest::newRow("full") << "YES,1,2,3,10"
                              << "YES,1,2,3,10";
        QTest::newRow("access alone") << "YES"
                                      << "YES,0,0,0,0";
        QTest::newRow("low 8 bits") << "NO,300,256,0,511"
                                    << "NO,44,0,0,255";
        QTest::newRow("not numbers") << "yes,a,b,c,d"
                                     << "NO,0,0,0,0";
        QTest::newRow("empty") << ""
                               << "NO,0,0,0,0";
    }

    void ruleText()
    {
        QFETCH(QString, text);
        CZONE_RULE rule;
        rule.Set(text);
        QTEST(rule.Get(), "normalised");
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
        zones[0].Installed = true;
        zones[0].Label = QStringLiteral("stale");
        ZonesLoad(zones, &ini);
        for (int i = 0; i < 11; ++i) {
            QVERIFY(!zones[i].Installed);
            QVERIFY(zones[i].Label.isEmpty());
        }
        QVERIFY(zones[11].Installed);
        QCOMPARE(zones[11].Label, QStringLiteral("Quai"));

        zones[2].Installed = true;
        zones[2].Label = QStringLiteral("Accès Hall");
        ZonesSave(zones, &ini);
        QVERIFY(ini.Close());

        QVERIFY(ini.Open());
        QCOMPARE(ini.lines.mid(0, 3), (QStringList{"# site", "[ZONES]", "ZONE11=INSTALLED:YES;LABEL:Quai"}));
        QCOMPARE(ini.lines.at(3), QStringLiteral("ZONE0=INSTALLED:NO;LABEL:"));
        QCOMPARE(ini.lines.at(5), QStringLiteral("ZONE2=INSTALLED:YES;LABEL:Accès Hall"));
        QCOMPARE(ini.lines.at(14), QStringLiteral("[GROUPS]"));
        CZONE again[ZONE_COUNT];
        ZonesLoad(again, &ini);
        for (int i = 0; i < ZONE_COUNT; ++i) {
            QCOMPARE(again[i].Installed, zones[i].Installed);
            QCOMPARE(again[i].Label, zones[i].Label);
        }

        // The section is created at the end of a file that lacks it.
        CFILE_INI fresh(dir.filePath(QStringLiteral("fresh.ini")));
        QVERIFY(fresh.Open());
        ZonesSave(zones, &fresh);
        QCOMPARE(fresh.lines.size(), 13);
        QCOMPARE(fresh.lines.first(), QStringLiteral("[ZONES]"));
        QCOMPARE(fresh.lines.last(), QStringLiteral("ZONE11=INSTALLED:YES;LABEL:Quai"));
    }
};

QTEST_APPLESS_MAIN(TstZones)
#include "tst_zones.moc"
