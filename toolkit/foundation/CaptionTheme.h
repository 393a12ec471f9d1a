// The caption styles (classic, flat, gradient) and their factory. A caption forwards its background,
// text and icon drawing to the style. User-interface thread only.
#pragma once

#include "ColorValue.h"
#include "ThemeManagerStyleFactory.h"

class CXTCaption;

// Classic (theme 0).
class CXTCaptionStyle : public CXTThemeStyleBase {
 public:
  void RefreshStyle() override;

  virtual void DrawCaptionBack(CDC* pDC, CXTCaption* pCaption, CRect& rcItem);
  virtual void DrawCaptionText(CDC* pDC, CXTCaption* pCaption);
  virtual void DrawCaptionIcon(CDC* pDC, CXTCaption* pCaption, CRect& rcItem);

  CXTPColorValue m_clrShadow;
  CXTPColorValue m_clrHighlight;
};

// Flat (theme 1).
class CXTCaptionStyleFlat : public CXTCaptionStyle {
 public:
  void DrawCaptionBack(CDC* pDC, CXTCaption* pCaption, CRect& rcItem) override;
};

// Gradient (theme 2).
class CXTCaptionStyleGradient : public CXTCaptionStyle {
 public:
  void DrawCaptionBack(CDC* pDC, CXTCaption* pCaption, CRect& rcItem) override;
};

class CXTCaptionThemeFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CXTCaptionThemeFactory)

 public:
  CXTThemeStyleBase* CreateStyle(int nTheme) override;
};
