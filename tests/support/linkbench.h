#ifndef LINKBENCH_H
#define LINKBENCH_H

#include <QFile>
#include <QtTest>

#include "fakereader.h"
#include "link/qprotocole.h"
#include "linkrecorder.h"
#include "ptypair.h"

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
    PtyPair& pty = line.pty;
    FakeReader& reader = line.reader;
    QProtocole link;
    LinkRecorder rec{&link};

    LinkBench() { link.start(); }

    // Opens port, or the bench's own line.
    bool open(const QString& port = QString())
    {
        link.SetPortName(port.isEmpty() ? pty.slavePath() : port);
        link.SetConnectionRequest(QProtocole::CONNECTION_OPEN);
        return rec.waitForData(DATA_CHANNEL_RESULT, ARG_LINK_STATE) && link.Connected;
    }

    // Collects the answer of the command in the slot once it has ended.
    bool collect(unsigned int resultId, bool* ok, char* status, QString* text)
    {
        if (resultId != 0 ? !rec.waitForData(DATA_CHANNEL_RESULT, resultId) : !link.CmdWaitAnswer(8000))
            return false;
        return link.CmdAnswer(ok, status, text) == QProtocole::ANSWER_ENDED;
    }
};

#endif // LINKBENCH_H
