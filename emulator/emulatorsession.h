#ifndef EMULATORSESSION_H
#define EMULATORSESSION_H

#include "precisealarm.h"
#include "readermodel.h"
#include "requestparser.h"

#include <QObject>
#include <QQueue>
#include <QTimer>

class Transport;

struct SessionOptions
{
    bool pace = false;  // model a 9600 baud 8N1 line
    int latencyMs = 0;  // the reader's own time per command
    int drop = 0;       // ignore every N-th command
    int garble = 0;     // corrupt one byte of every N-th answer
    int cut = 0;        // stop every N-th answer after ETX
    bool noise = false; // stray bytes before each answer
    QString statePath;  // JSON state written after every change
};

// Ties the line to the reader: parses requests, asks the model, sends the answers,
// with the line speed, latency and faults asked for.
class EmulatorSession : public QObject
{
    Q_OBJECT
public:
    // One byte at 9600 baud, 8N1: ten bits.
    static constexpr int Baud = 9600;
    static constexpr int BitsPerByte = 10;
    static constexpr double ByteMs = BitsPerByte * 1000.0 / Baud;

    EmulatorSession(ReaderModel* model, Transport* transport, const SessionOptions& options,
                    QObject* parent = nullptr);

    ReaderModel* model() const { return m_model; }
    bool present(int index);
    bool remove();
    bool saveState(QString* error = nullptr);

signals:
    void logLine(const QString& line);
    void cardChanged();

private:
    struct Pending
    {
        RequestFrame frame;
        double due = 0;
    };
    void onReceived(const QByteArray& bytes);
    void onSilence();
    void takeFrames(const QVector<RequestFrame>& frames, double due);
    void onAlarm();
    void processDue();
    void process(const RequestFrame& frame);
    void sendDebug(const QStringList& texts);
    void send(const QByteArray& bytes);
    void sendPaced();
    // Milliseconds since the start, to the nanosecond.
    double now() const;
    void ringAt(double ms);
    void log(const QString& line) { emit logLine(line); }

    ReaderModel* m_model;
    Transport* m_transport;
    SessionOptions m_options;
    RequestParser m_parser;
    PreciseAlarm::Clock::time_point m_start;
    QTimer m_silence;
    PreciseAlarm m_alarm;
    QQueue<Pending> m_queue;
    // When the last byte received so far, and the last byte sent, are through on the modelled line.
    double m_rxFreeAt = 0;
    double m_txFreeAt = 0;
    QByteArray m_txQueue;
    quint64 m_commands = 0;
    quint64 m_answers = 0;
};

#endif // EMULATORSESSION_H
