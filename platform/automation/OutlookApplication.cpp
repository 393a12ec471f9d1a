// Application and namespace objects of the "Outlook.Application" stand-in.
#include "OutlookApplication.h"

namespace automation {

OutlookApplication::OutlookApplication()
    : faults_(std::make_shared<StandInFaults>(StandInFaults::FromEnvironment())) {
  if (faults_->Has("outlook.create")) RaiseInjectedFault("outlook.create");
}

const std::vector<DispatchMember>& OutlookApplication::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x110, kMethod, L"GetNamespace", 1, 1},
      {0x113, kMethod, L"Quit", 0, 0},
  };
  return kMembers;
}

void OutlookApplication::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  if (member.id == 0x113) return;
  std::wstring type = args.Text(0);
  if (_wcsicmp(type.c_str(), L"MAPI") != 0)
    throw DispatchError(L"GetNamespace: unknown namespace type \"" + type +
                        L"\"; only \"MAPI\" is supported");
  SetObject(result, new OutlookNameSpace(faults_));
}

const std::vector<DispatchMember>& OutlookNameSpace::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x2105, kMethod, L"Logon", 0, 4},
      {0x2106, kMethod, L"Logoff", 0, 0},
      {0x2119, kMethod, L"AddStore", 1, 1},
  };
  return kMembers;
}

void OutlookNameSpace::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT*) {
  switch (member.id) {
    case 0x2105:
      if (faults_->Has("outlook.logon")) RaiseInjectedFault("outlook.logon");
      return;
    case 0x2106:
      return;
    case 0x2119:
      if (faults_->Has("outlook.addstore")) RaiseInjectedFault("outlook.addstore");
      CheckPersonalFoldersFile(args.Text(0));
      return;
  }
}

namespace {

// Why the file could not be opened or read, in the system's words; a file that another program holds
// is named as such, as that is what the user can act on.
[[noreturn]] void ThrowFileFailure(const std::wstring& path, DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
    throw DispatchError(L"The file " + path + L" does not exist");
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
    throw DispatchError(L"The file " + path +
                        L" is in use by another program, which does not let it be read. Close that "
                        L"program, then try again.");
  LPWSTR text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring reason = length > 0 ? std::wstring(text, length) : std::wstring();
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L'.'))
    reason.pop_back();
  if (reason.empty()) reason = L"system error";
  throw DispatchError(L"The file " + path + L" cannot be opened: " + reason + L" (error " +
                      std::to_wstring(error) + L")");
}

}  // namespace

void CheckPersonalFoldersFile(const std::wstring& path) {
  if (path.empty()) throw DispatchError(L"No personal folders file was named");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) ThrowFileFailure(path, GetLastError());
  unsigned char head[10] = {};
  DWORD got = 0;
  BOOL ok = ReadFile(file, head, sizeof head, &got, nullptr);
  const DWORD readError = ok ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  // A byte-range lock of another program's keeps the header from being read.
  if (readError == ERROR_LOCK_VIOLATION) ThrowFileFailure(path, readError);
  // "!BDN", a 4-byte CRC, then the client magic "SM" (personal folders) or "SO" (offline folders).
  bool personal = ok && got == sizeof head && head[0] == '!' && head[1] == 'B' && head[2] == 'D' &&
                  head[3] == 'N' && head[8] == 'S' && (head[9] == 'M' || head[9] == 'O');
  // AddStore adds personal folders files; its refusal names only those, even though an offline
  // folders file passes the same check.
  if (!personal) throw DispatchError(L"The file " + path + L" is not a personal folders (.pst) file");
}

}  // namespace automation
