// Finds the Notes client's directory in the registry (HKEY_LOCAL_MACHINE only) and puts it on the
// PATH of this process, so that a program started from here can load the Notes libraries.
#pragma once

#include <afx.h>

#include "LauncherSystem.h"

// Lives on the caller's stack for one search. Every operation goes through the given services;
// failures are reported as FALSE, never thrown.
class CNotesEnvironment {
 public:
  explicit CNotesEnvironment(CLauncherSystem& system = CLauncherSystem::Win32());
  virtual ~CNotesEnvironment();

  // The "path" value of HKLM "SOFTWARE\Lotus\Notes". TRUE and strPath set only when it was read as
  // text that fits 260 characters; an empty value is a success.
  BOOL ReadNotesPath(CString& strPath);

  // Adds the "path" value of every subkey of that key to PATH, in enumeration order. TRUE when at
  // least one subkey had one (an empty value counts as found).
  BOOL FindNotesInstallations();

  // Appends strDirectory to PATH unless PATH already has it as one of its entries (letter case and
  // a trailing backslash aside). The new value is the upper-cased PATH, ";" and the upper-cased
  // directory, and SetPath stores it lower-cased.
  void AddToPath(CString strDirectory);

  // Sets PATH to strValue in lower case.
  void SetPath(CString strValue);

 private:
  BOOL ReadPathValue(HKEY hKey, CString& strValue);
  BOOL ReadPathVariable(CString& strValue);

  CLauncherSystem& m_system;
};

// TRUE when strDirectory is one of the ";"-separated entries of strPath, ignoring letter case and
// trailing backslashes. An empty directory counts as present: there is nothing to add.
BOOL IsOnPath(const CString& strPath, const CString& strDirectory);
