#include "badge/supportstatus.h"

#include <QCoreApplication>

namespace {
struct SupportFault
{
    const char* trace;
    const char* text; // UTF-8
    bool creatable;
};

// Fault codes 1 to 9, in order.
const SupportFault FAULTS[] = {
    {"Polling => Support Inséré Liste Noire", QT_TRANSLATE_NOOP("SupportStatus", "En Liste Noire"), false},
    {"Polling => Support Inséré Crédit erreur", QT_TRANSLATE_NOOP("SupportStatus", "Crédit En Erreur"),
     false},
    {"Polling => Support Inséré Validité erreur", QT_TRANSLATE_NOOP("SupportStatus", "Date Validité Erreur"),
     false},
    {"Polling => Support dernière écriture erreur",
     QT_TRANSLATE_NOOP("SupportStatus", "Dernière écriture erreur"), false},
    {"Polling => Support Intégrité erreur", QT_TRANSLATE_NOOP("SupportStatus", "Intégrité erreur"), true},
    {"Polling => Support lecture donnée erreur", QT_TRANSLATE_NOOP("SupportStatus", "Lecture erreur("),
     false},
    {"Polling => Support Inséré Inconnu", QT_TRANSLATE_NOOP("SupportStatus", "Support Inconnu"), true},
    {"Polling => Support Inséré sécurité inconnue", QT_TRANSLATE_NOOP("SupportStatus", "Sécurité inconnue"),
     false},
    {"Polling => Support Inséré erreur de protocole", QT_TRANSLATE_NOOP("SupportStatus", "Erreur protocole"),
     false},
};
} // namespace

SupportStatus SupportStatusDecode(const QString& s)
{
    SupportStatus status;
    bool ok = false;
    status.code = s.mid(3, 2).toInt(&ok, 10);
    if (!ok)
        status.code = SUPPORT_NO_FAULT;
    status.inserted = s.mid(1, 1) == QLatin1String("1");
    status.valid = s.mid(2, 1) == QLatin1String("1");
    if (status.valid) {
        status.trace = "Polling => Support Inséré OK";
        status.text = QCoreApplication::translate("SupportStatus", "Support OK");
    } else if (status.code >= SUPPORT_BLACKLISTED && status.code <= SUPPORT_PROTOCOL_ERROR) {
        const SupportFault& fault = FAULTS[status.code - 1];
        status.trace = fault.trace;
        status.text = QCoreApplication::translate("SupportStatus", fault.text);
        if (status.code == SUPPORT_READ_ERROR)
            status.text += s.mid(5, 3) + QLatin1Char(')');
        status.creatable = fault.creatable;
    }
    // Faults past the integrity error leave nothing worth reading.
    status.readable =
        status.valid || (status.code >= SUPPORT_NO_FAULT && status.code <= SUPPORT_INTEGRITY_ERROR);
    return status;
}
