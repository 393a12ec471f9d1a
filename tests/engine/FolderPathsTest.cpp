// PST folder paths: segment arithmetic, the Notes system name tables, and the listing and opening of
// folders by path through the automation stand-ins.
#include "EngineComTest.h"
#include "FolderPaths.h"
#include "PstSession.h"

using namespace enginetest;
namespace pb = pstbuilder;

TEST(PathSegments, CountsEveryBackslashUnlessThePathStartsWithOne) {
  EXPECT_EQ(2, CountPathSeparators(L"X\\Y\\"));
  EXPECT_EQ(1, CountPathSeparators(L"Inbox\\"));
  EXPECT_EQ(3, CountPathSeparators(L"a\\b\\"
                                   L"c\\"));
  EXPECT_EQ(0, CountPathSeparators(L""));
  EXPECT_EQ(0, CountPathSeparators(L"Inbox"));
  EXPECT_EQ(0, CountPathSeparators(L"\\X\\Y\\"));
}

TEST(PathSegments, SegmentsAreClosedByABackslash) {
  EXPECT_EQ(CString(L"X"), GetPathSegment(L"X\\Y\\", 0));
  EXPECT_EQ(CString(L"Y"), GetPathSegment(L"X\\Y\\", 1));
  EXPECT_EQ(CString(), GetPathSegment(L"X\\Y\\", 2));
  EXPECT_EQ(CString(), GetPathSegment(L"X\\Y", 1));
  EXPECT_EQ(CString(), GetPathSegment(L"X", 0));
  EXPECT_EQ(CString(), GetPathSegment(L"X\\\\Y\\", 1));
  EXPECT_EQ(CString(L"Y"), GetPathSegment(L"X\\\\Y\\", 2));
  EXPECT_EQ(CString(), GetPathSegment(L"X\\Y\\", -1));
  // The first search starts after the first character.
  EXPECT_EQ(CString(L"\\X"), GetPathSegment(L"\\X\\", 0));
}

TEST(NotesFolderNames, SystemNamesMapToOutlookNamesExactly) {
  const wchar_t* table[][2] = {
      {L"($Inbox)", L"Inbox"},
      {L"($All)", L"All"},
      {L"($Sent)", L"Sent"},
      {L"($Trash)", L"Trash"},
      {L"My Contacts", L"My Contacts"},
      {L"($Alarms)", L"Alarms"},
      {L"($JunkMail)", L"Junk Mails"},
      {L"($Drafts)", L"Drafts"},
      {L"($Meetings)", L"Calendar"},
      {L"($ToDo)", L"To Do"},
      {L"($Journal)", L"Journals"},
      {L"($Follow-Up)", L"Follow Up"},
  };
  for (auto& row : table) EXPECT_EQ(CString(row[1]), MapNotesFolderName(row[0])) << row[0];
  EXPECT_EQ(CString(L"($inbox)"), MapNotesFolderName(L"($inbox)"));
  EXPECT_EQ(CString(L"($Calendar)"), MapNotesFolderName(L"($Calendar)"));
  EXPECT_EQ(CString(L"($Inbox) "), MapNotesFolderName(L"($Inbox) "));
  EXPECT_EQ(CString(), MapNotesFolderName(L""));
}

TEST(NotesFolderNames, FolderClassFollowsTheNotesName) {
  const wchar_t* table[][2] = {
      {L"By Diary Date", L"IPF.Jornal"},
      {L"($Inbox)", L"IPF.Note"},
      {L"($Sent)", L"IPF.Note"},
      {L"($Trash)", L"IPF.Note"},
      {L"My Contacts", L"IPF.Contact"},
      {L"($Alarms)", L"IPF.Appointment"},
      {L"($Calendar)", L"IPF.Appointment"},
      {L"($Meetings)", L"IPF.Appointment"},
      {L"($ToDo)", L"IPF.Task"},
      {L"($JunkMail)", L"IPF.Note"},
      {L"($Drafts)", L"IPF.Note"},
      {L"Projects", L"IPF.Note"},
      {L"my contacts", L"IPF.Note"},
  };
  for (auto& row : table) EXPECT_EQ(CString(row[1]), GetFolderClassForNotesFolder(row[0])) << row[0];
}

namespace {

std::vector<CString> ToVector(const CStringArray& paths) {
  std::vector<CString> result;
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) result.push_back(paths[i]);
  return result;
}

class FolderPaths : public EngineComTest {
 protected:
  void Open(const pb::Store& store) {
    ASSERT_EQ(1, session_.ReopenPst(WriteStore(store))) << session_.GetOpenError();
  }

  std::vector<CString> List() {
    CStringArray paths;
    EXPECT_EQ(1, session_.GetFolderList(&paths));
    return ToVector(paths);
  }

  // Subjects of the folder's items, in order.
  static std::vector<CString> Subjects(RdoFolderDispatch& folder) {
    std::vector<CString> subjects;
    RdoItemsDispatch items(folder.GetItems());
    long count = items.GetCount();
    for (long i = 1; i <= count; ++i) {
      RdoMailDispatch item(items.Item(COleVariant(i)));
      subjects.push_back(item.GetSubject());
    }
    return subjects;
  }

  CPstSession session_;
};

}  // namespace

TEST_F(FolderPaths, ListsParentsBeforeTheirSubFoldersInCollectionOrder) {
  pb::Store store;
  {
    pb::Folder& x = store.AddFolder("X");
    x.AddFolder("Y");
    x.AddFolder("Z");
  }
  store.AddFolder("W");
  Open(store);
  std::vector<CString> expected = {L"X\\", L"X\\Y\\", L"X\\Z\\", L"W\\"};
  EXPECT_EQ(expected, List());
}

TEST_F(FolderPaths, ListsARealPstInPreOrder) {
  CString path = ToCString(testsupport::FixturePath("pst/ost-exchange-sample.ost"));
  ASSERT_EQ(1, session_.ReopenPst(path)) << session_.GetOpenError();
  std::vector<CString> paths = List();
  auto inbox = std::find(paths.begin(), paths.end(), CString(L"Inbox\\"));
  ASSERT_NE(paths.end(), inbox);
  ASSERT_GE(paths.end() - inbox, 3);
  EXPECT_EQ(CString(L"Inbox\\sub1\\"), inbox[1]);
  EXPECT_EQ(CString(L"Inbox\\sub2\\"), inbox[2]);
  // Every path ends with a backslash and comes after its parent's.
  for (size_t i = 0; i < paths.size(); ++i) {
    const CString& p = paths[i];
    ASSERT_FALSE(p.IsEmpty());
    EXPECT_EQ(L'\\', p[p.GetLength() - 1]) << p;
    int cut = p.Left(p.GetLength() - 1).ReverseFind(L'\\');
    if (cut < 0) continue;
    CString parent = p.Left(cut + 1);
    EXPECT_NE(paths.begin() + i, std::find(paths.begin(), paths.begin() + i, parent)) << p;
  }
  RdoFolderDispatch folder;
  session_.OpenFolderByPath(L"Inbox\\sub2\\", folder);
  ASSERT_TRUE(folder.m_lpDispatch);
  EXPECT_EQ(29u, Subjects(folder).size());
}

TEST_F(FolderPaths, ListedFoldersWithOddNamesReachTheirOwnItemsAndCreateNothing) {
  pb::Store store;
  {
    pb::Folder& projects = store.AddFolder("Projects");
    projects.messages.push_back(Mail("in projects"));
    pb::Folder& slashed = projects.AddFolder("a\\b");
    slashed.messages.push_back(Mail("in a-b"));
  }
  store.AddFolder("Calendar", "IPF.Appointment").messages.push_back(Mail("in calendar"));
  store.AddFolder("($Meetings)").messages.push_back(Mail("in meetings"));
  Open(store);
  std::vector<CString> before = List();
  std::vector<CString> expected = {L"Projects\\", L"Projects\\a\\b\\", L"Calendar\\", L"($Meetings)\\"};
  ASSERT_EQ(expected, before);

  RdoFolderDispatch folder;
  EXPECT_EQ(1, session_.OpenFolderByPath(L"Projects\\a\\b\\", folder));
  ASSERT_TRUE(folder.m_lpDispatch);
  EXPECT_EQ(CString(L"a\\b"), folder.GetName());
  EXPECT_EQ(std::vector<CString>{L"in a-b"}, Subjects(folder));

  EXPECT_EQ(1, session_.OpenFolderByPath(L"($Meetings)\\", folder));
  ASSERT_TRUE(folder.m_lpDispatch);
  EXPECT_EQ(std::vector<CString>{L"in meetings"}, Subjects(folder));

  EXPECT_EQ(before, List());
}

TEST_F(FolderPaths, SiblingsOfOneNameAreListedOnceAndEachOneIsReached) {
  pb::Store store;
  {
    pb::Folder& inbox = store.AddFolder("Inbox");
    pb::Folder& first = inbox.AddFolder("Projects");
    first.messages.push_back(Mail("first"));
    first.AddFolder("Old").messages.push_back(Mail("old of the first"));
  }
  {
    pb::Folder& second = store.Find("Inbox")->AddFolder("Projects");
    second.messages.push_back(Mail("second"));
    second.AddFolder("Old").messages.push_back(Mail("old of the second"));
    second.AddFolder("New").messages.push_back(Mail("new"));
  }
  Open(store);
  std::vector<CString> expected = {L"Inbox\\", L"Inbox\\Projects\\", L"Inbox\\Projects\\Old\\",
                                   L"Inbox\\Projects\\New\\"};
  ASSERT_EQ(expected, List());
  EXPECT_EQ(1, session_.CountListedFolders(L"Inbox\\"));
  EXPECT_EQ(2, session_.CountListedFolders(L"Inbox\\Projects\\"));
  EXPECT_EQ(2, session_.CountListedFolders(L"Inbox\\Projects\\Old\\"));
  EXPECT_EQ(1, session_.CountListedFolders(L"Inbox\\Projects\\New\\"));
  EXPECT_EQ(0, session_.CountListedFolders(L"Inbox\\Elsewhere\\"));

  RdoFolderDispatch folder;
  const std::pair<LPCWSTR, std::vector<std::vector<CString>>> reached[] = {
      {L"Inbox\\Projects\\", {{L"first"}, {L"second"}}},
      {L"Inbox\\Projects\\Old\\", {{L"old of the first"}, {L"old of the second"}}},
      {L"Inbox\\Projects\\New\\", {{L"new"}}},
  };
  for (const auto& [path, subjects] : reached) {
    for (size_t sibling = 0; sibling < subjects.size(); ++sibling) {
      session_.OpenFolderByPath(path, folder, static_cast<int>(sibling));
      ASSERT_TRUE(folder.m_lpDispatch) << CString(path) << " " << sibling;
      EXPECT_EQ(subjects[sibling], Subjects(folder)) << CString(path) << " " << sibling;
    }
    // Past the last sibling there is no folder, and none is made.
    session_.OpenFolderByPath(path, folder, static_cast<int>(subjects.size()));
    EXPECT_FALSE(folder.m_lpDispatch) << CString(path);
  }
  session_.OpenFolderByPath(L"Inbox\\Elsewhere\\", folder, 1);
  EXPECT_FALSE(folder.m_lpDispatch);
  EXPECT_EQ(expected, List());
}

TEST_F(FolderPaths, UnlistedPathsAreWalkedWithNotesNamesMapped) {
  pb::Store store;
  store.AddFolder("Calendar", "IPF.Appointment").messages.push_back(Mail("in calendar"));
  Open(store);
  RdoFolderDispatch folder;
  EXPECT_EQ(1, session_.OpenFolderByPath(L"($Meetings)\\", folder));
  ASSERT_TRUE(folder.m_lpDispatch);
  EXPECT_EQ(CString(L"Calendar"), folder.GetName());
  EXPECT_EQ(std::vector<CString>{L"in calendar"}, Subjects(folder));
  EXPECT_EQ(std::vector<CString>{L"Calendar\\"}, List());
}

TEST_F(FolderPaths, UnlistedMissingLevelsAreCreatedOnceAndFoundAfterwards) {
  pb::Store store;
  store.AddFolder("Inbox");
  Open(store);
  RdoFolderDispatch folder;
  EXPECT_EQ(1, session_.OpenFolderByPath(L"Inbox\\New\\($Inbox)\\", folder));
  ASSERT_TRUE(folder.m_lpDispatch);
  EXPECT_EQ(CString(L"Inbox"), folder.GetName());
  EXPECT_TRUE(Subjects(folder).empty());
  EXPECT_TRUE(session_.m_currentFolder.m_lpDispatch == folder.m_lpDispatch);

  session_.OpenFolderByPath(L"Inbox\\New\\($Inbox)\\", folder);
  std::vector<CString> expected = {L"Inbox\\", L"Inbox\\New\\", L"Inbox\\New\\Inbox\\"};
  EXPECT_EQ(expected, List());
}

TEST_F(FolderPaths, AFailedWalkHandsBackNoFolder) {
  pb::Store store;
  store.AddFolder("X").AddFolder("Y");
  Open(store);
  List();
  RdoFolderDispatch folder;
  session_.OpenFolderByPath(L"X\\Y\\", folder);
  ASSERT_TRUE(folder.m_lpDispatch);

  // A level without a name can be neither found nor created.
  session_.OpenFolderByPath(L"X\\\\Y\\", folder);
  EXPECT_FALSE(folder.m_lpDispatch);
  EXPECT_FALSE(session_.m_currentFolder.m_lpDispatch);

  session_.OpenFolderByPath(L"X\\Y\\", folder);
  ASSERT_TRUE(folder.m_lpDispatch);
  for (LPCWSTR path : {L"", L"\\X\\", L"X"}) {
    EXPECT_EQ(1, session_.OpenFolderByPath(path, folder));
    EXPECT_FALSE(folder.m_lpDispatch) << CString(path);
  }
}

TEST_F(FolderPaths, WithoutAnOpenStoreNothingIsListedOrOpened) {
  CStringArray paths;
  EXPECT_EQ(1, session_.GetFolderList(&paths));
  EXPECT_EQ(0, paths.GetSize());
  RdoFolderDispatch folder;
  EXPECT_EQ(1, session_.OpenFolderByPath(L"Inbox\\", folder));
  EXPECT_FALSE(folder.m_lpDispatch);
}

TEST_F(FolderPaths, EmptyCollectionsHaveNoSubFoldersAndTakeNone) {
  RdoFoldersDispatch none;
  EXPECT_FALSE(session_.HasSubFolder(none, L"Inbox"));
  EXPECT_FALSE(session_.EnterSubFolder(L"Inbox", none).m_lpDispatch);
  EXPECT_FALSE(session_.m_currentFolder.m_lpDispatch);
  COleVariant folderClass(L"IPF.Note");
  EXPECT_FALSE(session_.AddSubFolder(L"Inbox", none, folderClass).m_lpDispatch);
}

TEST_F(FolderPaths, HasSubFolderComparesTheMappedNameCaseSensitively) {
  pb::Store store;
  store.AddFolder("Inbox");
  Open(store);
  RdoFolderDispatch root(session_.m_store.GetRootFolder());
  RdoFoldersDispatch top(root.GetFolders());
  EXPECT_TRUE(session_.HasSubFolder(top, L"Inbox"));
  EXPECT_TRUE(session_.HasSubFolder(top, L"($Inbox)"));
  EXPECT_FALSE(session_.HasSubFolder(top, L"inbox"));
  EXPECT_FALSE(session_.EnterSubFolder(L"inbox", top).m_lpDispatch);
  EXPECT_FALSE(session_.m_currentFolder.m_lpDispatch);
}
