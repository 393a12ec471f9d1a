// CXTCaption: a themed caption bar (a static control) with an optional button; with that button it
// can lift a child window into a CXTCaptionPopupWnd and put it back. Created and used on the
// user-interface thread only; a worker that wants a new status goes through its owner's hand-off.
#pragma once

#include "CaptionButton.h"
#include "OwnedIcon.h"
#include "ToolkitResource.h"
#include "ThemeManagerStyleFactory.h"

class CXTCaptionPopupWnd;

// Caption styles (the low three bits given at creation).
#define CPWS_EX_GROOVE_EDGE 0x0001  // etched frame
#define CPWS_EX_RAISED_EDGE 0x0002  // raised frame
#define CPWS_EX_CLOSEBUTTON 0x0004  // a command button instead of the popup button

// Private messages of the caption: the popup's pin was pressed, the popup closes.
#define CPWN_XT_PUSHPINBUTTON 10046
#define CPWN_XT_PUSHPINCANCEL 10047

class CXTCaption : public CStatic, public CXTThemeStyleHost {
  DECLARE_DYNAMIC(CXTCaption)

 public:
  CXTCaption();
  ~CXTCaption() override;

  // Colours are kept until the next call; system colour changes no longer reset them.
  virtual void SetCaptionColors(COLORREF clrBorder, COLORREF clrInner, COLORREF clrText);
  // Each non-zero argument replaces its member (the text also as shown); then a repaint.
  virtual void ModifyCaptionStyle(int nBorderSize, CFont* pFont = nullptr, LPCTSTR lpszText = nullptr,
                                  HICON hIcon = nullptr);
  // The window that hides into the popup; notifications go to pNotifyWnd (else the parent).
  virtual void SetChildWindow(CWnd* pChild, CWnd* pNotifyWnd);
  // Hides and releases the button and destroys and deletes the popup.
  virtual void KillChildWindow();
  // 1 when the popup is (now) shown, 0 when it could not be made.
  virtual int ShowPopupWindow();
  // Replaces the text (and, when given, the icon), keeps it for repaints and read-back, and draws it.
  virtual void UpdateCaption(LPCTSTR lpszText, HICON hIcon);
  // FALSE when the window or its button cannot be made.
  virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwExStyle = CPWS_EX_RAISED_EDGE,
                      DWORD dwStyle = WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                      const CRect& rect = CRect(0, 0, 0, 0), UINT nID = 0xFFFF);
  virtual CRect GetTextRect();
  virtual void DrawCaptionBack(CDC* pDC, CRect& rcItem);
  virtual void DrawCaptionText(CDC* pDC);
  virtual void DrawCaptionIcon(CDC* pDC, CRect& rcItem);
  virtual void RefreshButtonText(CDC* pDC);
  virtual CRect GetButtonRect();

  // The window's style; the theme style is CXTThemeStyleHost::GetStyle.
  DWORD GetStyle() const { return CStatic::GetStyle(); }
  // The text shown now (what UpdateCaption or ModifyCaptionStyle last set).
  const CString& GetCaptionText() const { return m_strCaption; }
  HICON GetCaptionIcon() const { return m_hIcon; }
  COLORREF GetBorderColor() const { return m_clrBorder; }
  COLORREF GetInnerColor() const { return m_clrInner; }
  COLORREF GetTextColor() const { return m_clrText; }
  int GetBorderSize() const { return m_nBorder; }
  DWORD GetCaptionStyle() const { return m_dwExStyle; }
  BOOL HasButtonText() const { return m_bBtnText; }
  void SetButtonText(BOOL bButtonText) { m_bBtnText = bButtonText; }
  CXTCaptionButton& GetCaptionButton() { return m_btnCaption; }
  CXTCaptionPopupWnd* GetPopupWnd() const { return m_pPopupWnd; }
  CWnd* GetChildWindow() const { return m_pChildWnd; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg void OnCaptButton();
  afx_msg LRESULT OnPushPinButton(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPushPinCancel(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 protected:
  CWnd* GetNotifyWindow();
  void DeletePopup();
  void PositionButton();

  int m_nBorder = 0;
  COLORREF m_clrBorder;
  COLORREF m_clrInner;
  COLORREF m_clrText;
  int m_nOffset = 0;
  BOOL m_bUserColors = FALSE;
  BOOL m_bBtnText = FALSE;
  CWnd* m_pChildWnd = nullptr;
  CWnd* m_pParentView = nullptr;
  CWnd* m_pSplitterWnd = nullptr;
  CWnd* m_pNotifyWnd = nullptr;
  CRect m_rcChild;
  CRect m_rcChildPlace;  // the child's window rectangle in its parent when the popup took it
  CRect m_rcParent;
  CRect m_rcSplitter;
  CSize m_sizeIcon;
  DWORD m_dwExStyle = 0;
  HICON m_hIcon = nullptr;
  CString m_strCaption;
  CImageList m_ilButton;
  CXTCaptionButton m_btnCaption;
  CXTOwnedIcon m_iconButton;  // the command button's image, cut from the toolkit strip
  CXTCaptionPopupWnd* m_pPopupWnd = nullptr;
};
