// How a dialog that a worker thread runs takes the keyboard and gives it back, as a dialog of the
// user-interface thread does, and waits for a question about the workers that is open.
#pragma once

#include <windows.h>

#include <optional>

#include "PauseGate.h"

// Open for the length of one modal dialog or message box that the calling worker thread runs with a
// window of the user-interface thread (hWndOwner) as its owner; every dialog of a worker is run in one.
//
// The turn: the scope first takes the dialog's turn at pGate (when given): it waits while a question
// about the workers is open, and no such question is asked until the scope goes (CPauseGate). A dialog
// that must not open after a stop checks the stop once the scope is open. The dialog's end gives the
// owner the keyboard back before the scope goes: a question that a key asks in between is asked once
// the turn is over (CMainFrame::HoldWorkers).
//
// The keyboard: these keep such a dialog, or the owner after it, from the keyboard otherwise, and the
// scope mends them:
// - The worker's input is not the one the user types into. Its dialog becomes the active window of the
//   worker's own input while it is still hidden, is drawn inactive, and a key that reaches the
//   owner's window is read by the owner's thread and lost there. The scope joins the worker's input to
//   the owner thread's (AttachThreadInput) until the dialog has ended and handed the activation back
//   to the owner, so that the dialog is activated in the input the user types into.
// - On a display without a window manager, each window takes the display's focus itself, and the
//   display orders such requests by the time of the requesting thread's last message
//   (GetMessageTime): a request older than the last change of focus is refused. A worker that has read
//   no message for a while would have its dialog's request refused, so the scope has it read one of
//   its own first (ReadPresentMessageTime; the owner, activated again by the worker, does the same).
// - A dialog's end hides it first and activates its owner after (some ends enable the owner only
//   then). A window manager gives the keyboard on at the hiding, to the owner if the owner's thread
//   takes it then: the owner's thread reads that offer whenever it next waits, and while the shared
//   focus is still in the hidden dialog, or the owner still disabled, it takes nothing, and the
//   keyboard stays with the window manager. So while the scope is open, a dialog of the calling thread
//   that hWndOwner owns hands the activation back to hWndOwner (enabled) just before it is hidden,
//   as a dialog of the owner's own thread has done by the time its thread reads the offer.
// - Keys pressed with the one that ends the dialog reach the display's connection of the dialog's
//   thread, which reads no more once its dialog is over: the scope has the worker read them as the
//   dialog goes and as the scope goes, and they go on to the owner, which has the keyboard then. A
//   window manager's close of the ended dialog (Alt+F4 pressed with the key that ended it) is the
//   owner's: the scope hands it to hWndOwner (CUiHandoff, which hWndOwner receives) as SC_CLOSE.
// - The program minimised, or another program activated, while the dialog is active: the dialog
//   becomes the active window of the program's input again, without the foreground, so that when the
//   window manager gives the keyboard back to the program (to the disabled owner, Alt+Tab), the dialog
//   takes it.
// Nothing is joined when hWndOwner is no window or belongs to the calling thread. The owner's thread
// answers sent messages meanwhile, as every wait of it does: the activation of its windows is sent
// from the worker.
class CWorkerDialogScope {
 public:
  CWorkerDialogScope(HWND hWndOwner, CPauseGate* pGate);
  ~CWorkerDialogScope();
  CWorkerDialogScope(const CWorkerDialogScope&) = delete;
  CWorkerDialogScope& operator=(const CWorkerDialogScope&) = delete;

  // Posts the calling thread a message of its own and reads it, so that the thread's message time is
  // the present one (any thread).
  static void ReadPresentMessageTime();

 private:
  static UINT ScopeMessage();
  static LRESULT CALLBACK OnWindowMessage(int nCode, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OnThreadInput(int nCode, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OnEndedDialogMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
  // A visible window of the calling thread that hWndOwner owns: the scope's dialog.
  BOOL IsScopeDialog(HWND hWnd) const;
  // hWnd, a window of the calling thread, is about to be hidden.
  void GiveBackBeforeHiding(HWND hWnd);
  // Has the calling thread read what the display has sent it.
  static void ReadDisplayInput();
  void HandCloseToOwner();

  std::optional<CPauseGate::CDialogTurn> m_turn;
  HWND m_hWndOwner;
  DWORD m_idOwnerThread;
  HHOOK m_hHook;
  HHOOK m_hInputHook;
  // The dialog once its end has begun.
  HWND m_hWndEnded;
  // The dialog to make active again once its deactivation is over.
  HWND m_hWndToActivate;
  // Set when a window manager asked the ended dialog to close.
  BOOL m_bCloseAsked;
  // A scope open on this thread before this one.
  CWorkerDialogScope* m_pOuter;
};
