// Helpers of the Notes library tests.
#include "NotesTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace notestest {
namespace {

// Every test runs in one session, started before the first test and ended after the last.
class SessionEnvironment : public testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(LNNOERROR, session_.Initialize(300, 0, nullptr, 1, nullptr)); }
  void TearDown() override { session_.Term(0); }

 private:
  LNNotesSession session_;
};

const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new SessionEnvironment);

}  // namespace

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

LNDatabase NewMailDatabase(const testsupport::TempDir& dir, const std::string& name) {
  LNNotesSession session;
  LNDatabase db;
  const std::string path = dir.File(name);
  EXPECT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(path), ""));
  EXPECT_EQ(LNNOERROR, session.GetDatabase(Ln(path), &db, ""));
  EXPECT_EQ(LNNOERROR, db.Open(0));
  return db;
}

std::string ProgramPath(const std::string& exe) {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
  std::wstring self(buf, n);
  self = self.substr(0, self.find_last_of(L'\\') + 1) + Wide(exe);
  const int len = WideCharToMultiByte(CP_UTF8, 0, self.data(), static_cast<int>(self.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_UTF8, 0, self.data(), static_cast<int>(self.size()), &out[0], len, nullptr, nullptr);
  return out;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

DWORD RunProgram(const std::string& commandLine, std::string* output, const std::string& extraEnv) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readPipe = nullptr, writePipe = nullptr;
  if (!CreatePipe(&readPipe, &writePipe, &sa, 0)) return 0xFFFFFFFF;
  SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writePipe;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::vector<wchar_t> environment;
  if (!extraEnv.empty()) {
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1)
      environment.insert(environment.end(), p, p + wcslen(p) + 1);
    FreeEnvironmentStringsW(block);
    const std::wstring extra = Wide(extraEnv);
    environment.insert(environment.end(), extra.begin(), extra.end());
    environment.push_back(L'\0');
    environment.push_back(L'\0');
  }
  std::wstring cmd = Wide(commandLine);
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE,
                                      extraEnv.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT,
                                      extraEnv.empty() ? nullptr : environment.data(), nullptr, &si, &pi);
  CloseHandle(writePipe);
  if (!started) {
    CloseHandle(readPipe);
    return 0xFFFFFFFF;
  }
  std::string text;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(readPipe, buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
  CloseHandle(readPipe);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  if (output) *output = text;
  return code;
}

}  // namespace notestest
