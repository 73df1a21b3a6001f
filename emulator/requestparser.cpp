#include "requestparser.h"

namespace {
const QByteArray TrailerBytes("012");
// STX, the two header bytes and ETX around the payload, then the trailer.
constexpr int FrameOverhead = 4 + RequestParser::TrailerSize;
} // namespace

QVector<RequestFrame> RequestParser::feed(const QByteArray& bytes)
{
    QVector<RequestFrame> out;
    for (const char c : bytes) {
        switch (m_state) {
        case WaitStx:
            if (c == Stx) {
                flushNoise(out);
                startFrame();
            } else {
                m_noise.append(c);
            }
            break;
        case Letter:
            m_frame.letter = c;
            m_state = SubLetter;
            break;
        case SubLetter:
            m_frame.subLetter = c;
            m_state = Data;
            break;
        case Data:
            if (c == Etx) {
                m_state = Trailer;
                m_trailerCount = 0;
            } else if (c == Stx) {
                // A reader resynchronises on a fresh STX: the frame so far is lost.
                RequestFrame broken = m_frame;
                broken.kind = RequestFrame::Broken;
                out.append(broken);
                startFrame();
            } else if (m_frame.payload.size() < MaxPayload) {
                m_frame.payload.append(c);
            } else {
                m_overlong = true;
            }
            break;
        case Trailer:
            // Trailer bytes are not checked, whatever they are.
            if (++m_trailerCount == TrailerSize) {
                m_frame.kind = m_overlong ? RequestFrame::Overlong : RequestFrame::Complete;
                out.append(m_frame);
                m_state = WaitStx;
                m_frame = RequestFrame();
            }
            break;
        }
    }
    return out;
}

QVector<RequestFrame> RequestParser::expire()
{
    QVector<RequestFrame> out;
    flushNoise(out);
    if (m_state != WaitStx) {
        RequestFrame broken = m_frame;
        broken.kind = RequestFrame::Broken;
        out.append(broken);
        m_state = WaitStx;
        m_frame = RequestFrame();
    }
    return out;
}

QByteArray RequestParser::answerFrame(char letter, char status, const QByteArray& payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + FrameOverhead);
    frame.append(Stx);
    frame.append(letter);
    frame.append(status);
    for (const char c : payload)
        frame.append(c == Etx ? '?' : c); // no escaping exists on this line
    frame.append(Etx);
    frame.append(TrailerBytes);
    return frame;
}

void RequestParser::flushNoise(QVector<RequestFrame>& out)
{
    if (m_noise.isEmpty())
        return;
    RequestFrame noise;
    noise.kind = RequestFrame::Noise;
    noise.payload = m_noise;
    out.append(noise);
    m_noise.clear();
}

void RequestParser::startFrame()
{
    m_frame = RequestFrame();
    m_overlong = false;
    m_trailerCount = 0;
    m_state = Letter;
}
