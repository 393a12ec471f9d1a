// The combo box: its field window, list, selection, typed completion, focus, keys, drawing of the
// drop-list text and stored record.
#include "ControlComboBox.h"

#include "BarTheme.h"
#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlComboBoxList.h"
#include "ControlEdit.h"
#include "ShellAutoComplete.h"
#include "StoredValues.h"

#include <ImageManager.h>
#include <ScopedFont.h>

IMPLEMENT_SERIAL(CXTPControlComboBox, CXTPControlPopup, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

// ---- Field window ------------------------------------------------------------------------------------

LRESULT CXTPComboEditWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CXTPControlComboBox* pControl = m_pControl;
  if (pControl != nullptr) {
    XTPBarField::RelayToBarTips(pControl, message, wParam, lParam);
    LRESULT lResult = 0;
    if (XTPBarField::OnFieldMessage(pControl, this, message, wParam, lParam, lResult)) return lResult;
    switch (message) {
      case WM_KEYDOWN: {
        // Keys the bars' keyboard hook did not take (no bar tracks): the combo's own keys.
        const UINT nChar = static_cast<UINT>(wParam);
        pControl->m_bIgnoreAutoComplete = nChar == VK_DELETE || nChar == VK_BACK;
        if (nChar == VK_RETURN && pControl->IsFocused()) {
          pControl->OnClick(TRUE);
          return 0;
        }
        if ((nChar == VK_ESCAPE || nChar == VK_UP || nChar == VK_DOWN || nChar == VK_PRIOR ||
             nChar == VK_NEXT || nChar == VK_F4) &&
            pControl->OnHookKeyDown(nChar, lParam) == 1)
          return 0;
        break;
      }
      case XTP_WM_EDITNOTIFY:
        // The shell's suggestions opened: the combo's own list gives way.
        if (pControl->IsListOpen()) pControl->GetComboBoxList()->EnterTracking(0);
        return 0;
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

BOOL CXTPComboEditWindow::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && m_pControl != nullptr) {
    m_pControl->OnWindowTextChanged();
    if (pResult != nullptr) *pResult = 0;
    return TRUE;
  }
  return CXTPEdit::OnChildNotify(message, wParam, lParam, pResult);
}

// ---- Control -----------------------------------------------------------------------------------------

CXTPControlComboBox::CXTPControlComboBox() {
  m_controlType = xtpControlComboBox;
  CXTPControlComboBoxList* pList = new CXTPControlComboBoxList;
  SetCommandBar(pList);
  pList->InternalRelease();
}

CXTPControlComboBox::~CXTPControlComboBox() {
  DestroyEditWindow();
  delete m_pEdit;
  m_pEdit = nullptr;
}

CXTPControlComboBoxList* CXTPControlComboBox::GetComboBoxList() const {
  return DYNAMIC_DOWNCAST(CXTPControlComboBoxList, m_pCommandBar);
}

void CXTPControlComboBox::CreateEditWindow() {
  if (m_pEdit == nullptr) m_pEdit = new CXTPComboEditWindow(this);
}

void CXTPControlComboBox::DestroyEditWindow() {
  delete m_pAutoComplete;
  m_pAutoComplete = nullptr;
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->DestroyWindow();
}

void CXTPControlComboBox::SetDropDown(BOOL bDropDown) {
  m_bDropDown = bDropDown;
  if (bDropDown) {
    CreateEditWindow();
    m_bDelayReposition = TRUE;
  } else if (m_pEdit != nullptr) {
    const CString strText = GetEditText();
    DestroyEditWindow();
    delete m_pEdit;
    m_pEdit = nullptr;
    m_strEditText = strText;
  }
  DelayLayoutParent();
}

// ---- List --------------------------------------------------------------------------------------------

int CXTPControlComboBox::AddString(LPCTSTR lpszString) {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  return pList != nullptr ? pList->AddString(lpszString) : LB_ERR;
}

int CXTPControlComboBox::InsertString(int nIndex, LPCTSTR lpszString) {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  return pList != nullptr ? pList->InsertString(nIndex, lpszString) : LB_ERR;
}

int CXTPControlComboBox::GetCount() const {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  return pList != nullptr ? pList->GetCount() : 0;
}

CString CXTPControlComboBox::GetLBText(int nIndex) const {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  return pList != nullptr ? pList->GetText(nIndex) : CString();
}

void CXTPControlComboBox::ResetContent() {
  if (CXTPControlComboBoxList* pList = GetComboBoxList()) pList->ResetContent();
  m_nCurSel = -1;
}

int CXTPControlComboBox::FindStringExact(int nStartAfter, LPCTSTR lpszString) const {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  return pList != nullptr ? pList->FindStringExact(nStartAfter, lpszString) : LB_ERR;
}

BOOL CXTPControlComboBox::IsListOpen() const {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  return pList != nullptr && pList->GetComboBox() == this && pList->IsTrackingMode();
}

int CXTPControlComboBox::GetCurSel() const {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  return pList != nullptr && pList->GetSafeHwnd() != nullptr ? pList->GetCurSel() : m_nCurSel;
}

void CXTPControlComboBox::SetCurSel(int nIndex) {
  if (nIndex == GetCurSel()) return;
  m_nCurSel = nIndex;
  if (CXTPControlComboBoxList* pList = GetComboBoxList()) pList->SetCurSel(nIndex);
  OnSelChanged();
}

CString CXTPControlComboBox::GetListText() const {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  if (pList == nullptr || pList->GetSafeHwnd() == nullptr) return CString();
  const int nSel = pList->GetCurSel();
  return nSel >= 0 ? pList->GetText(nSel) : CString();
}

void CXTPControlComboBox::OnSelChanged() {
  InternalAddRef();
  ShowText(GetListText());
  m_bEditChanged = TRUE;
  RedrawParent();
  NotifySite(XTP_CBN_SELCHANGE);
  InternalRelease();
}

BOOL CXTPControlComboBox::MoveListSelection(UINT nChar) {
  CXTPControlComboBoxList* pList = GetComboBoxList();
  if (pList == nullptr || pList->GetSafeHwnd() == nullptr) return FALSE;
  if (!pList->ProcessListKey(nChar)) return FALSE;
  OnSelChanged();
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->SetSel(0, -1);
  return TRUE;
}

// ---- Text --------------------------------------------------------------------------------------------

CString CXTPControlComboBox::GetEditText() const {
  return XTPBarField::ReadText(m_pEdit, m_bHintShown, m_strEditText, m_bEditChanged);
}

void CXTPControlComboBox::ShowText(const CString& strText) {
  const BOOL bHint = strText.IsEmpty() && !m_strEditHint.IsEmpty() && !m_bFocused;
  m_bHintShown = bHint;
  m_strEditText = bHint ? CString() : strText;
  m_bEditChanged = FALSE;
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
    const BOOL bOld = m_bInEditChange;
    m_bInEditChange = TRUE;
    m_pEdit->SetWindowText(bHint ? m_strEditHint : strText);
    m_bInEditChange = bOld;
    m_bEditChanged = FALSE;
    ApplyWindowFormat();
  }
}

void CXTPControlComboBox::SetEditText(LPCTSTR lpszText) { ShowText(lpszText != nullptr ? lpszText : L""); }

void CXTPControlComboBox::SetEditHint(LPCTSTR lpszHint) {
  const CString strText = GetEditText();
  m_strEditHint = lpszHint != nullptr ? lpszHint : L"";
  ShowText(strText);
  RedrawParent();
}

void CXTPControlComboBox::GetCharFormat(COLORREF& clrText, COLORREF& clrBack) {
  XTPBarField::FieldColors(GetPaintManager(), m_bEnabled, m_bHintShown, clrText, clrBack);
}

void CXTPControlComboBox::ApplyWindowFormat() {
  if (m_pEdit == nullptr || m_pEdit->GetSafeHwnd() == nullptr) return;
  COLORREF clrText = 0, clrBack = 0;
  GetCharFormat(clrText, clrBack);
  m_pEdit->ApplyCharFormat(clrText, clrBack);
}

void CXTPControlComboBox::OnWindowTextChanged() {
  m_bEditChanged = TRUE;
  if (m_bInEditChange) return;
  if (m_pEdit != nullptr && ::GetFocus() == m_pEdit->GetSafeHwnd()) OnEditChanged();
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
    m_pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    ApplyWindowFormat();
  }
}

void CXTPControlComboBox::OnEditChanged() {
  if (m_bInEditChange) return;
  m_bInEditChange = TRUE;
  InternalAddRef();
  CXTPControlComboBoxList* pList = GetComboBoxList();
  const BOOL bListWindow = pList != nullptr && pList->GetSafeHwnd() != nullptr;
  const BOOL bEditWindow = m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr;
  if (m_bAutoComplete && !m_bIgnoreAutoComplete && bEditWindow && bListWindow) {
    CString strText;
    m_pEdit->GetWindowText(strText);
    int nStart = 0, nEnd = 0;
    m_pEdit->GetSel(nStart, nEnd);
    if (!strText.IsEmpty() && nStart == nEnd && nEnd == strText.GetLength()) {
      const int nFound = pList->FindString(-1, strText);
      if (nFound >= 0) {
        const CString strItem = pList->GetText(nFound);
        m_pEdit->SetWindowText(strItem);
        m_pEdit->SetSel(strItem.GetLength(), strText.GetLength(), TRUE);
        m_pEdit->SendMessage(EM_SCROLLCARET);
      }
    }
    m_bIgnoreAutoComplete = TRUE;
  }
  m_bEditChanged = TRUE;
  if (bEditWindow && bListWindow) {
    const CString strText = GetEditText();
    const int nExact = strText.IsEmpty() ? LB_ERR : pList->FindStringExact(-1, strText);
    if (nExact >= 0) {
      pList->SetCurSel(nExact);
    } else {
      const int nPrefix = strText.IsEmpty() ? LB_ERR : pList->FindString(-1, strText);
      if (nPrefix >= 0) {
        pList->SendMessage(LB_SETTOPINDEX, nPrefix);
        pList->SetCurSel(nPrefix);
      }
      pList->SetCurSel(-1);
    }
  }
  m_bInEditChange = FALSE;
  NotifySite(XTP_CBN_EDITCHANGE);
  InternalRelease();
}

void CXTPControlComboBox::SetShellAutoComplete(DWORD dwFlags) {
  m_dwShellAutoCompleteFlags = dwFlags;
  delete m_pAutoComplete;
  m_pAutoComplete = XTPBarField::MakeShellAutoComplete(m_pEdit, dwFlags);
}

// ---- Placement ---------------------------------------------------------------------------------------

void CXTPControlComboBox::AdjustEditRect(CRect& rc) {
  if (m_nEditIconId <= 0) return;
  CXTPImageManager* pImages = GetImageManager();
  CXTPImageManagerIcon* pIcon =
      pImages != nullptr ? pImages->GetImage(static_cast<UINT>(m_nEditIconId), 0) : nullptr;
  if (pIcon != nullptr) rc.left += pIcon->GetWidth() + 2;
}

void CXTPControlComboBox::SetRect(CRect rcControl) {
  if (!m_bDropDown) {
    m_rcControl = rcControl;
    return;
  }
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
  rcWindow.DeflateRect(m_nLabelWidth + 4, 3, m_nThumbWidth + 3, 3);
  AdjustEditRect(rcWindow);
  if (!XTPBarField::PlaceWindow(this, m_pEdit, rcWindow, TRUE)) return;
  if (bCreated) {
    ShowText(m_strEditText);
    m_pEdit->EnableWindow(m_bEnabled);
    if (m_dwShellAutoCompleteFlags != 0) SetShellAutoComplete(m_dwShellAutoCompleteFlags);
  }
  ApplyWindowFormat();
}

void CXTPControlComboBox::SetHideFlags(DWORD dwFlags) {
  CXTPControl::SetHideFlags(dwFlags);
  XTPBarField::HideWindowWhenHidden(m_pEdit, dwFlags);
  m_bDelayReposition = TRUE;
}

void CXTPControlComboBox::OnCalcDynamicSize(DWORD dwMode) {
  SetHideFlags(XTPBarField::DockingHideFlags(m_dwHideFlags, dwMode));
}

void CXTPControlComboBox::SetParent(CXTPCommandBar* pParent) {
  if (pParent != m_pParent) {
    if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
      if (m_bFocused) SetFocused(FALSE);
      const CString strText = GetEditText();
      DestroyEditWindow();
      m_strEditText = strText;
    }
    m_bDelayReposition = TRUE;
  }
  CXTPControlPopup::SetParent(pParent);
}

void CXTPControlComboBox::SetEnabled(BOOL bEnabled) {
  if (bEnabled == m_bEnabled) return;
  CXTPControl::SetEnabled(bEnabled);
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
    m_pEdit->EnableWindow(bEnabled);
    ApplyWindowFormat();
  }
}

// ---- Focus -------------------------------------------------------------------------------------------

void CXTPControlComboBox::OnSetFocus(CWnd* pOldWnd) {
  if (m_bHintShown) {
    m_bHintShown = FALSE;
    m_bInEditChange = TRUE;
    m_pEdit->SetWindowText(L"");
    m_bInEditChange = FALSE;
    m_bEditChanged = TRUE;
    ApplyWindowFormat();
  }
  m_strLastText = GetEditText();
  XTPBarField::RememberFocus(this, pOldWnd);
  m_bIgnoreAutoComplete = TRUE;
  OnEditChanged();
  if (m_pParent != nullptr && !IsListOpen()) m_pParent->SetPopuped(-1);
  SetFocused(TRUE);
  if (m_pAutoComplete != nullptr) m_pAutoComplete->SetHook(TRUE);
}

void CXTPControlComboBox::OnKillFocus() {
  if (GetEditText().IsEmpty() && !m_strEditHint.IsEmpty()) {
    m_bFocused = FALSE;
    ShowText(CString());
    m_bFocused = TRUE;
  }
  if (m_pParent != nullptr && IsListOpen()) m_pParent->SetPopuped(-1);
  SetFocused(FALSE);
  if (m_pAutoComplete != nullptr) m_pAutoComplete->SetHook(FALSE);
}

void CXTPControlComboBox::SetFocused(BOOL bFocused) {
  if (bFocused == m_bFocused) return;
  InternalAddRef();
  CXTPCommandBar* pBar = m_pParent;
  if (bFocused) {
    m_nLastSel = GetCurSel();
    m_bSelEndOk = FALSE;
    m_bFocused = TRUE;
    if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr) {
      pBar->EnterTracking(1, FALSE, FALSE);
      pBar->SetSelected(m_nIndex, FALSE);
    }
    if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr && ::GetFocus() != m_pEdit->GetSafeHwnd())
      m_pEdit->SetFocus();
    CXTPEdit::AddFocusedEditCount(1);
    NotifySite(XTP_CBN_SETFOCUS);
  } else {
    m_bFocused = FALSE;
    if (!m_bSelEndOk && !IsListOpen() && !m_bDropDown) {
      SetCurSel(m_nLastSel);
      NotifySite(XTP_CBN_SELENDCANCEL);
    }
    XTPBarField::ReturnFocus(this, m_pEdit);
    CXTPEdit::AddFocusedEditCount(-1);
    NotifySite(XTP_CBN_KILLFOCUS);
  }
  if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr) pBar->Redraw();
  InternalRelease();
}

// ---- Keys and mouse ----------------------------------------------------------------------------------

int CXTPControlComboBox::OnHookKeyDown(UINT nChar, LPARAM) {
  m_bIgnoreAutoComplete = nChar == VK_DELETE || nChar == VK_BACK;
  if (!m_bFocused) return 0;
  if (m_pEdit != nullptr && m_pEdit->IsComposing()) return 2;
  const BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
  const BOOL bShellActive = m_pAutoComplete != nullptr && m_pAutoComplete->IsSuggestionShown();
  if (nChar == VK_TAB && !(bShellActive && (m_dwShellAutoCompleteFlags & 0x08))) return 0;
  if (nChar == VK_RETURN) return 0;
  if (nChar == VK_ESCAPE) {
    InternalAddRef();
    if (IsListOpen()) GetComboBoxList()->EnterTracking(0);
    SetCurSel(m_nLastSel);
    ShowText(m_strLastText);
    m_bEditChanged = TRUE;
    SetFocused(FALSE);
    InternalRelease();
    return 1;
  }
  if (((nChar == VK_UP || nChar == VK_DOWN) && bAlt) || (nChar == VK_F4 && !bAlt)) {
    OnClick(FALSE, CPoint(0, 0));
    return 1;
  }
  if (m_pAutoComplete != nullptr && m_pAutoComplete->ProcessKey(nChar)) return 1;
  if (m_pEdit == nullptr || m_pEdit->GetSafeHwnd() == nullptr) {
    CXTPControlComboBoxList* pList = GetComboBoxList();
    if (pList != nullptr && pList->GetSafeHwnd() != nullptr && pList->ProcessListKey(nChar)) OnSelChanged();
    return 1;
  }
  if (!bAlt && (nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_UP || nChar == VK_DOWN)) {
    MoveListSelection(nChar);
    return 1;
  }
  return m_pEdit->ProcessKey(nChar) ? 1 : 2;
}

void CXTPControlComboBox::OnClick(BOOL bKeyboard, CPoint pt) {
  if (m_pEdit != nullptr && m_pEdit->IsComposing()) return;
  if (IsCustomizeMode()) {
    CXTPControlPopup::OnClick(bKeyboard, pt);
    return;
  }
  if (bKeyboard && m_bEnabled) {
    if (m_bFocused) {
      OnExecute();
    } else {
      SetFocused(TRUE);
    }
    return;
  }
  if (IsListOpen() && m_bFocused) {
    if (m_pParent != nullptr) m_pParent->SetPopuped(-1);
    return;
  }
  CXTPControlPopup::OnClick(bKeyboard, pt);
}

void CXTPControlComboBox::OnMouseHover() {
  if (CXTPEdit::GetFocusedEditCount() > 0) return;
  CXTPControlPopup::OnMouseHover();
}

BOOL CXTPControlComboBox::OnSetSelected(int bSelected) {
  const BOOL bChanged = CXTPControl::OnSetSelected(bSelected);
  if (!bSelected && !IsListOpen()) SetFocused(FALSE);
  return bChanged;
}

BOOL CXTPControlComboBox::SetPopuped(BOOL bPopuped) {
  InternalAddRef();
  if (bPopuped) {
    m_bSelEndOk = FALSE;
    m_nLastSel = GetCurSel();
    if (m_pAutoComplete != nullptr) m_pAutoComplete->HideSuggestions();
  } else if (!m_bSelEndOk && m_bPopuped) {
    if (!m_bDropDown && !m_bFocused) SetCurSel(m_nLastSel);
    if (m_bDropDown || m_bFocused) NotifySite(XTP_CBN_SELENDCANCEL);
  }
  const BOOL bResult = CXTPControlPopup::SetPopuped(bPopuped);
  InternalRelease();
  return bResult;
}

void CXTPControlComboBox::OnExecute() {
  InternalAddRef();
  if (GetCurSel() >= 0 && (IsListOpen() || (m_bFocused && !m_bDropDown))) NotifySite(XTP_CBN_SELENDOK);
  m_bSelEndOk = TRUE;
  m_nLastSel = GetCurSel();
  CXTPControlPopup::OnExecute();
  InternalRelease();
}

// ---- Drawing -----------------------------------------------------------------------------------------

void CXTPControlComboBox::DrawEditText(CDC* pDC, CRect rc) {
  CXTPBarTheme* pTheme = GetPaintManager();
  if (m_bFocused && m_bEnabled && !m_bDropDown) {
    CRect rcFocus(rc.left - 1, rc.top + 1, rc.right - 1, rc.bottom - 1);
    pDC->FillSolidRect(rcFocus, pTheme->GetColor(13));
  }
  if (m_nEditIconId > 0) {
    CXTPImageManager* pImages = GetImageManager();
    CXTPImageManagerIcon* pIcon =
        pImages != nullptr ? pImages->GetImage(static_cast<UINT>(m_nEditIconId), 0) : nullptr;
    if (pIcon != nullptr) {
      const CPoint pt(rc.left, rc.top + (rc.Height() - pIcon->GetHeight()) / 2);
      pIcon->Draw(pDC, pt, m_bEnabled ? pIcon->GetIcon() : pIcon->GetDisabledIcon(), pIcon->GetExtent());
      rc.left += pIcon->GetWidth() + 2;
    }
  }
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) return;
  CString strText = GetSelectedText();
  int nSlot = m_bFocused ? 14 : m_bEnabled ? 8 : 17;
  if (strText.IsEmpty() && m_bEnabled && !m_bFocused) {
    strText = m_strEditHint;
    nSlot = 17;
  }
  const COLORREF clrOld = pDC->SetTextColor(pTheme->GetColor(nSlot));
  pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(strText, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  pDC->SetTextColor(clrOld);
}

// ---- Copies and storage ------------------------------------------------------------------------------

BOOL CXTPControlComboBox::IsEqual(CXTPControl* pOther) {
  CXTPControlComboBox* pCombo = DYNAMIC_DOWNCAST(CXTPControlComboBox, pOther);
  return CXTPControl::IsEqual(pOther) && pCombo != nullptr && pCombo->m_nWidth == m_nWidth &&
         pCombo->m_bDropDown == m_bDropDown && pCombo->m_comboStyle == m_comboStyle;
}

void CXTPControlComboBox::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControl::Copy(pControl, bRecursive);
  CXTPControlComboBox* pCombo = DYNAMIC_DOWNCAST(CXTPControlComboBox, pControl);
  if (pCombo == nullptr || pCombo == this) return;
  // The list is always copied: a combo never shares its list with another.
  if (CXTPControlComboBoxList* pSourceList = pCombo->GetComboBoxList()) {
    if (CXTPControlComboBoxList* pList = GetComboBoxList()) pList->CopyBarProperties(pSourceList, FALSE);
  }
  m_comboStyle = pCombo->m_comboStyle;
  m_nWidth = pCombo->m_nWidth;
  m_strEditHint = pCombo->m_strEditHint;
  m_bAutoComplete = pCombo->m_bAutoComplete;
  m_nEditIconId = pCombo->m_nEditIconId;
  m_nDropDownItemCount = pCombo->m_nDropDownItemCount;
  SetDropDown(pCombo->m_bDropDown);
  SetShellAutoComplete(pCombo->m_dwShellAutoCompleteFlags);
  m_nCurSel = pCombo->GetCurSel();
  SetEditText(pCombo->GetEditText());
}

void CXTPControlComboBox::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControlPopup::DoPropExchange(pPX);
  long nWidth = m_nWidth, nComboStyle = m_comboStyle;
  PropExchangeStoredBool(pPX, _T("DropDown"), m_bDropDown, TRUE);
  PropExchangeStoredLong(pPX, _T("Width"), nWidth, 0, 0, XTP_STORED_EXTENT_MAX);
  PropExchangeStoredLong(pPX, _T("ComboStyle"), nComboStyle, 0, 0, 1);
  if (pPX->IsLoading()) {
    m_nWidth = nWidth;
    m_comboStyle = nComboStyle;
  }
  if (pPX->GetSchema() > 8) {
    DWORD dwFlags = m_dwShellAutoCompleteFlags;
    long nEditIconId = m_nEditIconId, nItemCount = m_nDropDownItemCount;
    PropExchangeStoredString(pPX, _T("EditHint"), m_strEditHint, _T(""));
    PropExchangeStoredFlags(pPX, _T("ShellAutoCompleteFlags"), dwFlags, 0, XTP_STORED_AUTOCOMPLETE_FLAGS);
    PropExchangeStoredBool(pPX, _T("AutoComplete"), m_bAutoComplete, FALSE);
    PropExchangeLong(pPX, _T("EditIconId"), nEditIconId, 0);
    PropExchangeStoredLong(pPX, _T("DropDownItemCount"), nItemCount, 12, 1, 1024);
    if (pPX->IsLoading()) {
      m_dwShellAutoCompleteFlags = dwFlags;
      m_nEditIconId = nEditIconId;
      m_nDropDownItemCount = nItemCount;
    }
  }
  if (pPX->IsLoading()) {
    SetDropDown(m_bDropDown);
    SetShellAutoComplete(m_dwShellAutoCompleteFlags);
    ShowText(CString());
  }
}

void CXTPControlComboBox::SetWidth(int nWidth) {
  if (m_nWidth == nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

void CXTPControlComboBox::SetLabelWidth(int nWidth) {
  if (m_nLabelWidth == nWidth) return;
  m_nLabelWidth = nWidth;
  m_bDelayReposition = TRUE;
  DelayLayoutParent();
}

void CXTPControlComboBox::SetThumbWidth(int nWidth) {
  if (m_nThumbWidth == nWidth) return;
  m_nThumbWidth = nWidth;
  m_bDelayReposition = TRUE;
  DelayLayoutParent();
}
