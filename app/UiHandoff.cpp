// Hand-offs from worker threads to the windows of the user-interface thread.
#include "UiHandoff.h"

#include <utility>

BOOL CUiHandoff::Run(HWND hWnd, std::function<void()> action) {
  if (hWnd == nullptr || !::IsWindow(hWnd)) return FALSE;
  if (::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId()) {
    action();
    return TRUE;
  }
  auto* record = new Record{std::move(action)};
  if (!::PostMessage(hWnd, WM_UI_HANDOFF, HANDOFF_COOKIE, reinterpret_cast<LPARAM>(record))) {
    // The window went between the test and the post: nobody will receive the record.
    delete record;
    return FALSE;
  }
  return TRUE;
}

LRESULT CUiHandoff::Receive(WPARAM wParam, LPARAM lParam) {
  if (wParam != HANDOFF_COOKIE || lParam == 0) return 0;
  auto* record = reinterpret_cast<Record*>(lParam);
  try {
    record->action();
  } catch (...) {
    // A failing action must not unwind through the window procedure; the record is freed all the same.
  }
  delete record;
  return 1;
}

void CUiHandoff::DiscardPending(HWND hWnd) {
  MSG msg;
  while (::PeekMessage(&msg, hWnd, WM_UI_HANDOFF, WM_UI_HANDOFF, PM_REMOVE)) {
    if (msg.wParam == HANDOFF_COOKIE && msg.lParam != 0) delete reinterpret_cast<Record*>(msg.lParam);
  }
}
