// CXTPControl: one item on a command bar (button, menu item, sub-menu, edit, combo, label). A control
// is not a window: its bar forwards mouse, keyboard and timer events to it, the paint theme measures
// and draws it, and the controls collection owns and places it. Running a control sends the command to
// the frame (XTP_WM_COMMANDNOTIFY, then WM_COMMAND); a command chosen with a key is sent once that key
// has left the input queue. User-interface thread only.
#pragma once

#include "CommandBarsDefines.h"

#include <BarAccessibility.h>
#include <PropExchange.h>
#include <afxtempl.h>

class CXTPBarTheme;
class CXTPControls;
class CXTPImageManager;
class CXTPImageManagerIcon;

// A set of command or template ids (17 buckets, id / 16 picks the bucket); the value is always TRUE.
typedef CMap<UINT, UINT, BOOL, BOOL> CXTPCommandIdSet;
// Makes dest hold exactly the ids of src.
void AFXAPI XTPCopyCommandIdSet(CXTPCommandIdSet& dest, const CXTPCommandIdSet& src);

// Reference counted: the collection holds one reference, every other holder takes its own; the last
// release deletes the control.
class CXTPControl : public CCmdTarget, public CXTPBarAccessibility {
  DECLARE_SERIAL(CXTPControl)

 public:
  CXTPControl();
  ~CXTPControl() override;

  // ---- Virtual operations, in their slot order ----
  virtual CString GetDescription() const { return m_strDescriptionText; }
  virtual CString GetTooltip(LPPOINT pPoint = nullptr, LPRECT lpRectTip = nullptr, int* nHit = nullptr) const;
  virtual void SetBeginGroup(BOOL bBeginGroup);
  virtual void SetEnabled(BOOL bEnabled);
  virtual int GetSelected() const { return m_bSelected; }
  virtual void SetFocused(BOOL /*bFocused*/) {}
  virtual BOOL IsFocused() const { return FALSE; }
  virtual void SetRect(CRect rcControl) { m_rcControl = rcControl; }
  virtual BOOL IsCaptionVisible();
  virtual BOOL IsEqual(CXTPControl* pOther);
  virtual CXTPCommandBar* GetCommandBar() const { return nullptr; }
  virtual BOOL IsLabel() const { return FALSE; }
  virtual void SetHideFlags(DWORD dwFlags) { m_dwHideFlags = dwFlags; }
  virtual void OnExecute();
  virtual CSize GetSize(CDC* pDC);
  virtual void Draw(CDC* pDC);
  virtual void OnCalcDynamicSize(DWORD /*dwMode*/) {}
  // The image of CustomIconId, else IconId (when above 0), else Id, at the given width; NULL for id 0.
  virtual CXTPImageManagerIcon* GetImage(int nWidth = 0);
  virtual void DoPropExchange(CXTPPropExchange* pPX);
  virtual void OnKeyboardActivate() { OnExecute(); }
  virtual BOOL IsFocusable() const { return FALSE; }
  // 0 not handled, 1 handled, 2 pass to the focused window.
  virtual int OnHookKeyDown(UINT /*nChar*/, LPARAM /*lParam*/) { return 0; }
  virtual void SetParent(CXTPCommandBar* pParent) { m_pParent = pParent; }
  virtual void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE);
  virtual BOOL SetPopuped(BOOL /*bPopuped*/) { return FALSE; }
  virtual void OnClick(BOOL /*bKeyboard*/ = FALSE, CPoint /*pt*/ = CPoint(0, 0)) {}
  virtual void OnLButtonUp(CPoint /*point*/) {}
  virtual void OnRButtonUp(CPoint /*point*/) {}
  virtual BOOL OnLButtonDblClk(CPoint point);
  virtual void OnMouseMove(CPoint /*point*/) {}
  virtual void OnMouseHover();
  virtual BOOL OnSetSelected(int bSelected);
  virtual void OnCustomizeMouseDown(CPoint point);
  virtual BOOL TrackCustomizeResize(CPoint point);
  // In customize mode, over the drag control: the resize cursor within 2 pixels of a resizable
  // control's left or right edge.
  virtual void OnCustomizeSetCursor(CPoint point);
  virtual void OnCustomizeDragOver(CXTPControl* pDataObject, CPoint point, DROPEFFECT& dropEffect);
  // Whether the control may be dropped on pCommandBar (the bar under the cursor).
  virtual BOOL CanCustomizeDrop(CXTPCommandBar* /*pCommandBar*/, CPoint /*point*/, DROPEFFECT& /*dropEffect*/,
                                BOOL /*bExtra*/ = FALSE) {
    return TRUE;
  }
  virtual BOOL IsCustomizeResizeAllowed() const { return FALSE; }
  virtual int GetCustomizeMinWidth() const { return 0; }
  virtual void SetWidth(int /*nWidth*/) {}
  virtual CXTPControl* Clone(BOOL bRecursive = FALSE);

  // ---- Plain accessors ----
  int GetID() const { return m_nId; }
  int GetIndex() const { return m_nIndex; }
  XTPControlType GetType() const { return m_controlType; }
  void SetType(XTPControlType type) { m_controlType = type; }
  DWORD_PTR GetTag() const { return m_nTag; }
  void SetTag(DWORD_PTR nTag) { m_nTag = nTag; }
  int GetIconId() const { return m_nIconId; }
  void SetIconId(int nId);
  int GetCustomIconId() const { return m_nCustomIconId; }
  void SetCustomIcon(int nId) { m_nCustomIconId = nId; }
  BOOL GetBeginGroup() const { return m_bBeginGroup; }
  // Whether the control takes input, and is drawn so: its command is enabled and its bar's window is
  // not disabled (a floating bar while a modal window runs).
  BOOL GetEnabled() const;
  BOOL GetChecked() const { return m_bChecked; }
  void SetChecked(BOOL bChecked);
  int GetPressed() const { return m_bPressed; }
  void SetPressed(int bPressed) { m_bPressed = bPressed; }
  BOOL IsTemporary() const { return m_bTemporary; }
  void SetTemporary(BOOL bTemporary) { m_bTemporary = bTemporary; }
  CRect GetRect() const { return m_rcControl; }
  CRect GetRowRect() const { return m_rcRow; }
  void SetRowRect(CRect rcRow) { m_rcRow = rcRow; }
  BOOL GetWrap() const { return m_bRowBreak; }
  void SetWrap(BOOL bWrap) { m_bRowBreak = bWrap; }
  DWORD GetHideFlags() const { return m_dwHideFlags; }
  BOOL IsVisible() const { return m_dwHideFlags == xtpNoHide; }
  DWORD GetFlags() const { return m_dwFlags; }
  void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  CString GetCaption() const { return m_strCustomCaption.IsEmpty() ? m_strCaption : m_strCustomCaption; }
  void SetCaption(LPCTSTR lpszCaption);
  CString GetCustomCaption() const { return m_strCustomCaption; }
  void SetCustomCaption(LPCTSTR lpszCaption) { m_strCustomCaption = lpszCaption; }
  CString GetShortcutText() const {
    return m_strShortcutText.IsEmpty() ? m_strDefaultShortcutText : m_strShortcutText;
  }
  void SetShortcutText(LPCTSTR lpszText) { m_strShortcutText = lpszText; }
  CString GetDefaultShortcutText() const { return m_strDefaultShortcutText; }
  CString GetTooltipText() const { return m_strTooltipText; }
  void SetTooltip(LPCTSTR lpszText) { m_strTooltipText = lpszText; }
  CString GetDescriptionText() const { return m_strDescriptionText; }
  void SetDescription(LPCTSTR lpszText) { m_strDescriptionText = lpszText; }
  CString GetParameter() const { return m_strParameter; }
  void SetParameter(LPCTSTR lpszParameter) { m_strParameter = lpszParameter; }
  CString GetCategory() const { return m_strCategory; }
  void SetCategory(LPCTSTR lpszCategory) { m_strCategory = lpszCategory; }
  BOOL GetDefaultItem() const { return m_bDefaultItem; }
  void SetDefaultItem(BOOL bDefault);
  XTPButtonStyle GetStyle() const {
    return m_buttonCustomStyle != xtpButtonAutomatic ? m_buttonCustomStyle : m_buttonStyle;
  }
  void SetStyle(XTPButtonStyle style) { m_buttonStyle = style; }
  XTPButtonStyle GetCustomStyle() const { return m_buttonCustomStyle; }
  void SetCustomStyle(XTPButtonStyle style) { m_buttonCustomStyle = style; }
  BOOL GetCloseSubMenuOnClick() const { return m_bCloseSubMenuOnClick; }
  void SetCloseSubMenuOnClick(BOOL bClose) { m_bCloseSubMenuOnClick = bClose; }
  BOOL GetUsageMark() const { return m_bUsageMark; }
  // Clearing the mark also clears hide bit 0x20.
  void SetUsageMark(BOOL bMark);
  CXTPCommandIdSet& GetDocTemplatesAssigned() { return m_mapDocTemplatesAssigned; }
  CXTPCommandIdSet& GetDocTemplatesExcluded() { return m_mapDocTemplatesExcluded; }
  // The id an image is looked up by: CustomIconId, else IconId when above 0, else Id.
  int GetImageId() const { return m_nCustomIconId > 0 ? m_nCustomIconId : m_nIconId > 0 ? m_nIconId : m_nId; }

  CXTPCommandBar* GetParent() const { return m_pParent; }
  CXTPControls* GetControls() const { return m_pControls; }
  void SetControls(CXTPControls* pControls) { m_pControls = pControls; }
  void SetIndex(int nIndex) { m_nIndex = nIndex; }

  // ---- Non-virtual operations ----
  // Empty text: nothing. Without a line feed tooltip and description both take the text; else the
  // description takes the part before it and the tooltip the part after. An empty caption takes the
  // tooltip.
  void SetPrompt(LPCTSTR lpszPrompt);
  // Loads string nId through the toolkit's resource manager into the prompts, then stores the id.
  void SetID(int nId);
  void DelayRedrawParent();
  void DelayLayoutParent();
  void RedrawParent();
  // XTP_WM_COMMANDNOTIFY with this control and code to the owner site; the site's answer.
  LRESULT NotifySite(UINT nCode);
  BOOL IsCustomizeMode() const;
  BOOL IsCursorOver() const;
  CXTPBarTheme* GetPaintManager() const;
  CXTPImageManager* GetImageManager() const;
  CXTPCommandBars* GetCommandBars() const;
  // The click loop: captures the mouse until the button is released; runs the command when the
  // release happens over the control. An empty rect means the control's own.
  void TrackClick(CRect rect = CRect(0, 0, 0, 0));
  static CXTPControl* PASCAL GetControlFromCmdUI(CCmdUI* pCmdUI);

  // ---- Accessibility ----
  HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
  HRESULT GetAccessibleChildCount(long* pcountChildren) override;
  HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
  HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
  HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) override;
  HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
  HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;
  HRESULT AccessibleSelect(long flagsSelect, VARIANT varChild) override;
  HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                             VARIANT varChild) override;
  HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
  CCmdTarget* GetAccessibleCmdTarget() override { return this; }

 protected:
  // Whether the client point lies within 2 pixels of the left or right edge of the control.
  BOOL IsOnResizeEdge(CPoint point, BOOL* pbLeft) const;
  // The user's own icon in the section "CustomIcon", kept in the manager's image manager.
  void ExchangeCustomIcon(CXTPPropExchange* pPX);

  DWORD_PTR m_nTag = 0;
  int m_nIndex = 0;
  int m_nId = 0;
  int m_nIconId = 0;
  int m_nCustomIconId = 0;
  BOOL m_bRowBreak = FALSE;
  BOOL m_bBeginGroup = FALSE;
  BOOL m_bEnabled = TRUE;
  BOOL m_bChecked = FALSE;
  int m_bSelected = 0;
  int m_bPressed = 0;
  BOOL m_bTemporary = FALSE;
  CRect m_rcRow;
  CRect m_rcControl;
  DWORD m_dwHideFlags = xtpNoHide;
  DWORD m_dwFlags = 0;
  CString m_strCaption;
  CString m_strCustomCaption;
  CString m_strShortcutText;
  CString m_strDefaultShortcutText;
  CString m_strTooltipText;
  CString m_strDescriptionText;
  CString m_strParameter;
  CXTPControls* m_pControls = nullptr;
  XTPControlType m_controlType = xtpControlError;
  CXTPCommandBar* m_pParent = nullptr;
  BOOL m_bUsageMark = FALSE;
  CString m_strCategory;
  BOOL m_bDefaultItem = FALSE;
  CXTPCommandIdSet m_mapDocTemplatesAssigned;
  CXTPCommandIdSet m_mapDocTemplatesExcluded;
  XTPButtonStyle m_buttonStyle = xtpButtonAutomatic;
  XTPButtonStyle m_buttonCustomStyle = xtpButtonAutomatic;
  BOOL m_bCloseSubMenuOnClick = TRUE;

  friend class CXTPControls;
  friend class CXTPCommandBar;
};
