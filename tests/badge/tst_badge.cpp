#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "access/groups.h"
#include "badge/accessrights.h"
#include "badge/badgerecord.h"
#include "badge/badgetab.h"
#include "badge/experttab.h"
#include "badge/supportstatus.h"
#include "badge/trailerbits.h"
#include "link/argids.h"
#include "tabbench.h"

namespace {

const QString Key = "0x5A 0x17 0xC3 0x88 0x2E 0x91";

QString Trailer(const QString& access)
{
    return "0xFF 0xFF 0xFF 0xFF 0xFF 0xFF " + access + " 0xFF 0xFF 0xFF 0xFF 0xFF 0xFF";
}

// Both tabs on a bare form, wired as the window wires them. Zones Z0 to Z11; group 0 (number 10)
// counts zones 0 and 3 on counter 2 and has zone 5 unlimited; group 1 (number 20) counts zone 1
// on counter 1.
struct Bench
{
    Bench()
    {
        for (int zone = 0; zone < ZONE_COUNT; ++zone)
            zones[zone] = {true, QStringLiteral("Z%1").arg(zone)};
        CGROUP* first = GroupAdd(&groups, "Personnel", 10);
        first->Rules[0] = {true, 2, 0, 0, 5};
        first->Rules[3] = {true, 2, 0, 0, 7};
        first->Rules[5] = {true, 0, 0, 0, 0};
        GroupAdd(&groups, "Visiteur", 20)->Rules[1] = {true, 1, 0, 0, 3};
        GroupListFill(&groups, form.ui.COMBO_Profil);
        badge.RegisterResults(router);
        expert.RegisterResults(router);
        QObject::connect(form.ui.COMBO_Profil, QOverload<int>::of(&QComboBox::currentIndexChanged),
                         &form.window, [this](int index) { badge.ProfilChanged(index); });
    }
    ~Bench() { qDeleteAll(groups); }
    void mode(bool create, int profile = -1)
    {
        (create ? form.ui.BTN_BadgeCreate : form.ui.BTN_BadgeRead)->setChecked(true);
        create ? badge.BadgeCreateClicked() : badge.BadgeReadClicked();
        if (profile >= 0)
            form.ui.COMBO_Profil->setCurrentIndex(profile);
    }
    void reply(unsigned int id, const FakeLink::Answer& answer)
    {
        link.answer = answer;
        router.Dispatch(id, QString());
    }
    // "UID|Usr|Grp|...", then each counter row in use ("zones=value") and each unlimited zone shown.
    QString shown(const char* names = "SAI_UID SAI_Usr SAI_Grp")
    {
        QStringList out{form.texts(names)};
        for (const BadgeForm::CounterRow& row : badge.Form().CounterRows) {
            if (row.InUse)
                out << row.Label->text() + '=' + row.Value->text();
        }
        for (const QLabel* zone : badge.Form().ZoneLabels) {
            if (!zone->isHidden())
                out << zone->text();
        }
        return out.join('|');
    }
    std::function<bool()> confirm(const char* question)
    {
        return [this, question] { return asked << question, answer; };
    }
    QCheckBox* box(int n, int m) const
    {
        return form.widget<QCheckBox>(QStringLiteral("CKB_C%1B%2").arg(n).arg(m));
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

// The badge record and polling status codecs, the access conditions, and the "Clé/Carte" and
// "Expert" tabs on a fake link.
class TstBadge : public QObject
{
    Q_OBJECT

private slots:
    void codecs()
    {
        // Fields to record: empty texts, a creation date that is not one, counters not in use left out.
        BadgeFields fields;
        QString record;
        QVERIFY(BadgeRecordBuild(fields, &record));
        QCOMPARE(record, QStringLiteral("Tyc="));
        fields.type = BADGE_TYPE_ACCES;
        fields.usr = "15";
        fields.grp = "2";
        fields.validity = QDate(2027, 12, 31);
        fields.creation = "29/02/00"; // a leap day of 2000, not of 1900
        fields.nal = "Test";
        fields.counterInUse[0] = fields.counterInUse[1] = true;
        fields.counters[0] = "1.5";
        fields.counters[2] = "abc"; // not in use
        QVERIFY(BadgeRecordBuild(fields, &record));
        QCOMPARE(record, QStringLiteral("Tyc=128;Usr=15;Grp=2;Vda=271231;Cda=000229;Nal=Test;Cn0=150"));
        for (const char* amount : {"1.234", "1.5.0", "abc", "-1", "1,5", "42949673"}) {
            fields.counters[1] = amount; // in use: the badge cannot be built
            QVERIFY2(!BadgeRecordBuild(fields, &record), amount);
        }

        // Record to items: "Grp" first, values between the first and second "=", undecodable fields out.
        const std::pair<const char*, const char*> rows[] = {
            {"Cn3=1205;Cn8=100;Cnx=100;Cn31=100", "Counter 3 12.05|Counter 3 1.00"},
            {"Vda=991231;Vda=991331;Cda=261204", "Validity 2099-12-31|Creation 2026-12-04"},
            {"UID=04A1;Nal=Du=pont;Usr;Uni=4;usr=9;Tyc=16;Tyc=x",
             "Text UID 04A1|Text Nal Du|Text Usr |Type 16"},
            {"Cn0=1250;Grp=1;Grp=x", "Group 1 1|Group -1 x|Counter 0 12.50"}};
        const char* kinds[] = {"Text", "Type", "Group", "Validity", "Creation", "Counter"};
        for (const auto& [text, items] : rows) {
            QStringList out;
            for (const BadgeItem& item : BadgeRecordItems(text)) {
                const QString kind = kinds[int(item.kind)];
                out << (item.date.isValid()                  ? kind + ' ' + item.date.toString(Qt::ISODate)
                        : item.kind == BadgeItem::Kind::Text ? kind + ' ' + item.key + ' ' + item.value
                        : item.kind == BadgeItem::Kind::Type
                            ? kind + ' ' + QString::number(item.number)
                            : kind + ' ' + QString::number(item.number) + ' ' + item.value);
            }
            QCOMPARE(out.join('|'), QString(items));
        }

        // "status text|creatable|readable" of polling statuses; the insertion flag is character 1.
        for (const QString row :
             {"11100000 Support OK|0|1", "11001000 En Liste Noire|0|1", "11005000 Intégrité erreur|1|1",
              "11006123 Lecture erreur(123)|0|0", "11007000 Support Inconnu|1|0",
              "11009000 Erreur protocole|0|0", "11010000 |0|0", "110ab000 |0|1", "110-1000 |0|0"}) {
            const SupportStatus s = SupportStatusDecode(row.section(' ', 0, 0));
            QVERIFY(s.inserted);
            QCOMPARE(QStringLiteral("%1|%2|%3").arg(s.text).arg(s.creatable).arg(s.readable),
                     row.section(' ', 1));
        }
        QVERIFY(!SupportStatusDecode("10100000").inserted);
    }

    // C1 C2 C3 of the card's access-condition tables (one freezing and one not, each bit set): a data block's
    // rights, the trailer's, whether the access bits are frozen for good, and the bytes that carry the
    // condition on the trailer alone. Then the same condition on all four blocks read from a card into the
    // boxes.
    void accessConditions()
    {
        const std::tuple<const char*, const char*, const char*, bool, const char*> rows[] = {
            {"000", "lecture A|B, écriture A|B, incrément A|B, décrément A|B",
             "clé A écrite par A, bits d'accès lus par A, clé B lisible par A, clé B écrite par A", true,
             "0xFF 0x0F 0x00 0x00"},
            {"100", "lecture A|B, écriture B",
             "clé A écrite par B, bits d'accès lus par A|B, clé B écrite par B", true, "0xF7 0x8F 0x00 0x00"},
            {"011", "lecture B, écriture B",
             "clé A écrite par B, bits d'accès lus par A|B, bits d'accès écrits par B, clé B écrite par B",
             false, "0x7F 0x07 0x88 0x00"},
            {"111", "aucun accès", "bits d'accès lus par A|B", true, "0x77 0x87 0x88 0x00"}};
        for (const auto& [bits, data, trailer, freezes, trailerBytes] : rows) {
            TrailerAccess access;
            for (int n = 0; n < 3; ++n)
                access.Bits[n][3] = bits[n] == '1';
            auto bytes = TrailerAccessBytes(access);
            QCOMPARE(TrailerBytesText(bytes.data(), TRAILER_ACCESS_SIZE), QString(trailerBytes));
            QCOMPARE(TrailerAccessFreezes(access), freezes);
            for (int n = 0; n < 3; ++n)
                std::fill_n(access.Bits[n], 4, bits[n] == '1');
            bytes = TrailerAccessBytes(access);
            quint8 block[MIFARE_BLOCK_SIZE] = {};
            std::copy(bytes.begin(), bytes.end(), block + TRAILER_ACCESS_OFFSET);
            QVERIFY(TrailerAccessDecode(block).consistent);

            Bench b;
            b.reply(ARG_COUPLEUR_TRAILER_READ_RESULT,
                    {1, true, '0', TrailerBytesText(block, MIFARE_BLOCK_SIZE)});
            auto* label = b.form.widget<QLabel>("LAB_AccessRights");
            QCOMPARE(label->text(), QString("Bloc 0 : %1\nBloc 1 : %1\nBloc 2 : %1\nTrailer : %2")
                                        .arg(QString::fromUtf8(data), QString::fromUtf8(trailer)));
            // A box the operator sets changes its block's line at once.
            b.box(1, 1)->setChecked(bits[0] == '0');
            QVERIFY(label->text().section('\n', 1, 1) != "Bloc 1 : " + QString::fromUtf8(data));
        }
    }

    // A read badge is shown as it holds, whatever profile create mode had chosen.
    void recordShown()
    {
        const struct
        {
            bool create;
            int profile;
            const char *record, *shown;
        } rows[] = {
            {true, 0, "Grp=1;Cn0=250", "|1||1|Z1=2.50"},
            {true, 1, "Grp=0;Cn1=700", "|1||0|Z0\n+ Z3=7.00|Z5"},
            {false, 0, "Grp=1;Grp=1;Cn0=100", "|||1|Z1=1.00"},
            {false, 0, "Cn1=1250;Grp=0;UID=0A;Usr=77", "0A|77||0|Z0\n+ Z3=12.50|Z5"}, // counters kept
            {false, 0, "Grp=7;Nal=Du=pont", "||Du|7|Z0\n+ Z3=9.00"}, // no profile index: the group field only
            {false, -1, "Vda=991231;Tyc=16", "|||0|Z0\n+ Z3=9.00"}}; // zones of the last badge go
        for (const auto& r : rows) {
            Bench b;
            b.mode(r.create, r.profile);
            b.reply(ARG_BADGE_READ_RESULT, {1, true, '0', "Grp=0;Cn1=900"}); // a badge shown before
            b.reply(ARG_BADGE_READ_RESULT, {1, true, '0', r.record});
            QCOMPARE(b.shown("SAI_UID SAI_Usr SAI_LastName SAI_Grp"), QString(r.shown));
        }
    }

    void modesAndDefaults()
    {
        Bench b;
        // The user number comes from "CREATION.CURRENT.USER", not from the group setting.
        for (const auto& [key, value] :
             {std::pair{"CREATION.CURRENT.USER", "41"}, {"CREATION.DEFAUT.NOM", "Martin"}})
            b.form.ui.TREE_AppsConfig->findItems(key, Qt::MatchRecursive, 2).first()->setText(1, value);
        b.mode(true);
        QVERIFY(b.link.polling && b.badge.BadgeMode == BadgeTab::MODE_CREATE);
        QCOMPARE(b.form.ui.COMBO_BadgeType->currentText(), QStringLiteral("Accès"));
        QCOMPARE(b.form.texts("SAI_Usr SAI_Grp SAI_LastName SAI_Remise SAI_SupportStatus"),
                 QStringLiteral("41|1|Martin|0|Insérez un support (cartes, clés ...)"));
        // "Lire" switches "Créer" off, empties the form and keeps polling; off again, polling stops.
        b.mode(false);
        QVERIFY(!b.form.ui.BTN_BadgeCreate->isChecked() && b.link.polling);
        QVERIFY(b.badge.BadgeMode == BadgeTab::MODE_READ && b.form.texts("SAI_Usr").isEmpty());
        b.form.ui.BTN_BadgeRead->setChecked(false);
        b.badge.BadgeReadClicked();
        QVERIFY(!b.link.polling);
        // "Créer" switches "Lire" off; a polling failure switches both off and keeps the mode.
        b.form.ui.BTN_BadgeRead->setChecked(true);
        b.mode(true);
        QVERIFY(!b.form.ui.BTN_BadgeRead->isChecked());
        b.router.Dispatch(ARG_POLLING_TIMEOUT, QString());
        QVERIFY(!b.form.ui.BTN_BadgeCreate->isChecked() && b.badge.BadgeMode == BadgeTab::MODE_CREATE);
        QCOMPARE(b.form.texts("SAI_ProtocoleStatus"), QStringLiteral("Statut timeout"));
        // The operator chooses a profile: its number, counters with their defaults, unlimited zones.
        b.form.ui.COMBO_Profil->setCurrentIndex(1);
        QCOMPARE(b.shown("SAI_Grp"), QStringLiteral("20|Z1=3"));
        b.form.ui.COMBO_Profil->setCurrentIndex(0);
        QCOMPARE(b.shown("SAI_Grp"), QStringLiteral("10|Z0\n+ Z3=7|Z5"));
        QString record;
        QVERIFY(b.badge.Form().RecordBuild(&record) && record.endsWith(";Cn1=700"));
        b.badge.ProfilChanged(5);
        QCOMPARE(b.shown("SAI_Grp"), QStringLiteral("10"));
    }

    // An insertion in each mode: the request queued behind the poller, or none.
    void insertion()
    {
        const struct
        {
            bool create, force;
            const char *status, *request;
        } rows[] = {{false, false, "11005000", "BR||9|4000"},
                    {false, false, "11007000", ""},
                    {true, false, "11100000", "BR||9|2000"},
                    {true, false, "11005000", "BN|Tyc=128;Usr=15;Grp=2|8|4000"},
                    {true, true, "11008000", "BN|Tyc=128;Usr=15;Grp=2|8|4000"},
                    {true, true, "10100000", ""}};
        for (const auto& r : rows) {
            Bench b;
            b.badge.BadgeMode = r.create ? BadgeTab::MODE_CREATE : BadgeTab::MODE_READ;
            b.form.ui.CKB_CreationForce->setChecked(r.force);
            b.form.fill("SAI_Usr=15;SAI_Grp=2");
            b.form.ui.COMBO_BadgeType->setCurrentIndex(2);
            b.form.ui.SAI_ValiditeDate->QAbstractSpinBox::clear();
            b.link.free = false; // the poller holds the slot
            b.router.Dispatch(ARG_SUPPORT_INSERTED, r.status);
            QCOMPARE(b.link.requests.isEmpty() ? QString() : b.link.sent(), QString(r.request));
            QVERIFY(b.link.requests.isEmpty() || b.link.requests[0].queued);
            // A read starts from an empty form.
            QCOMPARE(b.form.texts("SAI_Usr").isEmpty(), QByteArray(r.request).startsWith("BR"));
        }
    }

    // Only a created badge moves the user number on, only a read badge fills the form.
    void results()
    {
        const std::tuple<unsigned int, bool, char, const char*, const char*> rows[] = {
            {ARG_BADGE_CREATE_RESULT, true, '0', "Création->OK", "|42"},
            {ARG_BADGE_CREATE_RESULT, true, '3', "Création->ECHEC", "|41"},
            {ARG_BADGE_READ_RESULT, true, '0', "Lecture->OK", "0A0B|77|Z1=25.00"},
            {ARG_BADGE_READ_RESULT, true, '1', "Lecture->ECHEC", "|41"},
            {ARG_BADGE_WRITE_RESULT, true, '1', "Ecriture ->ECHEC", "|41"},
            {ARG_BADGE_WRITE_RESULT, false, '0', "Ecriture ->Echec", "|41"}};
        for (const auto& [id, isOk, status, text, form] : rows) {
            Bench b;
            b.form.fill("SAI_Usr=41;SAI_ProtocoleStatus=pending");
            b.form.ui.CKB_CreationForce->setChecked(true);
            b.reply(id, {0, true, '0', ""}); // no answer collected yet: nothing changes
            QCOMPARE(b.form.texts("SAI_ProtocoleStatus"), QStringLiteral("pending"));
            b.reply(id, {1, isOk, status, "UID=0A0B;Usr=77;Grp=1;Cn0=2500"});
            QCOMPARE(b.form.texts("SAI_ProtocoleStatus"), QString(text));
            b.router.Dispatch(ARG_SUPPORT_REMOVED, QString()); // taking the support away keeps the form
            QCOMPARE(b.shown("SAI_UID SAI_Usr"), QString(form));
            QCOMPARE(b.form.texts("SAI_SupportStatus"), QStringLiteral("Aucun Support"));
        }
        Bench b;
        b.form.fill("SAI_Usr=2147483647");
        b.badge.Form().UserNumberIncrement();
        QCOMPARE(b.form.texts("SAI_Usr"), QStringLiteral("2147483648"));
    }

    // A forced creation then a write: what was sent, or the statuses saying why nothing was.
    void createAndWrite()
    {
        const std::tuple<const char*, int, const char*> rows[] = {
            {"", 0, "BN Tyc=128;Usr=5|BW Tyc=128;Usr=5"},
            {"2", 0, "BN Tyc=128;Usr=5;Cn0=200|BW Tyc=128;Usr=5;Cn0=200"},
            {"", 1000,
             "Création->ECHEC(enregistrement trop long)|Ecriture ->ECHEC(enregistrement trop long)"},
            {"abc", 0, "Création->ECHEC(montant invalide)|Ecriture ->ECHEC(montant invalide)"}};
        for (const auto& [amount, nameLength, outcome] : rows) {
            Bench b;
            b.form.ui.CKB_CreationForce->setChecked(true);
            b.badge.BadgeMode = BadgeTab::MODE_CREATE;
            b.form.fill("SAI_Usr=5;SAI_LastName=" + QString(nameLength, 'x'));
            b.form.ui.COMBO_BadgeType->setCurrentIndex(2);
            b.form.ui.SAI_ValiditeDate->QAbstractSpinBox::clear();
            if (*amount) {
                b.badge.Form().CounterRowShow(0);
                b.badge.Form().CounterRows[0].Value->setText(amount);
            }
            b.router.Dispatch(ARG_SUPPORT_INSERTED, "11100000");
            QStringList out{b.form.texts("SAI_ProtocoleStatus")};
            b.badge.BadgeWriteClicked();
            out << b.form.texts("SAI_ProtocoleStatus");
            QCOMPARE((b.link.requests.isEmpty() ? out : b.link.wires()).join('|'), QString(outcome));
        }
    }

    // Confirmations asked, then "sent" or what the answer field says, for raw block writes.
    void rawWrite()
    {
        const QString broken = Trailer("0xFF 0x0F 0x0F 0x00"), frozen = Trailer("0xFF 0x0F 0x00 0x00");
        const QString refused = "|Erreur->Conditions d'accès invalides";
        const std::tuple<const char*, QString, bool, QString> rows[] = {
            {"7", Trailer("0xFF 0x07 0x80 0x69"), false, "|sent"},
            {"007", broken, true, refused},
            {"3", broken.left(broken.lastIndexOf(' ')), true, refused}, // 15 bytes
            {"3", frozen, false, "freeze|"},
            {"3", frozen, true, "freeze|sent"},
            {"143", broken, true, refused},  // a 4K card's trailer
            {"131", broken, false, "|sent"}, // and its data block
            {"0", "0x01", false, "block 0|"},
            {"0", "0x01", true, "block 0|sent"}};
        for (const auto& [block, data, answer, outcome] : rows) {
            Bench b;
            b.answer = answer;
            b.form.fill(QString("SAI_KeyToUsed=K;SAI_BlockNumber=%1;SAI_ReaderSnd=").arg(block) + data);
            b.expert.BlockClicked(ExpertTab::BlockOperation::Write);
            const bool sent = !b.link.requests.isEmpty() &&
                              b.link.sent() == QString("RW|%1;0;K;%2|21|2000").arg(block, data);
            QCOMPARE(b.form.texts("SAI_ReaderSnd") + ':' + b.asked.join(',') + '|' +
                         (sent ? "sent" : b.form.texts("SAI_ReaderRcv")),
                     data + ':' + outcome);
        }
    }

    // Numbers that do not parse and a taken slot send nothing; a failed answer is not shown.
    void expertForms()
    {
        Bench b;
        b.form.fill("SAI_KeyToUsed=K;SAI_BlockNumber=12a;SAI_ReaderRcv=old;SAI_Sector=x");
        b.expert.BlockClicked(ExpertTab::BlockOperation::Read);
        b.expert.TrailerReadClicked();
        QCOMPARE(b.form.texts("SAI_ReaderSnd SAI_TrailerReadResult"),
                 QStringLiteral("Erreur->Bloque non défini|Erreur->Sector non défini"));
        b.link.free = false;
        b.form.fill("SAI_BlockNumber=4");
        b.expert.BlockClicked(ExpertTab::BlockOperation::Decrement);
        QVERIFY(b.link.requests.isEmpty());
        b.reply(ARG_COUPLEUR_BLOCK_RESULT, {1, true, '1', "ANSWER"});
        b.reply(ARG_COUPLEUR_BLOCK_RESULT, {1, false, '0', "LOST"});
        QCOMPARE(b.form.texts("SAI_ReaderRcv"), QStringLiteral("ANSWER"));
        b.link.free = true;

        b.expert.TrailerDefaultClicked();
        QCOMPARE(b.form.texts("SAI_KeyToUsed SAI_KeyA SAI_KeyB"), QStringList({Key, Key, Key}).join('|'));
        b.form.fill("SAI_KeyA=A;SAI_KeyB=B");
        // Transport conditions go without a question; freezing ones are asked, "No" sends nothing.
        b.form.fill("SAI_Sector=1");
        b.box(3, 3)->setChecked(true);
        b.expert.TrailerWriteClicked();
        QCOMPARE(b.link.sent(), "RW|7;0;" + Key + ";A 0xFF 0x07 0x80 0x00 B|22|2000");
        b.box(3, 3)->setChecked(false);
        b.box(1, 0)->setChecked(true);
        b.expert.TrailerWriteClicked();
        b.answer = true;
        b.expert.TrailerWriteClicked();
        QCOMPARE(b.asked, (QStringList{"freeze", "freeze"}));
        QCOMPARE(b.link.sent(), "RW|7;0;" + Key + ";A 0xFE 0x1F 0x00 0x00 B|22|2000");
        QCOMPARE(b.link.requests.size(), 2);
        b.reply(ARG_COUPLEUR_TRAILER_WRITE_RESULT, {1, true, '0', "written"});
        QCOMPARE(b.form.texts("SAI_TrailerReadResult"), QStringLiteral("written"));
        // A trailer read back sets the boxes and the keys; a refused one only its text.
        const QString trailer =
            "0x01 0x02 0x03 0x04 0x05 0x06 0xFF 0x07 0x80 0x69 0xA1 0xA2 0xA3 0xA4 0xA5 0xA6";
        b.reply(ARG_COUPLEUR_TRAILER_READ_RESULT, {1, true, '0', trailer});
        b.reply(ARG_COUPLEUR_TRAILER_READ_RESULT, {1, true, '2', "0x00 0x00"});
        QString boxes;
        for (int n = 1; n <= 3; ++n)
            for (int m = 0; m < 4; ++m)
                boxes += b.box(n, m)->isChecked() ? '1' : '0';
        QCOMPARE(boxes, QStringLiteral("000000000001"));
        QCOMPARE(b.form.texts("SAI_KeyA SAI_KeyB SAI_TrailerReadResult"),
                 QStringLiteral("0x01 0x02 0x03 0x04 0x05 0x06|0xA1 0xA2 0xA3 0xA4 0xA5 0xA6|0x00 0x00"));

        b.expert.BadgeFormatClicked();
        b.reply(ARG_BADGE_FORMAT_RESULT, {1, true, '4', "3"});
        QCOMPARE(b.form.texts("SAI_CeationSecuriteResult"), QStringLiteral("Formatage->ECHEC(Sector=3)"));
    }
};

QTEST_MAIN(TstBadge)
#include "tst_badge.moc"
