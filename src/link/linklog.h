#ifndef LINKLOG_H
#define LINKLOG_H

#include <QLoggingCategory>

// The reader link's traces, so they can be silenced or shown on their own.
Q_DECLARE_LOGGING_CATEGORY(lcLink)

#endif // LINKLOG_H
