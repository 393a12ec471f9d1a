// The folder check tree: paths to items and back, tick propagation, the label click and its own
// painting of the item texts.
#include "FolderCheckTree.h"

#include "UiHandoff.h"
#include "WizardMessages.h"

const LPCTSTR CFolderCheckTree::ROOT_TEXT = L"Outlook Folders";

BEGIN_MESSAGE_MAP(CFolderCheckTree, CTreeCtrl)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_PAINT()
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CFolderCheckTree::CFolderCheckTree() : m_hWndNotify(nullptr) {}

HTREEITEM CFolderCheckTree::AddPath(CString path, int nImage, int nData) {
  path = CString(ROOT_TEXT) + L"\\" + path;
  HTREEITEM hParent = TVI_ROOT;
  int nStart = 0;
  for (int nEnd = path.Find(L'\\'); nEnd >= 0; nEnd = path.Find(L'\\', nStart)) {
    hParent = FindOrAddChild(path.Mid(nStart, nEnd - nStart), hParent, nImage, nData);
    nStart = nEnd + 1;
  }
  return hParent;
}

HTREEITEM CFolderCheckTree::FindOrAddChild(const CString& strComponent, HTREEITEM hParent, int nImage,
                                           int nData) {
  for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
    if (GetItemText(hChild) == strComponent) return hChild;
  }
  EnsureCheckBoxImages();
  // Only the root item is the tree's own; a folder of that name further down is an ordinary folder.
  if (hParent == TVI_ROOT && strComponent == ROOT_TEXT) {
    nImage = 0;
    nData = 0;
  }
  TVINSERTSTRUCT tvis = {};
  tvis.hParent = hParent;
  tvis.hInsertAfter = TVI_LAST;
  tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tvis.item.pszText = const_cast<LPTSTR>(static_cast<LPCTSTR>(strComponent));
  tvis.item.iImage = nImage;
  tvis.item.iSelectedImage = nImage;
  HTREEITEM hItem = InsertItem(&tvis);
  if (hItem == nullptr) return nullptr;
  SetItemData(hItem, static_cast<DWORD_PTR>(static_cast<DWORD>(nData)));
  SetCheck(hItem, TRUE);
  if (hParent != TVI_ROOT) SetCheck(hParent, TRUE);
  Expand(GetRootItem(), TVE_EXPAND);
  return hItem;
}

void CFolderCheckTree::AddFolderPath(const CString& path, int kind, int entryCount) {
  // A tree that went before the listing ended shows nothing more: the hand-off is dropped.
  const CString copy = path;
  CUiHandoff::Run(m_hWnd, [this, copy, kind, entryCount] { AddFolderPathNow(copy, kind, entryCount); });
}

HTREEITEM CFolderCheckTree::AddFolderPathNow(const CString& path, int kind, int entryCount) {
  HTREEITEM hItem = AddPath(path, kind, kind);
  if (hItem == nullptr) return nullptr;
  SetItemData(hItem, static_cast<DWORD_PTR>(static_cast<DWORD>(entryCount)));
  Expand(hItem, TVE_EXPAND);
  SetCheck(hItem, TRUE);
  return hItem;
}

LRESULT CFolderCheckTree::OnHandoff(WPARAM wParam, LPARAM lParam) {
  return CUiHandoff::Receive(wParam, lParam);
}

void CFolderCheckTree::OnNcDestroy() {
  CUiHandoff::DiscardPending(m_hWnd);
  CTreeCtrl::OnNcDestroy();
}

void CFolderCheckTree::EnsureCheckBoxImages() {
  if ((GetStyle() & TVS_CHECKBOXES) == 0 || SendMessage(TVM_GETIMAGELIST, TVSIL_STATE) != 0) return;
  // Setting the style anew after creation makes the images at once.
  ModifyStyle(TVS_CHECKBOXES, 0);
  ModifyStyle(0, TVS_CHECKBOXES);
}

CString CFolderCheckTree::GetItemPath(HTREEITEM hItem) const {
  CString path;
  for (HTREEITEM h = hItem; h != nullptr && h != TVI_ROOT; h = GetParentItem(h)) {
    const CString text = GetItemText(h);
    const HTREEITEM hParent = GetParentItem(h);
    // The root item's component is the tree's, not the folder's: it is left out, and only it.
    if (hParent == nullptr && text == ROOT_TEXT) break;
    path = text + L"\\" + path;
  }
  return path;
}

void CFolderCheckTree::GetCheckedPaths(CStringArray& paths) const { CollectChecked(TVI_ROOT, paths); }

void CFolderCheckTree::CollectChecked(HTREEITEM hParent, CStringArray& paths) const {
  for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
    if (GetCheck(hChild)) paths.Add(GetItemPath(hChild));
    CollectChecked(hChild, paths);
  }
}

void CFolderCheckTree::SetChildrenCheck(HTREEITEM hItem, BOOL bCheck) {
  for (HTREEITEM hChild = GetChildItem(hItem); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
    if (ItemHasChildren(hChild)) SetChildrenCheck(hChild, bCheck);
    SetCheck(hChild, bCheck);
  }
}

void CFolderCheckTree::OnLButtonDown(UINT nFlags, CPoint point) {
  UINT uHitFlags = 0;
  HTREEITEM hItem = HitTest(point, &uHitFlags);
  if (hItem != nullptr && (uHitFlags & TVHT_ONITEMLABEL)) {
    Select(hItem, TVGN_CARET);
    const CString path = GetItemPath(hItem);
    // The path goes whole, whatever its length; the receiver copies what it keeps before returning.
    if (!path.IsEmpty() && m_hWndNotify != nullptr && ::IsWindow(m_hWndNotify)) {
      ::SendMessage(m_hWndNotify, WM_NSF_FOLDER_SELECTED,
                    reinterpret_cast<WPARAM>(static_cast<LPCTSTR>(path)), 0);
    }
  } else if (hItem != nullptr && (uHitFlags & TVHT_ONITEMSTATEICON)) {
    // The item itself takes the opposite state through the control's own processing below.
    SetChildrenCheck(hItem, !GetCheck(hItem));
  }
  CTreeCtrl::OnLButtonDown(nFlags, point);
}

// The control toggles a check box on a double click as well: the descendants follow it there too.
void CFolderCheckTree::OnLButtonDblClk(UINT nFlags, CPoint point) {
  UINT uHitFlags = 0;
  HTREEITEM hItem = HitTest(point, &uHitFlags);
  if (hItem != nullptr && (uHitFlags & TVHT_ONITEMSTATEICON)) SetChildrenCheck(hItem, !GetCheck(hItem));
  CTreeCtrl::OnLButtonDblClk(nFlags, point);
}

// The control toggles the selected item's box on Space after this: the descendants take its new state.
void CFolderCheckTree::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE && (GetStyle() & TVS_CHECKBOXES) != 0) {
    if (HTREEITEM hItem = GetSelectedItem()) SetChildrenCheck(hItem, !GetCheck(hItem));
  }
  CTreeCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CFolderCheckTree::OnPaint() {
  CPaintDC dc(this);
  CRect rcClip;
  dc.GetClipBox(&rcClip);
  CRect rcClient;
  GetClientRect(&rcClient);
  if (rcClient.IsRectEmpty()) return;

  CDC memDC;
  memDC.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height());
  CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
  CRgn clip;
  clip.CreateRectRgnIndirect(&rcClip);
  memDC.SelectClipRgn(&clip);

  // A control painting into a given DC leaves what it does not draw as it was: start from its background.
  COLORREF crBack = static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR));
  if (crBack == CLR_NONE || crBack == static_cast<COLORREF>(-1)) crBack = ::GetSysColor(COLOR_WINDOW);
  memDC.FillSolidRect(&rcClient, crBack);
  CTreeCtrl::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);

  CFont* pFont = GetFont();
  if (pFont == nullptr || pFont->GetSafeHandle() == nullptr) {
    pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  }
  LOGFONT lf = {};
  CFont boldFont;
  if (pFont->GetLogFont(&lf)) {
    lf.lfWeight = FW_BOLD;
    boldFont.CreateFontIndirect(&lf);
  }
  CFont* pOldFont = memDC.SelectObject(pFont);
  memDC.SetBkMode(OPAQUE);

  const UINT nVisible = GetVisibleCount();
  HTREEITEM hItem = GetFirstVisibleItem();
  for (UINT n = 0; hItem != nullptr && n <= nVisible; ++n, hItem = GetNextVisibleItem(hItem)) {
    const UINT state = GetItemState(hItem, TVIS_SELECTED | TVIS_DROPHILITED);
    if (state & TVIS_DROPHILITED) continue;
    const BOOL bBold = GetItemData(hItem) != 0 && boldFont.GetSafeHandle() != nullptr;
    memDC.SelectObject(bBold ? &boldFont : pFont);
    CRect rcText;
    if (!GetItemRect(hItem, &rcText, TRUE)) continue;
    memDC.FillSolidRect(&rcText, RGB(255, 255, 255));
    if (state & TVIS_SELECTED) {
      memDC.SetTextColor(RGB(255, 255, 255));
      memDC.SetBkColor(RGB(0, 0, 255));
    } else {
      memDC.SetTextColor(RGB(0, 0, 0));
      memDC.SetBkColor(RGB(255, 255, 255));
    }
    memDC.TextOut(rcText.left + 2, rcText.top + 1, GetItemText(hItem));
  }

  memDC.SelectObject(pOldFont);
  dc.BitBlt(rcClip.left, rcClip.top, rcClip.Width(), rcClip.Height(), &memDC, rcClip.left, rcClip.top,
            SRCCOPY);
  memDC.SelectObject(pOldBitmap);
}
