#ifndef SUPPORTSTATUS_H
#define SUPPORTSTATUS_H

#include <QString>

// The polling status the reader reports with a support event: character 1 is
// "1" for an insertion, character 2 "1" for a valid support, characters 3-4
// the fault code of a support that is not valid, characters 5-7 a detail.
enum SupportFaultCode : int
{
    SUPPORT_NO_FAULT = 0,
    SUPPORT_BLACKLISTED = 1,
    SUPPORT_CREDIT_ERROR = 2,
    SUPPORT_VALIDITY_ERROR = 3,
    SUPPORT_LAST_WRITE_ERROR = 4,
    SUPPORT_INTEGRITY_ERROR = 5,
    SUPPORT_READ_ERROR = 6,
    SUPPORT_UNKNOWN = 7,
    SUPPORT_SECURITY_UNKNOWN = 8,
    SUPPORT_PROTOCOL_ERROR = 9,
};

struct SupportStatus
{
    bool inserted = false; // an insertion event; the other fields mean nothing otherwise
    bool valid = false;
    int code = SUPPORT_NO_FAULT; // 0 when the code is not a number
    // "Support OK" or the fault's text; empty for an unknown fault code.
    QString text;
    // The debug line of the event; null when none is logged.
    const char* trace = nullptr;
    // A create-mode insertion writes such a support without "Forcer création".
    bool creatable = false;
    // A read-mode insertion reads such a support.
    bool readable = false;
};

SupportStatus SupportStatusDecode(const QString& status);

#endif // SUPPORTSTATUS_H
