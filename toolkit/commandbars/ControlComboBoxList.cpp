// The combo box's drop-down list: its list-box window, opening under the combo, tracking, keys, mouse
// and the stored items.
#include "ControlComboBoxList.h"

#include "BarTheme.h"
#include "CommandBars.h"
#include "ControlComboBox.h"
#include "StoredValues.h"

#include <PropExchange.h>
#include <PropItemEnumerator.h>

IMPLEMENT_SERIAL(CXTPControlComboBoxList, CXTPPopupBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BEGIN_MESSAGE_MAP(CXTPControlComboBoxList, CXTPPopupBar)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEACTIVATE()
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CXTPControlComboBoxList::CXTPControlComboBoxList() {
  m_barPosition = xtpBarListBox;
  m_bCustomizable = FALSE;
  m_bShowShadow = FALSE;
}

BOOL CXTPControlComboBoxList::CreateListWindow() {
  if (m_hWnd != nullptr) return TRUE;
  CWnd* pOwner = GetOwnerSite();
  const DWORD dwStyle = 0x82A00000 | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | m_dwStyle;
  if (!CreateEx(0x20080, L"LISTBOX", L"", dwStyle & ~WS_VISIBLE, 0, 0, 0, 0, pOwner->GetSafeHwnd(), nullptr))
    return FALSE;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetPaintManager()->GetIconFont()->GetSafeHandle()), FALSE);
  return TRUE;
}

BOOL CXTPControlComboBoxList::DestroyWindow() { return CXTPCommandBar::DestroyWindow(); }

BOOL CXTPControlComboBoxList::IsVisible() const { return m_hWnd != nullptr && IsWindowVisible(); }

BOOL CXTPControlComboBoxList::Popup(CXTPControlPopup* pControlPopup, BOOL) {
  CXTPControlComboBox* pCombo = DYNAMIC_DOWNCAST(CXTPControlComboBox, pControlPopup);
  if (pCombo == nullptr) return FALSE;
  m_pControlPopup = pControlPopup;
  m_pCombo = pCombo;
  if (!CreateListWindow()) return FALSE;
  InternalAddRef();
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetPaintManager()->GetIconFont()->GetSafeHandle()), FALSE);
  CWnd* pSite = GetOwnerSite();
  if (pSite->GetSafeHwnd() != nullptr)
    pSite->SendMessage(XTP_WM_INITPOPUP, 0, reinterpret_cast<LPARAM>(this));
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  const DWORD dwRTL = WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
  if (pCommandBars != nullptr && pCommandBars->IsLayoutRTL()) {
    ModifyStyleEx(0, dwRTL);
  } else {
    ModifyStyleEx(dwRTL, 0);
  }
  EnterTracking(1, FALSE, FALSE);
  if (m_hWnd == nullptr) {
    InternalRelease();
    return FALSE;
  }
  const int nRows = std::max(1, std::min(pCombo->GetDropDownItemCount(), GetCount()));
  const int nHeight = GetItemHeight() * nRows + 4;
  const int nWidth = m_nMRUWidth > 0 && m_nMRUWidth < 0x7FFF
                         ? m_nMRUWidth
                         : std::max(1, static_cast<int>(pCombo->GetRect().Width()) - pCombo->GetLabelWidth());
  UpdatePlacementFlags();
  m_ptPopup.x += pCombo->GetLabelWidth();
  const CRect rc = CalcPopupRect(CSize(nWidth, nHeight));
  SetWindowPos(&wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  EnableWindow(TRUE);
  InternalRelease();
  return TRUE;
}

BOOL CXTPControlComboBoxList::EnterTracking(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  InternalAddRef();
  // The list's window is only hidden when it closes: the popup bar's own closing would destroy it.
  if (!CXTPCommandBar::EnterTracking(nMode, bSelectFirst, bKeyboard)) {
    InternalRelease();
    return FALSE;
  }
  CXTPControlComboBox* pCombo = m_pCombo;
  if (nMode) {
    CXTPEdit::AddFocusedEditCount(1);
    if (pCombo != nullptr) {
      pCombo->InternalAddRef();
      if (CXTPEdit* pEdit = pCombo->GetEditCtrl()) {
        if (pEdit->GetSafeHwnd() != nullptr && ::GetFocus() != pEdit->GetSafeHwnd()) pEdit->SetFocus();
      }
      pCombo->m_bIgnoreAutoComplete = TRUE;
      pCombo->OnEditChanged();
      pCombo->NotifySite(XTP_CBN_DROPDOWN);
      pCombo->InternalRelease();
    }
  } else {
    if (pCombo != nullptr) pCombo->NotifySite(XTP_CBN_CLOSEUP);
    CXTPEdit::AddFocusedEditCount(-1);
    if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
    CWnd* pSite = GetOwnerSite();
    if (pSite->GetSafeHwnd() != nullptr)
      pSite->SendMessage(XTP_WM_POPUPCLOSED, 0, reinterpret_cast<LPARAM>(this));
    if (pCombo != nullptr) {
      CXTPCommandBar* pParent = pCombo->GetParent();
      if (pParent != nullptr && pParent->GetPopupedControl() == pCombo) pParent->SetPopuped(-1);
      if (pCombo->GetPopuped()) pCombo->SetPopuped(FALSE);
    }
    m_pCombo = nullptr;
    m_pControlPopup = nullptr;
  }
  InternalRelease();
  return TRUE;
}

int CXTPControlComboBoxList::OnKeyNavigate(UINT nChar) {
  CXTPControlComboBox* pCombo = m_pCombo;
  if (pCombo == nullptr || m_hWnd == nullptr) return CXTPPopupBar::OnKeyNavigate(nChar);
  const BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
  switch (nChar) {
    case VK_ESCAPE:
      // A focused combo restores its own text on Escape: the key goes on to its bar.
      if (pCombo->IsFocused()) return 0;
      EnterTracking(0);
      return 1;
    case VK_TAB:
      return 0;
    case VK_RETURN:
      pCombo->OnExecute();
      return 1;
    default:
      break;
  }
  if (pCombo->GetEditCtrl() != nullptr) {
    if (!bAlt && (nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_UP || nChar == VK_DOWN)) {
      if (ProcessListKey(nChar)) {
        pCombo->OnSelChanged();
        pCombo->GetEditCtrl()->SetSel(0, -1);
      }
      return 1;
    }
    return 0;
  }
  if (((nChar == VK_UP || nChar == VK_DOWN) && bAlt) || (nChar == VK_F4 && !bAlt)) return 0;
  if (ProcessListKey(nChar)) pCombo->OnSelChanged();
  return 1;
}

BOOL CXTPControlComboBoxList::ProcessListKey(UINT nChar) {
  if (m_hWnd == nullptr) return FALSE;
  const int nOld = GetCurSel();
  // The list box moves its selection in its own key handling.
  DefWindowProc(WM_KEYDOWN, nChar, 0);
  return GetCurSel() != nOld;
}

// ---- Items -------------------------------------------------------------------------------------------

int CXTPControlComboBoxList::AddString(LPCTSTR lpszString) {
  if (!CreateListWindow()) return LB_ERR;
  return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
}

int CXTPControlComboBoxList::InsertString(int nIndex, LPCTSTR lpszString) {
  if (!CreateListWindow()) return LB_ERR;
  return static_cast<int>(SendMessage(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(lpszString)));
}

int CXTPControlComboBoxList::GetCount() const {
  return m_hWnd != nullptr ? static_cast<int>(::SendMessage(m_hWnd, LB_GETCOUNT, 0, 0)) : 0;
}

CString CXTPControlComboBoxList::GetText(int nIndex) const {
  CString str;
  if (m_hWnd == nullptr) return str;
  const int nLength = static_cast<int>(::SendMessage(m_hWnd, LB_GETTEXTLEN, nIndex, 0));
  if (nLength == LB_ERR || nLength < 0) return str;
  ::SendMessage(m_hWnd, LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(str.GetBuffer(nLength + 1)));
  str.ReleaseBuffer();
  return str;
}

void CXTPControlComboBoxList::ResetContent() {
  if (m_hWnd != nullptr) SendMessage(LB_RESETCONTENT);
}

int CXTPControlComboBoxList::GetCurSel() const {
  return m_hWnd != nullptr ? static_cast<int>(::SendMessage(m_hWnd, LB_GETCURSEL, 0, 0)) : -1;
}

void CXTPControlComboBoxList::SetCurSel(int nIndex) {
  if (m_hWnd != nullptr) SendMessage(LB_SETCURSEL, nIndex);
}

int CXTPControlComboBoxList::FindString(int nStartAfter, LPCTSTR lpszString) const {
  return m_hWnd != nullptr ? static_cast<int>(::SendMessage(m_hWnd, LB_FINDSTRING, nStartAfter,
                                                            reinterpret_cast<LPARAM>(lpszString)))
                           : LB_ERR;
}

int CXTPControlComboBoxList::FindStringExact(int nStartAfter, LPCTSTR lpszString) const {
  return m_hWnd != nullptr ? static_cast<int>(::SendMessage(m_hWnd, LB_FINDSTRINGEXACT, nStartAfter,
                                                            reinterpret_cast<LPARAM>(lpszString)))
                           : LB_ERR;
}

int CXTPControlComboBoxList::GetItemHeight() const {
  const int nHeight = m_hWnd != nullptr ? static_cast<int>(::SendMessage(m_hWnd, LB_GETITEMHEIGHT, 0, 0)) : 0;
  return nHeight > 0 ? nHeight : 16;
}

// ---- Window ------------------------------------------------------------------------------------------

void CXTPControlComboBoxList::OnPaint() { Default(); }

BOOL CXTPControlComboBoxList::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(rc, GetPaintManager()->GetColor(5));
  return TRUE;
}

void CXTPControlComboBoxList::OnNcPaint() {
  Default();
  CWindowDC dc(this);
  CRect rc;
  GetWindowRect(&rc);
  rc.OffsetRect(-rc.left, -rc.top);
  CXTPBarTheme* pTheme = GetPaintManager();
  pTheme->Draw3dRect(&dc, rc, 43, 43);
  rc.DeflateRect(1, 1);
  pTheme->Draw3dRect(&dc, rc, 5, 5);
}

void CXTPControlComboBoxList::OnMouseMove(UINT, CPoint point) {
  const DWORD dwItem = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
  if (HIWORD(dwItem) == 0 && static_cast<int>(LOWORD(dwItem)) != GetCurSel()) SetCurSel(LOWORD(dwItem));
}

void CXTPControlComboBoxList::OnLButtonDown(UINT, CPoint) {}

void CXTPControlComboBoxList::OnLButtonDblClk(UINT, CPoint) {}

void CXTPControlComboBoxList::OnLButtonUp(UINT, CPoint point) {
  CXTPControlComboBox* pCombo = m_pCombo;
  if (pCombo == nullptr) return;
  const DWORD dwItem = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
  if (HIWORD(dwItem) != 0) return;
  pCombo->InternalAddRef();
  SetCurSel(LOWORD(dwItem));
  pCombo->OnSelChanged();
  pCombo->OnExecute();
  pCombo->InternalRelease();
}

int CXTPControlComboBoxList::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATE; }

BOOL CXTPControlComboBoxList::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }

// ---- Storage and copies ------------------------------------------------------------------------------

void CXTPControlComboBoxList::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPPopupBar::DoPropExchange(pPX);
  CXTPPropExchangeSection secItems(pPX, _T("Items"));
  if (pPX->IsStoring()) {
    long nCount = GetCount();
    PropExchangeLong(secItems, _T("Count"), nCount, 0);
    for (int i = 0; i < nCount; ++i) {
      CString strKey, strItem = GetText(i);
      strKey.Format(_T("Item%i"), i);
      PropExchangeString(secItems, strKey, strItem, _T(""));
    }
  } else {
    long nCount = 0;
    PropExchangeLong(secItems, _T("Count"), nCount, 0);
    ResetContent();
    // A count no program wrote (damaged state) is cut to what a list can sensibly hold.
    nCount = std::max(0L, std::min(nCount, 65536L));
    for (int i = 0; i < nCount; ++i) {
      CString strKey, strItem;
      strKey.Format(_T("Item%i"), i);
      PropExchangeStoredString(secItems, strKey, strItem, _T(""));
      AddString(strItem);
    }
  }
}

void CXTPControlComboBoxList::CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) {
  CXTPPopupBar::CopyBarProperties(pSource, bRecursive);
  CXTPControlComboBoxList* pList = DYNAMIC_DOWNCAST(CXTPControlComboBoxList, pSource);
  if (pList == nullptr || pList == this) return;
  ResetContent();
  for (int i = 0; i < pList->GetCount(); ++i) AddString(pList->GetText(i));
}

CXTPCommandBar* CXTPControlComboBoxList::CreateCopy(BOOL bRecursive) {
  CXTPControlComboBoxList* pList = new CXTPControlComboBoxList;
  pList->CopyBarProperties(this, bRecursive);
  return pList;
}
