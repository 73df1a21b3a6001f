#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "access/groups.h"
#include "access/zoneseditor.h"
#include "commun/fileini.h"
#include "filesizelimit.h"

namespace {

QColor TextColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::ButtonText);
}

template <typename T> T* Cell(QGridLayout* grid, int row, int column)
{
    QLayoutItem* item = grid->itemAtPosition(row, column);
    return item ? qobject_cast<T*>(item->widget()) : nullptr;
}

} // namespace

// The connections the window's slots make.
void WindowSlotsConnect(ZonesEditor& editor, QLineEdit* group, QComboBox* groupList)
{
    for (QCheckBox* box : editor.InstalledBoxes())
        QObject::connect(box, &QCheckBox::stateChanged, &editor, &ZonesEditor::OnZoneStateChanged);
    QObject::connect(group, &QLineEdit::textChanged, &editor, &ZonesEditor::GroupNumberChanged);
    QObject::connect(groupList, &QComboBox::editTextChanged, &editor, &ZonesEditor::GroupLabelChanged);
}

// The tab's widgets as the window's form holds them, and the window's zones, groups and store.
struct Tab
{
    explicit Tab(const QString& iniPath) : ini(iniPath)
    {
        zonesBox.setLayout(gridZones);
        groupBox.setLayout(gridGroup);
        groupList.setEditable(true);
        form = {gridZones, gridGroup, &group, &groupList, &profiles, &zonesSave, &groupSave};
    }
    ~Tab() { qDeleteAll(groups); }

    QStringList IniLines() const
    {
        QFile file(ini.fileName());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QStringList GroupLines() const { return IniLines().filter(QRegularExpression("^GROUP=")); }

    QWidget zonesBox;
    QWidget groupBox;
    QGridLayout* gridZones = new QGridLayout;
    QGridLayout* gridGroup = new QGridLayout;
    QLineEdit group;
    QComboBox groupList;
    QComboBox profiles;
    QPushButton zonesSave;
    QPushButton groupSave;
    ZonesEditor::Form form;
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    CFILE_INI ini;
};

class TstZonesEditor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Tab> TabMake()
    {
        auto tab = std::make_unique<Tab>(m_dir.filePath(QString("config%1.ini").arg(++m_files)));
        tab->zones[0] = {true, "Hall"};
        tab->zones[5] = {true, "Parking"};
        tab->zones[11] = {true, "Toit"};
        CGROUP* staff = GroupAdd(&tab->groups, "Personnel", 4);
        staff->Rules[0].Access = true;
        staff->Rules[0].Counter = 2;
        staff->Rules[0].Spare = 9;
        staff->Rules[5].Default = 10;
        GroupAdd(&tab->groups, "Visiteurs", 7);
        GroupAdd(&tab->groups, "Livreurs", 8);
        return tab;
    }

    QTemporaryDir m_dir;
    int m_files = 0;

private slots:
    void gridSetup()
    {
        auto tab = TabMake();
        ZonesEditor editor(tab->form, tab->zones, &tab->groups, &tab->ini);
        editor.GridsSetup();
        WindowSlotsConnect(editor, &tab->group, &tab->groupList);

        QCOMPARE(Cell<QCheckBox>(tab->gridZones, 0, 0)->objectName(), QStringLiteral("CB_Installed0"));
        QCOMPARE(Cell<QLabel>(tab->gridZones, 1, 4)->text(), QStringLiteral("ZONE 6:"));
        QCOMPARE(Cell<QLineEdit>(tab->gridZones, 1, 5)->objectName(), QStringLiteral("LE_Label5"));
        QCOMPARE(Cell<QLineEdit>(tab->gridZones, 3, 8)->objectName(), QStringLiteral("LE_Label11"));
        QVERIFY(Cell<QCheckBox>(tab->gridZones, 1, 3)->isChecked());
        QVERIFY(!tab->zonesBox.findChild<QLineEdit*>("LE_Label1")->isEnabled());
        QCOMPARE(tab->zonesBox.findChild<QLineEdit*>("LE_Label5")->text(), QStringLiteral("Parking"));

        QCOMPARE(Cell<QLabel>(tab->gridGroup, 2, 0)->text(),
                 QStringLiteral("Numéro Compteur\nassocié (0=Illimité)"));
        QCOMPARE(Cell<QLabel>(tab->gridGroup, 0, 6)->text(), QStringLiteral("ZONE 6:\nParking"));
        QCOMPARE(tab->groupBox.findChildren<QCheckBox*>("CB_Acces").size(), ZONE_COUNT);
        for (int zone = 0; zone < ZONE_COUNT; ++zone) {
            const bool installed = zone == 0 || zone == 5 || zone == 11;
            for (int row = 0; row <= 4; ++row)
                QCOMPARE(tab->gridGroup->itemAtPosition(row, zone + 1)->widget()->isHidden(), !installed);
        }

        QCOMPARE(tab->groupList.count(), 3);
        QCOMPARE(tab->profiles.count(), 3);
        QCOMPARE(tab->profiles.currentIndex(), 0);
        QCOMPARE(tab->group.text(), QStringLiteral("4"));
        QVERIFY(Cell<QCheckBox>(tab->gridGroup, 1, 1)->isChecked());
        QCOMPARE(tab->groupBox.findChild<QLineEdit*>("LE_Counter0")->text(), QStringLiteral("2"));
        QCOMPARE(tab->groupBox.findChild<QLineEdit*>("LE_DefaultValue5")->text(), QStringLiteral("10"));
        QCOMPARE(TextColor(&tab->groupSave),
                 tab->zonesSave.style()->standardPalette().color(QPalette::ButtonText));
    }

    void zonesInstallAndSave()
    {
        auto tab = TabMake();
        ZonesEditor editor(tab->form, tab->zones, &tab->groups, &tab->ini);
        editor.GridsSetup();
        WindowSlotsConnect(editor, &tab->group, &tab->groupList);
        auto* hall = tab->zonesBox.findChild<QCheckBox*>("CB_Installed0");
        auto* hallLabel = tab->zonesBox.findChild<QLineEdit*>("LE_Label0");
        hall->setChecked(false);
        QVERIFY(!hallLabel->isEnabled());
        QCOMPARE(TextColor(&tab->zonesSave), QColor(Qt::red));
        QVERIFY(!tab->gridGroup->itemAtPosition(2, 1)->widget()->isHidden());

        tab->zonesBox.findChild<QCheckBox*>("CB_Installed3")->setChecked(true);
        QLineEdit* storeLabel = tab->zonesBox.findChild<QLineEdit*>("LE_Label3");
        QVERIFY(storeLabel->isEnabled());
        storeLabel->setText("Réserve");

        QVERIFY(editor.ZonesSave());
        QCOMPARE(TextColor(&tab->zonesSave), QColor(Qt::black));
        QVERIFY(tab->gridGroup->itemAtPosition(2, 1)->widget()->isHidden());
        QVERIFY(!tab->gridGroup->itemAtPosition(2, 4)->widget()->isHidden());
        QCOMPARE(Cell<QLabel>(tab->gridGroup, 0, 4)->text(), QStringLiteral("ZONE 4:\nRéserve"));
        const QStringList lines = tab->IniLines();
        QVERIFY(lines.contains("ZONE0=INSTALLED:NO;LABEL:Hall"));
        QVERIFY(lines.contains("ZONE3=INSTALLED:YES;LABEL:Réserve"));
        QCOMPARE(lines.filter(QRegularExpression("^ZONE\\d+=")).size(), ZONE_COUNT);

        // A store that cannot be written leaves the button red.
        tab->zonesBox.findChild<QCheckBox*>("CB_Installed3")->setChecked(false);
        FileSizeLimit limit(16);
        QVERIFY(limit.isActive());
        QVERIFY(!editor.ZonesSave());
        QCOMPARE(TextColor(&tab->zonesSave), QColor(Qt::red));
    }

    void groupEditAndSave()
    {
        auto tab = TabMake();
        ZonesEditor editor(tab->form, tab->zones, &tab->groups, &tab->ini);
        editor.GridsSetup();
        WindowSlotsConnect(editor, &tab->group, &tab->groupList);
        tab->profiles.setCurrentIndex(1);
        QSignalSpy profileChanges(&tab->profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));

        editor.GroupShow(1);
        QCOMPARE(tab->group.text(), QStringLiteral("7"));
        QVERIFY(TextColor(&tab->groupSave) != QColor(Qt::red));
        editor.GroupShow(0);
        editor.GroupShow(9);
        QCOMPARE(tab->group.text(), QStringLiteral("4"));

        tab->group.setFocus();
        tab->group.selectAll();
        QTest::keyClicks(&tab->group, "x12");
        QCOMPARE(TextColor(&tab->groupSave), QColor(Qt::red));
        tab->groupList.lineEdit()->setText("Staff");
        tab->groupBox.findChild<QLineEdit*>("LE_Counter0")->setText("300");
        tab->groupBox.findChild<QLineEdit*>("LE_AntiPassback5")->setText("-1");
        tab->groupBox.findChild<QLineEdit*>("LE_DefaultValue11")->setText("douze");
        tab->gridGroup->itemAtPosition(1, 12)->widget()->setProperty("checked", true);

        QVERIFY(editor.GroupSave());
        QCOMPARE(TextColor(&tab->groupSave), QColor(Qt::black));
        QCOMPARE(tab->groupList.currentIndex(), 0);
        QCOMPARE(tab->group.text(), QStringLiteral("0"));
        const QString zeros = "Z1:NO,0,0,0,0;Z2:NO,0,0,0,0;Z3:NO,0,0,0,0;Z4:NO,0,0,0,0;";
        QCOMPARE(tab->GroupLines(),
                 (QStringList{"GROUP=ID:0;LABEL:Staff;Z0:YES,44,0,9,0;" + zeros +
                                  "Z5:NO,0,255,0,10;Z6:NO,0,0,0,0;Z7:NO,0,0,0,0;Z8:NO,0,0,0,0;Z9:NO,0,0,0,0;"
                                  "Z10:NO,0,0,0,0;Z11:YES,0,0,0,0;",
                              "GROUP=ID:7;LABEL:Visiteurs;Z0:NO,0,0,0,0;" + zeros +
                                  "Z5:NO,0,0,0,0;Z6:NO,0,0,0,0;Z7:NO,0,0,0,0;Z8:NO,0,0,0,0;Z9:NO,0,0,0,0;"
                                  "Z10:NO,0,0,0,0;Z11:NO,0,0,0,0;",
                              "GROUP=ID:8;LABEL:Livreurs;Z0:NO,0,0,0,0;" + zeros +
                                  "Z5:NO,0,0,0,0;Z6:NO,0,0,0,0;Z7:NO,0,0,0,0;Z8:NO,0,0,0,0;Z9:NO,0,0,0,0;"
                                  "Z10:NO,0,0,0,0;Z11:NO,0,0,0,0;"}));
        // The badge tab lists the new name and keeps its choice without being reset.
        QCOMPARE(tab->profiles.itemText(0), QStringLiteral("Staff"));
        QCOMPARE(tab->profiles.currentIndex(), 1);
        QCOMPARE(profileChanges.count(), 0);
    }

    void groupNewAndDelete()
    {
        auto tab = TabMake();
        ZonesEditor editor(tab->form, tab->zones, &tab->groups, &tab->ini);
        editor.GridsSetup();
        WindowSlotsConnect(editor, &tab->group, &tab->groupList);
        QVERIFY(editor.GroupSave());
        const QStringList saved = tab->GroupLines();
        QCOMPARE(saved.size(), 3);

        editor.GroupNew();
        QCOMPARE(tab->groupList.count(), 4);
        QCOMPARE(tab->groupList.currentIndex(), 3);
        QCOMPARE(tab->groupList.currentText(), QStringLiteral("Nouveau Group"));
        QCOMPARE(tab->group.text(), QStringLiteral("0"));
        QCOMPARE(TextColor(&tab->groupSave), QColor(Qt::red));
        QCOMPARE(tab->GroupLines(), saved);
        QCOMPARE(tab->profiles.count(), 3);
        QVERIFY(editor.GroupSave());
        QCOMPARE(tab->GroupLines().size(), 4);
        QCOMPARE(tab->profiles.count(), 4);

        // The badge tab shows "Visiteurs"; deleting "Personnel" shifts it to index 0.
        tab->profiles.setCurrentIndex(1);
        tab->groupList.setCurrentIndex(0);
        QVERIFY(editor.GroupDelete(false));
        QCOMPARE(tab->groups.size(), 4);
        QVERIFY(editor.GroupDelete(true));
        QCOMPARE(tab->groups.size(), 3);
        QCOMPARE(tab->GroupLines(),
                 (QStringList{saved.at(1), saved.at(2), tab->groups.at(2)->Get().prepend("GROUP=")}));
        QCOMPARE(tab->groupList.currentIndex(), 0);
        QCOMPARE(tab->groupList.currentText(), QStringLiteral("Visiteurs"));
        QCOMPARE(tab->profiles.currentText(), QStringLiteral("Visiteurs"));
        QCOMPARE(tab->profiles.currentIndex(), 0);

        // Deleting the group the badge tab shows moves it to the first one, and tells it.
        tab->profiles.setCurrentIndex(2);
        tab->groupList.setCurrentIndex(2);
        QSignalSpy profileChanges(&tab->profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));
        QVERIFY(editor.GroupDelete(true));
        QCOMPARE(tab->profiles.count(), 2);
        QCOMPARE(tab->profiles.currentIndex(), 0);
        QCOMPARE(profileChanges.count(), 1);

        tab->groupList.setCurrentIndex(-1);
        QVERIFY(editor.GroupDelete(true));
        QCOMPARE(tab->groups.size(), 2);
    }
};

QTEST_MAIN(TstZonesEditor)
#include "tst_zoneseditor.moc"
