#include "badge/badgeform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "access/groups.h"
#include "commun/formwidget.h"
#include "readerconfig/appsettings.h"

namespace {
const char* const FORM_DATE = "dd/MM/yy";
const char* const DIGITS_MASK = "0000000000";
constexpr int DEFAULT_VALIDITY_MONTHS = 48;
} // namespace

BadgeForm::BadgeForm(QWidget* form, const QTreeWidget* settings, const CZONE* zones,
                     const QList<CGROUP*>* groups)
    : m_settings(settings), m_zones(zones), m_groups(groups),
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
      m_validiteDate(FormWidget<QDateEdit>(form, "SAI_ValiditeDate"))
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

    m_grp->setInputMask(QLatin1String(DIGITS_MASK));
    m_usr->setInputMask(QLatin1String(DIGITS_MASK));
    for (const BadgeType& type : BADGE_TYPES)
        m_type->addItem(QIcon(), QCoreApplication::translate("BadgeForm", type.label), int(type.code));
}

const CGROUP* BadgeForm::group(int groupIndex) const
{
    if (!m_groups || groupIndex < 0 || groupIndex >= m_groups->size())
        return nullptr;
    return m_groups->at(groupIndex);
}

BadgeFields BadgeForm::Fields() const
{
    BadgeFields fields;
    if (m_type->currentIndex() >= 0)
        fields.type = m_type->currentData(Qt::UserRole).toInt();
    fields.usr = m_usr->text();
    fields.grp = m_grp->text();
    fields.lev = m_level->text();
    if (!m_validiteDate->text().isEmpty())
        fields.validity = m_validiteDate->date();
    fields.creation = m_creationDate->text();
    fields.doi = m_domaine->text();
    fields.rem = m_remise->text();
    fields.naf = m_firstName->text();
    fields.nal = m_lastName->text();
    fields.nac = m_compagny->text();
    for (int row = 0; row < COUNTER_ROW_COUNT; ++row) {
        fields.counterInUse[row] = CounterRows[row].InUse;
        fields.counters[row] = CounterRows[row].Value->text();
    }
    return fields;
}

void BadgeForm::RecordDisplay(const QString& record)
{
    for (const BadgeItem& item : BadgeRecordItems(record))
        itemShow(item);
}

void BadgeForm::itemShow(const BadgeItem& item)
{
    using Kind = BadgeItem::Kind;
    const std::pair<const char*, QLineEdit*> texts[] = {
        {"UID", m_uid},    {"Usr", m_usr},       {"Lev", m_level},    {"Doi", m_domaine},
        {"Rem", m_remise}, {"Naf", m_firstName}, {"Nal", m_lastName}, {"Nac", m_compagny},
    };
    switch (item.kind) {
    case Kind::Text:
        for (const auto& text : texts) {
            if (item.key == QLatin1String(text.first))
                text.second->setText(item.value);
        }
        break;
    case Kind::Type: {
        const int index = m_type->findData(item.number, Qt::UserRole, Qt::MatchExactly);
        if (index >= 0)
            m_type->setCurrentIndex(index);
        break;
    }
    case Kind::Group:
        m_grp->setText(item.value);
        // The zones of the badge shown before must not stay under this one.
        ZoneLabelsClear();
        if (item.number >= 0 && item.number < m_profil->count()) {
            {
                // Showing a badge is no profile choice: the chooser's slot would put the profile's
                // number in the group field and list the zones a second time.
                const QSignalBlocker blocker(m_profil);
                m_profil->setCurrentIndex(item.number);
            }
            // A group given twice lists its zones once.
            CounterRowsClear();
            CounterRowsShow(item.number, false);
            ZoneLabelsShow(item.number);
        }
        break;
    case Kind::Validity:
        m_validiteDate->setDisplayFormat(QLatin1String(FORM_DATE));
        m_validiteDate->setDate(item.date);
        break;
    case Kind::Creation:
        m_creationDate->setText(item.date.toString(QLatin1String(FORM_DATE)));
        break;
    case Kind::Counter:
        CounterRows[item.number].Value->setText(item.value);
        break;
    }
}

void BadgeForm::Clear()
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

void BadgeForm::CreationDefaultsLoad()
{
    const int acces = m_type->findData(int(BADGE_TYPE_ACCES), Qt::UserRole, Qt::MatchExactly);
    if (acces >= 0)
        m_type->setCurrentIndex(acces);
    const auto setting = [this](const char* key, const QString& defaultValue) {
        return AppsConfigReadString(m_settings, QLatin1String(key), defaultValue);
    };
    m_compagny->setText(setting("CREATION.DEFAUT.SOCIETE", QString()));
    m_firstName->setText(setting("CREATION.DEFAUT.PRENOM", QString()));
    m_lastName->setText(setting("CREATION.DEFAUT.NOM", QString()));
    m_usr->setText(setting("CREATION.CURRENT.USER", QStringLiteral("1")));
    m_grp->setText(setting("CREATION.DEFAUT.GROUP", QStringLiteral("1")));
    m_remise->setText(QStringLiteral("0"));
    const int months = AppsConfigReadInt(m_settings, QStringLiteral("CREATION.DEFAUT.VALIDITE.MOIS.NB"),
                                         DEFAULT_VALIDITY_MONTHS);
    m_validiteDate->setDisplayFormat(QLatin1String(FORM_DATE));
    m_validiteDate->setDate(QDate::currentDate().addMonths(months));
    m_creationDate->setText(QDate::currentDate().toString(QLatin1String(FORM_DATE)));
    CounterRowsClear();
    ZoneLabelsClear();
}

void BadgeForm::CounterRowsClear()
{
    for (CounterRow& row : CounterRows) {
        row.InUse = false;
        row.Label->clear();
        row.Label->hide();
        row.Value->setText(QStringLiteral("0"));
        row.Value->hide();
    }
}

void BadgeForm::CounterRowsShow(int groupIndex, bool withDefaults)
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

void BadgeForm::CounterRowShow(int row)
{
    CounterRows[row].InUse = true;
    CounterRows[row].Label->show();
    CounterRows[row].Value->show();
}

void BadgeForm::ZoneLabelsClear()
{
    for (QLabel* label : ZoneLabels) {
        label->clear();
        label->hide();
    }
}

void BadgeForm::ZoneLabelsShow(int groupIndex)
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

void BadgeForm::UserNumberIncrement()
{
    bool ok = false;
    const int user = m_usr->text().toInt(&ok, 10);
    if (ok)
        m_usr->setText(QString::number(qint64(user) + 1));
}

void BadgeForm::ProfileShow(int groupIndex)
{
    CounterRowsClear();
    ZoneLabelsClear();
    const CGROUP* profile = group(groupIndex);
    if (!profile)
        return;
    m_grp->setText(QString::number(profile->Number));
    CounterRowsShow(groupIndex, true);
    ZoneLabelsShow(groupIndex);
}
