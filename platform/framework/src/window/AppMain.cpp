// The framework's program entry point. The Unicode start-up code of GUI programs (-municode)
// refers to wWinMain, which pulls this object out of the static library.
#include "afxwin.h"

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
