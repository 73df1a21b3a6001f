#include <QtTest>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/mainwindow.h"
#include "fakereader.h"
#include "ptypair.h"
#include "windowbench.h"

// The window against a scripted reader on a pseudo-terminal: the port row, closing
// during a frame, and a read sent between two polls. The flows' cases are unit-tested
// and run against the emulator end to end.
class TstWindowFlows : public QObject
{
    Q_OBJECT

private:
    // Every text a line edit showed, since polling texts overwrite them quickly.
    static QStringList* textsOf(MainWindow& window, const char* name)
    {
        auto* texts = new QStringList;
        QObject::connect(widget<QLineEdit>(window, name), &QLineEdit::textChanged, &window,
                         [texts](const QString& t) { texts->append(t); });
        QObject::connect(&window, &QObject::destroyed, [texts] { delete texts; });
        return texts;
    }

    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase()
    {
        // Group 0 uses counter 1, so a read shows the badge's counter 0.
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n[GROUPS]\nGROUP=ID:4;LABEL:Personnel;Z0:YES,1,"
                    "0,0,20;\n");
    }

    void connectAndDisconnect()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        auto* com = widget<QLineEdit>(window, "LINEEDIT_Com");
        auto* serial = widget<QPushButton>(window, "BTN_Serial");
        const auto textColor = [com] { return com->palette().color(QPalette::Active, QPalette::Text); };
        // The buttons that need an open link follow it.
        const auto readerButtons = [&window](bool enabled) {
            for (const char* name :
                 {"BTN_BlackListReadFromSupport", "BTN_BlackListReadFromReader", "BTN_BlackListWriteToReader",
                  "BTN_BlackListWriteToSupport", "BTN_ReaderConfigLoad", "BTN_ReaderConfigSave",
                  "BTN_ZonesSendToReader"}) {
                if (widget<QPushButton>(window, name)->isEnabled() != enabled)
                    return false;
            }
            return true;
        };

        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        QCOMPARE(serial->text(), QStringLiteral("Deconnecter"));
        QCOMPARE(textColor(), QColor(Qt::green));
        QTRY_VERIFY_WITH_TIMEOUT(readerButtons(true), 10000);

        serial->click();
        QTRY_COMPARE_WITH_TIMEOUT(com->text(), QStringLiteral("Fermé"), 10000);
        QCOMPARE(serial->text(), QStringLiteral("Connecter"));
        QCOMPARE(textColor(), QColor(Qt::red));
        QTRY_VERIFY_WITH_TIMEOUT(readerButtons(false), 10000);

        // A port that cannot be opened.
        auto* combo = widget<QComboBox>(window, "COMB_Serial");
        combo->addItem("/nonexistent/ttyKorvel");
        combo->setCurrentIndex(combo->count() - 1);
        serial->click();
        QTRY_VERIFY_WITH_TIMEOUT(com->text().startsWith("Can't open /nonexistent/ttyKorvel, error code "),
                                 10000);
        QCOMPARE(serial->text(), QStringLiteral("Connecter"));
        QCOMPARE(textColor(), QColor(Qt::red));
    }

    void closeDuringFrame()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty); // never answers
        auto* window = new MainWindow;
        QVERIFY(WindowLinkSettle(*window));
        QVERIFY(WindowLinkOpen(*window, pty.slavePath()));
        widget<QPushButton>(*window, "BTN_BadgeFormat")->click();
        QVERIFY(reader.waitForRequests(1));
        QCOMPARE(reader.requests().last().subLetter, 'F');
        // The 4000 ms answer wait is cut short: the window goes at once.
        delete window;
    }

    void readFlow()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        reader.answer('B', 'S', '0', "11100000");
        reader.answer('B', 'S', '0', "10000000");
        reader.answerAlways('B', 'S', '0', "00000000");
        reader.answer('B', 'R', '0', "Tyc=16;UID=04A1B2C3;Usr=15;Grp=0;Nal=Dupont;Cn0=2550");
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        QStringList* protocole = textsOf(window, "SAI_ProtocoleStatus");
        QStringList* support = textsOf(window, "SAI_SupportStatus");

        widget<QPushButton>(window, "BTN_BadgeRead")->click();
        QTRY_VERIFY_WITH_TIMEOUT(support->contains("Aucun Support"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(protocole->contains("Lecture->OK"), 10000);
        QVERIFY(support->indexOf("Support OK") < support->indexOf("Aucun Support"));
        QVERIFY(protocole->contains("Lecture ..."));
        QString record;
        window.BadgeRecordBuild(record);
        QVERIFY2(record.endsWith(";Grp=0;Nal=Dupont;Cn0=2550"), qPrintable(record));

        // The read went out right after the insertion, before the next poll.
        const QList<ReaderRequest> requests = reader.requests();
        int read = -1;
        for (int i = 0; i < requests.size(); ++i) {
            if (requests[i].subLetter == 'R')
                read = i;
        }
        QVERIFY(read > 0);
        QCOMPARE(requests[read - 1].subLetter, 'S');
        widget<QPushButton>(window, "BTN_BadgeRead")->click();
        QVERIFY(!window.Protocole().PollingWanted);
    }
};

QTEST_MAIN(TstWindowFlows)
#include "tst_windowflows.moc"
