// List boxes, the check list box and combo boxes: creation, reflected owner-draw messages and the
// check state kept beside the caller's item data.
#include "afxwin.h"

#include "framework/ListBox.h"

#include <vector>

IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

// Gap between the check box and the text, and around the box.
constexpr int kCheckMargin = 2;
constexpr int kCheckBoxSize = 13;

CString TextOf(HWND hWnd, UINT lengthMessage, UINT textMessage, int nIndex) {
  LRESULT nLength = ::SendMessage(hWnd, lengthMessage, nIndex, 0);
  if (nLength <= 0) return CString();
  std::vector<WCHAR> buffer(static_cast<size_t>(nLength) + 1);
  LRESULT nCopied = ::SendMessage(hWnd, textMessage, nIndex, reinterpret_cast<LPARAM>(buffer.data()));
  if (nCopied <= 0) return CString();
  return CString(buffer.data(), static_cast<int>(nCopied));
}

// Hands a reflected owner-draw message to the control's virtual handler; FALSE for other messages.
template <class Control>
BOOL ReflectOwnerDraw(Control* control, UINT message, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = TRUE;
  switch (message) {
    case WM_DRAWITEM:
      control->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      break;
    case WM_MEASUREITEM:
      control->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      break;
    case WM_COMPAREITEM:
      result = control->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      break;
    case WM_DELETEITEM:
      control->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      break;
    default:
      return FALSE;
  }
  if (pResult != nullptr) *pResult = result;
  return TRUE;
}

}  // namespace

// ---- CListBox ------------------------------------------------------------------------------------

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const {
  rString = TextOf(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, nIndex);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
  DWORD dw = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
  bOutside = HIWORD(dw) != 0;
  return LOWORD(dw);
}

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem) {
  return bSelect ? static_cast<int>(SendMessage(LB_SELITEMRANGEEX, nFirstItem, nLastItem))
                 : static_cast<int>(SendMessage(LB_SELITEMRANGEEX, nLastItem, nFirstItem));
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }

void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}

int CListBox::VKeyToItem(UINT, UINT) { return -1; }

int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (ReflectOwnerDraw(this, message, lParam, pResult)) return TRUE;
  LRESULT result = 0;
  if (message == WM_VKEYTOITEM) {
    result = VKeyToItem(LOWORD(wParam), HIWORD(wParam));
  } else if (message == WM_CHARTOITEM) {
    result = CharToItem(LOWORD(wParam), HIWORD(wParam));
  } else {
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  }
  if (pResult != nullptr) *pResult = result;
  return TRUE;
}

// ---- CCheckListBox -------------------------------------------------------------------------------

// A box still alive here is destroyed by the CWnd destructor, whose WM_DESTROY no longer reaches our
// WindowProc: give the lines their data back first.
CCheckListBox::~CCheckListBox() {
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
    for (int i = GetCount() - 1; i >= 0; i--) ReleaseCheckData(i);
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CListBox::Create(dwStyle, rect, pParentWnd, nID);
}

BOOL CCheckListBox::PreCreateWindow(CREATESTRUCT& cs) {
  if ((cs.style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0)
    cs.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  return CListBox::PreCreateWindow(cs);
}

void CCheckListBox::SetCheckStyle(UINT nStyle) {
  if (nStyle == BS_CHECKBOX || nStyle == BS_AUTOCHECKBOX || nStyle == BS_3STATE || nStyle == BS_AUTO3STATE)
    m_nStyle = nStyle;
}

CCheckListBox::CheckData* CCheckListBox::GetCheckData(int nIndex) const {
  // Past our own WindowProc, which would hand back the caller's data instead.
  LRESULT raw = const_cast<CCheckListBox*>(this)->CWnd::WindowProc(LB_GETITEMDATA, nIndex, 0);
  if (raw == LB_ERR) return nullptr;
  return reinterpret_cast<CheckData*>(raw);
}

CCheckListBox::CheckData* CCheckListBox::EnsureCheckData(int nIndex) {
  LRESULT raw = CWnd::WindowProc(LB_GETITEMDATA, nIndex, 0);
  if (raw == LB_ERR) return nullptr;
  if (raw != 0) return reinterpret_cast<CheckData*>(raw);
  auto* data = new CheckData;
  CWnd::WindowProc(LB_SETITEMDATA, nIndex, reinterpret_cast<LPARAM>(data));
  return data;
}

void CCheckListBox::ReleaseCheckData(int nIndex) {
  LRESULT raw = CWnd::WindowProc(LB_GETITEMDATA, nIndex, 0);
  if (raw == LB_ERR || raw == 0) return;
  auto* data = reinterpret_cast<CheckData*>(raw);
  CWnd::WindowProc(LB_SETITEMDATA, nIndex, static_cast<LPARAM>(data->dwUserData));
  delete data;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
  if (nCheck < 0 || nCheck > 2) return;
  if (nCheck == 2 && m_nStyle != BS_3STATE && m_nStyle != BS_AUTO3STATE) return;
  CheckData* data = EnsureCheckData(nIndex);
  if (data == nullptr || data->nCheck == nCheck) return;
  data->nCheck = nCheck;
  CRect rect;
  if (GetItemRect(nIndex, &rect) != LB_ERR) ::InvalidateRect(m_hWnd, &rect, FALSE);
}

int CCheckListBox::GetCheck(int nIndex) const {
  CheckData* data = GetCheckData(nIndex);
  return data ? data->nCheck : 0;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled) {
  CheckData* data = EnsureCheckData(nIndex);
  if (data == nullptr) return;
  data->bEnabled = bEnabled;
  CRect rect;
  if (GetItemRect(nIndex, &rect) != LB_ERR) ::InvalidateRect(m_hWnd, &rect, FALSE);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const {
  CheckData* data = GetCheckData(nIndex);
  return data ? data->bEnabled : TRUE;
}

CRect CCheckListBox::OnGetCheckPosition(CRect, CRect rectCheckBox) { return rectCheckBox; }

CRect CCheckListBox::CheckBoxRect(int, const CRect& rectItem) {
  int size = kCheckBoxSize;
  if (size > rectItem.Height()) size = rectItem.Height();
  CRect box(rectItem.left + kCheckMargin, rectItem.top + (rectItem.Height() - size) / 2, 0, 0);
  box.right = box.left + size;
  box.bottom = box.top + size;
  return OnGetCheckPosition(rectItem, box);
}

BOOL CCheckListBox::HitCheckBox(CPoint point, int* pIndex) {
  BOOL bOutside = TRUE;
  int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
  if (bOutside || nIndex < 0 || nIndex >= GetCount()) return FALSE;
  CRect rectItem;
  if (GetItemRect(nIndex, &rectItem) == LB_ERR) return FALSE;
  CRect box = CheckBoxRect(nIndex, rectItem);
  box.InflateRect(kCheckMargin, kCheckMargin);
  if (!box.PtInRect(point)) return FALSE;
  *pIndex = nIndex;
  return TRUE;
}

void CCheckListBox::ToggleAndNotify(int nIndex) {
  if (!IsEnabled(nIndex)) return;
  BOOL threeState = m_nStyle == BS_3STATE || m_nStyle == BS_AUTO3STATE;
  int nCheck = (GetCheck(nIndex) + 1) % (threeState ? 3 : 2);
  SetCheck(nIndex, nCheck);
  HWND hWndParent = ::GetParent(m_hWnd);
  if (hWndParent != nullptr)
    ::SendMessage(hWndParent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CLBN_CHKCHANGE),
                  reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      LRESULT nIndex = CListBox::WindowProc(message, wParam, lParam);
      if (nIndex >= 0) EnsureCheckData(static_cast<int>(nIndex));
      return nIndex;
    }
    case LB_SETITEMDATA: {
      CheckData* data = EnsureCheckData(static_cast<int>(wParam));
      if (data == nullptr) return LB_ERR;
      data->dwUserData = static_cast<DWORD_PTR>(lParam);
      return 0;
    }
    case LB_GETITEMDATA: {
      LRESULT raw = CListBox::WindowProc(message, wParam, lParam);
      if (raw == LB_ERR || raw == 0) return raw;
      return static_cast<LRESULT>(reinterpret_cast<CheckData*>(raw)->dwUserData);
    }
    case LB_DELETESTRING:
      ReleaseCheckData(static_cast<int>(wParam));
      break;
    case LB_RESETCONTENT:
    case WM_DESTROY:
      for (int i = GetCount() - 1; i >= 0; i--) ReleaseCheckData(i);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      int nIndex = -1;
      if (HitCheckBox(CPoint(lParam), &nIndex)) {
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        ToggleAndNotify(nIndex);
        return result;
      }
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        int nIndex = GetCaretIndex();
        if (nIndex >= 0 && nIndex < GetCount()) ToggleAndNotify(nIndex);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L' ') return 0;
      break;
    default:
      break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}

// The check box is drawn here; the line itself goes to DrawItem with the caller's item data and
// the rectangle right of the box.
BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_DRAWITEM) {
    auto* pdis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    DRAWITEMSTRUCT dis = *pdis;
    if (static_cast<int>(dis.itemID) >= 0) {
      CheckData* data = reinterpret_cast<CheckData*>(dis.itemData);
      CRect rectItem(dis.rcItem);
      CRect box = CheckBoxRect(static_cast<int>(dis.itemID), rectItem);
      CDC* pDC = CDC::FromHandle(dis.hDC);
      pDC->FillSolidRect(CRect(rectItem.left, rectItem.top, box.right + kCheckMargin, rectItem.bottom),
                         ::GetSysColor(COLOR_WINDOW));
      UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
      int nCheck = data ? data->nCheck : 0;
      if (nCheck == 1) state |= DFCS_CHECKED;
      if (nCheck == 2) state = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT;
      if ((data && !data->bEnabled) || (dis.itemState & ODS_DISABLED)) state |= DFCS_INACTIVE;
      pDC->DrawFrameControl(&box, DFC_BUTTON, state);
      dis.rcItem.left = box.right + kCheckMargin;
      dis.itemData = data ? data->dwUserData : 0;
    }
    DrawItem(&dis);
    if (pResult != nullptr) *pResult = TRUE;
    return TRUE;
  }
  if (message == WM_MEASUREITEM) {
    auto* pmis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
    CheckData* data = reinterpret_cast<CheckData*>(pmis->itemData);
    pmis->itemData = data ? data->dwUserData : 0;
    MeasureItem(pmis);
    if (pmis->itemHeight < static_cast<UINT>(kCheckBoxSize + 2)) pmis->itemHeight = kCheckBoxSize + 2;
    if (pResult != nullptr) *pResult = TRUE;
    return TRUE;
  }
  return CListBox::OnChildNotify(message, wParam, lParam, pResult);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (static_cast<int>(lpDrawItemStruct->itemID) < 0) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  CRect rect(lpDrawItemStruct->rcItem);
  BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  BOOL bEnabled = IsEnabled(static_cast<int>(lpDrawItemStruct->itemID)) && ::IsWindowEnabled(m_hWnd);
  COLORREF back = ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  COLORREF text = ::GetSysColor(!bEnabled   ? COLOR_GRAYTEXT
                                : bSelected ? COLOR_HIGHLIGHTTEXT
                                            : COLOR_WINDOWTEXT);
  pDC->FillSolidRect(&rect, back);
  CString str;
  if (GetStyle() & LBS_HASSTRINGS) GetText(static_cast<int>(lpDrawItemStruct->itemID), str);
  int nOldMode = pDC->SetBkMode(TRANSPARENT);
  COLORREF oldText = pDC->SetTextColor(text);
  CRect rectText = rect;
  rectText.left += kCheckMargin;
  pDC->DrawText(str, &rectText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  pDC->SetTextColor(oldText);
  pDC->SetBkMode(nOldMode);
  if (lpDrawItemStruct->itemState & ODS_FOCUS) pDC->DrawFocusRect(&rect);
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = kCheckBoxSize + 2;
}

// ---- CComboBox -----------------------------------------------------------------------------------

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  rString = TextOf(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }

void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (ReflectOwnerDraw(this, message, lParam, pResult)) return TRUE;
  return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
