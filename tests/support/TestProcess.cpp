// Text conversion, child programs and the process's memory for Windows tests.
#include "TestProcess.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace testsupport {

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

std::string SiblingProgramPath(const std::string& exe) {
  std::vector<wchar_t> buffer(MAX_PATH);
  DWORD n = 0;
  while ((n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()))) >= buffer.size()) {
    buffer.resize(buffer.size() * 2);
  }
  std::wstring self(buffer.data(), n);
  return Utf8(self.substr(0, self.find_last_of(L"\\/") + 1)) + exe;
}

BOOL CreateProcessRetrying(LPWSTR commandLine, BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                           LPCWSTR currentDirectory, STARTUPINFOW* startupInfo,
                           PROCESS_INFORMATION* processInfo) {
  const int kAttempts = 5;
  for (int attempt = 1;; ++attempt) {
    if (::CreateProcessW(nullptr, commandLine, nullptr, nullptr, inheritHandles, creationFlags, environment,
                         currentDirectory, startupInfo, processInfo))
      return TRUE;
    const DWORD error = ::GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
      ::SetLastError(error);
      return FALSE;
    }
    ::Sleep(200 * attempt);
  }
}

DWORD RunProgram(const std::string& commandLine, std::string* output, const std::string& extraEnvironment) {
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
  if (!extraEnvironment.empty()) {
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1)
      environment.insert(environment.end(), p, p + wcslen(p) + 1);
    FreeEnvironmentStringsW(block);
    const std::wstring extra = Wide(extraEnvironment);
    environment.insert(environment.end(), extra.begin(), extra.end());
    environment.push_back(L'\0');
    environment.push_back(L'\0');
  }
  std::wstring cmd = Wide(commandLine);
  PROCESS_INFORMATION pi{};
  const BOOL started =
      CreateProcessRetrying(&cmd[0], TRUE, environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT,
                            environment.empty() ? nullptr : environment.data(), nullptr, &si, &pi);
  CloseHandle(writePipe);
  if (!started) {
    // Said on standard error so that a failed start is told apart from a child's own failure.
    fwprintf(stderr, L"could not start %ls (error %lu)\n", cmd.c_str(), GetLastError());
    CloseHandle(readPipe);
    return 0xFFFFFFFF;
  }
  // Read to the end before waiting: a child that fills the pipe would otherwise never exit.
  std::string text;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(readPipe, buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
  CloseHandle(readPipe);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0xFFFFFFFF;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  if (output) *output = text;
  return code;
}

size_t HeapBytesInUse() {
  HANDLE heaps[256];
  const DWORD count = GetProcessHeaps(256, heaps);
  size_t bytes = 0;
  for (DWORD i = 0; i < count && i < 256; ++i) {
    // Locked, so that no other thread changes the heap while it is walked.
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

std::vector<std::vector<std::string>> TabSeparatedRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    rows.push_back(fields);
  }
  return rows;
}

std::wstring ThreadDescription(DWORD threadId) {
  typedef HRESULT(WINAPI * GetThreadDescriptionProc)(HANDLE, PWSTR*);
  static const auto pfnGet = reinterpret_cast<GetThreadDescriptionProc>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
  if (pfnGet == nullptr) return std::wstring();
  HANDLE thread = ::OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId);
  if (thread == nullptr) return std::wstring();
  std::wstring text;
  PWSTR description = nullptr;
  if (SUCCEEDED(pfnGet(thread, &description)) && description != nullptr) {
    text = description;
    ::LocalFree(description);
  }
  ::CloseHandle(thread);
  return text;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(5)) {
    if (done()) return true;
  }
  return done();
}

bool RemoveAsHostProgram(const std::string& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return false;
  char* name = unixName(Wide(path).c_str());
  if (name == nullptr) return false;
  std::wstring command = L"Z:\\bin\\rm -f \"" + Wide(name) + L"\"";
  ::HeapFree(::GetProcessHeap(), 0, name);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
    return false;
  if (process.hThread != nullptr) ::CloseHandle(process.hThread);
  if (process.hProcess != nullptr) ::CloseHandle(process.hProcess);
  // A host program is started without a handle that tells its end: its effect is waited for.
  return WaitUntil([&] { return ::GetFileAttributesW(Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES; },
                   10000);
}

}  // namespace testsupport
