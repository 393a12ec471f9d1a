// Real input for windowed tests: events go through the system's input queue (SendInput) as a user's
// mouse and keyboard would send them, so hooks, key state, capture and double clicks all behave as in
// use. Points are screen coordinates unless a window is given.
//
// Two kinds. The single events below are sent at once from the calling thread and, apart from
// MouseMoveTo's wait for the cursor, do not pump: the caller pumps afterwards, or a modal loop that
// is running (a dialog's, a menu's) reads them with its own key handling. The paced sequences
// (Input...) are sent from a helper thread, one event at a time with a pause after each, while the
// calling thread pumps its messages (through an optional pre-translate filter), so that a modal loop
// the input starts (click tracking, bar drags, popup menus) receives the rest of the sequence as
// separate events and every call returns with its input delivered.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <thread>

namespace testsupport {

// Moves the cursor to (x, y) through an absolute mouse move; false when it did not arrive (a confined
// cursor stops at the edge of its rectangle).
bool MouseMoveTo(int x, int y);
// Moves from `from` to `to` in `steps` moves with a pause after each; sends only, for a helper thread
// that feeds a loop running on another thread (a drag and drop).
void MouseMoveInSteps(POINT from, POINT to, int steps);
void MouseButton(bool down, bool right = false);
// Move, press and release in one go; a second call at the same place within the double-click time is
// a double click.
void MouseClickAt(int screenX, int screenY, bool rightButton = false);
// Left clicks at a client point of hwnd (twice quickly for a double click).
void MouseClick(HWND hwnd, int x, int y);
void MouseDoubleClick(HWND hwnd, int x, int y);
// Press at `from`, move to `to` in a few steps (pumping between them), release.
void MouseDrag(int fromX, int fromY, int toX, int toY);
// Turns the wheel by `delta` (120 a notch; positive away from the user).
void MouseWheel(int delta);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
// Down and up, with the modifiers (VK_SHIFT, VK_CONTROL ...) held around it.
void KeyPress(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
// Each character as a Unicode key event (KEYEVENTF_UNICODE).
void TypeUnicode(const std::wstring& text);

// Paced sequences.
// Moves the cursor to a screen point.
void InputMoveMouse(int x, int y);
// Moves to a screen point and clicks there (left, or right).
void InputClick(int x, int y, bool right = false);
void InputDoubleClick(int x, int y);
// Presses at `from`, moves in `steps` steps to `to` and releases there.
void InputDrag(POINT from, POINT to, int steps = 8);
// Presses at `from`, moves to `via`, taps `key` there (unless 0) with the button still down, moves on
// to `to` and releases there.
void InputDragVia(POINT from, POINT via, POINT to, UINT key, int steps = 8);
// Presses and releases a key, with the modifiers held around it (0 for none).
void InputTap(UINT virtualKey, UINT modifier1 = 0, UINT modifier2 = 0);
// Presses or releases one key.
void InputKey(UINT virtualKey, bool down);
// While a sequence is sent, each message is first offered to this filter (as a program's message loop
// offers it to PreTranslateMessage); TRUE means it was taken. NULL dispatches everything.
void InputSetPreTranslate(BOOL (*pfnFilter)(MSG*));

// Real input for a modal loop that the test thread is about to enter (a message box, a tracked popup,
// a button's press loop): a timer of the thread asks `ready` every 100 ms; once it returns an input
// sequence, the sequence is sent from another thread while the loop runs; `ready` may pump. One at a
// time; the destructor waits for the sender.
class ModalLoopInput {
 public:
  using Ready = std::function<std::function<void()>()>;
  explicit ModalLoopInput(Ready ready);
  ~ModalLoopInput();
  ModalLoopInput(const ModalLoopInput&) = delete;
  ModalLoopInput& operator=(const ModalLoopInput&) = delete;

  bool Sent() const { return m_bSent; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  static ModalLoopInput* s_pCurrent;

  Ready m_ready;
  UINT_PTR m_nTimer = 0;
  bool m_bSent = false;
  bool m_bAsking = false;
  std::thread m_sender;
};

}  // namespace testsupport
