#include "FileErrors.h"

#include <cerrno>

using namespace Qt::StringLiterals;

QString FileErrorText(int error, const QString &fileName)
{
    QString text;
    switch (error) {
    case ENOENT:
        text = u"%1 was not found."_s;
        break;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        text = u"%1 contains an incorrect path."_s;
        break;
    case EMFILE:
    case ENFILE:
        text = u"Could not open %1 because there are too many open files."_s;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        text = u"Access to %1 was denied."_s;
        break;
    case ENOSPC:
    case EDQUOT:
        text = u"Destination disk drive is full."_s;
        break;
    case EIO:
        text = u"A hardware I/O error was reported while accessing %1."_s;
        break;
    case EBUSY:
    case ETXTBSY:
        text = u"A sharing violation occurred while accessing %1."_s;
        break;
    default:
        text = u"An unexpected error occurred while accessing %1."_s;
        break;
    }
    return text.contains("%1"_L1) ? text.arg(fileName) : text;
}
