// A complete framework program (its own wWinMain from the library): main window with a menu,
// commands, reflection and idle command-UI updates, checked by the program itself and reported
// through its exit code.
#include <gtest/gtest.h>

#include <vector>

#include "UiTestApp.h"

namespace {

DWORD RunProgram(const CString& arguments) {
  CString commandLine = L"\"" + SiblingPath(L"framework_ui_app.exe") + L"\" " + arguments;
  STARTUPINFO si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::vector<WCHAR> writable(static_cast<LPCWSTR>(commandLine),
                              static_cast<LPCWSTR>(commandLine) + commandLine.GetLength() + 1);
  if (!::CreateProcess(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return 0xFFFFFFFF;
  }
  DWORD exitCode = 0xFFFFFFFE;
  if (::WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(pi.hProcess, &exitCode);
  } else {
    ::TerminateProcess(pi.hProcess, exitCode);
  }
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return exitCode;
}

TEST(AppProgram, SelfTestOfMenuCommandsReflectionAndIdleUpdatesPasses) {
  EXPECT_EQ(RunProgram(L"/selftest"), 0u);
}

TEST(AppProgram, InitInstanceReturningFalseEndsWithCodeZero) { EXPECT_EQ(RunProgram(L"/noinit"), 0u); }

}  // namespace
