// The edit control: its window's placement and format, focus, keys, hint, text cache and stored record,
// and the placement and focus pieces it shares with the combo box.
#include "ControlEdit.h"

#include "BarTheme.h"
#include "CommandBar.h"
#include "CommandBars.h"
#include "ShellAutoComplete.h"
#include "StoredValues.h"

#include <ColorTable.h>
#include <TipSettings.h>

#include <windowsx.h>

IMPLEMENT_SERIAL(CXTPControlEdit, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

// ---- Shared field pieces -----------------------------------------------------------------------------

namespace XTPBarField {

BOOL PlaceWindow(CXTPControl* pControl, CXTPEdit* pEdit, CRect rcWindow, BOOL bCreate) {
  CXTPCommandBar* pBar = pControl->GetParent();
  if (pEdit == nullptr || pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return FALSE;
  if (bCreate && pEdit->GetSafeHwnd() == nullptr && !pEdit->CreateEdit(WS_CHILD | ES_AUTOHSCROLL, pBar))
    return FALSE;
  if (pEdit->GetSafeHwnd() == nullptr) return FALSE;
  CXTPBarTheme* pTheme = pControl->GetPaintManager();
  pEdit->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pTheme->GetIconFont()->GetSafeHandle()), FALSE);
  pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  pEdit->SetWindowPos(nullptr, rcWindow.left, rcWindow.top, std::max(0, rcWindow.Width()),
                      std::max(0, rcWindow.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
  pEdit->SetWindowPos(nullptr, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                          (pControl->GetHideFlags() != 0 ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
  return TRUE;
}

void RememberFocus(CXTPControl* pControl, CWnd* pOldWnd) {
  CXTPCommandBar* pBar = pControl->GetParent();
  if (pBar == nullptr || pBar->GetFocusReturnWindow() != nullptr) return;
  HWND hWnd = pOldWnd != nullptr ? pOldWnd->GetSafeHwnd() : nullptr;
  if (hWnd == nullptr) {
    CWnd* pSite = pBar->GetOwnerSite();
    hWnd = pSite != nullptr ? pSite->GetSafeHwnd() : nullptr;
  }
  pBar->SetFocusReturnWindow(hWnd);
}

void ReturnFocus(CXTPControl* pControl, CXTPEdit* pEdit) {
  CXTPCommandBar* pBar = pControl->GetParent();
  if (pBar == nullptr) return;
  HWND hWndReturn = pBar->GetFocusReturnWindow();
  pBar->SetFocusReturnWindow(nullptr);
  if (pEdit == nullptr || pEdit->GetSafeHwnd() == nullptr || ::GetFocus() != pEdit->GetSafeHwnd()) return;
  if (hWndReturn == nullptr || !::IsWindow(hWndReturn) || hWndReturn == pEdit->GetSafeHwnd()) {
    CWnd* pSite = pBar->GetOwnerSite();
    hWndReturn = pSite != nullptr ? pSite->GetSafeHwnd() : nullptr;
  }
  if (hWndReturn != nullptr) ::SetFocus(hWndReturn);
}

void RelayToBarTips(CXTPControl* pControl, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < WM_MOUSEFIRST || message > WM_MOUSELAST) return;
  CXTPCommandBar* pBar = pControl->GetParent();
  CXTPTipSettings* pTips = pBar != nullptr ? pBar->GetToolTipContext() : nullptr;
  if (pTips != nullptr && pBar->GetSafeHwnd() != nullptr) pTips->RelayEvent(pBar, message, wParam, lParam);
}

BOOL OnFieldMouse(CXTPControl* pControl, CXTPEdit* pEdit, UINT message, WPARAM, LPARAM lParam) {
  CXTPCommandBar* pBar = pControl->GetParent();
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return FALSE;
  CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  pEdit->MapWindowPoints(pBar, &pt, 1);
  switch (message) {
    case WM_LBUTTONDOWN:
      if (pControl->IsCustomizeMode()) {
        if (pBar->IsCustomizable() && !(pControl->GetFlags() & xtpFlagNoMovable))
          pControl->OnClick(FALSE, pt);
        return TRUE;
      }
      return FALSE;
    case WM_RBUTTONDOWN:
      if (pControl->IsCustomizeMode()) {
        pBar->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
        return TRUE;
      }
      pControl->SetFocused(TRUE);
      {
        CPoint ptScreen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        pEdit->ClientToScreen(&ptScreen);
        pEdit->ShowContextMenu(pControl, ptScreen);
      }
      return TRUE;
    case WM_MOUSEMOVE:
      // The bar goes on hot tracking over the field.
      pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
      return FALSE;
    default:
      return FALSE;
  }
}

DWORD DockingHideFlags(DWORD dwHideFlags, DWORD dwMode) {
  return (dwMode & LM_VERTDOCK) ? (dwHideFlags | xtpHideDockingPosition)
                                : (dwHideFlags & ~static_cast<DWORD>(xtpHideDockingPosition));
}

void HideWindowWhenHidden(CXTPEdit* pEdit, DWORD dwHideFlags) {
  if (pEdit != nullptr && pEdit->GetSafeHwnd() != nullptr && dwHideFlags != 0)
    pEdit->SetWindowPos(nullptr, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

CString ReadText(const CXTPEdit* pEdit, BOOL bHintShown, CString& strCache, BOOL& bStale) {
  if (bHintShown) return CString();
  if (pEdit != nullptr && pEdit->GetSafeHwnd() != nullptr && bStale) {
    pEdit->GetWindowText(strCache);
    bStale = FALSE;
  }
  return strCache;
}

void KeepWindowText(CXTPEdit* pEdit, BOOL bHintShown, CString& strCache, BOOL& bStale) {
  strCache.Empty();
  if (!bHintShown) pEdit->GetWindowText(strCache);
  bStale = FALSE;
}

CXTPShellAutoComplete* MakeShellAutoComplete(CXTPEdit* pEdit, DWORD dwFlags) {
  if (pEdit == nullptr || pEdit->GetSafeHwnd() == nullptr || dwFlags == 0) return nullptr;
  CXTPShellAutoComplete* pAutoComplete = new CXTPShellAutoComplete(pEdit->GetSafeHwnd());
  if (!pAutoComplete->Enable(dwFlags)) {
    delete pAutoComplete;
    return nullptr;
  }
  return pAutoComplete;
}

}  // namespace XTPBarField

// ---- Edit window -------------------------------------------------------------------------------------

LRESULT CXTPEditControlWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CXTPControlEdit* pControl = m_pControl;
  if (pControl != nullptr) {
    XTPBarField::RelayToBarTips(pControl, message, wParam, lParam);
    LRESULT lResult = 0;
    if (XTPBarField::OnFieldMessage(pControl, this, message, wParam, lParam, lResult)) return lResult;
    switch (message) {
      case WM_KEYDOWN:
        // Keys the bars' keyboard hook did not take (no bar tracks): the field's own Escape and Enter.
        if (wParam == VK_ESCAPE && pControl->OnHookKeyDown(VK_ESCAPE, lParam) == 1) return 0;
        if (wParam == VK_RETURN && pControl->IsFocused()) {
          pControl->OnClick(TRUE);
          return 0;
        }
        break;
      case WM_DESTROY:
        XTPBarField::KeepWindowText(this, pControl->m_bHintShown, pControl->m_strEditText,
                                    pControl->m_bEditChanged);
        break;
      default:
        break;
    }
  }
  return CXTPEdit::WindowProc(message, wParam, lParam);
}

BOOL CXTPEditControlWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  return CXTPEdit::OnCommand(wParam, lParam);
}

BOOL CXTPEditControlWindow::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && m_pControl != nullptr) {
    m_pControl->OnWindowTextChanged();
    if (pResult != nullptr) *pResult = 0;
    return TRUE;
  }
  return CXTPEdit::OnChildNotify(message, wParam, lParam, pResult);
}

// ---- Control -----------------------------------------------------------------------------------------

CXTPControlEdit::CXTPControlEdit() { m_controlType = xtpControlEdit; }

CXTPControlEdit::~CXTPControlEdit() {
  DestroyEditWindow();
  delete m_pEdit;
  m_pEdit = nullptr;
}

void CXTPControlEdit::CreateEditWindow() {
  if (m_pEdit == nullptr) m_pEdit = new CXTPEditControlWindow(this);
}

void CXTPControlEdit::DestroyEditWindow() {
  delete m_pAutoComplete;
  m_pAutoComplete = nullptr;
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->DestroyWindow();
}

void XTPBarField::FieldColors(CXTPBarTheme* pTheme, BOOL bEnabled, BOOL bHintShown, COLORREF& clrText,
                              COLORREF& clrBack) {
  if (bEnabled) {
    clrText = pTheme->GetColor(bHintShown ? 17 : 18);
    clrBack = pTheme->GetColor(5);
  } else {
    clrText = pTheme->GetColor(17);
    clrBack = pTheme->GetColor(15);
  }
}

void CXTPControlEdit::GetCharFormat(COLORREF& clrText, COLORREF& clrBack) {
  XTPBarField::FieldColors(GetPaintManager(), m_bEnabled, m_bHintShown, clrText, clrBack);
}

void CXTPControlEdit::ApplyWindowFormat() {
  if (m_pEdit == nullptr || m_pEdit->GetSafeHwnd() == nullptr) return;
  COLORREF clrText = 0, clrBack = 0;
  GetCharFormat(clrText, clrBack);
  m_pEdit->ApplyCharFormat(clrText, clrBack);
}

CString CXTPControlEdit::GetEditText() const {
  return XTPBarField::ReadText(m_pEdit, m_bHintShown, m_strEditText, m_bEditChanged);
}

void CXTPControlEdit::ShowText(const CString& strText) {
  const BOOL bHint = strText.IsEmpty() && !m_strEditHint.IsEmpty() && !m_bFocused;
  m_bHintShown = bHint;
  m_strEditText = bHint ? CString() : strText;
  m_bEditChanged = FALSE;
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
    m_pEdit->SetWindowText(bHint ? m_strEditHint : strText);
    m_bEditChanged = FALSE;
    ApplyWindowFormat();
  }
}

void CXTPControlEdit::SetEditText(LPCTSTR lpszText) { ShowText(lpszText != nullptr ? lpszText : L""); }

void CXTPControlEdit::SetEditHint(LPCTSTR lpszHint) {
  const CString strText = GetEditText();
  m_strEditHint = lpszHint != nullptr ? lpszHint : L"";
  ShowText(strText);
}

void CXTPControlEdit::OnWindowTextChanged() {
  m_bEditChanged = TRUE;
  if (m_pEdit != nullptr && ::GetFocus() == m_pEdit->GetSafeHwnd()) OnEditChanged();
  m_pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  ApplyWindowFormat();
}

void CXTPControlEdit::OnEditChanged() { NotifySite(XTP_EN_CHANGE); }

void CXTPControlEdit::SetShellAutoComplete(DWORD dwFlags) {
  m_dwShellAutoCompleteFlags = dwFlags;
  delete m_pAutoComplete;
  m_pAutoComplete = XTPBarField::MakeShellAutoComplete(m_pEdit, dwFlags);
}

void CXTPControlEdit::SetReadOnly(BOOL bReadOnly) {
  m_bReadOnly = bReadOnly;
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->SetReadOnly(bReadOnly);
}

void CXTPControlEdit::SetEnabled(BOOL bEnabled) {
  if (bEnabled == m_bEnabled) return;
  CXTPControl::SetEnabled(bEnabled);
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
    m_pEdit->EnableWindow(bEnabled);
    ApplyWindowFormat();
  }
}

void CXTPControlEdit::SetRect(CRect rcControl) {
  CreateEditWindow();
  HWND hWnd = m_pEdit->GetSafeHwnd();
  if (hWnd != nullptr && ((::GetWindowLong(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) || m_pParent == nullptr ||
                          ::GetParent(hWnd) != m_pParent->GetSafeHwnd())) {
    DestroyEditWindow();
    hWnd = nullptr;
  }
  if (m_rcControl == rcControl && hWnd != nullptr && !m_bDelayReposition) return;
  m_rcControl = rcControl;
  m_bDelayReposition = FALSE;
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return;
  const BOOL bCreated = hWnd == nullptr;
  CRect rcWindow = rcControl;
  rcWindow.DeflateRect(m_nLabelWidth + 4, 3, 3, 3);
  if (!XTPBarField::PlaceWindow(this, m_pEdit, rcWindow, TRUE)) return;
  if (bCreated) {
    ShowText(m_strEditText);
    m_pEdit->EnableWindow(m_bEnabled);
    if (m_dwShellAutoCompleteFlags != 0) SetShellAutoComplete(m_dwShellAutoCompleteFlags);
  }
  ApplyWindowFormat();
  m_pEdit->SetReadOnly(m_bReadOnly);
}

void CXTPControlEdit::SetHideFlags(DWORD dwFlags) {
  CXTPControl::SetHideFlags(dwFlags);
  XTPBarField::HideWindowWhenHidden(m_pEdit, dwFlags);
  m_bDelayReposition = TRUE;
}

void CXTPControlEdit::OnCalcDynamicSize(DWORD dwMode) {
  SetHideFlags(XTPBarField::DockingHideFlags(m_dwHideFlags, dwMode));
}

void CXTPControlEdit::SetParent(CXTPCommandBar* pParent) {
  if (pParent != m_pParent) {
    if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
      if (m_bFocused) SetFocused(FALSE);
      DestroyEditWindow();
    }
    m_bDelayReposition = TRUE;
  }
  CXTPControl::SetParent(pParent);
}

void CXTPControlEdit::OnSetFocus(CWnd* pOldWnd) {
  if (m_bHintShown) {
    m_bHintShown = FALSE;
    m_pEdit->SetWindowText(L"");
    m_bEditChanged = TRUE;
    ApplyWindowFormat();
  }
  m_strLastText = GetEditText();
  XTPBarField::RememberFocus(this, pOldWnd);
  if (m_pParent != nullptr) m_pParent->SetPopuped(-1);
  SetFocused(TRUE);
  if (m_pAutoComplete != nullptr) m_pAutoComplete->SetHook(TRUE);
}

void CXTPControlEdit::OnKillFocus() {
  if (GetEditText().IsEmpty() && !m_strEditHint.IsEmpty()) {
    m_bFocused = FALSE;
    ShowText(CString());
    m_bFocused = TRUE;
  }
  SetFocused(FALSE);
  if (m_pAutoComplete != nullptr) m_pAutoComplete->SetHook(FALSE);
}

void CXTPControlEdit::SetFocused(BOOL bFocused) {
  if (bFocused == m_bFocused) return;
  InternalAddRef();
  m_bFocused = bFocused;
  CXTPCommandBar* pBar = m_pParent;
  if (bFocused) {
    if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr) {
      pBar->EnterTracking(1, FALSE, FALSE);
      pBar->SetSelected(m_nIndex, FALSE);
    }
    if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr && ::GetFocus() != m_pEdit->GetSafeHwnd())
      m_pEdit->SetFocus();
    CXTPEdit::AddFocusedEditCount(1);
    NotifySite(XTP_EN_SETFOCUS);
  } else {
    XTPBarField::ReturnFocus(this, m_pEdit);
    CXTPEdit::AddFocusedEditCount(-1);
    NotifySite(XTP_EN_KILLFOCUS);
  }
  if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr) pBar->Redraw();
  InternalRelease();
}

int CXTPControlEdit::OnHookKeyDown(UINT nChar, LPARAM lParam) {
  if (!m_bFocused || m_pEdit == nullptr || m_pEdit->GetSafeHwnd() == nullptr) return 0;
  if (m_pEdit->IsComposing()) return 2;
  if (nChar == VK_TAB || nChar == VK_RETURN) return 0;
  if (nChar == VK_ESCAPE) {
    ShowText(m_strLastText);
    m_bEditChanged = TRUE;
    SetFocused(FALSE);
    return 1;
  }
  if (m_pAutoComplete != nullptr && m_pAutoComplete->ProcessKey(nChar)) return 1;
  (void)lParam;
  return m_pEdit->ProcessKey(nChar) ? 1 : 2;
}

void CXTPControlEdit::OnClick(BOOL bKeyboard, CPoint pt) {
  if (IsCustomizeMode()) {
    if (m_pParent != nullptr) {
      m_pParent->SetPopuped(-1);
      m_pParent->SetSelected(-1);
    }
    OnCustomizeMouseDown(pt);
    return;
  }
  if (bKeyboard && m_bFocused) {
    OnExecute();
    return;
  }
  if (m_bEnabled && m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->SetFocus();
}

void CXTPControlEdit::OnMouseHover() {
  if (CXTPEdit::GetFocusedEditCount() > 0) return;
  CXTPControl::OnMouseHover();
}

BOOL CXTPControlEdit::OnSetSelected(int bSelected) {
  const BOOL bChanged = CXTPControl::OnSetSelected(bSelected);
  if (!bSelected) SetFocused(FALSE);
  return bChanged;
}

BOOL CXTPControlEdit::IsEqual(CXTPControl* pOther) {
  CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, pOther);
  return CXTPControl::IsEqual(pOther) && pEdit != nullptr && pEdit->m_nWidth == m_nWidth &&
         pEdit->m_bLabel == m_bLabel && pEdit->m_bReadOnly == m_bReadOnly;
}

void CXTPControlEdit::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControl::Copy(pControl, bRecursive);
  CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, pControl);
  if (pEdit == nullptr || pEdit == this) return;
  m_nWidth = pEdit->m_nWidth;
  m_bLabel = pEdit->m_bLabel;
  m_bReadOnly = pEdit->m_bReadOnly;
  m_strEditHint = pEdit->m_strEditHint;
  m_dwShellAutoCompleteFlags = pEdit->m_dwShellAutoCompleteFlags;
  SetEditText(pEdit->GetEditText());
}

void CXTPControlEdit::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControl::DoPropExchange(pPX);
  if (pPX->GetSchema() > 5) {
    long nWidth = m_nWidth;
    PropExchangeStoredBool(pPX, _T("HasLabel"), m_bLabel, FALSE);
    PropExchangeStoredLong(pPX, _T("Width"), nWidth, 0, 0, XTP_STORED_EXTENT_MAX);
    if (pPX->IsLoading()) m_nWidth = nWidth;
  }
  if (pPX->GetSchema() > 7) PropExchangeStoredBool(pPX, _T("ReadOnly"), m_bReadOnly, FALSE);
  if (pPX->GetSchema() > 8) {
    DWORD dwFlags = m_dwShellAutoCompleteFlags;
    PropExchangeStoredString(pPX, _T("EditHint"), m_strEditHint, _T(""));
    PropExchangeStoredFlags(pPX, _T("ShellAutoCompleteFlags"), dwFlags, 0, XTP_STORED_AUTOCOMPLETE_FLAGS);
    if (pPX->IsLoading()) SetShellAutoComplete(dwFlags);
  }
  if (pPX->IsLoading()) ShowText(CString());
}

void CXTPControlEdit::SetWidth(int nWidth) {
  if (m_nWidth == nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

void CXTPControlEdit::ShowLabel(BOOL bShow) {
  if (m_bLabel == bShow) return;
  m_bLabel = bShow;
  DelayLayoutParent();
}

void CXTPControlEdit::SetLabelWidth(int nWidth) {
  if (m_nLabelWidth == nWidth) return;
  m_nLabelWidth = nWidth;
  m_bDelayReposition = TRUE;
  DelayLayoutParent();
}
