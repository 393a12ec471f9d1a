// The model of a tab strip: the ordered items, the selected and the hot item, scrolling, navigate
// buttons, hit testing, keys and the mouse loops. A window class mixes it in beside CWnd (the tab
// window) and supplies the pure operations; measuring, layout and drawing belong to the painter
// that the host returns from GetPaintManager.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include <vector>

#include "TabManagerItem.h"
#include "TabScrollButton.h"

class CXTPTabPainter;

// Where the strip lies.
enum XTPTabPosition {
  xtpTabPositionTop = 0,
  xtpTabPositionLeft = 1,
  xtpTabPositionBottom = 2,
  xtpTabPositionRight = 3,
};

// How the tabs are measured and placed.
enum XTPTabLayoutStyle {
  xtpTabLayoutAutoSize = 0,    // each tab as long as its content
  xtpTabLayoutSizeToFit = 1,   // the longest tabs shrink until all fit
  xtpTabLayoutFixed = 2,       // every tab the normal size
  xtpTabLayoutCompressed = 3,  // only the selected tab shows its caption
  xtpTabLayoutMultiRow = 4,    // tabs wrap onto several rows
  xtpTabLayoutRotated = 5,     // a tab's length runs across the strip
};

// The host constructs and destroys it; items live while the manager holds a reference.
// User-interface thread only. Every change of items, captions, visibility, position or selection
// ends in Reposition: nothing is laid out lazily.
class CXTPTabManager {
 public:
  // One row of a multi-row strip: the indexes of its first and last items.
  struct ROW {
    int nFirst;
    int nLast;
  };

  CXTPTabManager();
  virtual void Refresh();
  virtual ~CXTPTabManager();
  CXTPTabManager(const CXTPTabManager&) = delete;
  CXTPTabManager& operator=(const CXTPTabManager&) = delete;

  // Lays out through the painter, places the page and redraws.
  virtual void Reposition() = 0;
  virtual CString GetItemCaption(const CXTPTabManagerItem* pItem) const;
  virtual DWORD_PTR GetItemData(const CXTPTabManagerItem* pItem) const;
  // The automatic colours (0x01000000 + 0..7) as RGB; any other value unchanged.
  virtual COLORREF GetItemColor(const CXTPTabManagerItem* pItem) const;
  virtual CString GetItemTooltip(const CXTPTabManagerItem* pItem) const;
  // Renumbers the items, then Reposition.
  virtual void OnItemsChanged();
  // When different: store, Reposition, EnsureVisible.
  virtual void SetSelectedItem(CXTPTabManagerItem* pItem);
  // The keys' choice: OnItemClick when there is one.
  virtual void OnNavigateItem(CXTPTabManagerItem* pItem);
  // Any pointer may be NULL.
  virtual void GetItemMetrics(CSize* pszNormal, CSize* pszMin, CSize* pszMax) const;
  virtual CXTPTabPainter* GetPaintManager() const = 0;
  virtual void SetPaintManager(CXTPTabPainter* pPaintManager);
  virtual void RedrawControl() = 0;
  virtual BOOL IsAllowReorder() const;
  virtual void SetAllowReorder(BOOL bAllowReorder);
  virtual BOOL IsDrawClientFrame() const;
  // With pItem NULL: whether icons are shown at all. Otherwise whether the item has an icon (bDraw
  // FALSE) or draws it at pt in szIcon.
  virtual BOOL DrawItemIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) = 0;
  virtual int GetPosition() const;
  virtual void OnScroll(bool bForward);
  virtual BOOL IsNavigateButtonVisible(CXTPTabScrollButton* pButton);
  virtual void OnItemClick(CXTPTabManagerItem* pItem);
  // The reorder loop: the dragged item swaps places with the tab under the mouse.
  virtual void ReorderDrag(HWND hWnd, CPoint point, CXTPTabManagerItem* pItem);
  virtual void OnNavigateButton(int nKind);
  virtual BOOL IsMouseTrackingSuspended() const;
  // Home, End and the arrows; TRUE for those six keys.
  virtual BOOL OnKeyDown(HWND hWnd, UINT nChar);
  // Whether the painter draws the focus rectangle on the selected tab.
  virtual BOOL HasFocus() const;

  // A NULL pItem makes a new item. Negative or too large indexes append. The manager keeps the
  // reference the caller hands over.
  CXTPTabManagerItem* InsertItem(int nItem, CXTPTabManagerItem* pItem = nullptr);
  // FALSE when out of range. A selected item passes the selection to its follower (or the new last
  // item); neither the selected nor the hot pointer is left on the removed item.
  BOOL DeleteItem(int nItem);
  // Clamped to 0..count-1; no items: no selection.
  void SetCurSel(int nIndex);
  int GetCurSel() const;
  int GetItemCount() const { return static_cast<int>(m_arrItems.GetSize()); }
  // NULL outside 0..count-1.
  CXTPTabManagerItem* GetItem(int nIndex) const;
  CXTPTabManagerItem* GetSelectedItem() const { return m_pSelected; }
  CXTPTabManagerItem* GetHighlightedItem() const { return m_pHighlighted; }
  // The next item from nIndex in steps of nStep that is visible and enabled; NULL past the ends.
  CXTPTabManagerItem* FindNextItem(int nIndex, int nStep) const;

  // Kept <= 0; Reposition on a change.
  void SetScrollOffset(int nScrollOffset);
  int GetScrollOffset() const { return m_nScrollDelta; }
  void EnsureVisible(CXTPTabManagerItem* pItem);
  // Writes the painter's position directly and re-lays out.
  void SetPosition(int nPosition);
  int GetLayout() const;
  // Layout 5: count x button height; otherwise the sum of the items' lengths.
  int GetItemsLength() const;
  // The three sizes of GetItemMetrics (0 for min or max: no clamp); re-lays out.
  void SetItemMetrics(CSize szNormal, CSize szMin = CSize(0, 0), CSize szMax = CSize(0, 0));

  // While inactive, enabled tabs take the inactive text colour and captions are never bold.
  void SetActive(BOOL bActive);
  BOOL IsActive() const { return m_bActive; }

  // The enabled, visible item under the point (inside the control and the header), or NULL.
  CXTPTabManagerItem* HitTest(CPoint point) const;
  // A press at the point: a navigate button's loop, else (unless bButtonsOnly) reordering or a
  // click on the tab. TRUE when something took it.
  BOOL PerformClick(HWND hWnd, CPoint point, BOOL bButtonsOnly = FALSE);
  // Hot tracking; (-1, -1) on mouse leave.
  void TrackMouse(HWND hWnd, CPoint point);
  // The tab's tip for a window's tool hit test; the item's index, or -1.
  INT_PTR FillToolTip(CWnd* pWnd, CPoint point, TOOLINFO* pToolInfo);

  CXTPTabScrollButton* GetNavigateButton(int nKind) const;
  int GetNavigateButtonCount() const { return static_cast<int>(m_arrNavigateButtons.GetSize()); }
  CRect GetHeaderRect() const { return m_rcHeaderRect; }
  CRect GetControlRect() const { return m_rcControl; }
  // The page area the last layout left (named apart from the window's own GetClientRect).
  CRect GetClientArea() const { return m_rcClient; }
  int GetRowCount() const { return static_cast<int>(m_arrRows.size()); }
  ROW GetRow(int nRow) const { return m_arrRows[nRow]; }
  int GetScrollStep() const { return m_nScrollStep; }

 protected:
  // The row table with nRows rows; reallocated only when the count changes.
  void SetRowCount(int nRows);
  BOOL IsVerticalPosition() const;

  CXTPTabManagerItem* m_pSelected = nullptr;
  CXTPTabManagerItem* m_pHighlighted = nullptr;
  int m_nScrollDelta = 0;
  BOOL m_bAllowReorder = TRUE;
  BOOL m_bActive = TRUE;
  CSize m_szNormal;
  CSize m_szMin;
  CSize m_szMax;
  CRect m_rcHeaderRect;
  CRect m_rcControl;
  CRect m_rcClient;
  CArray<CXTPTabManagerItem*, CXTPTabManagerItem*> m_arrItems;
  CArray<CXTPTabScrollButton*, CXTPTabScrollButton*> m_arrNavigateButtons;
  std::vector<ROW> m_arrRows;
  int m_nScrollStep = 20;

  friend class CXTPTabPainter;
  friend class CXTPTabShapeSet;
};
