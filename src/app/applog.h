#ifndef APPLOG_H
#define APPLOG_H

#include <QLoggingCategory>

// Debug lines of this folder: korvel.app.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

#endif // APPLOG_H
