#ifndef COMMUNLOG_H
#define COMMUNLOG_H

#include <QLoggingCategory>

// The shared helpers' traces, so they can be silenced or shown on their own.
Q_DECLARE_LOGGING_CATEGORY(lcCommun)

#endif // COMMUNLOG_H
