#include "access/zones.h"

#include "commun/fileini.h"
#include "commun/vrltoolbox.h"

namespace {

const QChar keySeparator(';');
const QChar keyEquals(':');
const QChar ruleSeparator(',');

QString zoneKey(int index)
{
    return QStringLiteral("ZONE") + QString::number(index);
}

} // namespace

void CZONE::Set(const QString& text)
{
    bool found = false;
    if (VRLTBSTR_ValueGet(&found, text, QStringLiteral("INSTALLED"), keySeparator, keyEquals,
                          QStringLiteral("NO")) == QLatin1String("YES"))
        Installed = true;
    Label = VRLTBSTR_ValueGet(&found, text, QStringLiteral("LABEL"), keySeparator, keyEquals, QString());
}

QString CZONE::Get() const
{
    return QStringLiteral("INSTALLED:") + (Installed ? QStringLiteral("YES") : QStringLiteral("NO")) +
           QStringLiteral(";LABEL:") + Label;
}

void CZONE_RULE::Set(const QString& text)
{
    bool found = false;
    Access = VRLTBSTR_FieldGet(&found, text, ruleSeparator, 1, QStringLiteral("NO")) == QLatin1String("YES");
    // The numbers are one byte each: only the low 8 bits of a larger value are kept.
    Counter = quint8(VRLTBSTR_FieldGet(&found, text, ruleSeparator, 2, 0));
    Antipassback = quint8(VRLTBSTR_FieldGet(&found, text, ruleSeparator, 3, 0));
    Spare = quint8(VRLTBSTR_FieldGet(&found, text, ruleSeparator, 4, 0));
    Default = quint8(VRLTBSTR_FieldGet(&found, text, ruleSeparator, 5, 0));
}

QString CZONE_RULE::Get() const
{
    return (Access ? QStringLiteral("YES,") : QStringLiteral("NO,")) + QString::number(Counter) +
           QLatin1Char(',') + QString::number(Antipassback) + QLatin1Char(',') + QString::number(Spare) +
           QLatin1Char(',') + QString::number(Default);
}

void ZonesLoad(CZONE zones[ZONE_COUNT], CFILE_INI* ini)
{
    for (int i = 0; i < ZONE_COUNT; ++i) {
        zones[i] = CZONE();
        if (!ini)
            continue;
        bool found = false;
        const QString value = ini->ValueGet(&found, QStringLiteral("ZONES"), zoneKey(i), 1, QString());
        if (found)
            zones[i].Set(value);
    }
}

void ZonesSave(const CZONE zones[ZONE_COUNT], CFILE_INI* ini)
{
    if (!ini)
        return;
    for (int i = 0; i < ZONE_COUNT; ++i)
        ini->ValueSet(QStringLiteral("ZONES"), zoneKey(i), zones[i].Get(), 1);
}
