#include "DialogValidation.h"

using namespace Qt::StringLiterals;

QString ParseDialogInt(const QString &text, int &value)
{
    bool ok = false;
    const int parsed = text.trimmed().toInt(&ok);
    if (!ok)
        return u"Please enter an integer."_s;
    value = parsed;
    return {};
}

QString ParseDialogUInt(const QString &text, unsigned &value)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const unsigned parsed = trimmed.toUInt(&ok);
    if (!ok || trimmed.startsWith(u'-'))
        return u"Please enter a positive integer."_s;
    value = parsed;
    return {};
}

QString CheckDialogRange(int value, int minimum, int maximum)
{
    if (value >= minimum && value <= maximum)
        return {};
    return u"Please enter an integer between %1 and %2."_s.arg(minimum).arg(maximum);
}
