#include "readerconfig/readerconfiglog.h"

Q_LOGGING_CATEGORY(lcReaderConfig, "korvel.readerconfig")
