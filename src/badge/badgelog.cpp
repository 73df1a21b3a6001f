#include "badge/badgelog.h"

Q_LOGGING_CATEGORY(lcBadge, "korvel.badge")
