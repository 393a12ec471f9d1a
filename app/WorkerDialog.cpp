// A worker's dialog, handed over to the user-interface thread and waited for.
#include "WorkerDialog.h"

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <commctrl.h>

#include "UiHandoff.h"

namespace {

// How often a waiting worker looks whether the owner it asked is still there.
const DWORD OWNER_CHECK_MS = 100;

// An ended dialog's window stays on the display, out of sight, until the window manager has handed the
// keyboard on to its owner, and is then kept hidden for a close that was meant for its owner: each
// longer than a window manager takes, however busy the machine.
const UINT KEEP_MAPPED_MS = 500;
const UINT KEEP_ENDED_MS = 3000;
const UINT_PTR HIDE_TIMER = 0x48494445;        // "HIDE"
const UINT_PTR KEEP_ENDED_TIMER = 0x4B454550;  // "KEEP"
// The property of a kept dialog that a window manager asked to close.
const wchar_t CLOSE_ASKED_PROPERTY[] = L"BrindleEndedDialogCloseAsked";
// The property of a dialog whose end has begun.
const wchar_t ENDING_PROPERTY[] = L"BrindleDialogEnding";
// The property of a kept dialog; KEPT_GOING once its time is over.
const wchar_t KEPT_PROPERTY[] = L"BrindleEndedDialogKept";
const UINT_PTR KEPT = 1;
const UINT_PTR KEPT_GOING = 2;
// The property of a kept dialog still on the display, and how many of the thread's there are.
const wchar_t ON_DISPLAY_PROPERTY[] = L"BrindleEndedDialogOnDisplay";
thread_local int t_nKeptOnDisplay = 0;

// The kept dialog hWnd leaves the display's count (once).
void LeaveDisplayCount(HWND hWnd) {
  if (::RemovePropW(hWnd, ON_DISPLAY_PROPERTY) != nullptr && t_nKeptOnDisplay > 0) --t_nKeptOnDisplay;
}

// An ended dialog kept for a while: a window manager that has not yet seen it go sends it the close
// that the user pressed for the window in front (Alt+F4 with the key that ended the dialog). Such a
// close is its owner's: it is handed to the owner as SC_CLOSE once the dialog has left the display, so
// that the window manager has given the keyboard back to the owner and gives it on to the question the
// close asks. Nothing else of the dialog runs any more.
LRESULT CALLBACK KeptDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
  auto handCloseToOwner = [hWnd] { ::SetPropW(hWnd, CLOSE_ASKED_PROPERTY, reinterpret_cast<HANDLE>(1)); };
  switch (message) {
    case WM_MOUSEACTIVATE:
      // How the display's close reaches a window that is not active.
      if (LOWORD(lParam) == HTCLOSE) {
        handCloseToOwner();
        return MA_NOACTIVATEANDEAT;
      }
      return MA_NOACTIVATE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) handCloseToOwner();
      return 0;
    case WM_CLOSE:
      handCloseToOwner();
      return 0;
    case WM_TIMER:
      if (wParam == HIDE_TIMER) {
        ::KillTimer(hWnd, HIDE_TIMER);
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
        LeaveDisplayCount(hWnd);
        if (::RemovePropW(hWnd, CLOSE_ASKED_PROPERTY) != nullptr)
          CUiHandoff::Run(hWndOwner, [hWndOwner] { ::SendMessageW(hWndOwner, WM_SYSCOMMAND, SC_CLOSE, 0); });
      } else if (wParam == KEEP_ENDED_TIMER) {
        ::SetPropW(hWnd, KEPT_PROPERTY, reinterpret_cast<HANDLE>(KEPT_GOING));
        ::DestroyWindow(hWnd);
      }
      return 0;
    case WM_NCDESTROY:
      LeaveDisplayCount(hWnd);
      ::RemovePropW(hWnd, KEPT_PROPERTY);
      ::RemovePropW(hWnd, ENDING_PROPERTY);
      ::RemovePropW(hWnd, CLOSE_ASKED_PROPERTY);
      // The system's dialog data goes with the window; the dialog's own procedure is not called again.
      ::SetWindowLongPtrW(hWnd, DWLP_DLGPROC, 0);
      return ::DefDlgProcW(hWnd, message, wParam, lParam);
    default:
      return ::DefWindowProcW(hWnd, message, wParam, lParam);
  }
}

// While a worker's dialog runs on the owner's thread, how its end goes on the display:
// - The activation goes back to the owner (enabled) as the dialog ends, and the dialog, rather than
//   hidden, is moved out of sight for a moment (KEEP_MAPPED_MS). The display's focus stays on its
//   window meanwhile, and the keys typed with the one that ended it reach that window and go on to the
//   owner's keyboard. Hidden at once, the dialog would leave the display's focus nowhere until a window
//   manager has given it on to the owner, and such keys would be lost.
// - The ended dialog's window is kept for a while instead of destroyed (KeptDialogProc): out of sight,
//   then hidden; every destruction of it is refused until its time is over.
// Only the dialog itself counts: a window of the dialog class that the owner owns.
class CKeepEndedDialog {
 public:
  explicit CKeepEndedDialog(HWND hWndOwner)
      : m_hWndOwner(hWndOwner),
        m_pOuter(t_pKeep),
        m_hHook(::SetWindowsHookExW(WH_CBT, OnCbt, nullptr, ::GetCurrentThreadId())) {
    t_pKeep = this;
  }
  ~CKeepEndedDialog() {
    if (m_hHook != nullptr) ::UnhookWindowsHookEx(m_hHook);
    t_pKeep = m_pOuter;
  }
  CKeepEndedDialog(const CKeepEndedDialog&) = delete;
  CKeepEndedDialog& operator=(const CKeepEndedDialog&) = delete;

 private:
  static LRESULT CALLBACK OnCbt(int nCode, WPARAM wParam, LPARAM /*lParam*/) {
    if (t_pKeep != nullptr) {
      const HWND hWnd = reinterpret_cast<HWND>(wParam);
      if (nCode == HCBT_DESTROYWND && t_pKeep->Keep(hWnd)) return 1;
      // Seen first as it activates, so that its end is seen before anything of the dialog's sees it.
      if (nCode == HCBT_ACTIVATE && t_pKeep->IsTheDialog(hWnd))
        ::SetWindowSubclass(hWnd, OnDialogMessage, reinterpret_cast<UINT_PTR>(t_pKeep), 0);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, 0);
  }
  static LRESULT CALLBACK OnDialogMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR uIdSubclass, DWORD_PTR /*dwRefData*/) {
    if (message == WM_WINDOWPOSCHANGING && lParam != 0 && t_pKeep != nullptr &&
        reinterpret_cast<UINT_PTR>(t_pKeep) == uIdSubclass)
      t_pKeep->EndOutOfSight(hWnd, reinterpret_cast<WINDOWPOS*>(lParam));
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(hWnd, OnDialogMessage, uIdSubclass);
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
  }
  BOOL IsTheDialog(HWND hWnd) const {
    wchar_t szClass[16] = L"";
    return ::IsWindow(m_hWndOwner) && ::GetWindow(hWnd, GW_OWNER) == m_hWndOwner &&
           ::GetClassNameW(hWnd, szClass, 16) != 0 && ::lstrcmpW(szClass, L"#32770") == 0;
  }
  // The dialog is about to be hidden at its end (once, or again by whoever ends it next).
  void EndOutOfSight(HWND hWnd, WINDOWPOS* pPos) const {
    if ((pPos->flags & SWP_HIDEWINDOW) == 0 || !IsTheDialog(hWnd)) return;
    if (::GetPropW(hWnd, ENDING_PROPERTY) == nullptr) {
      if (!::IsWindowVisible(hWnd)) return;
      ::SetPropW(hWnd, ENDING_PROPERTY, reinterpret_cast<HANDLE>(1));
      if (!::IsWindowEnabled(m_hWndOwner)) ::EnableWindow(m_hWndOwner, TRUE);
      if (::GetActiveWindow() == hWnd) ::SetActiveWindow(m_hWndOwner);
    }
    pPos->flags &= ~(SWP_HIDEWINDOW | SWP_NOMOVE);
    pPos->flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    // Out of sight but for one pixel: a window wholly off the screen is taken off the display.
    pPos->x = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1;
    pPos->y = ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
  }
  // Whether the destruction of hWnd is refused: it is the ended dialog, kept from now on.
  BOOL Keep(HWND hWnd) const {
    const UINT_PTR nKept = reinterpret_cast<UINT_PTR>(::GetPropW(hWnd, KEPT_PROPERTY));
    if (nKept != 0) return nKept == KEPT;
    if (::GetPropW(hWnd, ENDING_PROPERTY) == nullptr || !IsTheDialog(hWnd)) return FALSE;
    if (!::SetPropW(hWnd, KEPT_PROPERTY, reinterpret_cast<HANDLE>(KEPT))) return FALSE;
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeptDialogProc));
    // Nothing of the dialog is left in it: no reader of the program's windows takes it for the dialog.
    std::vector<HWND> children;
    ::EnumChildWindows(
        hWnd,
        [](HWND hWndChild, LPARAM lParam) {
          reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWndChild);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND hWndChild : children)
      if (::IsWindow(hWndChild)) ::DestroyWindow(hWndChild);
    ::SetWindowTextW(hWnd, L"");
    if (::SetTimer(hWnd, HIDE_TIMER, KEEP_MAPPED_MS, nullptr) == 0 ||
        ::SetTimer(hWnd, KEEP_ENDED_TIMER, KEEP_MAPPED_MS + KEEP_ENDED_MS, nullptr) == 0) {
      ::SetPropW(hWnd, KEPT_PROPERTY, reinterpret_cast<HANDLE>(KEPT_GOING));
      return FALSE;
    }
    if (::SetPropW(hWnd, ON_DISPLAY_PROPERTY, reinterpret_cast<HANDLE>(1))) ++t_nKeptOnDisplay;
    return TRUE;
  }

  static thread_local CKeepEndedDialog* t_pKeep;
  HWND m_hWndOwner;
  CKeepEndedDialog* m_pOuter;
  HHOOK m_hHook;
};

thread_local CKeepEndedDialog* CKeepEndedDialog::t_pKeep = nullptr;

// The answer of one dialog, shared by the waiting worker and the hand-off.
struct Answer {
  explicit Answer(INT_PTR nNotShown)
      : hDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        hSettled(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        nResult(nNotShown),
        bDeferred(FALSE),
        bStarted(false) {}
  ~Answer() {
    if (hDone != nullptr) ::CloseHandle(hDone);
    if (hSettled != nullptr) ::CloseHandle(hSettled);
  }
  Answer(const Answer&) = delete;
  Answer& operator=(const Answer&) = delete;

  HANDLE hDone;
  // Set on the owner's thread once the input typed before a deferred dialog has been read.
  HANDLE hSettled;
  // Written on the owner's thread before hDone is set.
  INT_PTR nResult;
  BOOL bDeferred;
  std::atomic<bool> bStarted;
};

// Owned by the hand-off alone: whether the hand-off ran or was discarded with its window, its end
// ends the worker's wait.
struct DoneSignal {
  explicit DoneSignal(std::shared_ptr<Answer> answerIn) : answer(std::move(answerIn)) {}
  ~DoneSignal() {
    if (answer->hDone != nullptr) ::SetEvent(answer->hDone);
  }
  DoneSignal(const DoneSignal&) = delete;
  DoneSignal& operator=(const DoneSignal&) = delete;

  std::shared_ptr<Answer> answer;
};

// How many times one dialog gives way to the user's input at most, and how often the owner's thread
// looks whether that input has been read.
const int MAX_DEFERRALS = 20;
const UINT SETTLE_TICK_MS = 10;
const UINT_PTR SETTLE_TIMER_FIRST = 0x53455454;  // "SETT"

// The answers of the dialogs deferred on this thread, by their settle timer.
thread_local std::map<UINT_PTR, std::shared_ptr<Answer>> t_deferred;
thread_local UINT_PTR t_nNextSettleTimer = SETTLE_TIMER_FIRST;

// Whether what the user does now still belongs to the windows that have the keyboard: keys or clicks
// wait to be read, or an ended worker's dialog is still on the display (the keys typed with the one
// that ended it are still coming).
BOOL UserStillTyping() {
  return LOWORD(::GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0 || t_nKeptOnDisplay > 0;
}

// A timer's message is read only once no input waits before it: the input typed before the deferred
// dialog has been read (and a question it asked is open, or answered) when it comes with nothing
// ended left on the display.
void CALLBACK OnSettleTick(HWND hWnd, UINT /*message*/, UINT_PTR nIDEvent, DWORD /*dwTime*/) {
  if (t_nKeptOnDisplay > 0) return;
  ::KillTimer(hWnd, nIDEvent);
  const auto found = t_deferred.find(nIDEvent);
  if (found == t_deferred.end()) return;
  ::SetEvent(found->second->hSettled);
  t_deferred.erase(found);
}

// Defers the dialog of answer until the input before it has been read; FALSE when no timer can tell.
BOOL DeferUntilSettled(HWND hWndOwner, const std::shared_ptr<Answer>& answer) {
  if (answer->hSettled == nullptr) return FALSE;
  const UINT_PTR nIDEvent = t_nNextSettleTimer++;
  if (::SetTimer(hWndOwner, nIDEvent, SETTLE_TICK_MS, OnSettleTick) == 0) return FALSE;
  t_deferred[nIDEvent] = answer;
  answer->bDeferred = TRUE;
  return TRUE;
}

INT_PTR ShowIfWanted(HWND hWndOwner, const CWorkerDialog::ShowFunction& show,
                     const std::function<BOOL()>& isWanted, INT_PTR nNotShown) {
  if (isWanted && !isWanted()) return nNotShown;
  CWnd* pOwner = hWndOwner != nullptr && ::IsWindow(hWndOwner) ? CWnd::FromHandle(hWndOwner) : nullptr;
  return show(pOwner);
}

// Waits for hEvent, dispatching the messages that other threads send to the calling one, until it is
// set or giveUp, asked every dwTickMs, says so.
void WaitDispatchingSent(HANDLE hEvent, DWORD dwTickMs, const std::function<BOOL()>& giveUp) {
  for (;;) {
    const DWORD dwResult = ::MsgWaitForMultipleObjects(1, &hEvent, FALSE, dwTickMs, QS_SENDMESSAGE);
    if (dwResult == WAIT_OBJECT_0 || dwResult == WAIT_FAILED) return;
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (giveUp()) return;
  }
}

// Waits for answer. A hand-off that has not begun when its window goes never runs.
void WaitForAnswer(const Answer& answer, HWND hWndOwner) {
  WaitDispatchingSent(answer.hDone, OWNER_CHECK_MS,
                      [&] { return !::IsWindow(hWndOwner) && !answer.bStarted.load(); });
}

// Waits until the input that a deferred dialog gave way to has been read, a question holds the gate
// (the next turn waits for its answer), or the owner is gone.
void WaitForSettled(const Answer& answer, HWND hWndOwner, CPauseGate* pGate) {
  WaitDispatchingSent(answer.hSettled, SETTLE_TICK_MS, [&] {
    return !::IsWindow(hWndOwner) || (pGate != nullptr && pGate->IsHeld());
  });
}

}  // namespace

INT_PTR CWorkerDialog::Ask(HWND hWndOwner, CPauseGate* pGate, const ShowFunction& show,
                           const std::function<BOOL()>& isWanted, INT_PTR nNotShown) {
  for (int nDeferrals = 0;; ++nDeferrals) {
    std::optional<CPauseGate::CDialogTurn> turn;
    if (pGate != nullptr) turn.emplace(*pGate);
    if (hWndOwner == nullptr || !::IsWindow(hWndOwner) ||
        ::GetWindowThreadProcessId(hWndOwner, nullptr) == ::GetCurrentThreadId())
      return ShowIfWanted(hWndOwner, show, isWanted, nNotShown);

    auto answer = std::make_shared<Answer>(nNotShown);
    if (answer->hDone == nullptr) return nNotShown;
    auto signal = std::make_shared<DoneSignal>(answer);
    // show, isWanted and the turn are used only while this thread waits: the hand-off either runs before
    // the wait ends or never does.
    const CWorkerDialog::ShowFunction* pShow = &show;
    const std::function<BOOL()>* pIsWanted = &isWanted;
    CPauseGate::CDialogTurn* pTurn = turn ? &*turn : nullptr;
    const BOOL bMayDefer = nDeferrals < MAX_DEFERRALS;
    if (!CUiHandoff::Run(hWndOwner, [signal, hWndOwner, pTurn, bMayDefer, pShow, pIsWanted, nNotShown] {
          signal->answer->bStarted = true;
          // The hand-off is a posted message, read before input: keys and clicks of the user's that are
          // still to be read (a Space on Stop pressed with the Enter that ended the dialog before) would
          // go to this dialog, opened in between. They are read first, with the turn given up, so that a
          // question they ask opens now, before the dialog, as it would have had the dialog come later.
          if (bMayDefer && UserStillTyping() && DeferUntilSettled(hWndOwner, signal->answer)) {
            if (pTurn != nullptr) pTurn->End();
            return;
          }
          CKeepEndedDialog keep(hWndOwner);
          signal->answer->nResult = ShowIfWanted(hWndOwner, *pShow, *pIsWanted, nNotShown);
        }))
      return nNotShown;
    signal.reset();
    WaitForAnswer(*answer, hWndOwner);
    if (!answer->bDeferred) return answer->nResult;
    turn.reset();
    WaitForSettled(*answer, hWndOwner, pGate);
  }
}
