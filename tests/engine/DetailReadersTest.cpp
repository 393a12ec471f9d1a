// The detail readers on documents written by the savers of every kind: the fields each record lists,
// "" for items a document lacks, dates in the library's text form, the attachment lists.
#include "SaverTestSupport.h"

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

class DetailReaders : public SaverTest {
 protected:
  // Saves the first item of a one-folder PST with save; the filed document.
  template <class Save>
  LNDocument SaveOne(const pb::Message& message, const char* folderClass, Save save) {
    pb::Store pst;
    pst.AddFolder("Items", folderClass).messages.push_back(message);
    OpenPst(pst);
    save(Item("Items"));
    return OnlyFiled();
  }
};

}  // namespace

TEST_F(DetailReaders, CalendarEntryReadsItsSevenFields) {
  pb::Message meeting = Appointment("Planning");
  meeting.Sender("Sam Sender", "sam@example.com").AddRecipient(1, "Ann", "ann@example.com");
  meeting.AttachFile("agenda.txt", Bytes("12345"));
  const LNDocument note = SaveOne(meeting, "IPF.Appointment", [this](LPDISPATCH item) {
    RdoAppointmentDispatch appointment(item);
    store_.SaveAppointment(&appointment);
  });
  CStringArray names, sizes;
  const CalendarDetails record = store_.ReadCalendar(note, &names, &sizes);
  EXPECT_EQ(ToCString("Planning"), record.m_strSubject);
  EXPECT_EQ(ToCString("Sam Sender"), record.m_strFrom);
  EXPECT_EQ(ToCString("Ann"), record.m_strSendTo);
  EXPECT_EQ(ToCString("Room 4"), record.m_strLocation);
  EXPECT_EQ(ToCString("05/06/2021 09:30:00"), record.m_strStartDateTime);
  EXPECT_EQ(ToCString("05/06/2021 10:45:00"), record.m_strEndDateTime);
  EXPECT_EQ(ToCString("AGENDA.TXT Size :5 \r\n"), record.m_strAttachments);
  ASSERT_EQ(1, names.GetSize());
  EXPECT_EQ(ToCString("AGENDA.TXT"), names[0]);
  EXPECT_EQ(ToCString(" Size :5 "), sizes[0]);
}

TEST_F(DetailReaders, ToDoReadsItsStartAndDueDates) {
  const LNDocument note = SaveOne(Task("Report"), "IPF.Task", [this](LPDISPATCH item) {
    RdoTaskDispatch task(item);
    store_.SaveTask(&task);
  });
  const ToDoDetails record = store_.ReadToDo(note, nullptr, nullptr);
  EXPECT_EQ(ToCString("Report"), record.m_strSubject);
  EXPECT_EQ(ToCString("01/10/2022 00:00:00"), record.m_strStartDateTime);
  EXPECT_EQ(ToCString("01/20/2022 00:00:00"), record.m_strDueDate);
  EXPECT_EQ(ToCString(""), record.m_strAttachments);
}

TEST_F(DetailReaders, JournalEntryReadsItsDatesAndCategoriesAfterItsAttachments) {
  pb::Message entry = Journal("Phone call");
  entry.Sender("Sam Sender", "sam@example.com").Keywords({"Calls", "Work"});
  const LNDocument note = SaveOne(entry, "IPF.Journal", [this](LPDISPATCH item) {
    RdoJournalDispatch journal(item);
    store_.SaveJournal(&journal);
  });
  const JournalDetails record = store_.ReadJournal(note, nullptr, nullptr);
  EXPECT_EQ(ToCString("Phone call"), record.m_strSubject);
  EXPECT_EQ(ToCString("Sam Sender"), record.m_strFrom);
  EXPECT_EQ(ToCString("07/01/2019 08:00:00"), record.m_strTimeCreated);
  EXPECT_EQ(ToCString("06/30/2019 14:00:00"), record.m_strDiaryDate);
  EXPECT_EQ(ToCString(""), record.m_strAttachments);
  EXPECT_EQ(ToCString("Calls; Work"), record.m_strCategories);
}

TEST_F(DetailReaders, MailReadsItsSentDateOrNothingWhenItHasNone) {
  pb::Store pst;
  pb::Folder& inbox = pst.AddFolder("Inbox");
  pb::Message dated = Mail("dated");
  dated.Sender("Sam Sender", "sam@example.com").AddRecipient(1, "Ann", "ann@example.com");
  dated.SubmitTime(pb::FileTime(2005, 3, 1, 12));
  inbox.messages.push_back(dated);
  pb::Message undated = Mail("undated");
  undated.SubmitTime(pb::FileTime(1800, 1, 1)).DeliveryTime(pb::FileTime(1800, 1, 1));
  undated.CreationTime(pb::FileTime(1800, 1, 1));
  inbox.messages.push_back(undated);
  OpenPst(pst);
  for (long i = 1; i <= 2; i++) {
    RdoMailDispatch mail(Item("Inbox", i));
    store_.SaveMail(&mail);
  }
  const std::vector<LNDocument> notes = Filed();
  ASSERT_EQ(2u, notes.size());
  const MailDetails first = store_.ReadMail(notes[0], nullptr, nullptr);
  EXPECT_EQ(ToCString("dated"), first.m_strSubject);
  EXPECT_EQ(ToCString("Sam Sender"), first.m_strFrom);
  EXPECT_EQ(ToCString("Ann"), first.m_strSendTo);
  EXPECT_EQ(ToCString("03/01/2005 12:00:00"), first.m_strDateSent);
  const MailDetails second = store_.ReadMail(notes[1], nullptr, nullptr);
  EXPECT_EQ(ToCString("undated"), second.m_strSubject);
  EXPECT_EQ(ToCString(""), second.m_strDateSent);
}

TEST_F(DetailReaders, MailWhoseSentDateFailsStillReadsEverythingElse) {
  pb::Message mail = Mail("dated");
  mail.Sender("Sam Sender", "sam@example.com").SubmitTime(pb::FileTime(2005, 3, 1, 12));
  const LNDocument note = SaveOne(mail, "IPF.Note", [this](LPDISPATCH item) {
    RdoMailDispatch wrapped(item);
    store_.SaveMail(&wrapped);
  });
  const LNNOTEID id = note.GetNoteID();
  StartNotes("notes.getdatesent");
  LNDocument reread;
  ASSERT_EQ(LNNOERROR, store_.m_db.GetDocument(id, &reread));
  ASSERT_EQ(LNNOERROR, reread.Open(0));
  const MailDetails record = store_.ReadMail(reread, nullptr, nullptr);
  EXPECT_EQ(ToCString(""), record.m_strDateSent);
  EXPECT_EQ(ToCString("dated"), record.m_strSubject);
  EXPECT_EQ(ToCString("Sam Sender"), record.m_strFrom);
  reread.Close();
}

TEST_F(DetailReaders, ContactReadsWhatItsSaverWroteAndNothingForTheRest) {
  pb::Message contact = Contact("Ann Lee");
  contact.Set(0x3A06, pb::PropValue::Unicode("Ann"));   // given name
  contact.Set(0x3A11, pb::PropValue::Unicode("Lee"));   // surname
  contact.Set(0x3A16, pb::PropValue::Unicode("Acme"));  // company
  const LNDocument note = SaveOne(contact, "IPF.Contact", [this](LPDISPATCH item) {
    RdoContactDispatch wrapped(item);
    store_.SaveContact(&wrapped);
  });
  const ContactDetails record = store_.ReadContact(note, nullptr, nullptr);
  EXPECT_EQ(ToCString("Ann Lee"), record.m_strFullNameInput);
  EXPECT_EQ(ToCString("Ann Lee"), record.m_strFullName);
  EXPECT_EQ(ToCString("Ann"), record.m_strFirstName);
  EXPECT_EQ(ToCString("Lee"), record.m_strLastName);
  EXPECT_EQ(ToCString("Acme"), record.m_strCompanyName);
  for (const CString* unwritten : {&record.m_strprimaryAddress,
                                   &record.m_strMiscPhone2,
                                   &record.m_strMiscPhone3,
                                   &record.m_strPhoneNumber,
                                   &record.m_strPhoneNumber_6,
                                   &record.m_strPhoneNumber_8,
                                   &record.m_strPhoneNumber_9,
                                   &record.m_strPhoneNumber_10,
                                   &record.m_strSametimeLogin,
                                   &record.m_strLocation,
                                   &record.m_strBlogsite,
                                   &record.m_strCity,
                                   &record.m_strState,
                                   &record.m_strZip,
                                   &record.m_strAltFullNameSort,
                                   &record.m_strMailDomain,
                                   &record.m_strMailSystem,
                                   &record.m_strType,
                                   &record.m_strInternetAddress1,
                                   &record.m_strAttachments})
    EXPECT_EQ(ToCString(""), *unwritten);
}
