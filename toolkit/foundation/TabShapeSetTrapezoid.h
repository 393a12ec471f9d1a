// Shape style 7: trapezoid tabs over a filled, framed page (the wizard's tab window uses it).
#pragma once

#include "TabShapeSetFlat.h"

class CXTPTabShapeSetTrapezoid : public CXTPTabShapeSetFlat {
 public:
  CXTPTabShapeSetTrapezoid();
  // The slanted ends reach half a row height beyond the tab on both sides.
  CRect GetHeaderMargin() const override;
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
};
