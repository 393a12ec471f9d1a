// CGridCtrl: cell text through the clipboard and OLE drag and drop: copy, cut and paste as
// tab-separated text, dragging the selection out and dropping text onto a cell.
#include "GridCtrl.h"

#include <cstring>
#include <cwchar>
#include <new>

namespace {

// Clipboard memory as the clipboard expects it: movable, shareable, zeroed.
constexpr UINT kClipboardAlloc = GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT;

void WriteAnsi(CSharedFile& file, const CString& text) {
  if (text.IsEmpty()) return;
  const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  if (nBytes <= 0) return;
  CArray<char, char> bytes;
  bytes.SetSize(nBytes);
  ::WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), bytes.GetData(), nBytes, nullptr, nullptr);
  file.Write(bytes.GetData(), static_cast<UINT>(nBytes));
}

void WriteUnicode(CSharedFile& file, const CString& text) {
  if (!text.IsEmpty())
    file.Write(static_cast<LPCTSTR>(text), static_cast<UINT>(text.GetLength() * sizeof(TCHAR)));
}

// The file's bytes as a global block of exactly their length.
HGLOBAL DetachExact(CSharedFile& file) {
  const SIZE_T nLength = static_cast<SIZE_T>(file.GetLength());
  HGLOBAL hMem = file.Detach();
  if (hMem == nullptr) return nullptr;
  HGLOBAL hSized = ::GlobalReAlloc(hMem, nLength, kClipboardAlloc);
  if (hSized == nullptr) {
    ::GlobalFree(hMem);
    return nullptr;
  }
  return hSized;
}

// The text an OLE data object offers, Unicode first. Nothing is read past the end of the block,
// whether or not it holds a terminator.
BOOL ReadOfferedText(COleDataObject* pDataObject, CString& strText) {
  if (HGLOBAL hMem = pDataObject->GetGlobalData(CF_UNICODETEXT)) {
    const SIZE_T nChars = ::GlobalSize(hMem) / sizeof(wchar_t);
    const auto* p = static_cast<const wchar_t*>(::GlobalLock(hMem));
    if (p != nullptr) {
      strText = CString(p, static_cast<int>(wcsnlen(p, nChars)));
      ::GlobalUnlock(hMem);
    }
    ::GlobalFree(hMem);
    return p != nullptr;
  }
  if (HGLOBAL hMem = pDataObject->GetGlobalData(CF_TEXT)) {
    const SIZE_T nSize = ::GlobalSize(hMem);
    const auto* p = static_cast<const char*>(::GlobalLock(hMem));
    if (p != nullptr) {
      const int nBytes = static_cast<int>(strnlen(p, nSize));
      const int nChars = ::MultiByteToWideChar(CP_ACP, 0, p, nBytes, nullptr, 0);
      strText.Empty();
      if (nChars > 0) {
        LPTSTR pBuffer = strText.GetBufferSetLength(nChars);
        ::MultiByteToWideChar(CP_ACP, 0, p, nBytes, pBuffer, nChars);
        strText.ReleaseBuffer(nChars);
      }
      ::GlobalUnlock(hMem);
    }
    ::GlobalFree(hMem);
    return p != nullptr;
  }
  return FALSE;
}

BOOL OffersText(COleDataObject* pDataObject) {
  return pDataObject != nullptr &&
         (pDataObject->IsDataAvailable(CF_UNICODETEXT) || pDataObject->IsDataAvailable(CF_TEXT));
}

}  // namespace

// ---- Copy and paste ---------------------------------------------------------------------------------

COleDataSource* CGridCtrl::CopyTextFromGrid() {
  const CGridCellRange selection = GetSelectedCellRange();
  if (!IsValid(selection)) return nullptr;
  if (GetVirtualMode()) SendCacheHintToParent(selection);

  HGLOBAL hAnsi = nullptr;
  HGLOBAL hUnicode = nullptr;
  try {
    CSharedFile ansiFile(kClipboardAlloc, 4096);
    CSharedFile unicodeFile(kClipboardAlloc, 4096);
    for (int row = selection.GetMinRow(); row <= selection.GetMaxRow(); row++) {
      if (GetRowHeight(row) <= 0) continue;
      CString strLine;
      for (int col = selection.GetMinCol(); col <= selection.GetMaxCol(); col++) {
        if (GetColumnWidth(col) <= 0) continue;
        CGridCellBase* pCell = GetCell(row, col);
        if (pCell != nullptr && (pCell->GetState() & GVIS_SELECTED)) strLine += pCell->GetText();
        if (col != selection.GetMaxCol()) strLine += _T("\t");
      }
      if (row != selection.GetMaxRow()) strLine += _T("\r\n");
      WriteAnsi(ansiFile, strLine);
      WriteUnicode(unicodeFile, strLine);
    }
    const char cEnd = '\0';
    ansiFile.Write(&cEnd, 1);
    const wchar_t wEnd = L'\0';
    unicodeFile.Write(&wEnd, sizeof(wEnd));
    hAnsi = DetachExact(ansiFile);
    hUnicode = DetachExact(unicodeFile);
  } catch (CException* e) {
    e->Delete();
  } catch (const std::bad_alloc&) {
  }
  if (GetVirtualMode()) SendCacheHintToParent(CGridCellRange(-1, -1, -1, -1));

  if (hAnsi == nullptr || hUnicode == nullptr) {
    if (hAnsi != nullptr) ::GlobalFree(hAnsi);
    if (hUnicode != nullptr) ::GlobalFree(hUnicode);
    return nullptr;
  }
  auto* pSource = new COleDataSource;
  pSource->CacheGlobalData(CF_UNICODETEXT, hUnicode);
  pSource->CacheGlobalData(CF_TEXT, hAnsi);
  return pSource;
}

BOOL CGridCtrl::PasteTextToGrid(CGridCellId cell, COleDataObject* pDataObject, BOOL bSelectPastedCells) {
  if (!IsValid(cell) || !IsCellEditable(cell) || !OffersText(pDataObject)) return FALSE;
  CString strText;
  if (!ReadOfferedText(pDataObject, strText)) return FALSE;

  // Lines end at "\n" (a "\r" before it is trimmed off the last cell); cells end at the first
  // tab or comma. Hidden rows and columns are passed over; what falls outside the grid is dropped.
  CGridCellRange pasteRange(cell.row, cell.col, -1, -1);
  int nLine = 0;
  int nStart = 0;
  for (;;) {
    const int nEnd = strText.Find(_T('\n'), nStart);
    CString strLine = strText.Mid(nStart, (nEnd < 0 ? strText.GetLength() : nEnd) - nStart);
    int iRowVis = cell.row + nLine;
    while (iRowVis < GetRowCount() && GetRowHeight(iRowVis) <= 0) {
      nLine++;
      iRowVis++;
    }
    int nColumn = 0;
    while (!strLine.IsEmpty()) {
      const int nSeparator = strLine.FindOneOf(_T("\t,"));
      CString strCellText = nSeparator >= 0 ? strLine.Left(nSeparator) : strLine;
      int iColVis = cell.col + nColumn;
      while (iColVis < GetColumnCount() && GetColumnWidth(iColVis) <= 0) {
        nColumn++;
        iColVis++;
      }
      if (IsValid(iRowVis, iColVis)) {
        strCellText.Trim();
        EditTextWithNotifications(iRowVis, iColVis, strCellText);
        SetItemState(iRowVis, iColVis, GetItemState(iRowVis, iColVis) & ~GVIS_SELECTED);
        if (iRowVis > pasteRange.GetMaxRow()) pasteRange.SetMaxRow(iRowVis);
        if (iColVis > pasteRange.GetMaxCol()) pasteRange.SetMaxCol(iColVis);
      }
      strLine = nSeparator >= 0 ? strLine.Mid(nSeparator + 1) : CString();
      nColumn++;
    }
    if (nEnd < 0) break;
    nStart = nEnd + 1;
    nLine++;
  }

  if (bSelectPastedCells) {
    SetSelectedRange(pasteRange, TRUE);
  } else {
    ResetSelectedRange();
    Refresh();
  }
  return TRUE;
}

void CGridCtrl::OnEditCut() {
  if (!IsEditable()) return;
  COleDataSource* pSource = CopyTextFromGrid();
  if (pSource == nullptr) return;
  pSource->SetClipboard();
  CutSelectedText();
}

void CGridCtrl::OnEditCopy() {
  COleDataSource* pSource = CopyTextFromGrid();
  if (pSource == nullptr) return;
  pSource->SetClipboard();
}

void CGridCtrl::OnEditPaste() {
  if (!IsEditable()) return;
  // The top-left of the selection, else the focus cell, else the first cell showing.
  const CGridCellRange selection = GetSelectedCellRange();
  CGridCellId cell;
  if (IsValid(selection)) {
    cell = selection.GetTopLeft();
  } else {
    cell = GetFocusCell();
    if (!IsValid(cell)) cell = GetTopleftNonFixedCell();
    if (!IsValid(cell)) return;
  }
  // A cell being edited takes the text into its editor.
  CGridCellBase* pCell = GetCell(cell.row, cell.col);
  if (pCell != nullptr && pCell->IsEditing()) {
    CWnd* pEdit = pCell->GetEditWnd();
    if (pEdit != nullptr && pEdit->IsKindOf(RUNTIME_CLASS(CEdit))) {
      pEdit->SendMessage(WM_PASTE, 0, 0);
      return;
    }
  }
  COleDataObject clipboard;
  if (clipboard.AttachClipboard()) PasteTextToGrid(cell, &clipboard);
}

void CGridCtrl::OnUpdateEditCut(CCmdUI* pCmdUI) {
  pCmdUI->Enable(IsEditable() && !m_SelectedCellMap.IsEmpty());
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_SelectedCellMap.IsEmpty()); }

void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI) {
  const CGridCellId cell = GetFocusCell();
  pCmdUI->Enable(IsValid(cell) && IsCellEditable(cell) &&
                 (::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT)));
}

// ---- Dragging out -------------------------------------------------------------------------------

void CGridCtrl::OnBeginDrag() {
  if (!m_bAllowDragAndDrop) return;
  COleDataSource* pSource = CopyTextFromGrid();
  if (pSource == nullptr) return;
  const CGridCellId topLeft = GetSelectedCellRange().GetTopLeft();
  SendMessageToParent(topLeft.row, topLeft.col, GVN_BEGINDRAG);
  m_MouseMode = MOUSE_DRAGGING;
  m_bLMouseButtonDown = FALSE;
  const DROPEFFECT dropEffect = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
  // A move took the text elsewhere: it leaves this grid.
  if (dropEffect & DROPEFFECT_MOVE) CutSelectedText();
  delete pSource;
}

CImageList* CGridCtrl::CreateDragImage(CPoint* pHotSpot) {
  const CGridCellId cell = GetFocusCell();
  CRect cellRect;
  if (!GetCellRect(cell.row, cell.col, cellRect)) return nullptr;
  const int nWidth = cellRect.Width() + 1;
  const int nHeight = cellRect.Height() + 1;
  CDC* pDC = GetDC();
  if (pDC == nullptr) return nullptr;

  auto* pList = new CImageList;
  if (!pList->Create(nWidth, nHeight, ILC_MASK, 1, 1)) {
    delete pList;
    ReleaseDC(pDC);
    return nullptr;
  }
  CDC memDC;
  CBitmap bitmap;
  memDC.CreateCompatibleDC(pDC);
  bitmap.CreateCompatibleBitmap(pDC, nWidth, nHeight);
  CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
  memDC.SetWindowOrg(0, 0);
  CGridCellBase* pCell = GetCell(cell.row, cell.col);
  if (pCell != nullptr) pCell->Draw(&memDC, cell.row, cell.col, CRect(0, 0, nWidth - 1, nHeight - 1), FALSE);
  memDC.SelectObject(pOldBitmap);
  ReleaseDC(pDC);
  pList->Add(&bitmap, GetDefaultCell(FALSE, FALSE)->GetBackColour());
  if (pHotSpot != nullptr) *pHotSpot = CPoint(nWidth, nHeight);
  return pList;
}

// ---- Dropping in -----------------------------------------------------------------------------------

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (!m_bAllowDragAndDrop || !OffersText(pDataObject)) return DROPEFFECT_NONE;
  m_LastDragOverCell = GetCellFromPt(point, FALSE);
  if (!IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell)) return DROPEFFECT_NONE;
  SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
               GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) | GVIS_DROPHILITED);
  RedrawCell(m_LastDragOverCell);
  return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (!m_bAllowDragAndDrop || !IsEditable() || !OffersText(pDataObject)) return DROPEFFECT_NONE;
  const CGridCellId cell = GetCellFromPt(point, FALSE);
  if (!IsValid(cell)) {
    OnDragLeave();
    m_LastDragOverCell = CGridCellId(-1, -1);
    return DROPEFFECT_NONE;
  }
  if (!IsCellEditable(cell)) return DROPEFFECT_NONE;
  if (cell != m_LastDragOverCell) {
    if (IsValid(m_LastDragOverCell)) {
      SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
                   GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) & ~GVIS_DROPHILITED);
      RedrawCell(m_LastDragOverCell);
    }
    m_LastDragOverCell = cell;
    SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_DROPHILITED);
    RedrawCell(cell);
  }
  return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CGridCtrl::OnDragLeave() {
  if (!IsValid(m_LastDragOverCell)) return;
  SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
               GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) & ~GVIS_DROPHILITED);
  RedrawCell(m_LastDragOverCell);
}

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT /*dropEffect*/, CPoint /*point*/) {
  m_MouseMode = MOUSE_NOTHING;
  if (!m_bAllowDragAndDrop || !IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell))
    return FALSE;
  OnDragLeave();
  return PasteTextToGrid(m_LastDragOverCell, pDataObject, FALSE);
}
