// The test runner and its fixture layout work on both builds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestFiles.h"

namespace fs = std::filesystem;

TEST(TestFixtures, FixtureDirectoryHoldsThePstReadme) {
  const std::string readme = testsupport::FixturePath("pst/README.md");
  EXPECT_FALSE(testsupport::ReadFileBytes(readme).empty()) << readme;
}

TEST(TestFixtures, TempDirIsRemovedWithItsFiles) {
  std::string path;
  {
    testsupport::TempDir dir;
    path = dir.Path();
    std::ofstream(fs::u8path(dir.File("a.bin")), std::ios::binary) << "abc";
    EXPECT_EQ(testsupport::ReadFileBytes(dir.File("a.bin")), "abc");
  }
  EXPECT_FALSE(fs::exists(fs::u8path(path)));
}

TEST(TestFixtures, TimeZoneIsFixedForReproducibleDates) {
  const char* tz = std::getenv("TZ");
  ASSERT_NE(tz, nullptr);
  EXPECT_STREQ(tz, "UTC");
}
