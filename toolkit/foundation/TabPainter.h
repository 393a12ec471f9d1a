// The tab painter: measures, lays out and draws the strips of tab managers. It holds the display
// options, four fonts, one shape set (geometry and outlines) and one colour scheme (all colours and
// fills). A host owns its painter; an application may derive its own and install its own scheme.
#pragma once

#include <afxwin.h>

#include "TabManager.h"

class CXTPTabManager;
class CXTPTabManagerItem;
class CXTPTabColorScheme;
class CXTPTabShapeSet;

// Colour scheme flags given to SetColorScheme.
enum XTPTabColorStyle {
  xtpTabColorDefault = 1,
  xtpTabColorFlat = 2,
  xtpTabColorGradient = 4,
  xtpTabColorVisualStyle = 8,
  xtpTabColorThemedGradient = 16,
};

// Made, configured and deleted by its owner (a tab window or the application). User-interface
// thread only. Option changes show at the host's next Reposition: the hosts of this system do not
// add themselves to m_arrManagers.
class CXTPTabPainter : public CCmdTarget {
 public:
  CXTPTabPainter();
  ~CXTPTabPainter() override;

  // Paints frame, background, header, tabs and navigate buttons (through the shape set).
  virtual void DrawTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl);
  // Cuts the strip (and the client frame) off rcClient.
  virtual void AdjustClientRect(CXTPTabManager* pTabManager, CRect& rcClient);
  // Lays out every item, the header, the navigate buttons and the page rectangle.
  virtual void RepositionTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcClient);
  // bDraw FALSE: the tab's length along the strip. bDraw TRUE: draws the icon and caption in rcItem.
  virtual int DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem, CRect rcItem, BOOL bDraw);
  // Fonts (from the icon-title font when m_bUseSystemFont), then the scheme's and the shape set's.
  virtual void RefreshMetrics();
  // Refresh of every manager in m_arrManagers.
  virtual void OnPropertyChanged();
  virtual void DrawFocusRect(CDC* pDC, CXTPTabManagerItem* pItem, CRect rcItem);
  // DrawSingleButton as a strip at nPosition would measure or draw it (for shapes whose tabs keep
  // one direction whatever the position).
  int DrawSingleButtonAs(int nPosition, CDC* pDC, CXTPTabManagerItem* pItem, CRect rcItem, BOOL bDraw);

  // Any flag but 2, 4, 8 and 16 makes the default scheme.
  void SetColorScheme(int nFlag);
  // Takes ownership and deletes the old scheme; NULL is ignored (the refresh still happens).
  void SetColorSchemeObject(CXTPTabColorScheme* pScheme);
  // Styles 0..9; any other number is style 0. Installs the style's preferred colour scheme.
  void SetShapeSet(int nStyle);
  void SetPlainColors(BOOL bPlainColors);
  // Plain colours asked for here or forced by the colour table.
  BOOL IsPlainColors() const;
  // TRUE: tab fills take each item's own colour.
  void SetSchemeOption(BOOL bItemColors);
  BOOL IsItemColors() const { return m_bItemColors; }
  void SetPosition(int nPosition);
  int GetPosition() const { return m_nPosition; }
  void SetLayout(int nLayout);
  int GetLayout() const { return m_nLayout; }
  // A NULL font only stores the flag; otherwise the four fonts are rebuilt from it.
  void SetFontIndirect(const LOGFONT* pLogFont, BOOL bUseSystemFont = FALSE);
  // Scrolls pTabManager so that the item lies inside the header.
  void EnsureVisible(CXTPTabManager* pTabManager, CXTPTabManagerItem* pItem);

  CXTPTabColorScheme* GetColorScheme() const { return m_pColorScheme; }
  CXTPTabShapeSet* GetShapeSet() const { return m_pShapeSet; }
  int GetShapeStyle() const { return m_nShapeStyle; }
  int GetColorSchemeFlag() const { return m_nSchemeFlag; }
  // The caption font of a tab: bold for the selected tab of an active manager when m_bBoldSelected.
  CFont* GetItemFont(CXTPTabManagerItem* pItem, BOOL bVertical);
  CFont* GetFont() { return &m_fntNormal; }

  // The drawing routine that the shape sets' default DrawTabControl calls back.
  void DrawTabControlEx(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl);
  // The single-row and multi-row layouts that the shape sets' default RepositionTabControl calls.
  void RepositionTabControlEx(CXTPTabManager* pTabManager, CDC* pDC, CRect rcClient);
  // The caption with the system's end ellipsis or, with m_bOwnEllipsis, the middle one.
  void DrawCaption(CDC* pDC, const CString& strCaption, CRect rcText, UINT nFormat);

  // A margin rectangle given for a top strip, turned for nPosition.
  static CRect PASCAL RotateMargin(const CRect& rcMargin, int nPosition);
  // The middle ellipsis: the caption's head, "..." and its tail, fitted to nWidth. A caption with a
  // backslash is left whole (it takes the path ellipsis).
  static CString PASCAL MiddleEllipsis(CDC* pDC, const CString& strCaption, int nWidth);

  // ---- options (public, as hosts and applications set them directly) ----
  BOOL m_bHotTracking = FALSE;
  BOOL m_bShowIcons = TRUE;
  BOOL m_bBoldSelected = FALSE;
  BOOL m_bBoldNormal = FALSE;
  int m_nPageFrame = 0;  // 0 filled and framed, 1 a line along the strip, other nothing
  BOOL m_bClientFrame = FALSE;
  CRect m_rcClientMargin;
  CRect m_rcControlMargin;
  CRect m_rcButtonMargin;
  BOOL m_bInvertGradient = FALSE;
  BOOL m_bFillBackground = TRUE;
  CSize m_szImage;
  BOOL m_bOwnEllipsis = FALSE;
  BOOL m_bNoPrefix = TRUE;
  BOOL m_bKeepRowOrder = FALSE;
  BOOL m_bJustifyRows = TRUE;
  BOOL m_bDrawFocusRect = TRUE;
  BOOL m_bSelectOnDragOver = TRUE;
  BOOL m_bUseSystemFont = TRUE;
  int m_nToolTipMode = 2;  // 0 none, 1 always, 2 only for tabs shorter than their content

  CArray<CXTPTabManager*, CXTPTabManager*> m_arrManagers;

 protected:
  // Every item's length and ideal length from its measured content.
  void MeasureItems(CXTPTabManager* pTabManager, CDC* pDC);
  void ShrinkToFit(CXTPTabManager* pTabManager, int nAvailable);
  // Multi-row: the row count and the filled rows; FALSE when fewer rows would not do.
  int CountRows(CXTPTabManager* pTabManager, int nAvailable) const;
  BOOL FillRows(CXTPTabManager* pTabManager, int nRow, int nFirst, int nRemaining, int nAvailable);
  // Multi-row: wraps, balances, orders and places the rows; FALSE when one row will do (the
  // single-row layout follows then).
  BOOL LayoutRows(CXTPTabManager* pTabManager, const CRect& rc, int nAvailable);
  // Greedy wrapping, for when no balanced fill of the counted rows exists.
  void WrapRows(CXTPTabManager* pTabManager, int nAvailable);
  // Spreads the room left in a row over its visible tabs.
  void JustifyRow(CXTPTabManager* pTabManager, const CXTPTabManager::ROW& row, int nAvailable);
  // The near edge, across the strip, of the row that lies nRowsOutside rows from the outer edge.
  int RowStart(const CXTPTabManager* pTabManager, const CRect& rc, int nRowsOutside) const;
  // A tab at nAlong along the strip and nAcross across it, h high.
  void PlaceItem(CXTPTabManagerItem* pItem, int nAlong, int nAcross, int h) const;
  // A rotated tab: h along the strip, its length running away from the page.
  void PlaceRotatedItem(CXTPTabManagerItem* pItem, int nAlong, int h) const;
  // Navigate buttons placed at the end of the header; returns the end that is left.
  CRect PlaceNavigateButtons(CXTPTabManager* pTabManager, CRect rcHeader, CRect rcMargin);
  // The length along the strip of a measured caption (with the icon and the mode's padding).
  int MeasureContent(CDC* pDC, CXTPTabManagerItem* pItem, BOOL bVertical);

  BOOL m_bPlainColors = FALSE;
  BOOL m_bItemColors = FALSE;
  CXTPTabShapeSet* m_pShapeSet = nullptr;
  CXTPTabColorScheme* m_pColorScheme = nullptr;
  int m_nShapeStyle = 0;
  int m_nSchemeFlag = xtpTabColorDefault;
  int m_nPosition = 0;
  int m_nLayout = 0;
  CFont m_fntNormal;
  CFont m_fntBold;
  CFont m_fntVerticalNormal;
  CFont m_fntVerticalBold;
  int m_nColorCounter = 0;

  friend class CXTPTabManager;
};
