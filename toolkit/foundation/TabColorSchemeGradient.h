// Schemes 4 and 16: gradient strips and tabs, with the fixed colours of the blue, olive and silver
// system themes; the themed gradient scheme starts from plain system colours and takes the
// gradient scheme's colours unless plain colours are asked for.
#pragma once

#include "TabColorScheme.h"

// Owned by its painter. User-interface thread only.
class CXTPTabColorSchemeGradient : public CXTPTabColorSchemeDefault {
 public:
  void RefreshMetrics() override;
  // A gradient from the lightened item colour to the item colour (the hot colour for the hot tab),
  // turned with the position; a solid fill when item gradients are off.
  COLORREF FillItem(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) override;
  void FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) override;

  CXTPColorValue m_clrHotItem;
  CXTPColorValue m_clrNavigateFrame;

 protected:
  // The gradient scheme's own colours, on top of the default scheme's.
  void RefreshGradientColors();

  BOOL m_bGradientButtons = FALSE;  // the theme's fixed colours are in use
  BOOL m_bGradientItems = TRUE;
};

class CXTPTabColorSchemeThemedGradient : public CXTPTabColorSchemeGradient {
 public:
  void RefreshMetrics() override;
};
