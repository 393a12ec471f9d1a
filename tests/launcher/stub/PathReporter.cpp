// Stand-in for the main program in the launcher's end-to-end test: writes the PATH it inherited,
// as UTF-8, to "inherited-path.txt" beside its own file, then ends. The file appears complete or
// not at all (written under another name, then renamed).
#include <windows.h>

#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  std::vector<wchar_t> path(32768);
  const DWORD length = GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size()));
  if (length >= path.size()) return 2;

  std::vector<wchar_t> self(32768);
  const DWORD selfLength = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
  std::wstring directory(self.data(), selfLength);
  directory.erase(directory.find_last_of(L'\\') + 1);

  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(length), &utf8[0], bytes, nullptr, nullptr);

  const std::wstring partial = directory + L"inherited-path.partial";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != utf8.size()) return 4;
  return MoveFileExW(partial.c_str(), (directory + L"inherited-path.txt").c_str(), MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 5;
}
