// CXTPCommandBar: the window under every command bar (toolbar, menu bar, popup, dialog bar). It owns
// its controls, knows its manager, and does what all bars share: the selected and the open control,
// mouse and keyboard tracking, mnemonics, command-state updates at idle time, painting through the
// paint theme, customize drag and drop and accessibility.
// Created and touched only by the user-interface thread that owns the frame.
#pragma once

#include "BarHooks.h"
#include "Controls.h"

#include <ResourceSource.h>

class CXTPBarTheme;
class CXTPCommandBarList;
class CXTPControlPopup;
class CXTPImageManager;
class CXTPTipSettings;
struct XTP_COMMANDBARS_PROPEXCHANGE_PARAM;

// Reference counted like every command target: the manager's bar list, a popup control and stored
// bar lists hold references; the last release destroys the window and deletes the bar. Every message
// handler runs under a reference of its own, so a handler may release the bar's last outside
// reference without the bar disappearing under it.
class CXTPCommandBar : public CWnd, public CXTPBarAccessibility, public CXTPHookSink {
  DECLARE_SERIAL(CXTPCommandBar)

 public:
  CXTPCommandBar();
  ~CXTPCommandBar() override;

  // ---- Virtual operations, in their slot order ----
  virtual void DelayRedraw() { m_dwIdleFlags |= xtpIdleRedraw; }
  // nMode 0 leaves tracking; 1 is keyboard or mouse tracking, 2 tracking with a popup open.
  virtual BOOL EnterTracking(int nMode, BOOL bSelectFirst = FALSE, BOOL bKeyboard = FALSE);
  virtual BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE);
  virtual BOOL LoadToolBar(UINT nIDResource, BOOL bLoadImages = TRUE);
  virtual BOOL Popup(CXTPControlPopup* /*pControlPopup*/, BOOL /*bSelectFirst*/ = FALSE) { return FALSE; }
  virtual void SetVisible(BOOL /*bVisible*/) {}
  virtual BOOL IsVisible() const { return FALSE; }
  virtual BOOL SetPosition(XTPBarPosition /*barPosition*/) { return FALSE; }
  virtual void OnCustomizeDragEnter(CXTPControl* pDataObject, CPoint point, DROPEFFECT& dropEffect);
  virtual void OnCustomizeDragLeave();
  virtual void OnCustomizeDragOver(CXTPControl* pDataObject, CPoint point, DROPEFFECT& dropEffect);
  virtual void OnCustomizeDrop(CXTPControl* pDataObject, DROPEFFECT& dropEffect, CPoint ptDrop,
                               CPoint ptDrag);
  virtual BOOL IsCustomizable() const { return m_bCustomizable; }
  virtual void OnRecalcLayout() {}
  virtual void OnControlSelected(BOOL bSelected, CXTPControl* pControl);
  virtual CXTPCommandBar* GetParentCommandBar() const { return nullptr; }
  virtual BOOL IsDialogBar() const { return FALSE; }
  virtual void DoPropExchange(CXTPPropExchange* pPX);
  virtual BOOL IsKeyboardCuesVisible() const;
  // 1 handled, 2 not handled (the key goes to the window), 0 left to the bar tracked before this one.
  virtual int OnKeyNavigate(UINT nChar);
  virtual CSize CalcDynamicLayout(int /*nLength*/, DWORD /*dwMode*/) { return CSize(0, 0); }
  // 0 next, 1 previous, 2 collapse, 3 expand, 4 cancel, 5 execute, 6 first, 7 last. FALSE when the
  // bar has nothing to collapse or expand.
  virtual BOOL ProcessSpecialKey(int nCode);
  virtual void DrawCommandBar(CDC* pDC);
  virtual void DelayLayout();
  virtual void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive);
  // 1 inside, 0 inside only for a child window of the bar, -2 outside.
  virtual int IsPointInBar(CPoint point, HWND hWndClicked = nullptr) const;
  virtual void GenerateCommandBarList(DWORD& nID, CXTPCommandBarList* pCommandBarList,
                                      XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam);
  virtual void RestoreCommandBarList(CXTPCommandBarList* pCommandBarList, int nDepth = 0);
  virtual void OnUpdateCmdUI(BOOL bDisableIfNoHandler);
  virtual CXTPCommandBar* CreateCopy(BOOL bRecursive);

  // ---- Shared operations ----
  CXTPControls* GetControls() const { return m_pControls; }
  // Replaces the controls (takes over the caller's reference); their parent becomes this bar.
  void SetControls(CXTPControls* pControls);
  int GetControlCount() const { return m_pControls->GetCount(); }
  CXTPControl* GetControl(int nIndex) const { return m_pControls->GetAt(nIndex); }
  CXTPControl* GetControlAt(int nIndex) const { return GetControl(nIndex); }
  CXTPControl* GetSelected() const { return GetControl(m_nSelected); }
  int GetCurSel() const { return m_nSelected; }
  int GetPopupedIndex() const { return m_nPopuped; }
  CXTPControl* GetPopupedControl() const { return GetControl(m_nPopuped); }
  // Opens the popup of control nPopuped (closing any other); -1 closes.
  BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);
  // Whether the popup this bar opens next plays its opening animation: set when the bar opens a popup
  // of its own controls (menus and submenus alike), cleared by the popup when it shows.
  BOOL IsAnimateNextPopup() const { return m_bAnimateNextPopup; }
  void SetAnimateNextPopup(BOOL bAnimate) { m_bAnimateNextPopup = bAnimate; }
  int IsTrackingMode() const { return m_bTracking; }
  BOOL IsMouseLocked() const { return m_nLockRecurse > 0; }
  void LockRecurse(BOOL bLock) { m_nLockRecurse += bLock ? 1 : -1; }

  XTPBarType GetType() const { return m_barType; }
  void SetType(XTPBarType barType) { m_barType = barType; }
  XTPBarPosition GetPosition() const { return m_barPosition; }
  void SetBarPosition(XTPBarPosition barPosition) { m_barPosition = barPosition; }
  BOOL IsVerticalPosition() const { return m_barPosition == xtpBarLeft || m_barPosition == xtpBarRight; }
  UINT GetBarID() const { return m_nBarID; }
  void SetBarID(UINT nID) { m_nBarID = nID; }
  DWORD GetFlags() const { return m_dwFlags; }
  void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  CString GetTitle() const { return m_strTitle; }
  void SetTitle(LPCTSTR lpszTitle);
  void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
  int GetMRUWidth() const { return m_nMRUWidth; }
  void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
  CSize GetIconSizeRaw() const { return m_szIcons; }
  void SetIconSize(CSize size) { m_szIcons = size; }
  // The bar's icon size: its own, else the manager's options (popups: the popup icon size), else 16.
  virtual CSize GetIconSize() const;
  // The explicit button size when set, else the icon size plus 7.
  virtual CSize GetButtonSize() const;
  void SetButtonSize(CSize size) { m_szButtons = size; }
  BOOL IsCloseable() const { return m_bCloseable; }
  void SetCloseable(BOOL bCloseable) { m_bCloseable = bCloseable; }
  BOOL IsContextMenuPresent() const { return m_bContextMenuPresent; }
  void SetContextMenuPresent(BOOL bPresent) { m_bContextMenuPresent = bPresent; }
  // 0 off, 1 on, 2 follow the options.
  int GetShowTextBelowIconsMode() const { return m_nTextBelowIcons; }
  void SetShowTextBelowIconsMode(int nMode) { m_nTextBelowIcons = nMode; }
  // The style of controls whose own style is automatic.
  XTPButtonStyle GetDefaultButtonStyle() const { return m_buttonStyle; }
  void SetDefaultButtonStyle(XTPButtonStyle style) { m_buttonStyle = style; }
  // The resolved mode: 2 follows the manager's "ShowTextBelowIcons" option.
  BOOL IsTextBelowIcons() const;
  DWORD GetIdleFlags() const { return m_dwIdleFlags; }
  void SetReturnCmd(UINT* pReturnCmd) { m_pReturnCmd = pReturnCmd; }
  UINT* GetReturnCmd() const { return m_pReturnCmd; }
  void SetOwnerWindow(CWnd* pOwner) { m_pOwner = pOwner; }
  void SetCommandTarget(CWnd* pTarget) { m_pCommandTarget = pTarget; }
  void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
  CXTPCommandBars* GetCommandBars() const { return FindOwnerCommandBars(); }
  int GetLockRedraw() const { return m_nLockRedraw; }
  void LockRedraw() { m_nLockRedraw++; }
  // Lowers the redraw lock; at zero a pending redraw is done.
  void UnlockRedraw();
  CRect GetInsertionMark(BOOL* pbVertical = nullptr) const;
  // The window that had the keyboard before a field of this bar took it; it gets it back after.
  HWND GetFocusReturnWindow() const { return m_hwndFocusReturn; }
  void SetFocusReturnWindow(HWND hWnd) { m_hwndFocusReturn = hWnd; }

  CXTPCommandBars* FindOwnerCommandBars() const;
  CXTPCommandBar* GetRootBar() const;
  CWnd* GetOwnerSite() const;
  CWnd* GetCommandTarget() const;
  BOOL IsBarCustomizeMode() const;
  void InvalidateChain();
  // A theme of the bar's own (the bar takes over the caller's reference); NULL drops it.
  void AssignPaintTheme(CXTPBarTheme* pTheme);
  CXTPBarTheme* ResolvePaintTheme() const;
  CXTPBarTheme* GetPaintManager() const { return ResolvePaintTheme(); }
  // An image manager of the bar's own (the bar takes over the caller's reference); NULL drops it.
  void AssignImageSet(CXTPImageManager* pImageManager);
  // The bar's own image manager, else the manager's, else the root bar's own, else the global one.
  CXTPImageManager* ResolveImageSet() const;
  CXTPImageManager* GetImageManager() const { return ResolveImageSet(); }
  BOOL LoadMenu(CMenu* pMenu, BOOL bRemoveControls = TRUE);
  void Redraw();
  BOOL IsLayoutRTL() const;
  BOOL IsTrackingPopup() const { return m_bTracking && GetPopupedControl() != nullptr; }
  // TRUE for bars laid out along x: positions 0, 1 and 4, and popups of toolbar type.
  BOOL IsHorizontalLayout() const;
  CXTPTipSettings* GetToolTipContext() const { return m_pToolTipContext; }
  // References the manager's tip settings (NULL releases them).
  void SetToolTipContext(CXTPTipSettings* pTipSettings);

  // The key hook hands a key to the tracking bar here.
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

  // ---- Accessibility ----
  HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
  HRESULT GetAccessibleChildCount(long* pcountChildren) override;
  HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
  HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
  HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                             VARIANT varChild) override;
  HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
  CCmdTarget* GetAccessibleCmdTarget() override { return this; }

  // The mnemonic of a caption: the character after the first "&", else (bImplicit) its first one.
  static TCHAR PASCAL GetMnemonic(const CString& strCaption, BOOL* pbImplicit);

  // Idle flag bits.
  enum { xtpIdleLayout = 1, xtpIdleRedraw = 2 };
  // Timer ids of hover and expand.
  enum { TID_HOVER = 0x1B65F, TID_EXPAND = 0x1B660 };

  void OnFinalRelease() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void SetStatusText(const CString& strText);
  // Whether the cursor rests on the selected control, in this bar's window or a child of it.
  BOOL IsCursorOnSelected() const;
  // Every message passes the tip settings' relay before the bar handles it.
  void RelayToolTipMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The bitmap of a toolbar resource cut into the icons of its ids.
  BOOL LoadToolBarImages(UINT nIDResource, const XT_TOOLBARDATA& data);
  // The mnemonic search of this bar alone; -1 when nothing matches.
  int FindMnemonic(UINT nChar, BOOL* pbAmbiguous) const;
  int ScanRows(int nDirection);
  void UpdateDocTemplateControls();
  CRect CalcInsertionMark(CPoint point, int* pnIndex, BOOL* pbAfter) const;
  void DrawInsertionMark(CDC* pDC) const;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

  BOOL m_bHideCaret = TRUE;
  int m_nMRUWidth = 0x7FFF;
  int m_nSelected = -1;
  int m_nPopuped = -1;
  BOOL m_bAnimateNextPopup = FALSE;
  HWND m_hwndCaret = nullptr;
  UINT m_nBarID = 0;
  int m_bTracking = 0;
  CWnd* m_pOwner = nullptr;
  DWORD m_dwIdleFlags = 0;
  DWORD m_dwFlags = 0;
  DWORD m_dwStyle = 0;
  CString m_strTitle;
  XTPBarType m_barType = xtpBarTypeNormal;
  CXTPControls* m_pControls = nullptr;
  XTPBarPosition m_barPosition = xtpBarNone;
  CXTPCommandBars* m_pCommandBars = nullptr;
  CWnd* m_pCommandTarget = nullptr;
  CSize m_szIcons = CSize(0, 0);
  BOOL m_bKeyboardSelect = FALSE;
  int m_nLockRecurse = 0;
  BOOL m_bCustomizable = TRUE;
  CRect m_rcMarker;
  BOOL m_bVerticalMarker = FALSE;
  UINT* m_pReturnCmd = nullptr;
  BOOL m_bContextMenuPresent = TRUE;
  int m_nLockRedraw = 0;
  CXTPBarTheme* m_pPaintManager = nullptr;
  CXTPImageManager* m_pImageManager = nullptr;
  CXTPTipSettings* m_pToolTipContext = nullptr;
  int m_nLastStatusControlId = -1;
  // Bar state that the derived bars use.
  BOOL m_bVisible = FALSE;
  BOOL m_bCloseable = FALSE;
  CSize m_szButtons = CSize(0, 0);
  int m_nTextBelowIcons = 2;
  XTPButtonStyle m_buttonStyle = xtpButtonAutomatic;
  DWORD m_dwBarState1 = 0;
  DWORD m_dwBarState2 = 0;
  // Customize drop marker: where the mark is and whether it lies after the control.
  int m_nMarkerIndex = -1;
  BOOL m_bMarkerAfter = FALSE;
  // The control that was pressed last (click tracking records it).
  int m_nLastPressed = -1;
  // Set while the final release destroys the window, so the messages of that destruction take and
  // give back references without releasing the bar a second time.
  BOOL m_bFinalRelease = FALSE;
  HWND m_hwndFocusReturn = nullptr;

  friend class CXTPCommandBars;
  friend class CXTPControl;
  friend class CXTPControlPopup;
  friend class CXTPControls;
  friend class CXTPDockBar;
  friend class CXTPPopupBar;

  DECLARE_MESSAGE_MAP()
};
