// Fixture paths and temporary directories for tests on both builds.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace testsupport {

std::string FixturePath(const std::string& relative) {
  const char* root = std::getenv("BRINDLE_TESTDATA");
  if (root == nullptr || *root == '\0')
    throw MissingFixture("BRINDLE_TESTDATA is not set (run the tests through CTest); fixture " + relative);
  fs::path p = fs::u8path(root) / fs::u8path(relative);
  const std::string path = p.make_preferred().u8string();
  std::error_code ec;
  const fs::file_status status = fs::status(p, ec);
  if (ec || !fs::exists(status)) throw MissingFixture("fixture not found: " + path);
  if (fs::is_regular_file(status) && !std::ifstream(p, std::ios::binary).is_open())
    throw MissingFixture("fixture cannot be read: " + path);
  return path;
}

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path base = fs::temp_directory_path();
  for (;;) {
    std::ostringstream name;
    name << "brindle-test-" << stamp << '-' << counter++;
    fs::path candidate = base / name.str();
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.u8string();
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(fs::u8path(path_), ec);
}

std::string TempDir::File(const std::string& name) const {
  return (fs::u8path(path_) / fs::u8path(name)).make_preferred().u8string();
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool CutFileShort(const std::string& path, long long size) {
  std::error_code ec;
  fs::resize_file(fs::u8path(path), static_cast<std::uintmax_t>(size), ec);
  return !ec;
}

bool WriteOverFileMiddle(const std::string& path, size_t bytes) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(fs::u8path(path), ec);
  if (ec) return false;
  std::fstream file(fs::u8path(path), std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(static_cast<std::streamoff>(size / 2));
  file.write(std::string(bytes, 'o').data(), static_cast<std::streamsize>(bytes));
  file.close();
  return !file.fail() && fs::file_size(fs::u8path(path), ec) == size;
}

bool AgeFile(const std::string& path) {
  std::error_code ec;
  fs::last_write_time(fs::u8path(path), fs::file_time_type::clock::now() - std::chrono::hours(1), ec);
  return !ec;
}

}  // namespace testsupport
