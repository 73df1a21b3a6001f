#include <QtTest>

#include <QCheckBox>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include "badge/cardkeys.h"
#include "badge/cardview.h"
#include "readermodel.h"
#include "tabbench.h"
#include "transfer/chainguard.h"

namespace {
const QByteArray SYSTEM = QByteArray::fromHex("5A17C3882E91");
// The emulator's default deck: its valid badge, a badge whose sectors 8 to 10 open with keys of
// their own, the same with sector 12 locked, and a UID-writable blank card.
enum Card
{
    NONE = -1,
    BADGE = 1,
    MULTI_KEY = 5,
    LOCKED = 6,
    MAGIC_BLANK = 7
};

struct Bench
{
    Bench()
        : view(&form.window, link, guard,
               {[this](auto, auto, auto, auto) { return path; }, [this](const QString& e) { errors << e; },
                [this](const QList<int>& sectors) { return asked << sectors, confirm; }})
    {
        view.RegisterResults(router);
        form.widget("SAI_KeyToUsed")->setText(CardKeyText(SYSTEM));
        on(BADGE);
    }
    // The card on the emulator's reader model; a "timeout" at request number at, or a "cancel"
    // while it is in flight.
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
    QString cell(int row, int column) const
    {
        return form.widget<QTableWidget>("TABLE_Card")->item(row, column)->text();
    }

    TestForm form;
    FakeLink link;
    ChainGuard guard;
    ResultRouter router;
    ReaderModel model;
    QString path;
    QStringList errors;
    QList<QList<int>> asked;
    bool confirm = false;
    CardView view;
};
} // namespace

class TstCardDumpChain : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<int>("card");
        QTest::addColumn<bool>("keyB");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("exchanges");
        // With the field's key: the trailer, the other key, three data blocks a sector; sector 0
        // opens with the second key and shows its key B.
        QTest::newRow("field key") << int(BADGE) << false << ""
                                   << "Lecture carte->OK (16/16 secteurs)" << 80;
        // Sector 0 refuses the six keys as key B, then opens as key A.
        QTest::newRow("key B first") << int(BADGE) << true << ""
                                     << "Lecture carte->OK (16/16 secteurs)" << 86;
        // Sectors 8 to 10: 7, 3 and 9 refused keys.
        QTest::newRow("keys of their own") << int(MULTI_KEY) << false << ""
                                           << "Lecture carte->OK (16/16 secteurs)" << 99;
        // Sector 12: twelve refused, no data read.
        QTest::newRow("locked sector") << int(LOCKED) << false << ""
                                       << "Lecture carte->PARTIEL (15/16 secteurs)" << 106;
        QTest::newRow("time-out") << int(BADGE) << false << "timeout"
                                  << "Lecture carte->ECHEC" << 11;
        QTest::newRow("no card") << int(NONE) << false << ""
                                 << "Lecture carte->ECHEC" << 1;
        QTest::newRow("cancel") << int(BADGE) << false << "cancel"
                                << "Lecture carte->ANNULE" << 11;
    }
    void read()
    {
        QFETCH(int, card);
        QFETCH(bool, keyB);
        QFETCH(QString, fault);
        QFETCH(QString, status);
        QFETCH(int, exchanges);
        Bench bench;
        bench.form.widget<QCheckBox>("CKB_KeyType")->setChecked(keyB);
        bench.on(card, fault, 10);
        QCOMPARE(bench.run(&CardView::DumpClicked), exchanges);
        QCOMPARE(bench.status(), status);
        const bool read = status.contains("->OK") || status.contains("PARTIEL");
        QCOMPARE(bench.view.Dump().IsEmpty(), !read);
        if (card != LOCKED)
            return;
        QCOMPARE(bench.cell(51, 5), "aucune clé");
        QCOMPARE(bench.cell(48, 2), "non lu");
        QCOMPARE(bench.cell(35, 5), "A : 0xA0 0xA1 0xA2 0xA3 0xA4 0xA5");
        QCOMPARE(bench.cell(36, 3), "Secteur 9 D3F7..");
        QCOMPARE(bench.view.Dump().keys[10].keyB, QByteArray::fromHex("B0B1B2B3B4B5"));
    }

    void restore_data()
    {
        QTest::addColumn<QString>("access"); // sector=access bytes written into the dump file
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QList<int>>("asked");
        QTest::newRow("clone") << "" << false << "Ecriture carte->OK (vérifiée)" << QList<int>();
        QTest::newRow("inconsistent")
            << "4=7E0788" << true << "Erreur->Conditions d'accès invalides (secteurs 4)" << QList<int>();
        QTest::newRow("freeze refused")
            << "3=778788 6=778788" << false << "Ecriture carte->ANNULE" << QList<int>{3, 6};
        QTest::newRow("freeze accepted")
            << "3=778788 6=778788" << true << "Ecriture carte->OK (vérifiée)" << QList<int>{3, 6};
    }
    void restore()
    {
        QFETCH(QString, access);
        QFETCH(bool, confirm);
        QFETCH(QString, status);
        QFETCH(QList<int>, asked);
        Bench bench;
        bench.on(MULTI_KEY);
        bench.run(&CardView::DumpClicked);
        QTemporaryDir dir;
        bench.path = dir.filePath("card.mfd");
        bench.run(&CardView::SaveClicked);
        QFile file(bench.path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        for (const QString& edit : access.split(' ', Qt::SkipEmptyParts)) {
            file.seek((edit.section('=', 0, 0).toInt() * 4 + 3) * 16 + 6);
            file.write(QByteArray::fromHex(edit.section('=', 1).toLatin1()));
        }
        file.close();
        bench.run(&CardView::LoadClicked);

        bench.on(MAGIC_BLANK);
        bench.confirm = confirm;
        const int before = bench.link.requests.size();
        const int sent = bench.run(&CardView::RestoreClicked);
        QCOMPARE(bench.status(), status);
        QCOMPARE(bench.asked.value(0), asked); // asked once at most
        QVERIFY(bench.asked.size() <= 1);
        if (!status.contains("->OK")) {
            QCOMPARE(sent, 0);
            return;
        }
        // Sector by sector, data blocks then trailer; block 0 stays the target's.
        QList<int> order, written;
        for (int b = 1; b < CARD_BLOCKS; ++b)
            order << b;
        for (const FakeLink::Request& r : bench.link.requests.mid(before))
            if (r.subLetter == 'W')
                written << r.payload.section(';', 0, 0).toInt();
        QCOMPARE(written, order);
        if (access.isEmpty())
            QCOMPARE(bench.memory(MAGIC_BLANK).mid(16), bench.memory(MULTI_KEY).mid(16));
        QCOMPARE(bench.run(&CardView::CompareClicked), 87); // the dump's keys are tried second
        QCOMPARE(bench.status(), "Comparaison carte->DIFFERENCES (blocs 0)");
        QCOMPARE(bench.cell(0, 6), "différent");
        QVERIFY(bench.errors.isEmpty());
    }
};

QTEST_MAIN(TstCardDumpChain)
#include "tst_carddumpchain.moc"
