// Real input through SendInput: single events, and paced sequences sent from a helper thread while the
// caller pumps.
#include "RealInput.h"

#include "WindowTest.h"

#include <atomic>
#include <functional>
#include <thread>

namespace testsupport {

namespace {

// Absolute pointer coordinates run from 0 to 65535 across the primary screen.
INPUT PointerInput(int screenX, int screenY, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  // The system maps 0..65535 onto the screen and truncates: aim at the pixel's middle.
  input.mi.dx = static_cast<LONG>((screenX * 65536LL + 32768) / (cx > 0 ? cx : 1));
  input.mi.dy = static_cast<LONG>((screenY * 65536LL + 32768) / (cy > 0 ? cy : 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

// The navigation keys live outside the numeric keypad: without the extended flag they would be
// read as keypad keys, which Shift turns into digits (Shift+Insert would type a 0).
bool IsExtendedKey(WORD virtualKey) {
  switch (virtualKey) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(WORD virtualKey, WORD scan, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags | (IsExtendedKey(virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

void SendOne(INPUT& input) { SendInput(1, &input, sizeof(INPUT)); }

}  // namespace

void MouseClickAt(int screenX, int screenY, bool rightButton) {
  // The press and the release carry the point too: a window shown under the cursor's old place can
  // report the pointer there once more, between the move and the press, and a press without a point
  // would then land where the cursor was before.
  INPUT inputs[3] = {
      PointerInput(screenX, screenY, MOUSEEVENTF_MOVE),
      PointerInput(screenX, screenY,
                   MOUSEEVENTF_MOVE | (rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN)),
      PointerInput(screenX, screenY,
                   MOUSEEVENTF_MOVE | (rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)),
  };
  SendInput(3, inputs, sizeof(INPUT));
}

void MouseClick(HWND hwnd, int x, int y) {
  POINT pt = {x, y};
  ClientToScreen(hwnd, &pt);
  MouseClickAt(pt.x, pt.y);
}

void MouseDoubleClick(HWND hwnd, int x, int y) {
  MouseClick(hwnd, x, y);
  MouseClick(hwnd, x, y);
}

bool MouseMoveTo(int x, int y) {
  INPUT input = PointerInput(x, y, MOUSEEVENTF_MOVE);
  POINT before = {};
  GetCursorPos(&before);
  SendOne(input);
  // A confined cursor (ClipCursor) stops short of the target: any move counts as arrived.
  PumpUntil(
      [&] {
        POINT pt;
        return GetCursorPos(&pt) && ((pt.x == x && pt.y == y) || pt.x != before.x || pt.y != before.y);
      },
      500);
  POINT pt = {};
  return GetCursorPos(&pt) && pt.x == x && pt.y == y;
}

void MouseButton(bool down, bool right) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  if (right) {
    input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  } else {
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendOne(input);
}

void MouseDrag(int fromX, int fromY, int toX, int toY) {
  MouseMoveTo(fromX, fromY);
  MouseButton(true);
  PumpMessages(30);
  const int steps = 5;
  for (int i = 1; i <= steps; ++i) {
    MouseMoveTo(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
    PumpMessages(20);
  }
  MouseButton(false);
}

void MouseWheel(int delta) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = static_cast<DWORD>(delta);
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  SendOne(input);
}

void KeyDown(WORD virtualKey) {
  INPUT input = KeyInput(virtualKey, static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)), 0);
  SendOne(input);
}

void KeyUp(WORD virtualKey) {
  INPUT input =
      KeyInput(virtualKey, static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)), KEYEVENTF_KEYUP);
  SendOne(input);
}

void KeyPress(WORD virtualKey, std::initializer_list<WORD> modifiers) {
  for (WORD modifier : modifiers) KeyDown(modifier);
  KeyDown(virtualKey);
  KeyUp(virtualKey);
  for (auto it = modifiers.end(); it != modifiers.begin();) KeyUp(*--it);
}

void TypeUnicode(const std::wstring& text) {
  for (wchar_t ch : text) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = ch;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    SendOne(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendOne(input);
  }
}

namespace {

const DWORD kStepMs = 40;
BOOL (*g_pfnPreTranslate)(MSG*) = nullptr;

void PumpFiltered() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (g_pfnPreTranslate != nullptr && g_pfnPreTranslate(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Each event is followed by a pause, so that the receiving thread sees it on its own.
void MoveTo(int x, int y) {
  MouseMoveTo(x, y);
  Sleep(kStepMs);
}

void Button(bool down, bool right = false) {
  MouseButton(down, right);
  Sleep(kStepMs);
}

void Key(UINT virtualKey, bool down) {
  if (down) {
    KeyDown(static_cast<WORD>(virtualKey));
  } else {
    KeyUp(static_cast<WORD>(virtualKey));
  }
  Sleep(kStepMs);
}

// Runs the sequence on a helper thread and pumps the calling thread's messages until it is over and
// the last events were delivered.
void RunSequence(const std::function<void()>& sequence) {
  std::atomic<bool> done(false);
  std::thread worker([&] {
    sequence();
    done = true;
  });
  const DWORD dwStart = GetTickCount();
  while (!done.load() && GetTickCount() - dwStart < 30000) {
    PumpFiltered();
    Sleep(10);
  }
  worker.join();
  for (int i = 0; i < 6; ++i) {
    PumpFiltered();
    Sleep(10);
  }
}

}  // namespace

void MouseMoveInSteps(POINT from, POINT to, int steps) {
  for (int i = 1; i <= steps; ++i)
    MoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
}

void InputMoveMouse(int x, int y) {
  RunSequence([=] { MoveTo(x, y); });
}

void InputClick(int x, int y, bool right) {
  RunSequence([=] {
    MoveTo(x, y);
    Button(true, right);
    Button(false, right);
  });
}

void InputDoubleClick(int x, int y) {
  RunSequence([=] {
    MoveTo(x, y);
    // Both clicks without pauses, well inside the double-click time.
    for (int i = 0; i < 2; ++i) {
      MouseButton(true, false);
      MouseButton(false, false);
    }
    Sleep(kStepMs);
  });
}

void InputDrag(POINT from, POINT to, int steps) {
  RunSequence([=] {
    MoveTo(from.x, from.y);
    Button(true);
    MouseMoveInSteps(from, to, steps);
    Button(false);
  });
}

void InputDragVia(POINT from, POINT via, POINT to, UINT key, int steps) {
  RunSequence([=] {
    MoveTo(from.x, from.y);
    Button(true);
    MouseMoveInSteps(from, via, steps);
    if (key != 0) {
      Key(key, true);
      Key(key, false);
    }
    MouseMoveInSteps(via, to, steps);
    Button(false);
  });
}

void InputTap(UINT virtualKey, UINT modifier1, UINT modifier2) {
  RunSequence([=] {
    if (modifier1 != 0) Key(modifier1, true);
    if (modifier2 != 0) Key(modifier2, true);
    Key(virtualKey, true);
    Key(virtualKey, false);
    if (modifier2 != 0) Key(modifier2, false);
    if (modifier1 != 0) Key(modifier1, false);
  });
}

void InputKey(UINT virtualKey, bool down) {
  RunSequence([=] { Key(virtualKey, down); });
}

void InputSetPreTranslate(BOOL (*pfnFilter)(MSG*)) { g_pfnPreTranslate = pfnFilter; }

ModalLoopInput* ModalLoopInput::s_pCurrent = nullptr;

ModalLoopInput::ModalLoopInput(Ready ready) : m_ready(std::move(ready)) {
  s_pCurrent = this;
  m_nTimer = ::SetTimer(nullptr, 0, 100, OnTimer);
}

ModalLoopInput::~ModalLoopInput() {
  ::KillTimer(nullptr, m_nTimer);
  if (m_sender.joinable()) m_sender.join();
  s_pCurrent = nullptr;
}

void CALLBACK ModalLoopInput::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  ModalLoopInput* pThis = s_pCurrent;
  // `ready` may pump (a picture of the box waits for its repaint): a tick dispatched from there must
  // not ask again, or both would start a sender.
  if (pThis == nullptr || pThis->m_bSent || pThis->m_bAsking) return;
  pThis->m_bAsking = true;
  std::function<void()> input = pThis->m_ready();
  pThis->m_bAsking = false;
  if (!input) return;
  pThis->m_bSent = true;
  pThis->m_sender = std::thread(std::move(input));
}

}  // namespace testsupport
