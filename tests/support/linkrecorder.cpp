#include "linkrecorder.h"

#include <QtTest>

#include "link/qprotocole.h"

LinkRecorder::LinkRecorder(QProtocole* link, QObject* parent) : QObject(parent)
{
    connect(link, &QProtocole::SIG_Debug, this,
            [this](const QString& s) { record(LinkEvent::Debug, 0, 0, s); });
    connect(link, &QProtocole::SIG_ComStatus, this,
            [this](const QString& s) { record(LinkEvent::ComStatus, 0, 0, s); });
    connect(link, &QProtocole::SIG_Data, this, [this](unsigned int id, unsigned int arg1, const QString& s) {
        record(LinkEvent::Data, id, arg1, s);
    });
}

void LinkRecorder::record(LinkEvent::Kind kind, unsigned int id, unsigned int arg1, const QString& text)
{
    events.append({kind, id, arg1, text});
}

bool LinkRecorder::waitFor(const std::function<bool()>& cond, int timeoutMs)
{
    return QTest::qWaitFor(cond, timeoutMs);
}

bool LinkRecorder::waitForData(unsigned int id, unsigned int arg1, int timeoutMs)
{
    const int seen = dataCount(id, arg1);
    return waitFor([&] { return dataCount(id, arg1) > seen; }, timeoutMs);
}

int LinkRecorder::dataCount(unsigned int id, unsigned int arg1) const
{
    int count = 0;
    for (const LinkEvent& e : events)
        count += e.kind == LinkEvent::Data && e.id == id && e.arg1 == arg1;
    return count;
}

QStringList LinkRecorder::texts(LinkEvent::Kind kind) const
{
    QStringList out;
    for (const LinkEvent& e : events) {
        if (e.kind == kind && (kind != LinkEvent::Data || e.id == 1))
            out.append(e.text);
    }
    return out;
}
