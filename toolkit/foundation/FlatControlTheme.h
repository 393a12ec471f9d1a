// The styles of the flat combo box and the flat edit (themes 0, 1 and 2) and their factories.
// User-interface thread only.
#pragma once

#include "ColorValue.h"
#include "ThemeManagerStyleFactory.h"

class CComboBox;

// Frame states passed to the drawing operations.
enum XTFlatControlState { xtFlatNormal = 1, xtFlatHot = 2, xtFlatPressed = 3 };

// Flat combo style 0 (and the root of styles 1 and 2).
class CXTFlatComboStyle : public CXTThemeStyleBase {
 public:
  void RefreshStyle() override;

  // The whole frame of the combo box: fill, border, the drop button and its arrow.
  virtual void DrawFlatComboBox(CDC* pDC, CComboBox* pCombo, int nState);
  virtual void DrawFrame(CDC* pDC, const CRect& rc, int nState, BOOL bEnabled);
  virtual void DrawDropButton(CDC* pDC, const CRect& rcButton, int nState, BOOL bEnabled);
  virtual void DrawDropArrow(CDC* pDC, const CRect& rcButton, int nState, BOOL bEnabled);
  // The drop button's box inside the client rectangle.
  CRect GetDropButtonRect(const CRect& rcClient, int nState) const;

  int m_cxHThumb = 0;
  int m_cyVThumb = 0;
  int m_cxBorder = 0;
  int m_cyBorder = 0;
  int m_cxEdge = 0;
  int m_cyEdge = 0;
  int m_cxDropButton = 15;
};

class CXTFlatComboStyle1 : public CXTFlatComboStyle {
 public:
  void DrawFrame(CDC* pDC, const CRect& rc, int nState, BOOL bEnabled) override;
  void DrawDropButton(CDC* pDC, const CRect& rcButton, int nState, BOOL bEnabled) override;
};

class CXTFlatComboStyle2 : public CXTFlatComboStyle1 {
 public:
  void DrawFrame(CDC* pDC, const CRect& rc, int nState, BOOL bEnabled) override;
  void DrawDropButton(CDC* pDC, const CRect& rcButton, int nState, BOOL bEnabled) override;
};

// Flat edit style 0: a sunken frame only while hot or focused.
class CXTFlatEditStyle : public CXTThemeStyleBase {
 public:
  virtual void DrawBorders(CDC* pDC, const CRect& rcWindow, int nState, BOOL bEnabled);
};

// Style 1 keeps its colours as colour values (slots 45, 47, 31, 33, 5, 32, 15, 15).
class CXTFlatEditStyle1 : public CXTFlatEditStyle {
 public:
  void RefreshStyle() override;
  void DrawBorders(CDC* pDC, const CRect& rcWindow, int nState, BOOL bEnabled) override;

  CXTPColorValue m_clrHighlightText;
  CXTPColorValue m_clrPushedText;
  CXTPColorValue m_clrHighlight;
  CXTPColorValue m_clrPushed;
  CXTPColorValue m_clrNormal;
  CXTPColorValue m_clrFrameHighlight;
  CXTPColorValue m_clrFrameNormal;
  CXTPColorValue m_clrFrameEdit;
};

// Style 2 takes its border from the colour table's current theme.
class CXTFlatEditStyle2 : public CXTFlatEditStyle1 {
 public:
  void RefreshStyle() override;
  void DrawBorders(CDC* pDC, const CRect& rcWindow, int nState, BOOL bEnabled) override;

  COLORREF m_clrBorder = 0;
  COLORREF m_clrBorderLight = 0;
  COLORREF m_clrBorderFace = 0;
};

class CXTFlatComboBoxThemeFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CXTFlatComboBoxThemeFactory)

 public:
  CXTThemeStyleBase* CreateStyle(int nTheme) override;
};

class CXTFlatEditThemeFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CXTFlatEditThemeFactory)

 public:
  CXTThemeStyleBase* CreateStyle(int nTheme) override;
};
