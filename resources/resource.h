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
#define IDC_END_PROGRAM 1030
#define IDC_KEEP_WAITING 1031
#define IDC_SAVE_EXISTING_FILE 1005
#define IDC_SAVE_NEW_FILE 1006
#define IDC_TEXT_FORMAT 1007
#define IDC_DONT_SHOW_AGAIN 1007
#define IDC_TEMPLATE_LIST 1009
#define IDC_SEARCH_ANIMATION 1016
#define IDC_FOLDER_TREE 1017
#define IDC_BANNER_LINK 1026

// ---- The program's frame, view and pages ----
// Document template 128: menu, accelerators, icon and the template string.
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_TEXT 1008
#define IDD_SAVE_OPTIONS 185
#define IDC_SAVE_IN_EXCHANGE 1011
#define IDC_SAVE_IN_PST 1012
// The main view's header (bitmap 130, stretched out by 131) and its tool buttons' pictures.
#define IDB_HEADER 130
#define IDB_HEADER_FILL 131
#define IDB_TOOL_HELP_HOT 154
#define IDB_TOOL_LOCATE_HOT 155
#define IDB_TOOL_ABOUT_HOT 156
#define IDB_TOOL_LOCATE 157
#define IDB_TOOL_LOCATE_PRESSED 158
#define IDB_TOOL_HELP 161
#define IDB_TOOL_ABOUT 162
#define IDB_TOOL_CONVERT 164
#define IDB_TOOL_CONVERT_HOT 165
#define IDB_TOOL_CONVERT_PRESSED 177
// The pages: step marks (16 x 16 strip; 46 current, 53 done), the bottom-left picture, page one's.
#define IDB_STEP_IMAGES 133
#define IDB_PAGE_FOOTER 224
#define IDB_PAGE_PST 235
#define IDB_PAGE_STEPS 237
// Icons of the page buttons.
#define IDI_SELECT_FILE 166
#define IDI_REMOVE_FILE 167
#define IDI_REMOVE_ALL_FILES 168
#define IDI_NEXT 169
#define IDI_BACK 170
#define IDI_EXIT 171
#define IDI_STOP 172
#define IDI_PREVIEW 228
#define IDI_SOURCE_PST 218
#define IDI_SOURCE_NSF 220
// The main frame's image lists: 16 x 16 icons in the folder kinds' order, then the strip 135, whose
// last image (index 15 of the list) marks attachments; and the 32 x 27 pictures.
#define IDB_LIST_IMAGES 135
#define IDI_FOLDER_DRAFTS 138
#define IDI_FOLDER_ROOT 139
#define IDI_FOLDER 140
#define IDI_FOLDER_CALENDAR 141
#define IDI_FOLDER_CONTACTS 142
#define IDI_FOLDER_TASKS 143
#define IDI_FOLDER_NOTES 144
#define IDI_FOLDER_TRASH 145
#define IDI_FOLDER_SENT 147
#define IDI_FOLDER_INBOX 148
#define IDI_FOLDER_JOURNAL 149
#define IDB_LARGE_CALENDAR 195
#define IDB_LARGE_CONTACT 196
#define IDB_LARGE_TASK 197
#define IDB_LARGE_JOURNAL 198
#define IDB_LARGE_MAIL 199
#define IDB_LARGE_NOTE 200
#define IDC_LINK_CURSOR 201
// Toolbar "Standard" (32 x 32 buttons).
#define IDR_TOOLBAR_STANDARD 216

// Commands of the menu and toolbar.
#define ID_HOME_PAGE 32771
#define ID_HELP_CONTENTS 32772
#define ID_SELECT_PST_FILE 32773
#define ID_SELECT_NSF_FILE 32774
#define ID_EXPORT 32775
#define ID_CUSTOMIZE 35001

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
// The source type page's icon is icon 134, the browser page's; and its picture (not part of the program:
// the page draws it when a resource of that number is there).
#define IDI_SOURCE_TYPE IDI_BROWSER_PAGE
#define IDB_SOURCE_TYPE 203

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
