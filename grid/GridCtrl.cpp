// CGridCtrl: the model half of the grid: construction and creation, row and column counts and
// sizes, the cells and their setters and getters, the notifications, and the message map.
#include "GridCtrl.h"

#include <afxole.h>

#include <cstring>
#include <new>

IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_CAPTURECHANGED()
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_MESSAGE(WM_IME_CHAR, OnImeChar)
ON_WM_SYSKEYDOWN()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_NOTIFY(GVN_ENDLABELEDIT, IDC_INPLACE_CONTROL, OnEndInPlaceEdit)
ON_WM_DESTROY()
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
END_MESSAGE_MAP()

namespace {

// Growing rows or columns may run out of memory in the framework's arrays (CMemoryException*) or
// in new (std::bad_alloc); either ends the growth where it stands.
template <typename Fn>
BOOL CatchOutOfMemory(Fn fn) {
  try {
    fn();
  } catch (CMemoryException* e) {
    e->Delete();
    return FALSE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  return TRUE;
}

}  // namespace

// ---- Construction and creation ---------------------------------------------------------------

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : m_crFixedTextColour(CLR_DEFAULT),
      m_crFixedBkColour(CLR_DEFAULT),
      m_crGridBkColour(CLR_DEFAULT),
      m_crGridLineColour(RGB(192, 192, 192)),
      m_crWindowText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_crWindowColour(::GetSysColor(COLOR_WINDOW)),
      m_cr3DFace(::GetSysColor(COLOR_3DFACE)),
      m_crShadow(::GetSysColor(COLOR_3DSHADOW)),
      m_crTTipBackClr(CLR_DEFAULT),
      m_crTTipTextClr(CLR_DEFAULT),
      m_bVirtualMode(FALSE),
      m_lParam(0),
      m_pfnCallback(nullptr),
      m_nGridLines(GVL_BOTH),
      m_bEditable(TRUE),
      m_bModified(FALSE),
      m_bAllowDragAndDrop(FALSE),
      m_bListMode(FALSE),
      m_bSingleRowSelection(FALSE),
      m_bSingleColSelection(FALSE),
      m_bAllowDraw(TRUE),
      m_bEnableSelection(TRUE),
      m_bFixedRowSelection(TRUE),
      m_bFixedColumnSelection(TRUE),
      m_bSortOnClick(FALSE),
      m_bHandleTabKey(TRUE),
      m_bDoubleBuffer(TRUE),
      m_bTitleTips(TRUE),
      m_nBarState(GVL_NONE),
      m_bWysiwygPrinting(FALSE),
      m_bHiddenColUnhide(TRUE),
      m_bHiddenRowUnhide(TRUE),
      m_bAllowColHide(TRUE),
      m_bAllowRowHide(TRUE),
      m_bAutoSizeSkipColHdr(FALSE),
      m_bTrackFocusCell(TRUE),
      m_bFrameFocus(TRUE),
      m_nAutoSizeColumnStyle(GVS_BOTH),
      m_nRows(0),
      m_nFixedRows(0),
      m_nCols(0),
      m_nFixedCols(0),
      m_nVScrollMax(0),
      m_nHScrollMax(0),
      m_pRtcDefault(RUNTIME_CLASS(CGridCell)),
      m_pImageList(nullptr),
      m_MouseMode(MOUSE_NOTHING),
      m_bLMouseButtonDown(FALSE),
      m_bRMouseButtonDown(FALSE),
      m_nTimerID(0),
      m_nTimerInterval(25),
      m_nResizeCaptureRange(3),
      m_bAllowRowResize(TRUE),
      m_bAllowColumnResize(TRUE),
      m_nRowsPerWheelNotch(3),
      m_CharSize(0, 0),
      m_nPageHeight(0),
      m_LogicalPageSize(0, 0),
      m_PaperSize(0, 0),
      m_nPageWidth(0),
      m_nPrintColumn(0),
      m_nCurrPrintRow(0),
      m_nNumPages(0),
      m_nPageMultiplier(1),
      m_bAscending(TRUE),
      m_nSortColumn(-1),
      m_pfnCompare(nullptr),
      m_bShadedPrintOut(TRUE),
      m_nHeaderHeight(2),
      m_nFooterHeight(2),
      m_nLeftMargin(4),
      m_nRightMargin(4),
      m_nTopMargin(1),
      m_nBottomMargin(1),
      m_nGap(1),
      m_bCreating(FALSE) {
  RegisterWindowClass();
  if (!AfxOleInit()) {
    AfxMessageBox(_T("OLE initialization failed. Make sure that the OLE libraries are the correct version"));
  }

  OSVERSIONINFO version;
  std::memset(&version, 0, sizeof(version));
  version.dwOSVersionInfoSize = sizeof(version);
  m_nRowsPerWheelNotch = GetMouseScrollLines(::GetVersionEx(&version) ? &version : nullptr);

  CGridDefaultCell* defaults[] = {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef,
                                  &m_cellFixedRowColDef};
  for (CGridDefaultCell* pCell : defaults) {
    pCell->SetGrid(this);
    pCell->SetTextColour(m_crWindowText);
    pCell->SetBackColour(pCell == &m_cellDefault ? m_crWindowColour : m_cr3DFace);
  }
  m_crGridBkColour = m_crShadow;

  SetRowCount(nRows);
  SetColumnCount(nCols);
  SetFixedRowCount(nFixedRows);
  SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl() {
  DeleteAllItems();
  if (m_bTitleTips && ::IsWindow(m_TitleTip.GetSafeHwnd())) m_TitleTip.DestroyWindow();
  DestroyWindow();
  // Text this program copied would otherwise vanish from the clipboard with it.
  if (COleDataSource::GetClipboardOwner() != nullptr) COleDataSource::FlushClipboard();
}

void CGridCtrl::RegisterWindowClass() {
  WNDCLASS wndcls;
  HINSTANCE hInst = AfxGetInstanceHandle();
  if (::GetClassInfo(hInst, GRIDCTRL_CLASSNAME, &wndcls)) return;
  std::memset(&wndcls, 0, sizeof(wndcls));
  wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wndcls.lpfnWndProc = ::DefWindowProc;
  wndcls.hInstance = hInst;
  wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wndcls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  wndcls.lpszClassName = GRIDCTRL_CLASSNAME;
  if (!AfxRegisterClass(&wndcls)) AfxThrowResourceException();
}

int CGridCtrl::GetMouseScrollLines(const OSVERSIONINFO* pVersion, LPCTSTR lpszDesktopKey) {
  int nScrollLines = 3;
  const BOOL bWindows95 = pVersion != nullptr && pVersion->dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
                          pVersion->dwMinorVersion == 0;
  if (pVersion != nullptr && !bWindows95) {
    UINT nLines = 3;
    if (::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0))
      nScrollLines = static_cast<int>(nLines);
    return nScrollLines;
  }
  HKEY hKey;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, lpszDesktopKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
    return nScrollLines;
  }
  // At most 256 bytes, and always a terminator after what was read.
  TCHAR szData[129] = {};
  DWORD dwType = 0;
  DWORD dwSize = 256;
  if (::RegQueryValueEx(hKey, _T("WheelScrollLines"), nullptr, &dwType, reinterpret_cast<LPBYTE>(szData),
                        &dwSize) == ERROR_SUCCESS &&
      (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
    nScrollLines = static_cast<int>(_tcstoul(szData, nullptr, 10));
  }
  ::RegCloseKey(hKey);
  return nScrollLines;
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwStyle) {
  m_bCreating = TRUE;
  const BOOL bCreated = CWnd::Create(GRIDCTRL_CLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
  m_bCreating = FALSE;
  if (!bCreated) return FALSE;
  m_TitleTip.SetParentWnd(this);

  if (!CatchOutOfMemory([&] {
        m_arRowHeights.SetSize(m_nRows);
        m_arColWidths.SetSize(m_nCols);
      })) {
    return FALSE;
  }
  for (int i = 0; i < m_nRows; i++) m_arRowHeights[i] = m_cellDefault.GetHeight();
  for (int i = 0; i < m_nCols; i++) m_arColWidths[i] = m_cellDefault.GetWidth();
  return TRUE;
}

void CGridCtrl::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  if (m_bCreating) return;
  // Moving the window below sends messages that could bring us here again.
  static BOOL bAlreadyInsideThisProcedure = FALSE;
  if (bAlreadyInsideThisProcedure) return;
  bAlreadyInsideThisProcedure = TRUE;

  m_TitleTip.SetParentWnd(this);
  ModifyStyleEx(0, WS_EX_CLIENTEDGE);
  // A size change makes the new edge show.
  CRect rect;
  GetWindowRect(rect);
  CWnd* pParent = GetParent();
  if (pParent != nullptr) pParent->ScreenToClient(rect);
  rect.InflateRect(1, 1);
  MoveWindow(rect);
  rect.DeflateRect(1, 1);
  MoveWindow(rect);

  bAlreadyInsideThisProcedure = FALSE;
}

// ---- Notifications ------------------------------------------------------------------------------

LRESULT CGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage) const {
  if (!::IsWindow(m_hWnd)) return 0;
  NM_GRIDVIEW nmgv;
  nmgv.iRow = nRow;
  nmgv.iColumn = nCol;
  nmgv.hdr.hwndFrom = m_hWnd;
  nmgv.hdr.idFrom = GetDlgCtrlID();
  nmgv.hdr.code = nMessage;
  CWnd* pOwner = GetOwner();
  if (pOwner == nullptr || !::IsWindow(pOwner->m_hWnd)) return 0;
  return pOwner->SendMessage(WM_NOTIFY, nmgv.hdr.idFrom, reinterpret_cast<LPARAM>(&nmgv));
}

LRESULT CGridCtrl::SendDisplayRequestToParent(GV_DISPINFO* pDisplayInfo) const {
  if (!::IsWindow(m_hWnd)) return 0;
  pDisplayInfo->hdr.hwndFrom = m_hWnd;
  pDisplayInfo->hdr.idFrom = GetDlgCtrlID();
  pDisplayInfo->hdr.code = GVN_GETDISPINFO;
  CWnd* pOwner = GetOwner();
  if (pOwner == nullptr || !::IsWindow(pOwner->m_hWnd)) return 0;
  return pOwner->SendMessage(WM_NOTIFY, pDisplayInfo->hdr.idFrom, reinterpret_cast<LPARAM>(pDisplayInfo));
}

LRESULT CGridCtrl::SendCacheHintToParent(const CGridCellRange& range) const {
  if (!::IsWindow(m_hWnd)) return 0;
  GV_CACHEHINT hint;
  hint.hdr.hwndFrom = m_hWnd;
  hint.hdr.idFrom = GetDlgCtrlID();
  hint.hdr.code = GVN_ODCACHEHINT;
  hint.range = range;
  CWnd* pOwner = GetOwner();
  if (pOwner == nullptr || !::IsWindow(pOwner->m_hWnd)) return 0;
  return pOwner->SendMessage(WM_NOTIFY, hint.hdr.idFrom, reinterpret_cast<LPARAM>(&hint));
}

// ---- Counts ---------------------------------------------------------------------------------------

BOOL CGridCtrl::SetRowCount(int nRows) {
  if (nRows == GetRowCount()) return TRUE;
  if (nRows < 0) return FALSE;

  m_idTopLeftCell.col = -1;
  if (nRows < m_nFixedRows) m_nFixedRows = nRows;
  if (m_idCurrentCell.row >= nRows) SetFocusCell(-1, -1);

  const int addedRows = nRows - GetRowCount();
  if (addedRows < 0) {
    if (!GetVirtualMode()) {
      for (int row = nRows; row < m_nRows; row++) {
        for (int col = 0; col < m_nCols; col++) DestroyCell(row, col);
        delete m_RowData[row];
        m_RowData[row] = nullptr;
      }
      m_RowData.SetSize(nRows);
    }
    m_arRowHeights.SetSize(nRows);
    m_nRows = nRows;
  } else {
    // The counts follow each row made, so a failure leaves a consistent, shorter grid.
    const BOOL bGrown = CatchOutOfMemory([&] {
      while (m_nRows < nRows) {
        const int row = m_nRows;
        m_arRowHeights.SetSize(row + 1);
        m_arRowHeights[row] = m_cellDefault.GetHeight();
        if (!GetVirtualMode()) {
          m_RowData.SetSize(row + 1);
          GRID_ROW* pRow = new GRID_ROW;
          m_RowData[row] = pRow;
          pRow->SetSize(m_nCols);
          for (int col = 0; col < m_nCols; col++) pRow->SetAt(col, CreateCell(row, col));
        }
        m_nRows++;
      }
    });
    if (!bGrown) {
      // Drop the row that was half made.
      if (!GetVirtualMode() && m_RowData.GetSize() > m_nRows) {
        GRID_ROW* pRow = m_RowData[m_nRows];
        if (pRow != nullptr) {
          for (INT_PTR col = 0; col < pRow->GetSize(); col++) delete pRow->GetAt(col);
          delete pRow;
        }
        m_RowData.SetSize(m_nRows);
      }
      m_arRowHeights.SetSize(m_nRows);
      SetModified();
      ResetScrollBars();
      Refresh();
      return FALSE;
    }
  }

  SetModified();
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetColumnCount(int nCols) {
  if (nCols == GetColumnCount()) return TRUE;
  if (nCols < 0) return FALSE;

  m_idTopLeftCell.col = -1;
  if (nCols < m_nFixedCols) m_nFixedCols = nCols;
  if (m_idCurrentCell.col >= nCols) SetFocusCell(-1, -1);

  const int addedCols = nCols - GetColumnCount();
  if (addedCols < 0) {
    if (!GetVirtualMode()) {
      for (int row = 0; row < m_nRows; row++) {
        for (int col = nCols; col < m_nCols; col++) DestroyCell(row, col);
        GRID_ROW* pRow = m_RowData[row];
        if (pRow != nullptr) pRow->SetSize(nCols);
      }
    }
    m_arColWidths.SetSize(nCols);
    m_nCols = nCols;
  } else {
    const BOOL bGrown = CatchOutOfMemory([&] {
      while (m_nCols < nCols) {
        const int col = m_nCols;
        m_arColWidths.SetSize(col + 1);
        m_arColWidths[col] = m_cellFixedColDef.GetWidth();
        if (!GetVirtualMode()) {
          for (int row = 0; row < m_nRows; row++) {
            GRID_ROW* pRow = m_RowData[row];
            if (pRow != nullptr && pRow->GetSize() < col + 1) pRow->SetSize(col + 1);
          }
          for (int row = 0; row < m_nRows; row++) {
            GRID_ROW* pRow = m_RowData[row];
            if (pRow != nullptr) pRow->SetAt(col, CreateCell(row, col));
          }
        }
        m_nCols++;
      }
    });
    if (!bGrown) {
      // Drop the column that was half made.
      if (!GetVirtualMode()) {
        for (int row = 0; row < m_nRows; row++) {
          GRID_ROW* pRow = m_RowData[row];
          if (pRow == nullptr || pRow->GetSize() <= m_nCols) continue;
          delete pRow->GetAt(m_nCols);
          pRow->SetSize(m_nCols);
        }
      }
      m_arColWidths.SetSize(m_nCols);
      SetModified();
      ResetScrollBars();
      Refresh();
      return FALSE;
    }
  }

  SetModified();
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows) {
  if (m_nFixedRows == nFixedRows) return TRUE;
  if (nFixedRows < 0) return FALSE;

  SetSelectedRange(-1, -1, -1, -1);
  m_idTopLeftCell.col = -1;
  if (nFixedRows > GetRowCount() && !SetRowCount(nFixedRows)) return FALSE;
  if (m_idCurrentCell.row < nFixedRows) SetFocusCell(-1, -1);

  if (!GetVirtualMode()) {
    if (nFixedRows > m_nFixedRows) {
      for (int row = m_nFixedRows; row < nFixedRows; row++) {
        for (int col = 0; col < GetColumnCount(); col++) {
          SetItemState(row, col, GetItemState(row, col) | GVIS_FIXED | GVIS_FIXEDROW);
          SetItemBkColour(row, col, CLR_DEFAULT);
          SetItemFgColour(row, col, CLR_DEFAULT);
        }
      }
    } else {
      for (int row = nFixedRows; row < m_nFixedRows; row++) {
        for (int col = 0; col < m_nFixedCols; col++)
          SetItemState(row, col, GetItemState(row, col) & ~GVIS_FIXEDROW);
        for (int col = m_nFixedCols; col < GetColumnCount(); col++) {
          SetItemState(row, col, GetItemState(row, col) & ~(GVIS_FIXED | GVIS_FIXEDROW));
          SetItemBkColour(row, col, CLR_DEFAULT);
          SetItemFgColour(row, col, CLR_DEFAULT);
        }
      }
    }
  }

  m_nFixedRows = nFixedRows;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols) {
  if (m_nFixedCols == nFixedCols) return TRUE;
  if (nFixedCols < 0) return FALSE;

  if (nFixedCols > GetColumnCount() && !SetColumnCount(nFixedCols)) return FALSE;
  if (m_idCurrentCell.col < nFixedCols) SetFocusCell(-1, -1);
  SetSelectedRange(-1, -1, -1, -1);
  m_idTopLeftCell.col = -1;

  if (!GetVirtualMode()) {
    if (nFixedCols > m_nFixedCols) {
      for (int row = 0; row < GetRowCount(); row++) {
        for (int col = m_nFixedCols; col < nFixedCols; col++) {
          SetItemState(row, col, GetItemState(row, col) | GVIS_FIXED | GVIS_FIXEDCOL);
          SetItemBkColour(row, col, CLR_DEFAULT);
          SetItemFgColour(row, col, CLR_DEFAULT);
        }
      }
    } else {
      for (int row = 0; row < m_nFixedRows; row++) {
        for (int col = nFixedCols; col < m_nFixedCols; col++) {
          SetItemState(row, col, GetItemState(row, col) & ~GVIS_FIXEDCOL);
        }
      }
      for (int row = m_nFixedRows; row < GetRowCount(); row++) {
        for (int col = nFixedCols; col < m_nFixedCols; col++) {
          SetItemState(row, col, GetItemState(row, col) & ~(GVIS_FIXED | GVIS_FIXEDCOL));
          SetItemBkColour(row, col, CLR_DEFAULT);
          SetItemFgColour(row, col, CLR_DEFAULT);
        }
      }
    }
  }

  m_nFixedCols = nFixedCols;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::DeleteAllItems() {
  ResetSelectedRange();
  m_arColWidths.RemoveAll();
  m_arRowHeights.RemoveAll();
  if (!GetVirtualMode()) {
    for (int row = 0; row < m_nRows; row++) {
      for (int col = 0; col < m_nCols; col++) DestroyCell(row, col);
      delete m_RowData[row];
      m_RowData[row] = nullptr;
    }
  }
  m_RowData.RemoveAll();
  m_idCurrentCell = CGridCellId(-1, -1);
  m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
  m_idTopLeftCell = CGridCellId(-1, -1);
  ResetScrollBars();
  SetModified();
  return TRUE;
}

// ---- Sizes ----------------------------------------------------------------------------------------

int CGridCtrl::GetRowHeight(int nRow) const {
  if (nRow < 0 || nRow >= m_nRows || nRow >= m_arRowHeights.GetSize()) return -1;
  return static_cast<int>(m_arRowHeights[nRow]);
}

int CGridCtrl::GetColumnWidth(int nCol) const {
  if (nCol < 0 || nCol >= m_nCols || nCol >= m_arColWidths.GetSize()) return -1;
  return static_cast<int>(m_arColWidths[nCol]);
}

BOOL CGridCtrl::SetRowHeight(int nRow, int height) {
  if (nRow < 0 || nRow >= m_nRows || height < 0) return FALSE;
  m_arRowHeights[nRow] = static_cast<UINT>(height);
  ResetScrollBars();
  return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int width) {
  if (nCol < 0 || nCol >= m_nCols || width < 0) return FALSE;
  m_arColWidths[nCol] = static_cast<UINT>(width);
  ResetScrollBars();
  return TRUE;
}

int CGridCtrl::GetFixedRowHeight() const {
  int nHeight = 0;
  for (int i = 0; i < m_nFixedRows; i++) nHeight += GetRowHeight(i);
  return nHeight;
}

int CGridCtrl::GetFixedColumnWidth() const {
  int nWidth = 0;
  for (int i = 0; i < m_nFixedCols; i++) nWidth += GetColumnWidth(i);
  return nWidth;
}

long CGridCtrl::GetVirtualWidth() const {
  long lVirtualWidth = 0;
  for (int i = 0; i < m_nCols; i++) lVirtualWidth += static_cast<long>(m_arColWidths[i]);
  return lVirtualWidth;
}

long CGridCtrl::GetVirtualHeight() const {
  long lVirtualHeight = 0;
  for (int i = 0; i < m_nRows; i++) lVirtualHeight += static_cast<long>(m_arRowHeights[i]);
  return lVirtualHeight;
}

// ---- Cells ----------------------------------------------------------------------------------------

CGridCellBase* CGridCtrl::CreateCell(int nRow, int nCol) {
  if (m_pRtcDefault == nullptr || !m_pRtcDefault->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return nullptr;
  auto* pCell = static_cast<CGridCellBase*>(m_pRtcDefault->CreateObject());
  if (pCell == nullptr) return nullptr;
  pCell->SetGrid(this);
  pCell->SetCoords(nRow, nCol);
  if (nCol < m_nFixedCols) pCell->SetState(pCell->GetState() | GVIS_FIXED | GVIS_FIXEDCOL);
  if (nRow < m_nFixedRows) pCell->SetState(pCell->GetState() | GVIS_FIXED | GVIS_FIXEDROW);
  CGridCellBase* pDefaultCell = pCell->GetDefaultCell();
  if (pDefaultCell != nullptr) pCell->SetFormat(pDefaultCell->GetFormat());
  return pCell;
}

void CGridCtrl::DestroyCell(int nRow, int nCol) {
  // The state goes first so the cell leaves the selected-cell map.
  SetItemState(nRow, nCol, 0);
  if (GetVirtualMode()) return;
  GRID_ROW* pRow = m_RowData[nRow];
  if (pRow == nullptr || nCol >= pRow->GetSize()) return;
  delete pRow->GetAt(nCol);
  pRow->SetAt(nCol, nullptr);
}

BOOL CGridCtrl::SetDefaultCellType(CRuntimeClass* pRuntimeClass) {
  if (pRuntimeClass == nullptr || !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return FALSE;
  m_pRtcDefault = pRuntimeClass;
  return TRUE;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const {
  const CGridDefaultCell* pCell;
  if (bFixedRow && bFixedCol) {
    pCell = &m_cellFixedRowColDef;
  } else if (bFixedRow) {
    pCell = &m_cellFixedRowDef;
  } else if (bFixedCol) {
    pCell = &m_cellFixedColDef;
  } else {
    pCell = &m_cellDefault;
  }
  return const_cast<CGridDefaultCell*>(pCell);
}

BOOL CGridCtrl::SetCell(int nRow, int nCol, CGridCellBase* pCell) {
  if (GetVirtualMode() || !IsValid(nRow, nCol)) return FALSE;
  GRID_ROW* pRow = m_RowData[nRow];
  if (pRow == nullptr) return FALSE;
  if (pCell != nullptr) pCell->SetCoords(nRow, nCol);
  pRow->SetAt(nCol, pCell);
  return TRUE;
}

BOOL CGridCtrl::IsValid(const CGridCellRange& range) const {
  return range.GetMinRow() >= 0 && range.GetMinCol() >= 0 && range.GetMaxRow() >= 0 &&
         range.GetMaxCol() >= 0 && range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols &&
         range.GetMinRow() <= range.GetMaxRow() && range.GetMinCol() <= range.GetMaxCol();
}

CGridCellBase* CGridCtrl::GetCellToSet(int nRow, int nCol) const {
  return GetVirtualMode() ? nullptr : GetCell(nRow, nCol);
}

BOOL CGridCtrl::SetItem(const GridItem* pItem) {
  if (pItem == nullptr) return FALSE;
  CGridCellBase* pCell = GetCellToSet(pItem->row, pItem->col);
  if (pCell == nullptr) return FALSE;

  SetModified(TRUE, pItem->row, pItem->col);
  if (pItem->mask & GVIF_TEXT) pCell->SetText(pItem->strText);
  if (pItem->mask & GVIF_PARAM) pCell->SetData(pItem->lParam);
  if (pItem->mask & GVIF_IMAGE) pCell->SetImage(pItem->iImage);
  if (pItem->mask & GVIF_STATE) SetItemState(pItem->row, pItem->col, pItem->nState);
  if (pItem->mask & GVIF_FORMAT) pCell->SetFormat(pItem->nFormat);
  if (pItem->mask & GVIF_BKCLR) pCell->SetBackColour(pItem->crBkClr);
  if (pItem->mask & GVIF_FGCLR) pCell->SetTextColour(pItem->crFgClr);
  if (pItem->mask & GVIF_FONT) pCell->SetFont(&pItem->lfFont);
  if (pItem->mask & GVIF_MARGIN) pCell->SetMargin(pItem->nMargin);
  return TRUE;
}

BOOL CGridCtrl::GetItem(GridItem* pItem) {
  if (pItem == nullptr) return FALSE;
  CGridCellBase* pCell = GetCell(pItem->row, pItem->col);
  if (pCell == nullptr) return FALSE;
  if (pItem->mask & GVIF_TEXT) pItem->strText = pCell->GetText();
  if (pItem->mask & GVIF_PARAM) pItem->lParam = pCell->GetData();
  if (pItem->mask & GVIF_IMAGE) pItem->iImage = pCell->GetImage();
  if (pItem->mask & GVIF_STATE) pItem->nState = pCell->GetState();
  if (pItem->mask & GVIF_FORMAT) pItem->nFormat = pCell->GetFormat();
  if (pItem->mask & GVIF_BKCLR) pItem->crBkClr = pCell->GetBackColour();
  if (pItem->mask & GVIF_FGCLR) pItem->crFgClr = pCell->GetTextColour();
  if (pItem->mask & GVIF_FONT) {
    const LOGFONT* plf = pCell->GetFont();
    if (plf != nullptr) pItem->lfFont = *plf;
  }
  if (pItem->mask & GVIF_MARGIN) pItem->nMargin = pCell->GetMargin();
  return TRUE;
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCTSTR str) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetText(str);
  SetModified(TRUE, nRow, nCol);
  return TRUE;
}

CString CGridCtrl::GetItemText(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell == nullptr) return CString();
  return pCell->GetText();
}

BOOL CGridCtrl::SetItemData(int nRow, int nCol, LPARAM lParam) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetData(lParam);
  SetModified(TRUE, nRow, nCol);
  return TRUE;
}

LPARAM CGridCtrl::GetItemData(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? 0 : pCell->GetData();
}

BOOL CGridCtrl::SetItemImage(int nRow, int nCol, int iImage) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetImage(iImage);
  SetModified(TRUE, nRow, nCol);
  return TRUE;
}

int CGridCtrl::GetItemImage(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? -1 : pCell->GetImage();
}

BOOL CGridCtrl::SetItemState(int nRow, int nCol, UINT state) {
  if (!IsValid(nRow, nCol)) return FALSE;
  // The map holds exactly the selected cells, whichever way their state changes.
  const ULONGLONG key = SelectionKey(nRow, nCol);
  if (state & GVIS_SELECTED) {
    m_SelectedCellMap.SetAt(key, CGridCellId(nRow, nCol));
  } else {
    m_SelectedCellMap.RemoveKey(key);
  }
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetState(state);
  return TRUE;
}

UINT CGridCtrl::GetItemState(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? 0 : pCell->GetState();
}

BOOL CGridCtrl::SetItemFormat(int nRow, int nCol, UINT nFormat) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetFormat(nFormat);
  return TRUE;
}

UINT CGridCtrl::GetItemFormat(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? 0 : pCell->GetFormat();
}

BOOL CGridCtrl::SetItemBkColour(int nRow, int nCol, COLORREF cr) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetBackColour(cr);
  return TRUE;
}

COLORREF CGridCtrl::GetItemBkColour(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? 0 : pCell->GetBackColour();
}

BOOL CGridCtrl::SetItemFgColour(int nRow, int nCol, COLORREF cr) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetTextColour(cr);
  return TRUE;
}

COLORREF CGridCtrl::GetItemFgColour(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? 0 : pCell->GetTextColour();
}

BOOL CGridCtrl::SetItemFont(int nRow, int nCol, const LOGFONT* plf) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetFont(plf);
  return TRUE;
}

const LOGFONT* CGridCtrl::GetItemFont(int nRow, int nCol) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? nullptr : pCell->GetFont();
}

BOOL CGridCtrl::SetItemMargin(int nRow, int nCol, UINT nMargin) {
  CGridCellBase* pCell = GetCellToSet(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  pCell->SetMargin(nMargin);
  return TRUE;
}

UINT CGridCtrl::GetItemMargin(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell == nullptr ? 0 : pCell->GetMargin();
}

BOOL CGridCtrl::IsCellEditable(int nRow, int nCol) const {
  return IsEditable() && (GetItemState(nRow, nCol) & GVIS_READONLY) != GVIS_READONLY;
}

BOOL CGridCtrl::IsCellSelected(int nRow, int nCol) const {
  if (GetVirtualMode()) {
    CGridCellId cell;
    return m_SelectedCellMap.Lookup(SelectionKey(nRow, nCol), cell);
  }
  return (GetItemState(nRow, nCol) & GVIS_SELECTED) != 0;
}

// ---- Modified flag ------------------------------------------------------------------------------

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol) {
  // Changed data may no longer be in order: the sort arrow goes.
  if (bModified && (nRow < 0 || nCol < 0 || nCol == GetSortColumn())) SetSortColumn(-1);

  if (nRow >= 0 && nCol >= 0) {
    if (bModified) {
      SetItemState(nRow, nCol, GetItemState(nRow, nCol) | GVIS_MODIFIED);
      m_bModified = TRUE;
    } else {
      SetItemState(nRow, nCol, GetItemState(nRow, nCol) & ~GVIS_MODIFIED);
    }
    return;
  }
  m_bModified = bModified;
  if (!m_bModified) {
    for (int row = 0; row < GetRowCount(); row++) {
      for (int col = 0; col < GetColumnCount(); col++) {
        const UINT nState = GetItemState(row, col);
        if (nState & GVIS_MODIFIED) SetItemState(row, col, nState & ~GVIS_MODIFIED);
      }
    }
  }
}

BOOL CGridCtrl::GetModified(int nRow, int nCol) const {
  if (nRow >= 0 && nCol >= 0) return (GetItemState(nRow, nCol) & GVIS_MODIFIED) == GVIS_MODIFIED;
  return m_bModified;
}

// ---- Fonts and system colours --------------------------------------------------------------------

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM /*lParam*/) {
  const LRESULT result = Default();
  LOGFONT lf;
  if (!::GetObject(reinterpret_cast<HFONT>(hFont), sizeof(LOGFONT), &lf)) return result;
  m_cellDefault.SetFont(&lf);
  m_cellFixedColDef.SetFont(&lf);
  m_cellFixedRowDef.SetFont(&lf);
  m_cellFixedRowColDef.SetFont(&lf);
  Refresh();
  return result;
}

LRESULT CGridCtrl::OnGetFont(WPARAM /*hFont*/, LPARAM /*lParam*/) {
  return reinterpret_cast<LRESULT>(m_cellDefault.GetFontObject()->GetSafeHandle());
}

void CGridCtrl::OnSysColorChange() {
  CWnd::OnSysColorChange();
  const COLORREF crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF crWindow = ::GetSysColor(COLOR_WINDOW);
  const COLORREF cr3DFace = ::GetSysColor(COLOR_3DFACE);
  CGridDefaultCell* defaults[] = {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef,
                                  &m_cellFixedRowColDef};
  for (CGridDefaultCell* pCell : defaults) {
    if (pCell->GetTextColour() == m_crWindowText) pCell->SetTextColour(crWindowText);
    const COLORREF crWas = pCell == &m_cellDefault ? m_crWindowColour : m_cr3DFace;
    if (pCell->GetBackColour() == crWas) pCell->SetBackColour(pCell == &m_cellDefault ? crWindow : cr3DFace);
  }
  if (GetGridBkColour() == m_crShadow) SetGridBkColour(::GetSysColor(COLOR_3DSHADOW));
  m_crWindowText = crWindowText;
  m_crWindowColour = crWindow;
  m_cr3DFace = cr3DFace;
  m_crShadow = ::GetSysColor(COLOR_3DSHADOW);
}

void CGridCtrl::OnDestroy() {
  // OLE holds the window's drop target until it is revoked.
  m_DropTarget.Revoke();
  if (m_nTimerID != 0) {
    KillTimer(m_nTimerID);
    m_nTimerID = 0;
  }
  CWnd::OnDestroy();
}

BOOL CGridCtrl::PreTranslateMessage(MSG* pMsg) {
  // A key while a title tip shows: the tip hides and hands the key back.
  if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->hwnd == m_hWnd &&
      ::IsWindow(m_TitleTip.GetSafeHwnd()) && m_TitleTip.IsWindowVisible()) {
    return m_TitleTip.PreTranslateMessage(pMsg);
  }
  return CWnd::PreTranslateMessage(pMsg);
}
