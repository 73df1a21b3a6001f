#include <QtTest>

#include <QtWidgets>

#include "e2ebench.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

namespace {
constexpr int Bound = 30000;

// A value block of address 4, as the Expert tab's fields show blocks: value, complement, value, address.
QString ValueBlock(const char* low, const char* inverted)
{
    return QString("%1 0x00 0x00 0x00 %2 0xFF 0xFF 0xFF %1 0x00 0x00 0x00 0x04 0xFB 0x04 0xFB")
        .arg(low, inverted);
}
} // namespace

// The window against the reader emulator, tab by tab: badges read and created over the default
// deck, the Expert tab on card memory, the blacklist and access files, the parameters, their
// files and the clock; then faults on the line, the emulator dropping, corrupting, cutting or
// padding its answers, or dying in the middle of a chain.
class TstE2eWindow : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<E2eEmulator> m_emulator;
    std::shared_ptr<FrameLog> m_frames;

    // A fresh emulator and window, `port` (default: the emulator's) opened as an operator does.
    bool open(const QStringList& options = {}, QString port = {})
    {
        m_window.reset();
        m_emulator = std::make_unique<E2eEmulator>();
        m_frames = std::make_shared<FrameLog>();
        if (!m_emulator->start(options))
            return false;
        port = port.isEmpty() ? m_emulator->port() : port;
        m_window = std::make_unique<MainWindow>(port, FrameLog::Sink(m_frames));
        return E2ePortOpen(*m_window, port);
    }
    template <typename T = QLineEdit> T* w(const char* name) { return E2eWidget<T>(*m_window, name); }
    // Card `card` put on the reader, then `text` awaited among what `status` shows.
    bool present(int card, const char* status, const QString& text)
    {
        auto texts = E2eTexts(w(status));
        return m_emulator->command(QString("present %1").arg(card)).isEmpty() &&
               QTest::qWaitFor([&] { return texts->contains(text); }, Bound);
    }
    // `button` pressed once the link is free; the first answer with `letter` (status, payload).
    QString press(const char* button, char letter = 'R')
    {
        if (!QTest::qWaitFor([&] { return m_window->Link().IsFree(); }, Bound))
            return "link busy";
        const int from = m_frames->count();
        w<QPushButton>(button)->click();
        (void)QTest::qWaitFor(
            [&] { return !m_frames->answers(letter, from).isEmpty() || m_window->Link().IsFree(); }, Bound);
        return m_frames->answers(letter, from).value(0, "none");
    }

    // `button` pressed once the link is free, then `text` awaited at the end of status line `status`.
    bool chain(const char* button, const char* status, const QString& text)
    {
        w(status)->clear();
        press(button, '-');
        return QTest::qWaitFor([&] { return w(status)->text().endsWith(text); }, 2 * Bound);
    }

    // Blacklist rows typed in, each "date,UID,user,group,remark".
    void typeRows(const QStringList& rows)
    {
        auto* table = w<QTableWidget>("TABLE_BlackList");
        table->setRowCount(0);
        for (const QString& row : rows) {
            w<QPushButton>("BTN_BlackListNew")->click();
            for (int column = 0; column < 5; ++column)
                table->item(table->rowCount() - 1, column)->setText(row.section(',', column, column));
        }
    }

private slots:
    // Group numbers equal to their positions: a badge read selects its profile by position.
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\nZONE2=INSTALLED:YES;LABEL:Salle\n"
                    "ZONE11=INSTALLED:YES;LABEL:Toit\n[GROUPS]\nGROUP=ID:0;LABEL:Personnel;Z0:YES,0,0,0,0;"
                    "Z2:YES,3,1,0,0;Z5:NO,4,0,0,0;Z11:YES,0,0,0,0;\n"
                    "GROUP=ID:1;LABEL:Visiteur;Z0:YES,1,0,0,5;\n");
    }

    void badges()
    {
        QVERIFY(open());
        w<QPushButton>("BTN_BadgeRead")->click();
        // Card, support status, read result (empty: no read), last name shown.
        const QList<std::tuple<int, QString, QString, QString>> deck{
            {1, "Support Inconnu", "", ""},
            {2, "Support OK", "Lecture->OK", "Martin"},
            {3, "Date Validité Erreur", "Lecture->OK", "Durand"},
            {4, "En Liste Noire", "Lecture->OK", "Petit"},
            {5, "Intégrité erreur", "Lecture->ECHEC", ""}};
        for (const auto& [card, support, read, lastName] : deck) {
            auto reads = E2eTexts(w("SAI_ProtocoleStatus"));
            QVERIFY2(present(card, "SAI_SupportStatus", support), qPrintable(support));
            QTRY_VERIFY_WITH_TIMEOUT(read.isEmpty() || reads->contains(read), Bound);
            QCOMPARE(w("SAI_LastName")->text(), lastName);
        }
        QCOMPARE(m_frames->sent('B', 'R').size(), 4); // the blank card is not read
        w<QPushButton>("BTN_BadgeRead")->click();

        // Created: a blank card without forcing, a valid badge only when forced.
        w<QPushButton>("BTN_BadgeCreate")->click();
        w<QComboBox>("COMBO_Profil")->setCurrentIndex(1);
        w<QComboBox>("COMBO_Profil")->setCurrentIndex(0);
        w("SAI_LastName")->setText("Lefèvre");
        w("SAI_FirstName")->setText("Zoé");
        QVERIFY(present(1, "SAI_ProtocoleStatus", "Création->OK"));
        const QString blank = m_frames->sent('B', 'N').value(0);
        QVERIFY2(blank.contains(";Grp=0;") && blank.contains(";Nal=Lefèvre"), qPrintable(blank));
        w<QCheckBox>("CKB_CreationForce")->setChecked(true);
        w("SAI_LastName")->setText("Roux");
        w("SAI_Usr")->setText("300");
        QVERIFY(present(2, "SAI_ProtocoleStatus", "Création->OK"));
        const QString forced = m_frames->sent('B', 'N').value(1);
        QVERIFY2(forced.contains(";Usr=300;") && forced.contains(";Nal=Roux"), qPrintable(forced));

        // Read back, the forced badge gives the record it was created with.
        w<QPushButton>("BTN_BadgeRead")->click();
        QVERIFY(present(1, "SAI_ProtocoleStatus", "Lecture->OK") &&
                present(2, "SAI_ProtocoleStatus", "Lecture->OK"));
        QString shown;
        m_window->BadgeRecordBuild(shown);
        QCOMPARE(shown, forced);
    }

    void expertAndFiles()
    {
        QVERIFY(open() && m_emulator->command("present 1").isEmpty());
        // Raw block operations on block 4 with the blank card's transport key (refusals are
        // tst_emulator's, the trailer form's request tst_badge's).
        w("SAI_BlockNumber")->setText("4");
        w("SAI_KeyToUsed")->setText("0xFF 0xFF 0xFF 0xFF 0xFF 0xFF");
        const std::tuple<const char*, QString, QString> ops[] = {
            {"BTN_ReaderWrite", ValueBlock("0x64", "0x9B"), ValueBlock("0x64", "0x9B")},
            {"BTN_ReaderIncrement", "25", ValueBlock("0x7D", "0x82")},
            {"BTN_ReaderDecrement", "5", ValueBlock("0x78", "0x87")}};
        for (const auto& [button, text, block] : ops) {
            w("SAI_ReaderSnd")->setText(text);
            QCOMPARE(press(button), "0" + block);
        }
        const QByteArray stored = QJsonDocument(m_emulator->state()).toJson().toLower();
        QVERIFY(stored.contains("7800000087ffffff7800000004fb04fb"));

        // The access file loaded, then a blacklist of a badge and a whole group written and read back
        // (the read-back of either file is parsed alike: tst_readerfiletransfer).
        QVERIFY(chain("BTN_ZonesSendToReader", "SAI_BlackListStatus", "Access Add->FIN"));
        QCOMPARE(m_emulator->fileRecords(18),
                 (QStringList{"Zid=0;Grp=0;Cpt=0;Apb=0", "Zid=2;Grp=0;Cpt=3;Apb=1",
                              "Zid=11;Grp=0;Cpt=0;Apb=0", "Zid=0;Grp=1;Cpt=1;Apb=0"}));
        typeRows({"04/12/26,5E6F7081,101,0,perdu", ",,,7,groupe suspendu"});
        QVERIFY(chain("BTN_BlackListWriteToSupport", "SAI_BlackListStatus", "LN Add->FIN"));
        QCOMPARE(m_emulator->fileRecords(5),
                 (QStringList{"Cda=261204;UID=5E6F7081;Usr=101;Grp=0", "Cda=;UID=;Usr=;Grp=7"}));
        QVERIFY(chain("BTN_BlackListReadFromSupport", "SAI_BlackListStatus", "LN Add->FIN"));
        auto* table = w<QTableWidget>("TABLE_BlackList");
        QVERIFY(table->rowCount() == 2 && table->item(1, 3)->text() == "7");
    }

    // Parameters read, edited, written and committed; carried in a file to a second reader
    // whose versions and clock the file must not overwrite; then the clock set.
    void readerConfig()
    {
        const QString path = m_dir.filePath("lecteur-a.txt");
        auto params = [this] {
            QMap<QString, QString> values;
            for (const QString& line : m_emulator->command("params"))
                values.insert(line.section('=', 0, 0), line.section('=', 1));
            return values;
        };
        auto writeAll = [this] {
            w<QPushButton>("BTN_ReaderConfigSave")->click();
            return QTest::qWaitFor([this] { return w<QProgressBar>("PROGRESS_Config")->isHidden(); },
                                   2 * Bound) &&
                   w("SAI_ConfigStatus")->text().endsWith(":->OK");
        };
        auto load = [this] { return chain("BTN_ReaderConfigLoad", "SAI_ConfigStatus", "Lecture Ok"); };
        QVERIFY(open() && load());
        auto* tree = w<QTreeWidget>("treeWidget");
        // The clock's rows are read like the others but are no stored parameters.
        QMap<QString, QString> read;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if (const QString id = (*it)->text(PARAM_COL_IDENTIFIANT);
                !id.isEmpty() && id != "12.3" && id != "12.4")
                read.insert(id,
                            TreeItemValue(true, tree, *it, QString(), PARAM_COL_WIDGET, PARAM_COL_VALEUR));
        QCOMPARE(read, params());
        RowById(tree, "3.0.1")->setText(PARAM_COL_VALEUR, "Entrepôt Nord");
        RowById(tree, "10.1")->setText(PARAM_COL_VALEUR, "7000");
        QVERIFY2(writeAll(), qPrintable(w("SAI_ConfigStatus")->text()));
        const QMap<QString, QString> first = params();
        QCOMPARE(first.value("3.0.1") + first.value("10.1"), QStringLiteral("Entrepôt Nord7000"));
        BoxCatcher boxes;
        m_window->FileDialog = [path](MainWindow::FileDialogKind, const QString&, const QString&,
                                      const QString&) { return path; };
        w<QPushButton>("BTN_ReaderFileSave")->click();

        QVERIFY(open() && load() && params() != first);
        QVERIFY(FileWrite(path, FileBytes(path) + "12.0=V0.1\n12.3=00:00\n12.4=01/01/20\n"));
        w("SAI_FIleName")->setText(path);
        w<QPushButton>("BTN_ReaderFileLoad")->click();
        QVERIFY2(writeAll(), qPrintable(w("SAI_ConfigStatus")->text()));
        QCOMPARE(params(), first);

        w<QPushButton>("BTN_DateHeureMAJ")->click();
        QCOMPARE(boxes.boxes.value(2), QStringLiteral("MAJ Heure/Date / Mise à jour OK"));
        // The emulator's clock runs with the system's: its log shows that it was set all the same.
        QTRY_VERIFY_WITH_TIMEOUT(m_emulator->log().contains("Heure réglée "), Bound);
    }

    // Faults on the line: options, chain, "kill" once `after` requests `sent` went out (polling on
    // for "+poll"), the failure shown, the success shown after recovery. Answers are counted from
    // the emulator's start: for the blacklist a clear and five adds come first, then the gets.
    void faults_data()
    {
        QTest::addColumn<QString>("row");
        const QStringList rows{
            "--drop 20|BTN_ReaderConfigLoad|||->TIMEOUT|Lecture Ok|0",
            "--garble 3|BTN_BlackListWriteToSupport|||LN Add->ECHEC|LN Add->FIN|0",
            "--cut 9|BTN_BlackListReadFromSupport|||LN Add->CMD ERREUR|LN Add->FIN|0",
            "--latency-ms 20|BTN_ReaderConfigLoad|kill|VG|->TIMEOUT|Lecture Ok|20",
            "--latency-ms 300|BTN_BlackListReadFromSupport|kill+poll|FG|LN Add->CMD ERREUR|LN Add->FIN|2",
            "--latency-ms 300|BTN_ZonesSendToReader|kill|FA|Access Add->ECHEC|Access Add->FIN|1"};
        for (const QString& row : rows)
            QTest::newRow(qPrintable(row.section('|', 0, 0) + " " + row.section('|', 2, 2))) << row;
    }
    // Every chain must end with a failure the operator sees, and the same chain must then succeed
    // against a sound reader on the same path.
    void faults()
    {
        QFETCH(QString, row);
        const QStringList f = row.split('|');
        const QString port = m_dir.filePath("ttyKORVEL");
        const QByteArray button = f[1].toLatin1();
        const char* status = f[1] == "BTN_ReaderConfigLoad" ? "SAI_ConfigStatus" : "SAI_BlackListStatus";
        QVERIFY(open(f[0].split(' ') + QStringList{"--link", port}, port));
        // Five rows, each a record of its own so a lost or doubled one shows; a read needs them uploaded.
        auto prepare = [&] {
            typeRows({"01/12/26,00000000,100,0,r", "01/12/26,00000001,101,0,r", "01/12/26,00000002,102,0,r",
                      "01/12/26,00000003,103,0,r", "01/12/26,00000004,104,0,r"});
            return !f[1].endsWith("ReadFromSupport") ||
                   chain("BTN_BlackListWriteToSupport", "SAI_BlackListStatus", "LN Add->FIN");
        };
        QVERIFY(prepare());
        auto texts = E2eTexts(w(status));
        if (f[2].endsWith("+poll"))
            w<QPushButton>("BTN_BadgeRead")->click();
        if (f[2].isEmpty())
            QVERIFY2(chain(button, status, f[4]), qPrintable(texts->join('|')));
        else {
            w<QPushButton>(button)->click();
            QTRY_VERIFY_WITH_TIMEOUT(
                m_frames->sent(f[3][0].toLatin1(), f[3][1].toLatin1()).size() >= f[6].toInt(), Bound);
            m_emulator->kill();
            QTRY_VERIFY2_WITH_TIMEOUT(w(status)->text().endsWith(f[4]), qPrintable(texts->join('|')), Bound);
        }
        QVERIFY2(f[4] == f[5] || !texts->contains(f[5]), qPrintable(texts->join('|')));

        // A sound emulator on the same path; the operator reconnects with the port row.
        m_emulator.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->Protocole().Connected, Bound);
        m_emulator = std::make_unique<E2eEmulator>();
        QVERIFY(m_emulator->start({"--link", port}) && E2ePortOpen(*m_window, port));
        if (m_window->Protocole().PollingWanted)
            w<QPushButton>("BTN_BadgeRead")->click();
        QVERIFY2(prepare() && chain(button, status, f[5]), qPrintable(w(status)->text()));
        QVERIFY(!f[1].startsWith("BTN_BlackList") || m_emulator->fileRecords(5).size() == 5);
    }
};

QTEST_MAIN(TstE2eWindow)
#include "tst_e2e_window.moc"
