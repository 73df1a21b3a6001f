#ifndef LINKRECORDER_H
#define LINKRECORDER_H

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QProtocole;

// One signal of the link, as the GUI thread received it.
struct LinkEvent
{
    enum Kind
    {
        Debug,
        ComStatus,
        Data
    };
    Kind kind = Data;
    unsigned int id = 0;
    unsigned int arg1 = 0;
    QString text;
};

// Records the link's three signals in the thread it lives in (queued, as
// the window gets them). Use it instead of a QSignalSpy on the link, whose
// direct connection would run in the worker thread.
class LinkRecorder : public QObject
{
    Q_OBJECT

public:
    explicit LinkRecorder(QProtocole* link, QObject* parent = nullptr);

    QList<LinkEvent> events;

    // Processes events until cond holds, at most timeoutMs.
    bool waitFor(const std::function<bool()>& cond, int timeoutMs = 5000);
    // Waits for a new SIG_Data(id, arg1, ...) beyond the ones seen so far.
    bool waitForData(unsigned int id, unsigned int arg1, int timeoutMs = 5000);

    int dataCount(unsigned int id, unsigned int arg1) const;
    // Texts of SIG_Debug, SIG_ComStatus, or SIG_Data(1, 0, ...) (kind Data).
    QStringList texts(LinkEvent::Kind kind) const;
    void clear() { events.clear(); }

private:
    void record(LinkEvent::Kind kind, unsigned int id, unsigned int arg1, const QString& text);
};

#endif // LINKRECORDER_H
