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

// The real korvel-reader-emulator, with its state and its log in a folder of its own.
// Answers to control commands are read synchronously: the window's link runs in its
// own thread meanwhile.
class E2eEmulator
{
public:
    // `extra`: more options, such as fault injection or --link.
    bool start(const QStringList& extra = {})
    {
        if (!m_dir.isValid())
            return false;
        // Its log would drown the test's output; it stays beside the state for a failure's autopsy.
        m_launcher.SetLogFile(m_dir.filePath("emulator.log"));
        QString error;
        const bool started =
            m_launcher.Start(KORVEL_EMULATOR_PATH, QStringList{"--state", statePath()} + extra, &error);
        if (!started)
            qWarning("%s", qPrintable(error));
        return started;
    }

    QString port() const { return m_launcher.PortName(); }
    void kill() { m_launcher.Kill(); }
    QStringList command(const QString& line) { return m_launcher.Command(line); }
    QString statePath() const { return m_dir.filePath("state.json"); }

    // Committed parameters, files 5 and 18 and cards, as the emulator last saved them.
    QJsonObject state() const
    {
        QFile file(statePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    // What the emulator wrote on its standard error: its reader log.
    QString log() const
    {
        QFile file(m_dir.filePath("emulator.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

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
        QStringList payloads;
        const QList<Frame> all = frames();
        for (int i = from; i < all.size(); ++i) {
            if (all[i].sent && all[i].letter == letter && all[i].second == subLetter)
                payloads << all[i].payload;
        }
        return payloads;
    }
    // The answers to requests with this letter, from frame `from` on: status then payload.
    QStringList answers(char letter, int from = 0) const
    {
        QStringList out;
        const QList<Frame> all = frames();
        for (int i = from; i < all.size(); ++i) {
            if (!all[i].sent && all[i].letter == letter)
                out << QChar(all[i].second) + all[i].payload;
        }
        return out;
    }

private:
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

// The port row as an operator uses it: whatever the start-up opened (or a
// reconnection watch) is closed, then `port` is chosen in COMB_Serial and BTN_Serial clicked.
inline bool E2ePortOpen(MainWindow& window, const QString& port)
{
    auto* combo = E2eWidget<QComboBox>(window, "COMB_Serial");
    auto* com = E2eWidget<QLineEdit>(window, "LINEEDIT_Com");
    auto* serial = E2eWidget<QPushButton>(window, "BTN_Serial");
    // The field catches up with the link first: a loss's texts may still be queued.
    auto settled = [&] {
        return !com->text().isEmpty() && window.Protocole().Connected == (com->text() == "Ouvert");
    };
    if (!QTest::qWaitFor(settled, 10000))
        return false;
    if (window.Protocole().Connected || serial->text() == "Deconnecter") {
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
