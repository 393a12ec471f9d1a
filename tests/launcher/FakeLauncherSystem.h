// An in-memory stand-in for the launcher's services: a registry under HKEY_LOCAL_MACHINE, an
// environment, a current directory, a set of existing files, and records of what was started and
// shown. Keeps the Win32 contracts (error codes, sizes, ERROR_MORE_DATA) that the launcher relies on.
#pragma once

#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LauncherSystem.h"

// The HKEY_LOCAL_MACHINE key where the Notes installation records its "path".
inline const std::wstring kNotesKey = L"SOFTWARE\\Lotus\\Notes";

class FakeLauncherSystem : public CLauncherSystem {
 public:
  struct Value {
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
  };
  struct Key {
    std::map<std::wstring, Value> values;  // by upper-cased name
    std::vector<std::wstring> subkeys;     // in enumeration order
  };

  // Creates the key and its parents under HKLM; subkeys are listed in the order they were added.
  void AddKey(const std::wstring& path) {
    if (keys_.count(Upper(path))) return;
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos) {
      AddKey(path.substr(0, slash));
      keys_[Upper(path.substr(0, slash))].subkeys.push_back(path.substr(slash + 1));
    }
    keys_[Upper(path)];
  }
  // A text value stored with its terminator (as the registry editor stores it) unless told not to.
  void SetText(const std::wstring& path, const std::wstring& name, const std::wstring& text,
               DWORD type = REG_SZ, bool terminated = true) {
    const size_t bytes = (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t);
    std::vector<BYTE> data(bytes);
    memcpy(data.data(), text.c_str(), bytes);
    SetRaw(path, name, type, data);
  }
  void SetRaw(const std::wstring& path, const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
    AddKey(path);
    keys_[Upper(path)].values[Upper(name)] = Value{type, data};
  }

  void SetVariable(const std::wstring& name, const std::wstring& value) { variables_[Upper(name)] = value; }
  void UnsetVariable(const std::wstring& name) { variables_.erase(Upper(name)); }
  bool HasVariable(const std::wstring& name) const { return variables_.count(Upper(name)) != 0; }
  std::wstring Variable(const std::wstring& name) const {
    auto it = variables_.find(Upper(name));
    return it == variables_.end() ? std::wstring() : it->second;
  }

  void AddFile(const std::wstring& path) { files_.insert(Upper(path)); }

  std::wstring currentDirectory = L"C:\\Program Files\\Brindle";
  INT_PTR shellResult = 42;

  // What the launcher did.
  std::vector<std::wstring> openedKeys;
  int enumerations = 0;
  int environmentWrites = 0;
  std::vector<std::pair<std::wstring, std::wstring>> started;  // verb, file
  std::vector<std::pair<std::wstring, UINT>> messages;         // text, type
  size_t OpenHandles() const { return handles_.size(); }

  LONG OpenKey(HKEY hKey, LPCWSTR lpszSubKey, REGSAM, PHKEY phkResult) override {
    if (hKey != HKEY_LOCAL_MACHINE) return ERROR_INVALID_HANDLE;
    openedKeys.push_back(lpszSubKey);
    if (!keys_.count(Upper(lpszSubKey))) return ERROR_FILE_NOT_FOUND;
    const HKEY handle = reinterpret_cast<HKEY>(static_cast<INT_PTR>(0x1000 + nextHandle_++));
    handles_[handle] = Upper(lpszSubKey);
    *phkResult = handle;
    return ERROR_SUCCESS;
  }
  LONG QueryValue(HKEY hKey, LPCWSTR lpszValueName, LPDWORD lpType, LPBYTE lpData,
                  LPDWORD lpcbData) override {
    auto handle = handles_.find(hKey);
    if (handle == handles_.end()) return ERROR_INVALID_HANDLE;
    const Key& key = keys_[handle->second];
    auto value = key.values.find(Upper(lpszValueName));
    if (value == key.values.end()) return ERROR_FILE_NOT_FOUND;
    if (lpType) *lpType = value->second.type;
    const DWORD size = static_cast<DWORD>(value->second.data.size());
    if (lpData && size > *lpcbData) {
      // The real call leaves the buffer's content undefined; make that visible.
      memset(lpData, 0xCC, *lpcbData);
      *lpcbData = size;
      return ERROR_MORE_DATA;
    }
    if (lpData) memcpy(lpData, value->second.data.data(), size);
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
  }
  LONG EnumKey(HKEY hKey, DWORD dwIndex, LPWSTR lpszName, LPDWORD lpcchName) override {
    ++enumerations;
    auto handle = handles_.find(hKey);
    if (handle == handles_.end()) return ERROR_INVALID_HANDLE;
    const Key& key = keys_[handle->second];
    if (dwIndex >= key.subkeys.size()) return ERROR_NO_MORE_ITEMS;
    const std::wstring& name = key.subkeys[dwIndex];
    if (name.size() >= *lpcchName) return ERROR_MORE_DATA;
    wcscpy(lpszName, name.c_str());
    *lpcchName = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
  }
  LONG CloseKey(HKEY hKey) override { return handles_.erase(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

  DWORD ReadEnvironmentVariable(LPCWSTR lpszName, LPWSTR lpszBuffer, DWORD nSize) override {
    auto it = variables_.find(Upper(lpszName));
    if (it == variables_.end()) return 0;
    return CopyOut(it->second, lpszBuffer, nSize);
  }
  BOOL WriteEnvironmentVariable(LPCWSTR lpszName, LPCWSTR lpszValue) override {
    ++environmentWrites;
    if (lpszValue)
      variables_[Upper(lpszName)] = lpszValue;
    else
      variables_.erase(Upper(lpszName));
    return TRUE;
  }
  DWORD ReadCurrentDirectory(DWORD nBufferLength, LPWSTR lpszBuffer) override {
    return CopyOut(currentDirectory, lpszBuffer, nBufferLength);
  }

  BOOL FileExists(LPCWSTR lpszPath) override { return files_.count(Upper(lpszPath)) != 0; }
  HINSTANCE ShellOpen(LPCWSTR lpszVerb, LPCWSTR lpszFile) override {
    started.emplace_back(lpszVerb, lpszFile);
    return reinterpret_cast<HINSTANCE>(shellResult);
  }
  int ShowMessage(const CString& strText, UINT nType) override {
    messages.emplace_back(static_cast<LPCWSTR>(strText), nType);
    return IDOK;
  }

 private:
  static std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
    return text;
  }
  // The Win32 convention: the length on success, the needed size with terminator when short.
  static DWORD CopyOut(const std::wstring& text, LPWSTR buffer, DWORD size) {
    if (text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
    wcscpy(buffer, text.c_str());
    return static_cast<DWORD>(text.size());
  }

  std::map<std::wstring, Key> keys_;
  std::map<HKEY, std::wstring> handles_;
  int nextHandle_ = 0;
  std::map<std::wstring, std::wstring> variables_;
  std::set<std::wstring> files_;
};
