#ifndef LINKRIG_H
#define LINKRIG_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "link/qprotocole.h"
#include "link/readerlink.h"
#include "link/resultrouter.h"
#include "transfer/chainguard.h"

class BenchReport;
class CommandChain;

// A link to the emulator with the program's result routing and a count of
// every byte of every frame that crossed the line.
struct LinkRig
{
    QProtocole link;
    ProtocoleLink seam{link};
    ChainGuard chains;
    ResultRouter router;
    QObject context;
    std::atomic<qint64> bytes{0};
    std::atomic<int> framesSent{0};
    // When each frame was traced, sent or received, for the split below.
    QElapsedTimer clock;
    std::mutex eventsMutex;
    std::vector<std::pair<bool, qint64>> events;
    std::vector<QByteArray> sentFrames;

    LinkRig();
    bool Open(const QString& port);
    void CountReset();
    bool Close();
    // Mean time from an answer's last byte to the next request's last byte
    // written: the program's own share of each step (the request itself goes
    // into the pseudo-terminal at once, the emulator paces it afterwards).
    double ProgramGapMs();
};

// One run of a chain: its figures and the requests it sent.
struct ChainFigures
{
    double ms = -1;
    double cpuMs = 0;
    qint64 bytes = 0;
    int exchanges = 0;
    double gapMs = 0;
    std::vector<QByteArray> frames;
};

// Runs the chain `repeat` times and keeps the fastest run: the one least
// disturbed by the other work of a shared machine. False when a run fails
// or done() denies its outcome.
bool ChainBest(LinkRig& rig, CommandChain* chain, const std::function<bool()>& start,
               const std::function<bool()>& done, int repeat, ChainFigures* best);
// Measured time against the line time of the bytes that were exchanged, and
// the same requests replayed without the program (fastest of `repeat`).
void LineFigures(BenchReport& report, const QString& prefix, const ChainFigures& run, LinkRig& rig,
                 const QString& port, int repeat);

#endif // LINKRIG_H
