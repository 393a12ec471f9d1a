// Paths for tests: the read-only fixtures and a temporary directory that cleans up after itself.
// Builds natively and for Windows; paths are UTF-8 std::string on both sides.
#pragma once

#include <string>

namespace testsupport {

// The fixture directory (BRINDLE_TESTDATA, set by the test runner), joined with a relative path
// that uses '/' separators. Fails the current test when the variable is missing.
std::string FixturePath(const std::string& relative);

// A fresh directory under the system's temporary directory, removed with its contents on
// destruction. Path() ends without a separator.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Reads a whole file; empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace testsupport
