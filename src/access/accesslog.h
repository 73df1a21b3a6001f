#ifndef ACCESSLOG_H
#define ACCESSLOG_H

#include <QLoggingCategory>

// Debug lines of this folder: korvel.access.
Q_DECLARE_LOGGING_CATEGORY(lcAccess)

#endif // ACCESSLOG_H
