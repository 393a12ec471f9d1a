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

void MoveInSteps(POINT from, POINT to, int steps) {
  for (int i = 1; i <= steps; ++i)
    MoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
}

}  // namespace

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
    MoveInSteps(from, to, steps);
    Button(false);
  });
}

void InputDragVia(POINT from, POINT via, POINT to, UINT key, int steps) {
  RunSequence([=] {
    MoveTo(from.x, from.y);
    Button(true);
    MoveInSteps(from, via, steps);
    if (key != 0) {
      Key(key, true);
      Key(key, false);
    }
    MoveInSteps(via, to, steps);
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

}  // namespace testsupport
