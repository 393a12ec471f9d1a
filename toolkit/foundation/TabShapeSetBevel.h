// Shape styles 0 and 1: raised three-dimensional tabs over a framed page. Style 0 is the painter's
// default; style 1 outlines only the selected and the hot tab.
#pragma once

#include "TabShapeSet.h"

class CXTPTabShapeSetBevel : public CXTPTabShapeSet {
 public:
  CXTPTabShapeSetBevel();
  CRect DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
  int GetSupportedColorSchemes() const override;

 protected:
  // The raised bevel of one tab, then its content.
  void DrawBevelTab(CDC* pDC, CXTPTabManagerItem* pItem);
};

class CXTPTabShapeSetBevelHot : public CXTPTabShapeSetBevel {
 public:
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
  // Room for the visual style's pane shadow on the right and bottom.
  CRect GetClientMargin() const override;
};
