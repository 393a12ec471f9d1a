// Windowed-test support (Windows build, run under Wine + Xvfb): find windows, drive them with keys
// and clicks, pump messages, and save what a window shows as a PNG under the build tree so that a
// person can look at it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

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

}  // namespace testsupport
