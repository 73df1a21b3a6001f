#ifndef READERCONFIGLOG_H
#define READERCONFIGLOG_H

#include <QLoggingCategory>

// Debug lines of this folder: korvel.readerconfig.
Q_DECLARE_LOGGING_CATEGORY(lcReaderConfig)

#endif // READERCONFIGLOG_H
