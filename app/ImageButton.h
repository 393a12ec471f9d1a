// An owner-drawn push button that shows a bitmap (or icon) with an optional caption, highlights itself
// while the mouse is over it, shows a tool tip, and on a click may play a sound, toggle a check state,
// drop a popup menu or open a link. The main view's tool buttons are image buttons.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>
#include <mmsystem.h>

class CXTPTabManagerItem;

// Created (or subclassed) by its parent on the parent's thread; only that thread touches it. The tool
// tip is fed from PreTranslateMessage, so that thread's messages must go through the framework's pump
// (CWinThread or a framework modal loop). A click reaches the parent as the ordinary BN_CLICKED command.
class CImageButton : public CButton {
 public:
  CImageButton();
  ~CImageButton() override;

  // Where the image stands beside the caption.
  enum { IMAGE_LEFT = 0, IMAGE_ABOVE = 1, IMAGE_RIGHT = 2 };
  // Out-image ids that ask for an image made from the in-image.
  enum { AUTO_GREY = -2, AUTO_DARKER = -3 };
  // Colour slots: background and text while the mouse is over (in), otherwise (out), and focused.
  enum {
    COLOR_BK_IN = 0,
    COLOR_FG_IN,
    COLOR_BK_OUT,
    COLOR_FG_OUT,
    COLOR_BK_FOCUS,
    COLOR_FG_FOCUS,
    COLOR_COUNT
  };

  // Loads the in-image (shown while the mouse is over or the button is pressed), the out-image and the
  // disabled image from the program's resources, each drawn without its transparent colour. An out id
  // of AUTO_GREY or AUTO_DARKER makes the out-image from the in-image; 0 means none (the in-image is
  // shown instead; a disabled button without a disabled image shows no image). FALSE when the in-image
  // cannot be loaded: the button then shows no image.
  BOOL SetBitmaps(int nBitmapIn, COLORREF crTransColorIn, int nBitmapOut = 0, COLORREF crTransColorOut = 0,
                  int nBitmapDisabled = 0);
  // Icons instead of bitmaps (an out id of 0 shows the in-icon always); a disabled button draws its
  // icon greyed. FALSE when the in-icon cannot be loaded.
  BOOL SetIcons(int nIconIn, int nIconOut = 0);
  // The tool tip over the whole button: created on first use, at most 400 pixels wide.
  void SetTooltipText(LPCTSTR lpszText, BOOL bActivate = TRUE);
  // Two more places where the tip text shows while the pointer is over the button: the window text of
  // pStatusBar (a status bar's message pane) and the caption of pTabItem; either may be null. When
  // the pointer leaves, each place gets back the text it had, unless something else has replaced the
  // tip there meanwhile. The button keeps a reference on the item until it is given other places or
  // is deleted; a status bar that is gone by then is left alone.
  void SetTipTextPlaces(CWnd* pStatusBar, CXTPTabManagerItem* pTabItem);
  void SetFlat(BOOL bFlat = TRUE, BOOL bRepaint = TRUE);
  void SetAlign(int nAlign, BOOL bRepaint = TRUE);
  // Draws the parent's background under the button instead of the state's background colour.
  void SetDrawTransparent(BOOL bTransparent = TRUE, BOOL bRepaint = TRUE);
  void SetColor(int nSlot, COLORREF crColor, BOOL bRepaint = TRUE);
  // Played (PlaySound with the module and flags) when the mouse enters the button and on a click.
  void SetSound(LPCTSTR lpszSound, HMODULE hModule = nullptr, DWORD dwFlags = SND_ASYNC | SND_NODEFAULT);
  // A click drops the first submenu of menu resource nMenu; the chosen command is posted to hCommandWnd.
  BOOL SetPopupMenu(UINT nMenu, HWND hCommandWnd);
  // Sent (submenu, button) before the popup menu shows, so that hWnd can adjust it.
  void SetMenuCallback(HWND hWnd, UINT nMessage);
  // A click opens this address with the shell.
  void SetURL(LPCTSTR lpszURL);
  void SetBtnCursor(int nCursorId);

  BOOL IsMouseOver() const { return m_bMouseOnButton; }
  BOOL IsCheckBox() const { return m_bIsCheckBox; }

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  virtual void OnDrawBackground(CDC* pDC, CRect* pRect);
  virtual void OnDrawBorder(CDC* pDC, CRect* pRect);
  virtual void DrawTheIcon(CDC* pDC, BOOL bHasTitle, const CRect& rcItem, CRect* pCaption, BOOL bIsPressed,
                           BOOL bIsDisabled);
  virtual void DrawTheBitmap(CDC* pDC, BOOL bHasTitle, const CRect& rcItem, CRect* pCaption, BOOL bIsPressed,
                             BOOL bIsDisabled);
  virtual void DrawTheText(CDC* pDC, LPCTSTR lpszText, const CRect& rcItem, CRect* pCaption, BOOL bIsPressed,
                           BOOL bIsDisabled);

  void PreSubclassWindow() override;

  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnSysColorChange();
  afx_msg BOOL OnClicked();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnCancelMode();
  afx_msg UINT OnGetDlgCode();
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
  afx_msg void OnMouseLeave();
  afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  struct Image {
    HICON hIcon = nullptr;
    HBITMAP hBitmap = nullptr;
    HBITMAP hMask = nullptr;
    DWORD dwWidth = 0;
    DWORD dwHeight = 0;
  };

  void FreeImages();
  void CancelHover();
  // The tip text into the status bar and the tab item, and the texts they had back.
  void ShowTipInPlaces();
  void RestoreTipPlaces();
  void InitToolTip();
  void ResetColors();
  void PaintParentBackground(CDC* pDC);
  void PlayTheSound();
  // The image's rectangle for the alignment and margins; the caption rectangle gives way to it.
  void PrepareImageRect(BOOL bHasTitle, const CRect& rcItem, CRect* pCaption, BOOL bIsPressed, DWORD dwWidth,
                        DWORD dwHeight, CRect* pImage) const;
  // The state colour: in while hovered or pressed, focus while focused, else out.
  COLORREF StateColor(BOOL bForeground, BOOL bIsPressed, BOOL bIsFocused) const;

  // Style.
  BOOL m_bIsFlat;
  BOOL m_bDrawBorder;
  BOOL m_bDrawFlatFocus;
  BOOL m_bAlwaysTrack;
  BOOL m_bDrawTransparent;
  BOOL m_bIsDefault;
  BOOL m_bIsCheckBox;
  int m_nCheck;
  // Image placement.
  int m_nAlign;
  CPoint m_ptImageMargin;
  BOOL m_bShowDisabledBitmap;
  int m_nPressedStyle;
  // Run-time state.
  BOOL m_bIsPressed;
  BOOL m_bIsFocused;
  BOOL m_bIsDisabled;
  BOOL m_bMouseOnButton;
  BOOL m_bMenuDisplayed;
  BOOL m_bFocusDropped;

 public:
  CToolTipCtrl m_tooltip;

 private:
  CDC m_dcBk;
  CBitmap m_bmpBk;
  CBitmap* m_pbmpOldBk;
  HCURSOR m_hCursor;
  Image m_icons[2];    // in, out
  Image m_bitmaps[3];  // in, out, disabled
  COLORREF m_crColors[COLOR_COUNT];
  HMENU m_hMenu;
  HWND m_hCommandWnd;
  HWND m_hMenuCallbackWnd;
  UINT m_nMenuCallbackMessage;
  CString m_strURL;
  CString m_strSound;
  HMODULE m_hSoundModule;
  DWORD m_dwSoundFlags;
  // The tip text and the places it also shows in while hovered, with what they showed before.
  CString m_strTipText;
  HWND m_hWndTipStatusBar;
  CXTPTabManagerItem* m_pTipTabItem;
  BOOL m_bTipInPlaces;
  CString m_strStatusBarBefore;
  CString m_strTabItemBefore;
};
