#include "blacklist/blacklistlog.h"

Q_LOGGING_CATEGORY(lcBlacklist, "korvel.blacklist")
