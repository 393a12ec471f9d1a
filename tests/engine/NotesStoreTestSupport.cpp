// Helpers of the engine tests.
#include "NotesStoreTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace enginetest {
namespace {

std::string LibraryPath() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(GetModuleHandleW(L"lcppn30i.dll"), buf, MAX_PATH * 2);
  return Utf8(std::wstring(buf, n));
}

std::string ProgramPath(const std::string& exe) {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
  std::wstring self(buf, n);
  return Utf8(self.substr(0, self.find_last_of(L'\\') + 1)) + exe;
}

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

}  // namespace

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

std::string Utf8(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::string MessageOf(LNSTATUS status) {
  char buf[512];
  LNGetErrorMessageText(status, buf, sizeof buf, 0);
  return buf;
}

void MakeDatabase(const std::string& templateFile, const std::string& path, const std::string& title) {
  LNNotesSession session;
  LNCreateDatabaseOptions options;
  options.SetTitle(Ln(title));
  ASSERT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate(Ln(templateFile), "", Ln(path), "", options));
}

PrivateInstallation::PrivateInstallation(const std::string& serverLines) {
  EXPECT_TRUE(CopyFileW(Wide(LibraryPath()).c_str(), Wide(dir_.File("lcppn30i.dll")).c_str(), FALSE));
  EXPECT_TRUE(CopyFileW(Wide(ProgramPath("engine_store_helper.exe")).c_str(),
                        Wide(dir_.File("engine_store_helper.exe")).c_str(), FALSE));
  CreateDirectoryW(Wide(Data()).c_str(), nullptr);
  std::ofstream config(std::filesystem::path(Wide(dir_.File("notes.cfg"))), std::ios::binary);
  config << "Directory=data\r\n";
  size_t start = 0;
  while (start < serverLines.size()) {
    const size_t end = std::min(serverLines.find(';', start), serverLines.size());
    config << "Server=" << serverLines.substr(start, end - start) << "\r\n";
    start = end + 1;
  }
}

DWORD PrivateInstallation::Run(const std::string& arguments, std::string* output,
                               const std::string& extraEnv) const {
  return RunProgram("\"" + dir_.File("engine_store_helper.exe") + "\" " + arguments, output, extraEnv);
}

std::string ValueOf(const std::string& output, const std::string& key) {
  const std::string marker = key + "=";
  size_t at = 0;
  while (at < output.size()) {
    size_t end = output.find('\n', at);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, marker.size(), marker) == 0) return line.substr(marker.size());
    at = end + 1;
  }
  return "<missing>";
}

}  // namespace enginetest
