#include "fakereader.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
int key(char letter, char subLetter)
{
    return (static_cast<unsigned char>(letter) << 8) | static_cast<unsigned char>(subLetter);
}
} // namespace

FakeReader::FakeReader(PtyPair& pty) : m_pty(pty)
{
    if (::pipe2(m_stopPipe, O_CLOEXEC) != 0)
        m_stopPipe[0] = m_stopPipe[1] = -1;
    m_thread = std::thread([this] { loop(); });
}

FakeReader::~FakeReader()
{
    const char stop = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_stopPipe[1], &stop, 1);
    m_thread.join();
    ::close(m_stopPipe[0]);
    ::close(m_stopPipe[1]);
}

QByteArray FakeReader::frame(char header1, char status, const QByteArray& payload)
{
    QByteArray bytes;
    bytes.append('\x02').append(header1).append(status).append(payload).append('\x03').append("012");
    return bytes;
}

void FakeReader::answer(char letter, char subLetter, char status, const QByteArray& payload)
{
    answerRaw(letter, subLetter, frame(letter, status, payload));
}

void FakeReader::answerRaw(char letter, char subLetter, const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_scripted[key(letter, subLetter)].push_back(bytes);
}

void FakeReader::answerAlways(char letter, char subLetter, char status, const QByteArray& payload)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_standing[key(letter, subLetter)] = frame(letter, status, payload);
}

void FakeReader::setHandler(Handler handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_handler = std::move(handler);
}

void FakeReader::send(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_writeMutex);
    m_pty.write(bytes);
}

QList<ReaderRequest> FakeReader::requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

QStringList FakeReader::requestTexts() const
{
    QStringList texts;
    for (const ReaderRequest& request : requests())
        texts << QString(request.letter) + request.subLetter + ' ' + QString::fromUtf8(request.payload);
    return texts;
}

int FakeReader::requestCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests.size();
}

bool FakeReader::waitForRequests(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_requests.size() >= count; });
}

QByteArray FakeReader::reply(const ReaderRequest& request)
{
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        handler = m_handler;
        if (!handler) {
            auto scripted = m_scripted.find(key(request.letter, request.subLetter));
            if (scripted != m_scripted.end() && !scripted->empty()) {
                const QByteArray bytes = scripted->front();
                scripted->pop_front();
                return bytes;
            }
            return m_standing.value(key(request.letter, request.subLetter));
        }
    }
    return handler(request);
}

void FakeReader::loop()
{
    QByteArray pending;
    for (;;) {
        pollfd fds[2] = {{m_pty.masterFd(), POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            return;
        if (!(fds[0].revents & POLLIN)) {
            // Nothing to read but the line reports a condition: do not spin.
            ::poll(&fds[1], 1, 20);
            continue;
        }
        char buf[4096];
        const ssize_t n = ::read(m_pty.masterFd(), buf, sizeof buf);
        if (n <= 0)
            continue;
        pending.append(buf, int(n));
        for (;;) {
            int skipped = 0;
            const int length = ptyFrameLength(pending, &skipped);
            if (length == 0)
                break;
            ReaderRequest request;
            request.raw = pending.mid(skipped, length);
            request.letter = request.raw.at(1);
            request.subLetter = request.raw.at(2);
            request.payload = request.raw.mid(3, length - 7);
            pending.remove(0, skipped + length);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.append(request);
            }
            m_changed.notify_all();
            const QByteArray bytes = reply(request);
            if (!bytes.isEmpty())
                send(bytes);
        }
    }
}
