#include <QtTest>

#include "app/mainwindow.h"

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensWithItsTitle()
    {
        MainWindow window;
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("KorvelManager"));
        QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
