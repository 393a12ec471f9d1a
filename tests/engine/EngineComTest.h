// Shared by the engine's automation tests: a single-threaded COM apartment per test (as on the
// saving worker), PSTs written by the builder, and the stand-ins' fault seam.
#pragma once

#include <afxdisp.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "NotesStoreTestSupport.h"
#include "PstRecipe.h"
#include "PstWriter.h"
#include "TestFiles.h"

// Lets failure messages show CStrings (as UTF-8).
inline std::ostream& operator<<(std::ostream& out, const CString& text) {
  LPCWSTR wide = text;
  int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(length > 0 ? length - 1 : 0, '\0');
  if (length > 1) WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], length, nullptr, nullptr);
  return out << '"' << utf8 << '"';
}

namespace enginetest {

// Names the stand-in calls that fail while it lives (STANDIN_FAULTS, read when a server object is
// created in this process).
class ScopedFaults {
 public:
  explicit ScopedFaults(const char* faultList) { SetEnvironmentVariableA("STANDIN_FAULTS", faultList); }
  ~ScopedFaults() { SetEnvironmentVariableA("STANDIN_FAULTS", nullptr); }
  ScopedFaults(const ScopedFaults&) = delete;
  ScopedFaults& operator=(const ScopedFaults&) = delete;
};

class EngineComTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

  // Writes store into the test's directory; the Windows path of the file.
  CString WriteStore(const pstbuilder::Store& store, const std::string& name = "test.pst") {
    std::string path = dir_.File(name);
    pstbuilder::WritePst(store, path);
    return ToCString(path);
  }

  static pstbuilder::Message Mail(const std::string& subject) {
    pstbuilder::Message message;
    message.Subject(subject).Body("body of " + subject);
    return message;
  }

  testsupport::TempDir dir_;
};

}  // namespace enginetest
