// CGridCtrl: a general owner-drawn grid window. It holds rows and columns of cell objects (the first
// rows and columns may be fixed headers that do not scroll), draws and scrolls them, keeps a focus
// cell and a selection, follows the mouse and the keyboard, resizes columns and rows, shows title
// tips over cut-off text, edits cells in place, sorts its rows, can take its cells from a callback
// instead of storing them (virtual mode), exchanges cell text through the clipboard and drag and
// drop, and prints its cells across pages.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <afxole.h>
#include <afxtempl.h>

#include "GridCell.h"
#include "GridDefaultCell.h"
#include "GridDefs.h"
#include "GridDropTarget.h"
#include "GridTitleTip.h"

class CPrintInfo;

#define GRIDCTRL_CLASSNAME _T("MFCGridCtrl")

// Created and used only on the user-interface thread that owns its parent; nothing in it is safe
// to call from another thread. Notifications (WM_NOTIFY with NM_GRIDVIEW, GV_DISPINFO or
// GV_CACHEHINT) are sent to the owner, or to the parent when there is no owner. Setters return
// FALSE and getters 0, -1 or an empty text for a cell outside the grid; nothing is thrown.
class CGridCtrl : public CWnd {
  DECLARE_DYNCREATE(CGridCtrl)

 public:
  CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
  ~CGridCtrl() override;

  // Creates the window (class "MFCGridCtrl") and gives every row and column its default size.
  BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID,
              DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);

  // ---- Counts and sizes ----
  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  int GetFixedRowCount() const { return m_nFixedRows; }
  int GetFixedColumnCount() const { return m_nFixedCols; }
  BOOL SetRowCount(int nRows = 10);
  BOOL SetColumnCount(int nCols = 10);
  BOOL SetFixedRowCount(int nFixedRows = 1);
  BOOL SetFixedColumnCount(int nFixedCols = 1);

  // -1 for an index outside the grid.
  int GetRowHeight(int nRow) const;
  int GetColumnWidth(int nCol) const;
  // A height or width of 0 hides the row or column; a negative one is refused. Neither redraws.
  BOOL SetRowHeight(int nRow, int height);
  BOOL SetColumnWidth(int nCol, int width);
  int GetFixedRowHeight() const;
  int GetFixedColumnWidth() const;
  long GetVirtualWidth() const;
  long GetVirtualHeight() const;

  // Fits a column (row) to its widest (tallest) cell; nAutoSizeStyle GVS_DEFAULT takes the grid's
  // auto-size style. FALSE for a hidden or missing column (row).
  BOOL AutoSizeColumn(int nCol, UINT nAutoSizeStyle = GVS_DEFAULT, BOOL bResetScroll = TRUE);
  BOOL AutoSizeRow(int nRow, BOOL bResetScroll = TRUE);

  // ---- Cells ----
  // The cell object; in virtual mode one shared object refilled by a display request on every call.
  CGridCellBase* GetCell(int nRow, int nCol) const;
  // Puts pCell at (nRow, nCol) without deleting what was there (the sort moves cells this way).
  BOOL SetCell(int nRow, int nCol, CGridCellBase* pCell);
  // The class of the cells new rows and columns get (default CGridCell).
  BOOL SetDefaultCellType(CRuntimeClass* pRuntimeClass);
  // A default cell by kind; the grid keeps four of them.
  CGridDefaultCell* GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const;

  BOOL SetItem(const GridItem* pItem);
  BOOL GetItem(GridItem* pItem);
  BOOL SetItemText(int nRow, int nCol, LPCTSTR str);
  CString GetItemText(int nRow, int nCol) const;
  BOOL SetItemData(int nRow, int nCol, LPARAM lParam);
  LPARAM GetItemData(int nRow, int nCol) const;
  BOOL SetItemImage(int nRow, int nCol, int iImage);
  int GetItemImage(int nRow, int nCol) const;
  // Keeps the selected-cell map in step (also in virtual mode, where the cell itself cannot change).
  BOOL SetItemState(int nRow, int nCol, UINT state);
  UINT GetItemState(int nRow, int nCol) const;
  BOOL SetItemFormat(int nRow, int nCol, UINT nFormat);
  UINT GetItemFormat(int nRow, int nCol) const;
  // CLR_DEFAULT: the colour of the cell's default cell.
  BOOL SetItemBkColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
  COLORREF GetItemBkColour(int nRow, int nCol) const;
  BOOL SetItemFgColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
  COLORREF GetItemFgColour(int nRow, int nCol) const;
  BOOL SetItemFont(int nRow, int nCol, const LOGFONT* lf);
  const LOGFONT* GetItemFont(int nRow, int nCol);
  BOOL SetItemMargin(int nRow, int nCol, UINT nMargin);
  UINT GetItemMargin(int nRow, int nCol) const;

  BOOL IsCellEditable(int nRow, int nCol) const;
  BOOL IsCellEditable(const CGridCellId& cell) const { return IsCellEditable(cell.row, cell.col); }
  BOOL IsCellSelected(int nRow, int nCol) const;
  BOOL IsCellSelected(const CGridCellId& cell) const { return IsCellSelected(cell.row, cell.col); }
  BOOL IsCellFixed(int nRow, int nCol) const { return nRow < m_nFixedRows || nCol < m_nFixedCols; }
  BOOL IsValid(int nRow, int nCol) const {
    return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols;
  }
  BOOL IsValid(const CGridCellId& cell) const { return IsValid(cell.row, cell.col); }
  BOOL IsValid(const CGridCellRange& range) const;

  BOOL DeleteAllItems();

  // ---- Geometry ----
  // The cell under a client point; with bAllowFixedCellCheck FALSE fixed cells count as none.
  CGridCellId GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE);
  // Client coordinates; FALSE for a cell outside the grid or scrolled out of view.
  BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p);
  BOOL GetCellOrigin(const CGridCellId& cell, LPPOINT p) { return GetCellOrigin(cell.row, cell.col, p); }
  // Right and bottom are the cell's last pixels (its grid lines).
  BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
  BOOL GetCellRect(const CGridCellId& cell, LPRECT pRect) { return GetCellRect(cell.row, cell.col, pRect); }
  BOOL GetTextRect(int nRow, int nCol, LPRECT pRect);
  BOOL IsCellVisible(int nRow, int nCol);
  BOOL IsCellVisible(const CGridCellId& cell) { return IsCellVisible(cell.row, cell.col); }
  // The first non-fixed cell showing (cached until the scroll position or the layout changes).
  CGridCellId GetTopleftNonFixedCell(BOOL bForceRecalculation = FALSE);
  // The non-fixed cells showing, the last row and column possibly in part; pRect receives the
  // area they and the fixed cells cover.
  CGridCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr, BOOL bForceRecalculation = FALSE);
  // Scrolls until the cell shows.
  void EnsureVisible(int nRow, int nCol);
  void EnsureVisible(const CGridCellId& cell) { EnsureVisible(cell.row, cell.col); }

  // ---- Drawing ----
  BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr);
  BOOL RedrawCell(const CGridCellId& cell, CDC* pDC = nullptr) { return RedrawCell(cell.row, cell.col, pDC); }
  BOOL InvalidateCellRect(int nRow, int nCol);
  BOOL InvalidateCellRect(const CGridCellId& cell) { return InvalidateCellRect(cell.row, cell.col); }
  void Refresh();
  // With bAllowDraw FALSE nothing is drawn and the scroll bars are left as they are.
  void SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars = FALSE);
  // Draws the cells in pDC's clip box: backgrounds, cells, grid lines.
  virtual void OnDraw(CDC* pDC);
  void ResetScrollBars();

  // ---- Focus and selection ----
  CGridCellId GetFocusCell() const { return m_idCurrentCell; }
  // A row or column inside the fixed ones moves to the first non-fixed one; (-1,-1) clears.
  void SetFocusCell(int nRow, int nCol);
  void SetFocusCell(const CGridCellId& cell) { SetFocusCell(cell.row, cell.col); }
  void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint = FALSE,
                        BOOL bSelectCells = TRUE);
  void SetSelectedRange(const CGridCellRange& range, BOOL bForceRepaint = FALSE, BOOL bSelectCells = TRUE) {
    SetSelectedRange(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol(),
                     bForceRepaint, bSelectCells);
  }
  // Deselects everything and clears the focus cell.
  void ResetSelectedRange();
  // The smallest range holding every selected cell; invalid when nothing is selected.
  CGridCellRange GetSelectedCellRange() const;
  int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.GetCount()); }
  void SelectAllCells();
  void SelectColumns(CGridCellId currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
  void SelectRows(CGridCellId currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
  void SelectCells(CGridCellId currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);

  // ---- Editing ----
  // Opens the cell's editor unless the cell cannot be edited or the owner vetoes it.
  virtual void OnEditCell(int nRow, int nCol, CPoint point, UINT nChar);
  // Takes the edited text unless validation or the owner refuses it.
  virtual void OnEndEditCell(int nRow, int nCol, CString str);
  virtual BOOL ValidateEdit(int nRow, int nCol, LPCTSTR str);
  // Closes the focus cell's editor.
  virtual void EndEditing();
  // Sets a cell's text as an edit would (begin and end notifications, validation); FALSE when the
  // cell cannot be edited or the owner or the validation refuses, leaving the old text.
  BOOL EditTextWithNotifications(int nRow, int nCol, LPCTSTR str);
  // Empties the text of every selected cell through EditTextWithNotifications (the Delete key);
  // nothing unless the grid is editable.
  virtual void CutSelectedText();

  // ---- Clipboard, drag and drop ----
  // The selected cells as tab-separated text (Unicode and ANSI) in a new data source the caller
  // owns; NULL when nothing is selected or memory runs out. Cells of the bounding range that are
  // not selected stay empty; hidden rows and columns are left out.
  virtual COleDataSource* CopyTextFromGrid();
  // Pastes the text the data object offers with its top-left at cell, cell by cell through
  // EditTextWithNotifications; text past the grid's edges is dropped. FALSE when cell cannot be
  // edited or no text is offered.
  virtual BOOL PasteTextToGrid(CGridCellId cell, COleDataObject* pDataObject, BOOL bSelectPastedCells = TRUE);
  virtual void OnEditCut();
  virtual void OnEditCopy();
  virtual void OnEditPaste();
  // Drags the selected text out (from the mouse, once a press on a selection moves).
  virtual void OnBeginDrag();
  virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual void OnDragLeave();
  virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  // An image list holding a picture of the focus cell; pHotSpot receives the cell's size. The
  // caller deletes the list. NULL when there is no focus cell to draw.
  virtual CImageList* CreateDragImage(CPoint* pHotSpot);

  // ---- Printing (for a host that offers it; the framework's print protocol) ----
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
  // In characters or lines of the printer font; a negative value keeps the current one.
  void SetPrintMarginInfo(int nHeaderHeight, int nFooterHeight, int nLeftMargin, int nRightMargin,
                          int nTopMargin, int nBottomMargin, int nGap);
  // Pages laid out at the screen's scale (columns may then take several pages) instead of the
  // grid's width fitted to the paper.
  void SetWysiwygPrinting(BOOL bEnable = TRUE) { m_bWysiwygPrinting = bEnable; }
  BOOL GetWysiwygPrinting() const { return m_bWysiwygPrinting; }

  // ---- Sorting ----
  // Sorts the non-fixed rows by one column's text (or the compare function when one is set).
  BOOL SortItems(int nCol, BOOL bAscending, LPARAM data = 0);
  BOOL SortItems(PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data = 0);
  void SetCompareFunction(PFNGRIDCOMPARE pfnCompare) { m_pfnCompare = pfnCompare; }
  // The default comparison: code-point order of the two texts (case-sensitive, no locale).
  static int CALLBACK pfnCellTextCompare(const CGridCellBase* pCell1, const CGridCellBase* pCell2,
                                         LPARAM lParamSort);
  void SetSortColumn(int nCol);
  int GetSortColumn() const { return m_nSortColumn; }
  void SetSortAscending(BOOL bAscending) { m_bAscending = bAscending; }
  BOOL GetSortAscending() const { return m_bAscending; }

  // ---- Virtual mode ----
  // Switching empties the grid.
  void SetVirtualMode(BOOL bVirtual);
  BOOL GetVirtualMode() const { return m_bVirtualMode; }
  // With a callback the display requests go to it instead of to the owner.
  void SetCallbackFunc(GRIDCALLBACK pCallback, LPARAM lParam) {
    m_pfnCallback = pCallback;
    m_lParam = lParam;
  }
  GRIDCALLBACK GetCallbackFunc() const { return m_pfnCallback; }

  // ---- Modified flag ----
  // A cell in the sort column, or the whole grid (nRow or nCol -1), clears the sort column.
  void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
  BOOL GetModified(int nRow = -1, int nCol = -1) const;

  // ---- Options ----
  void SetImageList(CImageList* pList) { m_pImageList = pList; }
  CImageList* GetImageList() const { return m_pImageList; }
  void SetGridLines(int nWhichLines = GVL_BOTH) { m_nGridLines = nWhichLines; }
  int GetGridLines() const { return m_nGridLines; }
  void SetEditable(BOOL bEditable = TRUE) { m_bEditable = bEditable; }
  BOOL IsEditable() const { return m_bEditable; }
  void SetListMode(BOOL bEnableListMode = TRUE) { m_bListMode = bEnableListMode; }
  BOOL GetListMode() const { return m_bListMode; }
  void SetSingleRowSelection(BOOL bSing = TRUE) { m_bSingleRowSelection = bSing; }
  BOOL GetSingleRowSelection() const { return m_bSingleRowSelection; }
  void SetSingleColSelection(BOOL bSing = TRUE) { m_bSingleColSelection = bSing; }
  BOOL GetSingleColSelection() const { return m_bSingleColSelection; }
  void EnableSelection(BOOL bEnable = TRUE) { m_bEnableSelection = bEnable; }
  BOOL IsSelectable() const { return m_bEnableSelection; }
  void SetFixedColumnSelection(BOOL bSelect) { m_bFixedColumnSelection = bSelect; }
  BOOL GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
  void SetFixedRowSelection(BOOL bSelect) { m_bFixedRowSelection = bSelect; }
  BOOL GetFixedRowSelection() const { return m_bFixedRowSelection; }
  void EnableDragAndDrop(BOOL bAllow = TRUE) { m_bAllowDragAndDrop = bAllow; }
  BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
  // A click on a header cell sorts by its column.
  void SetHeaderSort(BOOL bSortOnClick = TRUE) { m_bSortOnClick = bSortOnClick; }
  BOOL GetHeaderSort() const { return m_bSortOnClick; }
  void SetHandleTabKey(BOOL bHandleTab = TRUE) { m_bHandleTabKey = bHandleTab; }
  BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
  void SetDoubleBuffering(BOOL bBuffer = TRUE) { m_bDoubleBuffer = bBuffer; }
  BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
  void EnableTitleTips(BOOL bEnable = TRUE) { m_bTitleTips = bEnable; }
  BOOL GetTitleTips() const { return m_bTitleTips; }
  void SetTrackFocusCell(BOOL bTrack) { m_bTrackFocusCell = bTrack; }
  BOOL GetTrackFocusCell() const { return m_bTrackFocusCell; }
  void SetFrameFocusCell(BOOL bFrame) { m_bFrameFocus = bFrame; }
  BOOL GetFrameFocusCell() const { return m_bFrameFocus; }
  void SetRowResize(BOOL bResize = TRUE) { m_bAllowRowResize = bResize; }
  BOOL GetRowResize() const { return m_bAllowRowResize; }
  void SetColumnResize(BOOL bResize = TRUE) { m_bAllowColumnResize = bResize; }
  BOOL GetColumnResize() const { return m_bAllowColumnResize; }
  void EnableHiddenColUnhide(BOOL bEnable = TRUE) { m_bHiddenColUnhide = bEnable; }
  BOOL GetHiddenColUnhide() const { return m_bHiddenColUnhide; }
  void EnableHiddenRowUnhide(BOOL bEnable = TRUE) { m_bHiddenRowUnhide = bEnable; }
  BOOL GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
  void EnableColumnHide(BOOL bEnable = TRUE) { m_bAllowColHide = bEnable; }
  BOOL GetColumnHide() const { return m_bAllowColHide; }
  void EnableRowHide(BOOL bEnable = TRUE) { m_bAllowRowHide = bEnable; }
  BOOL GetRowHide() const { return m_bAllowRowHide; }
  void SetAutoSizeStyle(UINT nStyle = GVS_BOTH) { m_nAutoSizeColumnStyle = nStyle; }
  UINT GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
  void SetAutoSizeSkipColHdr(BOOL bSkip) { m_bAutoSizeSkipColHdr = bSkip; }
  BOOL GetAutoSizeSkipColHdr() const { return m_bAutoSizeSkipColHdr; }

  // Printing in the cells' colours, or black on white.
  void SetShadedPrintOut(BOOL bEnable = TRUE) { m_bShadedPrintOut = bEnable; }
  BOOL GetShadedPrintOut() const { return m_bShadedPrintOut; }

  void SetGridBkColour(COLORREF clr) { m_crGridBkColour = clr; }
  COLORREF GetGridBkColour() const { return m_crGridBkColour; }
  void SetGridLineColour(COLORREF clr) { m_crGridLineColour = clr; }
  COLORREF GetGridLineColour() const { return m_crGridLineColour; }
  void SetTitleTipBackColour(COLORREF clr = CLR_DEFAULT) { m_crTTipBackClr = clr; }
  COLORREF GetTitleTipBackColour() const { return m_crTTipBackClr; }
  void SetTitleTipTextColour(COLORREF clr = CLR_DEFAULT) { m_crTTipTextClr = clr; }
  COLORREF GetTitleTipTextColour() const { return m_crTTipTextClr; }

  // The title tip, for those who look at what it shows.
  CGridTitleTip& GetTitleTip() { return m_TitleTip; }
  // Lines per wheel notch: -1 scrolls a page.
  int GetRowsPerWheelNotch() const { return m_nRowsPerWheelNotch; }
  // The system's wheel setting: SPI_GETWHEELSCROLLLINES, or on Windows 95 (pVersion) or with no
  // version (NULL) the "WheelScrollLines" text under HKEY_CURRENT_USER lpszDesktopKey; 3 when
  // neither says.
  static int GetMouseScrollLines(const OSVERSIONINFO* pVersion,
                                 LPCTSTR lpszDesktopKey = _T("Control Panel\\Desktop"));

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  enum eMouseModes {
    MOUSE_NOTHING = 0,
    MOUSE_SELECT_ALL = 1,
    MOUSE_SELECT_COL = 2,
    MOUSE_SELECT_ROW = 3,
    MOUSE_SELECT_CELLS = 4,
    MOUSE_SCROLLING_CELLS = 5,
    MOUSE_OVER_ROW_DIVIDE = 6,
    MOUSE_SIZING_ROW = 7,
    MOUSE_OVER_COL_DIVIDE = 8,
    MOUSE_SIZING_COL = 9,
    MOUSE_PREPARE_EDIT = 10,
    MOUSE_PREPARE_DRAG = 11,
    MOUSE_DRAGGING = 12
  };
  typedef CArray<CGridCellBase*, CGridCellBase*> GRID_ROW;
  // The selected-cell maps: row and column kept whole in the key (no clash past 65,535 rows).
  typedef CMap<ULONGLONG, ULONGLONG, CGridCellId, const CGridCellId&> CGridCellMap;
  static ULONGLONG SelectionKey(int nRow, int nCol) {
    return (static_cast<ULONGLONG>(static_cast<UINT>(nCol)) << 32) | static_cast<UINT>(nRow);
  }

  void PreSubclassWindow() override;

  // Cells are made by the default cell class and destroyed here; overrides may make others.
  virtual CGridCellBase* CreateCell(int nRow, int nCol);
  virtual void DestroyCell(int nRow, int nCol);

  // A click on a header cell (sorts, then selects its column) or on a fixed-column cell.
  virtual void OnFixedRowClick(CGridCellId& cell);
  virtual void OnFixedColumnClick(CGridCellId& cell);

  // The cell a setter may change: NULL outside the grid and in virtual mode, where cells are not kept.
  CGridCellBase* GetCellToSet(int nRow, int nCol) const;
  LRESULT SendMessageToParent(int nRow, int nCol, int nMessage) const;
  LRESULT SendDisplayRequestToParent(GV_DISPINFO* pDisplayInfo) const;
  LRESULT SendCacheHintToParent(const CGridCellRange& range) const;

  BOOL IsVisibleVScroll() const { return (m_nBarState & GVL_VERT) != 0; }
  BOOL IsVisibleHScroll() const { return (m_nBarState & GVL_HORZ) != 0; }
  void EnableScrollBars(int nBar, BOOL bEnable = TRUE);
  int GetScrollPos32(int nBar, BOOL bGetTrackPos = FALSE);
  BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);
  // A scroll request (SB_ code) on one bar.
  void ScrollBy(int nBar, UINT nSBCode);

  void EraseBkgnd(CDC* pDC);
  BOOL MouseOverRowResizeArea(CPoint point);
  BOOL MouseOverColumnResizeArea(CPoint point);
  CPoint GetPointClicked(int nRow, int nCol, const CPoint& point);
  // Selects by the mouse mode as the mouse or the keyboard reaches currentCell.
  void OnSelecting(const CGridCellId& currentCell);
  BOOL SortItems(PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high);
  void EndDividerTracking();
  virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
  virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnImeChar(WPARAM wCharCode, LPARAM lParam);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysColorChange();
  afx_msg LRESULT OnSetFont(WPARAM hFont, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM hFont, LPARAM lParam);
  afx_msg void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnDestroy();
  afx_msg void OnEditSelectAll();
  afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 protected:
  COLORREF m_crFixedTextColour;  // never read: the fixed default cells hold the fixed colours
  COLORREF m_crFixedBkColour;    // never read
  COLORREF m_crGridBkColour;
  COLORREF m_crGridLineColour;
  // System colours remembered so a system-colour change replaces only colours nobody set.
  COLORREF m_crWindowText;
  COLORREF m_crWindowColour;
  COLORREF m_cr3DFace;
  COLORREF m_crShadow;
  COLORREF m_crTTipBackClr;
  COLORREF m_crTTipTextClr;

  BOOL m_bVirtualMode;
  LPARAM m_lParam;
  GRIDCALLBACK m_pfnCallback;

  int m_nGridLines;
  BOOL m_bEditable;
  BOOL m_bModified;
  BOOL m_bAllowDragAndDrop;
  BOOL m_bListMode;
  BOOL m_bSingleRowSelection;
  BOOL m_bSingleColSelection;
  BOOL m_bAllowDraw;
  BOOL m_bEnableSelection;
  BOOL m_bFixedRowSelection;
  BOOL m_bFixedColumnSelection;
  BOOL m_bSortOnClick;
  BOOL m_bHandleTabKey;
  BOOL m_bDoubleBuffer;
  BOOL m_bTitleTips;
  int m_nBarState;
  BOOL m_bWysiwygPrinting;
  BOOL m_bHiddenColUnhide;
  BOOL m_bHiddenRowUnhide;
  BOOL m_bAllowColHide;
  BOOL m_bAllowRowHide;
  BOOL m_bAutoSizeSkipColHdr;
  BOOL m_bTrackFocusCell;
  BOOL m_bFrameFocus;
  UINT m_nAutoSizeColumnStyle;

  int m_nRows;
  int m_nFixedRows;
  int m_nCols;
  int m_nFixedCols;
  CArray<UINT, UINT> m_arRowHeights;
  CArray<UINT, UINT> m_arColWidths;
  int m_nVScrollMax;
  int m_nHScrollMax;

  CRuntimeClass* m_pRtcDefault;
  CGridDefaultCell m_cellDefault;
  CGridDefaultCell m_cellFixedColDef;
  CGridDefaultCell m_cellFixedRowDef;
  CGridDefaultCell m_cellFixedRowColDef;
  CFont m_PrinterFont;
  CImageList* m_pImageList;
  CArray<GRID_ROW*, GRID_ROW*> m_RowData;

  int m_MouseMode;
  BOOL m_bLMouseButtonDown;
  BOOL m_bRMouseButtonDown;
  CPoint m_LeftClickDownPoint;
  CPoint m_LastMousePoint;
  CGridCellId m_LeftClickDownCell;
  CGridCellId m_SelectionStartCell;
  CGridCellId m_idCurrentCell;
  CGridCellId m_idTopLeftCell;
  UINT_PTR m_nTimerID;
  int m_nTimerInterval;
  int m_nResizeCaptureRange;
  BOOL m_bAllowRowResize;
  BOOL m_bAllowColumnResize;
  int m_nRowsPerWheelNotch;
  CGridCellMap m_SelectedCellMap;
  CGridCellMap m_PrevSelectedCellMap;
  CGridTitleTip m_TitleTip;
  CGridCellId m_LastDragOverCell;
  CGridDropTarget m_DropTarget;
  // Printing state, in the grid's units (logical page pixels) unless said otherwise.
  CSize m_CharSize;  // average width and height of the printer font
  int m_nPageHeight;
  CSize m_LogicalPageSize;
  CSize m_PaperSize;  // printer pixels
  int m_nPageWidth;
  int m_nPrintColumn;
  int m_nCurrPrintRow;
  int m_nNumPages;
  int m_nPageMultiplier;  // column pages per row page

  BOOL m_bAscending;
  int m_nSortColumn;
  PFNGRIDCOMPARE m_pfnCompare;
  BOOL m_bShadedPrintOut;
  int m_nHeaderHeight;
  int m_nFooterHeight;
  int m_nLeftMargin;
  int m_nRightMargin;
  int m_nTopMargin;
  int m_nBottomMargin;
  int m_nGap;

 private:
  static void RegisterWindowClass();
  BOOL m_bCreating;  // inside Create: the subclassing step is not the subclassed-window set-up
};
