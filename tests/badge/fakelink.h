#ifndef FAKELINK_H
#define FAKELINK_H

#include <QList>
#include <QString>

#include "badge/readerlink.h"
#include "link/qprotocole.h"

// Records what the flows send and hands them scripted answers.
class FakeLink : public ReaderLink
{
public:
    struct Request
    {
        char letter;
        char subLetter;
        QString payload;
        unsigned int resultId;
        unsigned int timeoutMs;
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

    bool free = true;
    bool connected = false;
    bool polling = false;
    Answer answer;
    QList<Request> requests;

private:
    unsigned char submit(const Request& request)
    {
        if (request.payload.toLocal8Bit().size() > QProtocole::MaxPayload)
            return QProtocole::CMD_TOO_LONG;
        requests.append(request);
        return QProtocole::CMD_SUBMITTED;
    }
};

#endif // FAKELINK_H
