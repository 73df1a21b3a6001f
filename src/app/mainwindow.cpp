#include "mainwindow.h"

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("KorvelManager"));
    resize(1042, 740);
}

MainWindow::~MainWindow() = default;
