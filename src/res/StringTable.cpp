#include "StringTable.h"

#include "ResourceIds.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

const QHash<int, QString> &Table()
{
    static const QHash<int, QString> table {
        {IDS_COLUMN_TITLE, u"Title"_s},
        {IDS_COLUMN_CLIENT, u"Client"_s},
        {IDS_COLUMN_URL, u"URL"_s},
        {IDS_COLUMN_TIME, u"Time"_s},
        {IDS_COLUMN_STATUS, u"Status"_s},
        {IDS_COMPANY, u"Tarvel"_s},
        {IDR_MAINFRAME, u"Vantro"_s},
        {IDR_SESSIONTYPE,
         u"\nUntitled Session\nVantro Session Settings\nVantro Session Settings (*.vnt)\n.vnt\n"
         "Vantro.Session\nVantro Session Settings"_s},
        {IDR_SCRIPTTYPE,
         u"\nUntitled Script\nVantro Presentation Script\nVantro Presentation Script (*.vns)\n"
         ".vns\nVantro.Script\nVantro Presentation Script"_s},
        {IDR_BROWSERTYPE, u"Browser"_s},
        {IDR_CHATTYPE, u"Chat"_s},
        {IDS_CHAT_WITH_USER, u"Chat with user"_s},
        {IDS_SESSION_PROPERTIES, u"Session Properties"_s},
        {IDS_NOT_RUNNING, u"Not Running"_s},
        {IDS_UP_TIME, u"Up: %H:%M:%S"_s},
        {IDS_UPTIME_DAYS, u"Uptime: %Dd %Hh %Mm"_s},
        {IDS_NO_WINSOCK, u"Failed to load WinSock services!"_s},
        {ID_INDICATOR_UPTIME, u"Uptime: 999d 99h 99m"_s},
        {IDS_APP_TITLE, u"Vantro"_s},
        {IDS_FAILED_EMPTY_DOC, u"Failed to create empty document."_s},
        // Menu and tool-bar prompts: the status-bar text, then the tool tip after "\n".
        {ID_FILE_OPEN, u"Open an existing session or presentation script\nOpen (Ctrl+0)"_s},
        {ID_FILE_SAVE, u"Save\nSave"_s},
        {ID_FILE_SAVE_AS, u"Save with a new name\nSave As"_s},
        {ID_FILE_PRINT, u"\nPrint"_s},
        {ID_FILE_PRINT_SETUP, u"Change the printer and printing options\nPrint Setup"_s},
        {ID_NEXT_PANE, u"Switch to the next window pane\nNext Pane"_s},
        {ID_PREV_PANE, u"Switch back to the previous window pane\nPrevious Pane"_s},
        {ID_HELP, u"Display help for current task or command\nHelp"_s},
        {ID_APP_EXIT, u"Quit Vantro"_s},
        {ID_NEW_SESSION, u"Create a new session"_s},
        {ID_RESTART_SERVER, u"Restart the server listen connection"_s},
        {ID_INDICATOR_LISTENING, u"NOT LISTENING"_s},
        {ID_CLOSE_SESSION, u"Close this session session\nClose Session"_s},
        {ID_SESSION_PROPERTIES, u"View information about this session"_s},
        {ID_MANUAL_PUSH, u"Manually push a document\nManual Push"_s},
        {ID_LAUNCH_CLIENT, u"Launch Client"_s},
        {ID_INVITE_USERS,
         u"Show the address users join at, to copy, print or scan\nInvite Users"_s},
        {ID_NEW_SCRIPT, u"New Script\nNew Script"_s},
        {ID_ADD_ENTRY, u"Add new script entry"_s},
        {ID_REMOVE_ENTRY, u"Remove this script entry"_s},
        {ID_PUSH_SELECTED, u"Push the selected entry"_s},
        {ID_SCRIPT_PROPERTIES, u"View the information about this script"_s},
        {ID_EXPORT_SCRIPT, u"Export the current script"_s},
        {ID_OPEN_LOCATION, u"Open a URL in the operator window"_s},
        {ID_PUSH_CURRENT,
         u"Push the current page in the operator window\nPush the current page in the "
         "operator window"_s},
        {ID_OPERATOR_BACK, u"Back\nBack"_s},
        {ID_OPERATOR_FORWARD, u"Forward\nForward"_s},
        {ID_OPERATOR_STOP, u"Stop\nStop"_s},
        {ID_OPERATOR_REFRESH, u"Refresh\nRefresh (F5)"_s},
        {ID_FOLLOW_MODE, u"Toggle Follow Mode"_s},
        {ID_ADD_FAVORITE, u"Add to Favorites"_s},
        {ID_VIEW_OPERATOR, u"Show the operator window"_s},
        {ID_VIEW_USERS, u"Show current users"_s},
        {ID_VIEW_ACTIVITY, u"Show activity log"_s},
        {ID_VIEW_TOOLBAR, u"Show or hide the status bar\nToggle Toolbar"_s},
        {ID_VIEW_STATUS_BAR, u"Show or hide the status bar\nToggle StatusBar"_s},
        {ID_HELP_FINDER, u"Help Contents\nHelp Contents"_s},
        {ID_OPERATOR_WINDOW_BAR, u"Operator Window\nOperator Window"_s},
        {ID_START_SESSION, u"Start Session\nStart Session"_s},
        {ID_SHOW_USERS_BAR, u"Show Users\nShow Users"_s},
        {ID_CONTEXT_HELP, u"What's this?\nWhat's this?"_s},
    };
    return table;
}

} // namespace

QString LoadResString(int id)
{
    return Table().value(id);
}
