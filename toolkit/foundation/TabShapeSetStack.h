// Shape style 8: the tabs are full-width bars stacked down the control whatever the position; the
// page opens below the selected bar and the bars after it sit against the bottom.
#pragma once

#include "TabShapeSet.h"

class CXTPTabShapeSetStack : public CXTPTabShapeSet {
 public:
  CXTPTabShapeSetStack();
  // Empty: the bars are spread over the whole control.
  CRect GetHeaderRect(CRect rcControl, const CXTPTabManager* pTabManager) const override;
  CRect GetPageRect(CRect rcControl, const CXTPTabManager* pTabManager) const override;
  int GetButtonLength(CDC* pDC, CXTPTabManagerItem* pItem) override;
  // The whole control in the face colour; the bars are drawn over all of it.
  CRect DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
  void RepositionTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcClient) override;
  void AdjustClientRect(CXTPTabManager* pTabManager, CRect& rcClient) override;
  void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) override;
  int GetSupportedColorSchemes() const override;

 private:
  // The page the last layout left between the selected bar and the next.
  CRect m_rcPage;
};
