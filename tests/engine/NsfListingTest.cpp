// The NSF folder listing (folders and well-known views with their kinds, against nsfdump) and the
// document listing (one row per document of a folder, against nsfdump counts for a converted PST).
#include <map>
#include <vector>

#include "HarnessReport.h"
#include "ReadingTestSupport.h"

using namespace enginetest;

namespace {

struct DumpedFolder {
  bool folder;
  int entries;
  std::string name;
};

std::string RunTool(const std::string& program, const std::string& arguments) {
  std::string output;
  EXPECT_EQ(0u, testsupport::RunProgram("\"" + testsupport::SiblingProgramPath(program) + "\" " + arguments,
                                        &output))
      << program << " " << arguments;
  return output;
}

std::vector<DumpedFolder> DumpFolders(const std::string& nsf) {
  std::vector<DumpedFolder> folders;
  for (const auto& row : testsupport::TabSeparatedRows(RunTool("nsfdump.exe", "folders \"" + nsf + "\"")))
    if (row.size() == 3) folders.push_back({row[0] == "folder", std::stoi(row[1]), row[2]});
  return folders;
}

// The views the browser lists beside every folder.
bool ListedView(const std::string& name) {
  for (const char* part : {"$Sent", "$Draft", "$JunkMail", "$ToDo", "$Journal", "$Follow-Up", "My Contacts",
                           "By Diary Date", "By Category", "All Documents", "$All"})
    if (name.find(part) != std::string::npos) return true;
  return name == "($Meetings)";
}

class NsfListing : public ReadingTest {
 protected:
  // Mails, a contact and an empty folder beside the template's own folders and views.
  void FillTarget() {
    for (int i = 0; i < 2; i++) {
      LNDocument mail = NewNote();
      AddText(mail, "Form", {"Memo"});
      SaveInto(mail, "Outlook\\Inbox");
    }
    LNDocument person = NewNote();
    AddText(person, "Form", {"Person"});
    AddText(person, "MiddleInitial", {"Q"});
    SaveInto(person, "Outlook\\Contacts");
    store_.m_db.CreateFolder(LNString("Outlook\\Empty"));
  }

  int List(BOOL quiet = FALSE) {
    store_.m_pFolderTree = &tree_;
    store_.m_pScanWnd = &scan_;
    return store_.OpenAndListFolders(ToCString(nsf_), L"", &paths_, quiet);
  }

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (INT_PTR i = 0; i < paths_.GetSize(); i++) paths.push_back(Utf8(paths_[i]));
    return paths;
  }

  RecordingTree tree_;
  RecordingSink scan_;
  CStringArray paths_;
};

}  // namespace

TEST_F(NsfListing, ListsEveryFolderAndTheWellKnownViewsAsNsfdumpSeesThem) {
  FillTarget();
  store_.Close();
  ASSERT_EQ(1, store_.InitSession());
  const std::vector<DumpedFolder> dumped = DumpFolders(nsf_);
  ASSERT_FALSE(dumped.empty());

  ASSERT_EQ(1, List()) << Utf8(store_.GetErrorText());
  std::vector<std::string> expected;
  int entries = 0;
  for (const DumpedFolder& f : dumped) {
    if (!f.folder && !ListedView(f.name)) continue;
    expected.push_back(f.name + "\\");
    entries += f.entries;
    const RecordingTree::Folder* added = tree_.Find(ToCString(f.name + "\\"));
    ASSERT_TRUE(added) << f.name;
    EXPECT_EQ(f.entries, added->entries) << f.name;
  }
  EXPECT_EQ(expected, Paths());
  ASSERT_EQ(expected.size(), tree_.folders.size());
  // The template's views that are not shown.
  for (const char* hidden : {"($Calendar)\\", "($Alarms)\\", "($Rules)\\"})
    EXPECT_FALSE(tree_.Find(ToCString(hidden)));

  // Progress: one step per view or folder, listed or not, ending at 100.
  ASSERT_EQ(dumped.size(), scan_.positions.size());
  for (size_t i = 0; i < dumped.size(); i++)
    EXPECT_EQ(static_cast<int>((i + 1) * 100 / dumped.size()), scan_.positions[i]);
  ASSERT_EQ(expected.size(), scan_.scans.size());
  EXPECT_EQ(static_cast<int>(expected.size()), scan_.scans.back().folders);
  EXPECT_EQ(entries, scan_.scans.back().entries);
  EXPECT_EQ(expected.back(), Utf8(scan_.scans.back().lastFolder) + "\\");
  EXPECT_EQ(1, store_.m_bDbOpen);
}

TEST_F(NsfListing, FoldersGetTheirKindByNameAndCount) {
  FillTarget();
  ASSERT_EQ(1, List());
  const std::map<std::string, int> kinds = {
      {"($Inbox)\\", 8},         {"($Sent)\\", 10},       {"($Trash)\\", 7},       {"($JunkMail)\\", 7},
      {"($Drafts)\\", 1},        {"($ToDo)\\", 5},        {"My Contacts\\", 4},    {"By Diary Date\\", 9},
      {"($Meetings)\\", 3},      {"Outlook\\Inbox\\", 2}, {"Outlook\\Empty\\", 1}, {"($All)\\", 2},
      {"Outlook\\Contacts\\", 2}};
  for (const auto& kind : kinds) {
    const RecordingTree::Folder* added = tree_.Find(ToCString(kind.first));
    ASSERT_TRUE(added) << kind.first;
    EXPECT_EQ(kind.second, added->kind) << kind.first;
  }
  EXPECT_EQ(8, GetNotesFolderKind(L"($Inbox)", 5));
  EXPECT_EQ(2, GetNotesFolderKind(L"Projects", 1));
  EXPECT_EQ(1, GetNotesFolderKind(L"Projects", 0));
  EXPECT_EQ(2, GetNotesFolderKind(L"my contacts", 3));
}

TEST_F(NsfListing, QuietListingOnlyFillsThePathList) {
  FillTarget();
  ASSERT_EQ(1, List(TRUE));
  EXPECT_TRUE(tree_.folders.empty());
  EXPECT_TRUE(scan_.positions.empty());
  EXPECT_TRUE(scan_.scans.empty());
  EXPECT_FALSE(Paths().empty());
}

TEST_F(NsfListing, WithoutATreeThePathsFillAndTheBarMovesButNoCountsAreShown) {
  store_.m_pScanWnd = &scan_;
  ASSERT_EQ(1, store_.OpenAndListFolders(ToCString(nsf_), L"", &paths_, FALSE));
  EXPECT_FALSE(Paths().empty());
  EXPECT_FALSE(scan_.positions.empty());
  EXPECT_TRUE(scan_.scans.empty());
}

TEST_F(NsfListing, AStopBeforeTheWalkFailsWithoutShowingAnEarlierText) {
  store_.SetErrorText(L"an earlier failure");
  store_.m_bStop = 1;
  EXPECT_EQ(0, List());
  EXPECT_EQ("", Utf8(store_.GetErrorText()));
  EXPECT_TRUE(tree_.folders.empty());
  EXPECT_TRUE(scan_.positions.empty());
}

TEST_F(NsfListing, AStopDuringTheWalkEndsItAfterTheCurrentEntry) {
  tree_.onAdd = [this] { store_.m_bStop = 1; };
  EXPECT_EQ(1, List());
  EXPECT_EQ(1u, tree_.folders.size());
  EXPECT_EQ(1, paths_.GetSize());
}

TEST_F(NsfListing, AMissingFileFailsWithTheLibrarysText) {
  EXPECT_EQ(0, store_.OpenAndListFolders(ToCString(dir_.File("missing.nsf")), L"", &paths_, FALSE));
  EXPECT_EQ(MessageOf(LNERR_FILE_NOT_FOUND), Utf8(store_.GetErrorText()));
  EXPECT_EQ(0, store_.m_bDbOpen);
}

TEST_F(NsfListing, AnEntryThatCannotBeOpenedIsLeftOutAndTheRestListed) {
  RestartWithFaults("notes.openfolder=3");
  const std::vector<DumpedFolder> dumped = DumpFolders(nsf_);
  ASSERT_GE(dumped.size(), 3u);
  ASSERT_TRUE(dumped[2].folder);
  ASSERT_EQ(1, List());
  std::vector<std::string> expected;
  for (size_t i = 0; i < dumped.size(); i++)
    if (i != 2 && (dumped[i].folder || ListedView(dumped[i].name))) expected.push_back(dumped[i].name + "\\");
  EXPECT_EQ(expected, Paths());
  EXPECT_EQ(expected.size(), tree_.folders.size());
  EXPECT_EQ(dumped.size(), scan_.positions.size());
}

TEST_F(NsfListing, DatabaseThatCannotBeGotFailsWithTheLibrarysText) {
  RestartWithFaults("notes.getdatabase=2");
  EXPECT_EQ(0, List());
  EXPECT_EQ(MessageOf(LNERR_SIMULATED_FAULT), Utf8(store_.GetErrorText()));
}

namespace {

class DocumentListing : public NsfListing {
 protected:
  void List(const CString& path) {
    store_.m_pScanWnd = &scan_;
    store_.OpenFolder(&list_, path);
  }
  RecordingMailList list_;
};

// Documents of every kind; a to-do with a diary date too, and a journal entry without its creation
// date.
struct MixedFolder {
  LNNOTEID mail, calendar, todo, journal, contact;
};

}  // namespace

TEST_F(DocumentListing, OneRowPerDocumentWithItsKindCellsAndNoteId) {
  MixedFolder ids;
  {
    LNDocument mail = NewNote();
    AddText(mail, "Form", {"Memo"});
    AddText(mail, "Subject", {"Figures\r\nQ3"});
    AddText(mail, "From", {"Sam"});
    AddDates(mail, "PostedDate", {When(3, 1, 2005, 12)});
    AddAttachment(mail, "a.txt", 3);
    AddAttachment(mail, "b.txt", 70);
    ids.mail = SaveInto(mail, "Outlook\\Mixed");
    LNDocument calendar = NewNote();
    AddText(calendar, "Subject", {"Planning"});
    AddText(calendar, "Location", {""});
    AddText(calendar, "DueDate", {"not a to-do"});
    AddDates(calendar, "STARTDATETIME", {When(5, 6, 2021, 9, 30)});
    ids.calendar = SaveInto(calendar, "Outlook\\Mixed");
    LNDocument todo = NewNote();
    AddText(todo, "Subject", {"Report"});
    AddDates(todo, "DueDate", {When(1, 20, 2022)});
    AddDates(todo, "DiaryDate", {When(1, 1, 2022)});
    AddDates(todo, "STARTDATETIME", {When(1, 10, 2022)});
    ids.todo = SaveInto(todo, "Outlook\\Mixed");
    LNDocument journal = NewNote();
    AddText(journal, "Subject", {"Call"});
    AddDates(journal, "DiaryDate", {When(6, 30, 2019, 14)});
    ids.journal = SaveInto(journal, "Outlook\\Mixed");
    LNDocument contact = NewNote();
    AddText(contact, "MiddleInitial", {"Q"});
    AddText(contact, "FullNameInput", {"Ann Lee"});
    AddText(contact, "Location", {"Office"});
    ids.contact = SaveInto(contact, "Outlook\\Mixed");
  }
  List(L"Outlook\\Mixed\\");
  ASSERT_EQ(5u, list_.rows.size());
  EXPECT_EQ(0, list_.misplaced);
  const std::vector<int> kinds = {2, 3, 5, 9, 4};
  const std::vector<LNNOTEID> noteIds = {ids.mail, ids.calendar, ids.todo, ids.journal, ids.contact};
  for (size_t i = 0; i < kinds.size(); i++) {
    EXPECT_EQ(kinds[i], list_.rows[i].kind) << i;
    EXPECT_EQ(noteIds[i], list_.rows[i].data) << i;
    EXPECT_EQ(i == 0, list_.rows[i].attachmentSet) << i;
    EXPECT_GT(_wtoi(list_.rows[i].cells[MAIL_COLUMN_SIZE]), 0) << i;
  }
  const RecordingMailList::Row& mail = list_.rows[0];
  EXPECT_EQ("Sam", Utf8(mail.cells[MAIL_COLUMN_FROM]));
  EXPECT_EQ("Figures  Q3", Utf8(mail.cells[MAIL_COLUMN_SUBJECT]));
  EXPECT_EQ("03/01/2005 12:00:00", Utf8(mail.cells[MAIL_COLUMN_DATE]));
  EXPECT_EQ("a.txt Size :3 \r\nb.txt Size :70 \r\n", Utf8(mail.cells[MAIL_COLUMN_ATTACHMENT]));
  LNDocument reread = Open(ids.mail);
  EXPECT_EQ(std::to_string(reread.GetSize()), Utf8(mail.cells[MAIL_COLUMN_SIZE]));
  reread.Close();
  EXPECT_EQ("05/06/2021 09:30:00", Utf8(list_.rows[1].cells[MAIL_COLUMN_DATE]));
  EXPECT_EQ("01/10/2022", Utf8(list_.rows[2].cells[MAIL_COLUMN_DATE]));
  EXPECT_EQ("06/30/2019 14:00:00", Utf8(list_.rows[3].cells[MAIL_COLUMN_DATE]));
  // A contact shows its three text blocks.
  const RecordingMailList::Row& contact = list_.rows[4];
  EXPECT_EQ(0, contact.cells[MAIL_COLUMN_FROM].Find(L"From : \r\nFull Name : Ann Lee\r\n"));
  EXPECT_EQ(0, contact.cells[MAIL_COLUMN_SUBJECT].Find(L"Cell Phone Number : \r\n"));
  EXPECT_GE(contact.cells[MAIL_COLUMN_SUBJECT].Find(L"\r\nLocation : Office\r\n"), 0);
  EXPECT_EQ(0, contact.cells[MAIL_COLUMN_DATE].Find(L"Office Street Address : \r\n"));
  // Five entries: the bar at (i + 1) * 100 / 9, never 100.
  EXPECT_EQ((std::vector<int>{11, 22, 33, 44, 55}), scan_.positions);
}

TEST_F(DocumentListing, PathMustNameTheFolderExactlyWithOrWithoutItsBackslash) {
  for (int i = 0; i < 4; i++) {
    LNDocument mail = NewNote();
    AddText(mail, "Subject", {"m" + std::to_string(i)});
    SaveInto(mail, "Outlook\\Inbox");
  }
  List(L"Outlook\\Inbox");
  EXPECT_EQ(4u, list_.rows.size());
  EXPECT_EQ((std::vector<int>{12, 25, 37, 50}), scan_.positions);
  list_.rows.clear();
  List(L"Outlook\\Inbox\\");
  EXPECT_EQ(4u, list_.rows.size());
  list_.rows.clear();
  List(L"outlook\\inbox\\");
  List(L"Outlook\\Nowhere\\");
  EXPECT_TRUE(list_.rows.empty());
  store_.m_bStop = 1;
  List(L"Outlook\\Inbox\\");
  EXPECT_TRUE(list_.rows.empty());
}

TEST_F(DocumentListing, AnEmptyFolderListsNothing) {
  store_.m_db.CreateFolder(LNString("Outlook\\Empty"));
  List(L"Outlook\\Empty\\");
  EXPECT_TRUE(list_.rows.empty());
  EXPECT_TRUE(scan_.positions.empty());
}

TEST_F(DocumentListing, ADocumentThatCannotBeOpenedIsSkipped) {
  for (int i = 1; i <= 3; i++) {
    LNDocument mail = NewNote();
    AddText(mail, "Subject", {"m" + std::to_string(i)});
    SaveInto(mail, "Outlook\\Inbox");
  }
  RestartWithFaults("notes.opennote=2");
  List(L"Outlook\\Inbox\\");
  ASSERT_EQ(2u, list_.rows.size());
  EXPECT_EQ("m1", Utf8(list_.rows[0].cells[MAIL_COLUMN_SUBJECT]));
  EXPECT_EQ("m3", Utf8(list_.rows[1].cells[MAIL_COLUMN_SUBJECT]));
}

TEST_F(DocumentListing, AFailureInsideTheWalkEndsItQuietlyAndClosesTheFolder) {
  for (int i = 1; i <= 3; i++) {
    LNDocument mail = NewNote();
    AddText(mail, "Subject", {"m" + std::to_string(i)});
    SaveInto(mail, "Outlook\\Inbox");
  }
  // The pane fails on the second row, as a library call inside the walk would.
  class FailingList : public RecordingMailList {
   public:
    void AddRow(const CString& text, int kind) override {
      if (rows.size() == 1) throw LNERR_NOTE_NOT_OPEN;
      RecordingMailList::AddRow(text, kind);
    }
  } failing;
  store_.OpenFolder(&failing, L"Outlook\\Inbox\\");
  EXPECT_EQ(1u, failing.rows.size());
  LNVFEntry entry;
  EXPECT_THROW(store_.m_folder.GetEntry(0, &entry), LNSTATUS);
}

TEST_F(DocumentListing, RowsOfAConvertedPstFolderMatchNsfdumpCounts) {
  const std::string nsf = dir_.File("converted.nsf");
  std::string report;
  // The file's one contact has a picture, which a Person document does not take: exit 1 for it alone.
  const DWORD code =
      testsupport::RunProgram("\"" + testsupport::SiblingProgramPath("convert-harness.exe") + "\" \"" +
                                  testsupport::FixturePath("pst/iped-ptbr-mixed.pst") + "\" \"" + nsf + "\"",
                              &report);
  EXPECT_TRUE(code == 0 || (code == 1 && testsupport::HarnessLostOnlyKnownLosses(report))) << report;
  const std::map<std::string, int> kindOfForm = {
      {"Memo", 2}, {"Appointment", 3}, {"Task", 5}, {"JournalEntry", 9}, {"Person", 4}};
  // nsfdump: <count> TAB <form> TAB <folder>; the same counted from the rows, per folder and kind.
  std::map<std::string, std::map<int, int>> expected;
  for (const auto& row : testsupport::TabSeparatedRows(RunTool("nsfdump.exe", "counts \"" + nsf + "\"")))
    if (row.size() == 3 && !row[2].empty()) expected[row[2]][kindOfForm.at(row[1])] += std::stoi(row[0]);
  ASSERT_GE(expected.size(), 3u);

  store_.m_pFolderTree = &tree_;
  ASSERT_EQ(1, store_.OpenAndListFolders(ToCString(nsf), L"", &paths_, FALSE)) << Utf8(store_.GetErrorText());
  std::map<std::string, std::map<int, int>> listed;
  for (const auto& folder : expected) {
    EXPECT_TRUE(tree_.Find(ToCString(folder.first + "\\"))) << folder.first;
    list_.rows.clear();
    List(ToCString(folder.first + "\\"));
    for (const auto& row : list_.rows) listed[folder.first][row.kind]++;
  }
  EXPECT_EQ(expected, listed);
}
