#include "link/poller.h"

#include "link/linklog.h"
#include "link/qprotocole.h"

#include <utility>

namespace {
constexpr int PollPauseMs = 500;

const char* const PollingTexts[] = {
    "||| Polling |||",
    "/// Polling ///",
    "--- Polling ---",
    "\\\\\\ Polling \\\\\\",
};
constexpr int PollingTextCount = sizeof PollingTexts / sizeof PollingTexts[0];

// A poll answer starting with NewEvent tells of a support; SupportGone next
// says it was taken away.
constexpr QLatin1Char NewEvent('1');
constexpr QLatin1Char SupportGone('0');
} // namespace

Poller::Poller(QProtocole& link, Report report) : m_link(link), m_report(std::move(report)) {}

void Poller::step()
{
    switch (m_step) {
    case PollStep::Idle:
        start();
        break;
    case PollStep::Request:
        request();
        break;
    case PollStep::Answer:
        collect();
        break;
    case PollStep::Pause:
        pause();
        break;
    }
}

void Poller::start()
{
    if (m_link.PollingWanted) {
        m_report(DATA_CHANNEL_TEXT, 0, QStringLiteral("Polling -> Start"));
        m_step = PollStep::Request;
        qCDebug(lcLink, "ControlHigh->Mode polling");
    }
}

void Poller::request()
{
    if (m_link.Cmd.IsFree && m_link.CmdRequest(ReaderCommands::poll()) == QProtocole::CMD_SUBMITTED) {
        qCDebug(lcLink, "ControlHigh->Step=0x01 : Cmd.IsFree");
        m_report(DATA_CHANNEL_TEXT, 0, QStringLiteral("Polling ..."));
        m_step = PollStep::Answer;
    }
}

void Poller::collect()
{
    bool ok = false;
    char status = 0;
    QString text;
    if (m_link.CmdAnswer(&ok, &status, &text) == QProtocole::ANSWER_PENDING)
        return;
    if (!ok) {
        qCDebug(lcLink, "ControlHigh->Step=0x02 : RVal == 2 => TimeOut");
        m_report(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT, QString());
        m_link.PollingWanted = false;
        m_step = PollStep::Idle;
        return;
    }
    qCDebug(lcLink, "Polling 0K:%s", qUtf8Printable(text));
    const quint8 count = ++m_count;
    m_report(DATA_CHANNEL_TEXT, 0, QString::fromLatin1(PollingTexts[count % PollingTextCount]));
    if (text.startsWith(NewEvent)) {
        qCDebug(lcLink, "Polling => Nouvelle évenement");
        if (text.size() > 1 && text.at(1) == SupportGone)
            m_report(DATA_CHANNEL_RESULT, ARG_SUPPORT_REMOVED, QString());
        else
            m_report(DATA_CHANNEL_RESULT, ARG_SUPPORT_INSERTED, text);
        qCDebug(lcLink, "ControlHigh->Step=0x02 : RVal == 1");
    }
    m_pauseTimer.start();
    m_step = PollStep::Pause;
}

void Poller::pause()
{
    if (!m_link.PollingWanted) {
        m_step = PollStep::Idle;
        m_report(DATA_CHANNEL_TEXT, 0, QStringLiteral("Polling -> Stop"));
    } else if (m_pauseTimer.elapsed() > PollPauseMs) {
        m_step = PollStep::Request;
    }
}

qint64 Poller::idleWaitMs(qint64 wait) const
{
    if (m_link.PollingWanted) {
        if (m_step == PollStep::Idle)
            return 0;
        if (m_step == PollStep::Pause)
            return qMin<qint64>(wait, PollPauseMs - m_pauseTimer.elapsed() + 1);
    } else if (m_step == PollStep::Pause) {
        return 0;
    }
    return wait;
}

void Poller::stopOnLostPort()
{
    if (m_step == PollStep::Answer) {
        collect();
    } else if (m_step != PollStep::Idle || m_link.PollingWanted) {
        m_link.PollingWanted = false;
        m_step = PollStep::Idle;
        m_report(DATA_CHANNEL_RESULT, ARG_POLLING_TIMEOUT, QString());
    }
}

void Poller::collectFailedPoll()
{
    if (m_step == PollStep::Answer)
        collect();
}
