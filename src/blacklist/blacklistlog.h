#ifndef BLACKLISTLOG_H
#define BLACKLISTLOG_H

#include <QLoggingCategory>

// Debug lines of this folder: korvel.blacklist.
Q_DECLARE_LOGGING_CATEGORY(lcBlacklist)

#endif // BLACKLISTLOG_H
