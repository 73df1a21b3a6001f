#ifndef WINDOWBENCH_H
#define WINDOWBENCH_H

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/mainwindow.h"

// The test program runs in a fresh temporary folder, made current for its
// whole life; the folder it started in is current again at its end.
class TemporaryCurrentDir
{
public:
    TemporaryCurrentDir() : m_start(QDir::currentPath())
    {
        if (!m_dir.isValid() || !QDir::setCurrent(m_dir.path()))
            qFatal("no temporary folder");
    }
    ~TemporaryCurrentDir() { QDir::setCurrent(m_start); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QString m_start;
    QTemporaryDir m_dir;
};

// A child of the window by object name; a missing one ends the test program.
template <typename T> T* widget(const MainWindow& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no %s", qPrintable(name));
    return found;
}

// config.ini of the current folder, replaced.
inline void writeConfig(const QByteArray& text)
{
    QFile config("config.ini");
    QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
    config.write(text);
}

// Brings a fresh window to a known link state: whatever port the start-up
// request opened (a machine may list a real one), or a reconnection watch, is
// closed again. The field catches up with the link first: a loss's texts may still be queued.
inline bool WindowLinkSettle(MainWindow& window)
{
    auto* combo = window.findChild<QComboBox*>("COMB_Serial");
    auto* com = window.findChild<QLineEdit*>("LINEEDIT_Com");
    auto* serial = window.findChild<QPushButton*>("BTN_Serial");
    // The port row's texts in the language installed.
    const QString open = QCoreApplication::translate("QProtocole", "Ouvert");
    const QString closed = QCoreApplication::translate("QProtocole", "Fermé");
    const auto settled = [&] {
        return !com->text().isEmpty() && window.Protocole().Connected == (com->text() == open);
    };
    if (combo->count() > 0 && !QTest::qWaitFor(settled, 10000))
        return false;
    if (window.Protocole().Connected ||
        serial->text() == QCoreApplication::translate("PortRow", "Deconnecter")) {
        serial->click();
        if (!QTest::qWaitFor([&] { return !window.Protocole().Connected && com->text() == closed; }, 10000))
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
    const QString open = QCoreApplication::translate("QProtocole", "Ouvert");
    return QTest::qWaitFor([&] { return window.Protocole().Connected && com->text() == open; }, 10000);
}

// Answers every message box the window opens and keeps "title / text".
class BoxCatcher : public QObject
{
public:
    BoxCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            boxes << box->windowTitle() + " / " + box->text();
            box->done(QMessageBox::Ok);
        });
        m_timer.start(10);
    }
    QStringList boxes;

private:
    QTimer m_timer;
};

#endif // WINDOWBENCH_H
