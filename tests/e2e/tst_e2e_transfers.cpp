#include <QtTest>

#include <QCheckBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "app/mainwindow.h"
#include "badge/trailerbits.h"
#include "e2ebench.h"
#include "windowbench.h"

namespace {
const char* const TransportKey = "0xFF 0xFF 0xFF 0xFF 0xFF 0xFF";
const char* const SystemKey = "0x5A 0x17 0xC3 0x88 0x2E 0x91";

// "0x64 0x00 ...", as the Expert tab's fields take and show blocks.
QString HexText(const QByteArray& bytes)
{
    QStringList parts;
    for (const char c : bytes)
        parts << "0x" + QString("%1").arg(quint8(c), 2, 16, QChar('0')).toUpper();
    return parts.join(' ');
}

// A Mifare value block: value, its complement, value, then the address four times.
QByteArray ValueBlock(qint32 value, quint8 address)
{
    QByteArray block(16, '\0');
    for (int i = 0; i < 4; ++i) {
        const char b = char((quint32(value) >> (8 * i)) & 0xFF);
        block[i] = b;
        block[4 + i] = char(~b);
        block[8 + i] = b;
    }
    for (int i = 0; i < 4; ++i)
        block[12 + i] = char(i % 2 ? ~address : address);
    return block;
}

// Block `block` of a card in the emulator's saved state.
QByteArray StateBlock(const QJsonObject& state, const QString& uid, int block)
{
    for (const QJsonValue& card : state.value("cards").toArray()) {
        if (card.toObject().value("uid").toString() == uid)
            return QByteArray::fromHex(card.toObject().value("memory").toString().toLatin1())
                .mid(block * 16, 16);
    }
    return {};
}

QStringList RowTexts(const QTableWidget* table, int row)
{
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
    return cells;
}
} // namespace

// The Expert tab on the emulator's card memory, and the blacklist and access
// files loaded into the emulator and read back.
class TstE2eTransfers : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void initTestCase()
    {
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\nZONE2=INSTALLED:YES;LABEL:Salle\n"
                    "ZONE11=INSTALLED:YES;LABEL:Toit\n[GROUPS]\n"
                    "GROUP=ID:0;LABEL:Personnel;Z2:YES,3,1,0,0;Z5:NO,4,0,0,0;Z11:YES,0,0,0,0;\n"
                    "GROUP=ID:1;LABEL:Visiteur;Z0:YES,1,0,0,5;\n");
    }

    void expertOperations()
    {
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        auto frames = std::make_shared<FrameLog>();
        MainWindow window(emulator.port(), FrameLog::Sink(frames));
        QVERIFY(E2ePortOpen(window, emulator.port()));
        QCOMPARE(emulator.command("present 1"), QStringList());

        auto* block = E2eWidget<QLineEdit>(window, "SAI_BlockNumber");
        auto* key = E2eWidget<QLineEdit>(window, "SAI_KeyToUsed");
        auto* send = E2eWidget<QLineEdit>(window, "SAI_ReaderSnd");
        auto* received = E2eWidget<QLineEdit>(window, "SAI_ReaderRcv");

        // A block operation and the answer it got: status then payload.
        // A button pressed while the link is busy does nothing, as for an operator.
        auto blockOperation = [&](const char* button) {
            if (!QTest::qWaitFor([&] { return window.Link().IsFree(); }, 10000))
                return QString("link busy");
            const int from = frames->count();
            E2eWidget<QPushButton>(window, button)->click();
            if (!QTest::qWaitFor([&] { return !frames->answers('R', from).isEmpty(); }, 10000))
                return QString("no answer");
            return frames->answers('R', from).first();
        };

        // The blank card keeps its transport key: the system's key is refused, nothing is written.
        block->setText("4");
        key->setText(SystemKey);
        send->setText(HexText(ValueBlock(100, 4)));
        QCOMPARE(blockOperation("BTN_ReaderWrite"), QStringLiteral("4"));
        QCOMPARE(received->text(), QString());
        key->setText(TransportKey);
        QCOMPARE(blockOperation("BTN_ReaderRead"), "0" + HexText(QByteArray(16, '\0')));

        QCOMPARE(blockOperation("BTN_ReaderWrite"), "0" + HexText(ValueBlock(100, 4)));
        QTRY_COMPARE_WITH_TIMEOUT(received->text(), HexText(ValueBlock(100, 4)), 10000);
        send->setText("25");
        QCOMPARE(blockOperation("BTN_ReaderIncrement"), "0" + HexText(ValueBlock(125, 4)));
        send->setText("5");
        QCOMPARE(blockOperation("BTN_ReaderDecrement"), "0" + HexText(ValueBlock(120, 4)));
        QTRY_COMPARE_WITH_TIMEOUT(received->text(), HexText(ValueBlock(120, 4)), 10000);
        QCOMPARE(blockOperation("BTN_ReaderRead"), "0" + HexText(ValueBlock(120, 4)));
        QCOMPARE(StateBlock(emulator.state(), "1A2B3C4D", 4), ValueBlock(120, 4));
        // Not a value block: refused as card data.
        block->setText("5");
        send->setText("1");
        QCOMPARE(blockOperation("BTN_ReaderIncrement"), QStringLiteral("7"));

        // Sector trailer: new conditions and key B written, then read back into cleared boxes.
        auto* sector = E2eWidget<QLineEdit>(window, "SAI_Sector");
        auto* trailerResult = E2eWidget<QLineEdit>(window, "SAI_TrailerReadResult");
        auto box = [&](int n, int m) {
            return E2eWidget<QCheckBox>(window, QString("CKB_C%1B%2").arg(n).arg(m).toLatin1().constData());
        };
        auto boxes = [&] {
            TrailerAccess access;
            for (int n = 0; n < 3; ++n)
                for (int m = 0; m < 4; ++m)
                    access.Bits[n][m] = box(n + 1, m)->isChecked();
            return access;
        };
        sector->setText("2");
        QTRY_VERIFY_WITH_TIMEOUT(window.Link().IsFree(), 10000);
        E2eWidget<QPushButton>(window, "BTN_TraillerRead")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!trailerResult->text().isEmpty(), 10000);
        QCOMPARE(TrailerAccessBytes(boxes()), (std::array<quint8, 4>{0xFF, 0x07, 0x80, 0x00}));

        TrailerAccess wanted; // block 0 a rechargeable value block, block 1 read-only, trailer as it was
        wanted.Bits[0][0] = wanted.Bits[1][0] = true;
        wanted.Bits[1][1] = true;
        wanted.Bits[2][3] = true;
        for (int n = 0; n < 3; ++n)
            for (int m = 0; m < 4; ++m)
                box(n + 1, m)->setChecked(wanted.Bits[n][m]);
        E2eWidget<QLineEdit>(window, "SAI_KeyA")->setText(TransportKey);
        E2eWidget<QLineEdit>(window, "SAI_KeyB")->setText("0x11 0x22 0x33 0x44 0x55 0x66");
        trailerResult->clear();
        QTRY_VERIFY_WITH_TIMEOUT(window.Link().IsFree(), 10000);
        E2eWidget<QPushButton>(window, "BTN_TraillerWrite")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!trailerResult->text().isEmpty(), 10000);
        const std::array<quint8, 4> bytes = TrailerAccessBytes(wanted);
        QCOMPARE(StateBlock(emulator.state(), "1A2B3C4D", 11).mid(6, 10),
                 QByteArray(reinterpret_cast<const char*>(bytes.data()), 4) +
                     QByteArray::fromHex("112233445566"));

        for (int n = 1; n <= 3; ++n)
            for (int m = 0; m < 4; ++m)
                box(n, m)->setChecked(false);
        E2eWidget<QLineEdit>(window, "SAI_KeyB")->clear();
        trailerResult->clear();
        QTRY_VERIFY_WITH_TIMEOUT(window.Link().IsFree(), 10000);
        E2eWidget<QPushButton>(window, "BTN_TraillerRead")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!trailerResult->text().isEmpty(), 10000);
        QCOMPARE(TrailerAccessBytes(boxes()), bytes);
        QCOMPARE(E2eWidget<QLineEdit>(window, "SAI_KeyB")->text(),
                 QStringLiteral("0x11 0x22 0x33 0x44 0x55 0x66"));
        // Block 1 is now read-only.
        block->setText("9");
        send->setText(HexText(QByteArray(16, '\x01')));
        QCOMPARE(blockOperation("BTN_ReaderWrite"), QStringLiteral("5"));
    }

    void blacklistAndAccess()
    {
        E2eEmulator emulator;
        QVERIFY(emulator.start());
        MainWindow window(emulator.port());
        QVERIFY(E2ePortOpen(window, emulator.port()));
        auto* status = E2eWidget<QLineEdit>(window, "SAI_BlackListStatus");
        auto* table = E2eWidget<QTableWidget>(window, "TABLE_BlackList");
        auto* send = E2eWidget<QPushButton>(window, "BTN_ZonesSendToReader");
        QTRY_VERIFY_WITH_TIMEOUT(send->isEnabled(), 10000);

        send->click();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Access Add->FIN"), 15000);
        QCOMPARE(emulator.fileRecords(18), (QStringList{"Zid=2;Grp=0;Cpt=3;Apb=1", "Zid=11;Grp=0;Cpt=0;Apb=0",
                                                        "Zid=0;Grp=1;Cpt=1;Apb=0"}));
        status->clear();
        E2eWidget<QPushButton>(window, "BTN_BlackListReadFromReader")->click();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Access Add->FIN"), 15000);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(RowTexts(table, 0), (QStringList{"", "1", "2", "0", "3"}));
        QCOMPARE(RowTexts(table, 1), (QStringList{"", "0", "11", "0", "0"}));
        QCOMPARE(RowTexts(table, 2), (QStringList{"", "0", "0", "1", "1"}));

        // The valid badge of the deck goes on the list, with a whole group.
        table->setRowCount(0);
        auto* newRow = E2eWidget<QPushButton>(window, "BTN_BlackListNew");
        const QList<QStringList> rows{{"04/12/26", "5E6F7081", "101", "0", "perdu"},
                                      {"", "", "", "7", "groupe suspendu"}};
        for (const QStringList& cells : rows) {
            newRow->click();
            for (int column = 0; column < 5; ++column)
                table->item(table->rowCount() - 1, column)->setText(cells.at(column));
        }
        E2eWidget<QPushButton>(window, "BTN_BlackListWriteToSupport")->click();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("LN Add->FIN"), 15000);
        const QStringList stored{"Cda=261204;UID=5E6F7081;Usr=101;Grp=0", "Cda=;UID=;Usr=;Grp=7"};
        QCOMPARE(emulator.fileRecords(5), stored);
        QCOMPARE(emulator.state().value("files").toObject().value("5").toVariant().toStringList(), stored);

        status->clear();
        E2eWidget<QPushButton>(window, "BTN_BlackListReadFromSupport")->click();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("LN Add->FIN"), 15000);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(RowTexts(table, 0), (QStringList{"", "", "101", "0", ""}));
        QCOMPARE(RowTexts(table, 1), (QStringList{"", "", "", "7", ""}));

        // Polling now refuses the listed badge, and no longer the one the old list named.
        auto support = E2eTexts(E2eWidget<QLineEdit>(window, "SAI_SupportStatus"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
        QCOMPARE(emulator.command("present 2"), QStringList());
        QTRY_VERIFY2_WITH_TIMEOUT(support->contains("En Liste Noire"), qPrintable(support->join('|')), 15000);
        support->clear();
        QCOMPARE(emulator.command("present 4"), QStringList());
        QTRY_VERIFY2_WITH_TIMEOUT(support->contains("Support OK"), qPrintable(support->join('|')), 15000);
        QVERIFY(!support->contains("En Liste Noire"));
        E2eWidget<QPushButton>(window, "BTN_BadgeRead")->click();
    }
};

QTEST_MAIN(TstE2eTransfers)
#include "tst_e2e_transfers.moc"
