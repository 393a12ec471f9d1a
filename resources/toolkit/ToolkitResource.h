// Resource ids of the toolkit (9000 to 9999). Programs that use the toolkit include Toolkit.rc.
#pragma once

// Cursors of the toolkit: dragging a control (copy, move, nothing to drop on), the link hand for
// systems without one, and the splitter cursors.
#define XT_IDC_DRAGCOPY 9008
#define XT_IDC_DRAGMOVE 9009
#define XT_IDC_DRAGNONE 9011
#define XT_IDC_HSPLITBAR 9970
#define XT_IDC_VSPLITBAR 9971
// The command bars' cursor over the resizable edge of a control while customizing.
#define XTP_IDC_RESIZE 9972
#define XT_IDC_HAND 9973

// Dialog controls: the browse button's arrows (8 images, 11 by 11), the caption's images (push pin,
// hot push pin, caption button; 16 by 15), the edit context menu and the toolbar of its item images.
#define XT_IDB_BROWSE 9000
#define XT_IDB_CAPTION 9002
#define XT_IDM_POPUP 9014
#define XT_IDR_EDIT_TOOLBAR 9017

// Control ids: the caption's button (and the popup's push pin), the browse edit's button.
#define XT_IDC_BTN_CLOSE 9115
#define XT_IDC_BTN_BROWSE 9124

// Texts of the dialog controls.
#define XT_IDS_SELDIR 9030
#define XT_IDS_DOT 9032
#define XT_IDS_DEFEXT 9033
#define XT_IDS_DEFFILT 9034
#define XT_IDS_DEFTITLE 9035
#define XT_IDS_CLICKKEEPOPEN 9036
#define XT_IDS_SE_0 9037
#define XT_IDS_SE_ERR_FNF 9038
#define XT_IDS_SE_ERR_PNF 9039
#define XT_IDS_SE_ERR_ACCESSDENIED 9040
#define XT_IDS_SE_ERR_OOM 9041
#define XT_IDS_SE_ERR_BAD_FORMAT 9042
#define XT_IDS_SE_ERR_SHARE 9043
#define XT_IDS_SE_ERR_ASSOCINCOMPLETE 9044
#define XT_IDS_SE_ERR_DDETIMEOUT 9045
#define XT_IDS_SE_ERR_DDEFAIL 9046
#define XT_IDS_SE_ERR_DDEBUSY 9047
#define XT_IDS_SE_ERR_NOASSOC 9048
#define XT_IDS_SE_ERR_DLLNOTFOUND 9049
#define XT_IDS_SE_ERR_UNKNOWN 9050
// Command-bar strings.
#define XTP_IDS_ADD_OR_REMOVE 9300
#define XTP_IDS_CONFIRM_RESET 9349
#define XTP_IDS_TOOLBAR_CHANGED 9394
#define XTP_IDS_RESET_TOOLBAR 9395
// Prompts of the bars' own buttons (the same numbers as their command ids): a toolbar's expand and
// close buttons, a menu's expand item, the menu bar's window buttons.
#define XTP_IDS_TOOLBAR_EXPAND 9400
#define XTP_IDS_TOOLBAR_HIDE 9401
#define XTP_IDS_POPUPBAR_EXPAND 9402
#define XTP_IDS_MENUBAR_CLOSE 9403
#define XTP_IDS_MENUBAR_RESTORE 9404
#define XTP_IDS_MENUBAR_MINIMIZE 9405
// The menu bar's pictures of the window commands (restore, minimize, maximize, close; 16 by 16).
#define XTP_IDB_MENUBAR_ICONS 9407
// Names of the popup animations, options 0 to 5.
#define XTP_IDS_ANIMATION_SYSDEF 9411
#define XTP_IDS_ANIMATION_RANDOM 9412
#define XTP_IDS_ANIMATION_UNFOLD 9413
#define XTP_IDS_ANIMATION_SLIDE 9414
#define XTP_IDS_ANIMATION_FADE 9415
#define XTP_IDS_ANIMATION_NONE 9416
