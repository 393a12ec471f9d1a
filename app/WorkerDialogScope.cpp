// A worker's dialog: its turn at the pause gate, its keyboard joined to the user-interface thread's,
// and the keys and closes that come as it ends handed on to its owner.
#include "WorkerDialogScope.h"

#include <commctrl.h>

#include "UiHandoff.h"

namespace {

// What a message of the scope's own (ScopeMessage, as wParam) is for.
const WPARAM SCOPE_MESSAGE_TIME = 1;
const WPARAM SCOPE_ACTIVATE_AGAIN = 2;

// The scope open on the calling thread, for its hook.
thread_local CWorkerDialogScope* t_pScope = nullptr;

}  // namespace

CWorkerDialogScope::CWorkerDialogScope(HWND hWndOwner, CPauseGate* pGate)
    : m_hWndOwner(hWndOwner),
      m_idOwnerThread(0),
      m_hHook(nullptr),
      m_hInputHook(nullptr),
      m_hWndEnded(nullptr),
      m_hWndToActivate(nullptr),
      m_bCloseAsked(FALSE),
      m_pOuter(t_pScope) {
  // Before anything else: the wait for an open question is no time to hold the user's input.
  if (pGate != nullptr) m_turn.emplace(*pGate);
  ReadPresentMessageTime();
  if (hWndOwner == nullptr || !::IsWindow(hWndOwner)) return;
  const DWORD idOwnerThread = ::GetWindowThreadProcessId(hWndOwner, nullptr);
  if (idOwnerThread == 0 || idOwnerThread == ::GetCurrentThreadId()) return;
  if (!::AttachThreadInput(::GetCurrentThreadId(), idOwnerThread, TRUE)) return;
  m_idOwnerThread = idOwnerThread;
  t_pScope = this;
  m_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, OnWindowMessage, nullptr, ::GetCurrentThreadId());
  m_hInputHook = ::SetWindowsHookExW(WH_GETMESSAGE, OnThreadInput, nullptr, ::GetCurrentThreadId());
}

CWorkerDialogScope::~CWorkerDialogScope() {
  ReadDisplayInput();
  if (m_hWndEnded != nullptr && ::IsWindow(m_hWndEnded))
    ::RemoveWindowSubclass(m_hWndEnded, OnEndedDialogMessage, reinterpret_cast<UINT_PTR>(this));
  if (m_bCloseAsked) HandCloseToOwner();
  if (m_hHook != nullptr) ::UnhookWindowsHookEx(m_hHook);
  if (m_hInputHook != nullptr) ::UnhookWindowsHookEx(m_hInputHook);
  if (t_pScope == this) t_pScope = m_pOuter;
  if (m_idOwnerThread != 0) ::AttachThreadInput(::GetCurrentThreadId(), m_idOwnerThread, FALSE);
}

void CWorkerDialogScope::ReadPresentMessageTime() {
  MSG msg;
  // The thread's queue exists once it has been asked for a message.
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  if (!::PostThreadMessageW(::GetCurrentThreadId(), ScopeMessage(), SCOPE_MESSAGE_TIME, 0)) return;
  // Thread messages only, so that no window's message is taken from its loop.
  ::PeekMessageW(&msg, reinterpret_cast<HWND>(-1), ScopeMessage(), ScopeMessage(), PM_REMOVE);
}

void CWorkerDialogScope::ReadDisplayInput() {
  // A look for a thread message that is not there has the thread read what the display sent it.
  MSG msg;
  ::PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_NOREMOVE);
}

UINT CWorkerDialogScope::ScopeMessage() {
  static const UINT WM_WORKER_DIALOG_SCOPE = ::RegisterWindowMessageW(L"BrindleWorkerDialogScope");
  return WM_WORKER_DIALOG_SCOPE;
}

BOOL CWorkerDialogScope::IsScopeDialog(HWND hWnd) const {
  return ::IsWindowVisible(hWnd) && ::GetWindow(hWnd, GW_OWNER) == m_hWndOwner &&
         ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
}

LRESULT CALLBACK CWorkerDialogScope::OnWindowMessage(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && t_pScope != nullptr) {
    const CWPSTRUCT* pMessage = reinterpret_cast<const CWPSTRUCT*>(lParam);
    switch (pMessage->message) {
      case WM_WINDOWPOSCHANGING: {
        const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(pMessage->lParam);
        if (pPos != nullptr && (pPos->flags & SWP_HIDEWINDOW) != 0)
          t_pScope->GiveBackBeforeHiding(pMessage->hwnd);
        break;
      }
      case WM_DESTROY:
        // The keys the display gave the dialog's window go on to the window that has the keyboard now,
        // and a close that a window manager asked of the dialog reaches its subclass, while the dialog
        // is still a window.
        if (pMessage->hwnd == t_pScope->m_hWndEnded) t_pScope->ReadDisplayInput();
        break;
      case WM_ACTIVATEAPP:
        // The program lost the foreground (minimised, or another program activated) while the dialog
        // was active: it becomes the active window of the program's input again once this
        // deactivation is over, so that whichever window of the program the window manager offers the
        // keyboard to next (a disabled owner hands on to the active window) gives it to the dialog.
        if (pMessage->wParam == FALSE && static_cast<DWORD>(pMessage->lParam) != t_pScope->m_idOwnerThread &&
            t_pScope->IsScopeDialog(pMessage->hwnd) && pMessage->hwnd != t_pScope->m_hWndEnded) {
          t_pScope->m_hWndToActivate = pMessage->hwnd;
          ::PostThreadMessageW(::GetCurrentThreadId(), ScopeMessage(), SCOPE_ACTIVATE_AGAIN, 0);
        }
        break;
      default:
        break;
    }
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK CWorkerDialogScope::OnThreadInput(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && wParam == PM_REMOVE && t_pScope != nullptr) {
    MSG* pMsg = reinterpret_cast<MSG*>(lParam);
    if (pMsg->hwnd == nullptr && pMsg->message == ScopeMessage() && pMsg->wParam == SCOPE_ACTIVATE_AGAIN) {
      // Taken here: the dialog's loop gets nothing to dispatch.
      pMsg->message = WM_NULL;
      const HWND hWnd = t_pScope->m_hWndToActivate;
      t_pScope->m_hWndToActivate = nullptr;
      if (hWnd != nullptr && ::IsWindow(hWnd) && t_pScope->IsScopeDialog(hWnd) &&
          ::GetActiveWindow() == nullptr)
        ::SetActiveWindow(hWnd);
    }
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK CWorkerDialogScope::OnEndedDialogMessage(HWND hWnd, UINT message, WPARAM wParam,
                                                          LPARAM lParam, UINT_PTR uIdSubclass,
                                                          DWORD_PTR /*dwRefData*/) {
  // A window manager asks the dialog to close by a click on its close button (HTCLOSE) while it is
  // not active; after its end, the user asked that of the window in front, which is the owner now.
  if (message == WM_MOUSEACTIVATE && LOWORD(lParam) == HTCLOSE) {
    reinterpret_cast<CWorkerDialogScope*>(uIdSubclass)->m_bCloseAsked = TRUE;
    return MA_NOACTIVATEANDEAT;
  }
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(hWnd, OnEndedDialogMessage, uIdSubclass);
  return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

void CWorkerDialogScope::GiveBackBeforeHiding(HWND hWnd) {
  // Only the dialog itself, while it has the keyboard; a box it owns gives it back to the dialog.
  if (!IsScopeDialog(hWnd) || ::GetActiveWindow() != hWnd) return;
  // The dialog's end enables the owner again in any case, some ends only after the hiding.
  if (!::IsWindowEnabled(m_hWndOwner)) ::EnableWindow(m_hWndOwner, TRUE);
  ::SetActiveWindow(m_hWndOwner);
  // From here on a window manager's close of the dialog is the owner's (Alt+F4 pressed with the key
  // that ended it).
  if (m_hWndEnded == nullptr &&
      ::SetWindowSubclass(hWnd, OnEndedDialogMessage, reinterpret_cast<UINT_PTR>(this), 0))
    m_hWndEnded = hWnd;
}

void CWorkerDialogScope::HandCloseToOwner() {
  const HWND hWndOwner = m_hWndOwner;
  CUiHandoff::Run(hWndOwner, [hWndOwner] { ::SendMessageW(hWndOwner, WM_SYSCOMMAND, SC_CLOSE, 0); });
}
