// Shape style 2: tabs with rounded outer corners over a filled, framed page.
#pragma once

#include "TabShapeSetFlat.h"

class CXTPTabShapeSetRounded : public CXTPTabShapeSetFlat {
 public:
  CXTPTabShapeSetRounded();
  // Room for a row height before the first tab.
  CRect GetHeaderMargin() const override;
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
  int GetDefaultColorScheme() const override;
};
