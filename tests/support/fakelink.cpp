#include "fakelink.h"

QString FakeLink::Request::text() const
{
    return QStringLiteral("%1%2|%3|%4|%5")
        .arg(QChar(letter), QChar(subLetter), payload)
        .arg(resultId)
        .arg(timeoutMs);
}

unsigned char FakeLink::submit(const Request& request)
{
    if (request.payload.toLocal8Bit().size() > QProtocole::MaxPayload)
        return QProtocole::CMD_TOO_LONG;
    requests.append(request);
    return QProtocole::CMD_SUBMITTED;
}

unsigned char FakeLink::CmdAnswer(bool* isOk, char* status, QString* text)
{
    Answer given = answer;
    if (reader) {
        if (answered >= requests.size())
            return 0;
        given = reader(requests.at(answered), answered);
        if (given.available == 0)
            return 0;
        ++answered;
    } else if (given.available == 0) {
        return 0;
    }
    *isOk = given.isOk;
    if (given.isOk) {
        *status = given.status;
        if (text)
            *text = given.text;
    }
    return 1;
}

void FakeLink::Serve(ResultRouter& router)
{
    while (routed < requests.size()) {
        const unsigned int resultId = requests.at(routed++).resultId;
        if (resultId != 0)
            router.Dispatch(resultId, QString());
    }
}

QStringList FakeLink::wires() const
{
    QStringList texts;
    for (const Request& request : requests)
        texts << request.wire();
    return texts;
}
