#include "link/framereceiver.h"

#include "commun/textdecode.h"

QByteArray Frame::build(char letter, char subLetter, const QByteArray& payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 7);
    frame.append(STX).append(letter).append(subLetter).append(payload).append(ETX).append("012");
    return frame;
}

QByteArray Frame::encodePayload(const QString& payload, bool* tooLong)
{
    QByteArray bytes = payload.toLocal8Bit();
    *tooLong = bytes.size() > MaxPayload;
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return bytes;
}

QString Frame::decodePayload(const QByteArray& payload)
{
    // A payload is no file: a byte-order mark in it is text.
    return DecodeText(payload, false);
}

FrameReceiver::Event FrameReceiver::feed(char byte)
{
    switch (m_position) {
    case 0:
        if (byte != Frame::STX)
            return Event::Skipped;
        m_frameDone = false;
        m_frameOk = false;
        m_header1 = 0;
        m_header2 = 0;
        m_etxSeen = false;
        m_trailerCount = 0;
        m_payload.clear();
        m_raw.clear();
        m_raw.append(byte);
        m_position = 1;
        return Event::Stx;
    case 1:
        m_raw.append(byte);
        m_header1 = byte;
        m_position = 2;
        return Event::Header1;
    case 2:
        m_raw.append(byte);
        m_header2 = byte;
        m_position = 3;
        return Event::Header2;
    default:
        break;
    }
    m_raw.append(byte);
    if (m_etxSeen) {
        if (++m_trailerCount < Frame::TrailerSize)
            return Event::Trailer;
        endFrame(true);
        return Event::Complete;
    }
    if (byte == Frame::ETX) {
        m_etxSeen = true;
        return Event::Etx;
    }
    if (m_payload.size() >= PayloadCapacity) {
        endFrame(false);
        return Event::Overflow;
    }
    m_payload.append(byte);
    ++m_position;
    return Event::Payload;
}

bool FrameReceiver::expire()
{
    if (m_position == 0)
        return false;
    endFrame(false);
    return true;
}

void FrameReceiver::reset()
{
    *this = FrameReceiver();
}

void FrameReceiver::endFrame(bool ok)
{
    m_frameOk = ok;
    m_frameDone = true;
    m_position = 0;
}
