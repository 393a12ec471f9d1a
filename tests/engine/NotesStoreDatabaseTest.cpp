// Opening or creating the target NSF in the build's Notes installation (templates "Personal Notebook"
// and "Mail (R8)"), and creating its "Outlook\" folders.
#include <gtest/gtest.h>

#include <memory>

#include "NotesStoreTestSupport.h"

using namespace enginetest;

namespace {

// A chooser that must not be asked: the installation has a mail template.
class NoChooser : public ITemplateChooser {
 public:
  BOOL ChooseTemplate(const CStringArray&, int*) override {
    asked = true;
    return FALSE;
  }
  bool asked = false;
};

class TargetDatabase : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(1, store_.InitSession());
    store_.SetTemplateChooser(&chooser_);
  }
  CString Path(const std::string& name) const { return Wide(dir_.File(name)).c_str(); }
  bool Exists(const std::string& name) const {
    return GetFileAttributesW(Wide(dir_.File(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Restarts the store's session with the library faults given.
  void StartWithFaults(const char* faults) {
    faults_.reset();
    faults_.reset(new FaultScope(faults));
    ASSERT_EQ(1, store_.InitSession());
  }

  testsupport::TempDir dir_;
  NoChooser chooser_;
  std::unique_ptr<FaultScope> faults_;
  CNotesStore store_;
};

}  // namespace

TEST_F(TargetDatabase, NewFileIsCreatedFromTheMailTemplateAndOpened) {
  EXPECT_EQ(1, store_.CreateOrOpenDatabase(Path("new.nsf")));
  EXPECT_EQ(1, store_.m_bDbOpen);
  EXPECT_TRUE(store_.m_db.IsOpen());
  EXPECT_TRUE(Exists("new.nsf"));
  EXPECT_EQ("StdR8Mail", Str(store_.m_db.GetInheritsFromTemplateName()));
  EXPECT_FALSE(chooser_.asked);
  EXPECT_TRUE(store_.GetErrorText().IsEmpty());
}

TEST_F(TargetDatabase, ExistingFileIsOpenedAsItIsWithoutTemplateSearch) {
  MakeDatabase("notebook.ntf", dir_.File("notes.nsf"), "My notebook");
  StartWithFaults("notes.createfromtemplate");
  EXPECT_EQ(1, store_.CreateOrOpenDatabase(Path("notes.nsf")));
  EXPECT_EQ("My notebook", Str(store_.m_db.GetTitle()));
  EXPECT_EQ("StdNotebook", Str(store_.m_db.GetInheritsFromTemplateName()));
}

TEST_F(TargetDatabase, OpeningAnotherDatabaseClosesThePreviousOne) {
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("a.nsf")));
  LNDatabase first = store_.m_db;
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("b.nsf")));
  EXPECT_FALSE(first.IsOpen());
  EXPECT_TRUE(store_.m_db.IsOpen());
}

TEST_F(TargetDatabase, StopBeforeTheOpenLeavesTheDatabaseClosedAndTheTextAsItWas) {
  store_.SetErrorText(L"earlier");
  store_.m_bStop = 1;
  EXPECT_EQ(0, store_.CreateOrOpenDatabase(Path("stopped.nsf")));
  EXPECT_EQ(0, store_.m_bDbOpen);
  EXPECT_FALSE(store_.m_db.IsOpen());
  EXPECT_EQ(CString(L"earlier"), store_.GetErrorText());
}

TEST_F(TargetDatabase, LibraryFailuresWhileCreatingGiveTheLibraryText) {
  for (const char* fault : {"notes.createfromtemplate", "notes.getdatabase"}) {
    StartWithFaults(fault);
    store_.SetErrorText(L"");
    EXPECT_EQ(0, store_.CreateOrOpenDatabase(Path(std::string("f-") + fault + ".nsf"))) << fault;
    EXPECT_EQ(MessageOf(LNERR_SIMULATED_FAULT), Utf8(store_.GetErrorText())) << fault;
    EXPECT_EQ(0, store_.m_bDbOpen) << fault;
  }
  EXPECT_FALSE(Exists("f-notes.createfromtemplate.nsf"));
}

TEST_F(TargetDatabase, UnreachableTargetFailsWithTheLibraryText) {
  EXPECT_EQ(0, store_.CreateOrOpenDatabase(Path("no such folder\\x.nsf")));
  EXPECT_FALSE(store_.GetErrorText().IsEmpty());
  EXPECT_EQ(0, store_.m_bDbOpen);
}

class OutlookFolders : public TargetDatabase {
 protected:
  void SetUp() override {
    TargetDatabase::SetUp();
    ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("folders.nsf")));
  }
  bool FolderExists(const CString& name) {
    return store_.m_db.ViewFolderExists(CStringToLNString(name)) != 0;
  }
};

TEST_F(OutlookFolders, FolderIsCreatedWithoutTheTrailingBackslash) {
  EXPECT_NE(0, store_.CreateFolder(L"Outlook\\Inbox\\"));
  EXPECT_TRUE(FolderExists(L"Outlook\\Inbox"));
  EXPECT_NE(0, store_.CreateFolder(L"Outlook\\Inbox\\Sub folder – ü\\"));
  EXPECT_TRUE(FolderExists(L"Outlook\\Inbox\\Sub folder – ü"));
}

TEST_F(OutlookFolders, PathsOf130CharactersKeepTheirNameAndLongerOnesTheirLastSegment) {
  CString path130 = L"Outlook\\Personal Folders\\";
  while (path130.GetLength() < 110) path130 += L"Projects\\";
  path130 += CString(L'q', 130 - path130.GetLength());
  ASSERT_EQ(130, path130.GetLength());
  EXPECT_NE(0, store_.CreateFolder(path130 + L"\\"));
  EXPECT_TRUE(FolderExists(path130));

  const CString path131 = path130 + L"r";
  EXPECT_NE(0, store_.CreateFolder(path131 + L"\\"));
  const CString last = L"\\" + CString(L'q', 130 - path130.ReverseFind(L'\\') - 1) + L"r";
  EXPECT_TRUE(FolderExists(last));
  EXPECT_FALSE(FolderExists(path131));
}

TEST_F(OutlookFolders, ExistingFolderIsReusedWithoutAnError) {
  EXPECT_NE(0, store_.CreateFolder(L"Outlook\\Sent Items\\"));
  EXPECT_NE(0, store_.CreateFolder(L"Outlook\\Sent Items\\"));
  EXPECT_TRUE(store_.GetErrorText().IsEmpty());
  EXPECT_EQ(LNNOERROR, store_.m_status);
  EXPECT_TRUE(FolderExists(L"Outlook\\Sent Items"));
}

TEST_F(OutlookFolders, FailedCreationSkipsTheFolderWithTheLibraryTextAndKeepsTheDatabaseOpen) {
  // Restarting the session closes the database, so open it again under the fault.
  StartWithFaults("notes.createfolder");
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("folders.nsf")));
  EXPECT_EQ(0, store_.CreateFolder(L"Outlook\\Drafts\\"));
  EXPECT_EQ(MessageOf(LNERR_SIMULATED_FAULT), Utf8(store_.GetErrorText()));
  EXPECT_EQ(1, store_.m_bDbOpen);
  EXPECT_TRUE(store_.m_db.IsOpen());
  // Only the first creation fails; the next folder goes on.
  EXPECT_NE(0, store_.CreateFolder(L"Outlook\\Drafts\\"));
  EXPECT_TRUE(FolderExists(L"Outlook\\Drafts"));
}

TEST_F(OutlookFolders, EmptyPathIsSkippedWithTheLibraryText) {
  EXPECT_EQ(0, store_.CreateFolder(CString()));
  EXPECT_FALSE(store_.GetErrorText().IsEmpty());
}

TEST_F(TargetDatabase, ATargetThatIsAFolderSaysSo) {
  const CString folder = Path("");
  EXPECT_EQ(0, store_.CreateOrOpenDatabase(folder));
  const CString text = store_.GetErrorText();
  EXPECT_LT(text.Find(L"does not exist"), 0) << Utf8(text);
  EXPECT_GE(text.Find(L"folder"), 0) << Utf8(text);
}
