#include "Trace.h"

Q_LOGGING_CATEGORY(lcTrace, "vantro.trace", QtWarningMsg)
