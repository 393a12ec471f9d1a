// Windowed-test support (Windows build, run under Wine + Xvfb): find windows, pump messages, post
// keys and clicks to a window (real input is in RealInput.h), check that texts fit, and save what a window
// shows as a PNG under the build tree so that a person can look at it.
#pragma once

#include <windows.h>

#include <functional>
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

// Clicks a dialog's child control by id (BM_CLICK for buttons).
void ClickDlgItem(HWND dialog, int id);

// Makes hwnd the active foreground window and gives it the keyboard focus; false when it did not
// take it. Real input (RealInput.h) then reaches it as a person's would.
bool BringToFront(HWND hwnd);

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

// A window's text with each line break (CR LF, or a lone CR as rich edit keeps them) as "\n".
std::wstring TextWithLineBreaks(HWND hwnd);

// The texts of the child buttons and static texts of `parent` (hidden ones too) that do not fit their
// controls in the font each one draws with: a push button's on one line within its edges, a check
// box's or option button's beside its box, a static text wrapped to its width within its height.
// Each entry reads "id 1018 \"Add Domino Server\": needs 118 x 13 in 114 x 24"; empty when all fit.
std::vector<std::wstring> ClippedChildTexts(HWND parent);

// What the window shows, row by row from its top-left corner (window coordinates); empty on failure.
std::vector<COLORREF> WindowPixels(HWND hwnd, int* width, int* height);

}  // namespace testsupport
