// The shortcut edit: captures a key combination while the user holds it.
#include "ShortcutEdit.h"

#include "AcceleratorManager.h"

void CXTPShortcutEdit::Reset() {
  m_accel.fVirt = 0;
  m_accel.key = 0;
  m_accel.cmd = 0;
  m_bKeyDefined = FALSE;
  if (m_hWnd != nullptr) SetWindowText(_T(""));
}

BOOL CXTPShortcutEdit::PreTranslateMessage(MSG* pMsg) {
  const UINT message = pMsg->message;
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
    SetFocus();
    return TRUE;
  }
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN && message != WM_KEYUP && message != WM_SYSKEYUP)
    return CEdit::PreTranslateMessage(pMsg);

  const UINT nKey = static_cast<UINT>(pMsg->wParam);
  const BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
  const BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
  const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
  if (nKey == VK_TAB && !bCtrl && !bAlt) {
    if (!m_bKeyDefined) Reset();
    return CEdit::PreTranslateMessage(pMsg);
  }
  const BOOL bKeyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (bKeyDown && !(pMsg->lParam & (1 << 30))) Reset();
  if (!m_bKeyDefined) {
    m_accel.fVirt = static_cast<BYTE>((bShift ? FSHIFT : 0) | (bCtrl ? FCONTROL : 0) | (bAlt ? FALT : 0));
    const BOOL bModifier = nKey == VK_SHIFT || nKey == VK_CONTROL || nKey == VK_MENU;
    if (!bModifier) {
      m_accel.key = static_cast<WORD>(nKey);
      if (bKeyDown) {
        m_bKeyDefined = TRUE;
        m_accel.fVirt |= FVIRTKEY;
      }
    } else {
      m_accel.key = 0;
    }
  }
  if (m_pManager == nullptr || m_pManager->IsShortcutAllowed(&m_accel)) {
    CString strText;
    if (m_pManager != nullptr) {
      strText = m_pManager->FormatShortcut(&m_accel);
      // While only modifiers are held, the text ends with the "+" the next key will follow.
      if (m_accel.key == 0 && !strText.IsEmpty()) strText += _T("+");
    }
    SetWindowText(strText);
  } else {
    Reset();
  }
  return TRUE;
}
