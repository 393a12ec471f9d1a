// Real input through SendInput, sent from a helper thread while the caller pumps.
#include "RealInput.h"

#include "WindowTest.h"

#include <atomic>
#include <functional>
#include <thread>

namespace testsupport {

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

void SendMouse(DWORD flags, int x = 0, int y = 0) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = MulDiv(x, 65535, cx - 1);
    input.mi.dy = MulDiv(y, 65535, cy - 1);
  }
  SendInput(1, &input, sizeof(INPUT));
  Sleep(kStepMs);
}

void MoveTo(int x, int y) { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y); }

void SendKey(UINT virtualKey, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(INPUT));
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

void InputMoveMouse(int x, int y) {
  RunSequence([=] { MoveTo(x, y); });
}

void InputClick(int x, int y, bool right) {
  RunSequence([=] {
    MoveTo(x, y);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  });
}

void InputDoubleClick(int x, int y) {
  RunSequence([=] {
    MoveTo(x, y);
    INPUT inputs[4] = {};
    const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                            MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
      inputs[i].type = INPUT_MOUSE;
      inputs[i].mi.dwFlags = flags[i];
    }
    SendInput(4, inputs, sizeof(INPUT));
    Sleep(kStepMs);
  });
}

void InputDrag(POINT from, POINT to, int steps) {
  RunSequence([=] {
    MoveTo(from.x, from.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= steps; ++i)
      MoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
    SendMouse(MOUSEEVENTF_LEFTUP);
  });
}

void InputTap(UINT virtualKey, UINT modifier1, UINT modifier2) {
  RunSequence([=] {
    if (modifier1 != 0) SendKey(modifier1, true);
    if (modifier2 != 0) SendKey(modifier2, true);
    SendKey(virtualKey, true);
    SendKey(virtualKey, false);
    if (modifier2 != 0) SendKey(modifier2, false);
    if (modifier1 != 0) SendKey(modifier1, false);
  });
}

void InputKey(UINT virtualKey, bool down) {
  RunSequence([=] { SendKey(virtualKey, down); });
}

void InputSetPreTranslate(BOOL (*pfnFilter)(MSG*)) { g_pfnPreTranslate = pfnFilter; }

}  // namespace testsupport
