// Shape styles 3 and 9: tabs with slanted sides, outlined in the frame colour with a white inner
// line. Style 9 slants only the start side and draws the tabs left to right, each over the last.
#pragma once

#include "TabShapeSet.h"

class CXTPTabShapeSetSlanted : public CXTPTabShapeSet {
 public:
  CXTPTabShapeSetSlanted();
  // The strip gradient and one line along the page edge.
  CRect DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
  int GetSupportedColorSchemes() const override;
  int GetDefaultColorScheme() const override;

 protected:
  // The outline of a top-strip tab c from its bottom-left round to its bottom-right: six points.
  virtual void GetOutline(const CRect& c, POINT* pts) const;
};

class CXTPTabShapeSetSlantedLeftToRight : public CXTPTabShapeSetSlanted {
 public:
  CXTPTabShapeSetSlantedLeftToRight();
  // Room for the long start slant of the first tab.
  CRect GetHeaderMargin() const override;

 protected:
  void GetOutline(const CRect& c, POINT* pts) const override;
};
