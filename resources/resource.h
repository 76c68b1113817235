// Every resource and control id of Orvalis. The main and details dialogs
// reuse some control numbers; the names keep them apart.
#pragma once

// Resources of the executable. Different resource types share number 1.
#define IDR_STYLE_NAMES   1   // RT_RCDATA: the style-name table text
#define IDB_NODE_IMAGES   1   // 28 tree images of 16x16
#define IDI_ORVALIS       1   // program and about-box icon
#define IDI_FINDER        2   // the information window's finder
#define IDD_MAIN          1
#define IDD_DETAILS       2
#define IDD_INFO          3   // the information window
#define IDD_FIND          4   // the find box
#define IDD_STYLES        5   // the style editor
#define IDD_LOG           6   // the message log
#define IDR_MESSAGE_NAMES 2   // RT_RCDATA: the message-name table text
#define IDR_MANIFEST      1

// String table.
#define IDS_PRIORITY_REALTIME  1
#define IDS_PRIORITY_HIGH      2
#define IDS_PRIORITY_NORMAL    3
#define IDS_PRIORITY_IDLE      4
#define IDS_COMMAND_CLOSE      5
#define IDS_COMMAND_MAXIMIZE   6
#define IDS_COMMAND_MINIMIZE   7
#define IDS_COMMAND_RESTORE    8
#define IDS_COMMAND_CLICK      9
#define IDS_CAPTION_STYLE      11
#define IDS_CAPTION_EXSTYLE    12
#define IDS_CAPTION_CLASSSTYLE 13
#define IDS_ABOUT_CAPTION      14
#define IDS_ABOUT_TEXT         15
#define IDS_TAB_PARENT         16
#define IDS_TAB_OWNER          17
#define IDS_TAB_PREVIOUS       18
#define IDS_TAB_NEXT           19
#define IDS_TAB_CHILD          20
// Texts of the node menu and the system menu; a satellite that lacks them
// gets the exe's.
#define IDS_FIND_WINDOW      21
#define IDS_MENU_DETAILS     22
#define IDS_MENU_SHOW_WHERE  23
#define IDS_MENU_COPY        24
#define IDS_MENU_REFRESH     25
#define IDS_MENU_INFO        26
#define IDS_MENU_COPY_BRANCH 27
#define IDS_MENU_FIND_TEXT   28
#define IDS_FIND_NO_MATCH    29
// Values the information window names.
#define IDS_SHOW_NORMAL     30
#define IDS_SHOW_MINIMIZED  31
#define IDS_SHOW_MAXIMIZED  32
#define IDS_CHARSET_UNICODE 33
#define IDS_CHARSET_ANSI    34
#define IDS_BITS_32         35
#define IDS_BITS_64         36
// The information window's headings and the names of its rows, in the
// order it shows them: the menu stands in for the control ID of a
// top-level window.
#define IDS_INFO_WINDOW         37
#define IDS_ROW_HANDLE          38
#define IDS_ROW_CLASS_NAME      39
#define IDS_ROW_TEXT            40
#define IDS_ROW_CONTROL_ID      41
#define IDS_ROW_MENU            42
#define IDS_ROW_WINDOW_RECT     43
#define IDS_ROW_CLIENT_RECT     44
#define IDS_ROW_RESTORED_RECT   45
#define IDS_ROW_SHOW_STATE      46
#define IDS_ROW_STYLE           47
#define IDS_ROW_EXSTYLE         48
#define IDS_ROW_PROCEDURE       49
#define IDS_ROW_INSTANCE        50
#define IDS_ROW_USER_DATA       51
#define IDS_ROW_DPI             52
#define IDS_ROW_DPI_AWARENESS   53
#define IDS_ROW_CHARSET         54
#define IDS_ROW_PARENT          55
#define IDS_ROW_OWNER           56
#define IDS_ROW_ROOT_OWNER      57
#define IDS_INFO_CLASS          58
#define IDS_ROW_ATOM            59
#define IDS_ROW_CLASS_STYLE     60
#define IDS_ROW_CLASS_EXTRA     61
#define IDS_ROW_WINDOW_EXTRA    62
#define IDS_ROW_MODULE          63
#define IDS_ROW_CLASS_PROCEDURE 64
#define IDS_ROW_ICON            65
#define IDS_ROW_SMALL_ICON      66
#define IDS_ROW_CURSOR          67
#define IDS_ROW_BACKGROUND      68
#define IDS_INFO_PROCESS        69
#define IDS_ROW_PROCESS_ID      70
#define IDS_ROW_IMAGE           71
#define IDS_ROW_BITNESS         72
#define IDS_ROW_SESSION         73
#define IDS_ROW_PRIORITY        74
#define IDS_INFO_THREAD         75
#define IDS_ROW_THREAD_ID       76
#define IDS_ROW_ACTIVE          77
#define IDS_ROW_FOCUS           78
#define IDS_ROW_CAPTURE         79
#define IDS_ROW_CARET           80
#define IDS_INFO_PROPERTIES     81
// The node menu's message log and style editor, and what the editor says.
#define IDS_MENU_WATCH         82
#define IDS_MENU_EDIT_STYLES   83
#define IDS_STYLES_GONE        84
#define IDS_STYLES_HUNG        85
#define IDS_STYLES_NOT_TAKEN   86
#define IDS_STYLES_ON_ITS_OWN  87
#define IDS_STYLES_RESTORED    88
#define IDS_STYLES_NOT_A_VALUE 89
// The message log: its columns in order, its scopes in order, its buttons,
// its menu and what its line above the list says.
#define IDS_LOG_COLUMN_NUMBER     90
#define IDS_LOG_COLUMN_TIME       91
#define IDS_LOG_COLUMN_WINDOW     92
#define IDS_LOG_COLUMN_KIND       93
#define IDS_LOG_COLUMN_MESSAGE    94
#define IDS_LOG_COLUMN_PARAMETERS 95
#define IDS_LOG_COLUMN_RESULT     96
#define IDS_LOG_SCOPE_WINDOW      97
#define IDS_LOG_SCOPE_DESCENDANTS 98
#define IDS_LOG_SCOPE_THREAD      99
#define IDS_LOG_SCOPE_PROCESS     100
#define IDS_LOG_PAUSE             101
#define IDS_LOG_RESUME            102
#define IDS_LOG_HIDE              103
#define IDS_LOG_SHOW_ALL          104
#define IDS_LOG_DROPPED           105
#define IDS_LOG_LOST              106
#define IDS_LOG_GONE              107
#define IDS_LOG_NO_LIBRARY        108
#define IDS_LOG_WOW64             109
#define IDS_LOG_REFUSED           110
#define IDS_LOG_MALFORMED         111

// Items of the node menu. Finding a window is on the system menu too, where
// the system keeps the low four bits of an item's id for itself.
#define IDM_DETAILS     0x0100
#define IDM_SHOW_WHERE  0x0110
#define IDM_COPY        0x0120
#define IDM_FIND_WINDOW 0x0130
#define IDM_REFRESH     0x0140
#define IDM_INFO        0x0150
#define IDM_COPY_BRANCH 0x0160
#define IDM_FIND_TEXT   0x0170
#define IDM_WATCH       0x0180
#define IDM_EDIT_STYLES 0x0190
// Items of the message log's menu.
#define IDM_LOG_HIDE     0x01A0
#define IDM_LOG_SHOW_ALL 0x01B0

// Fixed labels of both dialogs (stored as 0xFFFF).
#define IDC_LABEL -1

// Main window.
#define IDC_MAIN_REFRESH        3
#define IDC_MAIN_ABOUT          4
#define IDC_MAIN_ORDER_BY_TITLE 5
#define IDC_MAIN_VISIBLE        10
#define IDC_MAIN_TREE           20

// Details dialog.
#define IDC_DETAILS_TEXT               10
#define IDC_DETAILS_CLASS              11
#define IDC_DETAILS_LEFT               12
#define IDC_DETAILS_TOP                13
#define IDC_DETAILS_WIDTH              14
#define IDC_DETAILS_HEIGHT             15
#define IDC_DETAILS_HANDLE             16
#define IDC_DETAILS_ID                 17
#define IDC_DETAILS_PRIORITY           18
#define IDC_DETAILS_TOPMOST            19
#define IDC_DETAILS_VISIBLE            20
#define IDC_DETAILS_COMMANDS           21
#define IDC_DETAILS_DISABLED           22
#define IDC_DETAILS_STYLE_LIST         30
#define IDC_DETAILS_EXSTYLE_LIST       31
#define IDC_DETAILS_CLASSSTYLE_LIST    32
#define IDC_DETAILS_SET_TEXT           40
#define IDC_DETAILS_SET_RECT           41
#define IDC_DETAILS_SET_PRIORITY       42
#define IDC_DETAILS_EXECUTE            43
#define IDC_DETAILS_RELATIVES_TAB      80
#define IDC_DETAILS_RELATIVE_TEXT      81
#define IDC_DETAILS_RELATIVE_CLASS     82
#define IDC_DETAILS_RELATIVE_HANDLE    83
#define IDC_DETAILS_CLASS_LIST         90
#define IDC_DETAILS_STYLE_CAPTION      110
#define IDC_DETAILS_EXSTYLE_CAPTION    111
#define IDC_DETAILS_CLASSSTYLE_CAPTION 112

// Information window.
#define IDC_INFO_FINDER 100
#define IDC_INFO_LIST   101

// Find box; its buttons are IDOK (next) and this one.
#define IDC_FIND_TEXT     200
#define IDC_FIND_STATUS   201
#define IDC_FIND_PREVIOUS 202

// Style editor: each list, its value field and its button, the style's
// first and the extended style's next, three apart.
#define IDC_STYLES_STYLE_LIST    300
#define IDC_STYLES_STYLE_VALUE   301
#define IDC_STYLES_SET_STYLE     302
#define IDC_STYLES_EXSTYLE_LIST  303
#define IDC_STYLES_EXSTYLE_VALUE 304
#define IDC_STYLES_SET_EXSTYLE   305
#define IDC_STYLES_EXSTYLE_LABEL 306
#define IDC_STYLES_STATUS        307
#define IDC_STYLES_CLASS_STYLE   308
#define IDC_STYLES_CLASS_NOTE    309
#define IDC_STYLES_UNDO          310

// Message log.
#define IDC_LOG_SCOPE  400
#define IDC_LOG_PAUSE  401
#define IDC_LOG_CLEAR  402
#define IDC_LOG_STATUS 403
#define IDC_LOG_LIST   404
