// The grid control's small value types and numbers: cell ids and ranges, the item record that sets
// or describes a cell, the records of the notifications the grid sends its owner, and the mask,
// state, grid-line and auto-size constants shared by the grid and its cells.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

// Mask bits of GridItem: which fields a SetItem call applies or a display request fills.
#define GVIF_TEXT 0x0001
#define GVIF_IMAGE 0x0002
#define GVIF_PARAM 0x0004
#define GVIF_STATE 0x0008
#define GVIF_BKCLR 0x0010
#define GVIF_FGCLR 0x0020
#define GVIF_FORMAT 0x0040
#define GVIF_FONT 0x0080
#define GVIF_MARGIN 0x0100

// Cell state bits.
#define GVIS_FOCUSED 0x0001
#define GVIS_SELECTED 0x0002
#define GVIS_DROPHILITED 0x0004
#define GVIS_READONLY 0x0008
#define GVIS_FIXED 0x0010
#define GVIS_FIXEDROW 0x0020
#define GVIS_FIXEDCOL 0x0040
#define GVIS_MODIFIED 0x0080

// Grid lines; also the bits of the scroll-bar state (1 horizontal bar shown, 2 vertical).
#define GVL_NONE 0
#define GVL_HORZ 1
#define GVL_VERT 2
#define GVL_BOTH 3

// Which rows an auto-size measures: the fixed ones, the others, or both.
#define GVS_DEFAULT 0
#define GVS_HEADER 1
#define GVS_DATA 2
#define GVS_BOTH 3

// Notification codes: the platform's list-view values, so owners can reuse their handlers.
#define GVN_SELCHANGING LVN_ITEMCHANGING
#define GVN_SELCHANGED LVN_ITEMCHANGED
#define GVN_BEGINDRAG LVN_BEGINDRAG
#define GVN_ODCACHEHINT LVN_ODCACHEHINT
#define GVN_BEGINLABELEDIT LVN_BEGINLABELEDITW
#define GVN_ENDLABELEDIT LVN_ENDLABELEDITW
#define GVN_GETDISPINFO LVN_GETDISPINFOW

// The control id of the in-place editor, a child of the grid.
#define IDC_INPLACE_CONTROL 8

// One cell's place; (-1,-1) is no cell. Whether it lies inside a grid is the grid's question
// (CGridCtrl::IsValid); here "valid" only means both coordinates are set.
class CGridCellId {
 public:
  int row;
  int col;

  explicit CGridCellId(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

  BOOL IsValid() const { return row >= 0 && col >= 0; }
  bool operator==(const CGridCellId& rhs) const { return row == rhs.row && col == rhs.col; }
  bool operator!=(const CGridCellId& rhs) const { return !(*this == rhs); }
};

// A rectangle of cells, both ends included.
class CGridCellRange {
 public:
  explicit CGridCellRange(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1)
      : m_nMinRow(nMinRow), m_nMinCol(nMinCol), m_nMaxRow(nMaxRow), m_nMaxCol(nMaxCol) {}

  void Set(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1) {
    m_nMinRow = nMinRow;
    m_nMinCol = nMinCol;
    m_nMaxRow = nMaxRow;
    m_nMaxCol = nMaxCol;
  }
  // All four set and each maximum at or past its minimum (the grid adds the bounds of its counts).
  BOOL IsValid() const {
    return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 && m_nMinRow <= m_nMaxRow &&
           m_nMinCol <= m_nMaxCol;
  }
  BOOL InRange(int row, int col) const {
    return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
  }
  BOOL InRange(const CGridCellId& cell) const { return InRange(cell.row, cell.col); }
  CGridCellId GetTopLeft() const { return CGridCellId(m_nMinRow, m_nMinCol); }

  int GetMinRow() const { return m_nMinRow; }
  int GetMinCol() const { return m_nMinCol; }
  int GetMaxRow() const { return m_nMaxRow; }
  int GetMaxCol() const { return m_nMaxCol; }
  void SetMinRow(int n) { m_nMinRow = n; }
  void SetMinCol(int n) { m_nMinCol = n; }
  void SetMaxRow(int n) { m_nMaxRow = n; }
  void SetMaxCol(int n) { m_nMaxCol = n; }
  int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
  int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }

  bool operator==(const CGridCellRange& rhs) const {
    return m_nMinRow == rhs.m_nMinRow && m_nMinCol == rhs.m_nMinCol && m_nMaxRow == rhs.m_nMaxRow &&
           m_nMaxCol == rhs.m_nMaxCol;
  }
  bool operator!=(const CGridCellRange& rhs) const { return !(*this == rhs); }

 private:
  int m_nMinRow;
  int m_nMinCol;
  int m_nMaxRow;
  int m_nMaxCol;
};

// What CGridCtrl::SetItem applies to one cell (the fields named by mask), and what a display
// request asks the owner or callback to fill in virtual mode.
struct GridItem {
  int row = 0;
  int col = 0;
  UINT mask = 0;
  UINT nState = 0;
  UINT nFormat = 0;  // DrawText flags
  int iImage = -1;   // index into the grid's image list; -1 none
  COLORREF crBkClr = CLR_DEFAULT;
  COLORREF crFgClr = CLR_DEFAULT;
  LPARAM lParam = 0;  // the cell's item data
  LOGFONT lfFont = {};
  UINT nMargin = 0;  // pixels
  CString strText;
};

// The record of NM_CLICK, NM_DBLCLK, NM_RCLICK and the selection, drag and edit notifications.
struct NM_GRIDVIEW {
  NMHDR hdr;
  int iRow;
  int iColumn;
};

// The record of a display request (GVN_GETDISPINFO) and of the in-place editor's end notification.
struct GV_DISPINFO {
  NMHDR hdr;
  GridItem item;
};

// The record of GVN_ODCACHEHINT: the cells about to be drawn, measured or copied, or (-1,-1,-1,-1)
// once that is done.
struct GV_CACHEHINT {
  NMHDR hdr;
  CGridCellRange range;
};

// The virtual-mode display callback: fills pDispInfo->item for the cell it names. lParam is the
// value given with the callback.
typedef BOOL(CALLBACK* GRIDCALLBACK)(GV_DISPINFO* pDispInfo, LPARAM lParam);

class CGridCellBase;
// A row comparison for sorting: negative, 0 or positive like a string comparison. Either cell may
// be null.
typedef int(CALLBACK* PFNGRIDCOMPARE)(const CGridCellBase* pCell1, const CGridCellBase* pCell2,
                                      LPARAM lParamSort);
