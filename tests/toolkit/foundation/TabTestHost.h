// A window-less tab manager host for layout and drawing tests: it lays out over a memory DC, draws
// into a canvas, fakes icons as magenta squares, and (with a fixed-length painter) gives items the
// lengths the test asks for through their data value.
#pragma once

#include <afxwin.h>

#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"
#include "TabShapeSet.h"
#include "ToolkitCanvas.h"

// Items whose data value is not 0 measure that many pixels; the others are measured as usual.
class FixedLengthPainter : public CXTPTabPainter {
 public:
  int DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem, CRect rc, BOOL bDraw) override {
    if (!bDraw && pItem->GetData() != 0) return pItem->IsVisible() ? static_cast<int>(pItem->GetData()) : 0;
    return CXTPTabPainter::DrawSingleButton(pDC, pItem, rc, bDraw);
  }
};

class TabTestHost : public CXTPTabManager {
 public:
  explicit TabTestHost(CRect rcControl = CRect(0, 0, 400, 200),
                       CXTPTabPainter* pPainter = new FixedLengthPainter())
      : m_rc(rcControl), m_pPainter(pPainter) {}
  ~TabTestHost() override { delete m_pPainter; }

  void Reposition() override {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    m_pPainter->RepositionTabControl(this, &dc, m_rc);
    ++m_nRepositions;
  }
  CXTPTabPainter* GetPaintManager() const override { return m_pPainter; }
  void RedrawControl() override { ++m_nRedraws; }
  BOOL DrawItemIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override {
    if (pItem == nullptr) return m_pPainter->m_bShowIcons;
    if (pItem->GetImageIndex() < 0 || !m_pPainter->m_bShowIcons) return FALSE;
    if (bDraw) pDC->FillSolidRect(pt.x, pt.y, szIcon.cx, szIcon.cy, RGB(255, 0, 255));
    return TRUE;
  }
  void OnItemClick(CXTPTabManagerItem* pItem) override {
    ++m_nClicks;
    CXTPTabManager::OnItemClick(pItem);
  }
  void OnNavigateButton(int nKind) override {
    m_nLastNavigateButton = nKind;
    CXTPTabManager::OnNavigateButton(nKind);
  }

  // Appends an item measuring nLength pixels (0: measured from its caption).
  CXTPTabManagerItem* Add(int nLength, LPCTSTR lpszCaption = _T("Tab")) {
    CXTPTabManagerItem* pItem = new CXTPTabManagerItem();
    pItem->SetData(static_cast<DWORD_PTR>(nLength));
    pItem->SetCaption(lpszCaption);
    return InsertItem(-1, pItem);
  }
  void Draw(ToolkitCanvas& canvas) { m_pPainter->DrawTabControl(this, &canvas.dc(), m_rc); }
  int ButtonHeight() const { return m_pPainter->GetShapeSet()->GetButtonHeight(this); }

  CRect m_rc;
  CXTPTabPainter* m_pPainter;
  int m_nRepositions = 0;
  int m_nRedraws = 0;
  int m_nClicks = 0;
  int m_nLastNavigateButton = -1;
};

// An item that counts the live instances, to see that the manager releases what it holds.
class CountedTabItem : public CXTPTabManagerItem {
 public:
  CountedTabItem() { ++s_nLive; }
  ~CountedTabItem() override { --s_nLive; }
  static int s_nLive;
};
