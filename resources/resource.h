// Resource ids of Brindle for PST to NSF (the main program). The numbers are the program's own and
// stay as they are.
#pragma once

// Dialogs, and the pictures they show.
#define IDD_NSF_SAVE_OPTIONS 136
#define IDD_PROCESS_PROGRESS 137
#define IDD_LARGE_ITEM_PROMPT 183
#define IDD_SERVER_ENUM_WAIT 205
#define IDR_SERVER_SEARCH_AVI 207
#define IDD_SAVING_COMPLETE 208
#define IDB_SAVING_COMPLETE 209
#define IDB_BANNER 225
#define IDD_BANNER 226
#define IDD_OUTLOOK_FOLDERS 234

// The main frame's toolbar pictures (32 x 32, 24 bits on magenta), given to the image manager for
// commands 32771-32775.
#define IDB_TOOLBAR_HOMEPAGE 223
#define IDB_TOOLBAR_EXPORT 229
#define IDB_TOOLBAR_HELP 230
#define IDB_TOOLBAR_SELECT_FILE 232

#define IDD_TEMPLATE_DLG 238

// Controls. Dialogs of their own may share a number.
#define IDC_SAVING_COMPLETE_TEXT 100
#define IDC_NSF_FOLDER 1000
#define IDC_NSF_FILE_NAME 1001
#define IDC_NSF_EXISTING_PATH 1002
#define IDC_PROGRESS_BAR 1002
#define IDC_STOP 1003
#define IDC_WAIT_TEXT 1004
#define IDC_SAVE_EXISTING_FILE 1005
#define IDC_SAVE_NEW_FILE 1006
#define IDC_TEXT_FORMAT 1007
#define IDC_DONT_SHOW_AGAIN 1007
#define IDC_TEMPLATE_LIST 1009
#define IDC_SEARCH_ANIMATION 1016
#define IDC_FOLDER_TREE 1017
#define IDC_BANNER_LINK 1026

// ---- The wizard's periphery ----
// The Domino file selection dialog.
#define IDD_DOMINO_FILE_SELECT 211
#define IDC_DOMINO_SERVER_NAME 1000
#define IDC_SEARCH_SERVERS 1003
#define IDC_DOMINO_DATABASES 1009
#define IDC_DOMINO_SERVERS 1010
#define IDC_ADD_SERVER 1018
#define IDC_ADD_DATABASES 1019
#define IDC_FINISH 1020
#define IDC_SEARCH_STATUS 1021
#define IDC_STOP_SEARCH 1022
#define IDC_SELECT_ALL 1024
#define IDC_UNSELECT_ALL 1025
// The source type page's icon, and its picture (not part of the program: the page draws it when a
// resource of that number is there).
#define IDI_SOURCE_TYPE 134
#define IDB_SOURCE_TYPE 203
// The clickable label's cursor.
#define IDC_LINK_CURSOR 201

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
