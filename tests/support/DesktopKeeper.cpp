// desktop_keeper: brings up the Wine prefix's desktop process and keeps it for a test run or a session
// of scripts/run.sh. scripts/wine-env.sh starts it detached, with no standard handle of its caller, so
// the desktop process inherits none either; it prints "ready" once the desktop is up and ends with the
// prefix's wineserver.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The first request for the desktop window starts the desktop process and waits until it is up.
  if (!GetDesktopWindow()) return 1;
  // The desktop process ends shortly after its last user; this thread stays one while the run lasts.
  HWND keeper = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!keeper) return 1;
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "ready\n", 6, &written, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
