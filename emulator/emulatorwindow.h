#ifndef EMULATORWINDOW_H
#define EMULATORWINDOW_H

#include <QWidget>

class EmulatorSession;
class QLabel;
class QListWidget;
class QPlainTextEdit;

// A small window to put cards on the reader and watch what it says.
class EmulatorWindow : public QWidget
{
    Q_OBJECT
public:
    EmulatorWindow(EmulatorSession* session, const QString& portName, QWidget* parent = nullptr);

    void appendLog(const QString& line);

private:
    void refresh();

    EmulatorSession* m_session;
    QListWidget* m_cards;
    QLabel* m_status;
    QPlainTextEdit* m_log;
};

#endif // EMULATORWINDOW_H
