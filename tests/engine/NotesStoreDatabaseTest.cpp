// Opening or creating the target NSF in the build's Notes installation (templates "Personal Notebook"
// and "Mail (R8)"), and creating its "Outlook\" folders.
#include <gtest/gtest.h>

#include <memory>

#include "NotesCalls.h"
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

namespace {

// Saves count documents into the store's open database.
void SaveDocuments(CNotesStore& store, int count) {
  for (int i = 0; i < count; ++i) {
    LNDocument document;
    ASSERT_EQ(LNNOERROR, store.m_db.CreateDocument(&document));
    ASSERT_EQ(LNNOERROR, document.CreateItem("Subject", LNText("kept"), 0, 0));
    ASSERT_EQ(LNNOERROR, document.Save(0));
    document.Close();
  }
}

// The documents of a copy of the file at path taken elsewhere alone, as a user moves an NSF.
long DocumentsOfACopyAlone(const std::string& path) {
  testsupport::TempDir elsewhere;
  const std::string copy = elsewhere.File("copy.nsf");
  if (!CopyFileW(Wide(path).c_str(), Wide(copy).c_str(), TRUE)) return -1;
  LNNotesSession session;
  LNDatabase database;
  LNNoteArray documents;
  if (StatusOf([&] { return session.GetDatabase(Ln(copy), &database); }) != LNNOERROR ||
      StatusOf([&] { return database.Open(0); }) != LNNOERROR ||
      StatusOf([&] { return database.GetDocuments(&documents); }) != LNNOERROR)
    return -1;
  const long count = documents.GetCount();
  StatusOf([&] { return database.Close(); });
  return count;
}

}  // namespace

// A conversion that did not complete takes back the new NSF it made and saved nothing in, and nothing
// else: a new one with a document, and an existing one the user chose, stay however empty.
TEST_F(TargetDatabase, CloseTargetRemovesOnlyANewFileThatHoldsNoDocument) {
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("new.nsf")));
  ASSERT_NE(0, store_.CreateFolder(L"Outlook\\Inbox\\"));
  CNotesStore::TargetClosing closing = store_.CloseTarget(TRUE);
  EXPECT_TRUE(closing.bRemoved);
  EXPECT_EQ(0, store_.m_bDbOpen);
  EXPECT_FALSE(Exists("new.nsf"));
  EXPECT_FALSE(Exists("new.nsf-wal"));

  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("saved.nsf")));
  SaveDocuments(store_, 1);
  closing = store_.CloseTarget(TRUE);
  EXPECT_FALSE(closing.bRemoved);
  EXPECT_EQ(1, closing.nDocuments);
  EXPECT_TRUE(Exists("saved.nsf"));

  MakeDatabase("stdmail.ntf", dir_.File("chosen.nsf"));
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("chosen.nsf")));
  closing = store_.CloseTarget(TRUE);
  EXPECT_FALSE(closing.bRemoved);
  EXPECT_EQ(0, closing.nDocuments);
  EXPECT_TRUE(Exists("chosen.nsf"));
}

// Where the side file cannot be folded into the NSF (a full disk), closing names it with the
// documents the NSF holds; opened again with room, the NSF alone holds them.
TEST_F(TargetDatabase, ASideFileThatCannotBeFoldedInIsNamedAndFoldedInAtTheNextOpen) {
  StartWithFaults("notes.fold");
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("full.nsf")));
  SaveDocuments(store_, 3);
  CNotesStore::TargetClosing closing = store_.CloseTarget(FALSE);
  EXPECT_EQ(3, closing.nDocuments);
  EXPECT_EQ(0, closing.strJournal.CompareNoCase(Wide(dir_.File("full.nsf-wal")).c_str()))
      << Utf8(closing.strJournal);
  EXPECT_EQ(MessageOf(LNERR_DISK_FULL), Utf8(closing.strJournalReason));
  EXPECT_LT(DocumentsOfACopyAlone(dir_.File("full.nsf")), 3) << "the documents are in the side file";

  StartWithFaults("");
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(Path("full.nsf")));
  EXPECT_EQ(3, DocumentsOfACopyAlone(dir_.File("full.nsf"))) << "folded in as it opened";
  closing = store_.CloseTarget(FALSE);
  EXPECT_TRUE(closing.strJournal.IsEmpty());
  EXPECT_EQ(3, DocumentsOfACopyAlone(dir_.File("full.nsf")));
}
