#ifndef TABBENCH_H
#define TABBENCH_H

#include <QLineEdit>
#include <QList>
#include <QMainWindow>
#include <QString>

#include "badge/readerlink.h"
#include "link/qprotocole.h"
#include "ui_mainwindow.h"

// Records what the flows send and hands them a scripted answer.
class FakeLink : public ReaderLink
{
public:
    // "letters|payload|result id|time-out", and whether it went through the queue.
    struct Request
    {
        QString text;
        bool queued;
    };
    struct Answer
    {
        unsigned char available = 1;
        bool isOk = true;
        char status = '0';
        QString text;
    };

    bool IsFree() const override { return free; }
    bool Connected() const override { return false; }
    unsigned char CmdRequest(char letter, char subLetter, const QString& payload, unsigned int resultId,
                             unsigned int timeoutMs) override
    {
        if (!free)
            return QProtocole::CMD_BUSY;
        return submit(letter, subLetter, payload, resultId, timeoutMs, false);
    }
    unsigned char CmdRequestQueued(char letter, char subLetter, const QString& payload, unsigned int resultId,
                                   unsigned int timeoutMs) override
    {
        return submit(letter, subLetter, payload, resultId, timeoutMs, true);
    }
    unsigned char CmdAnswer(bool* isOk, char* status, QString* text) override
    {
        if (answer.available == 0)
            return 0;
        *isOk = answer.isOk;
        if (answer.isOk) {
            *status = answer.status;
            *text = answer.text;
        }
        return 1;
    }
    void PollingSet(bool wanted) override { polling = wanted; }

    QString sent() const { return requests.last().text; }

    bool free = true;
    bool polling = false;
    Answer answer;
    QList<Request> requests;

private:
    unsigned char submit(char letter, char subLetter, const QString& payload, unsigned int resultId,
                         unsigned int timeoutMs, bool queued)
    {
        if (payload.toLocal8Bit().size() > QProtocole::MaxPayload)
            return QProtocole::CMD_TOO_LONG;
        requests.append({QStringLiteral("%1%2|%3|%4|%5")
                             .arg(QChar(letter), QChar(subLetter), payload)
                             .arg(resultId)
                             .arg(timeoutMs),
                         queued});
        return QProtocole::CMD_SUBMITTED;
    }
};

// The window's form on a bare main window: no link, no slots.
struct TestForm
{
    TestForm() { ui.setupUi(&window); }

    template <typename T = QLineEdit> T* widget(const QString& name) const
    {
        T* found = window.findChild<T*>(name);
        if (!found)
            qFatal("no widget %s", qPrintable(name));
        return found;
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
