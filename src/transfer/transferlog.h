#ifndef TRANSFERLOG_H
#define TRANSFERLOG_H

#include <QLoggingCategory>

// Debug lines of this folder: korvel.transfer.
Q_DECLARE_LOGGING_CATEGORY(lcTransfer)

#endif // TRANSFERLOG_H
