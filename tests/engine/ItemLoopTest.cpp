// The item loop against the automation stand-ins and the Notes library: kind routing, progress, the
// stop flag, and items that fail to be fetched, classified or saved.
#include <memory>

#include "ItemLoopSupport.h"

using namespace enginetest;
namespace pb = pstbuilder;

TEST(GetItemKind, MatchesWholeClassesInExactCaseOnly) {
  EXPECT_EQ(0, GetItemKind(L"IPM.Appointment"));
  EXPECT_EQ(1, GetItemKind(L"IPM.Task"));
  EXPECT_EQ(2, GetItemKind(L"IPM.Note"));
  EXPECT_EQ(2, GetItemKind(L"IPM.Post"));
  EXPECT_EQ(3, GetItemKind(L"IPM.Activity"));
  EXPECT_EQ(4, GetItemKind(L"IPM.Contact"));
  EXPECT_EQ(5, GetItemKind(L"IPM.DistList"));
  for (LPCWSTR other :
       {L"IPM.Note.SMIME", L"IPM.Appointment.X", L"IPM.DistList.X", L"ipm.task", L"", L"IPM.Note "})
    EXPECT_EQ(-1, GetItemKind(other)) << CString(other);
}

TEST(NotConvertedCounts, CountEachKindApartAndNameTheRareOnesOnlyWhenThereAreAny) {
  CNotConvertedList list;
  EXPECT_TRUE(list.Counts().IsEmpty());
  for (int i = 0; i < 3750; ++i) list.AddAttachment(L"Contacts\\", i + 1, L"someone", L"card.jpg", L"why");
  EXPECT_EQ(CString(L"Not converted: 0 folder(s), 0 item(s) and 3,750 attachment(s)"), list.Counts().Text());
  // A folder counts its items with it, a run of items its length.
  list.AddFolder(L"Inbox\\", L"why", 4);
  list.AddItem(L"Inbox\\", 2, L"mail", L"why");
  list.AddItems(L"Sent\\", 3, 10, L"why");
  list.AddRecurrence(L"Calendar\\", 1, L"weekly", L"why");
  EXPECT_EQ(CString(L"Not converted: 1 folder(s), 15 item(s), 3,750 attachment(s) and 1 recurrence(s)"),
            list.Counts().Text());
  list.AddMember(L"Contacts\\", 4, L"team", 2, L"why");
  EXPECT_EQ(
      CString(L"Not converted: 1 folder(s), 15 item(s), 3,750 attachment(s), 1 recurrence(s) and 1 list "
              L"member(s)"),
      list.Counts().Text());
  // A folder whose items cannot be counted makes the count the least there are.
  list.AddFolder(L"Lost\\", L"why");
  EXPECT_EQ(
      CString(L"Not converted: 2 folder(s), at least 15 item(s), 3,750 attachment(s), 1 recurrence(s) and "
              L"1 list member(s)"),
      list.Counts().Text());
  CNotConvertedList uncounted;
  uncounted.AddFolder(L"Lost\\", L"why");
  EXPECT_EQ(CString(L"Not converted: 1 folder(s), an unknown number of item(s) and 0 attachment(s)"),
            uncounted.Counts().Text());
  EXPECT_EQ(CString(L"1 folder not converted\r\nAn unknown number of items not converted"),
            uncounted.Counts().KindLines());
}

// Ahead of the first lines, the final message counts what was not converted by kind, thousands set
// apart: a contact is counted once however many attachments it left behind, apart from the others.
TEST(NotConvertedCounts, KindLinesCountEachContactOnceWithTheThousandsSetApart) {
  CNotConvertedList list;
  for (long i = 1; i <= 15000; ++i)
    list.AddContactAttachment(L"Contacts\\", i, L"someone", L"card.jpg", L"why");
  list.AddContactAttachment(L"Contacts\\", 15000, L"someone", L"photo.jpg", L"why");
  EXPECT_EQ(CString(L"15,000 contacts saved without their attachments"), list.Counts().KindLines());
  list.AddAttachment(L"Inbox\\", 3, L"mail", L"a.doc", L"why");
  list.AddItem(L"Inbox\\", 4, L"mail", L"why");
  EXPECT_EQ(
      CString(L"1 item not converted\r\n15,000 contacts saved without their attachments\r\n1 attachment "
              L"not converted"),
      list.Counts().KindLines());
}

TEST_F(ItemLoopTest, EachKindGoesToItsSaverAndEverythingElseToMail) {
  pb::Store pst;
  pb::Folder& folder = pst.AddFolder("Mixed");
  for (const char* messageClass : {"IPM.Appointment", "IPM.Task", "IPM.Note", "IPM.Post", "IPM.Activity",
                                   "IPM.Contact", "IPM.Note.SMIME", "ipm.task", "IPM.DistList"})
    folder.messages.push_back(Item(messageClass, messageClass));
  OpenPst(pst);
  EXPECT_EQ(1, SaveFolder(L"Mixed\\"));
  EXPECT_EQ(0, SkippedCount()) << (SkippedCount() ? SkippedItems()[0] : CString());
  const std::vector<CString> expected = {L"Appointment", L"Task", L"Memo", L"Memo", L"JournalEntry",
                                         L"Person",      L"Memo", L"Memo", L"Memo"};
  EXPECT_EQ(expected, FormsIn(L"Outlook\\Mixed"));
}

TEST_F(ItemLoopTest, ARepeatingAppointmentIsSavedAtItsFirstOccurrenceAndRecordedSo) {
  pb::Store pst;
  pb::Folder& calendar = pst.AddFolder("Calendar", "IPF.Appointment");
  calendar.messages.push_back(Item("IPM.Appointment", "once"));
  calendar.messages.push_back(Item("IPM.Appointment", "weekly"));
  calendar.messages.back().SetNamed(pb::guids::kAppointment, 0x8223, pb::PropValue::Bool(true));
  OpenPst(pst);
  EXPECT_EQ(1, SaveFolder(L"Calendar\\"));
  EXPECT_EQ((std::vector<CString>{L"Appointment", L"Appointment"}), FormsIn(L"Outlook\\Calendar"));
  ASSERT_EQ(1, store_.m_notConverted.GetCount());
  const NotConvertedEntry& entry = store_.m_notConverted.GetAt(0);
  EXPECT_EQ(NotConvertedEntry::RECURRENCE, entry.kind);
  EXPECT_EQ(CString(L"Calendar\\"), entry.folder);
  EXPECT_EQ(2, entry.item);
  EXPECT_EQ(CString(L"weekly"), entry.subject);
  EXPECT_GE(entry.reason.Find(L"first occurrence"), 0) << entry.reason;
  EXPECT_EQ(0, SkippedCount());
}

TEST_F(ItemLoopTest, ShowsEachItemWithItsSubjectAndPosition) {
  OpenPst(MailFolder("Inbox", 7));
  EXPECT_EQ(1, SaveFolder(L"Inbox\\"));
  EXPECT_EQ((std::vector<int>{14, 28, 42, 57, 71, 85, 100}), sink_.positions);
  ASSERT_EQ(7u, sink_.texts.size());
  EXPECT_EQ(CString(L"Saving email 3 of 7 - subject 3"), sink_.texts[2]);
  EXPECT_EQ(7, DocumentsIn(L"Outlook\\Inbox"));
  EXPECT_EQ(0, SkippedCount());
}

TEST_F(ItemLoopTest, OneItemGoesStraightToTheEnd) {
  OpenPst(MailFolder("Inbox", 1));
  EXPECT_EQ(1, SaveFolder(L"Inbox\\"));
  EXPECT_EQ(std::vector<int>{100}, sink_.positions);
}

TEST_F(ItemLoopTest, EveryKindShowsTheSameWords) {
  pb::Store pst;
  pb::Folder& folder = pst.AddFolder("Calendar", "IPF.Appointment");
  folder.messages.push_back(Item("IPM.Appointment", "meeting"));
  folder.messages.push_back(Item("IPM.Contact", "someone"));
  OpenPst(pst);
  EXPECT_EQ(1, SaveFolder(L"Calendar\\"));
  ASSERT_EQ(2u, sink_.texts.size());
  EXPECT_EQ(CString(L"Saving email 1 of 2 - meeting"), sink_.texts[0]);
  EXPECT_EQ(CString(L"Saving email 2 of 2 - someone"), sink_.texts[1]);
}

TEST_F(ItemLoopTest, EmptyFolderShowsNothingAndSucceeds) {
  OpenPst(MailFolder("Inbox", 0));
  EXPECT_EQ(1, SaveFolder(L"Inbox\\"));
  EXPECT_TRUE(sink_.texts.empty());
  EXPECT_EQ(0, DocumentsIn(L"Outlook\\Inbox"));
}

TEST_F(ItemLoopTest, StopFlagBeforeFirstItemSavesNothing) {
  OpenPst(MailFolder("Inbox", 3));
  store_.m_bStop = 1;
  EXPECT_EQ(0, SaveFolder(L"Inbox\\"));
  EXPECT_TRUE(sink_.texts.empty());
  EXPECT_EQ(CString(L"Outlook\\Inbox"), LNStringToCString(store_.m_folder.GetName()));
  EXPECT_EQ(0, DocumentsIn(L"Outlook\\Inbox"));
}

TEST_F(ItemLoopTest, MissingNotesFolderReadsNoItemAndLeavesNoErrorText) {
  OpenPst(MailFolder("Inbox", 3));
  store_.SetErrorText(L"earlier");
  RdoFolderDispatch folder;
  session_.OpenFolderByPath(L"Inbox\\", folder);
  EXPECT_EQ(0, store_.SaveFolderItems(L"Outlook\\Inbox\\", &folder));
  EXPECT_NE(0u, store_.m_status);
  EXPECT_TRUE(sink_.texts.empty());
  EXPECT_EQ(CString(L"earlier"), store_.GetErrorText());
}

TEST_F(ItemLoopTest, NullProgressAndNoPstFolderAreTolerated) {
  OpenPst(MailFolder("Inbox", 2));
  store_.m_pItemProgress = nullptr;
  EXPECT_EQ(1, SaveFolder(L"Inbox\\"));
  EXPECT_EQ(2, DocumentsIn(L"Outlook\\Inbox"));
  ASSERT_EQ(1, store_.CreateFolder(L"Outlook\\Other\\"));
  RdoFolderDispatch empty;
  EXPECT_EQ(1, store_.SaveFolderItems(L"Outlook\\Other\\", &empty));
  EXPECT_EQ(1, store_.SaveFolderItems(L"Outlook\\Other\\", nullptr));
}

TEST_F(ItemLoopTest, FailedFetchSkipsThatItemOnly) {
  ScopedFaults faults("rdo.item=3");
  OpenPst(MailFolder("Inbox", 5));
  EXPECT_EQ(1, SaveFolder(L"Inbox\\"));
  EXPECT_EQ(4, DocumentsIn(L"Outlook\\Inbox"));
  ASSERT_EQ(5u, sink_.texts.size());
  EXPECT_EQ(CString(L"Saving email 3 of 5 - "), sink_.texts[2]);
  ASSERT_EQ(1, SkippedCount());
  EXPECT_EQ(0, SkippedItems()[0].Find(L"3\t\t")) << SkippedItems()[0];
  EXPECT_GE(SkippedItems()[0].Find(L"rdo.item"), 0) << SkippedItems()[0];
}

TEST_F(ItemLoopTest, FailedMessageClassSkipsThatItemOnly) {
  ScopedFaults faults("rdo.messageclass=2");
  OpenPst(MailFolder("Inbox", 4));
  EXPECT_EQ(1, SaveFolder(L"Inbox\\"));
  EXPECT_EQ(3, DocumentsIn(L"Outlook\\Inbox"));
  ASSERT_EQ(1, SkippedCount());
  EXPECT_EQ(0, SkippedItems()[0].Find(L"2\tsubject 2\t")) << SkippedItems()[0];
}

TEST_F(ItemLoopTest, SaverFailingOnItemFourStillSavesFiveToTen) {
  OpenPst(MailFolder("Inbox", 10));
  ASSERT_EQ(1, store_.CreateFolder(L"Outlook\\Inbox\\"));
  // The library reads its faults when its session starts; the database and folder stay as they are.
  ScopedFaults notesFaults("notes.save=4");
  ASSERT_EQ(1, store_.InitSession());
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(ToCString(dir_.File("target.nsf"))));
  RdoFolderDispatch folder;
  session_.OpenFolderByPath(L"Inbox\\", folder);
  EXPECT_EQ(1, store_.SaveFolderItems(L"Outlook\\Inbox\\", &folder));
  EXPECT_EQ(9, DocumentsIn(L"Outlook\\Inbox"));
  ASSERT_EQ(1, SkippedCount());
  EXPECT_EQ(0, SkippedItems()[0].Find(L"4\tsubject 4\t")) << SkippedItems()[0];
  EXPECT_EQ(100, sink_.positions.back());
}

TEST_F(ItemLoopTest, LongPathOpensTheFolderNamedByItsLastSegment) {
  // "Outlook\" + 60 + "\" + 57 + "\Leaf" is 131 characters once the trailing backslash is dropped.
  const std::string first(60, 'a'), second(57, 'b');
  pb::Store pst;
  pb::Folder& leaf = pst.AddFolder(first).AddFolder(second).AddFolder("Leaf");
  leaf.messages.push_back(Mail("deep"));
  OpenPst(pst);
  const CString path = ToCString(first + "\\" + second + "\\Leaf\\");
  ASSERT_EQ(131, (L"Outlook\\" + path).GetLength() - 1);
  EXPECT_EQ(1, SaveFolder(path));
  EXPECT_EQ(CString(L"\\Leaf"), LNStringToCString(store_.m_folder.GetName()));
  EXPECT_EQ(1, DocumentsIn(L"\\Leaf"));
}

TEST_F(ItemLoopTest, FailedFreshFetchSkipsTheItemLikeAFailingSaver) {
  // An appointment is fetched twice: the second fetch of the first item fails.
  ScopedFaults faults("rdo.item=2");
  pb::Store pst;
  pb::Folder& folder = pst.AddFolder("Calendar", "IPF.Appointment");
  folder.messages.push_back(Item("IPM.Appointment", "first"));
  folder.messages.push_back(Item("IPM.Appointment", "second"));
  OpenPst(pst);
  EXPECT_EQ(1, SaveFolder(L"Calendar\\"));
  EXPECT_EQ(std::vector<CString>{L"Appointment"}, FormsIn(L"Outlook\\Calendar"));
  ASSERT_EQ(1, SkippedCount());
  EXPECT_EQ(0, SkippedItems()[0].Find(L"1\tfirst\t")) << SkippedItems()[0];
}
