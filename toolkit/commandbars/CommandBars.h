// CXTPCommandBars: the manager of all command bars of one frame window. It makes and owns the menu
// bar, the toolbars and the four dock bars, routes the frame's keys and window messages into them,
// lays the frame out around them, answers whether a command is hidden, runs popup menus modally and
// saves and restores the bars. One manager serves one frame; bars find it up their owner chain.
// Created and used only by the frame's user-interface thread.
#pragma once

#include "CommandBarsDefines.h"

class CXTPAcceleratorManager;
class CXTPBarMouseTracker;
class CXTPBarTheme;
class CXTPCommandBar;
class CXTPCommandBarsOptions;
class CXTPControl;
class CXTPControlPopup;
class CXTPCustomizeDragSource;
class CXTPDockBar;
class CXTPImageManager;
class CXTPMenuBar;
class CXTPPopupBar;
class CXTPPropExchange;
class CXTPTipSettings;
class CXTPToolBar;

// The parameters hung on an exchange while bars and controls are archived.
struct XTP_COMMANDBARS_PROPEXCHANGE_PARAM {
  DWORD dwReserved1 = 0;
  BOOL bSaveOnlyCustomized = FALSE;
  BOOL bLoadSilent = FALSE;
  BOOL bSaveOriginalControls = TRUE;
  DWORD dwReserved2 = 0;
  DWORD dwReserved3 = 0;
  DWORD dwReserved4 = 1;
  DWORD dwReserved5 = 0;
  CXTPCommandBars* pCommandBars = nullptr;
};

// A list of referenced bars (the stored form of the bars); destroying it releases every bar.
class CXTPCommandBarList {
 public:
  CXTPCommandBarList() = default;
  ~CXTPCommandBarList() { RemoveAll(); }
  CXTPCommandBarList(const CXTPCommandBarList&) = delete;
  CXTPCommandBarList& operator=(const CXTPCommandBarList&) = delete;

  // Adds a reference; a bar already listed is not added again.
  BOOL Add(CXTPCommandBar* pBar);
  // Takes over the caller's reference.
  void AddNew(CXTPCommandBar* pBar) { m_arrBars.Add(pBar); }
  BOOL Contains(const CXTPCommandBar* pBar) const;
  int GetCount() const { return static_cast<int>(m_arrBars.GetSize()); }
  CXTPCommandBar* GetAt(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrBars[nIndex] : nullptr;
  }
  CXTPCommandBar* FindCommandBar(UINT nBarID) const;
  void RemoveAll();

 private:
  CArray<CXTPCommandBar*, CXTPCommandBar*> m_arrBars;
};

class CXTPCommandBars : public CCmdTarget {
  DECLARE_DYNCREATE(CXTPCommandBars)

 public:
  CXTPCommandBars();
  ~CXTPCommandBars() override;

  // ---- Virtual operations, in their slot order ----
  virtual BOOL IsCommandHidden(int nID);
  virtual BOOL IsControlHidden(CXTPControl* pControl);
  virtual int GetActiveMenuId();
  virtual void ContextMenu(WPARAM wParam, int x, int y);
  // A new popup (the caller's reference) holding the list of toolbars.
  virtual CXTPPopupBar* GetToolbarsPopup();
  virtual void AddHiddenRowControls(CXTPToolBar* pToolBar, CXTPPopupBar* pPopup);
  virtual void AddRemoveButtonsPopup(CXTPToolBar* pToolBar, CXTPPopupBar* pPopup);
  virtual void OnToolBarAdded(CXTPToolBar* pToolBar);
  virtual void OnToolBarRemoved(CXTPToolBar* pToolBar);
  virtual void UpdateKeyboardCues(int nState);
  virtual CXTPToolBar* AddCustomBar(LPCTSTR lpcstrCaption, UINT nID, BOOL bTearOffBar = FALSE);
  virtual BOOL SaveCommandBarList(CXTPPropExchange* pPX, CXTPCommandBarList* pCommandBarList);
  virtual BOOL LoadCommandBarList(CXTPPropExchange* pPX, CXTPCommandBarList* pCommandBarList);
  virtual void GenerateCommandBarList(DWORD& nID, CXTPCommandBarList* pCommandBarList,
                                      XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam);
  virtual void RestoreCommandBarList(CXTPCommandBarList* pCommandBarList, BOOL bSilent = FALSE);

  // ---- Creation, in the frame's order ----
  void SetSite(CFrameWnd* pFrame) { SetSite(static_cast<CWnd*>(pFrame)); }
  void SetSite(CWnd* pSite);
  CWnd* GetSite() const { return m_pFrame; }
  // Makes the four dock bars; a failure throws the framework's resource exception.
  void EnableDocking();
  CXTPMenuBar* SetMenu(LPCTSTR lpszCaption, UINT nIDMenu);
  CXTPToolBar* Add(LPCTSTR lpszCaption, XTPBarPosition barPosition = xtpBarTop,
                   CRuntimeClass* pToolbarClass = nullptr);

  // ---- Bars ----
  int GetCount() const { return static_cast<int>(m_arrBars.GetSize()); }
  CXTPToolBar* GetAt(int nIndex) const;
  CXTPToolBar* FindCommandBar(UINT nBarID) const;
  CXTPMenuBar* GetMenuBar() const { return m_pMenuBar; }
  void Remove(CXTPToolBar* pToolBar);
  void ToggleVisible(int nIndex);
  CXTPDockBar* GetDockBar(int nSide) const { return nSide >= 0 && nSide < 4 ? m_pDocks[nSide] : nullptr; }

  CXTPAcceleratorManager* GetShortcutManager() const { return m_pShortcutManager; }
  CXTPBarTheme* GetPaintManager() const;
  // A theme of the manager's own (the manager takes over the caller's reference); NULL drops it.
  void SetPaintManager(CXTPBarTheme* pPaintManager);
  // The manager's own image manager, else the global one.
  CXTPImageManager* GetImageManager() const;
  // An image manager of the manager's own (the manager takes over the caller's reference); NULL drops it.
  void SetImageManager(CXTPImageManager* pImageManager);
  CXTPCommandBarsOptions* GetCommandBarsOptions() const { return m_pOptions; }
  CXTPCommandBarsOptions* GetOptions() const { return m_pOptions; }
  // The options' popup icon size.
  CSize GetPopupIconSize() const;
  CXTPTipSettings* GetToolTipContext() const { return m_pToolTipContext; }
  CXTPCustomizeDragSource* GetDragSource() const { return m_pDragSource; }

  // ---- Docking ----
  BOOL DockCommandBar(CXTPToolBar* pBar, LPRECT lpRect, CXTPDockBar* pDockBar);
  BOOL DockCommandBar(CXTPToolBar* pBar, int nSide);
  BOOL FloatCommandBar(CXTPToolBar* pBar);
  // The dock bar that catches the screen point (20-pixel margins), or NULL: the bar floats.
  CXTPDockBar* CalcDockPosition(CPoint point, CXTPDockBar* pCurrentDockBar) const;

  // ---- Layout ----
  void RecalcFrameLayout(BOOL bDelay = FALSE);
  void FlushDelayedLayout();
  void RedrawCommandBars();
  void UpdateCommandBars();
  void LockLayout(BOOL bLock) { m_bRecalcLayout = bLock; }

  // ---- Keys, frame messages and popups ----
  BOOL PreTranslateFrameMessage(MSG* pMsg);
  BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL HandleMenuKey(UINT nChar);
  BOOL TrackNextBar(CXTPCommandBar* pBar, int nDirection);
  // The control of a bar (or, with KeyboardCuesUse bit 0, of every visible bar) whose mnemonic nChar
  // is, starting after the bar's selection; NULL when none.
  CXTPControl* FindMnemonicControl(CXTPCommandBar* pBar, UINT nChar, BOOL* pbAmbiguous);
  // flags: TPM_RETURNCMD (0x100) returns the chosen id; TPM_RIGHTBUTTON (2); TPM_RIGHTALIGN (8) opens
  // to the left; TPM_NONOTIFY (0x80); TPM_RECURSE (1) keeps open popups. FALSE when it cannot open.
  UINT TrackPopupMenu(CXTPPopupBar* pPopup, UINT nFlags, int x, int y, LPCRECT rcExclude = nullptr,
                      CWnd* pWndOwner = nullptr);
  // The same tracking for a popup of any manager or of none (the owner then defaults to the main
  // window, and the thread's own popups are closed).
  static UINT PASCAL TrackPopup(CXTPCommandBars* pCommandBars, CXTPPopupBar* pPopup, UINT nFlags, int x,
                                int y, LPCRECT rcExclude, CWnd* pWndOwner);
  void ClosePopups() const;
  CXTPBarMouseTracker* GetThreadState() const;

  // ---- Customize mode ----
  void SetCustomizeMode(BOOL bMode);
  void SetQuickCustomizeMode(BOOL bMode);
  BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
  BOOL IsQuickCustomizeMode() const { return m_bQuickCustomizeMode; }
  BOOL IsCustomizable() const { return m_bCustomizable; }
  void SetDragControl(CXTPControl* pControl);
  CXTPControl* GetDragControl() const { return m_pDragSelected; }
  void MarkCommandUsed(int nID);

  // ---- Keyboard cues and layout direction ----
  void ShowKeyboardCues(BOOL bShow);
  BOOL IsKeyboardCuesVisible() const;
  // Sets the cues from the option "KeyboardCuesShow" (0 always, 1 never, 2 the system setting).
  void SetKeyboardCuesShow(int nShow);
  BOOL IsLayoutRTL() const;
  void SetLayoutRTL(BOOL bRightToLeft) { m_bRightToLeft = bRightToLeft; }
  void SetShiftBlocksMnemonics(BOOL bBlock) { m_bIgnoreShiftMenuKey = bBlock; }

  void OnSetPreviewMode(BOOL bPreview);

  // Whether the window is the toolkit's edit window (CXTPEdit), which gets its keys and edit commands
  // before the frame's shortcuts.
  static BOOL PASCAL IsToolkitEdit(CWnd* pWnd);

  // ---- Persistence ----
  void SaveOptions(LPCTSTR lpszProfileName);
  void LoadOptions(LPCTSTR lpszProfileName);
  void SaveCommandBars(LPCTSTR lpszProfileName, BOOL bOnlyCustomized = TRUE);
  void LoadCommandBars(LPCTSTR lpszProfileName, BOOL bSilent = FALSE);
  void SaveBarState(LPCTSTR lpszProfileName);
  void LoadBarState(LPCTSTR lpszProfileName);
  // The file used for stored bars larger than 16000 bytes.
  CString GetControlsFilePath(LPCTSTR lpszProfileName) const;
  void SetControlsFilePath(LPCTSTR lpszPath) { m_strControlsFilePath = lpszPath; }
  int GetMenuResourceId() const { return m_nIDMenu; }

  // Stored controls above this many bytes go to the overflow file.
  enum { XTP_CONTROLS_MAX_REGISTRY_BYTES = 16000 };

 protected:
  void CreateToolTipContext();
  void ReleaseToolTipContext();
  void RefreshImages();
  void SaveDockBarsState(LPCTSTR lpszProfileName);
  void LoadDockBarsState(LPCTSTR lpszProfileName);
  BOOL LoadControlsBlob(LPCTSTR lpszProfileName, CXTPCommandBarList* pList, BOOL bSilent);
  BOOL IsControlHidden(CXTPControl* pControl, int nDepth);
  BOOL IsActiveSite() const;

  BOOL m_bIgnoreShiftMenuKey = FALSE;
  CXTPCustomizeDragSource* m_pDragSource = nullptr;
  CXTPBarTheme* m_pPaintManager = nullptr;
  CXTPImageManager* m_pImageManager = nullptr;
  CXTPControl* m_pDragSelected = nullptr;
  BOOL m_bCustomizeMode = FALSE;
  BOOL m_bCustomizable = FALSE;
  UINT m_nIDMenu = 0;
  BOOL m_bQuickCustomizeMode = FALSE;
  CString m_strControlsFilePath;
  CXTPCommandBarsOptions* m_pOptions = nullptr;
  CArray<CXTPToolBar*, CXTPToolBar*> m_arrBars;
  CXTPDockBar* m_pDocks[4] = {nullptr, nullptr, nullptr, nullptr};
  CWnd* m_pFrame = nullptr;
  CXTPMenuBar* m_pMenuBar = nullptr;
  CXTPTipSettings* m_pToolTipContext = nullptr;
  mutable CXTPBarMouseTracker* m_pThreadState = nullptr;
  BOOL m_bKeyboardCuesVisible = TRUE;
  CXTPAcceleratorManager* m_pShortcutManager = nullptr;
  BOOL m_bRecalcLayout = FALSE;
  BOOL m_bKeyboardCuesAutomatic = FALSE;
  BOOL m_bRightToLeft = FALSE;

  friend class CXTPCommandBarsOptions;
};
