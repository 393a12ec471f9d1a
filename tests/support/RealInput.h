// Real input through the display (SendInput) for windowed tests: the cursor, mouse buttons and keys
// travel the same road a user's do, so hooks, capture and GetKeyState see them. Each sequence is sent
// from a helper thread while the calling thread pumps its messages, so that modal loops the input
// starts (click tracking, drags, popup menus) receive the rest of the sequence.
#pragma once

#include <windows.h>

namespace testsupport {

// Moves the cursor to a screen point.
void InputMoveMouse(int x, int y);
// Moves to a screen point and clicks there (left, or right).
void InputClick(int x, int y, bool right = false);
void InputDoubleClick(int x, int y);
// Presses at `from`, moves in `steps` steps to `to` and releases there.
void InputDrag(POINT from, POINT to, int steps = 8);
// Presses and releases a key, with the modifiers held around it (0 for none).
void InputTap(UINT virtualKey, UINT modifier1 = 0, UINT modifier2 = 0);
// Presses or releases one key.
void InputKey(UINT virtualKey, bool down);
// While input is sent, each message is first offered to this filter (as a program's message loop
// offers it to PreTranslateMessage); TRUE means it was taken. NULL dispatches everything.
void InputSetPreTranslate(BOOL (*pfnFilter)(MSG*));

}  // namespace testsupport
