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

// Each step is one event of the windowed-test input, then a pause for the receiver.
void StepMoveTo(int x, int y) {
  MoveMouseTo(x, y);
  Sleep(kStepMs);
}

void StepButton(bool down, bool right = false) {
  MouseButton(down, right);
  Sleep(kStepMs);
}

void StepKey(UINT virtualKey, bool down) {
  if (down) {
    KeyDown(virtualKey);
  } else {
    KeyUp(virtualKey);
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

void InputMoveMouse(int x, int y) {
  RunSequence([=] { StepMoveTo(x, y); });
}

void InputClick(int x, int y, bool right) {
  RunSequence([=] {
    StepMoveTo(x, y);
    StepButton(true, right);
    StepButton(false, right);
  });
}

void InputDoubleClick(int x, int y) {
  RunSequence([=] {
    StepMoveTo(x, y);
    // Both clicks at once, well within the double-click time.
    MouseButton(true);
    MouseButton(false);
    MouseButton(true);
    MouseButton(false);
    Sleep(kStepMs);
  });
}

void InputDrag(POINT from, POINT to, int steps) {
  RunSequence([=] {
    StepMoveTo(from.x, from.y);
    StepButton(true);
    for (int i = 1; i <= steps; ++i)
      StepMoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
    StepButton(false);
  });
}

void InputTap(UINT virtualKey, UINT modifier1, UINT modifier2) {
  RunSequence([=] {
    if (modifier1 != 0) StepKey(modifier1, true);
    if (modifier2 != 0) StepKey(modifier2, true);
    StepKey(virtualKey, true);
    StepKey(virtualKey, false);
    if (modifier2 != 0) StepKey(modifier2, false);
    if (modifier1 != 0) StepKey(modifier1, false);
  });
}

void InputKey(UINT virtualKey, bool down) {
  RunSequence([=] { StepKey(virtualKey, down); });
}

void InputSetPreTranslate(BOOL (*pfnFilter)(MSG*)) { g_pfnPreTranslate = pfnFilter; }

}  // namespace testsupport
