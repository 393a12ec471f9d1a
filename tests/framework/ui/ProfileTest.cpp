// The application's profile functions on a temporary registry key: values of each type, nested
// sections, deleting a value (NULL value) and a whole section (NULL entry), and the recent-file list.
#include <gtest/gtest.h>

#include "UiTestApp.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_strKey.Format(L"BrindleFrameworkTest-%lu", ::GetCurrentProcessId());
    theTestApp.SetRegistryKey(m_strKey);
  }
  void TearDown() override {
    HKEY hSoftware;
    if (::RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, &hSoftware) == ERROR_SUCCESS) {
      ::RegDeleteTree(hSoftware, m_strKey);
      ::RegDeleteKey(hSoftware, m_strKey);
      ::RegCloseKey(hSoftware);
    }
    free(const_cast<LPTSTR>(theTestApp.m_pszRegistryKey));
    theTestApp.m_pszRegistryKey = nullptr;
    delete theTestApp.m_pRecentFileList;
    theTestApp.m_pRecentFileList = nullptr;
  }

  static bool KeyExists(const CString& path) {
    HKEY hKey;
    if (::RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
  }

  CString AppKeyPath() const { return L"Software\\" + m_strKey + L"\\FrameworkUiTests"; }

  CString m_strKey;
};

TEST_F(ProfileTest, ValuesRoundTripUnderSoftwareKeyAppSection) {
  EXPECT_TRUE(theTestApp.WriteProfileInt(L"Settings", L"Count", -12));
  EXPECT_TRUE(theTestApp.WriteProfileString(L"Settings", L"Name", L"alpha"));
  BYTE data[] = {0, 1, 0xFE, 0xFF};
  EXPECT_TRUE(theTestApp.WriteProfileBinary(L"CommandBars", L"State", data, sizeof(data)));

  EXPECT_EQ(static_cast<int>(theTestApp.GetProfileInt(L"Settings", L"Count", 5)), -12);
  EXPECT_EQ(theTestApp.GetProfileString(L"Settings", L"Name"), L"alpha");
  LPBYTE pRead = nullptr;
  UINT nBytes = 0;
  ASSERT_TRUE(theTestApp.GetProfileBinary(L"CommandBars", L"State", &pRead, &nBytes));
  ASSERT_EQ(nBytes, sizeof(data));
  EXPECT_EQ(memcmp(pRead, data, nBytes), 0);
  delete[] pRead;
  EXPECT_TRUE(KeyExists(AppKeyPath() + L"\\Settings"));
}

TEST_F(ProfileTest, MissingOrMistypedValuesGiveTheDefault) {
  EXPECT_EQ(theTestApp.GetProfileInt(L"Nowhere", L"Count", 9), 9u);
  EXPECT_EQ(theTestApp.GetProfileString(L"Nowhere", L"Name", L"dflt"), L"dflt");
  theTestApp.WriteProfileString(L"Settings", L"Text", L"12");
  EXPECT_EQ(theTestApp.GetProfileInt(L"Settings", L"Text", 4), 4u);
  LPBYTE pRead = reinterpret_cast<LPBYTE>(1);
  UINT nBytes = 1;
  EXPECT_FALSE(theTestApp.GetProfileBinary(L"Settings", L"Text", &pRead, &nBytes));
  EXPECT_EQ(pRead, nullptr);
  EXPECT_EQ(nBytes, 0u);
}

TEST_F(ProfileTest, NestedSectionsBecomeSubkeys) {
  EXPECT_TRUE(theTestApp.WriteProfileInt(L"splt\\init_v61191", L"VertSplitPos", 230));
  EXPECT_TRUE(KeyExists(AppKeyPath() + L"\\splt\\init_v61191"));
  EXPECT_EQ(theTestApp.GetProfileInt(L"splt\\init_v61191", L"VertSplitPos", 0), 230u);
}

TEST_F(ProfileTest, NullValueDeletesEntryAndNullEntryDeletesSection) {
  theTestApp.WriteProfileString(L"Gone", L"A", L"1");
  theTestApp.WriteProfileString(L"Gone", L"B", L"2");
  theTestApp.WriteProfileInt(L"Gone\\Deeper", L"C", 3);
  EXPECT_TRUE(theTestApp.WriteProfileString(L"Gone", L"A", nullptr));
  EXPECT_EQ(theTestApp.GetProfileString(L"Gone", L"A", L"none"), L"none");
  EXPECT_EQ(theTestApp.GetProfileString(L"Gone", L"B"), L"2");
  EXPECT_TRUE(theTestApp.WriteProfileString(L"Gone", nullptr, nullptr));
  EXPECT_FALSE(KeyExists(AppKeyPath() + L"\\Gone"));
  // Deleting what is not there is not an error.
  EXPECT_TRUE(theTestApp.WriteProfileString(L"Gone", L"A", nullptr));
}

TEST_F(ProfileTest, RecentFileListIsReadAndWrittenInOrder) {
  theTestApp.LoadStdProfileSettings(4);
  ASSERT_NE(theTestApp.m_pRecentFileList, nullptr);
  CRecentFileList& mru = *theTestApp.m_pRecentFileList;
  EXPECT_EQ(mru.GetSize(), 4);
  mru.Add(L"C:\\data\\one.pst");
  mru.Add(L"C:\\data\\two.pst");
  mru.Add(L"C:\\DATA\\ONE.PST");  // moves to the front, no duplicate
  EXPECT_EQ(mru[0], L"C:\\DATA\\ONE.PST");
  EXPECT_EQ(mru[1], L"C:\\data\\two.pst");
  EXPECT_TRUE(mru[2].IsEmpty());
  mru.WriteList();
  EXPECT_EQ(theTestApp.GetProfileString(L"Recent File List", L"File2"), L"C:\\data\\two.pst");

  theTestApp.LoadStdProfileSettings(4);
  CString name;
  EXPECT_TRUE(theTestApp.m_pRecentFileList->GetDisplayName(name, 1, nullptr, 0));
  EXPECT_EQ(name, L"C:\\data\\two.pst");
  EXPECT_FALSE(theTestApp.m_pRecentFileList->GetDisplayName(name, 3, nullptr, 0));
}

TEST(CommandLine, FlagsAndFileNameAreParsed) {
  CCommandLineInfo info;
  info.ParseParam(L"Embedding", TRUE, FALSE);
  info.ParseParam(L"C:\\in.pst", FALSE, TRUE);
  EXPECT_TRUE(info.m_bRunEmbedded);
  EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
  EXPECT_EQ(info.m_strFileName, L"C:\\in.pst");
}

}  // namespace
