#include <QtTest>

#include "badge/carddump.h"
#include "badge/cardkeys.h"
#include "badge/trailerbits.h"

namespace {
const QByteArray SYSTEM_KEY = QByteArray::fromHex("5A17C3882E91");

// Data blocks hold their number; sector 2 was not read; sector 5's key B stayed hidden.
CardDump Sample()
{
    CardDump dump;
    for (int s = 0; s < CARD_SECTORS; ++s) {
        if (s == 2)
            continue;
        for (int m = 0; m < CARD_SECTOR_BLOCKS - 1; ++m)
            dump.blocks[size_t(s * 4 + m)] = QByteArray(CARD_BLOCK_SIZE, char(s * 4 + m));
        dump.blocks[size_t(CardDump::TrailerOf(s))] =
            QByteArray(6, 0) + QByteArray::fromHex("7F078869") + QByteArray(6, 0);
        dump.keys[size_t(s)] = {SYSTEM_KEY, s == 5 ? QByteArray() : SYSTEM_KEY, 'A'};
        dump.TrailerKeysFill(s);
    }
    return dump;
}

QByteArray Cut(QByteArray text, const char* what)
{
    return text.remove(text.indexOf(what), int(qstrlen(what)));
}
} // namespace

class TstCardDump : public QObject
{
    Q_OBJECT

private slots:
    void files_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        const CardDump d = Sample();
        const QByteArray raw = CardDumpSerialize(d, CardFileFormat::Raw);
        const QByteArray eml = CardDumpSerialize(d, CardFileFormat::Eml);
        const QByteArray json = CardDumpSerialize(d, CardFileFormat::Json);
        const auto row = [](const char* name, CardFileFormat f, const QByteArray& content,
                            const char* error) {
            QTest::newRow(name) << int(f) << content << QString::fromUtf8(error);
        };
        row("mfd", CardFileFormat::Raw, raw, "");
        row("eml", CardFileFormat::Eml, eml, "");
        row("eml, CRLF", CardFileFormat::Eml, QByteArray(eml).replace("\n", "\r\n"), "");
        row("json", CardFileFormat::Json, json, "");
        row("mfd of 1023 bytes", CardFileFormat::Raw, raw.left(CARD_SIZE - 1), "taille 1023 octets");
        row("eml text named .mfd", CardFileFormat::Raw, eml, "taille");
        row("eml bad hex", CardFileFormat::Eml, QByteArray(eml).replace(2 * 33 + 5, 1, "G"), "ligne 3 ");
        row("eml short line", CardFileFormat::Eml, QByteArray(eml).remove(0, 1), "ligne 1 ");
        row("eml of 63 lines", CardFileFormat::Eml, eml.left(eml.size() - 33), "63 lignes");
        row("json of another kind", CardFileFormat::Json, "{\"blocks\": []}", "pas un vidage");
        row("json of 63 blocks", CardFileFormat::Json, Cut(json, "null,"), "64 blocs");
        row("json bad block", CardFileFormat::Json, QByteArray(json).replace("\"0000", "\"zz00"), "bloc 0 ");
        row("json key not in trailer", CardFileFormat::Json,
            QByteArray(json).replace("\"keyA\": \"5A17C3882E91\"", "\"keyA\": \"A0A1A2A3A4A5\""),
            "secteur 0 ");
        row("json opened by C", CardFileFormat::Json, QByteArray(json).replace("\"A\"", "\"C\""),
            "secteur 0 ");
        row("other extension", CardFileFormat::Unknown, raw, "extension");
    }
    void files()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        // Loaded over another dump, which a refused file leaves as it was.
        CardDump loaded;
        loaded.blocks[7] = QByteArray(CARD_BLOCK_SIZE, 'x');
        const CardDump before = loaded;
        QString reason;
        QCOMPARE(CardDumpParse(content, CardFileFormat(format), &loaded, &reason), error.isEmpty());
        if (!error.isEmpty()) {
            QVERIFY2(reason.contains(error), qPrintable(reason));
            QCOMPARE(loaded.blocks, before.blocks);
            return;
        }
        const CardDump d = Sample();
        QCOMPARE(CardDumpSerialize(loaded, CardFileFormat::Raw), CardDumpSerialize(d, CardFileFormat::Raw));
        // Only JSON knows what was not read.
        const bool json = CardFileFormat(format) == CardFileFormat::Json;
        QCOMPARE(loaded.SectorRead(2), !json);
        QCOMPARE(loaded.keys[5].keyB.isEmpty(), json);
        QCOMPARE(loaded.keys[3].openedBy, json ? 'A' : char(0));
    }

    void blankSectorAndDiff()
    {
        const CardDump d = Sample();
        const QByteArray raw = CardDumpSerialize(d, CardFileFormat::Raw);
        QCOMPARE(raw.mid(8 * 16, 48), QByteArray(48, 0));
        QCOMPARE(raw.mid(11 * 16, 16), QByteArray::fromHex("FFFFFFFFFFFFFF078069FFFFFFFFFFFF"));
        CardDump card = d;
        card.blocks[5][0] = 'x';   // data differs
        card.blocks[13].clear();   // not read on the card
        card.keys[4].keyA.clear(); // key A unknown: not compared
        card.blocks[23][7] = 0x0F; // access bytes differ
        card.keys[6].keyB = QByteArray(6, 1);
        QCOMPARE(CardDumpDiff(d, card), (QList<int>{5, 13, 23, 27}));
        QCOMPARE(CardDumpDiff(d, card, {5, 27}), (QList<int>{13, 23}));
    }

    void restoreCheck()
    {
        CardDump d = Sample();
        d.blocks[size_t(CardDump::TrailerOf(4))][6] = 0x7E; // inverted copy disagrees
        for (const int s : {3, 6})
            d.blocks[size_t(CardDump::TrailerOf(s))].replace(6, 3, QByteArray::fromHex("778788"));
        const CardRestoreProblems problems = CardRestoreCheck(d);
        QCOMPARE(problems.inconsistent, QList<int>{4});
        QCOMPARE(problems.freezing, (QList<int>{3, 6}));
    }

    void keyFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both forms") << QByteArray(
                                           "# site\nA0A1A2A3A4A5\n\n 0xD3 0xf7 0xD3 0xF7 0xD3 0xF7 # nfc\r\n")
                                    << "A0A1A2A3A4A5 D3F7D3F7D3F7";
        QTest::newRow("five bytes") << QByteArray("A0A1A2A3A4") << "ligne 1 ";
        QTest::newRow("bad digit") << QByteArray("A0A1A2A3A4A5\nA0A1A2A3A4AG") << "ligne 2 ";
        QTest::newRow("seven bytes") << QByteArray("0x01 0x02 0x03 0x04 0x05 0x06 0x07") << "ligne 1 ";
        QTest::newRow("no key") << QByteArray("# nothing\n\n") << "aucune clé";
    }
    void keyFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QList<QByteArray> keys{SYSTEM_KEY};
        QString error;
        if (CardKeysParse(content, &keys, &error)) {
            QStringList hex;
            for (const QByteArray& key : keys)
                hex << QString::fromLatin1(key.toHex().toUpper());
            QCOMPARE(hex.join(' '), expected);
        } else {
            QVERIFY2(error.contains(expected), qPrintable(error));
            QCOMPARE(keys, QList<QByteArray>{SYSTEM_KEY});
        }
    }
};

QTEST_GUILESS_MAIN(TstCardDump)
#include "tst_carddump.moc"
