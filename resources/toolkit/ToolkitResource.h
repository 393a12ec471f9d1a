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

// ---- Customizing the command bars ----
// Cursors of a customize drag: copy, move, nothing to drop on.
#define XTP_IDC_COMMANDBARS_DRAGCOPY 9301
#define XTP_IDC_COMMANDBARS_DRAGMOVE 9302
#define XTP_IDC_COMMANDBARS_DRAGNONE 9303

// The customize sheet: caption, the Close button, the toolbars page and the toolbar name dialog.
#define XTP_IDS_CUSTOMIZE 9312
#define XTP_IDS_CUSTOMIZE_CLOSE 9307
#define XTP_IDD_PAGE_TOOLBARS 9304
#define XTP_IDC_LIST_TOOLBARS 9305
#define XTP_IDC_BUTTON_NEW 9308
#define XTP_IDC_BUTTON_RENAME 9309
#define XTP_IDC_BUTTON_DELETE 9310
#define XTP_IDC_BUTTON_RESET 9311
#define XTP_IDD_NEWTOOLBAR 9328
#define XTP_IDC_TOOLBAR_NAME 9329
#define XTP_IDS_CUSTOM_BAR 9330
#define XTP_IDS_ERROR_BLANKNAME 9331
#define XTP_IDS_ERROR_LIMIT 9332
#define XTP_IDS_ERROR_EXISTS 9333
#define XTP_IDS_RENAMETOOLBAR 9334
#define XTP_IDS_DELETETOOLBAR 9335

// The commands page and its categories.
#define XTP_IDD_PAGE_COMMANDS 9313
#define XTP_IDS_NEWMENU 9314
#define XTP_IDC_LIST_COMMANDS 9327
#define XTP_IDS_ALLCOMMANDS 9337
#define XTP_IDC_LIST_CATEGORIES 9338
#define XTP_IDS_BUILTINMENUS 9350

// The frame's customize command, which the bars offer at the end of their toolbar lists; its prompt
// gives the item its text.
#define XTP_ID_CUSTOMIZE 35001

// The customize menu of a control (menu 9336) and its commands; 9322 is also the bitmap of the
// pictures "Change Button Image" offers (42 of 16 by 16) and the bar id of their popup.
#define XTP_IDR_CUSTOMIZEMENU 9336
#define XTP_ID_CUSTOMIZE_RESET 9315
#define XTP_ID_CUSTOMIZE_DELETE 9316
#define XTP_ID_CUSTOMIZE_NAME 9317
#define XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE 9318
#define XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE 9319
#define XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE 9320
#define XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE 9321
#define XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE 9322
#define XTP_IDB_CUSTOMIZE_ICONS 9322
#define XTP_ID_CUSTOMIZE_DEFAULTSTYLE 9323
#define XTP_ID_CUSTOMIZE_IMAGEANDTEXT 9324
#define XTP_ID_CUSTOMIZE_TEXTONLY 9325
#define XTP_ID_CUSTOMIZE_BEGINAGROUP 9326

// The options page.
#define XTP_IDD_PAGE_OPTIONS 9339
#define XTP_IDC_CHECK_FULL_MENUS 9340
#define XTP_IDC_CHECK_AFTERDELAY 9341
#define XTP_IDC_BUTTON_RESETDATA 9342
#define XTP_IDC_CHECK_LARGEICONS 9343
#define XTP_IDC_CHECK_SCREENTTIPS 9344
#define XTP_IDC_CHECK_SHORTCUTS 9345
#define XTP_IDS_CONFIRM_RESETDATA 9346
#define XTP_IDC_GROUP_PERSONALIZED 9352
#define XTP_IDC_GROUP_OTHER 9353
#define XTP_IDC_COMBO_ANIMATION 9410

// The keyboard page.
#define XTP_IDD_PAGE_KEYBOARD 9379
#define XTP_IDC_TXT_COMMANDS 9380
#define XTP_IDC_LBOX_ACCEL_COMMANDS 9381
#define XTP_IDC_TXT_ASSIGNMENTS 9382
#define XTP_IDC_LBOX_KEYS 9383
#define XTP_IDC_TXT_NEWKEY 9384
#define XTP_IDC_EDIT_SHORTCUTKEY 9385
#define XTP_IDC_BUTTON_ASSIGN 9386
#define XTP_IDC_BUTTON_REMOVE 9387
#define XTP_IDC_BUTTON_ACCEL_RESET 9388
#define XTP_IDC_TXT_DESC_TITLE 9389
#define XTP_IDC_TXT_DESC_OVERVIEW 9390
#define XTP_IDC_COMBO_CATEGORY 9391
#define XTP_IDS_CONFIRM_KEYBOARD 9392
#define XTP_IDS_CONFIRM_REASSIGN 9393

// The button image editor: dialog, placeholders, colour boxes, picture and preview, the tool and
// move commands (their strings hold the tips), the tool pictures (16 colours and 32-bit alpha), the
// cursors over the picture and the import filter.
#define XTP_IDD_IMAGEEDITOR_DIALOG 9351
#define XTP_IDB_IMAGEEDITOR_TOOLS 9352
#define XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA 9353
#define XTP_IDC_STATIC_TOOLS 9358
#define XTP_IDC_STATIC_MOVE 9354
#define XTP_IDC_STATIC_COLORS 9357
#define XTP_IDC_CLR_ERASE 9359
#define XTP_IDC_CLR_PICKER 9360
#define XTP_IDC_STATIC_PICTURE 9361
#define XTP_IDC_STATIC_PREVIEW 9362
#define XTP_ID_BUTTON_PENCIL 9363
#define XTP_ID_BUTTON_FILL 9364
#define XTP_ID_BUTTON_GETCOLOR 9365
#define XTP_ID_BUTTON_LINE 9366
#define XTP_ID_BUTTON_RECTANGLE 9367
#define XTP_ID_BUTTON_CIRCLE 9368
#define XTP_ID_BUTTON_COPY 9369
#define XTP_ID_BUTTON_PASTE 9370
#define XTP_ID_BUTTON_CLEAR 9371
#define XTP_ID_BUTTON_UNDO 9372
#define XTP_ID_BUTTON_REDO 9373
#define XTP_ID_BUTTON_OPEN 9374
#define XTP_ID_BUTTON_MOVELEFT 9354
#define XTP_ID_BUTTON_MOVEDOWN 9355
#define XTP_ID_BUTTON_MOVEUP 9356
#define XTP_ID_BUTTON_MOVERIGHT 9357
#define XTP_IDC_EDITOR_LINE 9375
#define XTP_IDC_EDITOR_GETCOLOR 9376
#define XTP_IDC_EDITOR_FILL 9377
#define XTP_IDC_EDITOR_PENCIL 9378
#define XTP_IDS_EDITOR_FILTER 9396
// Names of the palette colours; the palette boxes use them as their ids.
#define XTP_IDS_CLR_BLACK 9450
#define XTP_IDS_CLR_DARK_BLUE 9455
#define XTP_IDS_CLR_DARK_RED 9458
#define XTP_IDS_CLR_DARK_YELLOW 9460
#define XTP_IDS_CLR_GREEN 9461
#define XTP_IDS_CLR_TEAL 9462
#define XTP_IDS_CLR_BLUE 9463
#define XTP_IDS_CLR_GRAY50 9465
#define XTP_IDS_CLR_RED 9466
#define XTP_IDS_CLR_VIOLET 9472
#define XTP_IDS_CLR_PINK 9474
#define XTP_IDS_CLR_YELLOW 9476
#define XTP_IDS_CLR_BRIGHT_GREEN 9477
#define XTP_IDS_CLR_TURQUOISE 9478
#define XTP_IDS_CLR_GRAY25 9481
#define XTP_IDS_CLR_WHITE 9489
// Workspace actions of the multi-document tab client; each text follows a line break.
#define XTP_ID_WORKSPACE_MOVEPREVIOUS 9420
#define XTP_ID_WORKSPACE_MOVENEXT 9421
#define XTP_ID_WORKSPACE_NEWHORIZONTAL 9422
#define XTP_ID_WORKSPACE_NEWVERTICAL 9423
