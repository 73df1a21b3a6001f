#include "commun/communlog.h"

Q_LOGGING_CATEGORY(lcCommun, "korvel.commun")
