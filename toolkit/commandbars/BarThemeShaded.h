// CXTPBarThemeShaded (theme 2) and CXTPBarThemeShadedAlt (theme 4): the flat theme with gradients on
// bars, docks, gutters, hot and pressed buttons and the expand button, dotted grippers and cut bar
// corners. Under a known visual-style colour scheme (blue, olive, silver) theme 2 takes that scheme's
// fixed colours; theme 4 ignores the scheme for them and applies its own softer sets.
// User-interface thread only.
#pragma once

#include "BarThemeFlat.h"

class CXTThemeHandle;

class CXTPBarThemeShaded : public CXTPBarThemeFlat {
  DECLARE_DYNCREATE(CXTPBarThemeShaded)

 public:
  CXTPBarThemeShaded();
  ~CXTPBarThemeShaded() override;

  void RefreshMetrics() override;
  void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) override;
  void FillDockBar(CDC* pDC, CXTPDockBar* pBar) override;
  void DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked,
                        BOOL bPopuped, BOOL bToolBar, XTPBarPosition barPosition) override;
  CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw = TRUE) override;
  CSize DrawDialogBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
  CSize DrawCommandBarSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl,
                                BOOL bDraw = TRUE) override;
  CSize DrawSymbol(CDC* pDC, int nKind, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw,
                   BOOL bHiddenControls, CSize szBar = CSize(0, 0)) override;
  CRect GetCommandBarBorders(CXTPCommandBar* pBar) override;
  CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) override;
  void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
  void DrawStatusBarGripper(CDC* pDC, CRect rcClient) override;
  int GetThemeType() const override { return xtpThemeShaded; }

  // A horizontal gradient: the hidden gutter gradient when bHidden, else the bar gradient.
  void FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bHidden) override;
  // Floating toolbars with any of the low four docking flags get a gradient per row.
  virtual BOOL HasRowGradients(CXTPCommandBar* pBar) const;

  BOOL IsSchemeColorsApplied() const { return m_bSchemeColorsApplied; }
  const CXTPColorGradientValue& GetDockGradient() const { return m_grcDock; }
  const CXTPColorGradientValue& GetBarGradient() const { return m_grcBar; }
  const CXTPColorGradientValue& GetExpandGradient() const { return m_grcExpand; }
  const CXTPColorGradientValue& GetGlyphGradient() const { return m_grcGlyph; }
  const CXTPColorGradientValue& GetHiddenGutterGradient() const { return m_grcHiddenGutter; }
  const CXTPColorGradientValue& GetPopupedGradient() const { return m_grcPopuped; }
  COLORREF GetShadowLineColor() const { return m_clrShadowLine; }
  COLORREF GetCaptionColor() const { return m_clrCaption; }
  COLORREF GetPaneBorderColor() const { return m_clrPaneBorder; }
  COLORREF GetTearOffColor() const { return m_clrTearOff; }
  CImageList* GetGlyphImageList() { return &m_ilGlyph; }

  // Fixed gradients of checked, pressed and hot toolbar buttons under a scheme.
  static const CXTPColorGradientValue& PASCAL CheckedGradient();
  static const CXTPColorGradientValue& PASCAL PressedGradient();
  static const CXTPColorGradientValue& PASCAL HotGradient();

 protected:
  // The 16 x 16 disc behind the expand item's chevrons, from the glyph gradient.
  void CreateGlyphImage();
  // A 2 x 2 dot in slot 38 with its highlight in slot 20 one pixel right and down.
  void DrawDot(CDC* pDC, int x, int y);
  // The gradient behind a bar: its dock bar's gradient mapped into the bar (the right dock bar is a
  // plain fill).
  void FillDockBackground(CDC* pDC, CXTPCommandBar* pBar, const CRect& rcClient);
  // The dock gradient over rc in pWnd, stretched to at least half the screen's width.
  void FillDockGradient(CDC* pDC, CWnd* pWnd, CRect rc, const CRect* pClip);
  void FillToolBarBody(CDC* pDC, CXTPCommandBar* pBar, const CRect& rcClient);
  void FillFloatingRows(CDC* pDC, CXTPCommandBar* pBar, const CRect& rcClient);

  CXTPColorGradientValue m_grcDock;
  CXTPColorGradientValue m_grcBar;
  CXTPColorGradientValue m_grcExpand;
  CXTPColorGradientValue m_grcGlyph;
  CXTPColorGradientValue m_grcHiddenGutter;
  CXTPColorGradientValue m_grcPopuped;
  COLORREF m_clrShadowLine = 0;
  COLORREF m_clrCaption = 0;
  COLORREF m_clrPaneBorder = 0;
  COLORREF m_clrTearOff = 0;
  BOOL m_bSchemeColorsApplied = FALSE;
  BOOL m_bSingleSeparators = FALSE;
  CXTThemeHandle* m_pStatusTheme = nullptr;
  CImageList m_ilGlyph;
};

class CXTPBarThemeShadedAlt : public CXTPBarThemeShaded {
  DECLARE_DYNCREATE(CXTPBarThemeShadedAlt)

 public:
  CXTPBarThemeShadedAlt();

  void RefreshMetrics() override;
  int GetThemeType() const override { return xtpThemeShadedAlt; }
};
