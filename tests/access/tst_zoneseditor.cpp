#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "access/groups.h"
#include "access/zoneseditor.h"
#include "app/textcolorset.h"
#include "commun/fileini.h"
#include "filesizelimit.h"

namespace {

QColor TextColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::ButtonText);
}

// The tab's widgets as the window's form holds them, the window's zones, groups and store
// (zones 1, 6 and 12 installed; three groups), and the editor set up and connected as the window does.
struct Tab
{
    explicit Tab(const QString& iniPath) : ini(iniPath)
    {
        zonesBox.setLayout(gridZones);
        groupBox.setLayout(gridGroup);
        groupList.setEditable(true);
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
    }
    ~Tab() { qDeleteAll(groups); }

    template <typename T> T* Zones(const char* name) { return zonesBox.findChild<T*>(name); }
    QLineEdit* Rule(const char* name) { return groupBox.findChild<QLineEdit*>(name); }
    // "shown" or "hidden" when the rule column of the zone, its title included, is all one way.
    QString RuleColumn(int zone)
    {
        QStringList states;
        for (int row = 0; row <= 4; ++row)
            states << (gridGroup->itemAtPosition(row, zone + 1)->widget()->isHidden() ? "hidden" : "shown");
        states.removeDuplicates();
        return states.join('/');
    }
    QStringList GroupLines() const
    {
        QFile file(ini.fileName());
        if (!file.open(QIODevice::ReadOnly))
            return {"<missing>"};
        return QString::fromUtf8(file.readAll()).split('\n').filter(QRegularExpression("^GROUP="));
    }

    QWidget zonesBox;
    QWidget groupBox;
    QGridLayout* gridZones = new QGridLayout;
    QGridLayout* gridGroup = new QGridLayout;
    QLineEdit group;
    QComboBox groupList;
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

class TstZonesEditor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString NewPath() { return m_dir.filePath(QString("config%1.ini").arg(++m_files)); }

private slots:
    void gridSetup()
    {
        Tab tab(NewPath());
        auto cell = [](QGridLayout* grid, int row, int column) {
            return grid->itemAtPosition(row, column)->widget();
        };
        QCOMPARE(qobject_cast<QLabel*>(cell(tab.gridZones, 1, 4))->text(), QStringLiteral("ZONE 6:"));
        QVERIFY(tab.Zones<QCheckBox>("CB_Installed5")->isChecked());
        QVERIFY(!tab.Zones<QLineEdit>("LE_Label1")->isEnabled());
        QCOMPARE(tab.Zones<QLineEdit>("LE_Label5")->text(), QStringLiteral("Parking"));

        for (int zone = 0; zone < ZONE_COUNT; ++zone)
            QCOMPARE(tab.RuleColumn(zone),
                     QString(zone == 0 || zone == 5 || zone == 11 ? "shown" : "hidden"));

        // The first group is shown, and listed in both choosers.
        QCOMPARE(tab.groupList.count(), 3);
        QCOMPARE(tab.profiles.count(), 3);
        QCOMPARE(tab.profiles.currentIndex(), 0);
        QCOMPARE(tab.group.text(), QStringLiteral("4"));
        QVERIFY(qobject_cast<QCheckBox*>(cell(tab.gridGroup, 1, 1))->isChecked());
        QCOMPARE(tab.Rule("LE_Counter0")->text(), QStringLiteral("2"));
        QCOMPARE(tab.Rule("LE_DefaultValue5")->text(), QStringLiteral("10"));
        // Showing a group is no edit.
        QCOMPARE(TextColor(&tab.groupSave),
                 tab.zonesSave.style()->standardPalette().color(QPalette::ButtonText));
        QCOMPARE(TextColor(&tab.zonesSave), TextColor(&tab.groupSave));
    }

    void zonesInstallAndSave()
    {
        Tab tab(NewPath());
        tab.Zones<QCheckBox>("CB_Installed0")->setChecked(false);
        QVERIFY(!tab.Zones<QLineEdit>("LE_Label0")->isEnabled());
        QCOMPARE(TextColor(&tab.zonesSave), QColor(Qt::red));
        QCOMPARE(tab.RuleColumn(0), QString("shown"));

        tab.Zones<QCheckBox>("CB_Installed3")->setChecked(true);
        QVERIFY(tab.Zones<QLineEdit>("LE_Label3")->isEnabled());
        tab.Zones<QLineEdit>("LE_Label3")->setText("Réserve");

        // Saving applies the installed zones to the rule grid.
        QVERIFY(tab.editor.ZonesSave());
        QCOMPARE(TextColor(&tab.zonesSave), QColor(Qt::black));
        QCOMPARE(tab.RuleColumn(0), QString("hidden"));
        QCOMPARE(tab.RuleColumn(3), QString("shown"));
        QCOMPARE(qobject_cast<QLabel*>(tab.gridGroup->itemAtPosition(0, 4)->widget())->text(),
                 QStringLiteral("ZONE 4:\nRéserve"));
        CFILE_INI saved(tab.ini.fileName());
        QVERIFY(saved.Open());
        const QStringList zoneLines = saved.lines.filter(QRegularExpression("^ZONE\\d+="));
        QCOMPARE(zoneLines.size(), ZONE_COUNT);
        QVERIFY(zoneLines.contains("ZONE0=INSTALLED:NO;LABEL:Hall"));
        QVERIFY(zoneLines.contains("ZONE3=INSTALLED:YES;LABEL:Réserve"));

        // A store that cannot be written leaves the button red.
        tab.Zones<QCheckBox>("CB_Installed3")->setChecked(false);
        FileSizeLimit limit(16);
        QVERIFY(limit.isActive());
        QVERIFY(!tab.editor.ZonesSave());
        QCOMPARE(TextColor(&tab.zonesSave), QColor(Qt::red));
    }

    void groupEditAndSave()
    {
        Tab tab(NewPath());
        tab.profiles.setCurrentIndex(1);
        QSignalSpy profileChanges(&tab.profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));
        tab.editor.GroupShow(1);
        QCOMPARE(tab.group.text(), QStringLiteral("7"));
        QVERIFY(TextColor(&tab.groupSave) != QColor(Qt::red));
        tab.editor.GroupShow(0);
        tab.editor.GroupShow(9);
        QCOMPARE(tab.group.text(), QStringLiteral("4"));

        tab.group.setFocus();
        tab.group.selectAll();
        QTest::keyClicks(&tab.group, "x12");
        QCOMPARE(TextColor(&tab.groupSave), QColor(Qt::red));
        tab.groupList.lineEdit()->setText("Staff");
        tab.Rule("LE_Counter0")->setText("300");
        tab.Rule("LE_AntiPassback5")->setText("-1");
        tab.Rule("LE_DefaultValue11")->setText("douze");
        tab.gridGroup->itemAtPosition(1, 12)->widget()->setProperty("checked", true);

        // The whole section is rewritten; numbers keep their low 8 bits, "x12" and "douze" read 0.
        QVERIFY(tab.editor.GroupSave());
        QCOMPARE(TextColor(&tab.groupSave), QColor(Qt::black));
        QCOMPARE(tab.groupList.currentIndex(), 0);
        QCOMPARE(tab.group.text(), QStringLiteral("0"));
        auto rules = [](const QMap<int, QString>& set) {
            QString text;
            for (int z = 0; z < ZONE_COUNT; ++z)
                text += QString("Z%1:%2;").arg(z).arg(set.value(z, "NO,0,0,0,0"));
            return text;
        };
        QCOMPARE(tab.GroupLines(),
                 (QStringList{"GROUP=ID:0;LABEL:Staff;" +
                                  rules({{0, "YES,44,0,9,0"}, {5, "NO,0,255,0,10"}, {11, "YES,0,0,0,0"}}),
                              "GROUP=ID:7;LABEL:Visiteurs;" + rules({}),
                              "GROUP=ID:8;LABEL:Livreurs;" + rules({})}));
        // The badge tab lists the new name and keeps its choice without being reset.
        QCOMPARE(tab.profiles.itemText(0), QStringLiteral("Staff"));
        QCOMPARE(tab.profiles.currentIndex(), 1);
        QCOMPARE(profileChanges.count(), 0);
    }

    void groupNewAndDelete()
    {
        Tab tab(NewPath());
        QVERIFY(tab.editor.GroupSave());
        const QStringList saved = tab.GroupLines();
        QCOMPARE(saved.size(), 3);

        // A new group is saved only by the save button.
        tab.editor.GroupNew();
        QCOMPARE(tab.groupList.count(), 4);
        QCOMPARE(tab.groupList.currentIndex(), 3);
        QCOMPARE(tab.groupList.currentText(), QStringLiteral("Nouveau Group"));
        QCOMPARE(tab.group.text(), QStringLiteral("0"));
        QCOMPARE(TextColor(&tab.groupSave), QColor(Qt::red));
        QCOMPARE(tab.GroupLines(), saved);
        QCOMPARE(tab.profiles.count(), 3);
        QVERIFY(tab.editor.GroupSave());
        QCOMPARE(tab.GroupLines().size(), 4);
        QCOMPARE(tab.profiles.count(), 4);

        // Not confirmed: nothing goes. The badge tab shows "Visiteurs"; deleting "Personnel" shifts it to 0.
        tab.profiles.setCurrentIndex(1);
        tab.groupList.setCurrentIndex(0);
        QVERIFY(tab.editor.GroupDelete(false));
        QCOMPARE(tab.groups.size(), 4);
        QVERIFY(tab.editor.GroupDelete(true));
        QCOMPARE(tab.groups.size(), 3);
        QCOMPARE(tab.GroupLines(),
                 (QStringList{saved.at(1), saved.at(2), "GROUP=" + tab.groups.at(2)->Get()}));
        QCOMPARE(tab.groupList.currentIndex(), 0);
        QCOMPARE(tab.groupList.currentText(), QStringLiteral("Visiteurs"));
        QCOMPARE(tab.profiles.currentText(), QStringLiteral("Visiteurs"));
        QCOMPARE(tab.profiles.currentIndex(), 0);

        // Deleting the group the badge tab shows moves it to the first one, and tells it.
        tab.profiles.setCurrentIndex(2);
        tab.groupList.setCurrentIndex(2);
        QSignalSpy profileChanges(&tab.profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));
        QVERIFY(tab.editor.GroupDelete(true));
        QCOMPARE(tab.profiles.count(), 2);
        QCOMPARE(tab.profiles.currentIndex(), 0);
        QCOMPARE(profileChanges.count(), 1);

        tab.groupList.setCurrentIndex(-1);
        QVERIFY(tab.editor.GroupDelete(true));
        QCOMPARE(tab.groups.size(), 2);
    }
};

QTEST_MAIN(TstZonesEditor)
#include "tst_zoneseditor.moc"
