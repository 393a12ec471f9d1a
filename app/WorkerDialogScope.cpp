// A worker's dialog joined to the input of the user-interface thread.
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

}  // namespace

CWorkerDialogScope::CWorkerDialogScope(HWND hWndOwner) : m_idOwnerThread(0) {
  ReadOwnMessage();
  if (hWndOwner == nullptr || !::IsWindow(hWndOwner)) return;
  const DWORD idOwnerThread = ::GetWindowThreadProcessId(hWndOwner, nullptr);
  if (idOwnerThread == 0 || idOwnerThread == ::GetCurrentThreadId()) return;
  if (::AttachThreadInput(::GetCurrentThreadId(), idOwnerThread, TRUE)) m_idOwnerThread = idOwnerThread;
}

CWorkerDialogScope::~CWorkerDialogScope() {
  if (m_idOwnerThread != 0) ::AttachThreadInput(::GetCurrentThreadId(), m_idOwnerThread, FALSE);
}
