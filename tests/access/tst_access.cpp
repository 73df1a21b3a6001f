#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "access/groups.h"
#include "access/zoneseditor.h"
#include "app/textcolorset.h"
#include "commun/fileini.h"
#include "filesizelimit.h"
#include "testfiles.h"

namespace {

QString Color(const QWidget* widget)
{
    const QColor color = widget->palette().color(QPalette::ButtonText);
    return color == Qt::red ? "red" : color == Qt::black ? "black" : "plain";
}

// Twelve rules: "NO,0,0,0,0" but where set says otherwise.
QString Rules(const QMap<int, QString>& set)
{
    QString text;
    for (int z = 0; z < ZONE_COUNT; ++z)
        text += QString("Z%1:%2;").arg(z).arg(set.value(z, "NO,0,0,0,0"));
    return text;
}

// The tab's widgets as the form holds them (the chooser editable with Qt's default insert
// policy), zones 1, 6 and 12 installed, three groups, the editor set up and connected as the window does.
struct Tab
{
    explicit Tab(const QString& iniPath) : ini(iniPath)
    {
        zones[0] = {true, "Hall"};
        zones[5] = {true, "Parking"};
        zones[11] = {true, "Toit"};
        CGROUP* staff = GroupAdd(&groups, "Personnel", 4);
        staff->Rules[0] = {true, 2, 0, 9, 0};
        staff->Rules[5].Default = 10;
        GroupAdd(&groups, "Visiteurs", 7);
        GroupAdd(&groups, "Livreurs", 8);
        editor.GridsSetup();
        for (QCheckBox* box : editor.InstalledBoxes())
            QObject::connect(box, &QCheckBox::stateChanged, &editor, &ZonesEditor::OnZoneStateChanged);
        QObject::connect(&group, &QLineEdit::textChanged, &editor, &ZonesEditor::GroupNumberChanged);
        QObject::connect(&groupList, &QComboBox::editTextChanged, &editor, &ZonesEditor::GroupLabelChanged);
        QObject::connect(&groupList, QOverload<int>::of(&QComboBox::currentIndexChanged), &editor,
                         &ZonesEditor::GroupShow);
    }
    ~Tab() { qDeleteAll(groups); }

    template <typename T = QLineEdit> T* Get(const QString& name) { return box.findChild<T*>(name); }
    // "shown" or "hidden" when the rule column of the zone, its title included, is all one way.
    QString RuleColumn(int zone)
    {
        QStringList states;
        for (int row = 0; row <= 4; ++row)
            states << (gridGroup->itemAtPosition(row, zone + 1)->widget()->isHidden() ? "hidden" : "shown");
        states.removeDuplicates();
        return states.join('/');
    }
    QStringList Lines(const char* pattern)
    {
        return QString::fromUtf8(FileBytes(ini.fileName())).split('\n').filter(QRegularExpression(pattern));
    }

    QWidget box;
    QGridLayout* gridZones = new QGridLayout(new QWidget(&box));
    QGridLayout* gridGroup = new QGridLayout(new QWidget(&box));
    QLineEdit group;
    QComboBox groupList;
    bool editable = (groupList.setEditable(true), true); // before the editor, as the form makes it
    QComboBox profiles;
    QPushButton zonesSave;
    QPushButton groupSave;
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    CFILE_INI ini;
    ZonesEditor editor{{gridZones, gridGroup, &group, &groupList, &profiles, &zonesSave, &groupSave},
                       zones,
                       &groups,
                       &ini,
                       TextColorSet};
};

} // namespace

// Zones, groups and their config.ini texts, and the "Zones et Groupes" editor.
class TstAccess : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;
    QString NewPath() { return m_dir.filePath(QString("config%1.ini").arg(++m_files)); }

private slots:
    void texts()
    {
        const std::tuple<const char*, const char*> zones[] = {{"INSTALLED:YES;LABEL:Parking", "YES Parking"},
                                                              {"INSTALLED:yes;LABEL:Hall", "NO Hall"},
                                                              {"INSTALLED:NO;LABEL:A;B", "NO A"},
                                                              {"nothing here", "NO "}};
        for (const auto& [text, read] : zones) {
            CZONE zone;
            zone.Set(text);
            QCOMPARE(zone.Get(), QString("INSTALLED:%1;LABEL:%2")
                                     .arg(QString(read).section(' ', 0, 0), QString(read).section(' ', 1)));
        }
        // Each number keeps its low 8 bits, as one byte of the reader's record.
        for (const auto& [text, read] : {std::pair<const char*, const char*>{"YES,1,2,3,10", "YES,1,2,3,10"},
                                         {"YES", "YES,0,0,0,0"},
                                         {"NO,300,256,0,511", "NO,44,0,0,255"},
                                         {"yes,a,b,c,d", "NO,0,0,0,0"}}) {
            CZONE_RULE rule;
            rule.Set(text);
            QCOMPARE(rule.Get(), QString(read));
        }
        // A group's text reads back as itself; without a label the rules stay cleared.
        const std::pair<const char*, QString> groups[] = {
            {"ID:4;LABEL:Personnel;Z0:YES,1,0,0,10;Z11:NO,0,3,7,0;",
             "ID:4;LABEL:Personnel;" + Rules({{0, "YES,1,0,0,10"}, {11, "NO,0,3,7,0"}})},
            {"ID:9;Z0:YES,1,1,1,1;", "ID:9;LABEL:;" + Rules({})},
            {"ID:x;LABEL:A;B;Z3:YES", "ID:0;LABEL:A;" + Rules({{3, "YES,0,0,0,0"}})}};
        for (const auto& [text, read] : groups) {
            CGROUP group;
            group.Set(text);
            QCOMPARE(group.Get(), read);
        }
    }

    void loadAndSave()
    {
        const QString path = NewPath();
        QVERIFY(FileWrite(path, "# site\n[GROUPS]\nGROUP=ID:1;LABEL:Direction;Z0:YES,0,0,0,0;\n"
                                "GROUP=ID:2;Z0:YES,1,1,1,1;\nOTHER=ID:3;LABEL:Visiteurs;\n[ZONES]\n"
                                "ZONE11=INSTALLED:YES;LABEL:Quai\n"));
        CFILE_INI ini(path);
        QVERIFY(ini.Open());
        CZONE zones[ZONE_COUNT];
        zones[0] = {true, "stale"};
        ZonesLoad(zones, &ini);
        QList<CGROUP*> groups;
        GroupsLoad(&groups, &ini);
        // Every key line counts as a group, whatever its key, also one without a label.
        QCOMPARE(groups.size(), 3);
        QCOMPARE(groups[0]->Label + groups[2]->Label + QString::number(groups[1]->Number),
                 "DirectionVisiteurs2");
        QVERIFY(!zones[0].Installed && zones[0].Label.isEmpty() && zones[11].Label == "Quai");

        // Zone keys are added to their section in place; the group section is rewritten whole.
        zones[2] = {true, "Accès Hall"};
        delete groups.takeAt(1);
        GroupAdd(&groups, "Accès", 12)->Rules[5].Counter = quint8(300);
        ZonesSave(zones, &ini);
        GroupsSave(&groups, &ini);
        QVERIFY(ini.Close() && ini.Open());
        QCOMPARE(ini.lines.mid(0, 4), (QStringList{"# site", "[GROUPS]", "GROUP=" + groups[0]->Get(),
                                                   "GROUP=" + groups[1]->Get()}));
        QCOMPARE(ini.lines.mid(6, 3),
                 (QStringList{"ZONE11=INSTALLED:YES;LABEL:Quai",
                              "ZONE0=INSTALLED:NO;LABEL:", "ZONE1=INSTALLED:NO;LABEL:"}));
        QVERIFY(ini.lines.contains("ZONE2=INSTALLED:YES;LABEL:Accès Hall"));
        QList<CGROUP*> again;
        GroupsLoad(&again, &ini);
        QCOMPARE(again.size(), 3);
        QCOMPARE(again[2]->Get(), "ID:12;LABEL:Accès;" + Rules({{5, "NO,44,0,0,0"}}));
        QComboBox combo;
        combo.addItem("old");
        GroupListFill(&again, &combo); // the item data is the position in the list
        QCOMPARE(combo.count() * 10 + combo.itemData(2).toInt(), 32);
        qDeleteAll(groups);
        qDeleteAll(again);
    }

    void zonesGrid()
    {
        Tab tab(NewPath());
        QCOMPARE(qobject_cast<QLabel*>(tab.gridZones->itemAtPosition(1, 4)->widget())->text(),
                 QStringLiteral("ZONE 6:"));
        QVERIFY(tab.Get<QCheckBox>("CB_Installed5")->isChecked() && !tab.Get("LE_Label1")->isEnabled());
        for (int zone = 0; zone < ZONE_COUNT; ++zone)
            QCOMPARE(tab.RuleColumn(zone),
                     QString(zone == 0 || zone == 5 || zone == 11 ? "shown" : "hidden"));
        // The first group is shown, listed in both choosers; showing is no edit.
        QCOMPARE(tab.groupList.count() + tab.profiles.count(), 6);
        QCOMPARE(tab.group.text() + tab.Get("LE_Counter0")->text() + tab.Get("LE_DefaultValue5")->text(),
                 "4210");
        QVERIFY(Color(&tab.groupSave) != "red" && Color(&tab.zonesSave) != "red");

        tab.Get<QCheckBox>("CB_Installed0")->setChecked(false);
        QVERIFY(!tab.Get("LE_Label0")->isEnabled());
        tab.Get<QCheckBox>("CB_Installed3")->setChecked(true);
        tab.Get("LE_Label3")->setText("Réserve");
        QCOMPARE(Color(&tab.zonesSave), "red");
        // Saving applies the installed zones to the rule grid.
        QVERIFY(tab.editor.ZonesSave());
        QCOMPARE(Color(&tab.zonesSave) + tab.RuleColumn(0) + tab.RuleColumn(3), "blackhiddenshown");
        QCOMPARE(qobject_cast<QLabel*>(tab.gridGroup->itemAtPosition(0, 4)->widget())->text(),
                 QStringLiteral("ZONE 4:\nRéserve"));
        QVERIFY(tab.Lines("^ZONE[03]=") ==
                QStringList({"ZONE0=INSTALLED:NO;LABEL:Hall", "ZONE3=INSTALLED:YES;LABEL:Réserve"}));
        // A store that cannot be written leaves the button red.
        tab.Get<QCheckBox>("CB_Installed3")->setChecked(false);
        FileSizeLimit limit(16);
        QVERIFY(limit.isActive() && !tab.editor.ZonesSave());
        QCOMPARE(Color(&tab.zonesSave), "red");
    }

    void groupEdits()
    {
        Tab tab(NewPath());
        tab.profiles.setCurrentIndex(1);
        QSignalSpy profileChanges(&tab.profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));
        tab.editor.GroupShow(9);
        QCOMPARE(tab.group.text(), QStringLiteral("4"));
        tab.group.setFocus();
        tab.group.selectAll();
        QTest::keyClicks(&tab.group, "x12");
        QCOMPARE(Color(&tab.groupSave), "red");
        tab.Get("LE_Counter0")->setText("300");
        tab.Get("LE_AntiPassback5")->setText("-1");
        tab.Get("LE_DefaultValue11")->setText("douze");
        tab.gridGroup->itemAtPosition(1, 12)->widget()->setProperty("checked", true);
        // The whole section is rewritten; numbers keep their low 8 bits, "x12" and "douze" read 0.
        QVERIFY(tab.editor.GroupSave());
        QCOMPARE(Color(&tab.groupSave) + tab.group.text(), "black0");
        QCOMPARE(tab.Lines("^GROUP="),
                 (QStringList{"GROUP=ID:0;LABEL:Personnel;" +
                                  Rules({{0, "YES,44,0,9,0"}, {5, "NO,0,255,0,10"}, {11, "YES,0,0,0,0"}}),
                              "GROUP=ID:7;LABEL:Visiteurs;" + Rules({}),
                              "GROUP=ID:8;LABEL:Livreurs;" + Rules({})}));
        // The badge tab keeps its choice without being told.
        QCOMPARE(tab.profiles.currentIndex() * 10 + profileChanges.count(), 10);

        // A new group is saved only by the save button.
        tab.editor.GroupNew();
        QCOMPARE(tab.groupList.currentText() + Color(&tab.groupSave), "Nouveau Groupred");
        QCOMPARE(tab.Lines("^GROUP=").size() * 10 + tab.profiles.count(), 33);
        QVERIFY(tab.editor.GroupSave());
        QCOMPARE(tab.Lines("^GROUP=").size() * 10 + tab.profiles.count(), 44);
        // Not confirmed: nothing goes. Deleting "Personnel" shifts the badge tab's "Visiteurs" to 0.
        tab.groupList.setCurrentIndex(0);
        QVERIFY(tab.editor.GroupDelete(false));
        QVERIFY(tab.editor.GroupDelete(true));
        QCOMPARE(tab.Lines("^GROUP=").size(), 3);
        QCOMPARE(tab.groupList.currentText() + tab.profiles.currentText() +
                     QString::number(tab.profiles.currentIndex()),
                 "VisiteursVisiteurs0");
        // Deleting the group the badge tab shows moves it to the first one, and tells it.
        tab.profiles.setCurrentIndex(2);
        tab.groupList.setCurrentIndex(2);
        QSignalSpy moved(&tab.profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));
        QVERIFY(tab.editor.GroupDelete(true));
        QCOMPARE(tab.profiles.count() * 100 + tab.profiles.currentIndex() * 10 + moved.count(), 201);
    }

    // A label typed in the chooser over group 0, then Enter or leaving it, then "Sauvegarder":
    // whether the button was red, then the groups as saved.
    void rename()
    {
        const std::tuple<const char*, bool, const char*> rows[] = {
            {"Staff", true, "red 3 Staff 5 Visiteurs"},
            {"Staff", false, "red 3 Staff 5 Visiteurs"},
            {"Visiteurs", true, "red 3 Visiteurs 5 Visiteurs"},
            {"Visiteurs", false, "red 3 Visiteurs 5 Visiteurs"},
            {"Personnel", true, "black 3 Personnel 5 Visiteurs"}};
        for (const auto& [typed, enter, outcome] : rows) {
            Tab tab(NewPath());
            tab.Get("LE_Counter0")->setText("5");
            tab.groupList.lineEdit()->selectAll();
            QTest::keyClicks(tab.groupList.lineEdit(), typed);
            if (enter)
                QTest::keyClick(tab.groupList.lineEdit(), Qt::Key_Return);
            else
                emit tab.groupList.lineEdit()->editingFinished(); // what losing the focus sends
            const QString red = Color(&tab.groupSave) == "red" ? "red" : "black";
            QVERIFY(tab.editor.GroupSave());
            QCOMPARE(QString("%1 %2 %3 %4 %5")
                         .arg(red)
                         .arg(tab.groupList.count())
                         .arg(tab.groups[0]->Label)
                         .arg(tab.groups[0]->Rules[0].Counter)
                         .arg(tab.groups[1]->Label),
                     QString(outcome));
        }
    }
};

QTEST_MAIN(TstAccess)
#include "tst_access.moc"
