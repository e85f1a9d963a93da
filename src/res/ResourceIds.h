#pragma once

// The program's resource identifiers: commands, window types, dialogs, controls, status panes
// and strings keep these numbers.

// Window types, menus and tool bars.
constexpr int IDR_MAINFRAME = 123;
constexpr int IDR_SESSIONTYPE = 132;
constexpr int IDR_SCRIPTTYPE = 133;
constexpr int IDR_BROWSERTYPE = 135;
constexpr int IDR_CHATTYPE = 137;
constexpr int IDR_SESSIONBAR = 171;
constexpr int IDR_SESSION_MENU = 184;

// Icons of the navigation tree and the users window.
constexpr int IDI_USER = 165;
constexpr int IDI_MISSING = 179;
constexpr int IDI_FAVORITE = 1067;
constexpr int IDI_FOLDER_CLOSED = 1185;
constexpr int IDI_FOLDER_OPEN = 1186;
// The script list's marker of the entry Push Next pushes next.
constexpr int IDI_SCRIPT_MARKER = 186;

// Framework commands.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE_HORZ = 57651;
constexpr int ID_WINDOW_TILE_VERT = 57652;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_FINDER = 57667;
constexpr int ID_CONTEXT_HELP = 57669;
constexpr int ID_HELP = 57670;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

// The program's commands.
constexpr int ID_RESTART_SERVER = 1087;
constexpr int ID_NEW_SCRIPT = 1095;
constexpr int ID_START_SESSION = 1099;
constexpr int ID_ADD_ENTRY = 1100;
constexpr int ID_PUSH_SELECTED = 1101;
constexpr int ID_REMOVE_ENTRY = 1103;
constexpr int ID_SCRIPT_PROPERTIES = 1104;
constexpr int ID_LAUNCH_CLIENT = 1105;
constexpr int ID_ADD_FAVORITE = 1110;
constexpr int ID_SESSION_PROPERTIES = 1114;
constexpr int ID_VIEW_OPERATOR = 1123;
constexpr int ID_VIEW_USERS = 1125;
constexpr int ID_NEW_SESSION = 1127;
constexpr int ID_CLOSE_SESSION = 1134;
constexpr int ID_MANUAL_PUSH = 1138;
constexpr int ID_OPERATOR_REFRESH = 1139;
constexpr int ID_OPERATOR_STOP = 1141;
constexpr int ID_OPERATOR_BACK = 1142;
constexpr int ID_OPERATOR_FORWARD = 1143;
constexpr int ID_OPEN_LOCATION = 1144;
constexpr int ID_OPERATOR_WINDOW_BAR = 1145;
constexpr int ID_SHOW_USERS_BAR = 1146;
constexpr int ID_FOLLOW_MODE = 1149;
constexpr int ID_EXPORT_SCRIPT = 1150;
constexpr int ID_VIEW_ACTIVITY = 1151;
constexpr int ID_OPEN_SESSION = 1152;
constexpr int ID_NEW_SCRIPT_BAR = 1188;
constexpr int ID_PUSH_NEXT = 2000;
constexpr int ID_PUSH_CURRENT = 2001;
constexpr int ID_REMOVE_FAVORITE = 2011;
constexpr int ID_FAVORITE_FIRST = 32769;
constexpr int ID_FAVORITE_LAST = 32778;
constexpr int ID_SELECT_FAVORITE = 32788;
// Not among the program's original resources: Session > Invite Users.
constexpr int ID_INVITE_USERS = 1240;

// Status-bar panes.
constexpr int ID_INDICATOR_UPTIME = 1184;
constexpr int ID_INDICATOR_FRAMES = 1193;
constexpr int ID_INDICATOR_FOLLOW = 1194;
// Not among the program's original resources: the pane that says a session is not listening.
constexpr int ID_INDICATOR_LISTENING = 1195;

// Bitmaps, as ":/bitmaps/ID.png".
constexpr int IDB_SPLASH = 183;

// Dialogs.
constexpr int IDD_USERS = 153;
constexpr int IDD_CLIENT_PAGE = 154;
constexpr int IDD_SERVER_PAGE = 155;
constexpr int IDD_PAGES_PAGE = 156;
constexpr int IDD_CONTROL_BAR = 161;
constexpr int IDD_ABOUTBOX = 182;
constexpr int IDD_ADD_DOCUMENT = 138;
constexpr int IDD_SELECT_FAVORITE = 510;
constexpr int IDD_CALLCENTER_SETTINGS = 511;
constexpr int IDD_ADD_FAVORITE = 512;
constexpr int IDD_WORKSTATION_SETTINGS = 2901;

// Controls.
constexpr int IDC_FAVORITE_ADDRESS = 1006;
constexpr int IDC_FAVORITE_TITLE = 1014;
constexpr int IDC_FAVORITE_LIST = 2903;
// The Add Document dialog shares its two edits' ids with Add Favorite.
constexpr int IDC_DOCUMENT_TITLE = 1014;
constexpr int IDC_DOCUMENT_URL = 1006;
constexpr int IDC_PORT = 1018;
constexpr int IDC_TREE = 1031;
constexpr int IDC_USER_LIST = 1032;
constexpr int IDC_USER_INFO = 1033;
constexpr int IDC_USER_LOGOFF = 1034;
constexpr int IDC_ROOT_FOLDER = 1035;
constexpr int IDC_BROWSE_ROOT = 1036;
constexpr int IDC_REFRESH = 1037;
constexpr int IDC_LOGON_PAGE = 1038;
constexpr int IDC_BROWSE_LOGON = 1039;
constexpr int IDC_LOGOFF_PAGE = 1040;
constexpr int IDC_BUSY_PAGE = 1041;
constexpr int IDC_BROWSE_LOGOFF = 1042;
constexpr int IDC_BROWSE_BUSY = 1044;
constexpr int IDC_DOWNLOAD_DELAY = 1047;
// Not among the program's original resources: the Client page's instant-delivery check box.
constexpr int IDC_INSTANT_DELIVERY = 1197;
// Nor is its check box that brings late joiners to the current page.
constexpr int IDC_BRING_LATE_JOINERS = 1198;
constexpr int IDC_LOG_ENABLED = 1048;
constexpr int IDC_LOG_FILE = 1049;
constexpr int IDC_BROWSE_LOG = 1050;
constexpr int IDC_CALLCENTER_HELP = 125;
constexpr int IDC_WORKSTATION_MODE = 2906;
constexpr int IDC_MODE_DESCRIPTION = 2907;
constexpr int IDC_CALLCENTER_MODE = 2908;
constexpr int IDC_WORKSTATION_SETTINGS = 2909;
constexpr int IDC_CALLCENTER_SETTINGS = 2910;
constexpr int IDC_OPERATOR_NAME = 2915;
constexpr int IDC_CALLCENTER_SERVER = 2917;
constexpr int IDC_CALLCENTER_PATH = 2919;
constexpr int IDC_WELCOME_PAGE = 2925;
constexpr int IDC_BROWSE_WELCOME = 2926;
constexpr int IDC_WORKSTATION_HELP = 2931;

// Strings.
constexpr int IDS_COLUMN_TITLE = 101;
constexpr int IDS_COLUMN_CLIENT = 102;
constexpr int IDS_COLUMN_URL = 103;
constexpr int IDS_COLUMN_TIME = 104;
constexpr int IDS_COLUMN_STATUS = 105;
constexpr int IDS_COMPANY = 116;
constexpr int IDS_SESSION_PROPERTIES = 1155;
constexpr int IDS_NOT_RUNNING = 1165;
constexpr int IDS_UP_TIME = 1166;
constexpr int IDS_UPTIME_DAYS = 1167;
constexpr int IDS_NO_WINSOCK = 1183;
constexpr int IDS_APP_TITLE = 57344;
constexpr int IDS_FAILED_EMPTY_DOC = 61700;

// The Manual Push dialog.
constexpr int IDD_MANUAL_PUSH = 128;
constexpr int IDC_BROWSE_LOCAL = 1036;
constexpr int IDC_REMOTE_TEXT = 1021;
constexpr int IDC_PUSH_USERS = 1043;
constexpr int IDC_REMOTE = 1051;
constexpr int IDC_LOCAL = 1052;
constexpr int IDC_LOCAL_TEXT = 1053;
constexpr int IDC_CDROM = 1054;
constexpr int IDC_CDROM_TEXT = 1055;
constexpr int IDC_BROWSE_CDROM = 1056;
constexpr int IDC_SHOW_USERS = 1059;
constexpr int IDC_SELECT_ALL = 1060;
constexpr int IDC_DESELECT_ALL = 1061;
constexpr int IDC_FAVORITES = 2923;

// The client launcher.
constexpr int IDD_CLIENT_TEST = 141;
constexpr int IDC_CLIENT_NAME = 1017;
constexpr int IDC_CLIENT_PORT = 1018;
constexpr int IDC_CLIENT_LIST = 1043;
constexpr int IDC_ADD_CLIENT = 1044;
constexpr int IDC_LAUNCH_CLIENTS = 1045;
constexpr int IDC_REMOVE_CLIENTS = 1046;
constexpr int IDC_LAUNCH_STATUS = 2930;

// The chat window type and its command.
constexpr int ID_NEW_CHAT = 1098;
constexpr int IDS_CHAT_WITH_USER = 1136;

// The operator window: its form, dialogs, controls, context menu and commands.
constexpr int IDD_OPERATOR_VIEW = 151;
constexpr int IDD_OPEN_LOCATION = 175;
constexpr int IDD_FRAMES_WARNING = 514;
constexpr int IDR_OPERATOR_CONTEXT = 507;
constexpr int IDC_BROWSER = 1020;
constexpr int IDC_ADDRESS = 1191;
constexpr int IDC_ADDRESS_LABEL = 1192;
constexpr int IDC_WEB_ICON = 2922;
constexpr int IDC_MORE_INFO = 2928;
constexpr int IDC_FRAMES_TEXT = 2929;
constexpr int ID_PAGE_SETUP = 1112;
constexpr int ID_PRINT_PAGE = 1113;
constexpr int ID_PUSH = 2007;
constexpr int ID_EDIT_FIND = 57636;
constexpr int ID_EDIT_SELECT_ALL = 57642;
constexpr int HID_FRAMES_INFO = 0x10B70;
// A dialog's help context: the dialog's id above the base of dialog contexts.
constexpr int HID_WORKSTATION_SETTINGS = 0x20000 + IDD_WORKSTATION_SETTINGS;
