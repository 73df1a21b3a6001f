#include <QtTest>

#include <QComboBox>
#include <QLabel>

#include "access/groups.h"
#include "badge/accessrights.h"
#include "badge/badgetab.h"
#include "badge/experttab.h"
#include "link/argids.h"
#include "tabbench.h"

namespace {
QString Trailer(const QString& access)
{
    return "0xFF 0xFF 0xFF 0xFF 0xFF 0xFF " + access + " 0xFF 0xFF 0xFF 0xFF 0xFF 0xFF";
}

// Both tabs wired as the window wires them. Zones Z0 to Z11; group 0 (number 10) counts zones
// 0 and 3 on counter 2 and has zone 5 unlimited; group 1 (number 20) counts zone 1 on counter 1.
struct Bench
{
    Bench()
    {
        for (int zone = 0; zone < ZONE_COUNT; ++zone)
            zones[zone] = {true, QStringLiteral("Z%1").arg(zone)};
        CGROUP* first = GroupAdd(&groups, "Personnel", 10);
        first->Rules[0] = first->Rules[3] = {true, 2, 0, 0, 7};
        first->Rules[5] = {true, 0, 0, 0, 0};
        GroupAdd(&groups, "Visiteur", 20)->Rules[1] = {true, 1, 0, 0, 3};
        GroupListFill(&groups, form.ui.COMBO_Profil);
        badge.RegisterResults(router);
        expert.RegisterResults(router);
        QObject::connect(form.ui.COMBO_Profil, QOverload<int>::of(&QComboBox::currentIndexChanged),
                         &form.window, [this](int index) { badge.ProfilChanged(index); });
    }
    ~Bench() { qDeleteAll(groups); }
    void mode(bool create, int profile)
    {
        (create ? form.ui.BTN_BadgeCreate : form.ui.BTN_BadgeRead)->setChecked(true);
        create ? badge.BadgeCreateClicked() : badge.BadgeReadClicked();
        form.ui.COMBO_Profil->setCurrentIndex(profile);
    }
    void present() { router.Dispatch(ARG_SUPPORT_INSERTED, QStringLiteral("11100000")); }
    std::function<bool()> confirm(const char* question)
    {
        return [this, question] {
            asked << question;
            return answer;
        };
    }

    TestForm form;
    FakeLink link;
    ResultRouter router;
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    BadgeTab badge{&form.window, link, form.ui.TREE_AppsConfig, zones, &groups};
    QStringList asked;
    bool answer = false;
    ExpertTab expert{&form.window, link, confirm("freeze"), confirm("block 0")};
};
} // namespace

class TstBadgeFixes : public QObject
{
    Q_OBJECT

private slots:
    // A badge read while another profile is chosen: the group field, each counter row in use, the
    // unlimited zones, as the badge holds them.
    void badgeShownAsRead()
    {
        const struct
        {
            bool create;
            int profile;
            const char *record, *shown;
        } rows[] = {{true, 0, "Grp=1;Cn0=250", "1|Z1=2.50"},
                    {true, 1, "Grp=0;Cn1=700", "0|Z0\n+ Z3=7.00|Z5"},
                    {false, 0, "Grp=1;Grp=1;Cn0=100", "1|Z1=1.00"}};
        for (const auto& r : rows) {
            Bench b;
            b.mode(r.create, r.profile);
            b.present();
            b.link.answer = {1, true, '0', r.record};
            b.router.Dispatch(ARG_BADGE_READ_RESULT, QString());
            QStringList shown{r.record, b.form.ui.SAI_Grp->text()};
            for (const BadgeForm::CounterRow& row : b.badge.Form().CounterRows) {
                if (row.InUse)
                    shown << row.Label->text() + '=' + row.Value->text();
            }
            for (const QLabel* zone : b.badge.Form().ZoneLabels) {
                if (!zone->isHidden())
                    shown << zone->text();
            }
            QCOMPARE(shown.join('|'), QString(r.record) + '|' + r.shown);
        }
    }

    // A forced creation, then a write: the statuses when nothing is sent, else each record's counters.
    void invalidAmount()
    {
        const QString refused = "Création->ECHEC(montant invalide)|Ecriture ->ECHEC(montant invalide)";
        const QList<QPair<QString, QString>> rows{
            {"1.234", refused}, {"1.5.0", refused},    {"abc", refused},           {"-1", refused},
            {"1,5", refused},   {"42949673", refused}, {"12.50", "0=1250|0=1250"}, {"", "|"}};
        for (const auto& [amount, outcome] : rows) {
            Bench b;
            b.form.ui.CKB_CreationForce->setChecked(true);
            b.mode(true, 1);
            b.badge.Form().CounterRows[0].Value->setText(amount);
            b.badge.Form().CounterRows[3].Value->setText("abc"); // not in use
            b.present();
            QStringList shown{amount, b.form.ui.SAI_ProtocoleStatus->text()};
            b.badge.BadgeWriteClicked();
            shown << b.form.ui.SAI_ProtocoleStatus->text();
            if (!b.link.requests.isEmpty())
                shown = QStringList{amount, b.link.requests[0].payload.section(";Cn", 1),
                                    b.link.requests.last().payload.section(";Cn", 1)};
            QCOMPARE(shown.join('|'), amount + '|' + outcome);
        }
    }

    // Confirmations asked, then "sent" or what the answer field says.
    void rawWrite()
    {
        const QString broken = Trailer("0xFF 0x0F 0x0F 0x00"), frozen = Trailer("0xFF 0x0F 0x00 0x00");
        const QString refused = "|Erreur->Conditions d'accès invalides";
        const struct
        {
            const char* block;
            QString data;
            bool answer;
            QString outcome;
        } rows[] = {
            {"7", Trailer("0xFF 0x07 0x80 0x69"), false, "|sent"},
            {"007", broken, true, refused},
            {"3", broken.left(broken.lastIndexOf(' ')), true, refused}, // 15 bytes
            {"3", "FFFFFFFFFFFFFF078069FFFFFFFFFFFF", true, refused},
            {"3", frozen, false, "freeze|"},
            {"3", frozen, true, "freeze|sent"},
            {"143", broken, true, refused},  // a 4K card's trailer
            {"131", broken, false, "|sent"}, // and its data block
            {"0", "0x01", false, "block 0|"},
            {"0", "0x01", true, "block 0|sent"},
        };
        for (const auto& r : rows) {
            Bench b;
            b.answer = r.answer;
            b.form.fill(QString("SAI_KeyToUsed=K;SAI_BlockNumber=%1;SAI_ReaderSnd=").arg(r.block) + r.data);
            b.expert.BlockClicked(ExpertTab::BlockOperation::Write);
            const bool sent = !b.link.requests.isEmpty() &&
                              b.link.sent() == QString("RW|%1;0;K;%2|21|2000").arg(r.block, r.data);
            const QString data = b.form.ui.SAI_ReaderSnd->text();
            QCOMPARE(data + ':' + b.asked.join(',') + '|' + (sent ? "sent" : b.form.ui.SAI_ReaderRcv->text()),
                     r.data + ':' + r.outcome);
        }
    }

    // The card's access-condition tables, one row per C1 C2 C3: a data block's rights, the
    // trailer's, and whether its access bits are frozen for good.
    void accessRights_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("trailer");
        QTest::addColumn<bool>("freezes");
        const auto row = [](const char* bits, const char* data, const char* trailer, bool freezes) {
            QTest::newRow(bits) << QString::fromUtf8(data) << QString::fromUtf8(trailer) << freezes;
        };
        row("000", "lecture A|B, écriture A|B, incrément A|B, décrément A|B",
            "clé A écrite par A, bits d'accès lus par A, clé B lisible par A, clé B écrite par A", true);
        row("010", "lecture A|B", "bits d'accès lus par A, clé B lisible par A", true);
        row("100", "lecture A|B, écriture B",
            "clé A écrite par B, bits d'accès lus par A|B, clé B écrite par B", true);
        row("110", "lecture A|B, écriture B, incrément B, décrément A|B", "bits d'accès lus par A|B", true);
        row("001", "lecture A|B, décrément A|B",
            "clé A écrite par A, bits d'accès lus par A, bits d'accès écrits par A, clé B lisible par A, "
            "clé B écrite par A",
            false);
        row("011", "lecture B, écriture B",
            "clé A écrite par B, bits d'accès lus par A|B, bits d'accès écrits par B, clé B écrite par B",
            false);
        row("101", "lecture B", "bits d'accès lus par A|B, bits d'accès écrits par B", false);
        row("111", "aucun accès", "bits d'accès lus par A|B", true);
    }

    // The same condition on all four blocks, read from a card's trailer into the boxes.
    void accessRights()
    {
        QFETCH(QString, data);
        QFETCH(QString, trailer);
        TrailerAccess access;
        for (int n = 0; n < 3; ++n)
            std::fill_n(access.Bits[n], 4, QTest::currentDataTag()[n] == '1');
        quint8 block[MIFARE_BLOCK_SIZE] = {};
        const auto bytes = TrailerAccessBytes(access);
        std::copy(bytes.begin(), bytes.end(), block + TRAILER_ACCESS_OFFSET);
        QVERIFY(TrailerAccessDecode(block).consistent);
        QTEST(TrailerAccessFreezes(TrailerAccessDecode(block).access), "freezes");
        Bench b;
        b.link.answer = {1, true, '0', TrailerBytesText(block, MIFARE_BLOCK_SIZE)};
        b.router.Dispatch(ARG_COUPLEUR_TRAILER_READ_RESULT, QString());
        auto* label = b.form.widget<QLabel>("LAB_AccessRights");
        QCOMPARE(label->text(),
                 QString("Bloc 0 : %1\nBloc 1 : %1\nBloc 2 : %1\nTrailer : %2").arg(data, trailer));
        // A box the operator sets changes its block's line at once.
        b.form.widget<QCheckBox>("CKB_C1B1")->setChecked(QTest::currentDataTag()[0] == '0');
        QVERIFY(label->text().section('\n', 1, 1) != "Bloc 1 : " + data);
    }
};

QTEST_MAIN(TstBadgeFixes)
#include "tst_badgefixes.moc"
