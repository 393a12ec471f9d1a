// The button styles (classic, flat, scheme) and the factory that makes them for CXTButton and
// CXTBrowseButton. A style holds the colours, font choice and drawing of every button that shares it.
// User-interface thread only.
#pragma once

#include "ColorValue.h"
#include "ThemeHandle.h"
#include "ThemeManagerStyleFactory.h"

class CXTButton;
class CXTPImageManagerIcon;

// The item-state bits the styles read from DRAWITEMSTRUCT.
#define XT_BUTTON_STATE_PUSHED ODS_SELECTED    // 0x01
#define XT_BUTTON_STATE_DISABLED ODS_DISABLED  // 0x04
#define XT_BUTTON_STATE_FOCUS ODS_FOCUS        // 0x10

// The classic (theme 0) style; also the root of the flat and scheme styles.
class CXTButtonStyleBase : public CXTThemeStyleBase {
 public:
  CXTButtonStyleBase();
  ~CXTButtonStyleBase() override;

  void RefreshStyle() override;

  // Classic: a visual style draws the frame, or flag 0x01 or 0x02; the flat styles always.
  virtual BOOL UsesHotTracking(CXTButton* pButton);
  // Flag 0x1000 and the visual style for "BUTTON" open.
  virtual BOOL IsVisualStyleActive(CXTButton* pButton);
  virtual BOOL GetShowImages() const { return m_bShowImages; }
  virtual void SetShowImages(BOOL bShow) { m_bShowImages = bShow; }
  // The style's font when one was set, else the button's own (WM_GETFONT).
  virtual CFont* GetFont(CXTButton* pButton);
  // The font is not owned; NULL returns to the button's own.
  virtual void SetFont(CFont* pFont) { m_pFont = pFont; }
  // Each -1 argument leaves that colour as it is; the others become overrides.
  virtual void SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText);
  virtual void SetFaceColor(COLORREF clr) { m_clrFace.SetCustomValue(clr); }
  virtual COLORREF GetFaceColor() const { return m_clrFace; }
  virtual void SetLightColor(COLORREF clr) { m_clrLight.SetCustomValue(clr); }
  virtual void SetShadowColor(COLORREF clr) { m_clrShadow.SetCustomValue(clr); }
  virtual void SetTextColor(COLORREF clr) { m_clrText.SetCustomValue(clr); }

  // Layout, in client coordinates of the button.
  virtual CPoint GetImagePosition(CSize sizeText, CXTButton* pButton);
  virtual CPoint GetTextPosition(const CRect& rcClient, CSize sizeText, CXTButton* pButton);
  virtual COLORREF GetTextColor(UINT nState, CXTButton* pButton);
  virtual void DrawText(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton);
  virtual CPoint GetImageDrawPosition(CDC* pDC, UINT nState, const CRect& rcItem, CXTPImageManagerIcon* pIcon,
                                      CXTButton* pButton);
  virtual void DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton);
  // Frame, text, image and focus rectangle of one owner-draw record.
  virtual void DrawButton(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton);
  // TRUE when the visual style drew the frame.
  virtual BOOL DrawVisualStyleFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton);
  virtual void DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton);
  virtual void DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton);

  // Pushed in the drawing sense: the pushed item-state bit or the button's checked flag.
  static BOOL IsPushed(UINT nState, CXTButton* pButton);

  // The forms DrawIconForm knows.
  enum IconForm { formNormal, formHot, formDisabled, formFaded, formShadow };
  // Draws one icon form at pt; nothing when the form is empty.
  void DrawIconForm(CDC* pDC, CXTPImageManagerIcon* pIcon, int nForm, CPoint pt, CXTButton* pButton);

  BOOL m_bShowImages = TRUE;
  BOOL m_bOffsetHiliteText = TRUE;  // the text moves one pixel right and down while pushed
  CFont* m_pFont = nullptr;
  CXTPColorValue m_clrFace;
  CXTPColorValue m_clrText;
  CXTPColorValue m_clrDisabledText;
  CXTPColorValue m_clrLight;
  CXTPColorValue m_clrShadow;
  CXTPColorValue m_clrHighlight;
  CXTPColorValue m_clrDarkShadow;
  CXTThemeHandle m_themeButton;

 protected:
  // The text of the button as drawn (ampersands kept for DrawState's prefix handling) and its size.
  CSize MeasureText(CDC* pDC, CXTButton* pButton, CString& strText);
  // The checkerboard of slots 15 and 20 used for pushed buttons with 0x20.
  static void FillCheckedPattern(CDC* pDC, const CRect& rc);
};

// The flat (theme 1) style.
class CXTButtonStyleFlat : public CXTButtonStyleBase {
 public:
  CXTButtonStyleFlat();

  void RefreshStyle() override;
  BOOL UsesHotTracking(CXTButton* pButton) override;
  COLORREF GetTextColor(UINT nState, CXTButton* pButton) override;
  void DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) override;
  void DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) override;
  void DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) override;

  virtual void SetThemedFace(BOOL bThemed) { m_bThemedFace = bThemed; }
  virtual void SetPushedFaceColor(COLORREF clr) { m_clrPushedFace.SetCustomValue(clr); }
  virtual void SetHotFaceColor(COLORREF clr) { m_clrHotFace.SetCustomValue(clr); }
  virtual void SetPushedTextColor(COLORREF clr) { m_clrPushedText.SetCustomValue(clr); }
  virtual void SetHotTextColor(COLORREF clr) { m_clrHotText.SetCustomValue(clr); }

  BOOL m_bThemedFace = FALSE;
  BOOL m_bFadedIcon = TRUE;
  BOOL m_bShadowedIcon = TRUE;
  CXTPColorValue m_clrPushedFace;
  CXTPColorValue m_clrHotFace;
  CXTPColorValue m_clrPushedText;
  CXTPColorValue m_clrHotText;
  CXTPColorValue m_clrCheckedFace;

 protected:
  // The face of a button that is not plain: pushed, hot or checked.
  virtual void FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bHot, BOOL bChecked);
};

// The scheme (theme 2) style: the flat style with the colour table's current theme and gradients.
class CXTButtonStyleScheme : public CXTButtonStyleFlat {
 public:
  CXTButtonStyleScheme();

  void RefreshStyle() override;

 protected:
  void FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bHot, BOOL bChecked) override;
};

class CXTButtonThemeFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CXTButtonThemeFactory)

 public:
  CXTThemeStyleBase* CreateStyle(int nTheme) override;
};
