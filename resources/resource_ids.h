// Resource ids shared by the resource scripts and the code. The numbers are fixed: other
// instances, the language pack and the dialog template rely on them.
#pragma once

#define IDS_MAIN_CLASS 103
#define IDS_RUN_VALUE_NAME 109
#define IDI_PROGRAM 107

// Artwork
#define IDB_HEADER_LIGHT 136
#define IDB_HEADER_DARK 137
#define IDI_LINK 316

// The empty ZIP archive (resource type "ZIP")
#define IDR_EMPTY_ZIP 226

// The settings dialog and its controls
#define IDD_SETTINGS 148
#define IDC_HEADER_PICTURE 3031
#define IDC_HEADER_LINE 4030
#define IDC_PREFERENCES_GROUP 32787
#define IDC_DISABLE 1014
#define IDC_START_WITH_WINDOWS 1015
#define IDC_START_IN_TRAY 1016
#define IDC_ALWAYS_ON_TOP 1011
#define IDC_HIDE_TASKBAR 1017
#define IDC_HIDE_AT_START 1018
#define IDC_HIDE_BY_MIDDLE 1019
#define IDC_SHOW_BY_CLICK_GROUP 1037
#define IDC_SHOW_BY_LEFT 4201
#define IDC_SHOW_BY_MIDDLE 4202
#define IDC_SHOW_BY_RIGHT 4203
#define IDC_SHOW_BY_CONTEXT_MENU 2207
#define IDC_SHOW_BY_WIN_D 4204
#define IDC_SHOW_BY_MOUSE_MOVE 4205
#define IDC_MORE_OPTIONS 2031
#define IDC_DISABLE_PERMANENTLY 1042
#define IDC_HIDE_TIME_SLIDER 1002
#define IDC_HIDE_TIME_TEXT 1039
#define IDC_TIMER_LABEL 1038
#define IDC_COUNTDOWN 1036
#define IDC_HIDE_TIME_LABEL 1040
#define IDC_LINK_LINE 4031
#define IDC_LINK_BAR_PLACE 1013
#define IDC_FAQ 1050

// The hot key's dialog
#define IDD_HOTKEY 150
#define IDC_HOTKEY_CONTROL 1060
#define IDC_HOTKEY_MESSAGE 1061
#define IDC_HOTKEY_LABEL 1062

// Commands that reach the settings dialog from its menus, the menu bar, the link bar and the
// tray menu. The link bar's notice shares its id with the place holder it covers (1013) and
// the FAQ command with the hidden "# ?" button (1050).
#define IDM_EXIT 32790
#define IDM_TO_TRAY 32789
#define IDM_LANGUAGE_MENU 2022
#define IDM_DONATE 32900
#define IDM_HIDE_TASKBAR_RULE 32903
#define IDM_DESKTOP_COLOUR 32907
#define IDM_RECOMMEND 32895
#define IDM_SEND_ZIP 32897
#define IDM_NEWEST_VERSION 32898
#define IDM_HISTORY 32899
#define IDM_UNINSTALL 32904
#define IDM_LICENSE 32905
#define IDM_HOTKEY 32910
#define IDM_HIDE_BY_DOUBLE_CLICK 32920
