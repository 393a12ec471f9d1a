// The launcher's decision against the stand-in services: which directories reach PATH, which
// message is shown, and whether the main program is started.
#include <gtest/gtest.h>

#include "FakeLauncherSystem.h"
#include "MainProgramStart.h"

namespace {

const std::wstring kNotInstalled =
    L"Lotus Notes is not installed on this computer. In order to successfully convert the Outlook "
    L".PST file to Lotus Notes .NSF file, you must have Lotus Notes installed on your computer.\r\n"
    L"\r\n Please install Lotus Notes and restart Brindle for PST to NSF again.";
const std::wstring kMissing = L"Required component is missing , Please reinstall software.";
const std::wstring kProgram = L"C:\\Program Files\\Brindle\\Brindle for PST to NSF.exe";

class LaunchTest : public ::testing::Test {
 protected:
  LaunchTest() {
    system.SetVariable(L"PATH", L"C:\\Windows\\system32;C:\\Windows");
    system.AddFile(kProgram);
  }
  void Run() { FindNotesAndStartMainProgram(system); }
  bool StartedMainProgram() const {
    return system.started.size() == 1 && system.started[0].first == L"open" &&
           system.started[0].second == kProgram;
  }
  bool OpenedAnySubkey() const {
    for (const std::wstring& key : system.openedKeys)
      if (key.size() > kNotesKey.size()) return true;
    return false;
  }

  FakeLauncherSystem system;
};

TEST_F(LaunchTest, MainValueIsAppendedAndSubkeysAreNotRead) {
  system.SetText(kNotesKey, L"path", L"C:\\Lotus\\Notes");
  system.SetText(kNotesKey + L"\\8.5", L"path", L"D:\\Other\\Notes");

  Run();

  EXPECT_EQ(system.Variable(L"PATH"), L"c:\\windows\\system32;c:\\windows;c:\\lotus\\notes");
  EXPECT_TRUE(StartedMainProgram());
  EXPECT_TRUE(system.messages.empty());
  EXPECT_EQ(system.enumerations, 0);
  EXPECT_FALSE(OpenedAnySubkey());
  EXPECT_EQ(system.OpenHandles(), 0u);
}

TEST_F(LaunchTest, EmptyMainValueAddsEverySubkeyInEnumerationOrder) {
  system.SetText(kNotesKey, L"path", L"");
  system.SetText(kNotesKey + L"\\9.0", L"path", L"D:\\Notes9");
  system.AddKey(kNotesKey + L"\\NoValue");
  system.SetRaw(kNotesKey + L"\\Binary", L"path", REG_BINARY, {0x41, 0, 0x42, 0});
  system.SetText(kNotesKey + L"\\8.5", L"path", L"D:\\Notes85");

  Run();

  EXPECT_EQ(system.Variable(L"PATH"), L"c:\\windows\\system32;c:\\windows;d:\\notes9;d:\\notes85");
  EXPECT_TRUE(StartedMainProgram());
  EXPECT_TRUE(system.messages.empty());
  EXPECT_EQ(system.OpenHandles(), 0u);
}

TEST_F(LaunchTest, SubkeyWithEmptyValueCountsAsFoundAndAddsNothing) {
  system.SetText(kNotesKey, L"path", L"");
  system.SetText(kNotesKey + L"\\Empty", L"path", L"");

  Run();

  EXPECT_EQ(system.environmentWrites, 0);
  EXPECT_EQ(system.Variable(L"PATH"), L"C:\\Windows\\system32;C:\\Windows");
  EXPECT_TRUE(StartedMainProgram());
}

TEST_F(LaunchTest, EmptyMainValueWithoutUsableSubkeysIsNotInstalled) {
  system.SetText(kNotesKey, L"path", L"");
  system.AddKey(kNotesKey + L"\\NoValue");
  system.SetRaw(kNotesKey + L"\\Number", L"path", REG_DWORD, {1, 0, 0, 0});

  Run();

  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].first, kNotInstalled);
  EXPECT_EQ(system.messages[0].second, UINT(MB_OK));
  EXPECT_TRUE(system.started.empty());
  EXPECT_EQ(system.environmentWrites, 0);
}

TEST_F(LaunchTest, MissingKeyOrValueIsNotInstalledWithoutSearchingSubkeys) {
  Run();
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].first, kNotInstalled);
  EXPECT_TRUE(system.started.empty());

  FakeLauncherSystem withoutValue;
  withoutValue.SetText(kNotesKey + L"\\8.5", L"path", L"D:\\Notes85");
  withoutValue.AddFile(kProgram);
  FindNotesAndStartMainProgram(withoutValue);
  ASSERT_EQ(withoutValue.messages.size(), 1u);
  EXPECT_EQ(withoutValue.messages[0].first, kNotInstalled);
  EXPECT_EQ(withoutValue.enumerations, 0);
  EXPECT_TRUE(withoutValue.started.empty());
  EXPECT_EQ(withoutValue.OpenHandles(), 0u);
}

TEST_F(LaunchTest, MainValueTooLongOrNotTextIsNotInstalled) {
  // 260 characters and the terminator do not fit the 520-byte buffer.
  system.SetText(kNotesKey, L"path", L"C:\\" + std::wstring(257, L'n'));
  system.SetText(kNotesKey + L"\\8.5", L"path", L"D:\\Notes85");
  Run();
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].first, kNotInstalled);
  EXPECT_EQ(system.enumerations, 0);
  EXPECT_EQ(system.environmentWrites, 0);
  EXPECT_TRUE(system.started.empty());

  FakeLauncherSystem number;
  number.SetRaw(kNotesKey, L"path", REG_DWORD, {0x43, 0, 0, 0});
  number.AddFile(kProgram);
  FindNotesAndStartMainProgram(number);
  ASSERT_EQ(number.messages.size(), 1u);
  EXPECT_EQ(number.messages[0].first, kNotInstalled);
}

TEST_F(LaunchTest, MissingMainProgramIsReportedAfterPathWasExtended) {
  system.SetText(kNotesKey, L"path", L"C:\\Lotus\\Notes");
  FakeLauncherSystem elsewhere = system;
  elsewhere.currentDirectory = L"C:\\Users\\me\\Desktop";

  FindNotesAndStartMainProgram(elsewhere);

  ASSERT_EQ(elsewhere.messages.size(), 1u);
  EXPECT_EQ(elsewhere.messages[0].first, kMissing);
  EXPECT_EQ(elsewhere.messages[0].second, UINT(MB_OK));
  EXPECT_TRUE(elsewhere.started.empty());
  EXPECT_EQ(elsewhere.Variable(L"PATH"), L"c:\\windows\\system32;c:\\windows;c:\\lotus\\notes");
}

TEST_F(LaunchTest, FailingShellStartShowsMissingProgram) {
  system.SetText(kNotesKey, L"path", L"C:\\Lotus\\Notes");
  for (INT_PTR result : {INT_PTR(0), INT_PTR(SE_ERR_FNF), INT_PTR(SE_ERR_ACCESSDENIED), INT_PTR(32)}) {
    FakeLauncherSystem failing = system;
    failing.shellResult = result;
    FindNotesAndStartMainProgram(failing);
    EXPECT_EQ(failing.started.size(), 1u);
    ASSERT_EQ(failing.messages.size(), 1u) << result;
    EXPECT_EQ(failing.messages[0].first, kMissing);
  }
  system.shellResult = 33;
  Run();
  EXPECT_TRUE(StartedMainProgram());
  EXPECT_TRUE(system.messages.empty());
}

TEST(MainProgramPath, JoinsTheCurrentDirectoryWithOneBackslash) {
  FakeLauncherSystem system;
  system.currentDirectory = L"D:\\";
  EXPECT_EQ(std::wstring(MainProgramPath(system)), L"D:\\Brindle for PST to NSF.exe");
  system.currentDirectory = L"D:\\Apps\\Brindle";
  EXPECT_EQ(std::wstring(MainProgramPath(system)), L"D:\\Apps\\Brindle\\Brindle for PST to NSF.exe");
}

TEST(MainProgramPath, CurrentDirectoryLongerThanMaxPathIsKeptWhole) {
  FakeLauncherSystem system;
  system.currentDirectory = L"\\\\?\\D:";
  for (int i = 0; i < 40; ++i) system.currentDirectory += L"\\folder" + std::to_wstring(i);
  ASSERT_GT(system.currentDirectory.size(), size_t(MAX_PATH));
  EXPECT_EQ(std::wstring(MainProgramPath(system)), system.currentDirectory + L"\\Brindle for PST to NSF.exe");
}

}  // namespace
