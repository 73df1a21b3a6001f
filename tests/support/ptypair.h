#ifndef PTYPAIR_H
#define PTYPAIR_H

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair standing in for the serial line: the program opens
// slavePath() with QSerialPort, the test plays the reader on the master side.
// The slave is set raw and one slave descriptor stays open, so the line
// never hangs up while the program closes and reopens it.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return m_master >= 0 && m_slave >= 0; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    // Bytes to the program, written whole.
    bool write(const QByteArray& bytes);

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};

// Wire bytes written readably: '<' stands for STX and '>' for ETX, so
// wire("<BS>012") is the poll request.
QByteArray wire(const char* text);

// Length of the first whole frame at the start of bytes (after dropping
// anything before its STX, counted in *skipped), or 0 when incomplete.
int ptyFrameLength(const QByteArray& bytes, int* skipped);

#endif // PTYPAIR_H
