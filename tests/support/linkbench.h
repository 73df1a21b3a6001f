#ifndef LINKBENCH_H
#define LINKBENCH_H

#include <QtTest>

#include "fakereader.h"
#include "link/qprotocole.h"
#include "linkrecorder.h"
#include "ptypair.h"

#include <functional>

// A link over a pseudo-terminal with a scripted reader on the far side.
struct LinkBench
{
    PtyPair pty;
    FakeReader reader{pty};
    QProtocole link;
    LinkRecorder rec{&link};

    LinkBench() { link.start(); }

    bool open()
    {
        link.SetPortName(pty.slavePath());
        link.SetConnectionRequest(1);
        return rec.waitForData(2, ARG_LINK_STATE) && link.Connected;
    }

    // Calls handler on each result resultId, in the GUI thread, as the window's router does.
    void route(unsigned int resultId, std::function<void()> handler)
    {
        QObject::connect(&link, &QProtocole::SIG_Data, &rec,
                         [resultId, handler](unsigned int id, unsigned int arg1, QString) {
                             if (id == 2 && arg1 == resultId)
                                 handler();
                         });
    }

    // Collects the answer of the command in the slot once it has ended.
    bool collect(unsigned int resultId, bool* ok, char* status, QString* text)
    {
        if (resultId != 0 ? !rec.waitForData(2, resultId) : !link.CmdWaitAnswer(8000))
            return false;
        return link.CmdAnswer(ok, status, text) == 1;
    }
};

#endif // LINKBENCH_H
