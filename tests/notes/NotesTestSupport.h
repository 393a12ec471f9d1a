// Helpers of the Notes library tests: the session every test runs in, throw-mode scopes, databases
// made from the build's mail template in a temporary directory, and running the helper programs.
#pragma once

#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "TestProcess.h"
#include "lnnotes.h"

namespace notestest {

inline LNString Ln(const std::string& utf8) { return LNString(utf8.data(), static_cast<LNINT>(utf8.size())); }
inline std::string Str(const LNString& s) {
  return std::string(s.GetBuf(), static_cast<size_t>(s.GetBufLength()));
}

using testsupport::Wide;

// Sets the global throw-all mode for the scope and restores the previous one.
class ThrowMode {
 public:
  explicit ThrowMode(bool on) : previous_(LNGetThrowAllErrorsGlobal()) {
    LNSetThrowAllErrorsGlobal(on ? 1 : 0);
  }
  ~ThrowMode() { LNSetThrowAllErrorsGlobal(previous_); }

 private:
  LNBOOL previous_;
};

// A new database from the mail template at dir/name, opened.
LNDatabase NewMailDatabase(const testsupport::TempDir& dir, const std::string& name = "target.nsf");

// A program beside the test executable (build/bin).
inline std::string ProgramPath(const std::string& exe) { return testsupport::SiblingProgramPath(exe); }

using testsupport::RunProgram;

std::string Quote(const std::string& s);

}  // namespace notestest
