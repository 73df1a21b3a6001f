#ifndef TRANSPORT_H
#define TRANSPORT_H

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;
class QSocketNotifier;

// The emulator's end of the serial line.
class Transport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool open(QString* error) = 0;
    // The name the program has to open.
    virtual QString portName() const = 0;
    virtual void write(const QByteArray& bytes) = 0;

signals:
    void received(const QByteArray& bytes);
};

// A POSIX pseudo-terminal: the program opens the slave side like a serial port.
class PtyTransport : public Transport
{
    Q_OBJECT
public:
    explicit PtyTransport(const QString& linkPath = QString(), QObject* parent = nullptr);
    ~PtyTransport() override;
    bool open(QString* error) override;
    QString portName() const override { return m_slavePath; }
    void write(const QByteArray& bytes) override;

private:
    void onReadable();
    void onWritable();
    void flushOut();

    QString m_linkPath;
    QString m_slavePath;
    int m_master = -1;
    int m_slave = -1; // kept open so the line stays up while the program reconnects
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QByteArray m_out;
};

// An existing serial device at 9600 baud 8N1 (null-modem cable to another machine).
class SerialTransport : public Transport
{
    Q_OBJECT
public:
    explicit SerialTransport(const QString& name, QObject* parent = nullptr);
    bool open(QString* error) override;
    QString portName() const override { return m_name; }
    void write(const QByteArray& bytes) override;

private:
    QString m_name;
    QSerialPort* m_port;
};

#endif // TRANSPORT_H
