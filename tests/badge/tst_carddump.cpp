#include <QtTest>

#include <QCheckBox>
#include <QTemporaryDir>
#include <tuple>

#include "badge/carddump.h"
#include "badge/cardkeys.h"
#include "badge/cardview.h"
#include "filesizelimit.h"
#include "readermodel.h"
#include "tabbench.h"
#include "testfiles.h"
#include "transfer/chainguard.h"

namespace {
const QByteArray SYSTEM = QByteArray::fromHex("5A17C3882E91");
// The emulator's deck: the valid badge, a badge whose sectors 8 to 10 open with keys of their
// own, the same with sector 12 locked, and a UID-writable blank card.
constexpr int NONE = -1, BADGE = 1, MULTI_KEY = 5, LOCKED = 6, MAGIC_BLANK = 7;

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
        dump.keys[size_t(s)] = {SYSTEM, s == 5 ? QByteArray() : SYSTEM, 'A'};
        dump.TrailerKeysFill(s);
    }
    return dump;
}

// The card view on a bare form, its requests answered by the emulator's reader model.
struct Bench
{
    Bench()
        : view(&form.window, link, guard,
               {[this](auto, auto, auto, auto) { return path; }, [this](const QString& e) { errors << e; },
                [this](const QList<int>& sectors) { return asked << sectors, confirm; }})
    {
        view.RegisterResults(router);
        form.widget("SAI_KeyToUsed")->setText(CardKeyText(SYSTEM));
        path = dir.filePath("card.mfd");
    }
    // A "timeout" answers request number at; a "cancel" comes while it is in flight.
    void on(int card, const QString& fault = {}, int at = -1)
    {
        QStringList debug;
        card == NONE ? void(model.remove()) : void(model.present(card, &debug));
        link.reader = [=](const FakeLink::Request& r, int i) -> FakeLink::Answer {
            if (i == at && fault == "cancel")
                view.CancelClicked();
            if (i == at && fault == "timeout")
                return {1, false, 0, {}};
            const ReaderModel::Answer a = model.handle(r.letter, r.subLetter, r.payload.toUtf8());
            return {1, true, a.status, QString::fromUtf8(a.payload)};
        };
    }
    QByteArray memory(int card) const { return model.cards().at(card).chip.memory(); }
    int run(void (CardView::*click)())
    {
        const int before = link.requests.size();
        (view.*click)();
        link.Serve(router);
        return link.requests.size() - before;
    }
    QString status() const { return form.widget("SAI_CardStatus")->text(); }

    TestForm form;
    FakeLink link;
    ChainGuard guard;
    ResultRouter router;
    ReaderModel model;
    QTemporaryDir dir;
    QString path;
    QStringList errors;
    QList<QList<int>> asked;
    bool confirm = false;
    CardView view;
};
} // namespace

class TstCardDump : public QObject
{
    Q_OBJECT

private slots:
    void files()
    {
        using F = CardFileFormat;
        const QByteArray raw = CardDumpSerialize(Sample(), F::Raw);
        const QByteArray eml = CardDumpSerialize(Sample(), F::Eml);
        const QByteArray json = CardDumpSerialize(Sample(), F::Json);
        // A part of the reason; none when accepted.
        const std::tuple<F, QByteArray, QString> rows[] = {
            {F::Raw, raw, ""},
            {F::Eml, eml, ""},
            {F::Eml, QByteArray(eml).replace("\n", "\r\n"), ""},
            {F::Json, json, ""},
            {F::Raw, raw.left(CARD_SIZE - 1), "1023"},
            {F::Eml, QByteArray(eml).replace(2 * 33 + 5, 1, "G"), "ligne 3 "},
            {F::Eml, QByteArray(eml).remove(0, 1), "ligne 1 "},
            {F::Eml, eml.left(eml.size() - 33), "63"},
            {F::Json, "{\"blocks\": []}", "JSON"},
            {F::Json, QByteArray(json).remove(json.indexOf("null,"), 5), "64"},
            {F::Json, QByteArray(json).replace("\"0000", "\"zz00"), "bloc 0 "},
            {F::Json, QByteArray(json).replace("\"keyA\": \"5A17C3882E91\"", "\"keyA\": \"A0A1A2A3A4A5\""),
             "secteur 0 "},
            {F::Json, QByteArray(json).replace("\"A\"", "\"C\""), "secteur 0 "},
            {F::Unknown, raw, "extension"},
        };
        for (const auto& [format, content, error] : rows) {
            // Loaded over another dump, which a refused file leaves as it was.
            CardDump loaded;
            loaded.blocks[7] = QByteArray(CARD_BLOCK_SIZE, 'x');
            const CardDump before = loaded;
            QString reason;
            QVERIFY2(CardDumpParse(content, format, &loaded, &reason) == error.isEmpty() &&
                         reason.contains(error),
                     qPrintable(error + " | " + reason));
            if (!error.isEmpty()) {
                QCOMPARE(loaded.blocks, before.blocks);
                continue;
            }
            // An unread sector is a blank one in the raw forms; only JSON knows it was not read.
            QCOMPARE(CardDumpSerialize(loaded, F::Raw), raw);
            QCOMPARE(raw.mid(8 * 16, 64), QByteArray(48, 0) + CardBlankTrailer());
            const bool isJson = format == F::Json;
            QCOMPARE(loaded.SectorRead(2), !isJson);
            QCOMPARE(loaded.keys[5].keyB.isEmpty(), isJson);
            QCOMPARE(loaded.keys[3].openedBy, isJson ? 'A' : char(0));
        }
    }

    void diffAndRestoreCheck()
    {
        const CardDump d = Sample();
        CardDump card = d;
        card.blocks[5][0] = 'x';   // data differs
        card.blocks[13].clear();   // not read on the card
        card.keys[4].keyA.clear(); // key A unknown: not compared
        card.blocks[23][7] = 0x0F; // access bytes differ
        card.keys[6].keyB = QByteArray(6, 1);
        QCOMPARE(CardDumpDiff(d, card), (QList<int>{5, 13, 23, 27}));
        QCOMPARE(CardDumpDiff(d, card, {5, 27}), (QList<int>{13, 23}));
        card = d;
        card.blocks[size_t(CardDump::TrailerOf(4))][6] = 0x7E; // inverted copy disagrees
        for (const int s : {3, 6})
            card.blocks[size_t(CardDump::TrailerOf(s))].replace(6, 3, QByteArray::fromHex("778788"));
        const CardRestoreProblems problems = CardRestoreCheck(card);
        QCOMPARE(problems.inconsistent, QList<int>{4});
        QCOMPARE(problems.freezing, (QList<int>{3, 6}));
    }

    void keyFile()
    {
        // The keys, or a part of the reason.
        const std::pair<QByteArray, QString> rows[] = {
            {"# site\nA0A1A2A3A4A5\n\n 0xD3 0xf7 0xD3 0xF7 0xD3 0xF7 # n\r\n", "A0A1A2A3A4A5 D3F7D3F7D3F7"},
            {"A0A1A2A3A4", "ligne 1 "},
            {"A0A1A2A3A4A5\nA0A1A2A3A4AG", "ligne 2 "},
            {"0x01 0x02 0x03 0x04 0x05 0x06 0x07", "ligne 1 "},
            {"# nothing\n\n", "aucune"},
            {QByteArray("A0A1A2A3A4A5\n").repeated(4097), "4096"}, // a locked card would take hours
        };
        for (const auto& [content, expected] : rows) {
            QList<QByteArray> keys{SYSTEM};
            QString error;
            const bool ok = CardKeysParse(content, &keys, &error);
            QStringList hex;
            for (const QByteArray& key : keys)
                hex << QString::fromLatin1(key.toHex().toUpper());
            // A refused file leaves the keys as they were.
            QVERIFY2(ok ? hex.join(' ') == expected : error.contains(expected) && keys == QList{SYSTEM},
                     qPrintable(hex.join(' ') + " | " + error));
        }
    }

    // Requests sent and status for each card and fault: key fallback order, unread sectors, failures.
    void read()
    {
        const std::tuple<int, bool, QString, int, QString> rows[] = {
            // Field key: trailer, other key, three data blocks a sector; sector 0 opens with the second.
            {BADGE, false, "", 80, "->OK (16/16 secteurs)"},
            // Sector 0 refuses the six keys as key B, then opens as key A.
            {BADGE, true, "", 86, "->OK (16/16 secteurs)"},
            // Sectors 8 to 10: 7, 3 and 9 refused keys.
            {MULTI_KEY, false, "", 99, "->OK (16/16 secteurs)"},
            // Sector 12: twelve refused, no data read.
            {LOCKED, false, "", 106, "->PARTIEL (15/16 secteurs)"},
            {BADGE, false, "timeout", 11, "->ECHEC"},
            {NONE, false, "", 1, "->ECHEC"},
            {BADGE, false, "cancel", 11, "->ANNULE"}, // the request in flight still answers
        };
        for (const auto& [card, keyB, fault, sent, status] : rows) {
            Bench bench;
            bench.form.widget<QCheckBox>("CKB_KeyType")->setChecked(keyB);
            bench.on(card, fault, 10);
            QCOMPARE(bench.run(&CardView::DumpClicked), sent);
            QCOMPARE(bench.status(), "Lecture carte" + status);
            const CardDump& dump = bench.view.Dump();
            QCOMPARE(dump.SectorsRead(), status.contains("16/16") ? 16 : card == LOCKED ? 15 : 0);
            if (card == LOCKED)
                QVERIFY(!dump.SectorRead(12) && dump.keys[10].keyB == QByteArray::fromHex("B0B1B2B3B4B5"));
        }
    }

    // The multi-key badge read, saved, edited, loaded and restored on the blank card.
    void restore()
    {
        // sector=access bytes written into the saved file, block 0 ticked, freezing confirmed.
        const std::tuple<QString, bool, bool, QList<int>, QString> rows[] = {
            {"", false, false, {}, "Ecriture carte->OK (vérifiée)"},
            {"", true, false, {}, "Ecriture carte->OK (vérifiée)"},
            {"4=7E0788", false, true, {}, "Erreur->"},
            {"3=778788 6=778788", false, false, {3, 6}, "Ecriture carte->ANNULE"},
            {"3=778788 6=778788", false, true, {3, 6}, "Ecriture carte->OK (vérifiée)"},
        };
        for (const auto& [access, block0, confirm, asked, status] : rows) {
            Bench bench;
            bench.on(MULTI_KEY);
            bench.run(&CardView::DumpClicked);
            bench.run(&CardView::SaveClicked);
            QByteArray file = FileBytes(bench.path);
            for (const QString& edit : access.split(' ', Qt::SkipEmptyParts))
                file.replace((edit.section('=', 0, 0).toInt() * 4 + 3) * 16 + 6, 3,
                             QByteArray::fromHex(edit.section('=', 1).toLatin1()));
            QVERIFY(FileWrite(bench.path, file));
            bench.run(&CardView::LoadClicked);

            bench.on(MAGIC_BLANK);
            bench.confirm = confirm;
            bench.form.widget<QCheckBox>("CKB_CardWriteBlock0")->setChecked(block0);
            const int before = bench.link.requests.size();
            const int sent = bench.run(&CardView::RestoreClicked);
            QVERIFY2(bench.status().startsWith(status), qPrintable(bench.status()));
            QCOMPARE(bench.asked, asked.isEmpty() ? QList<QList<int>>() : QList<QList<int>>{asked});
            if (!status.contains("->OK")) {
                QCOMPARE(sent, 0);
                continue;
            }
            // Sector by sector, data blocks then trailer; block 0 only when ticked.
            QList<int> order, written;
            for (int b = block0 ? 0 : 1; b < CARD_BLOCKS; ++b)
                order << b;
            for (const FakeLink::Request& r : bench.link.requests.mid(before))
                if (r.subLetter == 'W')
                    written << r.payload.section(';', 0, 0).toInt();
            QCOMPARE(written, order);
            const int from = block0 ? 0 : 16;
            if (access.isEmpty())
                QCOMPARE(bench.memory(MAGIC_BLANK).mid(from), bench.memory(MULTI_KEY).mid(from));
            // The read-back left out the target's own block 0, which a compare finds.
            QCOMPARE(bench.run(&CardView::CompareClicked), 87); // the dump's keys are tried second
            QCOMPARE(bench.status().endsWith("(blocs 0)"), !block0);
            QVERIFY(bench.errors.isEmpty());
        }
    }

    // A save that fails half-way leaves the file that was there.
    void saveKeepsOldFile()
    {
        Bench bench;
        bench.on(BADGE);
        bench.run(&CardView::DumpClicked);
        QVERIFY(FileWrite(bench.path, "old"));
        {
            FileSizeLimit limit(100);
            QVERIFY(limit.isActive());
            bench.run(&CardView::SaveClicked);
        }
        QCOMPARE(bench.errors.size(), 1);
        QCOMPARE(FileBytes(bench.path), QByteArray("old"));
    }
};

QTEST_MAIN(TstCardDump)
#include "tst_carddump.moc"
