// Domino server names and the databases of one server: the build's installation has Mail01/Brindle
// with two databases and the empty Apps02/Brindle; private installations give larger servers.
#include <gtest/gtest.h>

#include <algorithm>

#include "NotesStoreTestSupport.h"

using namespace enginetest;

namespace {

class DominoLists : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(1, store_.InitSession()); }
  CNotesStore store_;
  CStringArray first_;
  CStringArray second_;
};

std::vector<std::string> Split(const std::string& joined) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (!joined.empty() && start <= joined.size()) {
    const size_t end = std::min(joined.find('|', start), joined.size());
    parts.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

TEST_F(DominoLists, ServerNamesAreAppendedInTheSessionsOrder) {
  first_.Add(L"kept");
  ASSERT_EQ(1, store_.GetServerNames(&first_));
  ASSERT_EQ(3, first_.GetSize());
  EXPECT_EQ(CString(L"kept"), first_[0]);
  EXPECT_EQ(CString(L"Mail01/Brindle"), first_[1]);
  EXPECT_EQ(CString(L"Apps02/Brindle"), first_[2]);
}

TEST_F(DominoLists, DatabasesOfAServerComeWithPathAndFileNameAtTheSameIndex) {
  ASSERT_EQ(1, store_.GetServerDatabases(L"mail01/brindle", &first_, &second_));
  ASSERT_EQ(2, first_.GetSize());
  ASSERT_EQ(2, second_.GetSize());
  EXPECT_EQ(CString(L"mail\\jdoe.nsf"), first_[0]);
  EXPECT_EQ(CString(L"jdoe.nsf"), second_[0]);
  EXPECT_EQ(CString(L"names.nsf"), first_[1]);
  EXPECT_EQ(CString(L"names.nsf"), second_[1]);
}

TEST_F(DominoLists, ServerWithoutDatabasesFailsWithItsText) {
  EXPECT_EQ(0, store_.GetServerDatabases(L"Apps02/Brindle", &first_, &second_));
  EXPECT_EQ(CString(L"No file found in selected server"), store_.GetErrorText());
  EXPECT_EQ(0, first_.GetSize());
  EXPECT_EQ(0, second_.GetSize());
}

TEST_F(DominoLists, UnknownOrOverlongServerFailsWithTheLibraryText) {
  EXPECT_EQ(0, store_.GetServerDatabases(L"Nowhere/Brindle", &first_, &second_));
  EXPECT_EQ(MessageOf(LNERR_SERVER_UNKNOWN).substr(0, 10), Utf8(store_.GetErrorText()).substr(0, 10));
  // A name past the 256-byte buffer is cut, not read beyond it.
  const CString longName = CString(L"Mail01/Brindle") + CString(L'x', 600);
  EXPECT_EQ(0, store_.GetServerDatabases(longName, &first_, &second_));
  EXPECT_FALSE(store_.GetErrorText().IsEmpty());
  EXPECT_EQ(0, first_.GetSize());
}

TEST_F(DominoLists, StopBeforeTheWalkReadsNoDatabaseAndSucceeds) {
  store_.SetErrorText(L"earlier");
  store_.m_bStop = 1;
  EXPECT_EQ(1, store_.GetServerDatabases(L"Mail01/Brindle", &first_, &second_));
  EXPECT_EQ(0, first_.GetSize());
  EXPECT_EQ(0, second_.GetSize());
  EXPECT_EQ(CString(L"earlier"), store_.GetErrorText());
}

TEST_F(DominoLists, DatabaseThatCannotBeOpenedEndsTheListWithTheLibraryText) {
  // Not a database: a file with the database extension that holds text.
  PrivateInstallation install("Broken/Brindle|broken");
  CreateDirectoryW(Wide(install.File("broken")).c_str(), nullptr);
  MakeDatabase("stdmail.ntf", install.File("broken\\a.nsf"), "A");
  HANDLE file = CreateFileW(Wide(install.File("broken\\b.nsf")).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, "not a database", 14, &written, nullptr);
  CloseHandle(file);
  std::string out;
  ASSERT_EQ(0u, install.Run("dblist Broken/Brindle", &out));
  EXPECT_EQ("0", ValueOf(out, "result")) << out;
  EXPECT_EQ("a.nsf", ValueOf(out, "paths"));
  EXPECT_NE("", ValueOf(out, "error"));
  EXPECT_NE("No file found in selected server", ValueOf(out, "error"));
}

TEST_F(DominoLists, StopDuringTheWalkKeepsTheDatabasesReadSoFarInOrder) {
  PrivateInstallation install("Big/Brindle|big");
  CreateDirectoryW(Wide(install.File("big")).c_str(), nullptr);
  for (int i = 0; i < 40; i++) {
    char name[32];
    snprintf(name, sizeof name, "big\\db%02d.nsf", i);
    MakeDatabase("notebook.ntf", install.File(name));
  }
  std::string whole;
  ASSERT_EQ(0u, install.Run("dblist Big/Brindle", &whole));
  const std::vector<std::string> all = Split(ValueOf(whole, "paths"));
  ASSERT_EQ(40u, all.size()) << whole;

  std::string out;
  ASSERT_EQ(0u, install.Run("dblist Big/Brindle stop", &out));
  EXPECT_EQ("1", ValueOf(out, "result")) << out;
  const std::vector<std::string> paths = Split(ValueOf(out, "paths"));
  const std::vector<std::string> names = Split(ValueOf(out, "names"));
  ASSERT_EQ(paths.size(), names.size());
  // The stop came while the fifth database was being read: it is the last one kept.
  ASSERT_EQ(paths.size(), 5u) << out;
  for (size_t i = 0; i < paths.size(); i++) {
    EXPECT_EQ(all[i], paths[i]);
    EXPECT_EQ(all[i], names[i]);
  }
}
