#include "access/accesslog.h"

Q_LOGGING_CATEGORY(lcAccess, "korvel.access")
