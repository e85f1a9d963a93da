#include "TimeFormats.h"

#include <QLocale>

using namespace Qt::StringLiterals;

QString LongTimeText(const QDateTime &time)
{
    return QLocale::c().toString(time, u"dddd, MMMM dd, yyyy HH:mm:ss"_s);
}

QString ShortTimeText(const QDateTime &time)
{
    return QLocale::c().toString(time, u"hh:mm:ss AP"_s);
}
