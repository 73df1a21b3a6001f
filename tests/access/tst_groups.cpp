#include <QtTest>

#include "access/groups.h"
#include "commun/fileini.h"

#include <QComboBox>

class TstGroups : public QObject
{
    Q_OBJECT

private slots:
    void groupText()
    {
        CGROUP group;
        group.Number = 4;
        group.Label = QStringLiteral("Personnel");
        group.Rules[0] = {true, 1, 0, 0, 10};
        group.Rules[11] = {false, 0, 3, 7, 0};
        const QString text = group.Get();
        QVERIFY(text.startsWith(QStringLiteral("ID:4;LABEL:Personnel;Z0:YES,1,0,0,10;Z1:NO,0,0,0,0;")));
        QVERIFY(text.endsWith(QStringLiteral(";Z11:NO,0,3,7,0;")));
        CGROUP back;
        back.Set(text);
        QCOMPARE(back.Get(), text);

        // Without a label the number is still read but every rule stays at zero.
        CGROUP unlabelled;
        unlabelled.Set(QStringLiteral("ID:9;Z0:YES,1,1,1,1;"));
        CGROUP cleared;
        cleared.Number = 9;
        QCOMPARE(unlabelled.Get(), cleared.Get());

        CGROUP cut;
        cut.Set(QStringLiteral("ID:x;LABEL:A;B;Z3:YES"));
        QCOMPARE(cut.Number, 0);
        QCOMPARE(cut.Label, QStringLiteral("A"));
        QVERIFY(cut.Rules[3].Access);
    }

    void loadAndSave()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[GROUPS]\nGROUP=ID:1;LABEL:Direction;Z0:YES,0,0,0,0;\nGROUP=ID:2;Z0:YES,1,1,1,1;\n"
                       "OTHER=ID:3;LABEL:Visiteurs;\n[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n");
        }
        CFILE_INI ini(path);
        QVERIFY(ini.Open());
        QList<CGROUP*> groups;
        GroupsLoad(&groups, &ini);
        // Every key line counts as a group, whatever its key, also one without a label.
        QCOMPARE(groups.size(), 3);
        QCOMPARE(groups.at(0)->Label, QStringLiteral("Direction"));
        QVERIFY(groups.at(0)->Rules[0].Access);
        QCOMPARE(groups.at(1)->Number, 2);
        QVERIFY(!groups.at(1)->Rules[0].Access);
        QCOMPARE(groups.at(2)->Label, QStringLiteral("Visiteurs"));

        // The section is rewritten whole, in list order, before the next section.
        delete groups.takeAt(1);
        CGROUP* added = GroupAdd(&groups, QStringLiteral("Accès Hall"), 12);
        QCOMPARE(groups.last(), added);
        added->Rules[5].Counter = quint8(300);
        GroupsSave(&groups, &ini);
        QVERIFY(ini.Close());
        QVERIFY(ini.Open());
        QStringList expected{"[GROUPS]"};
        for (const CGROUP* group : groups)
            expected << "GROUP=" + group->Get();
        expected << "[ZONES]"
                 << "ZONE0=INSTALLED:YES;LABEL:Hall";
        QCOMPARE(ini.lines, expected);
        QVERIFY(expected.at(3).startsWith(QStringLiteral("GROUP=ID:12;LABEL:Accès Hall;")));
        QList<CGROUP*> again;
        GroupsLoad(&again, &ini);
        QCOMPARE(again.size(), 3);
        QCOMPARE(again.at(2)->Rules[5].Counter, quint8(44));
        qDeleteAll(groups);
        qDeleteAll(again);
    }

    void listFill()
    {
        QList<CGROUP*> groups;
        GroupAdd(&groups, QStringLiteral("Direction"), 7);
        GroupAdd(&groups, QStringLiteral("Accès Hall"), 3);
        QComboBox combo;
        combo.addItem(QStringLiteral("old"));
        GroupListFill(&groups, &combo);
        // The item data is the position in the list, not the group's number.
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.itemText(1), QStringLiteral("Accès Hall"));
        QCOMPARE(combo.itemData(0).toInt(), 0);
        QCOMPARE(combo.itemData(1).toInt(), 1);
        qDeleteAll(groups);
    }
};

QTEST_MAIN(TstGroups)
#include "tst_groups.moc"
