// The separate framework programs run as a user sees them: an SDI program (template, frame, view,
// status bar) and a dialog-based program. Each is started, its window waited for and saved as a
// picture, then closed the way a user would; the programs check themselves and report through
// their exit codes.
#include <gtest/gtest.h>

#include <vector>

#include "UiTestApp.h"
#include "WindowTest.h"
#include "dlg/resource.h"

namespace {

class RunningProgram {
 public:
  explicit RunningProgram(LPCWSTR exeName) {
    CString commandLine = L"\"" + SiblingPath(exeName) + L"\"";
    std::vector<WCHAR> writable(static_cast<LPCWSTR>(commandLine),
                                static_cast<LPCWSTR>(commandLine) + commandLine.GetLength() + 1);
    STARTUPINFO si = {};
    si.cb = sizeof(si);
    started_ = ::CreateProcess(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                               &pi_) != 0;
  }
  ~RunningProgram() {
    if (!started_) return;
    if (::WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(pi_.hProcess, 0xFFFFFFFD);
    ::CloseHandle(pi_.hThread);
    ::CloseHandle(pi_.hProcess);
  }
  bool Started() const { return started_; }

  // The program's visible top-level window whose title contains `title`.
  HWND WaitForWindow(LPCWSTR title) {
    struct Search {
      DWORD pid;
      LPCWSTR title;
      HWND found;
    } search = {pi_.dwProcessId, title, nullptr};
    testsupport::PumpUntil(
        [&] {
          ::EnumWindows(
              [](HWND hWnd, LPARAM lParam) -> BOOL {
                Search* s = reinterpret_cast<Search*>(lParam);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hWnd, &pid);
                WCHAR text[256] = {};
                ::GetWindowText(hWnd, text, 256);
                if (pid == s->pid && ::IsWindowVisible(hWnd) && wcsstr(text, s->title) != nullptr) {
                  s->found = hWnd;
                  return FALSE;
                }
                return TRUE;
              },
              reinterpret_cast<LPARAM>(&search));
          return search.found != nullptr;
        },
        30000);
    return search.found;
  }

  DWORD WaitForExit() {
    DWORD exitCode = 0xFFFFFFFE;
    if (::WaitForSingleObject(pi_.hProcess, 60000) == WAIT_OBJECT_0)
      ::GetExitCodeProcess(pi_.hProcess, &exitCode);
    return exitCode;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION pi_ = {};
};

TEST(SdiProgram, ShowsFrameViewAndStatusBarAndEndsCleanlyOnClose) {
  RunningProgram program(L"framework_sdi_app.exe");
  ASSERT_TRUE(program.Started());
  HWND hFrame = program.WaitForWindow(L"Framework SDI Test");
  ASSERT_NE(hFrame, nullptr);
  HWND hView = ::GetDlgItem(hFrame, AFX_IDW_PANE_FIRST);
  HWND hStatus = ::GetDlgItem(hFrame, AFX_IDW_STATUS_BAR);
  ASSERT_NE(hView, nullptr);
  ASSERT_NE(hStatus, nullptr);
  // The program puts the idle prompt there right after showing its frame.
  WCHAR status[64] = {};
  testsupport::PumpUntil(
      [&] {
        ::GetWindowText(hStatus, status, 64);
        return wcscmp(status, L"Ready") == 0;
      },
      10000);
  EXPECT_STREQ(status, L"Ready");
  // The view paints its own background colour once it is up.
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] { return testsupport::WindowPixel(hView, 10, 10) == RGB(250, 250, 235); }, 10000));
  EXPECT_FALSE(testsupport::SaveWindowPng(hFrame, L"framework_sdi_app.png").empty());
  ::PostMessage(hFrame, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(DialogProgram, ShowsItsDialogAndBringsTypedDataBackOnOk) {
  RunningProgram program(L"framework_dlg_app.exe");
  ASSERT_TRUE(program.Started());
  HWND hDlg = program.WaitForWindow(L"Framework Dialog Test");
  ASSERT_NE(hDlg, nullptr);
  WCHAR name[64] = {};
  ::GetDlgItemText(hDlg, IDC_NAME, name, 64);
  EXPECT_STREQ(name, L"Alpha");
  EXPECT_EQ(::SendDlgItemMessage(hDlg, IDC_KIND, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(::IsDlgButtonChecked(hDlg, IDC_ENABLED), BST_CHECKED);
  EXPECT_FALSE(testsupport::SaveWindowPng(hDlg, L"framework_dlg_app.png").empty());
  ::SetDlgItemText(hDlg, IDC_NAME, L"Typed by the test");
  ::PostMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(DialogProgram, CancelIsReportedAsFailureByTheProgram) {
  RunningProgram program(L"framework_dlg_app.exe");
  ASSERT_TRUE(program.Started());
  HWND hDlg = program.WaitForWindow(L"Framework Dialog Test");
  ASSERT_NE(hDlg, nullptr);
  ::PostMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_NE(program.WaitForExit(), 0u);
}

}  // namespace
