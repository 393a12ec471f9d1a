// The wizard's private window messages. Their numbers are the program's own: pages, dialogs and
// widgets built apart agree on them through this header.
#pragma once

#include <windows.h>

// Main view -> the newly selected page (0 / 0).
const UINT WM_WIZARD_PAGE_ACTIVATED = WM_USER + 100;
// Main frame -> main view: wParam the page index to select.
const UINT WM_SELECT_WIZARD_PAGE = WM_USER + 101;
// Folder check tree -> the window its owner named: wParam the clicked folder's path (LPCTSTR, whole,
// valid only while the message is sent), lParam 0.
const UINT WM_NSF_FOLDER_SELECTED = WM_USER + 102;
// Document grid host -> page two: wParam the note identifier, lParam the grid row.
const UINT WM_NSF_ITEM_SELECTED = WM_USER + 103;
// Progress dialog's Stop -> main frame -> main view -> the page that shows (0 / 0).
const UINT WM_STOP_PROCESS = WM_USER + 104;
// Main frame (command 57601) -> main view.
const UINT WM_LOCATE_NSF = WM_USER + 105;
// Option button -> its parent: wParam the check state it is about to take, lParam the option type.
const UINT WM_OPTION_CLICKED = WM_USER + 106;
// Clickable label -> its parent (posted).
const UINT WM_LINK_CLICKED = WM_USER + 107;
// Server wait dialog's Stop -> main frame -> main view -> the page that shows (0 / 0).
const UINT WM_STOP_ENUMERATION = WM_USER + 108;
// What a page or the Domino dialog asks before it raises the stop flags of a running search or listing.
const wchar_t STOP_CURRENT_PROCESS_QUESTION[] = L"Are you sure you want to stop current process ?";
// What the wait dialog says while a Domino server search is waited for.
const wchar_t SERVER_SEARCH_WAIT_TEXT[] = L"Waiting for the search of the Domino server to stop...";
// The frame's menu commands, forwarded by the main view to the page that shows.
const UINT WM_SELECT_PST_FILE = WM_USER + 109;
const UINT WM_SELECT_NSF_FILE = WM_USER + 110;
const UINT WM_EXPORT = WM_USER + 111;
// A checked hover button of option kind -> the other controls of its group.
const UINT WM_GROUP_UNCHECK = WM_USER + 256;

// Option types that an option button reports with WM_OPTION_CLICKED.
const int OPTION_EXISTING_NSF = 1;
const int OPTION_NEW_NSF = 2;
