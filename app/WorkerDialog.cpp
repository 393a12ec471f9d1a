// A worker's dialog, handed over to the user-interface thread and waited for.
#include "WorkerDialog.h"

#include <atomic>
#include <memory>
#include <optional>
#include <utility>

#include "UiHandoff.h"

namespace {

// How often a waiting worker looks whether the owner it asked is still there.
const DWORD OWNER_CHECK_MS = 100;

// The answer of one dialog, shared by the waiting worker and the hand-off.
struct Answer {
  explicit Answer(INT_PTR nNotShown)
      : hDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), nResult(nNotShown), bStarted(false) {}
  ~Answer() {
    if (hDone != nullptr) ::CloseHandle(hDone);
  }
  Answer(const Answer&) = delete;
  Answer& operator=(const Answer&) = delete;

  HANDLE hDone;
  // Written on the owner's thread before hDone is set.
  INT_PTR nResult;
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

INT_PTR ShowIfWanted(HWND hWndOwner, const CWorkerDialog::ShowFunction& show,
                     const std::function<BOOL()>& isWanted, INT_PTR nNotShown) {
  if (isWanted && !isWanted()) return nNotShown;
  CWnd* pOwner = hWndOwner != nullptr && ::IsWindow(hWndOwner) ? CWnd::FromHandle(hWndOwner) : nullptr;
  return show(pOwner);
}

// Waits for answer, dispatching the messages that other threads send to the calling one. A hand-off
// that has not begun when its window goes never runs.
void WaitForAnswer(const Answer& answer, HWND hWndOwner) {
  for (;;) {
    const DWORD dwResult =
        ::MsgWaitForMultipleObjects(1, &answer.hDone, FALSE, OWNER_CHECK_MS, QS_SENDMESSAGE);
    if (dwResult == WAIT_OBJECT_0 || dwResult == WAIT_FAILED) return;
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (!::IsWindow(hWndOwner) && !answer.bStarted.load()) return;
  }
}

}  // namespace

INT_PTR CWorkerDialog::Ask(HWND hWndOwner, CPauseGate* pGate, const ShowFunction& show,
                           const std::function<BOOL()>& isWanted, INT_PTR nNotShown) {
  std::optional<CPauseGate::CDialogTurn> turn;
  if (pGate != nullptr) turn.emplace(*pGate);
  if (hWndOwner == nullptr || !::IsWindow(hWndOwner) ||
      ::GetWindowThreadProcessId(hWndOwner, nullptr) == ::GetCurrentThreadId())
    return ShowIfWanted(hWndOwner, show, isWanted, nNotShown);

  auto answer = std::make_shared<Answer>(nNotShown);
  if (answer->hDone == nullptr) return nNotShown;
  auto signal = std::make_shared<DoneSignal>(answer);
  // show and isWanted are used only while this thread waits: the hand-off either runs before the wait
  // ends or never does.
  const CWorkerDialog::ShowFunction* pShow = &show;
  const std::function<BOOL()>* pIsWanted = &isWanted;
  if (!CUiHandoff::Run(hWndOwner, [signal, hWndOwner, pShow, pIsWanted, nNotShown] {
        signal->answer->bStarted = true;
        signal->answer->nResult = ShowIfWanted(hWndOwner, *pShow, *pIsWanted, nNotShown);
      }))
    return nNotShown;
  signal.reset();
  WaitForAnswer(*answer, hWndOwner);
  return answer->nResult;
}
