#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcTrace)

// A debug trace naming the class and member, off unless "vantro.trace.debug=true" is set in
// QT_LOGGING_RULES; it carries no behaviour.
#define TRACE(text) qCDebug(lcTrace, "%s", text)
