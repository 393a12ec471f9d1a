// The mail list pane: the grid's columns and rows by document kind, the hand-over of the listing's
// calls from its worker, and the click that asks the page for a preview.
#include "MailListPane.h"

#include <algorithm>
#include <utility>

#include "SystemResources.h"
#include "UiHandoff.h"
#include "WizardMessages.h"

namespace {

const COLORREF HEADER_BACKGROUND = 0xFFE2C6;
const COLORREF GRID_BACKGROUND = 0xE6FFFF;
const int COLUMN_WIDTH = 130;
const int HEADER_HEIGHT = 20;
const int TALL_ROW_HEIGHT = 50;
const int COLUMN_COUNT = 5;
const wchar_t* const COLUMN_TITLES[COLUMN_COUNT] = {L"From", L"Subject", L"Date", L"Size in Bytes",
                                                    L"Attachment"};

// Background of a row by document kind; CLR_NONE for kinds the list does not colour.
COLORREF RowColour(int kind) {
  switch (kind) {
    case 2:
      return 0xFCFFFF;
    case 3:
      return 0xA8FFD3;
    case 4:
      return 0xFFF4DF;
    case 5:
      return 0xFFD2E9;
    case 9:
      return 0xF0E1FF;
    default:
      return CLR_NONE;
  }
}

LOGFONT LogFontOf(CFont& font) {
  LOGFONT lf = {};
  font.GetLogFont(&lf);
  return lf;
}

}  // namespace

BEGIN_MESSAGE_MAP(CMailListPane, CStatic)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_NCDESTROY()
ON_NOTIFY(NM_CLICK, CMailListPane::GRID_ID, OnGridClick)
ON_NOTIFY(NM_DBLCLK, CMailListPane::GRID_ID, OnGridSwallow)
ON_NOTIFY(NM_RCLICK, CMailListPane::GRID_ID, OnGridSwallow)
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
END_MESSAGE_MAP()

CMailListPane::CMailListPane() : m_grid(0, 0, 0, 0), m_pPreview(nullptr), m_bPosted(false) {}

int CMailListPane::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CStatic::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_grid.Create(CRect(0, 0, 10, 10), this, GRID_ID, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP))
    return -1;
  SetupColumns();
  return 0;
}

void CMailListPane::OnSize(UINT nType, int cx, int cy) {
  CStatic::OnSize(nType, cx, cy);
  if (m_grid.GetSafeHwnd() != nullptr) m_grid.MoveWindow(0, 0, cx, cy);
}

// The pane is only the grid's frame: a press on it starts nothing.
void CMailListPane::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}

void CMailListPane::SetupColumns() {
  m_grid.SetEditable(FALSE);
  m_grid.EnableDragAndDrop(FALSE);
  m_grid.SetColumnCount(COLUMN_COUNT);
  m_grid.EnableToolTips(TRUE);
  m_grid.SetFixedRowCount(1);
  m_grid.SetFixedColumnCount(0);
  m_grid.SetFrameFocusCell(TRUE);
  m_grid.SetTrackFocusCell(TRUE);
  m_grid.SetRowCount(1);
  m_grid.SetHeaderSort(TRUE);
  m_grid.SetRowHeight(0, 60);
  for (int column = 0; column < COLUMN_COUNT; ++column) AddHeaderColumn(COLUMN_TITLES[column], column);
  m_grid.SetGridBkColour(GRID_BACKGROUND);
}

void CMailListPane::AddHeaderColumn(const CString& text, int column) {
  SetHeaderColumn(text, column, COLUMN_WIDTH);
}

void CMailListPane::SetHeaderColumn(const CString& text, int column, int width) {
  GridItem item;
  item.mask = GVIF_TEXT | GVIF_FORMAT;
  item.row = 0;
  item.col = column;
  item.nFormat = DT_WORDBREAK;
  item.strText = text;
  const LOGFONT lfBold = LogFontOf(GetSystemResources()->m_fontBold);
  if (CGridDefaultCell* pHeader = m_grid.GetDefaultCell(TRUE, FALSE)) pHeader->SetFont(&lfBold);
  m_grid.SetItem(&item);
  m_grid.SetColumnWidth(column, width);
  m_grid.SetRowHeight(0, HEADER_HEIGHT);
  m_grid.SetItemBkColour(0, column, HEADER_BACKGROUND);
}

void CMailListPane::SetCell(int row, int column, const CString& text, int image) {
  GridItem item;
  item.mask = GVIF_TEXT | GVIF_FORMAT;
  if (image >= 0) {
    item.mask |= GVIF_IMAGE;
    item.iImage = image;
  }
  item.row = row;
  item.col = column;
  item.nFormat = DT_WORDBREAK;
  item.strText = text;
  m_grid.SetItem(&item);
  const LOGFONT lfNormal = LogFontOf(GetSystemResources()->m_fontRegular);
  m_grid.SetItemFont(row, column, &lfNormal);
}

void CMailListPane::SetRowColor(int row, COLORREF colour) {
  for (int column = 0; column < COLUMN_COUNT; ++column) m_grid.SetItemBkColour(row, column, colour);
}

void CMailListPane::Clear() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_pending.clear();
  }
  m_grid.DeleteAllItems();
  SetupColumns();
}

int CMailListPane::GetDocumentRowCount() const { return std::max(0, m_grid.GetRowCount() - 1); }

CString CMailListPane::GetCellText(int row, int column) const { return m_grid.GetItemText(row, column); }

// ---- The listing's calls ----------------------------------------------------------------------------
void CMailListPane::AddRow(const CString& text, int kind) { Queue({PendingCall::ADD_ROW, kind, text}); }

void CMailListPane::SetLastRowCell(int column, const CString& text) {
  Queue({PendingCall::SET_CELL, column, text});
}

void CMailListPane::SetLastRowData(DWORD value) {
  Queue({PendingCall::SET_DATA, static_cast<int>(value), CString()});
}

void CMailListPane::Queue(PendingCall call) {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_pending.push_back(std::move(call));
    if (m_bPosted) return;  // the hand-off on its way takes this call too
    m_bPosted = true;
  }
  if (!CUiHandoff::Run(m_hWnd, [this] { ApplyPending(); })) {
    // No window: nobody will show the rows.
    std::lock_guard<std::mutex> lock(m_lock);
    m_pending.clear();
    m_bPosted = false;
  }
}

void CMailListPane::ApplyPending() {
  std::vector<PendingCall> calls;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    calls.swap(m_pending);
    m_bPosted = false;
  }
  if (calls.empty()) return;
  for (const PendingCall& call : calls) {
    switch (call.kind) {
      case PendingCall::ADD_ROW:
        AppendRow(call.strText, call.nNumber);
        break;
      case PendingCall::SET_CELL:
        SetLastRowCellNow(call.nNumber, call.strText);
        break;
      case PendingCall::SET_DATA:
        if (m_grid.GetRowCount() > 1) {
          m_grid.SetItemData(m_grid.GetRowCount() - 1, 0,
                             static_cast<LPARAM>(static_cast<DWORD>(call.nNumber)));
        }
        break;
    }
  }
  m_grid.Invalidate();
}

void CMailListPane::AppendRow(const CString& text, int kind) {
  const int row = m_grid.GetRowCount();
  if (!m_grid.SetRowCount(row + 1)) return;
  SetCell(row, 0, text, kind);
  const COLORREF colour = RowColour(kind);
  if (colour != CLR_NONE) SetRowColor(row, colour);
  if (colour != CLR_NONE && kind != 2) m_grid.SetRowHeight(row, TALL_ROW_HEIGHT);
}

void CMailListPane::SetLastRowCellNow(int column, const CString& text) {
  const int row = m_grid.GetRowCount() - 1;
  // Cells of a listing whose row was cleared away have no row to go to (the header is no row of theirs).
  if (row < 1) return;
  SetCell(row, column, text, column == 4 && !text.IsEmpty() ? ATTACHMENT_IMAGE : -1);
}

LRESULT CMailListPane::OnHandoff(WPARAM wParam, LPARAM lParam) { return CUiHandoff::Receive(wParam, lParam); }

void CMailListPane::OnNcDestroy() {
  CUiHandoff::DiscardPending(m_hWnd);
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_pending.clear();
    m_bPosted = false;
  }
  CStatic::OnNcDestroy();
}

// ---- Clicks -----------------------------------------------------------------------------------------
void CMailListPane::OnGridClick(NMHDR* pNotifyStruct, LRESULT* pResult) {
  *pResult = 0;
  const NM_GRIDVIEW* pView = reinterpret_cast<const NM_GRIDVIEW*>(pNotifyStruct);
  if (pView->iRow <= 0 || pView->iColumn < 0) return;
  const DWORD noteId = static_cast<DWORD>(m_grid.GetItemData(pView->iRow, 0));
  CWnd* pOwner = GetOwner();
  if (pOwner != nullptr && pOwner->GetSafeHwnd() != nullptr) {
    pOwner->SendMessage(WM_NSF_ITEM_SELECTED, noteId, pView->iRow);
  }
}

void CMailListPane::OnGridSwallow(NMHDR* /*pNotifyStruct*/, LRESULT* pResult) { *pResult = 0; }
