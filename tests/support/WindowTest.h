// Windowed-test support (Windows build, run under Wine + Xvfb): find windows, drive them with keys
// and clicks, pump messages, and save what a window shows as a PNG under the build tree so that a
// person can look at it.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

// Processes the calling thread's messages for about `milliseconds`.
void PumpMessages(DWORD milliseconds);

// Pumps messages until `done` returns true or `timeoutMs` passes; returns the last result of `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A visible top-level window of any thread in this process whose title equals `title`, waiting up to
// `timeoutMs` while pumping the calling thread's messages. NULL when none appeared.
HWND WaitForTopWindow(const std::wstring& title, DWORD timeoutMs = 5000);

// Posts the characters of `text` to `hwnd` as WM_CHAR, and a key as WM_KEYDOWN/WM_KEYUP.
void TypeText(HWND hwnd, const std::wstring& text);
void PressKey(HWND hwnd, UINT virtualKey);

// Sends a left click at a client point of `hwnd`.
void ClickAt(HWND hwnd, int x, int y);

// Real input through the system's input queue (SendInput): the pointer moves and clicks at screen
// coordinates, keys go to whichever window has the focus, as a person's would. None of them pumps
// messages: the caller does, or a modal loop that is running (a dialog's, a menu's) reads the input
// itself, with its own key handling.
void MoveMouseTo(int screenX, int screenY);
// Move, press and release in one go; a second call at the same place within the double-click time
// is a double click.
void MouseClickAt(int screenX, int screenY, bool rightButton = false);
void SendKey(UINT virtualKey);
void SendText(const std::wstring& text);
// Real left clicks at a client point of hwnd (twice quickly for a double click).
void MouseClick(HWND hwnd, int x, int y);
void MouseDoubleClick(HWND hwnd, int x, int y);

// Clicks a dialog's child control by id (BM_CLICK for buttons).
void ClickDlgItem(HWND dialog, int id);

// Real input: events go through the system's input queue (SendInput) as a user's mouse and
// keyboard would send them, so hooks, key state, capture and double clicks all behave as in use.
// Points are screen coordinates; pump messages afterwards so the windows see the events.
// Makes hwnd the active foreground window and gives it the keyboard focus; false when it did not
// take it.
bool BringToFront(HWND hwnd);
// Moves the cursor to (x, y) through an absolute mouse move; false when it did not arrive (a
// confined cursor stops at the edge of its rectangle).
bool MouseMoveTo(int x, int y);
void MouseButton(bool down, bool right = false);
// Press at `from`, move to `to` in a few steps, release.
void MouseDrag(int fromX, int fromY, int toX, int toY);
// Turns the wheel by `delta` (120 a notch; positive away from the user).
void MouseWheel(int delta);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
// Down and up, with the modifiers (VK_SHIFT, VK_CONTROL ...) held around it.
void KeyPress(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
// Each character as a Unicode key event (KEYEVENTF_UNICODE).
void TypeUnicode(const std::wstring& text);

// Where windowed tests put their pictures: BRINDLE_SCREENSHOT_DIR, else "screenshots" in the
// current directory. Created on demand.
std::wstring ScreenshotDir();

// Renders `hwnd` (a copy of the screen when it is visible, else PrintWindow) and writes it as a PNG through
// WIC. `name` is a file name without directory; returns the full path, or an empty string on failure.
std::wstring SaveWindowPng(HWND hwnd, const std::wstring& name);

// Writes a bitmap (not selected into any DC) as a PNG under ScreenshotDir(); the full path, or an
// empty string on failure.
std::wstring SaveBitmapPng(HBITMAP bitmap, const std::wstring& name);

// Reads the colour of one pixel of a saved or live window, for probes in tests.
COLORREF WindowPixel(HWND hwnd, int x, int y);

// What the window shows, row by row from its top-left corner (window coordinates); empty on failure.
std::vector<COLORREF> WindowPixels(HWND hwnd, int* width, int* height);

}  // namespace testsupport
