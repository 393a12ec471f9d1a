// The shell's auto-completion for bar fields and the watch over its suggestion window.
#include "ShellAutoComplete.h"

#include "BarHooks.h"
#include "CommandBarsDefines.h"

namespace {

// The adapter whose hook is installed on this thread (one at a time).
thread_local CXTPShellAutoComplete* t_pHookOwner = nullptr;

}  // namespace

CXTPShellAutoComplete::CXTPShellAutoComplete(HWND hWndEdit)
    : m_hWndEdit(hWndEdit), m_hWndSuggestion(nullptr), m_hHook(nullptr) {}

CXTPShellAutoComplete::~CXTPShellAutoComplete() { SetHook(FALSE); }

BOOL CXTPShellAutoComplete::Enable(DWORD dwFlags) {
  if (m_hWndEdit == nullptr || dwFlags == 0) return FALSE;
  HMODULE hShlwapi = ::LoadLibrary(L"shlwapi.dll");
  if (hShlwapi == nullptr) return FALSE;
  typedef HRESULT(WINAPI * PFNSHAUTOCOMPLETE)(HWND, DWORD);
  PFNSHAUTOCOMPLETE pfn = reinterpret_cast<PFNSHAUTOCOMPLETE>(
      reinterpret_cast<void*>(::GetProcAddress(hShlwapi, "SHAutoComplete")));
  const BOOL bResult = pfn != nullptr && SUCCEEDED(pfn(m_hWndEdit, dwFlags));
  ::FreeLibrary(hShlwapi);
  return bResult;
}

void CXTPShellAutoComplete::SetHook(BOOL bSet) {
  if (bSet) {
    if (m_hHook != nullptr) return;
    if (t_pHookOwner != nullptr) t_pHookOwner->SetHook(FALSE);
    m_hHook = ::SetWindowsHookEx(WH_CALLWNDPROC, &CallWndProcHook, nullptr, ::GetCurrentThreadId());
    if (m_hHook != nullptr) t_pHookOwner = this;
    return;
  }
  if (m_hHook != nullptr) {
    ::UnhookWindowsHookEx(m_hHook);
    m_hHook = nullptr;
  }
  if (t_pHookOwner == this) t_pHookOwner = nullptr;
  if (m_hWndSuggestion != nullptr) {
    CXTPBarMouseTracker::GetThreadState()->RemoveExtraWindow(m_hWndSuggestion);
    m_hWndSuggestion = nullptr;
  }
}

LRESULT CALLBACK CXTPShellAutoComplete::CallWndProcHook(int nCode, WPARAM wParam, LPARAM lParam) {
  CXTPShellAutoComplete* pOwner = t_pHookOwner;
  HHOOK hHook = pOwner != nullptr ? pOwner->m_hHook : nullptr;
  if (nCode == HC_ACTION && pOwner != nullptr) {
    const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (pMsg->message == WM_WINDOWPOSCHANGING)
      pOwner->OnWindowPosChanging(pMsg->hwnd, reinterpret_cast<const WINDOWPOS*>(pMsg->lParam));
  }
  return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

void CXTPShellAutoComplete::OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos) {
  if (pPos == nullptr) return;
  WCHAR szClass[64] = {};
  ::GetClassName(hWnd, szClass, 64);
  if (lstrcmp(szClass, L"Auto-Suggest Dropdown") != 0) return;
  if (pPos->flags & SWP_SHOWWINDOW) {
    m_hWndSuggestion = hWnd;
    // Clicks in the suggestions must not close the bars.
    CXTPBarMouseTracker::GetThreadState()->AddExtraWindow(hWnd);
    if (m_hWndEdit != nullptr) ::PostMessage(m_hWndEdit, XTP_WM_EDITNOTIFY, 0, 0);
  } else if ((pPos->flags & SWP_HIDEWINDOW) && hWnd == m_hWndSuggestion) {
    CXTPBarMouseTracker::GetThreadState()->RemoveExtraWindow(hWnd);
  }
}

BOOL CXTPShellAutoComplete::ProcessKey(UINT nChar) {
  if (!IsSuggestionShown() || ::GetKeyState(VK_MENU) < 0) return FALSE;
  if (nChar != VK_PRIOR && nChar != VK_NEXT && nChar != VK_UP && nChar != VK_DOWN) return FALSE;
  // The shell's field watches its own keys: they go to the field, which moves the suggestion.
  ::SendMessage(m_hWndEdit, WM_KEYDOWN, nChar, 0);
  return TRUE;
}

void CXTPShellAutoComplete::HideSuggestions() {
  if (IsSuggestionShown()) ::ShowWindow(m_hWndSuggestion, SW_HIDE);
}
