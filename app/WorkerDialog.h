// A dialog that a worker thread needs the user to answer, run on the user-interface thread: the worker
// asks that thread through the hand-off and waits for the answer.
#pragma once

#include <afxwin.h>

#include <functional>

#include "PauseGate.h"

// Every window of the program belongs to the user-interface thread, the dialogs that a worker needs
// too. Run there, a worker's dialog takes and gives back the keyboard as any dialog of that thread
// does, and the keys pressed with the one that ends it are read by the thread whose windows have the
// keyboard next.
class CWorkerDialog {
 public:
  // Shows the dialog modally and returns its result. Runs on the thread of the dialog's owner, with
  // that owner (null: none).
  typedef std::function<INT_PTR(CWnd* pOwner)> ShowFunction;
  // Has the user answer a dialog for the calling worker thread, which waits for the answer.
  //
  // The turn: first the dialog's turn is taken at pGate (when given): it waits while a question about
  // the workers is open, and no such question is asked until the dialog has ended (CPauseGate).
  // Then the thread of hWndOwner runs isWanted and, when it says TRUE (or is empty), show with
  // hWndOwner as the owner, while the calling thread waits for the result and answers the messages
  // sent to it meanwhile. isWanted tells, on the owner's thread just before the dialog would open,
  // whether the user is still to be asked (not after a stop or a close answered meanwhile).
  //
  // The dialog gives way to the user first: when keys or clicks are still to be read on the owner's
  // thread as it would open, or the worker's dialog before it has ended only just (still on the
  // display, the keys typed with its end still coming), its turn ends unopened, and the worker takes
  // its turn again once that input has been read, so that the input acts where the user typed it and a
  // question it asks opens before the dialog.
  //
  // Returns show's result, or nNotShown when the dialog did not open: isWanted said FALSE, or
  // hWndOwner went (or was no window of another thread's, then show runs at once on the calling
  // thread, with the owner null when hWndOwner is no window).
  static INT_PTR Ask(HWND hWndOwner, CPauseGate* pGate, const ShowFunction& show,
                     const std::function<BOOL()>& isWanted = nullptr, INT_PTR nNotShown = IDCANCEL);
};
