#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The uptime pane's text: how long users have been attached without a break. The count starts
// when the user table stops being empty and is "Not Running" while it is empty.
class CUptimeClock
{
public:
    using Clock = std::function<QDateTime()>;

    // The clock defaults to the system's; tests give their own.
    explicit CUptimeClock(Clock clock = {});

    // The text for this moment.
    QString Update(bool usersAttached);

    // A span in seconds written with "%D" (days), "%H", "%M" and "%S" (two digits each).
    static QString FormatSpan(const QString &format, qint64 seconds);

private:
    Clock m_clock;
    QDateTime m_origin;
};
