#include "link/qprotocole.h"

#include "link/linklog.h"

#include <QSerialPort>

namespace {
// Longest sleep of the idle worker between checks of the fields that the
// GUI may write without waking it (ConnectionRequest, PollingWanted).
constexpr int IdleCheckMs = 100;
constexpr int ByteTimeoutMs = 500;
constexpr int WriteSliceMs = 200;
constexpr int FrameWriteMs = 2000;
// Frames that carry the reader's own traces, not answers.
constexpr char DebugLetter = 'D';
} // namespace

QProtocole::QProtocole(QObject* parent)
    : QThread(parent), m_poller(*this, [this](unsigned int channel, unsigned int arg1, const QString& text) {
          emit SIG_Data(channel, arg1, text);
      })
{
    qCDebug(lcLink, "QPROTOCOLE->CONSTRUCTEUR");
}

QProtocole::~QProtocole()
{
    Stop();
}

void QProtocole::Stop()
{
    m_stop = true;
    wake();
    wait();
    // Pairs with the lock the worker takes last: what it wrote is ours now.
    m_slot.sync();
}

unsigned char QProtocole::Submit(char letter, char subLetter, const QString& payload, unsigned int resultId,
                                 unsigned int timeoutMs, bool queueWhenBusy)
{
    bool tooLong = false;
    const QByteArray bytes = Frame::encodePayload(payload, &tooLong);
    if (tooLong)
        return CMD_TOO_LONG;
    if (!m_slot.submit({letter, subLetter, bytes, resultId, timeoutMs}, queueWhenBusy))
        return CMD_BUSY;
    wake();
    return CMD_SUBMITTED;
}

unsigned char QProtocole::CmdRequest(char letter, char subLetter, QString payload, unsigned int resultId,
                                     unsigned int timeoutMs)
{
    return Submit(letter, subLetter, payload, resultId, timeoutMs, false);
}

unsigned char QProtocole::CmdRequest(const ReaderCommand& cmd)
{
    return CmdRequest(cmd.letter, cmd.subLetter, cmd.payload, cmd.resultId, cmd.timeoutMs);
}

unsigned char QProtocole::PutValueRequest(QString key, QString value, unsigned int resultId)
{
    qCDebug(lcLink, "QProtocole::PutValueRequest");
    return CmdRequest(ReaderCommands::putValue(key, value, resultId));
}

unsigned char QProtocole::CmdRequestQueued(char letter, char subLetter, QString payload,
                                           unsigned int resultId, unsigned int timeoutMs)
{
    return Submit(letter, subLetter, payload, resultId, timeoutMs, true);
}

unsigned char QProtocole::CmdRequestQueued(const ReaderCommand& cmd)
{
    return CmdRequestQueued(cmd.letter, cmd.subLetter, cmd.payload, cmd.resultId, cmd.timeoutMs);
}

unsigned char QProtocole::PutValueRequestQueued(QString key, QString value, unsigned int resultId)
{
    qCDebug(lcLink, "QProtocole::PutValueRequest");
    return CmdRequestQueued(ReaderCommands::putValue(key, value, resultId));
}

unsigned char QProtocole::CmdAnswer(bool* isOk, char* status, QString* text)
{
    if (!m_slot.answer(isOk, status, text))
        return ANSWER_PENDING;
    wake();
    return ANSWER_ENDED;
}

bool QProtocole::CmdWaitFree(unsigned int maxMs)
{
    return m_slot.waitFree(maxMs);
}

bool QProtocole::CmdWaitAnswer(unsigned int maxMs)
{
    return m_slot.waitAnswer(maxMs);
}

void QProtocole::SetPortName(const QString& name)
{
    std::lock_guard<std::mutex> lock(m_portNameMutex);
    m_portName = name;
}

QString QProtocole::PortName() const
{
    std::lock_guard<std::mutex> lock(m_portNameMutex);
    return m_portName;
}

void QProtocole::SetConnectionRequest(quint8 request)
{
    ConnectionRequest = request;
    wake();
}

void QProtocole::SetPollingWanted(bool wanted)
{
    PollingWanted = wanted;
    wake();
}

char* QProtocole::QStringToChar(QString* text, char* buf)
{
    int i = 0;
    for (const QChar c : *text)
        buf[i++] = c.unicode() < 256 ? static_cast<char>(c.unicode()) : 0;
    buf[i] = 0;
    qCDebug(lcLink, "StringToChar***%s****", buf);
    return buf;
}

void QProtocole::SetFrameTrace(FrameTrace trace)
{
    std::shared_ptr<const FrameTrace> next;
    if (trace)
        next = std::make_shared<const FrameTrace>(std::move(trace));
    std::lock_guard<std::mutex> lock(m_traceMutex);
    m_trace = std::move(next);
}

void QProtocole::trace(FrameDirection direction, const QByteArray& frame)
{
    std::shared_ptr<const FrameTrace> sink;
    {
        std::lock_guard<std::mutex> lock(m_traceMutex);
        sink = m_trace;
    }
    if (sink)
        (*sink)(direction, frame);
}

void QProtocole::On_ReadyRead()
{
    // The port belongs to the worker: elsewhere there is nothing to count.
    const bool worker = QThread::currentThread() == this && m_port;
    qCDebug(lcLink, "COUCOU On_ReadyRead %lld",
            worker ? static_cast<long long>(m_port->bytesAvailable()) : 0LL);
}

void QProtocole::wake()
{
    m_wait.wake();
    m_slot.notify();
}

void QProtocole::run()
{
    m_port = new QSerialPort;
    while (!m_stop) {
        ++m_loopTurns;
        handleConnectionRequest();
        if (Connected) {
            ControlLow();
            if (m_stop)
                break;
            if (m_lost) {
                losePort();
                continue;
            }
            ControlAnswer();
            m_poller.step();
            continue;
        }
        // Closed: nothing may stay pending, and no frame is kept for later.
        failPendingCommand();
        m_poller.collectFailedPoll();
        m_slot.waitForWork(IdleCheckMs, [this] { return m_stop || ConnectionRequest != CONNECTION_NONE; });
    }
    if (m_port->isOpen())
        m_port->close();
    delete m_port;
    m_port = nullptr;
    Connected = false;
    m_slot.sync();
}

void QProtocole::handleConnectionRequest()
{
    const quint8 request = ConnectionRequest.exchange(CONNECTION_NONE);
    if (request == CONNECTION_OPEN)
        openPort();
    else if (request == CONNECTION_CLOSE)
        closePort();
}

void QProtocole::openPort()
{
    qCDebug(lcLink, "QPROTOCOLE->Demande de Connexion");
    const QString name = PortName();
    if (!name.isEmpty()) {
        if (m_port->isOpen()) {
            m_port->close();
            Connected = false;
        }
        m_port->setPortName(name);
        if (!m_port->open(QIODevice::ReadWrite)) {
            qCDebug(lcLink, "=>échoué");
            const int code = m_port->error();
            m_port->clearError();
            emit SIG_ComStatus(tr("Can't open %1, error code %2").arg(name).arg(code));
        } else {
            m_port->setBaudRate(QSerialPort::Baud9600);
            m_port->setDataBits(QSerialPort::Data8);
            m_port->clear(QSerialPort::AllDirections);
            m_port->clearError();
            // A frame half-received on another port means nothing here.
            m_receiver.reset();
            m_linkState = Listen;
            qCDebug(lcLink, "=>Ok");
            m_openName = name;
            m_lost = false;
            Connected = true;
            emit SIG_ComStatus(tr("Ouvert"));
        }
    }
    emit SIG_Data(DATA_CHANNEL_RESULT, ARG_LINK_STATE, QString());
}

void QProtocole::closePort()
{
    if (m_port->isOpen())
        m_port->close();
    Connected = false;
    emit SIG_Data(DATA_CHANNEL_RESULT, ARG_LINK_STATE, QString());
    emit SIG_ComStatus(tr("Fermé"));
}

void QProtocole::losePort()
{
    qCDebug(lcLink, "QProtocole => port perdu");
    const bool wasPolling = PollingWanted;
    m_port->close();
    m_port->clearError();
    m_lost = false;
    Connected = false;
    emit SIG_Data(DATA_CHANNEL_RESULT, ARG_LINK_STATE, QString());
    emit SIG_ComStatus(tr("Port perdu (%1)").arg(m_openName));
    failPendingCommand();
    m_poller.stopOnLostPort();
    emit SIG_PortLost(m_openName, wasPolling);
}

void QProtocole::checkPortError()
{
    const QSerialPort::SerialPortError error = m_port->error();
    if (error == QSerialPort::NoError)
        return;
    if (error == QSerialPort::ResourceError)
        m_lost = true;
    m_port->clearError();
}

void QProtocole::failPendingCommand()
{
    unsigned int resultId = 0;
    if (m_slot.fail(&resultId) && resultId != 0)
        emit SIG_Data(DATA_CHANNEL_RESULT, resultId, QString());
}

int QProtocole::idleWaitMs() const
{
    const qint64 wait = m_poller.idleWaitMs(m_slot.idleWaitMs(IdleCheckMs));
    return static_cast<int>(qMax<qint64>(wait, 0));
}

void QProtocole::waitForInput(int maxMs)
{
    switch (m_wait.wait(*m_port, maxMs)) {
    case PortWait::Outcome::Nothing:
        break;
    case PortWait::Outcome::Input:
        checkPortError();
        break;
    case PortWait::Outcome::ReadFailed:
        m_lost = true;
        checkPortError();
        break;
    case PortWait::Outcome::HungUp:
        m_lost = true;
        break;
    }
}

void QProtocole::ControlLow()
{
    switch (m_linkState) {
    case Listen: {
        if (m_port->bytesAvailable() == 0)
            waitForInput(idleWaitMs());
        const bool sendPending = m_slot.sendPending();
        if (m_port->bytesAvailable() > 0)
            m_linkState = Receive;
        else if (sendPending)
            m_linkState = Send;
        checkPortError();
        break;
    }
    case Send:
        sendFrame();
        break;
    case Receive:
        receiveBytes();
        break;
    default:
        m_linkState = Listen;
        break;
    }
}

void QProtocole::sendFrame()
{
    QByteArray frame;
    if (!m_slot.frameToSend(&frame)) {
        m_linkState = Listen;
        return;
    }
    if (m_port->bytesAvailable() > 0) {
        qCDebug(lcLink, "ControlLow->Send ByteAvailable => CLEAR");
        m_port->clear(QSerialPort::AllDirections);
    }
    qCDebug(lcLink, "ControlLow->Send START");
    // The whole frame in one write: the driver puts the bytes on the line back
    // to back, where a wait after each byte costs a wake-up per byte.
    m_port->write(frame);
    QElapsedTimer writing;
    writing.start();
    // In slices, so that Stop() cuts a stuck write short.
    while (m_port->bytesToWrite() > 0 && writing.elapsed() < FrameWriteMs) {
        if (m_stop)
            return;
        m_port->waitForBytesWritten(WriteSliceMs);
        if (m_port->error() == QSerialPort::WriteError)
            qCDebug(lcLink, "ControlLow->Write frame=WriteError");
        // Left pending: losing the port fails the command.
        checkPortError();
        if (m_lost)
            return;
    }
    m_slot.markSent();
    trace(FrameDirection::Sent, frame);
    m_byteTimer.start();
    m_receiver.reset();
    m_linkState = Receive;
    qCDebug(lcLink, "ControlLow->Send END");
}

void QProtocole::logReceived(FrameReceiver::Event event)
{
    switch (event) {
    case FrameReceiver::Event::Stx:
        qCDebug(lcLink, "ContolLow->Rcv STX");
        break;
    case FrameReceiver::Event::Header1:
        qCDebug(lcLink, "QProtocole::ControlLow-Rcv Header:%c", m_receiver.header1());
        break;
    case FrameReceiver::Event::Etx:
        qCDebug(lcLink, "ContolLow->Rcv ETX");
        break;
    case FrameReceiver::Event::Overflow:
        qCDebug(lcLink, "ControlLow->Rcv payload too long => broken frame");
        break;
    default:
        break;
    }
}

void QProtocole::receiveBytes()
{
    checkPortError();
    if (m_lost)
        return;
    if (m_port->bytesAvailable() == 0) {
        // Only the byte time-out and the command's own time-out end this
        // wait: a new request is sent once the receiver is back to listening.
        const qint64 left = m_slot.answerWaitMs(ByteTimeoutMs - m_byteTimer.elapsed() + 1);
        if (left > 0)
            waitForInput(static_cast<int>(left));
        if (m_lost)
            return;
        if (m_port->bytesAvailable() == 0) {
            if (m_byteTimer.elapsed() > ByteTimeoutMs) {
                if (m_receiver.expire())
                    trace(FrameDirection::Received, m_receiver.rawFrame());
                m_linkState = Listen;
            }
            return;
        }
    }
    char byte;
    while (m_port->getChar(&byte)) {
        m_byteTimer.start();
        const FrameReceiver::Event event = m_receiver.feed(byte);
        logReceived(event);
        if (event == FrameReceiver::Event::Complete || event == FrameReceiver::Event::Overflow) {
            trace(FrameDirection::Received, m_receiver.rawFrame());
            m_linkState = Listen;
            return;
        }
    }
}

void QProtocole::ControlAnswer()
{
    unsigned int resultId = 0;
    if (!m_receiver.frameDone()) {
        if (m_slot.expire(&resultId) && resultId != 0)
            emit SIG_Data(DATA_CHANNEL_RESULT, resultId, QString());
        return;
    }
    m_receiver.clearFrameDone();
    const QString text = Frame::decodePayload(m_receiver.payload());
    if (m_receiver.header1() == DebugLetter) {
        emit SIG_Debug(text);
        return;
    }
    if (!m_slot.complete(m_receiver.frameOk(), m_receiver.header2(), text, &resultId)) {
        emit SIG_Debug(QStringLiteral("PB=>") + text);
        return;
    }
    if (resultId != 0)
        emit SIG_Data(DATA_CHANNEL_RESULT, resultId, QString());
}
