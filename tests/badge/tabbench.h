#ifndef TABBENCH_H
#define TABBENCH_H

#include <QLineEdit>
#include <QList>
#include <QMainWindow>
#include <QString>

#include "fakelink.h"
#include "ui_mainwindow.h"

// The window's form on a bare main window: no link, no slots.
struct TestForm
{
    TestForm() { ui.setupUi(&window); }

    template <typename T = QLineEdit> T* widget(const QString& name) const
    {
        if (T* found = window.findChild<T*>(name))
            return found;
        qFatal("no widget %s", qPrintable(name));
    }
    // Sets line edits from "name=text;name=text".
    void fill(const QString& assignments) const
    {
        for (const QString& a : assignments.split(';'))
            widget(a.section('=', 0, 0))->setText(a.section('=', 1));
    }
    // The texts of the named line edits, joined by "|".
    QString texts(const QString& names) const
    {
        QStringList texts;
        for (const QString& name : names.split(' '))
            texts << widget(name)->text();
        return texts.join('|');
    }

    QMainWindow window;
    Ui::MainWindow ui;
};

#endif // TABBENCH_H
