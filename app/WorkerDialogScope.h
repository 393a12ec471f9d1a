// How a dialog that a worker thread runs takes the keyboard, as a dialog of the user-interface thread
// does.
#pragma once

#include <windows.h>

// Open for the length of one modal dialog or message box that the calling worker thread runs with a
// window of the user-interface thread (hWndOwner) as its owner. Two things keep such a dialog from the
// keyboard otherwise, and the scope mends both:
// - The worker's input is not the one the user types into. Its dialog becomes the active window of the
//   worker's own input while it is still hidden, is drawn inactive, and a key that reaches the
//   owner's window is read by the owner's thread and lost there. The scope joins the worker's input to
//   the owner thread's (AttachThreadInput) until the dialog has ended and handed the activation back
//   to the owner, so that the dialog is activated in the input the user types into.
// - On a display without a window manager, each window takes the display's focus itself, and the
//   display orders such requests by the time of the requesting thread's last message
//   (GetMessageTime): a request older than the last change of focus is refused. A worker that has read
//   no message for a while would have its dialog's request refused, so the scope has it read one of
//   its own first.
// Nothing is joined when hWndOwner is no window or belongs to the calling thread. The owner's thread
// answers sent messages meanwhile, as every wait of it does: the activation of its windows is sent
// from the worker.
class CWorkerDialogScope {
 public:
  explicit CWorkerDialogScope(HWND hWndOwner);
  ~CWorkerDialogScope();
  CWorkerDialogScope(const CWorkerDialogScope&) = delete;
  CWorkerDialogScope& operator=(const CWorkerDialogScope&) = delete;

 private:
  DWORD m_idOwnerThread;
};
