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

// The browser page: its icon, the item preview's header pictures by preview kind, and the dialog that
// hosts the rich-text control.
#define IDI_BROWSER_PAGE 134
#define IDB_PREVIEW_MAIL 187
#define IDB_PREVIEW_CALENDAR 188
#define IDB_PREVIEW_CONTACT 189
#define IDB_PREVIEW_JOURNAL 190
#define IDB_PREVIEW_TODO 191
#define IDD_ITEM_PREVIEW 192
#define IDC_PREVIEW_PLACEHOLDER 1000
#define IDC_PREVIEW_FOCUS 1003
#define IDC_RICH_TEXT 1015

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

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
