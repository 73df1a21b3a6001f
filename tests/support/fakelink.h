#ifndef FAKELINK_H
#define FAKELINK_H

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "link/qprotocole.h"
#include "link/readerlink.h"
#include "link/resultrouter.h"

// A reader link with no thread and no port, for the tabs and chains: records
// what they send and hands them scripted answers.
class FakeLink : public ReaderLink
{
public:
    struct Request
    {
        char letter = 0;
        char subLetter = 0;
        QString payload;
        unsigned int resultId = 0;
        unsigned int timeoutMs = 0;
        bool queued = false;
        // "BR|payload|9|4000"
        QString text() const;
        // "BR payload", as the wire carries it
        QString wire() const { return QString(QChar(letter)) + QChar(subLetter) + ' ' + payload; }
    };
    struct Answer
    {
        unsigned char available = 1;
        bool isOk = true;
        char status = '0';
        QString text;
    };
    // Answers request number index; without one, `answer` answers every collect.
    using Reader = std::function<Answer(const Request& request, int index)>;

    bool IsFree() const override { return free; }
    bool Connected() const override { return connected; }
    unsigned char CmdRequest(char letter, char subLetter, const QString& payload, unsigned int resultId,
                             unsigned int timeoutMs) override
    {
        if (!free)
            return QProtocole::CMD_BUSY;
        return submit({letter, subLetter, payload, resultId, timeoutMs, false});
    }
    unsigned char CmdRequestQueued(char letter, char subLetter, const QString& payload, unsigned int resultId,
                                   unsigned int timeoutMs) override
    {
        return submit({letter, subLetter, payload, resultId, timeoutMs, true});
    }
    unsigned char CmdAnswer(bool* isOk, char* status, QString* text) override;
    void PollingSet(bool wanted) override { polling = wanted; }
    bool CmdWaitFree(unsigned int) override { return free; }
    bool CmdWaitAnswer(unsigned int) override { return !reader || answered < requests.size(); }

    // Routes the result of every request not yet routed, and of those their
    // handlers send in turn, as the window's dispatcher does.
    void Serve(ResultRouter& router);
    QString sent() const { return requests.last().text(); }
    QStringList wires() const;

    bool free = true;
    bool connected = false;
    bool polling = false;
    Answer answer;
    Reader reader;
    QList<Request> requests;
    int answered = 0;
    int routed = 0;

private:
    unsigned char submit(const Request& request);
};

#endif // FAKELINK_H
