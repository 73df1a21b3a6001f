#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "access/groups.h"
#include "access/zoneseditor.h"
#include "app/textcolorset.h"
#include "commun/fileini.h"

class TstGroupRename : public QObject
{
    Q_OBJECT

private slots:
    // A label typed in the chooser over group 0, then Enter or leaving it for "Sauvegarder":
    // whether the button was red, then the groups as saved.
    void rename()
    {
        const struct
        {
            const char* typed;
            bool enter;
            const char* outcome;
        } rows[] = {{"Staff", true, "red 3 Staff 5 Visiteurs"},
                    {"Staff", false, "red 3 Staff 5 Visiteurs"},
                    {"Visiteurs", true, "red 3 Visiteurs 5 Visiteurs"},
                    {"Visiteurs", false, "red 3 Visiteurs 5 Visiteurs"},
                    {"Personnel", true, "black 3 Personnel 5 Visiteurs"}};
        for (const auto& r : rows) {
            QTemporaryDir dir;
            CFILE_INI ini(dir.filePath("config.ini"));
            CZONE zones[ZONE_COUNT] = {{true, "Hall"}};
            QList<CGROUP*> groups;
            for (const char* label : {"Personnel", "Visiteurs", "Livreurs"})
                GroupAdd(&groups, label, 4);
            QWidget zoneBox, groupBox;
            QLineEdit number;
            QComboBox list, profiles;
            QPushButton zonesSave, groupSave;
            list.setEditable(true); // as on the form, with Qt's default insert policy
            ZonesEditor editor({new QGridLayout(&zoneBox), new QGridLayout(&groupBox), &number, &list,
                                &profiles, &zonesSave, &groupSave},
                               zones, &groups, &ini, TextColorSet);
            editor.GridsSetup();
            connect(&list, &QComboBox::editTextChanged, &editor, &ZonesEditor::GroupLabelChanged);
            connect(&list, QOverload<int>::of(&QComboBox::currentIndexChanged), &editor,
                    &ZonesEditor::GroupShow);

            groupBox.findChild<QLineEdit*>("LE_Counter0")->setText("5");
            list.lineEdit()->selectAll();
            QTest::keyClicks(list.lineEdit(), r.typed);
            if (r.enter)
                QTest::keyClick(list.lineEdit(), Qt::Key_Return);
            else
                emit list.lineEdit()->editingFinished(); // what losing the focus sends
            const bool red = groupSave.palette().color(QPalette::ButtonText) == QColor(Qt::red);
            QVERIFY(editor.GroupSave());
            QCOMPARE(QString("%1 %2 %3 %4 %5")
                         .arg(red ? "red" : "black")
                         .arg(list.count())
                         .arg(groups[0]->Label)
                         .arg(groups[0]->Rules[0].Counter)
                         .arg(groups[1]->Label),
                     QString(r.outcome));
            qDeleteAll(groups);
        }
    }
};

QTEST_MAIN(TstGroupRename)
#include "tst_grouprename.moc"
