#include <QtTest>
#include <QtWidgets>

#include "access/groups.h"
#include "access/zoneseditor.h"
#include "app/textcolorset.h"
#include "commun/fileini.h"
#include "testfiles.h"

namespace {

// Twelve rules: "NO,0,0,0,0" but where set says otherwise.
QString Rules(const QMap<int, QString>& set)
{
    QString text;
    for (int z = 0; z < ZONE_COUNT; ++z)
        text += QString("Z%1:%2;").arg(z).arg(set.value(z, "NO,0,0,0,0"));
    return text;
}

// The tab's widgets as the form holds them (the chooser editable with Qt's default insert policy),
// zones 1, 6 and 12 installed, three groups, the editor set up and connected as the window does.
struct Tab
{
    Tab()
    {
        for (int z : {0, 5, 11})
            zones[z] = {true, "Z" + QString::number(z)};
        GroupAdd(&groups, "", 0)->Set("ID:4;LABEL:Personnel;Z0:YES,2,0,9,0;Z5:NO,0,0,0,10;");
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
    bool Red(const QPushButton& button) { return button.palette().color(QPalette::ButtonText) == Qt::red; }
    // "shown" or "hidden" when the rule column of the zone, its title included, is all one way.
    QString RuleColumn(int zone)
    {
        QSet<bool> hidden;
        for (int row = 0; row <= 4; ++row)
            hidden << gridGroup->itemAtPosition(row, zone + 1)->widget()->isHidden();
        return hidden.size() > 1 ? "mixed" : *hidden.begin() ? "hidden" : "shown";
    }
    QStringList Lines(const char* pattern)
    {
        return QString::fromUtf8(FileBytes(ini.fileName())).split('\n').filter(QRegularExpression(pattern));
    }

    QWidget box;
    QGridLayout* gridZones = new QGridLayout(new QWidget(&box));
    QGridLayout* gridGroup = new QGridLayout(new QWidget(&box));
    QLineEdit group;
    QComboBox profiles, groupList;
    bool editable = (groupList.setEditable(true), true); // before the editor, as the form makes it
    QPushButton zonesSave, groupSave;
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    QTemporaryDir dir;
    CFILE_INI ini{dir.filePath("config.ini")};
    ZonesEditor::Form form{gridZones, gridGroup, &group, &groupList, &profiles, &zonesSave, &groupSave};
    ZonesEditor editor{form, zones, &groups, &ini, TextColorSet};
};

} // namespace

// Zones, groups and their config.ini texts, and the "Zones et Groupes" editor.
class TstAccess : public QObject
{
    Q_OBJECT

private slots:
    // Each text read, then written back; numbers keep their low 8 bits, as one byte of the reader's record.
    void texts()
    {
        const std::tuple<char, const char*, QString> rows[] = {
            {'Z', "INSTALLED:YES;LABEL:Parking", "INSTALLED:YES;LABEL:Parking"},
            {'Z', "INSTALLED:yes;LABEL:Hall", "INSTALLED:NO;LABEL:Hall"},
            {'R', "YES", "YES,0,0,0,0"},
            {'R', "NO,300,256,0,511", "NO,44,0,0,255"},
            {'G', "ID:4;LABEL:P;Z0:YES,1,0,0,10;Z11:NO,0,3,7,0;",
             "ID:4;LABEL:P;" + Rules({{0, "YES,1,0,0,10"}, {11, "NO,0,3,7,0"}})},
            // Without a label the rules stay cleared.
            {'G', "ID:9;Z0:YES,1,1,1,1;", "ID:9;LABEL:;" + Rules({})},
            {'G', "ID:x;LABEL:A;B;Z3:YES", "ID:0;LABEL:A;" + Rules({{3, "YES,0,0,0,0"}})}};
        const auto reread = [](auto value, const QString& text) { return value.Set(text), value.Get(); };
        for (const auto& [kind, text, read] : rows)
            QCOMPARE(kind == 'Z'   ? reread(CZONE(), text)
                     : kind == 'R' ? reread(CZONE_RULE(), text)
                                   : reread(CGROUP(), text),
                     read);
    }

    void loadAndSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("config.ini");
        QVERIFY(FileWrite(path, "# site\n[GROUPS]\nGROUP=ID:1;LABEL:Direction;\nGROUP=ID:2;\n"
                                "OTHER=ID:3;LABEL:Visiteurs;\n[ZONES]\nZONE11=INSTALLED:YES;LABEL:Quai\n"));
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
        delete groups.takeAt(1);
        GroupAdd(&groups, "Accès", 12);
        ZonesSave(zones, &ini);
        GroupsSave(&groups, &ini);
        QVERIFY(ini.Close() && ini.Open());
        QCOMPARE(ini.lines.mid(0, 9),
                 (QStringList{"# site", "[GROUPS]", "GROUP=" + groups[0]->Get(), "GROUP=" + groups[1]->Get(),
                              "GROUP=" + groups[2]->Get(), "[ZONES]", "ZONE11=INSTALLED:YES;LABEL:Quai",
                              "ZONE0=INSTALLED:NO;LABEL:", "ZONE1=INSTALLED:NO;LABEL:"}));
        qDeleteAll(groups);
    }

    void zonesGrid()
    {
        Tab tab;
        QVERIFY(tab.Get<QCheckBox>("CB_Installed5")->isChecked() && !tab.Get("LE_Label1")->isEnabled());
        for (int zone = 0; zone < ZONE_COUNT; ++zone)
            QCOMPARE(tab.RuleColumn(zone),
                     QString(zone == 0 || zone == 5 || zone == 11 ? "shown" : "hidden"));
        // The first group is shown and listed in both choosers; one past the end changes nothing.
        tab.editor.GroupShow(3);
        QCOMPARE(tab.groupList.count() + tab.profiles.count(), 6);
        QCOMPARE(tab.group.text() + tab.Get("LE_Counter0")->text() + tab.Get("LE_DefaultValue5")->text(),
                 "4210");

        tab.Get<QCheckBox>("CB_Installed0")->setChecked(false);
        tab.Get<QCheckBox>("CB_Installed3")->setChecked(true);
        // Saving applies the installed zones to the rule grid.
        QVERIFY(tab.editor.ZonesSave() && !tab.Red(tab.zonesSave));
        QCOMPARE(tab.RuleColumn(0) + tab.RuleColumn(3), "hiddenshown");
    }

    void groupEdits()
    {
        Tab tab;
        tab.profiles.setCurrentIndex(1);
        QSignalSpy profileChanges(&tab.profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));
        tab.group.setText("x12");
        tab.Get("LE_Counter0")->setText("300");
        tab.gridGroup->itemAtPosition(1, 12)->widget()->setProperty("checked", true);
        // Numbers keep their low 8 bits, "x12" reads 0.
        QVERIFY(tab.editor.GroupSave());
        QCOMPARE(tab.Lines("^GROUP=").value(0),
                 "GROUP=ID:0;LABEL:Personnel;" +
                     Rules({{0, "YES,44,0,9,0"}, {5, "NO,0,0,0,10"}, {11, "YES,0,0,0,0"}}));
        // The badge tab keeps its choice without being told; a new group is saved only by the button.
        tab.editor.GroupNew();
        QCOMPARE(tab.profiles.currentIndex() * 10 + profileChanges.count() +
                     tab.Lines("^GROUP=").size() * 100,
                 310);
        // Deleting "Personnel" shifts the badge tab's "Visiteurs" to 0.
        tab.groupList.setCurrentIndex(0);
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

    // Found when a group was renamed with Enter: a label typed in the chooser over group 0, then Enter
    // and leaving it, then "Sauvegarder". Whether the button was red, then the groups as saved.
    void rename()
    {
        const std::pair<const char*, const char*> rows[] = {{"Staff", "1 3 Staff 5 Visiteurs"},
                                                            {"Visiteurs", "1 3 Visiteurs 5 Visiteurs"},
                                                            {"Personnel", "0 3 Personnel 5 Visiteurs"}};
        for (const auto& [typed, outcome] : rows) {
            Tab tab;
            tab.Get("LE_Counter0")->setText("5");
            tab.groupList.lineEdit()->selectAll();
            QTest::keyClicks(tab.groupList.lineEdit(), typed);
            QTest::keyClick(tab.groupList.lineEdit(), Qt::Key_Return);
            emit tab.groupList.lineEdit()->editingFinished(); // what losing the focus sends
            const QString red = QString::number(tab.Red(tab.groupSave));
            QVERIFY(tab.editor.GroupSave());
            QCOMPARE(QStringList({red, QString::number(tab.groupList.count()), tab.groups[0]->Label,
                                  QString::number(tab.groups[0]->Rules[0].Counter), tab.groups[1]->Label})
                         .join(' '),
                     QString(outcome));
        }
    }
};

QTEST_MAIN(TstAccess)
#include "tst_access.moc"
