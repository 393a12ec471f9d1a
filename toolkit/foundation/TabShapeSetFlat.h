// Shape styles 5 and 6: flat tabs divided by thin separators; the selected tab is a framed box
// (style 5) or opens into the filled page (style 6, also the base of styles 2 and 7).
#pragma once

#include "TabShapeSet.h"

class CXTPTabShapeSetFlat : public CXTPTabShapeSet {
 public:
  CXTPTabShapeSetFlat();
  // The strip gradient, then the page filled and framed.
  CRect DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
  int GetSupportedColorSchemes() const override;
  int GetDefaultColorScheme() const override;
};

class CXTPTabShapeSetFlatFrame : public CXTPTabShapeSetFlat {
 public:
  CXTPTabShapeSetFlatFrame();
  // The strip gradient and a frame round the page, which is not filled.
  CRect DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
};
