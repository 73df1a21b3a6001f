#ifndef REQUESTPARSER_H
#define REQUESTPARSER_H

#include <QByteArray>
#include <QVector>

// Reader side of the wire: turns the bytes the program sends into request frames
// (STX, letter, sub-letter, payload, ETX, three trailer bytes) and builds answer frames.
// Pure: no port, no clock; the owner calls expire() after a silence on the line.

struct RequestFrame
{
    enum Kind
    {
        Complete, // a whole frame; letter, subLetter and payload are valid
        Overlong, // the frame ended but its payload did not fit; payload holds the kept part
        Broken,   // a frame started but stopped (new STX, or silence); not to be answered
        Noise     // bytes outside any frame; payload holds them
    };
    Kind kind = Complete;
    char letter = 0;
    char subLetter = 0;
    QByteArray payload;
};

class RequestParser
{
public:
    static constexpr char Stx = 0x02;
    static constexpr char Etx = 0x03;
    // The program's transmit slot holds 999 payload bytes plus the NUL.
    static constexpr int MaxPayload = 999;
    // After ETX; never checked by either side.
    static constexpr int TrailerSize = 3;

    QVector<RequestFrame> feed(const QByteArray& bytes);
    // Ends a partial frame after a silence; returns it as Broken, or nothing when idle.
    QVector<RequestFrame> expire();
    bool idle() const { return m_state == WaitStx && m_noise.isEmpty(); }

    static QByteArray answerFrame(char letter, char status, const QByteArray& payload);

private:
    enum State
    {
        WaitStx,
        Letter,
        SubLetter,
        Data,
        Trailer
    };
    void flushNoise(QVector<RequestFrame>& out);
    void startFrame();

    State m_state = WaitStx;
    RequestFrame m_frame;
    bool m_overlong = false;
    int m_trailerCount = 0;
    QByteArray m_noise;
};

#endif // REQUESTPARSER_H
