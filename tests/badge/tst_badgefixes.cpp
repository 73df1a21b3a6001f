#include <QtTest>

#include <QComboBox>
#include <QLabel>

#include "access/groups.h"
#include "badge/badgetab.h"
#include "link/argids.h"
#include "tabbench.h"

namespace {
// The badge tab wired as the window wires it. Zones Z0 to Z11; group 0 (number 10) counts zones
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
    TestForm form;
    FakeLink link;
    ResultRouter router;
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    BadgeTab badge{&form.window, link, form.ui.TREE_AppsConfig, zones, &groups};
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
};

QTEST_MAIN(TstBadgeFixes)
#include "tst_badgefixes.moc"
