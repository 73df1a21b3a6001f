#ifndef FRAMERECEIVER_H
#define FRAMERECEIVER_H

#include <QByteArray>
#include <QString>

// Wire frame, both directions: STX, two header bytes, payload, ETX, three
// trailer bytes. No length field and no check value.
namespace Frame {
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr int TrailerSize = 3;
constexpr int MaxPayload = 999;

// The frame the program sends: the trailer is always "012".
QByteArray build(char letter, char subLetter, const QByteArray& payload);

// The payload as sent, in the local 8-bit encoding and cut at a NUL; tooLong
// when over MaxPayload bytes.
QByteArray encodePayload(const QString& payload, bool* tooLong);

// UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise, so that what the
// program sent comes back unchanged.
QString decodePayload(const QByteArray& payload);
} // namespace Frame

// Byte-fed receive state machine: no port, no clock. The caller feeds the
// bytes and tells it when the byte time-out has expired.
class FrameReceiver
{
public:
    static constexpr int PayloadCapacity = 1001;

    // What one byte did; the link logs from it.
    enum class Event
    {
        Skipped,  // not STX at position 0: dropped until an STX comes
        Stx,      // a frame starts
        Header1,  // first header byte stored
        Header2,  // second header byte stored
        Payload,  // payload byte stored
        Etx,      // end of payload
        Trailer,  // trailer byte, frame not yet complete
        Complete, // third trailer byte: frame done and OK
        Overflow, // payload longer than the buffer: frame done, broken
    };

    Event feed(char byte);
    // The byte time-out expired: a started frame ends broken. True when a
    // frame ended this way.
    bool expire();
    void reset();

    int position() const { return m_position; }
    bool frameDone() const { return m_frameDone; }
    bool frameOk() const { return m_frameOk; }
    void clearFrameDone() { m_frameDone = false; }
    char header1() const { return m_header1; }
    char header2() const { return m_header2; }
    const QByteArray& payload() const { return m_payload; }
    // Every byte of the last frame from its STX on, for the frame trace.
    const QByteArray& rawFrame() const { return m_raw; }

private:
    void endFrame(bool ok);

    int m_position = 0;
    char m_header1 = 0;
    char m_header2 = 0;
    bool m_etxSeen = false;
    int m_trailerCount = 0;
    bool m_frameDone = false;
    bool m_frameOk = false;
    QByteArray m_payload;
    QByteArray m_raw;
};

#endif // FRAMERECEIVER_H
