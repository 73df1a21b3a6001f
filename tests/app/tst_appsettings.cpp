#include <QtTest>

#include <QTreeWidget>

#include "readerconfig/appsettings.h"

class TstAppSettings : public QObject
{
    Q_OBJECT

private slots:
    void reads()
    {
        QTreeWidget tree;
        tree.setColumnCount(3);
        auto* group = new QTreeWidgetItem(&tree, {"Création", "", ""});
        auto* months = new QTreeWidgetItem(group, {"Nombre de mois valide", "92", "KEY.MONTHS"});
        auto* name = new QTreeWidgetItem(group, {"Nom", "", "KEY.NAME"});
        new QTreeWidgetItem(group, {"Groupe", "1", "KEY.GROUP"});
        new QTreeWidgetItem(&tree, {"Doublon", "second", "KEY.GROUP"});
        AppsConfigTreeSetUp(&tree);

        QVERIFY(tree.isColumnHidden(2));
        QVERIFY(!tree.isColumnHidden(1));
        QVERIFY(months->flags() & Qt::ItemIsEditable);
        QVERIFY(!(group->flags() & Qt::ItemIsEditable));

        QCOMPARE(AppsConfigReadInt(&tree, "KEY.MONTHS", 48), 92);
        QCOMPARE(AppsConfigReadString(&tree, "KEY.GROUP", "x"), QStringLiteral("1"));
        QCOMPARE(AppsConfigReadString(&tree, "KEY.NAME", "x"), QString());
        QCOMPARE(AppsConfigReadString(&tree, "key.name", "x"), QStringLiteral("x"));
        QCOMPARE(AppsConfigReadInt(&tree, "KEY.MISSING", 7), 7);
        months->setText(1, "");
        QCOMPARE(AppsConfigReadInt(&tree, "KEY.MONTHS", 48), 48);
        months->setText(1, "12x");
        QCOMPARE(AppsConfigReadInt(&tree, "KEY.MONTHS", 48), 48);
        name->setText(1, "Durand");
        QCOMPARE(AppsConfigReadString(&tree, "KEY.NAME", ""), QStringLiteral("Durand"));
    }
};

QTEST_MAIN(TstAppSettings)
#include "tst_appsettings.moc"
