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

    // Options, chain, "kill" once `after` requests `sent` went out (polling on for
    // "+poll"), the failure shown, the success shown after recovery. Answers are counted from the
    // emulator's start: for the blacklist a clear and five adds come first, then the gets.
    void faults_data()
    {
        QTest::addColumn<QString>("row");
        const QStringList rows{
            "--drop 20|BTN_ReaderConfigLoad|||->TIMEOUT|Lecture Ok|0",
            "--garble 3|BTN_BlackListWriteToSupport|||LN Add->ECHEC|LN Add->FIN|0",
            "--cut 4|BTN_BlackListWriteToSupport|||LN Add->ECHEC|LN Add->FIN|0",
            "--cut 9|BTN_BlackListReadFromSupport|||LN Add->CMD ERREUR|LN Add->FIN|0",
            // The link skips whatever comes before STX: stray bytes cost nothing.
            "--noise|BTN_BlackListReadFromSupport|||LN Add->FIN|LN Add->FIN|0",
            "--latency-ms 20|BTN_ReaderConfigLoad|kill|VG|->TIMEOUT|Lecture Ok|20",
            "--latency-ms 300|BTN_BlackListReadFromSupport|kill+poll|FG|LN Add->CMD ERREUR|LN Add->FIN|2",
            "--latency-ms 300|BTN_ZonesSendToReader|kill|FA|Access Add->ECHEC|Access Add->FIN|1"};
        for (const QString& row : rows)
            QTest::newRow(qPrintable(row.section('|', 0, 0) + " " + row.section('|', 2, 2))) << row;
    }
    void faults()
    {
        QFETCH(QString, row);
        const QStringList f = row.split('|');
        const QString &button = f[1], &end = f[2], &failure = f[4], &success = f[5];
        const QString port = m_dir.filePath("ttyKORVEL");
        auto emulator = std::make_unique<E2eEmulator>();
        QVERIFY(emulator->start(f[0].split(' ') + QStringList{"--link", port}));
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
            QTRY_VERIFY_WITH_TIMEOUT(
                frames->sent(f[3].at(0).toLatin1(), f[3].at(1).toLatin1()).size() >= f[6].toInt(), 30000);
            emulator->kill();
            const QString lost = QString("Port perdu (%1)").arg(port);
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
