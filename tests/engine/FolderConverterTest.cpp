// The folder converter: a PST folder by path into its "Outlook\" Notes folder, the top folder for the
// empty path, and folders that cannot be reached or opened.
#include "FolderConverter.h"
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
