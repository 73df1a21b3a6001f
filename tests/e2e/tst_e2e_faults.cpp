#include <QtTest>

#include <QTableWidget>

#include "app/mainwindow.h"
#include "e2ebench.h"
#include "windowbench.h"

// Faults on the line, end to end: the emulator drops, corrupts, cuts or pads its answers, or dies
// (or the operator closes the port) in the middle of a chain. Every chain must end with a failure
// the operator sees, and the same chain must then succeed against a sound reader on the same path.
class TstE2eFaults : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n[GROUPS]\nGROUP=ID:0;LABEL:Personnel;Z0:YES,1,"
                    "0,0,20;\n");
    }

    // Options, chain (button, status line), "kill" or "close" once `after` requests `sent` went
    // out (polling on for "kill+poll"), the failure shown, the success shown after recovery.
    void faults_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("success");
        const QString config = "BTN_ReaderConfigLoad", upload = "BTN_BlackListWriteToSupport",
                      read = "BTN_BlackListReadFromSupport", access = "BTN_ZonesSendToReader";
        // Answers are counted from the emulator's start: a clear and five adds, then the gets.
        QTest::newRow("drop") << QStringList{"--drop", "20"} << config << ""
                              << "" << 0 << "->TIMEOUT"
                              << "Lecture Ok";
        QTest::newRow("garble") << QStringList{"--garble", "3"} << upload << ""
                                << "" << 0 << "LN Add->ECHEC"
                                << "LN Add->FIN";
        QTest::newRow("cut") << QStringList{"--cut", "4"} << upload << ""
                             << "" << 0 << "LN Add->ECHEC"
                             << "LN Add->FIN";
        QTest::newRow("cut read") << QStringList{"--cut", "9"} << read << ""
                                  << "" << 0 << "LN Add->CMD ERREUR"
                                  << "LN Add->FIN";
        // The link skips whatever comes before STX: stray bytes cost nothing.
        QTest::newRow("noise") << QStringList{"--noise"} << read << ""
                               << "" << 0 << "LN Add->FIN"
                               << "LN Add->FIN";
        QTest::newRow("killed") << QStringList{"--latency-ms", "20"} << config << "kill"
                                << "VG" << 20 << "->TIMEOUT"
                                << "Lecture Ok";
        QTest::newRow("killed, polling") << QStringList{"--latency-ms", "300"} << read << "kill+poll"
                                         << "FG" << 2 << "LN Add->CMD ERREUR"
                                         << "LN Add->FIN";
        QTest::newRow("closed, polling") << QStringList{"--latency-ms", "300"} << access << "close+poll"
                                         << "FA" << 1 << "Access Add->ECHEC"
                                         << "Access Add->FIN";
    }
    void faults()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, button);
        QFETCH(QString, end);
        QFETCH(QString, sent);
        QFETCH(int, after);
        QFETCH(QString, failure);
        QFETCH(QString, success);
        const QString port = m_dir.filePath("ttyKORVEL");
        auto emulator = std::make_unique<E2eEmulator>();
        QVERIFY(emulator->start(options + QStringList{"--link", port}));
        auto frames = std::make_shared<FrameLog>();
        MainWindow window(port, FrameLog::Sink(frames));
        QVERIFY(E2ePortOpen(window, port));
        auto* status = E2eWidget<QLineEdit>(window, button == "BTN_ReaderConfigLoad" ? "SAI_ConfigStatus"
                                                                                     : "SAI_BlackListStatus");
        auto* table = E2eWidget<QTableWidget>(window, "TABLE_BlackList");
        auto chain = [&](const QString& name, const QString& text) {
            if (!QTest::qWaitFor([&] { return window.Link().IsFree(); }, 30000))
                return false;
            status->clear();
            E2eWidget<QPushButton>(window, qPrintable(name))->click();
            return QTest::qWaitFor([&] { return status->text().endsWith(text); }, 30000);
        };
        // Five rows, each a record of its own so a lost or doubled one shows; a read needs them uploaded.
        auto prepare = [&] {
            table->setRowCount(0);
            for (int i = 0; i < 5; ++i) {
                E2eWidget<QPushButton>(window, "BTN_BlackListNew")->click();
                const QStringList cells{"01/12/26", QString("0000000%1").arg(i), QString::number(100 + i),
                                        "0", "r"};
                for (int column = 0; column < 5; ++column)
                    table->item(i, column)->setText(cells.at(column));
            }
            return !button.endsWith("ReadFromSupport") || chain("BTN_BlackListWriteToSupport", "LN Add->FIN");
        };
        QVERIFY2(prepare(), qPrintable(status->text()));
        auto texts = E2eTexts(status);
        auto com = E2eTexts(E2eWidget<QLineEdit>(window, "LINEEDIT_Com"));
        if (end.endsWith("+poll"))
            E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        if (end.isEmpty()) {
            QVERIFY2(chain(button, failure), qPrintable(texts->join('|')));
        } else {
            E2eWidget<QPushButton>(window, qPrintable(button))->click();
            QTRY_VERIFY_WITH_TIMEOUT(frames->sent(sent[0].toLatin1(), sent[1].toLatin1()).size() >= after,
                                     30000);
            if (end.startsWith("close"))
                E2eWidget<QPushButton>(window, "BTN_Serial")->click();
            else
                emulator->kill();
            const QString lost =
                end.startsWith("close") ? QString("Fermé") : QString("Port perdu (%1)").arg(port);
            QTRY_VERIFY2_WITH_TIMEOUT(com->contains(lost), qPrintable(com->join('|')), 30000);
            QTRY_VERIFY2_WITH_TIMEOUT(status->text().endsWith(failure), qPrintable(texts->join('|')), 30000);
        }
        QVERIFY2(failure == success || !texts->contains(success), qPrintable(texts->join('|')));

        // A sound emulator on the same path; the operator reconnects with the port row.
        emulator.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Protocole().Connected, 30000);
        emulator = std::make_unique<E2eEmulator>();
        QVERIFY(emulator->start({"--link", port}));
        QVERIFY(E2ePortOpen(window, port));
        if (window.Protocole().PollingWanted)
            E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QVERIFY2(prepare() && chain(button, success), qPrintable(status->text()));
        if (button.startsWith("BTN_BlackList"))
            QCOMPARE(emulator->fileRecords(5).size(), 5);
    }
};

QTEST_MAIN(TstE2eFaults)
#include "tst_e2e_faults.moc"
