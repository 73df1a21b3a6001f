#include "emulatorsession.h"

#include "readerstate.h"
#include "transport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>

namespace {
// A reader drops a frame that stalls this long.
constexpr int SilenceMs = 500;
constexpr double NsPerMs = 1e6;
// The log shows this much of a payload.
constexpr int LoggedBytes = 120;
constexpr uchar FirstPrintable = 0x20;
constexpr uchar Delete = 0x7F;

// --garble keeps STX, ETX and the trailer, so the frame still parses, and moves the corrupted
// byte from one answer to the next.
constexpr int GarbleKeptBefore = 1;
constexpr int GarbleKeptAfter = 1 + RequestParser::TrailerSize;
constexpr quint64 GarbleStride = 7;
constexpr char GarbleFlip = 0x20;
constexpr char GarbleFlipAlternative = 0x40;
const QByteArray NoiseBytes("\xFF\x00~", 3);

QString printable(const QByteArray& bytes)
{
    QString out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        out += (u >= FirstPrintable && u < Delete) ? QString(QChar(c))
                                                   : QString("<%1>").arg(u, 2, 16, QChar('0'));
    }
    return out;
}
} // namespace

EmulatorSession::EmulatorSession(ReaderModel* model, Transport* transport, const SessionOptions& options,
                                 QObject* parent)
    : QObject(parent), m_model(model), m_transport(transport), m_options(options),
      m_start(PreciseAlarm::Clock::now())
{
    m_silence.setSingleShot(true);
    m_silence.setInterval(SilenceMs);
    connect(&m_silence, &QTimer::timeout, this, &EmulatorSession::onSilence);
    connect(&m_alarm, &PreciseAlarm::rang, this, &EmulatorSession::onAlarm, Qt::QueuedConnection);
    connect(m_transport, &Transport::received, this, &EmulatorSession::onReceived);
}

double EmulatorSession::now() const
{
    return std::chrono::duration<double, std::milli>(PreciseAlarm::Clock::now() - m_start).count();
}

void EmulatorSession::ringAt(double ms)
{
    // Rounded up: the alarm never rings before the instant asked for.
    const auto ns = static_cast<std::int64_t>(std::ceil(ms * NsPerMs));
    m_alarm.ringAt(m_start + std::chrono::nanoseconds(ns));
}

void EmulatorSession::onAlarm()
{
    processDue();
    sendPaced();
}

void EmulatorSession::onReceived(const QByteArray& bytes)
{
    m_silence.start();
    const double t = now();
    if (!m_options.pace) {
        takeFrames(m_parser.feed(bytes), t + m_options.latencyMs);
        return;
    }
    // Bytes reach us in bursts; on the modelled line each one takes a character time.
    for (const char c : bytes) {
        m_rxFreeAt = std::max(t, m_rxFreeAt) + ByteMs;
        takeFrames(m_parser.feed(QByteArray(1, c)), m_rxFreeAt + m_options.latencyMs);
    }
}

void EmulatorSession::onSilence()
{
    takeFrames(m_parser.expire(), now());
}

void EmulatorSession::takeFrames(const QVector<RequestFrame>& frames, double due)
{
    for (const RequestFrame& frame : frames) {
        switch (frame.kind) {
        case RequestFrame::Noise:
            log(QString("ignoré: octets hors trame %1").arg(printable(frame.payload)));
            continue;
        case RequestFrame::Broken:
            log(QString("ignoré: trame incomplète %1%2%3")
                    .arg(printable(QByteArray(1, frame.letter)), printable(QByteArray(1, frame.subLetter)),
                         printable(frame.payload)));
            continue;
        case RequestFrame::Complete:
        case RequestFrame::Overlong:
            m_queue.enqueue({frame, due});
            break;
        }
    }
    processDue();
}

void EmulatorSession::processDue()
{
    // Commands are handled one at a time, in arrival order, each when it is due.
    while (!m_queue.isEmpty()) {
        const double due = m_queue.head().due;
        if (due > now()) {
            ringAt(due);
            return;
        }
        process(m_queue.dequeue().frame);
    }
}

void EmulatorSession::process(const RequestFrame& frame)
{
    ++m_commands;
    const QString request = printable(QByteArray(1, frame.letter) + QByteArray(1, frame.subLetter)) + " '" +
                            printable(frame.payload.left(LoggedBytes)) +
                            (frame.payload.size() > LoggedBytes ? "...'" : "'");
    if (m_options.drop > 0 && m_commands % static_cast<quint64>(m_options.drop) == 0) {
        log("RX " + request + " -> ignoré (--drop)");
        return;
    }
    ReaderModel::Answer answer;
    if (frame.kind == RequestFrame::Overlong) {
        answer.status = ReaderStatus::BadPayload;
        log("RX " + request + " trop longue");
    } else {
        answer = m_model->handle(frame.letter, frame.subLetter, frame.payload);
        log("RX " + request);
    }
    sendDebug(answer.debug);
    ++m_answers;
    QByteArray bytes = RequestParser::answerFrame(frame.letter, answer.status, answer.payload);
    QString fault;
    if (m_options.garble > 0 && m_answers % static_cast<quint64>(m_options.garble) == 0) {
        const int span = bytes.size() - GarbleKeptBefore - GarbleKeptAfter;
        const int at =
            GarbleKeptBefore + static_cast<int>((m_answers * GarbleStride) % static_cast<quint64>(span));
        char c = static_cast<char>(bytes[at] ^ GarbleFlip);
        if (c == RequestParser::Stx || c == RequestParser::Etx)
            c = static_cast<char>(bytes[at] ^ GarbleFlipAlternative);
        bytes[at] = c;
        fault += QString(" (--garble octet %1)").arg(at);
    }
    if (m_options.cut > 0 && m_answers % static_cast<quint64>(m_options.cut) == 0) {
        bytes.chop(RequestParser::TrailerSize);
        fault += " (--cut)";
    }
    if (m_options.noise)
        send(NoiseBytes);
    log(QString("TX %1 %2 '%3'%4")
            .arg(printable(QByteArray(1, frame.letter)), QString(QChar(answer.status)),
                 printable(answer.payload.left(LoggedBytes)), fault));
    // Stored before it is acknowledged, as a reader would: whoever has the answer finds the
    // change in the state file.
    if (answer.stateChanged)
        saveState();
    send(bytes);
}

void EmulatorSession::sendDebug(const QStringList& texts)
{
    for (const QString& text : texts) {
        log("D " + text);
        send(RequestParser::answerFrame('D', '0', text.toUtf8()));
    }
}

void EmulatorSession::send(const QByteArray& bytes)
{
    if (!m_options.pace) {
        m_transport->write(bytes);
        return;
    }
    // An idle line starts sending now; a busy one right after its last byte.
    if (m_txQueue.isEmpty())
        m_txFreeAt = std::max(now(), m_txFreeAt);
    m_txQueue.append(bytes);
    ringAt(m_txFreeAt + ByteMs);
}

void EmulatorSession::sendPaced()
{
    // Each byte leaves once the line has carried it, not before: byte k at start + k character times.
    const double t = now();
    int n = 0;
    while (n < m_txQueue.size() && m_txFreeAt + ByteMs <= t) {
        ++n;
        m_txFreeAt += ByteMs;
    }
    if (n > 0) {
        m_transport->write(m_txQueue.left(n));
        m_txQueue.remove(0, n);
    }
    if (!m_txQueue.isEmpty())
        ringAt(m_txFreeAt + ByteMs);
}

bool EmulatorSession::present(int index)
{
    QStringList debug;
    if (!m_model->present(index, &debug))
        return false;
    sendDebug(debug);
    emit cardChanged();
    return true;
}

bool EmulatorSession::remove()
{
    const QStringList debug = m_model->remove();
    if (debug.isEmpty())
        return false;
    sendDebug(debug);
    emit cardChanged();
    return true;
}

bool EmulatorSession::saveState(QString* error)
{
    if (m_options.statePath.isEmpty())
        return true;
    QString problem;
    if (ReaderState::save(m_options.statePath, *m_model, &problem))
        return true;
    log(QString("état non enregistré (%1): %2").arg(m_options.statePath, problem));
    if (error)
        *error = problem;
    return false;
}
