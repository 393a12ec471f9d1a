// The folder converter: a PST folder by path into its "Outlook\" Notes folder, the top folder for the
// empty path, and folders that cannot be reached or opened.
#include "FolderConverter.h"

#include <algorithm>
#include <functional>

#include "ItemLoopSupport.h"
#include "Recipes.h"

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

class FolderConverterTest : public ItemLoopTest {
 protected:
  void SetUp() override {
    ItemLoopTest::SetUp();
    converter_.m_pStore = &store_;
    converter_.m_pSession = &session_;
  }
  // As the driver does: the Notes folder first, then the converter.
  void Convert(const CString& path) {
    ASSERT_EQ(1, store_.CreateFolder(L"Outlook\\" + path));
    converter_.ConvertFolder(path);
  }

  // As OpenPst, for a PST file the test wrote itself.
  void OpenWritten(const std::string& path) {
    ASSERT_EQ(1, session_.ReopenPst(ToCString(path))) << session_.GetOpenError();
    CStringArray paths;
    session_.GetFolderList(&paths);
  }

  CFolderConverter converter_;
};

}  // namespace

TEST_F(FolderConverterTest, SavesTheItemsOfTheFolderAtPathOnly) {
  pb::Store pst;
  pb::Folder& inbox = pst.AddFolder("Inbox");
  inbox.messages.push_back(Mail("in inbox"));
  pb::Folder& projects = inbox.AddFolder("Projects");
  projects.messages.push_back(Mail("one"));
  projects.messages.push_back(Mail("two"));
  OpenPst(pst);
  Convert(L"Inbox\\Projects\\");
  EXPECT_EQ(2, DocumentsIn(L"Outlook\\Inbox\\Projects"));
  EXPECT_EQ(-1, DocumentsIn(L"Outlook\\Inbox"));
  Convert(L"Inbox\\");
  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Inbox"));
  EXPECT_EQ(2, DocumentsIn(L"Outlook\\Inbox\\Projects"));
}

TEST_F(FolderConverterTest, EmptyPathSavesTheTopFoldersOwnItemsIntoOutlook) {
  ASSERT_EQ(1, session_.ReopenPst(ToCString(testsupport::FixturePath("pst/pstsdk-test-unicode-post.pst"))))
      << session_.GetOpenError();
  Convert(L"");
  EXPECT_EQ(1, DocumentsIn(L"Outlook"));
}

TEST_F(FolderConverterTest, EmptyPathOfAnEmptyTopFolderSavesNothing) {
  OpenPst(MailFolder("Inbox", 2));
  Convert(L"");
  EXPECT_EQ(0, DocumentsIn(L"Outlook"));
  EXPECT_TRUE(sink_.texts.empty());
}

TEST_F(FolderConverterTest, UnreachableFolderHandsNothingToTheItemLoop) {
  // A session that never opened has no store to walk.
  ASSERT_EQ(1, store_.CreateFolder(L"Outlook\\Inbox\\"));
  converter_.ConvertFolder(L"Inbox\\");
  converter_.ConvertFolder(L"");
  EXPECT_EQ(0, DocumentsIn(L"Outlook\\Inbox"));
  EXPECT_TRUE(sink_.texts.empty());
}

TEST_F(FolderConverterTest, NotesFolderThatCannotBeOpenedEndsOnlyThatFolder) {
  pb::Store pst = MailFolder("Inbox", 2);
  pst.AddFolder("Sent Items").messages.push_back(Mail("sent"));
  OpenPst(pst);
  // No Notes folder for the Inbox: the loop finds none and the next folder still converts.
  converter_.ConvertFolder(L"Inbox\\");
  Convert(L"Sent Items\\");
  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Sent Items"));
}

TEST_F(FolderConverterTest, FaultsInsideAFolderNeverEscapeTheConverter) {
  // The second fetch fails (item 2), then the second class read (item 3).
  ScopedFaults faults("rdo.item=2,rdo.messageclass=2");
  OpenPst(MailFolder("Inbox", 3));
  Convert(L"Inbox\\");
  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Inbox"));
  EXPECT_EQ(2, SkippedCount());
}

TEST_F(FolderConverterTest, SiblingFoldersOfOneNameAreAllSavedIntoTheirOneNotesFolder) {
  OpenPst(pb::SiblingFoldersStore());
  Convert(L"Inbox\\Projects\\");
  const std::vector<CString> expected = {L"projects 1.1", L"projects 1.2", L"projects 1.3", L"projects 2.1",
                                         L"projects 2.2"};
  EXPECT_EQ(expected, TextsIn(L"Outlook\\Inbox\\Projects", "Subject"));
  EXPECT_EQ(0, store_.m_notConverted.GetCount());
}

TEST_F(FolderConverterTest, ItemsOfSiblingFoldersAreNumberedOnThroughThem) {
  // The fifth fetch is the second mail of the second Projects: item 5 of the path.
  ScopedFaults faults("rdo.item=5");
  OpenPst(pb::SiblingFoldersStore());
  Convert(L"Inbox\\Projects\\");
  EXPECT_EQ(4, DocumentsIn(L"Outlook\\Inbox\\Projects"));
  ASSERT_EQ(1u, SkippedItems().size());
  EXPECT_EQ(0, SkippedItems()[0].Find(L"5\t")) << SkippedItems()[0];
}

namespace {

// Changes the PST file as another program may while it is read, when the loop shows the item whose
// status begins with at; the reader has the file open all along.
class ChangingSink : public RecordingSink {
 public:
  ChangingSink(CString at, std::function<bool()> change) : at_(std::move(at)), change_(std::move(change)) {}
  void SetText(const CString& text) override {
    RecordingSink::SetText(text);
    if (changed_ || text.Find(at_) != 0) return;
    changed_ = true;
    EXPECT_TRUE(change_());
  }

 private:
  CString at_;
  std::function<bool()> change_;
  bool changed_ = false;
};

long CountedItems(const CNotConvertedList& list) { return list.Counts().items; }

}  // namespace

TEST_F(FolderConverterTest, AFolderWhoseItemsCannotBeListedCountsTheItemsThePstSaysItHolds) {
  // The list of the Inbox's items fails; the next folder converts.
  ScopedFaults faults("rdo.count=1");
  pb::Store pst = MailFolder("Inbox", 7);
  pst.AddFolder("Sent Items").messages.push_back(Mail("sent"));
  OpenPst(pst);
  Convert(L"Inbox\\");
  Convert(L"Sent Items\\");
  ASSERT_EQ(1, store_.m_notConverted.GetCount());
  const NotConvertedEntry& entry = store_.m_notConverted.GetAt(0);
  EXPECT_EQ(NotConvertedEntry::FOLDER, entry.kind);
  EXPECT_EQ(7, entry.items);
  EXPECT_EQ(0, entry.reason.Find(L"7 items: the list of items cannot be read: ")) << entry.reason;
  EXPECT_EQ(7, CountedItems(store_.m_notConverted));
  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Sent Items"));
  // A folder that cannot be read is the PST's damage, not the file failing: the run goes on.
  EXPECT_FALSE(store_.IsSourceFailed());
}

TEST_F(FolderConverterTest, APstCutShortDuringAFolderStopsThereAndCountsEveryItemNotSaved) {
  pb::Store pst;
  pb::Folder& inbox = pst.AddFolder("Inbox");
  for (int i = 1; i <= 20; ++i)
    inbox.messages.push_back(Mail("in " + std::to_string(i)).Body(std::string(6000, 'x')));
  pb::Folder& archive = pst.AddFolder("Archive");
  for (int i = 1; i <= 10; ++i) archive.messages.push_back(Mail("old " + std::to_string(i)));
  OpenPst(pst);
  ChangingSink cutting(L"Saving email 5 of 20",
                       [this] { return testsupport::CutFileShort(dir_.File("test.pst"), 4096); });
  store_.m_pItemProgress = &cutting;
  Convert(L"Inbox\\");

  ASSERT_TRUE(store_.IsSourceFailed());
  EXPECT_EQ(0, store_.GetSourceFailure().Find(L"The PST file can no longer be read: "))
      << store_.GetSourceFailure();
  EXPECT_NE(-1, store_.GetSourceFailure().Find(L"shorter than")) << store_.GetSourceFailure();
  // The loop stops at the first item it cannot read: the rest of the folder is one run.
  const long saved = DocumentsIn(L"Outlook\\Inbox");
  EXPECT_GE(saved, 4);
  EXPECT_EQ(20, saved + CountedItems(store_.m_notConverted));
  ASSERT_GE(store_.m_notConverted.GetCount(), 1);
  const NotConvertedEntry& last = store_.m_notConverted.GetAt(store_.m_notConverted.GetCount() - 1);
  EXPECT_EQ(NotConvertedEntry::ITEMS, last.kind);
  EXPECT_EQ(0, store_.m_notConverted.Counts().folders) << "a folder partly saved is not counted whole";

  // A later folder is not converted at all, and counted with the items the PST says it holds.
  const INT_PTR before = store_.m_notConverted.GetCount();
  EXPECT_EQ(0, store_.CreateFolder(L"Outlook\\Archive\\"));
  ASSERT_EQ(before + 1, store_.m_notConverted.GetCount());
  EXPECT_EQ(10, session_.CountItemsAtPath(L"Archive\\"));
}

namespace {

// The offset in the file at path of the first place that holds text as stored (UTF-16); npos when
// none does. The builder's PSTs are written unencoded for it.
size_t OffsetOfText(const std::string& path, const std::string& text) {
  std::string stored;
  for (char c : text) stored += std::string{c, '\0'};
  return testsupport::ReadFileBytes(path).find(stored);
}

}  // namespace

TEST_F(FolderConverterTest, ABlockOfAWholePstThatCannotBeReadCostsOnlyTheItemsItHolds) {
  pb::Store pst = MailFolder("Inbox", 40);
  pst.encoding = pb::Encoding::None;
  pst.AddFolder("Sent Items").messages.push_back(Mail("sent"));
  const std::string path = dir_.File("test.pst");
  pb::WritePst(pst, path);
  const size_t offset = OffsetOfText(path, "body of subject 20");
  ASSERT_NE(std::string::npos, offset);
  ScopedFaults faults(("pst.unreadable=" + std::to_string(offset)).c_str());
  OpenWritten(path);
  Convert(L"Inbox\\");
  Convert(L"Sent Items\\");

  EXPECT_FALSE(store_.IsSourceFailed()) << store_.GetSourceFailure();
  const std::vector<CString> skipped = SkippedItems();
  ASSERT_GE(skipped.size(), 1u);
  EXPECT_LE(skipped.size(), 10u) << "a 4 KiB block holds a few small items, not the rest of the folder";
  EXPECT_TRUE(
      std::any_of(skipped.begin(), skipped.end(), [](const CString& s) { return s.Find(L"20\t") == 0; }));
  for (const CString& line : skipped) EXPECT_NE(-1, line.Find(L"read error at offset ")) << line;
  EXPECT_EQ(40, DocumentsIn(L"Outlook\\Inbox") + CountedItems(store_.m_notConverted));
  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Sent Items"));
}

TEST_F(FolderConverterTest, AListOfItemsThatCannotBeReadCostsThatFolderOnly) {
  pb::Store pst = MailFolder("Inbox", 300);
  pst.encoding = pb::Encoding::None;
  pst.AddFolder("Sent Items").messages.push_back(Mail("sent"));
  const std::string path = dir_.File("test.pst");
  pb::WritePst(pst, path);
  // The subjects stand in the messages first, then in the rows of their folder's list of items.
  const std::string bytes = testsupport::ReadFileBytes(path);
  std::string stored;
  for (char c : std::string("subject 300")) stored += std::string{c, '\0'};
  const size_t offset = bytes.rfind(stored);
  ASSERT_NE(bytes.find(stored), offset);
  ScopedFaults faults(("pst.unreadable=" + std::to_string(offset)).c_str());
  OpenWritten(path);
  Convert(L"Inbox\\");
  Convert(L"Sent Items\\");

  EXPECT_FALSE(store_.IsSourceFailed()) << store_.GetSourceFailure();
  ASSERT_EQ(1, store_.m_notConverted.GetCount());
  const NotConvertedEntry& entry = store_.m_notConverted.GetAt(0);
  EXPECT_EQ(NotConvertedEntry::FOLDER, entry.kind);
  EXPECT_EQ(300, entry.items);
  EXPECT_NE(-1, entry.reason.Find(L"read error at offset ")) << entry.reason;
  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Sent Items"));
}

TEST_F(FolderConverterTest, APstWrittenOverDuringTheRunStopsItAsTheFileChanged) {
  pb::Store pst;
  pst.encoding = pb::Encoding::None;
  pb::Folder& inbox = pst.AddFolder("Inbox");
  for (int i = 1; i <= 20; ++i)
    inbox.messages.push_back(Mail("in " + std::to_string(i)).Body(std::string(6000, 'x')));
  pb::Folder& archive = pst.AddFolder("Archive");
  for (int i = 1; i <= 10; ++i) archive.messages.push_back(Mail("old " + std::to_string(i)));
  const std::string path = dir_.File("test.pst");
  pb::WritePst(pst, path);
  ASSERT_TRUE(testsupport::AgeFile(path));
  OpenWritten(path);
  ChangingSink overwriting(L"Saving email 5 of 20",
                           [&] { return testsupport::WriteOverFileMiddle(path, 8192); });
  store_.m_pItemProgress = &overwriting;
  Convert(L"Inbox\\");

  ASSERT_TRUE(store_.IsSourceFailed());
  EXPECT_EQ(0, store_.GetSourceFailure().Find(L"The PST file can no longer be read: "))
      << store_.GetSourceFailure();
  EXPECT_NE(-1, store_.GetSourceFailure().Find(L"another program wrote to the file after it was opened"))
      << store_.GetSourceFailure();
  const long saved = DocumentsIn(L"Outlook\\Inbox");
  EXPECT_GE(saved, 4);
  EXPECT_EQ(20, saved + CountedItems(store_.m_notConverted));
  EXPECT_EQ(0, store_.CreateFolder(L"Outlook\\Archive\\"));
}
