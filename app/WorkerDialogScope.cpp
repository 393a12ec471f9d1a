// A worker's dialog: its turn at the pause gate, and its keyboard joined to the user-interface thread's.
#include "WorkerDialogScope.h"

namespace {

// Posts the calling thread a message of its own and reads it, so that the thread's message time is
// the present one.
void ReadOwnMessage() {
  static const UINT WM_WORKER_MESSAGE_TIME = ::RegisterWindowMessageW(L"BrindleWorkerMessageTime");
  MSG msg;
  // The thread's queue exists once it has been asked for a message.
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  if (!::PostThreadMessageW(::GetCurrentThreadId(), WM_WORKER_MESSAGE_TIME, 0, 0)) return;
  // Thread messages only, so that no window's message is taken from its loop.
  ::PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_WORKER_MESSAGE_TIME, WM_WORKER_MESSAGE_TIME, PM_REMOVE);
}

// The scope open on the calling thread, for its hook.
thread_local CWorkerDialogScope* t_pScope = nullptr;

}  // namespace

CWorkerDialogScope::CWorkerDialogScope(HWND hWndOwner, CPauseGate* pGate)
    : m_hWndOwner(hWndOwner), m_idOwnerThread(0), m_hHook(nullptr), m_pOuter(t_pScope) {
  // Before anything else: the wait for an open question is no time to hold the user's input.
  if (pGate != nullptr) m_turn.emplace(*pGate);
  ReadOwnMessage();
  if (hWndOwner == nullptr || !::IsWindow(hWndOwner)) return;
  const DWORD idOwnerThread = ::GetWindowThreadProcessId(hWndOwner, nullptr);
  if (idOwnerThread == 0 || idOwnerThread == ::GetCurrentThreadId()) return;
  if (!::AttachThreadInput(::GetCurrentThreadId(), idOwnerThread, TRUE)) return;
  m_idOwnerThread = idOwnerThread;
  t_pScope = this;
  m_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, OnWindowMessage, nullptr, ::GetCurrentThreadId());
}

CWorkerDialogScope::~CWorkerDialogScope() {
  if (m_hHook != nullptr) ::UnhookWindowsHookEx(m_hHook);
  if (t_pScope == this) t_pScope = m_pOuter;
  if (m_idOwnerThread != 0) ::AttachThreadInput(::GetCurrentThreadId(), m_idOwnerThread, FALSE);
}

LRESULT CALLBACK CWorkerDialogScope::OnWindowMessage(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && t_pScope != nullptr) {
    const CWPSTRUCT* pMessage = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (pMessage->message == WM_WINDOWPOSCHANGING) {
      const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(pMessage->lParam);
      if (pPos != nullptr && (pPos->flags & SWP_HIDEWINDOW) != 0)
        t_pScope->GiveBackBeforeHiding(pMessage->hwnd);
    }
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CWorkerDialogScope::GiveBackBeforeHiding(HWND hWnd) {
  // Only the dialog itself, while it has the keyboard; a box it owns gives it back to the dialog.
  if (!::IsWindowVisible(hWnd) || ::GetWindow(hWnd, GW_OWNER) != m_hWndOwner || ::GetActiveWindow() != hWnd)
    return;
  // The dialog's end enables the owner again in any case, some ends only after the hiding.
  if (!::IsWindowEnabled(m_hWndOwner)) ::EnableWindow(m_hWndOwner, TRUE);
  ::SetActiveWindow(m_hWndOwner);
}
