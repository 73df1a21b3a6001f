#include "fakereader.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

FakeReader::FakeReader(PtyPair& pty) : m_pty(pty)
{
    if (::pipe2(m_stopPipe, O_CLOEXEC) == 0)
        m_thread = std::thread([this] { loop(); });
}

FakeReader::~FakeReader()
{
    [[maybe_unused]] const ssize_t n = ::write(m_stopPipe[1], "s", 1);
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_stopPipe[0]);
    ::close(m_stopPipe[1]);
}

QByteArray FakeReader::frame(char header1, char status, const QByteArray& payload)
{
    return '\x02' + QByteArray(1, header1) + status + payload +
           "\x03"
           "012";
}

void FakeReader::answerRaw(char letter, char subLetter, const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_scripted[QByteArray(1, letter) + subLetter].push_back(bytes);
}

void FakeReader::answerAlways(char letter, char subLetter, char status, const QByteArray& payload)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_standing[QByteArray(1, letter) + subLetter] = frame(letter, status, payload);
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

QStringList FakeReader::requestTexts() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

bool FakeReader::waitForRequests(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_requests.size() >= count; });
}

QByteArray FakeReader::reply(const ReaderRequest& request)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_requests << QString(request.letter) + request.subLetter + ' ' + QString::fromUtf8(request.payload);
    m_changed.notify_all();
    if (const Handler handler = m_handler) {
        lock.unlock();
        return handler(request);
    }
    const QByteArray key = QByteArray(1, request.letter) + request.subLetter;
    auto scripted = m_scripted.find(key);
    if (scripted == m_scripted.end() || scripted->empty())
        return m_standing.value(key);
    const QByteArray bytes = scripted->front();
    scripted->pop_front();
    return bytes;
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
        pending.append(buf, int(qMax<ssize_t>(n, 0)));
        for (int skipped = 0, length; (length = ptyFrameLength(pending, &skipped)) > 0;) {
            const QByteArray raw = pending.mid(skipped, length);
            pending.remove(0, skipped + length);
            const QByteArray bytes = reply({raw.at(1), raw.at(2), raw.mid(3, length - 7)});
            if (!bytes.isEmpty())
                send(bytes);
        }
    }
}
