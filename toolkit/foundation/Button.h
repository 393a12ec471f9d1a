// CXTButton: the toolkit's owner-drawn push button (text, optional icon, hot tracking, frame looks),
// drawn by a button style of its theme factory. Created and used on the user-interface thread only.
#pragma once

#include "ButtonTheme.h"

#include <functional>

class CXTPImageManagerIcon;
class CXTPIconHandle;

// Style flags (GetXButtonStyle).
#define XButtonFlat 0x0001
#define XButtonThinFrame 0x0002
#define XButtonImageAboveText 0x0004
#define XButtonShowFocus 0x0010
#define XButtonCheckedPattern 0x0020
#define XButtonFlatTheme 0x0040
#define XButtonVisualStyle 0x1000

class CXTButton : public CButton, public CXTThemeStyleHost {
  DECLARE_DYNAMIC(CXTButton)

 public:
  // pFactoryClass: the theme factory of the kind; NULL means CXTButtonThemeFactory.
  explicit CXTButton(CRuntimeClass* pFactoryClass = nullptr);
  ~CXTButton() override;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  // size 0 x 0 takes the normal icon's own size. FALSE when the normal icon is empty.
  virtual BOOL SetIconObjects(CSize size, const CXTPIconHandle& hIcon, const CXTPIconHandle& hIconHot,
                              BOOL bRedraw = TRUE);
  // Icon resources of the resource module at the given size; a hot id of 0 means none. FALSE when
  // an icon cannot be loaded (the button then keeps no icon). The 16-bit form takes all four
  // arguments, so that a call with literal ids always means the 32-bit form.
  virtual BOOL SetIcon(CSize size, UINT nID, UINT nHotID = 0, BOOL bRedraw = TRUE);
  virtual BOOL SetIcon(CSize size, WORD nID, WORD nHotID, BOOL bRedraw);
  // The handles stay the caller's.
  virtual BOOL SetIcon(CSize size, HICON hIcon, HICON hIconHot = nullptr, BOOL bRedraw = TRUE);
  // A bitmap resource (32-bit alpha or ordinary, its top-left pixel transparent) as the icon.
  virtual BOOL SetBitmap(CSize size, UINT nID, BOOL bRedraw = TRUE);
  virtual BOOL SetTextAndImagePos(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
  // Stores the flags and picks the private style they ask for (0x40 flat, 0x01 classic, else the
  // shared one). Returns the previous flags.
  virtual DWORD SetXButtonStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
  virtual DWORD GetXButtonStyle() const { return m_dwxStyle; }
  virtual BOOL HasStyle(DWORD dwStyle) const { return (m_dwxStyle & dwStyle) != 0; }
  // Colour setters write overrides into the current style; FALSE when the button has no style.
  virtual BOOL SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText);
  virtual BOOL SetFaceColor(COLORREF clrFace);
  // Without a style: the system face colour.
  virtual COLORREF GetFaceColor();
  virtual BOOL SetLightColor(COLORREF clrLight);
  virtual BOOL SetShadowColor(COLORREF clrShadow);
  virtual BOOL SetTextColor(COLORREF clrText);
  // Only on the flat style: border (light and shadow), hot face, pushed face.
  virtual BOOL SetFlatColors(COLORREF clrBorder, COLORREF clrHotFace, COLORREF clrPushedFace);
  virtual void ToggleImages();
  // WM_SETFONT with redraw; the previous font.
  virtual CFont* SetFontEx(CFont* pFont);
  virtual void SetOwnerDraw();
  // Drops the icon's generated forms so that they are made anew.
  virtual void RefreshIconForms();
  virtual CString GetButtonText(BOOL bRemoveAmpersands);

  // Layout sizes; 0 x 0 when the style does not show images.
  CSize GetImageSize();
  CPoint GetExplicitImagePos();
  CPoint GetExplicitTextPos();
  BOOL HasExplicitPositions() const { return m_bUserPosition; }
  CXTPImageManagerIcon* GetIconObject() const { return m_pIcon; }
  // The theme style; GetStyle is the window's style, as for every window.
  CXTButtonStyleBase* GetButtonStyle() const;
  DWORD GetStyle() const { return CButton::GetStyle(); }

  BOOL IsHot() const { return m_bHot; }
  BOOL IsChecked() const { return m_bChecked; }
  BOOL IsMouseDown() const { return m_bLBtnDown; }
  int GetImageMargin() const { return m_nImageMargin; }
  int GetImageGap() const { return m_nImageGap; }

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PreSubclassWindow() override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // Redraws when the window exists and bRedraw is set.
  void RedrawButton(BOOL bRedraw);
  // Applies a change to the current style and redraws; FALSE when the button has no style.
  BOOL ChangeStyle(const std::function<void(CXTButtonStyleBase*)>& change);
  void DeleteIcon();

  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 protected:
  int m_nImageMargin = 4;
  int m_nImageGap = 8;
  BOOL m_bSubclassed = TRUE;
  BOOL m_bHot = FALSE;
  BOOL m_bUserPosition = FALSE;
  BOOL m_bLBtnDown = FALSE;
  BOOL m_bHotTimer = FALSE;
  BOOL m_bChecked = FALSE;
  DWORD m_dwxStyle = XButtonFlat;
  CSize m_sizeImage = CSize(0, 0);
  CPoint m_ptImage = CPoint(0, 0);
  CPoint m_ptText = CPoint(0, 0);
  CXTPImageManagerIcon* m_pIcon = nullptr;

  friend class CXTButtonStyleBase;
};
