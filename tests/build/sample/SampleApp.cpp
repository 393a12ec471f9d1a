// The build check's sample program: a Windows GUI program with its own resources. With "--check" it
// loads each resource and exits with 0 when all are present, so a test can run it under Wine.
#include <windows.h>

#include <cwchar>

#include "resource.h"

static int CheckResources(HINSTANCE instance) {
  wchar_t title[64] = {};
  if (LoadStringW(instance, IDS_SAMPLE_TITLE, title, 64) == 0) return 1;
  if (wcscmp(title, L"Brindle build sample") != 0) return 2;
  HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_SAMPLE_MENU));
  if (menu == nullptr) return 3;
  DestroyMenu(menu);
  if (LoadIconW(instance, MAKEINTRESOURCEW(IDI_SAMPLE)) == nullptr) return 4;
  if (FindResourceW(instance, MAKEINTRESOURCEW(IDD_SAMPLE), MAKEINTRESOURCEW(5)) == nullptr) return 5;
  return 0;
}

static INT_PTR CALLBACK SampleDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  if (wcsstr(commandLine, L"--check") != nullptr) return CheckResources(instance);
  return int(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SAMPLE), nullptr, SampleDialog, 0));
}
