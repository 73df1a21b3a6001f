#include "access/groups.h"

#include "access/accesslog.h"
#include "commun/fileini.h"
#include "commun/vrltoolbox.h"

#include <QComboBox>
#include <QDebug>

namespace {

const QChar keySeparator(';');
const QChar keyEquals(':');

} // namespace

void CGROUP::Set(const QString& text)
{
    qCDebug(lcAccess, "Str:%s", qUtf8Printable(text));
    bool found = false;
    Number = VRLTBSTR_ValueGet(&found, text, QStringLiteral("ID"), keySeparator, keyEquals, 0);
    bool labelFound = false;
    Label = VRLTBSTR_ValueGet(&labelFound, text, QStringLiteral("LABEL"), keySeparator, keyEquals, QString());
    if (!labelFound)
        return;
    for (int z = 0; z < ZONE_COUNT; ++z) {
        CZONE_RULE& rule = Rules[z];
        rule = CZONE_RULE();
        const QString ruleText = VRLTBSTR_ValueGet(&found, text, QStringLiteral("Z") + QString::number(z),
                                                   keySeparator, keyEquals, QString());
        if (found)
            rule.Set(ruleText);
        qCDebug(lcAccess, "GROUP:%d LABEL:%s ZONE:%d ACCES:%d COUNTER:%d Antipassback:%d Default:%d", Number,
                qUtf8Printable(Label), z, int(rule.Access), int(rule.Counter), int(rule.Antipassback),
                int(rule.Default));
    }
}

QString CGROUP::Get() const
{
    QString text = QStringLiteral("ID:") + QString::number(Number) + QStringLiteral(";LABEL:") + Label +
                   QLatin1Char(';');
    for (int z = 0; z < ZONE_COUNT; ++z)
        text += QLatin1Char('Z') + QString::number(z) + QLatin1Char(':') + Rules[z].Get() + QLatin1Char(';');
    return text;
}

void GroupsLoad(QList<CGROUP*>* groups, CFILE_INI* ini)
{
    if (!groups || !ini)
        return;
    bool found = false;
    QString line = ini->KeyLineFirst(&found, QStringLiteral("GROUPS"), 1);
    while (found) {
        auto* group = new CGROUP;
        group->Set(CFILE_INI::LineValue(line));
        groups->append(group);
        line = ini->KeyLineNext(&found);
    }
}

void GroupsSave(const QList<CGROUP*>* groups, CFILE_INI* ini)
{
    if (!groups || !ini)
        return;
    ini->SectionClear(QStringLiteral("GROUPS"), 1);
    for (const CGROUP* group : *groups)
        ini->KeyAdd(QStringLiteral("GROUPS"), QStringLiteral("GROUP"), group->Get());
}

CGROUP* GroupAdd(QList<CGROUP*>* groups, const QString& label, int number)
{
    if (!groups)
        return nullptr;
    auto* group = new CGROUP;
    group->Label = label;
    group->Number = number;
    groups->append(group);
    return group;
}

void GroupListFill(const QList<CGROUP*>* groups, QComboBox* combo)
{
    if (!combo)
        return;
    combo->clear();
    if (!groups)
        return;
    for (int i = 0; i < groups->size(); ++i)
        combo->addItem(groups->at(i)->Label, i);
}
