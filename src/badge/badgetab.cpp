#include "badge/badgetab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "access/groups.h"
#include "badge/formwidget.h"
#include "badge/readerlink.h"
#include "badge/resultrouter.h"
#include "commun/vrltoolbox.h"
#include "link/argids.h"
#include "link/qprotocole.h"
#include "readerconfig/appsettings.h"

namespace {
constexpr int BADGE_TYPE_ACCES = 128;
const char* const RECORD_DATE = "yyMMdd";
const char* const FORM_DATE = "dd/MM/yy";

QDate RecordDate(const QString& value)
{
    return QDate::fromString(QStringLiteral("20") + value, QStringLiteral("yyyyMMdd"));
}

// "dd/MM/yy" in this century: Qt reads "yy" as 19yy, which would refuse 29/02/00.
QDate FormDate(const QString& text)
{
    QDate date = QDate::fromString(text, QLatin1String(FORM_DATE));
    if (!date.isValid() && text.size() == 8)
        date = QDate::fromString(text.left(6) + QStringLiteral("20") + text.mid(6),
                                 QStringLiteral("dd/MM/yyyy"));
    return date;
}
} // namespace

QString BadgeRecordTooLongText(const QString& operation)
{
    return operation + QStringLiteral("->ECHEC(enregistrement trop long)");
}

BadgeTab::BadgeTab(QWidget* form, ReaderLink& link, const QTreeWidget* settings, const CZONE* zones,
                   const QList<CGROUP*>* groups)
    : m_link(link), m_settings(settings), m_zones(zones), m_groups(groups),
      m_type(FormWidget<QComboBox>(form, "COMBO_BadgeType")),
      m_profil(FormWidget<QComboBox>(form, "COMBO_Profil")), m_grp(FormWidget<QLineEdit>(form, "SAI_Grp")),
      m_uid(FormWidget<QLineEdit>(form, "SAI_UID")), m_usr(FormWidget<QLineEdit>(form, "SAI_Usr")),
      m_level(FormWidget<QLineEdit>(form, "SAI_Level")),
      m_domaine(FormWidget<QLineEdit>(form, "SAI_Domaine")),
      m_lastName(FormWidget<QLineEdit>(form, "SAI_LastName")),
      m_firstName(FormWidget<QLineEdit>(form, "SAI_FirstName")),
      m_compagny(FormWidget<QLineEdit>(form, "SAI_Compagny")),
      m_remise(FormWidget<QLineEdit>(form, "SAI_Remise")),
      m_creationDate(FormWidget<QLineEdit>(form, "SAI_CreationDate")),
      m_validiteDate(FormWidget<QDateEdit>(form, "SAI_ValiditeDate")),
      m_creationForce(FormWidget<QCheckBox>(form, "CKB_CreationForce")),
      m_read(FormWidget<QPushButton>(form, "BTN_BadgeRead")),
      m_create(FormWidget<QPushButton>(form, "BTN_BadgeCreate")),
      m_protocoleStatus(FormWidget<QLineEdit>(form, "SAI_ProtocoleStatus")),
      m_supportStatus(FormWidget<QLineEdit>(form, "SAI_SupportStatus"))
{
    auto* counters = FormWidget<QGridLayout>(form, "GridCountersWithZones");
    for (int row = 0; row < COUNTER_ROW_COUNT; ++row) {
        CounterRows[row].Label = new QLabel(QString(), counters->parentWidget());
        counters->addWidget(CounterRows[row].Label, row, 0, 1, 1);
        CounterRows[row].Value = new QLineEdit(counters->parentWidget());
        counters->addWidget(CounterRows[row].Value, row, 1, 1, 1);
    }
    CounterRowsClear();

    auto* illimite = FormWidget<QGridLayout>(form, "GridZonesIllimite");
    for (int zone = 0; zone < ZONE_COUNT; ++zone) {
        ZoneLabels[zone] = new QLabel(QString(), illimite->parentWidget());
        illimite->addWidget(ZoneLabels[zone], zone, 0, 1, 1);
    }
    ZoneLabelsClear();

    m_grp->setInputMask(QStringLiteral("0000000000"));
    m_usr->setInputMask(QStringLiteral("0000000000"));

    m_type->addItem(QIcon(), QStringLiteral("Crédit"), 16);
    m_type->addItem(QIcon(), QStringLiteral("Exploitant"), 2);
    m_type->addItem(QIcon(), QStringLiteral("Accès"), BADGE_TYPE_ACCES);
    m_type->addItem(QIcon(), QStringLiteral("Unité"), 32);
    m_type->addItem(QIcon(), QStringLiteral("Facturation"), 64);
}

const CGROUP* BadgeTab::group(int groupIndex) const
{
    if (!m_groups || groupIndex < 0 || groupIndex >= m_groups->size())
        return nullptr;
    return m_groups->at(groupIndex);
}

bool BadgeTab::BadgeRecordBuild(QString& record) const
{
    record += QStringLiteral("Tyc=");
    if (m_type->currentIndex() >= 0)
        record += QString::number(m_type->currentData(Qt::UserRole).toInt());

    const auto append = [&record](const char* key, const QString& text) {
        if (!text.isEmpty())
            record += QLatin1Char(';') + QLatin1String(key) + QLatin1Char('=') + text;
    };
    append("Usr", m_usr->text());
    append("Grp", m_grp->text());
    append("Lev", m_level->text());
    if (!m_validiteDate->text().isEmpty())
        record += QStringLiteral(";Vda=") + m_validiteDate->date().toString(QLatin1String(RECORD_DATE));
    if (!m_creationDate->text().isEmpty()) {
        const QDate created = FormDate(m_creationDate->text());
        if (created.isValid())
            record += QStringLiteral(";Cda=") + created.toString(QLatin1String(RECORD_DATE));
    }
    append("Doi", m_domaine->text());
    append("Rem", m_remise->text());
    append("Naf", m_firstName->text());
    append("Nal", m_lastName->text());
    append("Nac", m_compagny->text());
    for (int row = 0; row < COUNTER_ROW_COUNT; ++row) {
        if (!CounterRows[row].InUse)
            continue;
        bool ok = false;
        const quint32 amount = VRLTBSTR_TextToHundredths(CounterRows[row].Value->text(), &ok);
        if (ok)
            record += QStringLiteral(";Cn%1=%2").arg(row).arg(amount);
    }
    return true;
}

void BadgeTab::BadgeRecordDisplay(const QString& record)
{
    const QStringList parts = record.split(QLatin1Char(';'));
    // The group resets the counter rows to its zones, so it goes first
    // whatever the reader's order: the counter values then stay.
    QStringList ordered;
    for (const QString& part : parts) {
        if (part.section(QLatin1Char('='), 0, 0) == QLatin1String("Grp"))
            ordered.append(part);
    }
    for (const QString& part : parts) {
        if (part.section(QLatin1Char('='), 0, 0) != QLatin1String("Grp"))
            ordered.append(part);
    }

    // Fields shown as they come.
    const std::pair<const char*, QLineEdit*> texts[] = {
        {"UID", m_uid},    {"Usr", m_usr},       {"Lev", m_level},    {"Doi", m_domaine},
        {"Rem", m_remise}, {"Naf", m_firstName}, {"Nal", m_lastName}, {"Nac", m_compagny},
    };
    for (const QString& part : ordered) {
        const QString key = part.section(QLatin1Char('='), 0, 0);
        const QString value = part.section(QLatin1Char('='), 1, 1);
        const auto text = std::find_if(std::begin(texts), std::end(texts), [&key](const auto& field) {
            return key == QLatin1String(field.first);
        });
        if (text != std::end(texts)) {
            text->second->setText(value);
        } else if (key == QLatin1String("Tyc")) {
            bool ok = false;
            const int code = value.toInt(&ok, 10);
            const int index = ok ? m_type->findData(code, Qt::UserRole, Qt::MatchExactly) : -1;
            if (index >= 0)
                m_type->setCurrentIndex(index);
        } else if (key == QLatin1String("Grp")) {
            m_grp->setText(value);
            // The zones of the badge shown before must not stay under this one.
            ZoneLabelsClear();
            bool ok = false;
            const int index = value.toInt(&ok, 10);
            if (ok && index >= 0 && index < m_profil->count()) {
                m_profil->setCurrentIndex(index);
                CounterRowsShow(index, false);
                ZoneLabelsShow(index);
            }
        } else if (key == QLatin1String("Vda")) {
            const QDate date = RecordDate(value);
            if (date.isValid()) {
                m_validiteDate->setDisplayFormat(QLatin1String(FORM_DATE));
                m_validiteDate->setDate(date);
            }
        } else if (key == QLatin1String("Cda")) {
            const QDate date = RecordDate(value);
            if (date.isValid())
                m_creationDate->setText(date.toString(QLatin1String(FORM_DATE)));
        } else if (key.size() >= 3 && key.startsWith(QLatin1String("Cn"))) {
            const int row = key.at(2).digitValue();
            if (row >= 0 && row < COUNTER_ROW_COUNT) {
                bool ok = false;
                const QString amount = VRLTBSTR_NumberToHundredthsText(value, &ok);
                if (ok)
                    CounterRows[row].Value->setText(amount);
            }
        }
    }
}

void BadgeTab::BadgeFormClear()
{
    m_creationDate->clear();
    CounterRowsClear();
    m_domaine->clear();
    m_level->clear();
    m_grp->clear();
    m_usr->clear();
    m_lastName->clear();
    m_firstName->clear();
    m_compagny->clear();
    // QDateTimeEdit::clear() empties only the current section: the text must go whole.
    m_validiteDate->QAbstractSpinBox::clear();
}

void BadgeTab::CreationDefaultsLoad()
{
    const int acces = m_type->findData(BADGE_TYPE_ACCES, Qt::UserRole, Qt::MatchExactly);
    if (acces >= 0)
        m_type->setCurrentIndex(acces);
    m_compagny->setText(
        AppsConfigReadString(m_settings, QStringLiteral("CREATION.DEFAUT.SOCIETE"), QString()));
    m_firstName->setText(
        AppsConfigReadString(m_settings, QStringLiteral("CREATION.DEFAUT.PRENOM"), QString()));
    m_lastName->setText(AppsConfigReadString(m_settings, QStringLiteral("CREATION.DEFAUT.NOM"), QString()));
    m_usr->setText(
        AppsConfigReadString(m_settings, QStringLiteral("CREATION.CURRENT.USER"), QStringLiteral("1")));
    m_grp->setText(
        AppsConfigReadString(m_settings, QStringLiteral("CREATION.DEFAUT.GROUP"), QStringLiteral("1")));
    m_remise->setText(QStringLiteral("0"));
    const int months = AppsConfigReadInt(m_settings, QStringLiteral("CREATION.DEFAUT.VALIDITE.MOIS.NB"), 48);
    m_validiteDate->setDisplayFormat(QLatin1String(FORM_DATE));
    m_validiteDate->setDate(QDate::currentDate().addMonths(months));
    m_creationDate->setText(QDate::currentDate().toString(QLatin1String(FORM_DATE)));
    CounterRowsClear();
    ZoneLabelsClear();
}

void BadgeTab::CounterRowsClear()
{
    for (CounterRow& row : CounterRows) {
        row.InUse = false;
        row.Label->clear();
        row.Label->hide();
        row.Value->setText(QStringLiteral("0"));
        row.Value->hide();
    }
}

void BadgeTab::CounterRowsShow(int groupIndex, bool withDefaults)
{
    const CGROUP* profile = group(groupIndex);
    if (!profile)
        return;
    for (int zone = 0; zone < ZONE_COUNT; ++zone) {
        const CZONE_RULE& rule = profile->Rules[zone];
        if (!rule.Access || rule.Counter < 1 || rule.Counter > COUNTER_ROW_COUNT)
            continue;
        const int row = rule.Counter - 1;
        QString text = CounterRows[row].Label->text();
        if (!text.isEmpty())
            text += QStringLiteral("\n+ ");
        CounterRows[row].Label->setText(text + m_zones[zone].Label);
        CounterRows[row].Value->setText(withDefaults ? QString::number(rule.Default) : QStringLiteral("0"));
        CounterRowShow(row);
    }
}

void BadgeTab::CounterRowShow(int row)
{
    CounterRows[row].InUse = true;
    CounterRows[row].Label->show();
    CounterRows[row].Value->show();
}

void BadgeTab::ZoneLabelsClear()
{
    for (QLabel* label : ZoneLabels) {
        label->clear();
        label->hide();
    }
}

void BadgeTab::ZoneLabelsShow(int groupIndex)
{
    const CGROUP* profile = group(groupIndex);
    if (!profile)
        return;
    for (int zone = 0; zone < ZONE_COUNT; ++zone) {
        if (profile->Rules[zone].Access && profile->Rules[zone].Counter == 0) {
            ZoneLabels[zone]->setText(m_zones[zone].Label);
            ZoneLabels[zone]->show();
        }
    }
}

void BadgeTab::UserNumberIncrement()
{
    bool ok = false;
    const int user = m_usr->text().toInt(&ok, 10);
    if (ok)
        m_usr->setText(QString::number(qint64(user) + 1));
}

void BadgeTab::BadgeReadClicked()
{
    m_create->setChecked(false);
    BadgeMode = 0;
    m_link.PollingSet(false);
    if (m_read->isChecked()) {
        BadgeFormClear();
        m_link.PollingSet(true);
        m_profil->blockSignals(true);
    }
}

void BadgeTab::BadgeCreateClicked()
{
    m_read->setChecked(false);
    m_link.PollingSet(false);
    BadgeMode = 1;
    if (m_create->isChecked()) {
        CreationDefaultsLoad();
        m_profil->blockSignals(false);
        m_link.PollingSet(true);
    }
    m_supportStatus->setText(QStringLiteral("Insérez un support (cartes, clés ...)"));
    qDebug("BadgeCreateClicked");
}

void BadgeTab::ProfilChanged(int index)
{
    CounterRowsClear();
    ZoneLabelsClear();
    const CGROUP* profile = group(index);
    if (!profile)
        return;
    m_grp->setText(QString::number(profile->Number));
    CounterRowsShow(index, true);
    ZoneLabelsShow(index);
}

void BadgeTab::BadgeWriteClicked()
{
    QString record;
    BadgeRecordBuild(record);
    if (!m_link.IsFree())
        return;
    if (m_link.Request(ReaderCommands::badgeWrite(record)) == QProtocole::CMD_TOO_LONG)
        m_protocoleStatus->setText(BadgeRecordTooLongText(QStringLiteral("Ecriture ")));
}

void BadgeTab::readRequest(unsigned int timeoutMs)
{
    qDebug("LECTURE DU BADGE ...");
    m_protocoleStatus->setText(QStringLiteral("Lecture ..."));
    // Queued: the poller may hold the slot right now, and this read must not be lost.
    m_link.RequestQueued(ReaderCommands::badgeRead(timeoutMs));
}

void BadgeTab::SupportInserted(const QString& s)
{
    BadgeRecordDisplay(s);

    bool ok = false;
    int code = s.mid(3, 2).toInt(&ok, 10);
    if (!ok)
        code = 0;
    const QString detail = s.mid(5, 3);
    if (s.mid(1, 1) != QLatin1String("1"))
        return;

    const bool valid = s.mid(2, 1) == QLatin1String("1");
    // Insertion codes 1 to 9 of a support that is not valid.
    struct SupportFault
    {
        const char* trace;
        const char* text;
        bool creatable;
    };
    static const SupportFault faults[] = {
        {"Polling => Support Inséré Liste Noire", "En Liste Noire", false},
        {"Polling => Support Inséré Crédit erreur", "Crédit En Erreur", false},
        {"Polling => Support Inséré Validité erreur", "Date Validité Erreur", false},
        {"Polling => Support dernière écriture erreur", "Dernière écriture erreur", false},
        {"Polling => Support Intégrité erreur", "Intégrité erreur", true},
        {"Polling => Support lecture donnée erreur", "Lecture erreur(", false},
        {"Polling => Support Inséré Inconnu", "Support Inconnu", true},
        {"Polling => Support Inséré sécurité inconnue", "Sécurité inconnue", false},
        {"Polling => Support Inséré erreur de protocole", "Erreur protocole", false},
    };
    bool creatable = false;
    if (valid) {
        qDebug("Polling => Support Inséré OK");
        m_supportStatus->setText(QStringLiteral("Support OK"));
    } else if (code >= 1 && code <= 9) {
        const SupportFault& fault = faults[code - 1];
        qDebug("%s", fault.trace);
        QString text = QString::fromUtf8(fault.text);
        if (code == 6)
            text += detail + QLatin1Char(')');
        m_supportStatus->setText(text);
        creatable = fault.creatable;
    }

    if (BadgeMode == 0) {
        if (valid || (code >= 0 && code <= 5)) {
            BadgeFormClear();
            readRequest(4000);
        }
    } else if (BadgeMode == 1) {
        if (m_creationForce->isChecked() || creatable) {
            QString record;
            BadgeRecordBuild(record);
            qDebug("COMDATAPROCESS: Demande de créer le badge");
            m_protocoleStatus->setText(QStringLiteral("Création ..."));
            if (m_link.RequestQueued(ReaderCommands::badgeCreate(record)) == QProtocole::CMD_TOO_LONG)
                m_protocoleStatus->setText(BadgeRecordTooLongText(QStringLiteral("Création")));
        } else {
            BadgeFormClear();
            readRequest(2000);
        }
    }
}

void BadgeTab::SupportRemoved()
{
    m_supportStatus->setText(QStringLiteral("Aucun Support"));
    qDebug("Support Retiré");
}

void BadgeTab::CreateResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (!answer.collected)
        return;
    m_protocoleStatus->setText(answer.Pick(QStringLiteral("Création->CMD ERREUR"),
                                           QStringLiteral("Création->OK"),
                                           QStringLiteral("Création->ECHEC")));
    if (answer.Succeeded() && m_creationForce->isChecked())
        UserNumberIncrement();
}

void BadgeTab::ReadResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (!answer.collected)
        return;
    if (answer.Succeeded()) {
        qDebug("Lecture:***%s***", answer.text.toLatin1().constData());
        ZoneLabelsClear();
        BadgeRecordDisplay(answer.text);
    }
    m_protocoleStatus->setText(answer.Pick(QStringLiteral("Lecture->CMD ERREUR"),
                                           QStringLiteral("Lecture->OK"), QStringLiteral("Lecture->ECHEC")));
}

void BadgeTab::WriteResult()
{
    const ReaderAnswer answer = m_link.Answer();
    if (answer.collected)
        m_protocoleStatus->setText(answer.Pick(QStringLiteral("Ecriture ->Echec"),
                                               QStringLiteral("Ecriture ->OK"),
                                               QStringLiteral("Ecriture ->ECHEC")));
}

void BadgeTab::PollingTimeout()
{
    m_create->setChecked(false);
    m_read->setChecked(false);
    m_protocoleStatus->setText(QStringLiteral("Statut timeout"));
}

void BadgeTab::RegisterResults(ResultRouter& router)
{
    router.Register(ARG_SUPPORT_INSERTED, [this](const QString& s) { SupportInserted(s); });
    router.Register(ARG_SUPPORT_REMOVED, [this](const QString&) { SupportRemoved(); });
    router.Register(ARG_BADGE_CREATE_RESULT, [this](const QString&) { CreateResult(); });
    router.Register(ARG_BADGE_READ_RESULT, [this](const QString&) { ReadResult(); });
    router.Register(ARG_BADGE_WRITE_RESULT, [this](const QString&) { WriteResult(); });
    router.Register(ARG_POLLING_TIMEOUT, [this](const QString&) { PollingTimeout(); });
}
