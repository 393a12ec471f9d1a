// The common-control wrappers: creation (registering the control classes first) and the members
// that do more than forward one message.
#include "afxwin.h"

#include "framework/CommonControls.h"

#include <vector>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CReBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

namespace {

void RegisterControlClasses(DWORD dwICC) {
  INITCOMMONCONTROLSEX init = {sizeof(init), dwICC};
  ::InitCommonControlsEx(&init);
}

// A state-image index of 1 means unchecked and 2 checked, as TVS_CHECKBOXES and
// LVS_EX_CHECKBOXES set them up.
constexpr UINT kUncheckedStateImage = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kCheckedStateImage = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

// ---- CTreeCtrl -----------------------------------------------------------------------------------

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_TREEVIEW_CLASSES);
  return CWnd::Create(WC_TREEVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CTreeCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_TREEVIEW_CLASSES);
  return CWnd::CreateEx(dwExStyle, WC_TREEVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT lpInsertStruct) {
  return reinterpret_cast<HTREEITEM>(
      SendMessage(TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  TVINSERTSTRUCT tvis = {};
  tvis.hParent = hParent;
  tvis.hInsertAfter = hInsertAfter;
  tvis.item.mask = nMask;
  tvis.item.pszText = const_cast<LPTSTR>(lpszItem);
  tvis.item.iImage = nImage;
  tvis.item.iSelectedImage = nSelectedImage;
  tvis.item.state = nState;
  tvis.item.stateMask = nStateMask;
  tvis.item.lParam = lParam;
  return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                    hParent, hInsertAfter);
}

BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage,
                        UINT nState, UINT nStateMask, LPARAM lParam) {
  TVITEM item = {};
  item.hItem = hItem;
  item.mask = nMask;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.iImage = nImage;
  item.iSelectedImage = nSelectedImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return SetItem(&item);
}

// The control gives no length, so the buffer grows until the text fits with room to spare.
CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
  for (int nLen = 256;; nLen *= 4) {
    std::vector<WCHAR> buffer(static_cast<size_t>(nLen), 0);
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_TEXT;
    item.pszText = buffer.data();
    item.cchTextMax = nLen;
    if (!GetItem(&item)) return CString();
    int nRes = static_cast<int>(wcsnlen(item.pszText, static_cast<size_t>(nLen)));
    if (nRes < nLen - 1 || nLen >= (1 << 20)) return CString(item.pszText, nRes);
  }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
  return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
  TVITEM item = {};
  item.hItem = hItem;
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  BOOL bRes = GetItem(&item);
  if (bRes) {
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
  }
  return bRes;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
  return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, nImage, nSelectedImage, 0, 0, 0);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
  TVITEM item = {};
  item.hItem = hItem;
  item.mask = TVIF_STATE;
  item.stateMask = nStateMask;
  GetItem(&item);
  return item.state & nStateMask;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
  return SetItem(hItem, TVIF_STATE, nullptr, 0, 0, nState, nStateMask, 0);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
  TVITEM item = {};
  item.hItem = hItem;
  item.mask = TVIF_PARAM;
  if (!GetItem(&item)) return 0;
  return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  return SetItem(hItem, TVIF_PARAM, nullptr, 0, 0, 0, 0, static_cast<LPARAM>(dwData));
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
  TVITEM item = {};
  item.hItem = hItem;
  item.mask = TVIF_CHILDREN;
  if (!GetItem(&item)) return FALSE;
  return item.cChildren != 0;
}

BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
  return GetItemState(hItem, TVIS_STATEIMAGEMASK) == kCheckedStateImage;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
  return SetItemState(hItem, fCheck ? kCheckedStateImage : kUncheckedStateImage, TVIS_STATEIMAGEMASK);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
  if (lpRect == nullptr) return FALSE;
  *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
  return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(lpRect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  TVHITTESTINFO hti = {};
  hti.pt = pt;
  HTREEITEM hItem = HitTest(&hti);
  if (pFlags != nullptr) *pFlags = hti.flags;
  return hItem;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
  return static_cast<CEdit*>(CWnd::FromHandle(
      reinterpret_cast<HWND>(SendMessage(TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(hItem)))));
}

CEdit* CTreeCtrl::GetEditControl() const {
  return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL))));
}

CImageList* CTreeCtrl::GetImageList(int nImageList) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, nImageList)));
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TVM_SETIMAGELIST, nImageList, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
}

// ---- CListCtrl -----------------------------------------------------------------------------------

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_LISTVIEW_CLASSES);
  return CWnd::Create(WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_LISTVIEW_CLASSES);
  return CWnd::CreateEx(dwExStyle, WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMN column = {};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = const_cast<LPTSTR>(lpszColumnHeading);
  column.fmt = nFormat;
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &column);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  return static_cast<CHeaderCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))));
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
  return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
  LVITEM item = {};
  item.mask = nMask;
  item.iItem = nItem;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.state = nState;
  item.stateMask = nStateMask;
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(&item);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
  LVITEM item = {};
  item.mask = nMask;
  item.iItem = nItem;
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.iImage = nImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return SetItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  for (int nLen = 256;; nLen *= 4) {
    std::vector<WCHAR> buffer(static_cast<size_t>(nLen), 0);
    LVITEM item = {};
    item.iSubItem = nSubItem;
    item.pszText = buffer.data();
    item.cchTextMax = nLen;
    int nRes = static_cast<int>(SendMessage(LVM_GETITEMTEXT, nItem, reinterpret_cast<LPARAM>(&item)));
    if (nRes < nLen - 1 || nLen >= (1 << 20)) return nRes > 0 ? CString(item.pszText, nRes) : CString();
  }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
  if (lpszText == nullptr || nLen <= 0) return 0;
  LVITEM item = {};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  lpszText[0] = 0;
  return static_cast<int>(SendMessage(LVM_GETITEMTEXT, nItem, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  LVITEM item = {};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPTSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXT, nItem, reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEM item = {};
  item.iItem = nItem;
  item.mask = LVIF_PARAM;
  if (!GetItem(&item)) return 0;
  return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEM item = {};
  item.state = nState;
  item.stateMask = nMask;
  return SetItemState(nItem, &item);
}

BOOL CListCtrl::GetCheck(int nItem) const {
  return GetItemState(nItem, LVIS_STATEIMAGEMASK) == kCheckedStateImage;
}

BOOL CListCtrl::SetCheck(int nItem, BOOL fCheck) {
  return SetItemState(nItem, fCheck ? kCheckedStateImage : kUncheckedStateImage, LVIS_STATEIMAGEMASK);
}

// Positions are the item index plus one, so that NULL ends the walk.
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  return reinterpret_cast<POSITION>(static_cast<INT_PTR>(1 + GetNextItem(-1, LVNI_SELECTED)));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int nOldPos = static_cast<int>(reinterpret_cast<INT_PTR>(pos)) - 1;
  pos = reinterpret_cast<POSITION>(static_cast<INT_PTR>(1 + GetNextItem(nOldPos, LVNI_SELECTED)));
  return nOldPos;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  if (lpRect == nullptr) return FALSE;
  lpRect->left = static_cast<LONG>(nCode);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
  ref.top = iSubItem;
  ref.left = nArea;
  return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, iItem, reinterpret_cast<LPARAM>(&ref)));
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  LVHITTESTINFO hti = {};
  hti.pt = pt;
  int nRes = HitTest(&hti);
  if (pFlags != nullptr) *pFlags = hti.flags;
  return nRes;
}

CEdit* CListCtrl::EditLabel(int nItem) {
  return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_EDITLABEL, nItem))));
}

CEdit* CListCtrl::GetEditControl() const {
  return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL))));
}

CImageList* CListCtrl::GetImageList(int nImageList) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, nImageList)));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageList) {
  return CImageList::FromHandle(SetImageList(pImageList->GetSafeHandle(), nImageList));
}

// ---- CHeaderCtrl ---------------------------------------------------------------------------------

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_LISTVIEW_CLASSES);
  return CWnd::Create(WC_HEADER, nullptr, dwStyle, rect, pParentWnd, nID);
}

CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
}

// ---- CProgressCtrl -------------------------------------------------------------------------------

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_PROGRESS_CLASS);
  return CWnd::Create(PROGRESS_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
  PBRANGE range = {};
  SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  nLower = range.iLow;
  nUpper = range.iHigh;
}

// ---- CAnimateCtrl --------------------------------------------------------------------------------

BOOL CAnimateCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_ANIMATE_CLASS);
  return CWnd::Create(ANIMATE_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CAnimateCtrl::Open(LPCTSTR lpszFileName) {
  return static_cast<BOOL>(SendMessage(ACM_OPEN, 0, reinterpret_cast<LPARAM>(lpszFileName)));
}

BOOL CAnimateCtrl::Open(UINT nID) {
  return static_cast<BOOL>(SendMessage(ACM_OPEN, reinterpret_cast<WPARAM>(AfxGetResourceHandle()),
                                       reinterpret_cast<LPARAM>(MAKEINTRESOURCE(nID))));
}

// ---- CToolTipCtrl --------------------------------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  RegisterControlClasses(ICC_WIN95_CLASSES);
  return CWnd::CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr);
}

// A tool is either a whole window (nIDTool 0: known by its handle, owned by its parent) or an
// area of pWnd known by nIDTool.
void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
  ti = TOOLINFO();
  ti.cbSize = sizeof(TOOLINFO);
  HWND hWnd = pWnd->GetSafeHwnd();
  if (nIDTool == 0) {
    ti.hwnd = ::GetParent(hWnd);
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
  } else {
    ti.hwnd = hWnd;
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (pWnd->GetSafeHwnd() == nullptr) return FALSE;
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool != nullptr) ti.rect = *lpRectTool;
  ti.lpszText = const_cast<LPTSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (pWnd->GetSafeHwnd() == nullptr) return FALSE;
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool != nullptr) ti.rect = *lpRectTool;
  ti.hinst = AfxGetResourceHandle();
  ti.lpszText = MAKEINTRESOURCE(nIDText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO& toolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  FillInToolInfo(toolInfo, pWnd, nIDTool);
  toolInfo.lpszText = nullptr;  // no buffer of unknown size for the control to fill
  return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&toolInfo)));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  if (lpRect == nullptr) return;
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.rect = *lpRect;
  SendMessage(TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  constexpr int kMaxTipText = 1024;
  std::vector<WCHAR> buffer(kMaxTipText + 1, 0);
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = buffer.data();
  SendMessage(TTM_GETTEXT, kMaxTipText, reinterpret_cast<LPARAM>(&ti));
  str = buffer.data();
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPTSTR>(lpszText);
  SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
  CString str;
  str.LoadString(nIDText);
  UpdateTipText(str, pWnd, nIDTool);
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const {
  TTHITTESTINFO hti = {};
  hti.hwnd = pWnd->GetSafeHwnd();
  hti.pt = pt;
  hti.ti.cbSize = sizeof(TOOLINFO);
  if (!SendMessage(TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hti))) return FALSE;
  if (lpToolInfo != nullptr) *lpToolInfo = hti.ti;
  return TRUE;
}

// ---- CTabCtrl ------------------------------------------------------------------------------------

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_TAB_CLASSES);
  return CWnd::Create(WC_TABCONTROL, nullptr, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
  TCITEM item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  return InsertItem(nItem, &item);
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  TCITEM item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.iImage = nImage;
  return InsertItem(nItem, &item);
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
}

CImageList* CTabCtrl::GetImageList() const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST)));
}

// ---- CSpinButtonCtrl -----------------------------------------------------------------------------

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_UPDOWN_CLASS);
  return CWnd::Create(UPDOWN_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy) {
  return CWnd::FromHandle(
      reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy->GetSafeHwnd()))));
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
  return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)));
}

// ---- CStatusBarCtrl ------------------------------------------------------------------------------

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_BAR_CLASSES);
  return CWnd::Create(STATUSCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CStatusBarCtrl::GetTextLength(int nPane, int* pType) const {
  DWORD result = static_cast<DWORD>(SendMessage(SB_GETTEXTLENGTH, nPane));
  if (pType != nullptr) *pType = HIWORD(result);
  return LOWORD(result);
}

CString CStatusBarCtrl::GetText(int nPane, int* pType) const {
  int nLength = GetTextLength(nPane, pType);
  if (nLength <= 0) return CString();
  std::vector<WCHAR> buffer(static_cast<size_t>(nLength) + 1, 0);
  SendMessage(SB_GETTEXT, nPane, reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.data());
}

// ---- CToolBarCtrl --------------------------------------------------------------------------------

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_BAR_CLASSES);
  if (!CWnd::Create(TOOLBARCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID)) return FALSE;
  SetButtonStructSize(sizeof(TBBUTTON));
  return TRUE;
}

CImageList* CToolBarCtrl::SetImageList(CImageList* pImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
}

CImageList* CToolBarCtrl::GetImageList() const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST)));
}

CImageList* CToolBarCtrl::SetDisabledImageList(CImageList* pImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
}

CImageList* CToolBarCtrl::SetHotImageList(CImageList* pImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
}

// ---- CReBarCtrl ----------------------------------------------------------------------------------

BOOL CReBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  RegisterControlClasses(ICC_COOL_CLASSES);
  return CWnd::Create(REBARCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

// ---- CRichEditCtrl -------------------------------------------------------------------------------

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  // The library registers the class when loaded; it stays loaded for the process.
  static const HMODULE hRichEdit = ::LoadLibrary(L"riched20.dll");
  if (hRichEdit == nullptr) return FALSE;
  return CWnd::Create(RICHEDIT_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar) {
  CHARRANGE cr = {nStartChar, nEndChar};
  SetSel(cr);
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const {
  CHARRANGE cr = {};
  GetSel(cr);
  nStartChar = cr.cpMin;
  nEndChar = cr.cpMax;
}

CString CRichEditCtrl::GetSelText() const {
  CHARRANGE cr = {};
  GetSel(cr);
  long nLength = cr.cpMax - cr.cpMin;
  if (nLength <= 0) return CString();
  std::vector<WCHAR> buffer(static_cast<size_t>(nLength) + 1, 0);
  SendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.data());
}
