#ifndef BADGELOG_H
#define BADGELOG_H

#include <QLoggingCategory>

// Debug lines of this folder: korvel.badge.
Q_DECLARE_LOGGING_CATEGORY(lcBadge)

#endif // BADGELOG_H
