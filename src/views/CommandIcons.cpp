#include "CommandIcons.h"

#include "ResourceIds.h"

#include <QApplication>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

struct CommandImage
{
    int id;
    const char16_t *themeName; // a name from the freedesktop icon naming list
    QStyle::StandardPixmap fallback;
};

constexpr CommandImage kImages[] = {
    {ID_FILE_OPEN, u"document-open", QStyle::SP_DialogOpenButton},
    {ID_FILE_SAVE, u"document-save", QStyle::SP_DialogSaveButton},
    {ID_FILE_PRINT, u"document-print", QStyle::SP_FileDialogContentsView},
    {ID_NEW_SCRIPT, u"document-new", QStyle::SP_FileIcon},
    {ID_OPERATOR_WINDOW_BAR, u"internet-web-browser", QStyle::SP_DriveNetIcon},
    {ID_START_SESSION, u"media-playback-start", QStyle::SP_MediaPlay},
    {ID_CLOSE_SESSION, u"media-playback-stop", QStyle::SP_MediaStop},
    {ID_SHOW_USERS_BAR, u"system-users", QStyle::SP_DirHomeIcon},
    {ID_OPERATOR_BACK, u"go-previous", QStyle::SP_ArrowBack},
    {ID_OPERATOR_FORWARD, u"go-next", QStyle::SP_ArrowForward},
    {ID_OPERATOR_REFRESH, u"view-refresh", QStyle::SP_BrowserReload},
    {ID_OPERATOR_STOP, u"process-stop", QStyle::SP_BrowserStop},
    {ID_MANUAL_PUSH, u"mail-send", QStyle::SP_CommandLink},
    {ID_INVITE_USERS, u"contact-new", QStyle::SP_FileDialogInfoView},
    {ID_HELP_FINDER, u"help-contents", QStyle::SP_DialogHelpButton},
    {ID_CONTEXT_HELP, u"help-whatsthis", QStyle::SP_TitleBarContextHelpButton},
};

} // namespace

QIcon CommandIcon(int id)
{
    for (const CommandImage &image : kImages) {
        if (image.id == id)
            return QIcon::fromTheme(QString::fromUtf16(image.themeName),
                                    QApplication::style()->standardIcon(image.fallback));
    }
    return {};
}

QIcon ApplicationIcon()
{
    return QIcon::fromTheme(u"vantro"_s, QIcon(u":/icons/vantro.png"_s));
}
