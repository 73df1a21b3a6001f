#ifndef E2EBENCH_H
#define E2EBENCH_H

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <mutex>

#include "app/emulatorlauncher.h"
#include "link/qprotocole.h"
#include "testfiles.h"
#include "windowbench.h"

// The real korvel-reader-emulator, with its state and its log in a folder of its own.
// Answers to control commands are read synchronously: the window's link runs in its
// own thread meanwhile.
class E2eEmulator
{
public:
    // `extra`: more options, such as fault injection or --link.
    bool start(const QStringList& extra = {})
    {
        // Its log would drown the test's output; it stays beside the state for a failure's autopsy.
        m_launcher.SetLogFile(m_dir.filePath("emulator.log"));
        QString error;
        if (m_launcher.Start(KORVEL_EMULATOR_PATH, QStringList{"--state", statePath()} + extra, &error))
            return true;
        qWarning("%s", qPrintable(error));
        return false;
    }

    QString port() const { return m_launcher.PortName(); }
    void kill() { m_launcher.Kill(); }
    QStringList command(const QString& line) { return m_launcher.Command(line); }
    QString statePath() const { return m_dir.filePath("state.json"); }
    // Committed parameters, files 5 and 18 and cards, as the emulator last saved them.
    QJsonObject state() const { return QJsonDocument::fromJson(FileBytes(statePath())).object(); }
    // What the emulator wrote on its standard error: its reader log.
    QString log() const
    {
        QFile file(m_dir.filePath("emulator.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // "fichier N" records of the `files` command.
    QStringList fileRecords(int number)
    {
        QStringList records, lines = command("files");
        const int first = lines.indexOf(QRegularExpression(QString("fichier %1:.*").arg(number)));
        for (int i = first + 1; first >= 0 && i < lines.size() && !lines[i].startsWith("fichier "); ++i)
            records << lines[i].section(": ", 1);
        return records;
    }

private:
    // Declared first, so the emulator has quit (saving its state here) before the folder goes.
    QTemporaryDir m_dir;
    EmulatorLauncher m_launcher;
};

// Every frame of the window's link, as the frame trace hands them over (from the worker thread).
class FrameLog
{
public:
    struct Frame
    {
        bool sent;
        char letter;
        char second; // sub-letter of a request, status of an answer
        QString payload;
    };

    static QProtocole::FrameTrace Sink(const std::shared_ptr<FrameLog>& log)
    {
        return [log](QProtocole::FrameDirection direction, const QByteArray& bytes) {
            const int etx = bytes.indexOf('\x03');
            if (bytes.size() < 4 || bytes.at(0) != '\x02' || etx < 3)
                return;
            std::lock_guard<std::mutex> lock(log->m_mutex);
            log->m_frames.append({direction == QProtocole::FrameDirection::Sent, bytes.at(1), bytes.at(2),
                                  QString::fromUtf8(bytes.mid(3, etx - 3))});
        };
    }

    QList<Frame> frames() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }
    int count() const { return frames().size(); }
    // Requests with this letter and sub-letter, from frame `from` on.
    QStringList sent(char letter, char subLetter, int from = 0) const
    {
        return select(from,
                      [&](const Frame& f) { return f.sent && f.letter == letter && f.second == subLetter; });
    }
    // The answers to requests with this letter, from frame `from` on: status then payload.
    QStringList answers(char letter, int from = 0) const
    {
        return select(from, [&](const Frame& f) { return !f.sent && f.letter == letter; });
    }

private:
    template <typename Keep> QStringList select(int from, Keep keep) const
    {
        QStringList out;
        const QList<Frame> all = frames();
        for (int i = from; i < all.size(); ++i)
            if (keep(all[i]))
                out << (all[i].sent ? QString() : QString(QChar(all[i].second))) + all[i].payload;
        return out;
    }
    mutable std::mutex m_mutex;
    QList<Frame> m_frames;
};

template <typename T> T* E2eWidget(const QWidget& window, const char* name)
{
    if (T* found = window.findChild<T*>(QLatin1String(name)))
        return found;
    qFatal("no %s", name);
}

// The port row as an operator uses it: whatever the start-up opened is closed,
// then `port`, which the row must list, is chosen and opened.
inline bool E2ePortOpen(MainWindow& window, const QString& port)
{
    return WindowLinkSettle(window) && E2eWidget<QComboBox>(window, "COMB_Serial")->findText(port) >= 0 &&
           WindowLinkOpen(window, port);
}

// Every text a line edit showed: polling overwrites status texts quickly.
inline std::shared_ptr<QStringList> E2eTexts(QLineEdit* edit)
{
    auto texts = std::make_shared<QStringList>();
    QObject::connect(edit, &QLineEdit::textChanged, edit, [texts](const QString& t) { texts->append(t); });
    return texts;
}

#endif // E2EBENCH_H
