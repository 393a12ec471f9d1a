// The operating-system services the launcher uses (registry, environment, files, shell, message box),
// behind one interface so that the launch logic can run against a stand-in in tests.
#pragma once

#include <afx.h>

// Each operation keeps the contract of the Win32 function it stands for: registry results are
// Win32 error codes and sizes are in bytes (values) or characters (names); the environment and
// current-directory reads return the needed size, terminator included, when the buffer is short.
class CLauncherSystem {
 public:
  virtual ~CLauncherSystem() {}

  virtual LONG OpenKey(HKEY hKey, LPCWSTR lpszSubKey, REGSAM samDesired, PHKEY phkResult) = 0;
  virtual LONG QueryValue(HKEY hKey, LPCWSTR lpszValueName, LPDWORD lpType, LPBYTE lpData,
                          LPDWORD lpcbData) = 0;
  // The name of subkey dwIndex; ERROR_NO_MORE_ITEMS past the last one.
  virtual LONG EnumKey(HKEY hKey, DWORD dwIndex, LPWSTR lpszName, LPDWORD lpcchName) = 0;
  virtual LONG CloseKey(HKEY hKey) = 0;

  // This process's environment; 0 when the variable is unset or empty.
  virtual DWORD ReadEnvironmentVariable(LPCWSTR lpszName, LPWSTR lpszBuffer, DWORD nSize) = 0;
  virtual BOOL WriteEnvironmentVariable(LPCWSTR lpszName, LPCWSTR lpszValue) = 0;
  virtual DWORD ReadCurrentDirectory(DWORD nBufferLength, LPWSTR lpszBuffer) = 0;

  virtual BOOL FileExists(LPCWSTR lpszPath) = 0;
  // Starts a program through the shell with a verb, no parameters, no directory and a normal window;
  // a result of 32 or less is a failure.
  virtual HINSTANCE ShellOpen(LPCWSTR lpszVerb, LPCWSTR lpszFile) = 0;
  virtual int ShowMessage(const CString& strText, UINT nType) = 0;

  // The real services of this process.
  static CLauncherSystem& Win32();
};
