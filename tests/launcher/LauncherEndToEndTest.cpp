// Brindle Launcher run as a user runs it, under Wine: from a working directory that holds a stand-in
// main program which reports the PATH it inherited, and from one that holds nothing. A watcher
// reads and dismisses the launcher's message boxes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeLauncherSystem.h"
#include "MainProgramStart.h"
#include "NotesEnvironment.h"
#include "TestFiles.h"
#include "TestProcess.h"

namespace {

using testsupport::Wide;

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

std::wstring Lower(std::wstring text) {
  CString s(text.c_str());
  s.MakeLower();
  return static_cast<LPCWSTR>(s);
}

// HKLM "SOFTWARE\Lotus\Notes" "path" as the launcher will find it: the runtime set-up's value when
// there is one, else a value written for the test and removed after it.
class NotesRegistration {
 public:
  NotesRegistration() {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    const LONG status =
        RegGetValueW(HKEY_LOCAL_MACHINE, kNotesKey.c_str(), L"path", RRF_RT_REG_SZ, nullptr, value, &bytes);
    if (status == ERROR_SUCCESS && value[0] != L'\0') {
      directory_ = value;
      return;
    }
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kNotesKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
      return;
    createdKey_ = disposition == REG_CREATED_NEW_KEY;
    directory_ = L"C:\\Test Notes\\Program";
    RegSetValueExW(key, L"path", 0, REG_SZ, reinterpret_cast<const BYTE*>(directory_.c_str()),
                   static_cast<DWORD>((directory_.size() + 1) * sizeof(wchar_t)));
    wroteValue_ = true;
    RegCloseKey(key);
  }
  ~NotesRegistration() {
    if (createdKey_) {
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, kNotesKey.c_str());
    } else if (wroteValue_) {
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kNotesKey.c_str(), L"path");
    }
  }
  const std::wstring& Directory() const { return directory_; }

 private:
  std::wstring directory_;
  bool createdKey_ = false;
  bool wroteValue_ = false;
};

struct LauncherRun {
  bool started = false;
  DWORD error = 0;
  DWORD exitCode = STILL_ACTIVE;
  std::vector<std::wstring> messages;  // texts of the message boxes, in order
  std::vector<std::wstring> captions;
};

struct BoxSearch {
  DWORD processId;
  HWND box;
};

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<BoxSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t className[32] = {};
  GetClassNameW(hwnd, className, 32);
  if (pid == search->processId && IsWindowVisible(hwnd) && wcscmp(className, L"#32770") == 0) {
    search->box = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND hwnd, LPARAM lParam) {
  auto* longest = reinterpret_cast<std::wstring*>(lParam);
  wchar_t className[32] = {};
  GetClassNameW(hwnd, className, 32);
  if (_wcsicmp(className, L"Static") != 0) return TRUE;
  wchar_t text[2048] = {};
  GetWindowTextW(hwnd, text, 2048);
  if (wcslen(text) > longest->size()) *longest = text;
  return TRUE;
}

// Starts the launcher in `directory` with `path` as its PATH, answers every message box it shows
// with OK, and waits for it to end.
LauncherRun RunLauncher(const std::wstring& directory, const std::wstring& path) {
  LauncherRun run;
  // This process's environment with PATH replaced, sorted as Windows expects.
  std::vector<std::wstring> variables;
  LPWCH block = GetEnvironmentStringsW();
  for (LPWCH p = block; *p; p += wcslen(p) + 1) {
    if (_wcsnicmp(p, L"PATH=", 5) != 0) variables.push_back(p);
  }
  FreeEnvironmentStringsW(block);
  variables.push_back(L"PATH=" + path);
  std::sort(variables.begin(), variables.end(),
            [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; });
  std::wstring environment;
  for (const std::wstring& v : variables) environment += v + L'\0';
  environment += L'\0';

  std::wstring command = L"\"" + BesideThisProgram(L"Brindle Launcher.exe") + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  run.started = testsupport::CreateProcessRetrying(&command[0], FALSE, CREATE_UNICODE_ENVIRONMENT,
                                                   &environment[0], directory.c_str(), &si, &pi) != FALSE;
  if (!run.started) {
    run.error = GetLastError();
    return run;
  }
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT && GetTickCount() - start < 60000) {
    BoxSearch search{pi.dwProcessId, nullptr};
    EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
    if (search.box == nullptr) continue;
    // The box's text, once it has one.
    std::wstring text;
    testsupport::WaitUntil(
        [&] {
          EnumChildWindows(search.box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
          return !text.empty();
        },
        10000);
    wchar_t caption[256] = {};
    GetWindowTextW(search.box, caption, 256);
    run.messages.push_back(text);
    run.captions.push_back(caption);
    PostMessageW(search.box, WM_COMMAND, IDOK, 0);
    testsupport::WaitUntil([&] { return !IsWindow(search.box) || !IsWindowVisible(search.box); }, 60000);
  }
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
  GetExitCodeProcess(pi.hProcess, &run.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

// A PATH that certainly lacks `directory`, so that the launcher has to append it.
std::wstring PathWithout(const std::wstring& directory) {
  std::wstring result;
  wchar_t current[32767] = {};
  GetEnvironmentVariableW(L"PATH", current, 32767);
  std::wstring rest = current;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find(L';', start);
    if (end == std::wstring::npos) end = rest.size();
    const std::wstring entry = rest.substr(start, end - start);
    if (!entry.empty() && !IsOnPath(entry.c_str(), directory.c_str())) {
      if (!result.empty()) result += L';';
      result += entry;
    }
    start = end + 1;
  }
  return result.empty() ? L"C:\\windows\\system32" : result;
}

TEST(LauncherEndToEnd, StartsTheMainProgramWithNotesAppendedToItsPath) {
  NotesRegistration notes;
  ASSERT_FALSE(notes.Directory().empty()) << "cannot set up HKLM\\SOFTWARE\\Lotus\\Notes";
  testsupport::TempDir dir;
  const std::wstring directory = Wide(dir.Path());
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"launcher_test_stub.exe").c_str(),
                        (directory + L"\\" + kMainProgramFileName).c_str(), FALSE));
  const std::wstring path = PathWithout(notes.Directory());

  const LauncherRun run = RunLauncher(directory, path);

  ASSERT_TRUE(run.started) << "CreateProcess failed with " << run.error;
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.messages.empty()) << "unexpected message box";
  const std::string reportFile = dir.File("inherited-path.txt");
  std::string report;
  testsupport::WaitUntil(
      [&] {
        report = testsupport::ReadFileBytes(reportFile);
        return !report.empty();
      },
      30000);
  ASSERT_FALSE(report.empty()) << "the main program was not started";
  EXPECT_EQ(Wide(report), Lower(path + L";" + notes.Directory()));
}

TEST(LauncherEndToEnd, MissingMainProgramIsReportedAndExitCodeIsZero) {
  NotesRegistration notes;
  ASSERT_FALSE(notes.Directory().empty());
  testsupport::TempDir dir;

  const LauncherRun run = RunLauncher(Wide(dir.Path()), L"C:\\windows\\system32;C:\\windows");

  ASSERT_TRUE(run.started) << "CreateProcess failed with " << run.error;
  EXPECT_EQ(run.exitCode, 0u);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0], kMissingProgramMessage);
  EXPECT_EQ(run.captions[0], L"Brindle for PST to NSF");
}

}  // namespace
