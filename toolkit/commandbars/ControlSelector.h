// CXTPControlSelector: a grid of cells on a bar (a table-size picker): the block of cells under the
// mouse is selected, dragging past the edge grows the grid up to its maximum, and a click runs the
// control with the chosen size. The site hears each selection as code 0x1006. User-interface thread.
#pragma once

#include "Control.h"

#define XTP_SLN_SELCHANGE 0x1006

class CXTPControlSelector : public CXTPControl {
  DECLARE_SERIAL(CXTPControlSelector)

 public:
  CXTPControlSelector();

  CSize GetSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  void OnLButtonUp(CPoint point) override;
  void OnMouseMove(CPoint point) override;
  BOOL OnSetSelected(int bSelected) override;
  // Draws the content of one cell (nothing here).
  virtual void DrawItem(CDC* pDC, CRect rcItem, COLORREF clrText);

  void SetSelection(int nColumns, int nRows, BOOL bForce);
  CSize GetSelectedSize() const { return m_szSelected; }
  CSize GetChosenSize() const { return m_szChosen; }
  CSize GetGridSize() const { return m_szCurrent; }
  CSize GetItemsCount() const { return m_szItemsCount; }
  void SetItemsCount(CSize sz) { m_szItemsCount = m_szCurrent = sz; }
  CSize GetItemsMax() const { return m_szItemsMax; }
  void SetItemsMax(CSize sz) { m_szItemsMax = sz; }
  CSize GetItemSize() const { return m_szItem; }
  void SetItemSize(CSize sz) { m_szItem = sz; }

 protected:
  CSize m_szItemsCount = CSize(5, 4);
  CSize m_szItemsMax = CSize(12, 12);
  CSize m_szSelected = CSize(0, 0);
  CSize m_szItem = CSize(28, 28);
  CSize m_szChosen = CSize(0, 0);
  CSize m_szCurrent = CSize(5, 4);
  BOOL m_bGrowing = FALSE;
};
