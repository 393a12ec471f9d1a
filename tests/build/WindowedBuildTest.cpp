// Windows build checks: resources compiled by windres load, a GUI program starts and exits under
// Wine, and a dialog can be shown and saved as a PNG.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "sample/resource.h"

namespace {

std::wstring SiblingProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

INT_PTR CALLBACK IdleDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

TEST(Resources, StringMenuAndIconLoadFromTheModule) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  wchar_t title[64] = {};
  ASSERT_GT(LoadStringW(self, IDS_SAMPLE_TITLE, title, 64), 0);
  EXPECT_STREQ(title, L"Brindle build sample");

  HMENU menu = LoadMenuW(self, MAKEINTRESOURCEW(IDR_SAMPLE_MENU));
  ASSERT_NE(menu, nullptr);
  HMENU file = GetSubMenu(menu, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetMenuItemID(file, 0), UINT(ID_SAMPLE_EXIT));
  DestroyMenu(menu);

  EXPECT_NE(LoadIconW(self, MAKEINTRESOURCEW(IDI_SAMPLE)), nullptr);
}

TEST(Resources, DialogTextKeepsNonAsciiCharacters) {
  HWND dialog =
      CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SAMPLE), nullptr, IdleDialog, 0);
  ASSERT_NE(dialog, nullptr);
  wchar_t text[128] = {};
  GetDlgItemTextW(dialog, IDC_SAMPLE_TEXT, text, 128);
  EXPECT_EQ(std::wstring(text).substr(0, 7), L"R\u00e9sum\u00e9:");
  DestroyWindow(dialog);
}

TEST(GuiProgram, SampleProgramRunsAndFindsItsResources) {
  std::wstring command = L"\"" + SiblingProgram(L"build_sample.exe") + L"\" --check";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(testsupport::CreateProcessRetrying(&command[0], FALSE, 0, nullptr, nullptr, &si, &pi))
      << GetLastError();
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 0u);
}

TEST(Screenshots, ShownDialogIsSavedAsPng) {
  HWND dialog =
      CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SAMPLE), nullptr, IdleDialog, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOW);
  EXPECT_EQ(testsupport::WaitForTopWindow(L"Build Sample"), dialog);
  testsupport::PumpMessages(200);

  const std::wstring png = testsupport::SaveWindowPng(dialog, L"build-sample-dialog.png");
  DestroyWindow(dialog);
  ASSERT_FALSE(png.empty());
  HANDLE file = CreateFileW(png.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char magic[8] = {};
  DWORD read = 0;
  ReadFile(file, magic, 8, &read, nullptr);
  CloseHandle(file);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
}
