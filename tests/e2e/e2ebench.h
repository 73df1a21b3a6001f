#ifndef E2EBENCH_H
#define E2EBENCH_H

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <mutex>

#include "app/emulatorlauncher.h"
#include "app/mainwindow.h"
#include "link/qprotocole.h"
#include "testfiles.h"

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
    QString log() const { return QString::fromUtf8(FileBytes(m_dir.filePath("emulator.log"))); }

    // "fichier N" records of the `files` command.
    QStringList fileRecords(int number)
    {
        QStringList records;
        bool inside = false;
        for (const QString& line : command("files")) {
            if (line.startsWith("fichier "))
                inside = line.startsWith(QString("fichier %1:").arg(number));
            else if (inside)
                records << line.section(": ", 1);
        }
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
            Frame frame{direction == QProtocole::FrameDirection::Sent, bytes.at(1), bytes.at(2),
                        QString::fromUtf8(bytes.mid(3, etx - 3))};
            std::lock_guard<std::mutex> lock(log->m_mutex);
            log->m_frames.append(frame);
        };
    }

    QList<Frame> frames() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }
    int count() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames.size();
    }
    // Requests with this letter and sub-letter, from frame `from` on.
    QStringList sent(char letter, char subLetter, int from = 0) const
    {
        return select(
            from, [&](const Frame& f) { return f.sent && f.letter == letter && f.second == subLetter; },
            false);
    }
    // The answers to requests with this letter, from frame `from` on: status then payload.
    QStringList answers(char letter, int from = 0) const
    {
        return select(
            from, [&](const Frame& f) { return !f.sent && f.letter == letter; }, true);
    }

private:
    template <typename Keep> QStringList select(int from, Keep keep, bool withStatus) const
    {
        QStringList out;
        const QList<Frame> all = frames();
        for (int i = from; i < all.size(); ++i)
            if (keep(all[i]))
                out << (withStatus ? QString(QChar(all[i].second)) : QString()) + all[i].payload;
        return out;
    }
    mutable std::mutex m_mutex;
    QList<Frame> m_frames;
};

template <typename T> T* E2eWidget(const QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

// The port row as an operator uses it: whatever the start-up opened is closed,
// then `port` is chosen in COMB_Serial and BTN_Serial clicked.
inline bool E2ePortOpen(MainWindow& window, const QString& port)
{
    auto* combo = E2eWidget<QComboBox>(window, "COMB_Serial");
    auto* com = E2eWidget<QLineEdit>(window, "LINEEDIT_Com");
    auto* serial = E2eWidget<QPushButton>(window, "BTN_Serial");
    if (!QTest::qWaitFor([com] { return !com->text().isEmpty(); }, 10000))
        return false;
    if (window.Protocole().Connected) {
        serial->click();
        if (!QTest::qWaitFor([&] { return !window.Protocole().Connected && com->text() == "Fermé"; }, 10000))
            return false;
    }
    const int index = combo->findText(port);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    serial->click();
    return QTest::qWaitFor([&] { return window.Protocole().Connected && com->text() == "Ouvert"; }, 10000);
}

// Every text a line edit showed: polling overwrites status texts quickly.
inline std::shared_ptr<QStringList> E2eTexts(QLineEdit* edit)
{
    auto texts = std::make_shared<QStringList>();
    QObject::connect(edit, &QLineEdit::textChanged, edit, [texts](const QString& t) { texts->append(t); });
    return texts;
}

#endif // E2EBENCH_H
