#ifndef LINKBENCH_H
#define LINKBENCH_H

#include <QFile>
#include <QtTest>

#include "fakereader.h"
#include "link/qprotocole.h"
#include "ptypair.h"

// One signal of the link, as the GUI thread received it.
struct LinkEvent
{
    enum Kind
    {
        Debug,
        ComStatus,
        Data
    } kind;
    unsigned int id, arg1;
    QString text;
};

// Records the link's three signals in the thread it lives in (queued, as the window gets them).
// Use it instead of a QSignalSpy on the link, whose direct connection would run in the worker.
struct LinkRecorder : QObject
{
    explicit LinkRecorder(QProtocole* link)
    {
        connect(link, &QProtocole::SIG_Debug, this, [this](const QString& s) {
            events.append({LinkEvent::Debug, 0, 0, s});
        });
        connect(link, &QProtocole::SIG_ComStatus, this, [this](const QString& s) {
            events.append({LinkEvent::ComStatus, 0, 0, s});
        });
        connect(link, &QProtocole::SIG_Data, this,
                [this](unsigned int id, unsigned int arg1, const QString& s) {
                    events.append({LinkEvent::Data, id, arg1, s});
                });
    }
    // Waits for a new SIG_Data(id, arg1, ...) beyond the ones seen so far.
    bool waitForData(unsigned int id, unsigned int arg1, int timeoutMs = 5000)
    {
        const int seen = dataCount(id, arg1);
        return QTest::qWaitFor([&] { return dataCount(id, arg1) > seen; }, timeoutMs);
    }
    int dataCount(unsigned int id, unsigned int arg1) const
    {
        return int(std::count_if(events.cbegin(), events.cend(), [&](const LinkEvent& e) {
            return e.kind == LinkEvent::Data && e.id == id && e.arg1 == arg1;
        }));
    }
    // Texts of SIG_Debug, SIG_ComStatus, or SIG_Data(1, 0, ...) (kind Data).
    QStringList texts(LinkEvent::Kind kind) const
    {
        QStringList out;
        for (const LinkEvent& e : events)
            if (e.kind == kind && (kind != LinkEvent::Data || e.id == 1))
                out.append(e.text);
        return out;
    }
    void clear() { events.clear(); }
    QList<LinkEvent> events;
};

// A link over a pseudo-terminal with a scripted reader on the far side.
struct LinkBench
{
    // A scripted reader on its own line; dropping it closes the line: the device vanishes.
    struct Line
    {
        PtyPair pty;
        FakeReader reader{pty};
        // Points path at this line, as udev names (and the emulator's --link) point at devices.
        bool plugIn(const QString& path)
        {
            QFile::remove(path);
            return pty.isValid() && QFile::link(pty.slavePath(), path);
        }
    };

    Line line;
    FakeReader& reader = line.reader;
    QProtocole link;
    LinkRecorder rec{&link};

    LinkBench() { link.start(); }

    // Opens port, or the bench's own line.
    bool open(const QString& port = QString())
    {
        link.SetPortName(port.isEmpty() ? line.pty.slavePath() : port);
        link.SetConnectionRequest(QProtocole::CONNECTION_OPEN);
        return rec.waitForData(DATA_CHANNEL_RESULT, ARG_LINK_STATE) && link.Connected;
    }

    // How the command in the slot ended: "ok <status> <text>", or "failed ? untouched" (a failure
    // leaves status and text alone); "busy" or "too long" when refused.
    QString exchange(const ReaderCommand& cmd, bool submit = true)
    {
        if (const unsigned char r =
                submit ? link.CmdRequest(cmd) : static_cast<unsigned char>(QProtocole::CMD_SUBMITTED);
            r != QProtocole::CMD_SUBMITTED)
            return r == QProtocole::CMD_BUSY ? "busy" : "too long";
        bool ok = false;
        char status = '?';
        QString text = "untouched";
        if (!(cmd.resultId != 0 ? rec.waitForData(DATA_CHANNEL_RESULT, cmd.resultId)
                                : link.CmdWaitAnswer(8000)) ||
            link.CmdAnswer(&ok, &status, &text) != QProtocole::ANSWER_ENDED)
            return "no end";
        return QStringLiteral("%1 %2 %3").arg(ok ? "ok" : "failed", QString(QChar(status)), text);
    }
};

#endif // LINKBENCH_H
