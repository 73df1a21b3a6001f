#ifndef FAKEREADER_H
#define FAKEREADER_H

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "ptypair.h"

// One request frame as the reader received it.
struct ReaderRequest
{
    char letter = 0;
    char subLetter = 0;
    QByteArray payload;
};

// A scripted reader on the master side of a PtyPair, in its own thread:
// it reads the program's request frames and answers each one with the first
// scripted answer for its letters, else the standing answer, else nothing.
// While it runs, read from the pty only through it.
class FakeReader
{
public:
    // Returns the bytes to write back for a request (empty: stay silent).
    using Handler = std::function<QByteArray(const ReaderRequest&)>;

    explicit FakeReader(PtyPair& pty);
    ~FakeReader();

    // An answer frame: header byte 1, status character, payload, ETX, "012".
    static QByteArray frame(char header1, char status, const QByteArray& payload = QByteArray());

    // One-shot answer to the next request letter/subLetter.
    void answer(char letter, char subLetter, char status, const QByteArray& payload = QByteArray())
    {
        answerRaw(letter, subLetter, frame(letter, status, payload));
    }
    // One-shot raw bytes (a cut frame, several frames, or empty for silence).
    void answerRaw(char letter, char subLetter, const QByteArray& bytes);
    // Standing answer for every request letter/subLetter with nothing scripted.
    void answerAlways(char letter, char subLetter, char status, const QByteArray& payload = QByteArray());
    // Takes over from the scripts above for every request.
    void setHandler(Handler handler);
    // Unsolicited bytes to the program.
    void send(const QByteArray& bytes);

    // Each request as letters, a space and the payload: "FC Fil=5".
    QStringList requestTexts() const;
    int requestCount() const { return requestTexts().size(); }
    // Waits until at least count requests have come in.
    bool waitForRequests(int count, int timeoutMs = 5000) const;

private:
    void loop();
    QByteArray reply(const ReaderRequest& request);

    PtyPair& m_pty;
    int m_stopPipe[2] = {-1, -1};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::mutex m_writeMutex;
    QStringList m_requests;
    QMap<QByteArray, std::deque<QByteArray>> m_scripted;
    QMap<QByteArray, QByteArray> m_standing;
    Handler m_handler;
    std::thread m_thread;
};

#endif // FAKEREADER_H
