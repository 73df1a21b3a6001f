#ifndef TESTFORM_H
#define TESTFORM_H

#include <QMainWindow>

#include "ui_mainwindow.h"

// The window's form on a bare main window: no link, no slots.
struct TestForm
{
    TestForm() { ui.setupUi(&window); }

    template <typename T> T* widget(const char* name) const
    {
        T* found = window.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }

    QMainWindow window;
    Ui::MainWindow ui;
};

#endif // TESTFORM_H
