#ifndef WINDOWBENCH_H
#define WINDOWBENCH_H

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/mainwindow.h"

// Brings a fresh window to a known link state: whatever port the start-up
// request opened (a machine may list a real one) is closed again.
inline bool WindowLinkSettle(MainWindow& window)
{
    auto* combo = window.findChild<QComboBox*>("COMB_Serial");
    auto* com = window.findChild<QLineEdit*>("LINEEDIT_Com");
    if (combo->count() > 0 && !QTest::qWaitFor([com] { return !com->text().isEmpty(); }, 10000))
        return false;
    if (window.Protocole().Connected) {
        window.findChild<QPushButton*>("BTN_Serial")->click();
        if (!QTest::qWaitFor([&] { return !window.Protocole().Connected && com->text() == "Fermé"; }, 10000))
            return false;
    }
    return true;
}

// Opens portPath from the port row, as an operator would.
inline bool WindowLinkOpen(MainWindow& window, const QString& portPath)
{
    auto* combo = window.findChild<QComboBox*>("COMB_Serial");
    auto* com = window.findChild<QLineEdit*>("LINEEDIT_Com");
    combo->addItem(portPath);
    combo->setCurrentIndex(combo->count() - 1);
    window.findChild<QPushButton*>("BTN_Serial")->click();
    return QTest::qWaitFor([&] { return window.Protocole().Connected && com->text() == "Ouvert"; }, 10000);
}

#endif // WINDOWBENCH_H
