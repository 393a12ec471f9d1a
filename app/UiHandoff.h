// The one way a worker thread has a window of the user-interface thread act: a private message posted
// to that window, carrying a record that the receiving window runs and frees.
#pragma once

#include <afxwin.h>

#include <functional>

// Posted to the receiving window; wParam HANDOFF_COOKIE, lParam the record (CUiHandoff::Record*).
const UINT WM_UI_HANDOFF = WM_APP + 1;

// A receiving window maps WM_UI_HANDOFF to a handler that returns CUiHandoff::Receive(wParam, lParam),
// and calls CUiHandoff::DiscardPending from its WM_NCDESTROY (or destroy) handling, so that records
// still queued when it goes are freed without running.
class CUiHandoff {
 public:
  // Has action run on the thread that owns hWnd: at once when the caller is that thread, else in the
  // order posted, when that thread next dispatches messages. FALSE when hWnd is no window (nothing runs
  // then, and the record is freed here). The action may use the window's framework object: it runs
  // only while the window exists.
  static BOOL Run(HWND hWnd, std::function<void()> action);
  // Runs and frees the record of one WM_UI_HANDOFF; 0 for a message that is not a hand-off.
  static LRESULT Receive(WPARAM wParam, LPARAM lParam);
  // Frees, without running them, the hand-offs still queued for hWnd. Called on hWnd's own thread.
  static void DiscardPending(HWND hWnd);

  struct Record {
    std::function<void()> action;
  };

 private:
  static const WPARAM HANDOFF_COOKIE = 0x48414E44;  // "HAND"
};
