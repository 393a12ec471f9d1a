// Paths for tests: the read-only fixtures and a temporary directory that cleans up after itself.
// Builds natively and for Windows; paths are UTF-8 std::string on both sides.
#pragma once

#include <stdexcept>
#include <string>

namespace testsupport {

// Thrown by FixturePath when a fixture cannot be read. GoogleTest reports it with the path and ends
// the test there, so that no test goes on without its input.
class MissingFixture : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The fixture directory (BRINDLE_TESTDATA, set by the test runner; the repository's tests/data),
// joined with a relative path that uses '/' separators. Throws MissingFixture, naming the path it
// looked for, when the variable is missing or the file or folder cannot be read.
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
// Cuts the file at path to size bytes, as another program may while the file is open elsewhere; false
// when it cannot.
bool CutFileShort(const std::string& path, long long size);
// Writes `bytes` bytes over the middle of the file at path, its length unchanged, as another program may
// while the file is open elsewhere; false when it cannot.
bool WriteOverFileMiddle(const std::string& path, size_t bytes);
// Sets the file's last-write time an hour back, so that a later write changes it whatever the grain of
// the system's clock; false when it cannot.
bool AgeFile(const std::string& path);

}  // namespace testsupport
