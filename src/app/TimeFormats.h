#pragma once

#include <QDateTime>
#include <QString>

// Local times as the console writes them, in English whatever the system's language.

// "%A, %B %d, %Y %H:%M:%S", as in "Monday, December 07, 2026 09:39:25": the log's start and
// stop lines.
QString LongTimeText(const QDateTime &time);
// "%I:%M:%S %p", as in "09:39:25 AM": the activity list's time column.
QString ShortTimeText(const QDateTime &time);
