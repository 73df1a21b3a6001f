#include <QtTest>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "app/mainwindow.h"
#include "e2ebench.h"
#include "windowbench.h"

namespace {
constexpr int Bound = 30000;

// Counts turns of the window's event loop: a chain stuck in a blocking wait stops it.
class Heartbeat
{
public:
    Heartbeat()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { ++beats; });
        m_timer.start(10);
    }
    int beats = 0;

private:
    QTimer m_timer;
};

// Five rows, each a record of its own so a lost or doubled one shows.
void BlacklistFill(MainWindow& window)
{
    auto* table = E2eWidget<QTableWidget>(window, "TABLE_BlackList");
    table->setRowCount(0);
    for (int i = 0; i < 5; ++i) {
        E2eWidget<QPushButton>(window, "BTN_BlackListNew")->click();
        const QStringList cells{"01/12/26", QString("0000000%1").arg(i), QString::number(100 + i), "0", "r"};
        for (int column = 0; column < 5; ++column)
            table->item(table->rowCount() - 1, column)->setText(cells.at(column));
    }
}

// Presses `button` once the link is free and waits for the status line to show `text`.
bool ChainRun(MainWindow& window, const char* button, const char* statusName, const QString& text)
{
    auto* status = E2eWidget<QLineEdit>(window, statusName);
    if (!QTest::qWaitFor([&] { return window.Link().IsFree(); }, Bound))
        return false;
    status->clear();
    E2eWidget<QPushButton>(window, button)->click();
    return QTest::qWaitFor([&] { return status->text() == text; }, Bound);
}
} // namespace

// Faults on the line, end to end: the emulator drops, corrupts, cuts or
// pads its answers, or dies in the middle of a chain. Every chain must end
// with a failure the operator sees, the window must keep running, and the
// same chain must then succeed against a sound reader on the same port.
class TstE2eFaults : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;
    QString m_port;

    std::unique_ptr<E2eEmulator> emulatorStart(const QStringList& options)
    {
        auto emulator = std::make_unique<E2eEmulator>();
        if (!emulator->start(options + QStringList{"--link", m_port}))
            return nullptr;
        return emulator;
    }

    // The faulty emulator makes way for a sound one on the same path; the
    // operator reconnects with the port row.
    bool recover(MainWindow& window, std::unique_ptr<E2eEmulator>& emulator)
    {
        emulator.reset();
        if (!QTest::qWaitFor([&] { return !window.Protocole().Connected; }, Bound))
            return false;
        emulator = emulatorStart({});
        return emulator && E2ePortOpen(window, m_port);
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        m_port = m_dir.filePath("ttyKORVEL");
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\nZONE2=INSTALLED:YES;LABEL:Salle\n[GROUPS]\n"
                    "GROUP=ID:0;LABEL:Personnel;Z0:YES,1,0,0,20;Z2:YES,3,1,0,0;\n"
                    "GROUP=ID:1;LABEL:Visiteur;Z0:YES,0,0,0,0;\n");
    }

    void parameterReadDrop()
    {
        auto emulator = emulatorStart({"--drop", "20"});
        QVERIFY(emulator);
        MainWindow window(m_port);
        QVERIFY(E2ePortOpen(window, m_port));
        Heartbeat heartbeat;
        auto* status = E2eWidget<QLineEdit>(window, "SAI_ConfigStatus");
        E2eWidget<QPushButton>(window, "BTN_ReaderConfigLoad")->click();
        QTRY_VERIFY2_WITH_TIMEOUT(status->text().endsWith("->TIMEOUT"), qPrintable(status->text()), Bound);
        QVERIFY(emulator->log().contains("(--drop)"));
        const int beats = heartbeat.beats;
        QTRY_VERIFY_WITH_TIMEOUT(heartbeat.beats > beats + 2, Bound);

        QVERIFY(recover(window, emulator));
        QVERIFY2(ChainRun(window, "BTN_ReaderConfigLoad", "SAI_ConfigStatus", "Lecture Ok"),
                 qPrintable(status->text()));
    }

    // Answers are counted from the emulator's start: a clear and five adds
    // come first, then the gets of the read-back.
    void blacklistFaults_data()
    {
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("failure");
        // The third answer's status byte is garbled.
        QTest::newRow("garble upload") << QStringList{"--garble", "3"} << false << "LN Add->ECHEC";
        QTest::newRow("cut upload") << QStringList{"--cut", "4"} << false << "LN Add->ECHEC";
        QTest::newRow("cut read") << QStringList{"--cut", "9"} << true << "LN Add->CMD ERREUR";
        QTest::newRow("drop read") << QStringList{"--drop", "9"} << true << "LN Add->CMD ERREUR";
    }
    void blacklistFaults()
    {
        QFETCH(QStringList, fault);
        QFETCH(bool, read);
        QFETCH(QString, failure);
        auto emulator = emulatorStart(fault);
        QVERIFY(emulator);
        MainWindow window(m_port);
        QVERIFY(E2ePortOpen(window, m_port));
        Heartbeat heartbeat;
        auto* status = E2eWidget<QLineEdit>(window, "SAI_BlackListStatus");
        auto* table = E2eWidget<QTableWidget>(window, "TABLE_BlackList");
        const char* faulty = read ? "BTN_BlackListReadFromSupport" : "BTN_BlackListWriteToSupport";
        BlacklistFill(window);
        if (read)
            QVERIFY2(ChainRun(window, "BTN_BlackListWriteToSupport", "SAI_BlackListStatus", "LN Add->FIN"),
                     qPrintable(status->text()));
        auto texts = E2eTexts(status);
        QVERIFY2(ChainRun(window, faulty, "SAI_BlackListStatus", failure), qPrintable(texts->join('|')));
        QVERIFY2(!texts->contains("LN Add->FIN"), qPrintable(texts->join('|')));
        const int beats = heartbeat.beats;
        QTRY_VERIFY_WITH_TIMEOUT(heartbeat.beats > beats + 2, Bound);

        QVERIFY(recover(window, emulator));
        BlacklistFill(window);
        QVERIFY2(ChainRun(window, "BTN_BlackListWriteToSupport", "SAI_BlackListStatus", "LN Add->FIN"),
                 qPrintable(status->text()));
        QCOMPARE(emulator->fileRecords(5).size(), 5);
        if (read) {
            QVERIFY2(ChainRun(window, faulty, "SAI_BlackListStatus", "LN Add->FIN"),
                     qPrintable(status->text()));
            QCOMPARE(table->rowCount(), 5);
            QCOMPARE(table->item(4, 2)->text(), QStringLiteral("104"));
        }
    }

    // The link skips whatever comes before STX: stray bytes cost nothing.
    void badgeReadNoise()
    {
        auto emulator = emulatorStart({"--noise"});
        QVERIFY(emulator);
        MainWindow window(m_port);
        QVERIFY(E2ePortOpen(window, m_port));
        auto support = E2eTexts(E2eWidget<QLineEdit>(window, "SAI_SupportStatus"));
        auto protocole = E2eTexts(E2eWidget<QLineEdit>(window, "SAI_ProtocoleStatus"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QCOMPARE(emulator->command("present 2"), QStringList());
        QTRY_VERIFY2_WITH_TIMEOUT(support->contains("Support OK"), qPrintable(support->join('|')), Bound);
        QTRY_VERIFY2_WITH_TIMEOUT(protocole->contains("Lecture->OK"), qPrintable(protocole->join('|')),
                                  Bound);
        QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_LastName")->text(), QStringLiteral("Martin"));
        QVERIFY(!protocole->contains("Lecture->ECHEC"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
    }

    // The emulator dies (or the operator closes the port) once `after`
    // requests of the chain went out; its latency keeps the chain running
    // long enough for that. Polling, when on, competes for the slot.
    void killDuringChain_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("statusName");
        QTest::addColumn<QString>("latency");
        QTest::addColumn<char>("letter");
        QTest::addColumn<char>("subLetter");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("success");
        QTest::addColumn<bool>("polling");
        QTest::addColumn<bool>("close");
        QTest::newRow("parameter read") << "BTN_ReaderConfigLoad"
                                        << "SAI_ConfigStatus"
                                        << "20" << 'V' << 'G' << 20 << "->TIMEOUT"
                                        << "Lecture Ok" << false << false;
        QTest::newRow("blacklist upload") << "BTN_BlackListWriteToSupport"
                                          << "SAI_BlackListStatus"
                                          << "300" << 'F' << 'A' << 2 << "LN Add->ECHEC"
                                          << "LN Add->FIN" << false << false;
        QTest::newRow("access upload") << "BTN_ZonesSendToReader"
                                       << "SAI_BlackListStatus"
                                       << "300" << 'F' << 'A' << 1 << "Access Add->ECHEC"
                                       << "Access Add->FIN" << false << false;
        QTest::newRow("blacklist read, polling") << "BTN_BlackListReadFromSupport"
                                                 << "SAI_BlackListStatus"
                                                 << "300" << 'F' << 'G' << 2 << "LN Add->CMD ERREUR"
                                                 << "LN Add->FIN" << true << false;
        QTest::newRow("blacklist upload, polling") << "BTN_BlackListWriteToSupport"
                                                   << "SAI_BlackListStatus"
                                                   << "300" << 'F' << 'A' << 2 << "LN Add->ECHEC"
                                                   << "LN Add->FIN" << true << false;
        QTest::newRow("parameter read, closed") << "BTN_ReaderConfigLoad"
                                                << "SAI_ConfigStatus"
                                                << "20" << 'V' << 'G' << 20 << "->TIMEOUT"
                                                << "Lecture Ok" << false << true;
        QTest::newRow("access upload, closed polling") << "BTN_ZonesSendToReader"
                                                       << "SAI_BlackListStatus"
                                                       << "300" << 'F' << 'A' << 1 << "Access Add->ECHEC"
                                                       << "Access Add->FIN" << true << true;
    }
    void killDuringChain()
    {
        QFETCH(QString, button);
        QFETCH(QString, statusName);
        QFETCH(QString, latency);
        QFETCH(char, letter);
        QFETCH(char, subLetter);
        QFETCH(int, after);
        QFETCH(QString, failure);
        QFETCH(QString, success);
        QFETCH(bool, polling);
        QFETCH(bool, close);
        auto emulator = emulatorStart({"--latency-ms", latency});
        QVERIFY(emulator);
        auto frames = std::make_shared<FrameLog>();
        MainWindow window(m_port, FrameLog::Sink(frames));
        QVERIFY(E2ePortOpen(window, m_port));
        Heartbeat heartbeat;
        BlacklistFill(window);
        auto* status = E2eWidget<QLineEdit>(window, qPrintable(statusName));
        auto* send = E2eWidget<QPushButton>(window, qPrintable(button));
        auto com = E2eTexts(E2eWidget<QLineEdit>(window, "LINEEDIT_Com"));
        QTRY_VERIFY_WITH_TIMEOUT(send->isEnabled(), Bound);
        // A read needs records to read: the five rows go first.
        if (letter == 'F' && subLetter == 'G')
            QVERIFY2(ChainRun(window, "BTN_BlackListWriteToSupport", "SAI_BlackListStatus", "LN Add->FIN"),
                     qPrintable(status->text()));
        auto texts = E2eTexts(status);
        if (polling)
            E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        send->click();
        QTRY_VERIFY_WITH_TIMEOUT(frames->sent(letter, subLetter).size() >= after, Bound);
        if (close) {
            E2eWidget<QPushButton>(window, "BTN_Serial")->click();
            QTRY_VERIFY2_WITH_TIMEOUT(com->contains("Fermé"), qPrintable(com->join('|')), Bound);
        } else {
            emulator->kill();
            QTRY_VERIFY2_WITH_TIMEOUT(com->contains(QString("Port perdu (%1)").arg(m_port)),
                                      qPrintable(com->join('|')), Bound);
        }
        QTRY_VERIFY2_WITH_TIMEOUT(status->text().endsWith(failure), qPrintable(texts->join('|')), Bound);
        QVERIFY2(!texts->contains(success), qPrintable(texts->join('|')));
        QVERIFY(window.Link().IsFree());
        const int beats = heartbeat.beats;
        QTRY_VERIFY_WITH_TIMEOUT(heartbeat.beats > beats + 2, Bound);

        emulator.reset();
        emulator = emulatorStart({});
        QVERIFY(emulator);
        QVERIFY(E2ePortOpen(window, m_port));
        if (polling && window.Protocole().PollingWanted)
            E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QVERIFY2(ChainRun(window, qPrintable(button), qPrintable(statusName), success),
                 qPrintable(status->text()));
    }
};

QTEST_MAIN(TstE2eFaults)
#include "tst_e2e_faults.moc"
