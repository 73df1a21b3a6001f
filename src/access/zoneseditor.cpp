#include "access/zoneseditor.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "access/groups.h"
#include "commun/fileini.h"

namespace {

// Base-10 number of a rule field, 0 when it is not one; only the low 8 bits are kept.
quint8 RuleNumber(const QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().toInt(&ok, 10);
    return ok ? static_cast<quint8>(value & 0xFF) : 0;
}

} // namespace

ZonesEditor::ZonesEditor(const Form& form, CZONE* zones, QList<CGROUP*>* groups, CFILE_INI* ini,
                         ColorSetter colorSet, QObject* parent)
    : QObject(parent), m_form(form), m_zones(zones), m_groups(groups), m_ini(ini),
      m_colorSet(std::move(colorSet))
{
    // Enter, or leaving the chooser's text, must neither add the typed label as a group nor
    // jump to the group that already bears it (which would drop the shown group's edits):
    // the text is the current group's new label until "Sauvegarder".
    m_form.groupList->setInsertPolicy(QComboBox::NoInsert);
    if (QLineEdit* text = m_form.groupList->lineEdit()) {
        disconnect(text, &QLineEdit::returnPressed, m_form.groupList, nullptr);
        disconnect(text, &QLineEdit::editingFinished, m_form.groupList, nullptr);
    }
}

QString ZonesEditor::ZoneRuleTitle(int zone, const QString& label)
{
    return QCoreApplication::translate("ZonesEditor", "ZONE %1:\n").arg(zone + 1) + label;
}

void ZonesEditor::GridsSetup()
{
    zoneGridBuild();
    ruleGridBuild();
    GroupListFill(m_groups, m_form.groupList);
    GroupListFill(m_groups, m_form.profiles);
    if (!m_groups->isEmpty()) {
        m_form.groupList->setCurrentIndex(0);
        m_form.profiles->setCurrentIndex(0);
        GroupShow(0);
    }
}

void ZonesEditor::zoneGridBuild()
{
    for (int i = 0; i < ZONE_COUNT; ++i) {
        auto* box = new QCheckBox;
        box->setObjectName(QStringLiteral("CB_Installed%1").arg(i));
        box->setTristate(false);
        auto* title = new QLabel(QCoreApplication::translate("ZonesEditor", "ZONE %1:").arg(i + 1));
        title->setObjectName(QStringLiteral("LAB_Zone%1").arg(i));
        auto* label = new QLineEdit;
        label->setObjectName(QStringLiteral("LE_Label%1").arg(i));
        const int row = i % 4;
        const int column = 3 * (i / 4);
        m_form.gridZones->addWidget(box, row, column);
        m_form.gridZones->addWidget(title, row, column + 1);
        m_form.gridZones->addWidget(label, row, column + 2);

        box->setChecked(m_zones[i].Installed);
        label->setText(m_zones[i].Label);
        label->setEnabled(m_zones[i].Installed);
        connect(label, &QLineEdit::textEdited, this, &ZonesEditor::ZonesEdited);
        m_installed[i] = box;
        m_labels[i] = label;
    }
}

void ZonesEditor::ruleGridBuild()
{
    const QStringList rowTitles{
        QCoreApplication::translate("ZonesEditor", "Accès"),
        QCoreApplication::translate("ZonesEditor", "Numéro Compteur\nassocié (0=Illimité)"),
        QCoreApplication::translate("ZonesEditor", "Numéro Anti-passback\nAssocié"),
        QCoreApplication::translate("ZonesEditor", "Valeur par défaut")};
    for (int row = 0; row < rowTitles.size(); ++row)
        m_form.gridGroup->addWidget(new QLabel(rowTitles.at(row)), row + 1, 0, Qt::AlignLeft);

    for (int i = 0; i < ZONE_COUNT; ++i) {
        auto* title = new QLabel(ZoneRuleTitle(i, m_zones[i].Label));
        title->setObjectName(QStringLiteral("LAB_ZoneRule%1").arg(i));
        title->setAlignment(Qt::AlignCenter);
        auto* access = new QCheckBox;
        access->setObjectName(QStringLiteral("CB_Acces"));
        access->setTristate(false);
        auto* counter = new QLineEdit;
        counter->setObjectName(QStringLiteral("LE_Counter%1").arg(i));
        auto* antipassback = new QLineEdit;
        antipassback->setObjectName(QStringLiteral("LE_AntiPassback%1").arg(i));
        auto* defaultValue = new QLineEdit;
        defaultValue->setObjectName(QStringLiteral("LE_DefaultValue%1").arg(i));
        m_form.gridGroup->addWidget(title, 0, i + 1, Qt::AlignCenter);
        m_form.gridGroup->addWidget(access, 1, i + 1, Qt::AlignCenter);
        m_form.gridGroup->addWidget(counter, 2, i + 1);
        m_form.gridGroup->addWidget(antipassback, 3, i + 1);
        m_form.gridGroup->addWidget(defaultValue, 4, i + 1);
        for (QWidget* widget :
             {static_cast<QWidget*>(title), static_cast<QWidget*>(access), static_cast<QWidget*>(counter),
              static_cast<QWidget*>(antipassback), static_cast<QWidget*>(defaultValue)})
            widget->setVisible(m_zones[i].Installed);

        connect(access, &QCheckBox::clicked, this, &ZonesEditor::GroupEdited);
        for (QLineEdit* edit : {counter, antipassback, defaultValue})
            connect(edit, &QLineEdit::textEdited, this, &ZonesEditor::GroupEdited);
        m_ruleTitles[i] = title;
        m_access[i] = access;
        m_counters[i] = counter;
        m_antipassbacks[i] = antipassback;
        m_defaults[i] = defaultValue;
    }
}

void ZonesEditor::GroupShow(int index)
{
    if (index < 0 || index >= m_groups->size() || !m_access[0])
        return;
    m_groupEdited = false;
    const CGROUP* group = m_groups->at(index);
    m_form.group->setText(QString::number(group->Number));
    for (int i = 0; i < ZONE_COUNT; ++i) {
        const CZONE_RULE& rule = group->Rules[i];
        m_access[i]->setChecked(rule.Access);
        m_counters[i]->setText(QString::number(rule.Counter));
        m_antipassbacks[i]->setText(QString::number(rule.Antipassback));
        m_defaults[i]->setText(QString::number(rule.Default));
    }
}

void ZonesEditor::GroupRead(int index)
{
    if (index < 0 || index >= m_groups->size() || !m_access[0])
        return;
    CGROUP* group = m_groups->at(index);
    bool ok = false;
    const int number = m_form.group->text().toInt(&ok, 10);
    group->Number = ok ? number : 0;
    const QLineEdit* chooserText = m_form.groupList->lineEdit();
    group->Label = chooserText ? chooserText->text() : m_form.groupList->currentText();
    for (int i = 0; i < ZONE_COUNT; ++i) {
        CZONE_RULE& rule = group->Rules[i];
        rule.Access = m_access[i]->isChecked();
        rule.Counter = RuleNumber(m_counters[i]);
        rule.Antipassback = RuleNumber(m_antipassbacks[i]);
        rule.Default = RuleNumber(m_defaults[i]);
    }
}

bool ZonesEditor::ZonesSave()
{
    for (int i = 0; i < ZONE_COUNT; ++i) {
        m_zones[i].Installed = m_installed[i]->isChecked();
        m_zones[i].Label = m_labels[i]->text();
    }
    bool saved = false;
    if (m_ini->Open()) {
        ::ZonesSave(m_zones, m_ini);
        saved = m_ini->Close();
    }
    if (saved)
        m_colorSet(Qt::black, m_form.zonesSave);
    for (int i = 0; i < ZONE_COUNT; ++i) {
        m_ruleTitles[i]->setText(ZoneRuleTitle(i, m_zones[i].Label));
        // The column's title follows its fields, so a newly installed zone is named at once.
        for (QWidget* widget :
             {static_cast<QWidget*>(m_ruleTitles[i]), static_cast<QWidget*>(m_access[i]),
              static_cast<QWidget*>(m_counters[i]), static_cast<QWidget*>(m_antipassbacks[i]),
              static_cast<QWidget*>(m_defaults[i])})
            widget->setVisible(m_zones[i].Installed);
    }
    return saved;
}

void ZonesEditor::GroupNew()
{
    GroupAdd(m_groups, QStringLiteral("Nouveau Group"), 0);
    GroupListFill(m_groups, m_form.groupList);
    const int last = m_groups->size() - 1;
    GroupShow(last);
    m_form.groupList->setCurrentIndex(last);
    GroupEdited();
}

bool ZonesEditor::GroupSave()
{
    const CGROUP* selected = ProfileSelected();
    const int index = m_form.groupList->currentIndex();
    bool saved = true;
    if (index >= 0 && index < m_groups->size()) {
        GroupRead(index);
        saved = GroupsWrite();
    }
    GroupListRefill(index);
    if (saved)
        m_colorSet(Qt::black, m_form.groupSave);
    else
        m_groupEdited = true;
    ProfilesRefill(selected);
    return saved;
}

bool ZonesEditor::GroupDelete(bool confirmed)
{
    if (!confirmed)
        return true;
    const CGROUP* selected = ProfileSelected();
    const int index = m_form.groupList->currentIndex();
    if (index >= 0 && index < m_groups->size()) {
        CGROUP* removed = m_groups->takeAt(index);
        if (removed == selected)
            selected = nullptr;
        delete removed;
    }
    const bool saved = GroupsWrite();
    GroupListRefill(0);
    if (!saved)
        GroupEdited();
    ProfilesRefill(selected);
    return saved;
}

void ZonesEditor::OnZoneStateChanged(int)
{
    for (int i = 0; i < ZONE_COUNT; ++i)
        m_labels[i]->setEnabled(m_installed[i]->isChecked());
    m_colorSet(Qt::red, m_form.zonesSave);
}

void ZonesEditor::ZonesEdited()
{
    m_colorSet(Qt::red, m_form.zonesSave);
}

void ZonesEditor::GroupEdited()
{
    m_groupEdited = true;
    m_colorSet(Qt::red, m_form.groupSave);
}

// A group being shown sets these texts too; only what the operator typed leaves them modified.
void ZonesEditor::GroupNumberChanged()
{
    if (m_form.group->isModified())
        GroupEdited();
}

void ZonesEditor::GroupLabelChanged()
{
    const QLineEdit* chooserText = m_form.groupList->lineEdit();
    const int index = m_form.groupList->currentIndex();
    if (!chooserText || !chooserText->isModified() || index < 0 || index >= m_groups->size())
        return;
    // Red while the label differs from the saved one; typed back, only other edits keep it red.
    const bool unsaved = m_groupEdited || chooserText->text() != m_groups->at(index)->Label;
    m_colorSet(unsaved ? Qt::red : Qt::black, m_form.groupSave);
}

QList<QCheckBox*> ZonesEditor::InstalledBoxes() const
{
    QList<QCheckBox*> boxes;
    for (QCheckBox* box : m_installed) {
        if (box)
            boxes.append(box);
    }
    return boxes;
}

CGROUP* ZonesEditor::ProfileSelected() const
{
    bool ok = false;
    const int index = m_form.profiles->currentData().toInt(&ok);
    return ok ? m_groups->value(index, nullptr) : nullptr;
}

void ZonesEditor::ProfilesRefill(const CGROUP* selected)
{
    int index = -1;
    {
        // The badge form keeps what the operator typed while its group stays chosen.
        const QSignalBlocker blocker(m_form.profiles);
        GroupListFill(m_groups, m_form.profiles);
        index = selected ? m_groups->indexOf(const_cast<CGROUP*>(selected)) : -1;
        m_form.profiles->setCurrentIndex(index);
    }
    if (index < 0 && m_form.profiles->count() > 0)
        m_form.profiles->setCurrentIndex(0);
}

bool ZonesEditor::GroupsWrite()
{
    if (!m_ini->Open())
        return false;
    GroupsSave(m_groups, m_ini);
    return m_ini->Close();
}

void ZonesEditor::GroupListRefill(int current)
{
    GroupListFill(m_groups, m_form.groupList);
    if (current >= 0 && current < m_form.groupList->count()) {
        m_form.groupList->setCurrentIndex(current);
        GroupShow(current);
    }
}
