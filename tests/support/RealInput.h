// Paced sequences of real input (the events of WindowTest.h) for windowed tests. Each sequence is
// sent from a helper thread, one event at a time with a pause after each, while the calling thread
// pumps its messages (through an optional pre-translate filter), so that a modal loop the input starts
// (click tracking, bar drags, popup menus) receives the rest of the sequence as separate events and
// every call returns with its input delivered.
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
// Presses at `from`, moves to `via`, taps `key` there (unless 0) with the button still down, moves on
// to `to` and releases there.
void InputDragVia(POINT from, POINT via, POINT to, UINT key, int steps = 8);
// Presses and releases a key, with the modifiers held around it (0 for none).
void InputTap(UINT virtualKey, UINT modifier1 = 0, UINT modifier2 = 0);
// Presses or releases one key.
void InputKey(UINT virtualKey, bool down);
// While input is sent, each message is first offered to this filter (as a program's message loop
// offers it to PreTranslateMessage); TRUE means it was taken. NULL dispatches everything.
void InputSetPreTranslate(BOOL (*pfnFilter)(MSG*));

}  // namespace testsupport
