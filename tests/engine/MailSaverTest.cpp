// Mail memos and journal entries saved into the target folder: recipients read twice, the Bcc under
// both spellings, the "PostedDate" choice, the catch-all message classes and the journal's dates.
#include "SaverTestSupport.h"

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

class MailSaver : public SaverTest {
 protected:
  // Saves the inbox's messages with the mail saver; the filed documents.
  std::vector<LNDocument> SaveInbox(const std::vector<pb::Message>& messages) {
    pb::Store store;
    pb::Folder& inbox = store.AddFolder("Inbox");
    inbox.messages = messages;
    OpenPst(store);
    for (long i = 1; i <= static_cast<long>(messages.size()); i++) {
      RdoMailDispatch mail(Item("Inbox", i));
      EXPECT_EQ(1, store_.SaveMail(&mail));
    }
    return Filed();
  }
};

// PR_CLIENT_SUBMIT_TIME, PR_MESSAGE_DELIVERY_TIME and PR_CREATION_TIME: dispatch ids 57, 41, 18.
pb::Message Dated(const std::string& subject, int sentYear, int receivedYear, int createdYear) {
  pb::Message m;
  m.Subject(subject).Body("b");
  m.SubmitTime(pb::FileTime(sentYear, 3, 1, 12));
  m.DeliveryTime(pb::FileTime(receivedYear, 3, 2, 12));
  m.CreationTime(pb::FileTime(createdYear, 3, 3, 12));
  return m;
}

}  // namespace

TEST_F(MailSaver, MemoCarriesItsRecipientsTwiceAndTheBccUnderBothSpellings) {
  pb::Message mail;
  mail.Subject("Figures").Body("see attached");
  mail.Sender("Sam Sender", "sam@example.com")
      .AddRecipient(1, "Ann", "ann@example.com")
      .AddRecipient(2, "Cy", "cy@example.com")
      .AddRecipient(3, "Dee", "dee@example.com");
  const std::vector<LNDocument> notes = SaveInbox({mail});
  ASSERT_EQ(1u, notes.size());
  const LNDocument& note = notes[0];
  EXPECT_EQ("Memo", Text(note, "Form"));
  EXPECT_EQ("Figures", Text(note, "Subject"));
  EXPECT_EQ("Sam Sender", Text(note, "From"));
  EXPECT_EQ("Ann", Text(note, "SendTo"));
  EXPECT_EQ("Ann", Text(note, "EnterSentTo"));
  EXPECT_EQ("Cy", Text(note, "CopyTo"));
  EXPECT_EQ("Cy", Text(note, "EnterCopyTo"));
  for (const char* name : {"BliendCopyTo", "EnterBliendCopyTo", "BlindCopyTo", "EnterBlindCopyTo"})
    EXPECT_EQ("Dee", Text(note, name)) << name;
  EXPECT_EQ("see attached", Text(note, "Body"));
  // The body comes last.
  EXPECT_EQ("Body", Items(note).back().name);
}

TEST_F(MailSaver, PostedDateIsTheFirstDateInTheYears1901To3999) {
  const std::vector<LNDocument> notes =
      SaveInbox({Dated("sent", 2005, 2006, 2007), Dated("received", 1899, 2006, 2007),
                 Dated("created", 1899, 4000, 2007), Dated("none", 1899, 1900, 4001)});
  ASSERT_EQ(4u, notes.size());
  EXPECT_EQ("03/01/2005 12:00:00", Date(notes[0], "PostedDate"));
  EXPECT_EQ("03/02/2006 12:00:00", Date(notes[1], "PostedDate"));
  EXPECT_EQ("03/03/2007 12:00:00", Date(notes[2], "PostedDate"));
  EXPECT_TRUE(Named(notes[3], "PostedDate").empty());
}

TEST_F(MailSaver, EveryMessageClassBecomesAMemo) {
  pb::Message post = Dated("post", 2010, 2010, 2010);
  post.messageClass = "IPM.Post";
  pb::Message report = Dated("report", 2010, 2010, 2010);
  report.messageClass = "REPORT.IPM.Note.NDR";
  pb::Message none = Dated("no class", 2010, 2010, 2010);
  none.messageClass = "";
  const std::vector<LNDocument> notes = SaveInbox({post, report, none});
  ASSERT_EQ(3u, notes.size());
  for (const LNDocument& note : notes) EXPECT_EQ("Memo", Text(note, "Form"));
}

TEST_F(MailSaver, NoteThatCannotBeCreatedGivesZeroAndNothingIsWritten) {
  pb::Store store;
  store.AddFolder("Inbox").messages.push_back(Mail("unsaved"));
  OpenPst(store);
  const int before = DocumentCount();
  store_.m_db.Close();
  RdoMailDispatch mail(Item("Inbox"));
  int result = -1;
  EXPECT_NO_THROW(result = store_.SaveMail(&mail));
  EXPECT_EQ(0, result);
  store_.m_db.Open();
  EXPECT_EQ(before, DocumentCount());
}

TEST_F(MailSaver, RefusedSaveIsStillOfferedToTheFolder) {
  pb::Store store;
  store.AddFolder("Inbox").messages.push_back(Mail("unsaved"));
  OpenPst(store);
  StartNotes("notes.save");
  RdoMailDispatch mail(Item("Inbox"));
  // The library files only saved documents: the offer fails and leaves the saver.
  EXPECT_THROW(store_.SaveMail(&mail), LNSTATUS);
  EXPECT_TRUE(Filed().empty());
}

TEST_F(MailSaver, JournalEntryCarriesItsFormDatesAndTheBodyLast) {
  pb::Store store;
  pb::Message entry = Journal("Phone call");
  entry.Sender("Sam Sender", "sam@example.com").Keywords({"Calls", "Work"});
  store.AddFolder("Journal", "IPF.Journal").messages.push_back(entry);
  OpenPst(store);
  RdoJournalDispatch item(Item("Journal"));
  EXPECT_EQ(1, store_.SaveJournal(&item));
  const LNDocument note = OnlyFiled();
  EXPECT_EQ("JournalEntry", Text(note, "Form"));
  EXPECT_EQ("Phone call", Text(note, "Subject"));
  EXPECT_EQ("Sam Sender", Text(note, "From"));
  EXPECT_EQ("Calls; Work", Text(note, "Categories"));
  EXPECT_EQ("07/01/2019 08:00:00", Date(note, "TimeCreated"));
  EXPECT_EQ("06/30/2019 14:00:00", Date(note, "DiaryDate"));
  const std::vector<NoteItem> items = Items(note);
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ("Body", items[items.size() - 2].name);
  EXPECT_EQ("Body", items.back().name);
  EXPECT_EQ("notes of Phone call", Text(note, "Body"));
}

namespace {

// A distribution list of the given members (entry ids only; their one-off forms beside them when given).
pb::Message List(const std::string& name, const std::vector<std::vector<uint8_t>>& entryIds,
                 const std::vector<std::vector<uint8_t>>& oneOffs = {}) {
  pb::Message list;
  list.DistList(name, entryIds, oneOffs);
  return list;
}

}  // namespace

TEST_F(MailSaver, AListBecomesAMemoThatListsEveryMemberInItsBody) {
  pb::Message list =
      List("Team",
           {pb::WrappedEntryId(0xC3, pb::MessageEntryId(pb::Store().recordKey, 0x2000A4)),
            pb::OneOffEntryId("Bob Roe", "SMTP", "bob@example.org"),
            pb::OneOffEntryId("", "SMTP", "cy@example.org"), pb::OneOffEntryId("Dee", "SMTP", "")},
           {pb::OneOffEntryId("Ann Lee", "SMTP", "ann@example.org")});
  list.Body("Meets on Mondays");
  pb::Store store;
  store.AddFolder("Inbox").messages.push_back(list);
  OpenPst(store);
  RdoDistListDispatch item(Item("Inbox", 1));
  EXPECT_EQ(1, store_.SaveDistList(&item));
  const LNDocument note = OnlyFiled();
  EXPECT_EQ("Memo", Text(note, "Form"));
  EXPECT_EQ("Team", Text(note, "Subject"));
  EXPECT_EQ(
      "Ann Lee <ann@example.org>\r\nBob Roe <bob@example.org>\r\ncy@example.org\r\nDee\r\n\r\nMeets on "
      "Mondays",
      Text(note, "Body"));
  EXPECT_EQ(0, store_.m_notConverted.GetCount());
}

TEST_F(MailSaver, AMemberThatCannotBeReadIsLeftOutAndRecordedOnceTheMemoIsFiled) {
  pb::Store store;
  store.AddFolder("Inbox").messages.push_back(
      List("Team", {pb::OneOffEntryId("Ann", "SMTP", "ann@example.org"),
                    pb::OneOffEntryId("Bob", "SMTP", "bob@example.org"), pb::OneOffEntryId("", "", ""),
                    pb::WrappedEntryId(0xC3, pb::MessageEntryId(store.recordKey, 0x2000A4))}));
  OpenPst(store, "rdo.getmember=2");
  RdoDistListDispatch item(Item("Inbox", 1));
  EXPECT_EQ(1, store_.SaveDistList(&item));
  EXPECT_EQ("Ann <ann@example.org>", Text(OnlyFiled(), "Body"));
  ASSERT_EQ(3, store_.m_notConverted.GetCount());
  const long members[] = {2, 3, 4};
  const wchar_t* reasons[] = {L"rdo.getmember", L"neither a name nor an address", L"not in the PST"};
  for (INT_PTR i = 0; i < 3; ++i) {
    const NotConvertedEntry& entry = store_.m_notConverted.GetAt(i);
    EXPECT_EQ(NotConvertedEntry::MEMBER, entry.kind);
    EXPECT_EQ(members[i], entry.member);
    EXPECT_GE(entry.reason.Find(reasons[i]), 0) << entry.reason;
  }
}

TEST_F(MailSaver, MembersTheMemoCannotHoldAreRecordedUnlessTheMemoIsLostWhole) {
  pb::Store store;
  store.AddFolder("Inbox").messages.push_back(
      List("Team", {pb::OneOffEntryId("Ann", "SMTP", "ann@example.org"),
                    pb::OneOffEntryId("Bob", "SMTP", "bob@example.org")}));
  OpenPst(store);
  // The library refuses the fourth item, the body that lists the members (after the form, the subject and
  // the sender); the memo is still filed.
  StartNotes("notes.createitem=4");
  RdoDistListDispatch item(Item("Inbox", 1));
  EXPECT_EQ(1, store_.SaveDistList(&item));
  EXPECT_EQ("Team", Text(OnlyFiled(), "Subject"));
  EXPECT_EQ("<missing>", Text(OnlyFiled(), "Body"));
  ASSERT_EQ(2, store_.m_notConverted.GetCount());
  for (INT_PTR i = 0; i < 2; ++i) {
    EXPECT_EQ(NotConvertedEntry::MEMBER, store_.m_notConverted.GetAt(i).kind);
    EXPECT_EQ(i + 1, store_.m_notConverted.GetAt(i).member);
  }

  // A memo that cannot be saved is lost whole: the item loop records the item, and no member is recorded.
  StartNotes("notes.save");
  RdoDistListDispatch again(Item("Inbox", 1));
  EXPECT_THROW(store_.SaveDistList(&again), LNSTATUS);
  EXPECT_EQ(0, store_.m_notConverted.GetCount());
}
