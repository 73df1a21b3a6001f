#ifndef PORTWAIT_H
#define PORTWAIT_H

class QSerialPort;

// The worker's sleep: until input on the port, a wake-up from another thread
// or a bound. On Linux one poll() on the port and an eventfd, so that a byte or
// a wake-up ends it at once; elsewhere short waits on the port.
class PortWait
{
public:
    // What ended a wait.
    enum class Outcome
    {
        Nothing,    // the bound or a wake-up: the port was not read
        Input,      // the port was read: its error needs a look
        ReadFailed, // readable, yet the read brought nothing: the device fails under us
        HungUp,     // hung up for good: it would end every wait at once
    };

    PortWait();
    ~PortWait();
    PortWait(const PortWait&) = delete;
    PortWait& operator=(const PortWait&) = delete;

    // Any thread: ends the current wait, or the next one, early.
    void wake();
    // Worker thread only: waits at most maxMs.
    Outcome wait(QSerialPort& port, int maxMs);

private:
    // The eventfd that wake() writes to; -1 where there is none.
    [[maybe_unused]] int m_wakeFd = -1;
};

#endif // PORTWAIT_H
