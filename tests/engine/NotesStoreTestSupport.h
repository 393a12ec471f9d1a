// Helpers of the engine tests: conversions between the tests' UTF-8 and the store's texts, fault
// scopes for the Notes library, databases made with the library directly, and running a program
// from a private Notes installation.
#pragma once

#include <windows.h>

#include <string>

#include "NotesStore.h"
#include "TestFiles.h"
#include "TestProcess.h"

namespace enginetest {

using testsupport::Utf8;
using testsupport::Wide;
inline std::string Utf8(const CString& text) { return Utf8(std::wstring(static_cast<LPCWSTR>(text))); }
inline CString ToCString(const std::string& utf8) { return CString(Wide(utf8).c_str()); }
inline LNString Ln(const std::string& utf8) { return LNString(utf8.data(), static_cast<LNINT>(utf8.size())); }
inline std::string Str(const LNString& s) {
  return std::string(s.GetBuf(), static_cast<size_t>(s.GetBufLength()));
}

// The library's message for status, as the store reports it.
std::string MessageOf(LNSTATUS status);

// Sets STANDIN_FAULTS for the scope; the library reads it when a session is initialised.
class FaultScope {
 public:
  explicit FaultScope(const char* faults) { SetEnvironmentVariableA("STANDIN_FAULTS", faults); }
  ~FaultScope() { SetEnvironmentVariableA("STANDIN_FAULTS", nullptr); }
};

// A database at path made from the installation's template file, not opened.
void MakeDatabase(const std::string& templateFile, const std::string& path, const std::string& title = "");

// A private Notes installation in a temporary directory: the library, the store helper program and a
// configuration naming "data" as the data directory and the given servers ("Name|dir" entries).
class PrivateInstallation {
 public:
  explicit PrivateInstallation(const std::string& serverLines = "");
  std::string Data() const { return dir_.File("data"); }
  std::string File(const std::string& name) const { return dir_.File(name); }
  // Runs the helper with arguments; its exit code, and its output in *output.
  DWORD Run(const std::string& arguments, std::string* output, const std::string& extraEnv = "") const;

 private:
  testsupport::TempDir dir_;
};

// The value of "key=" on its own line of a helper's output; "<missing>" when there is none.
std::string ValueOf(const std::string& output, const std::string& key);

}  // namespace enginetest
