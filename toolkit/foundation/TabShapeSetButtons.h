// Shape style 4: every tab is a button framed by the colour scheme; the strip has no background of
// its own and the rows do not overlap.
#pragma once

#include "TabShapeSet.h"

class CXTPTabShapeSetButtons : public CXTPTabShapeSet {
 public:
  CXTPTabShapeSetButtons();
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
  int GetDefaultColorScheme() const override;
};
