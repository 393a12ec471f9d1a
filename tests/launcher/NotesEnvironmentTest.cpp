// CNotesEnvironment against the stand-in services: reading the registry values within their limit,
// and PATH entries compared whole.
#include <gtest/gtest.h>

#include "FakeLauncherSystem.h"
#include "NotesEnvironment.h"

namespace {

std::wstring ReadNotesPath(FakeLauncherSystem& system, BOOL* pbRead) {
  CNotesEnvironment environment(system);
  CString strPath(L"unchanged");
  *pbRead = environment.ReadNotesPath(strPath);
  return static_cast<LPCWSTR>(strPath);
}

TEST(ReadNotesPath, ValueUpTo260CharactersIsReadWhole) {
  FakeLauncherSystem system;
  const std::wstring fits = L"C:\\" + std::wstring(256, L'n');  // 259 + terminator = 520 bytes
  system.SetText(kNotesKey, L"path", fits);
  BOOL bRead = FALSE;
  EXPECT_EQ(ReadNotesPath(system, &bRead), fits);
  EXPECT_TRUE(bRead);

  // Stored without a terminator, 260 characters still fit and come back terminated.
  const std::wstring unterminated = L"C:\\" + std::wstring(257, L'u');
  system.SetText(kNotesKey, L"path", unterminated, REG_SZ, false);
  EXPECT_EQ(ReadNotesPath(system, &bRead), unterminated);
  EXPECT_TRUE(bRead);
  EXPECT_EQ(system.OpenHandles(), 0u);
}

TEST(ReadNotesPath, LongerValueOrOtherTypeReadsAsMissing) {
  FakeLauncherSystem system;
  BOOL bRead = TRUE;
  system.SetText(kNotesKey, L"path", L"C:\\" + std::wstring(257, L'n'));
  EXPECT_EQ(ReadNotesPath(system, &bRead), L"unchanged");
  EXPECT_FALSE(bRead);

  system.SetRaw(kNotesKey, L"path", REG_BINARY, {0x43, 0, 0x3A, 0});
  EXPECT_EQ(ReadNotesPath(system, &bRead), L"unchanged");
  EXPECT_FALSE(bRead);

  system.SetText(kNotesKey, L"path", L"%ProgramFiles%\\Notes", REG_EXPAND_SZ);
  EXPECT_EQ(ReadNotesPath(system, &bRead), L"%ProgramFiles%\\Notes");
  EXPECT_TRUE(bRead);
  EXPECT_EQ(system.OpenHandles(), 0u);
}

TEST(FindNotesInstallations, LongSubkeyNamesAreOpenedWithTheirFullPath) {
  FakeLauncherSystem system;
  system.SetVariable(L"path", L"C:\\Windows");
  const std::wstring longName(255, L'k');
  system.SetText(kNotesKey + L"\\" + longName, L"path", L"E:\\Deep\\Notes");
  EXPECT_TRUE(CNotesEnvironment(system).FindNotesInstallations());
  EXPECT_EQ(system.Variable(L"path"), L"c:\\windows;e:\\deep\\notes");
  EXPECT_EQ(system.openedKeys.back(), kNotesKey + L"\\" + longName);
  EXPECT_EQ(system.OpenHandles(), 0u);
}

class AddToPathTest : public ::testing::Test {
 protected:
  std::wstring AddTo(const std::wstring& path, const std::wstring& directory) {
    system.SetVariable(L"PATH", path);
    system.environmentWrites = 0;
    CNotesEnvironment(system).AddToPath(directory.c_str());
    return system.Variable(L"PATH");
  }
  FakeLauncherSystem system;
};

TEST_F(AddToPathTest, DirectoryAlreadyAnEntryInAnyCaseIsNotAppended) {
  const std::wstring path = L"C:\\Lotus\\NOTES;C:\\Windows;D:\\Tools\\";
  EXPECT_EQ(AddTo(path, L"c:\\lotus\\notes"), path);  // first entry
  EXPECT_EQ(AddTo(path, L"C:\\WINDOWS"), path);
  EXPECT_EQ(AddTo(path, L"d:\\tools"), path);           // trailing backslash in PATH
  EXPECT_EQ(AddTo(path, L"C:\\Lotus\\Notes\\"), path);  // trailing backslash in the directory
  EXPECT_EQ(system.environmentWrites, 0);
}

TEST_F(AddToPathTest, DirectoryThatIsOnlyPartOfAnEntryIsAppended) {
  EXPECT_EQ(AddTo(L"C:\\Notes9;C:\\Windows", L"C:\\Notes"), L"c:\\notes9;c:\\windows;c:\\notes");
  EXPECT_EQ(AddTo(L"C:\\Windows;C:\\Lotus\\Notes\\Data", L"c:\\lotus\\notes"),
            L"c:\\windows;c:\\lotus\\notes\\data;c:\\lotus\\notes");
  EXPECT_EQ(AddTo(L"X:\\C:\\Notes", L"C:\\Notes"), L"x:\\c:\\notes;c:\\notes");
}

TEST_F(AddToPathTest, WholePathEndsInLowerCase) {
  EXPECT_EQ(AddTo(L"C:\\Windows;D:\\Mixed Case\\Bin", L"E:\\Lotus\\Notes"),
            L"c:\\windows;d:\\mixed case\\bin;e:\\lotus\\notes");
}

TEST_F(AddToPathTest, UnsetOrEmptyPathBecomesTheDirectory) {
  system.UnsetVariable(L"PATH");
  CNotesEnvironment(system).AddToPath(L"C:\\Lotus\\Notes");
  EXPECT_EQ(system.Variable(L"PATH"), L"c:\\lotus\\notes");
  EXPECT_EQ(AddTo(L"", L"D:\\Notes"), L"d:\\notes");
}

TEST_F(AddToPathTest, PathLongerThanTheFirstBufferIsKeptWhole) {
  std::wstring path;
  for (int i = 0; i < 1500; ++i) path += L"C:\\dir" + std::to_wstring(i) + L";";
  path += L"C:\\Last";
  ASSERT_GT(path.size(), 13000u);
  const std::wstring result = AddTo(path, L"C:\\Lotus\\Notes");
  ASSERT_EQ(result.size(), path.size() + 15);
  EXPECT_EQ(result.substr(0, 8), L"c:\\dir0;");
  EXPECT_EQ(result.substr(result.size() - 22), L"c:\\last;c:\\lotus\\notes");

  // And an entry beyond the first 13,000 characters is found.
  EXPECT_EQ(AddTo(path, L"c:\\last"), path);
}

TEST_F(AddToPathTest, EmptyDirectoryAddsNothing) {
  EXPECT_EQ(AddTo(L"C:\\Windows", L""), L"C:\\Windows");
  EXPECT_EQ(system.environmentWrites, 0);
}

TEST(IsOnPath, ComparesWholeEntries) {
  EXPECT_TRUE(IsOnPath(L"a;b;c", L"B"));
  EXPECT_TRUE(IsOnPath(L"a;;c\\\\", L"C"));
  EXPECT_FALSE(IsOnPath(L"abc;d", L"ab"));
  EXPECT_FALSE(IsOnPath(L"abc;d", L"bc"));
  EXPECT_FALSE(IsOnPath(L"", L"a"));
  EXPECT_TRUE(IsOnPath(L"", L""));
}

}  // namespace
