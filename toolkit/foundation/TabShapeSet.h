// The shape set of a tab painter: the row height, the margins round the tabs, how the strip and the
// page are cut from the control, and how the background and each tab are outlined. Colours always
// come from the painter's colour scheme. Ten styles derive from it (TabShapeSet*.h).
#pragma once

#include <afxwin.h>

class CXTPTabPainter;
class CXTPTabManager;
class CXTPTabManagerItem;
class CXTPTabColorScheme;

// Made by CXTPTabPainter::SetShapeSet, owned and deleted by the painter. User-interface thread only.
class CXTPTabShapeSet {
 public:
  CXTPTabShapeSet();
  virtual ~CXTPTabShapeSet();
  CXTPTabShapeSet(const CXTPTabShapeSet&) = delete;
  CXTPTabShapeSet& operator=(const CXTPTabShapeSet&) = delete;

  // The tab height from the painter's normal font.
  virtual void RefreshMetrics();
  // The strip cut from rcControl on the side of the position: rows of tabs and the header margins.
  virtual CRect GetHeaderRect(CRect rcControl, const CXTPTabManager* pTabManager) const;
  // The rest of rcControl beside the header, overlapping it by one pixel.
  virtual CRect GetPageRect(CRect rcControl, const CXTPTabManager* pTabManager) const;
  // Margins round the tabs, given for a top strip.
  virtual CRect GetHeaderMargin() const;
  virtual CRect GetClientMargin() const;
  virtual int GetButtonLength(CDC* pDC, CXTPTabManagerItem* pItem);
  // The height of one row of tabs (the tab's thickness across the strip).
  virtual int GetButtonHeight(const CXTPTabManager* pTabManager) const;
  virtual void DrawTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl);
  // Draws the strip and page background; returns the header rectangle.
  virtual CRect DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl);
  virtual void RepositionTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcClient);
  virtual void AdjustClientRect(CXTPTabManager* pTabManager, CRect& rcClient);
  // One tab: outline, fill and content.
  virtual void DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem);
  // A frame round the control's page side (nSide 0..3); used by multi-document hosts.
  virtual void DrawClientFrame(CDC* pDC, CRect& rcClient, int nSide);
  // A mask of XTPTabColorStyle flags.
  virtual int GetSupportedColorSchemes() const;
  virtual int GetDefaultColorScheme() const;

  void SetPaintManager(CXTPTabPainter* pPainter) { m_pPainter = pPainter; }
  CXTPTabPainter* GetPaintManager() const { return m_pPainter; }
  int GetRowOverlap() const { return m_nRowOverlap; }
  BOOL IsLeftToRight() const { return m_bLeftToRight; }

 protected:
  CXTPTabColorScheme* GetColorScheme() const;
  int GetPosition() const;
  // The page area of styles that fill and frame it: pageFrame 0 fills and frames it in the
  // scheme's highlight and frame colours, 1 draws one line along the strip edge.
  void DrawPageFrame(CDC* pDC, CXTPTabManager* pTabManager, CRect rcPage);
  // A one-pixel frame whose sides are left out where their colour is -1.
  static void PASCAL DrawFrame(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight);
  // Layout results for shapes that lay out by themselves.
  static void PASCAL SetHeaderRect(CXTPTabManager* pTabManager, const CRect& rc);
  static void PASCAL SetItemRect(CXTPTabManagerItem* pItem, const CRect& rc);
  static void PASCAL SetItemLength(CXTPTabManagerItem* pItem, int nLength, int nIdealLength);

  CRect m_rcHeaderMargin;
  int m_nRowOverlap = -2;
  int m_nButtonHeight = 18;
  CXTPTabPainter* m_pPainter = nullptr;
  BOOL m_bLeftToRight = FALSE;
};

// Figures of a tab are drawn as for a top strip and turned with the strip: along the strip is x,
// away from the page is -y. The canonical rectangle of a tab is its device rectangle turned back to
// the top position.
class CXTPTabFigure {
 public:
  CXTPTabFigure(CDC* pDC, CRect rcDevice, int nPosition);

  // The tab rectangle as a top strip would have it.
  CRect GetCanonicalRect() const { return m_rcCanonical; }
  // A point between pixels (rectangle corners).
  CPoint Map(int x, int y) const;
  // A pixel (line ends and polygon corners).
  CPoint MapPixel(int x, int y) const;
  CRect MapRect(const CRect& rc) const;
  // A one-pixel-wide solid fill (lines drawn as thin fills); -1 draws nothing.
  void FillRect(int x, int y, int cx, int cy, COLORREF clr) const;
  void HLine(int x, int y, int cx, COLORREF clr) const { FillRect(x, y, cx, 1, clr); }
  void VLine(int x, int y, int cy, COLORREF clr) const { FillRect(x, y, 1, cy, clr); }
  // A pen line from (x1, y1) to (x2, y2), end point excluded; -1 draws nothing.
  void Line(int x1, int y1, int x2, int y2, COLORREF clr) const;
  // pts mapped to the device in place.
  void MapPoints(POINT* pts, int nCount) const;
  CDC* GetDC() const { return m_pDC; }

 private:
  CDC* m_pDC;
  CRect m_rcDevice;
  CRect m_rcCanonical;
  int m_nPosition;
};
