#include "ResourceIcons.h"

#include "ResourceIds.h"

#include <QApplication>
#include <QStyle>

QIcon LoadResIcon(int id)
{
    QStyle::StandardPixmap pixmap;
    switch (id) {
    case IDR_MAINFRAME:
        pixmap = QStyle::SP_MessageBoxInformation;
        break;
    case IDI_USER:
        pixmap = QStyle::SP_DialogApplyButton;
        break;
    case IDR_BROWSERTYPE:
        pixmap = QStyle::SP_DriveNetIcon;
        break;
    case IDR_SCRIPTTYPE:
        pixmap = QStyle::SP_FileIcon;
        break;
    case IDI_FOLDER_OPEN:
        pixmap = QStyle::SP_DirOpenIcon;
        break;
    case IDI_FOLDER_CLOSED:
        pixmap = QStyle::SP_DirClosedIcon;
        break;
    case IDI_FAVORITE:
        pixmap = QStyle::SP_FileLinkIcon;
        break;
    case IDI_SCRIPT_MARKER:
        pixmap = QStyle::SP_ArrowRight;
        break;
    default:
        return {};
    }
    return QApplication::style()->standardIcon(pixmap);
}
