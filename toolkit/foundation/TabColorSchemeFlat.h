// Scheme 2, the flat scheme: the base colours with a strip from the colour table and flat navigate
// buttons. Applications that draw their own strip derive from it (the wizard replaces
// FillStripBackground).
#pragma once

#include "TabColorScheme.h"

// Owned by its painter. User-interface thread only.
class CXTPTabColorSchemeFlat : public CXTPTabColorSchemeDefault {
 public:
  // Keeps the base outlines and item colours (style 7: the selected tab in the window colour, the
  // others in the face colour, outer edges only) instead of the default scheme's.
  void RefreshMetrics() override;
  void FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) override;
};
