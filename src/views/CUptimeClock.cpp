#include "CUptimeClock.h"

#include "ResourceIds.h"
#include "StringTable.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kSecondsPerDay = 86400;

QString TwoDigits(qint64 value)
{
    return u"%1"_s.arg(value, 2, 10, QChar(u'0'));
}

} // namespace

CUptimeClock::CUptimeClock(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTimeUtc(); }))
{ }

QString CUptimeClock::Update(bool usersAttached)
{
    const QDateTime now = m_clock();
    if (!m_origin.isValid() || !usersAttached)
        m_origin = now;
    if (!usersAttached)
        return LoadResString(IDS_NOT_RUNNING);
    const qint64 span = m_origin.secsTo(now);
    return FormatSpan(LoadResString(span < kSecondsPerDay ? IDS_UP_TIME : IDS_UPTIME_DAYS), span);
}

QString CUptimeClock::FormatSpan(const QString &format, qint64 seconds)
{
    QString text = format;
    text.replace("%D"_L1, QString::number(seconds / kSecondsPerDay));
    text.replace("%H"_L1, TwoDigits(seconds / 3600 % 24));
    text.replace("%M"_L1, TwoDigits(seconds / 60 % 60));
    text.replace("%S"_L1, TwoDigits(seconds % 60));
    return text;
}
