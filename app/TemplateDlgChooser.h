// The wizard's answer to the engine's template question: the template selection dialog.
#pragma once

#include <atomic>

#include "PauseGate.h"
#include "TemplateChooser.h"

// Has the thread of m_hWndMain (the user-interface thread) run CTemplateDlg modally with m_hWndMain as
// its parent, while the calling thread (the engine's worker) waits for the choice: in front of the main
// frame and modal to it, as every dialog of a worker is (CWorkerDialog, with m_pGate).
class CTemplateDlgChooser : public ITemplateChooser {
 public:
  // FALSE when the user cancelled, the dialog could not be shown, or the choice is not a row of titles.
  BOOL ChooseTemplate(const CStringArray& titles, int* selected) override;

  // The main frame's window, set by the frame once it exists; null: no parent.
  HWND m_hWndMain = nullptr;
  // The workers' pause gate, at which the dialog takes its turn; null: none.
  CPauseGate* m_pGate = nullptr;
  // The stop flag read once the dialog has its turn: when it is up, the dialog does not open and the
  // choice is cancelled. Null: none.
  const std::atomic<int>* m_pStop = nullptr;
};
