#include "controlconsole.h"

#include "emulatorsession.h"

#include <QSocketNotifier>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#else
#include <iostream>
#include <string>
#include <thread>
#endif

namespace {
// Support codes show as the polling answer has them.
constexpr int CodeDigits = 2;
#ifdef Q_OS_UNIX
constexpr int ReadChunk = 1024;
// Input without a line end for this long is no command: dropped.
constexpr int MaxPendingInput = 65536;
#endif
} // namespace

ControlConsole::ControlConsole(EmulatorSession* session, QObject* parent)
    : QObject(parent), m_session(session), m_notifier(nullptr)
{
#ifdef Q_OS_UNIX
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ControlConsole::onReadable);
#else
    // No notifier on a console handle: a reader thread hands each line to the event loop.
    std::thread([this] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const QString text = QString::fromStdString(line);
            QMetaObject::invokeMethod(
                this, [this, text] { onLine(text); }, Qt::QueuedConnection);
        }
    }).detach();
#endif
}

void ControlConsole::onReadable()
{
#ifdef Q_OS_UNIX
    char buffer[ReadChunk];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        // End of input: the reader goes on, driven by the window or by nothing.
        m_notifier->setEnabled(false);
        return;
    }
    m_buffer.append(buffer, static_cast<int>(n));
    if (m_buffer.size() > MaxPendingInput)
        m_buffer.clear();
    int eol;
    while ((eol = m_buffer.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_buffer.left(eol));
        m_buffer.remove(0, eol + 1);
        onLine(line);
    }
#endif
}

void ControlConsole::onLine(const QString& text)
{
    const QString line = text.trimmed();
    if (line.isEmpty())
        return;
    for (const QString& answer : execute(line))
        std::fprintf(stdout, "%s\n", answer.toUtf8().constData());
    std::fflush(stdout);
    if (line == "quit")
        emit quitRequested();
}

QStringList ControlConsole::execute(const QString& line)
{
    ReaderModel* model = m_session->model();
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    const QString command = words.value(0);
    QStringList out;
    if (command == "cards") {
        for (int i = 0; i < model->cards().size(); ++i) {
            const VirtualCard& card = model->cards()[i];
            int code = 0;
            QString detail;
            model->cardStatus(card, &code, &detail);
            out << QString("%1 %2 UID=%3 code=%4%5")
                       .arg(i + 1)
                       .arg(card.name, ReaderText::uidText(card.chip.uid()))
                       .arg(code, CodeDigits, 10, QChar('0'))
                       .arg(i == model->presentIndex() ? " [présent]" : "");
        }
    } else if (command == "present") {
        bool ok = false;
        const int n = words.value(1).toInt(&ok);
        if (!ok || words.size() != 2 || !m_session->present(n - 1))
            return {QString("ERR carte inconnue (1 à %1)").arg(model->cards().size())};
    } else if (command == "remove") {
        if (!m_session->remove())
            return {"ERR aucun support"};
    } else if (command == "status") {
        const int i = model->presentIndex();
        out << (i < 0 ? QString("support: aucun")
                      : QString("support: %1 %2").arg(i + 1).arg(model->cards()[i].name));
        out << "polling: " + model->pollPeek();
        out << "horloge: " + model->clock().toString("dd/MM/yy HH:mm");
    } else if (command == "params") {
        for (const QString& id : model->parameterIds()) {
            out << id + "=" + model->committedParameter(id) +
                       (model->hasPending(id) ? " (en attente: " + model->parameter(id) + ")" : "");
        }
    } else if (command == "files") {
        for (const int number : {ReaderModel::BlacklistFile, ReaderModel::AccessFile}) {
            const QStringList& records = model->file(number);
            out << QString("fichier %1: %2 enregistrement(s)").arg(number).arg(records.size());
            for (int i = 0; i < records.size(); ++i)
                out << QString("  %1: %2").arg(i).arg(records[i]);
        }
    } else if (command == "quit") {
        QString error;
        if (!m_session->saveState(&error))
            return {"ERR état non enregistré: " + error};
    } else if (command == "help") {
        out << "cards | present N | remove | status | params | files | quit";
    } else {
        return {"ERR commande inconnue: " + command + " (help)"};
    }
    out << "OK";
    return out;
}
