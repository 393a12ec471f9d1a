// Appointments and tasks saved into the target folder: their items in order, their dates, and an
// appointment abandoned half-way.
#include "SaverTestSupport.h"

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

class AppointmentSaver : public SaverTest {
 protected:
  std::vector<std::string> TextNames(const LNDocument& note) {
    std::vector<std::string> names;
    for (const NoteItem& item : Items(note))
      if (item.type == LNITEMTYPE_TEXT) names.push_back(item.name);
    return names;
  }
};

}  // namespace

TEST_F(AppointmentSaver, AppointmentIsACalendarEntryWithItsItemsInOrderAndItsRange) {
  pb::Store store;
  pb::Message meeting = Appointment("Planning");
  meeting.Sender("Sam Sender", "sam@example.com").AddRecipient(1, "Ann", "ann@example.com");
  meeting.Set(0x0042, pb::PropValue::Unicode("Sam on behalf"));
  store.AddFolder("Calendar", "IPF.Appointment").messages.push_back(meeting);
  OpenPst(store);

  RdoAppointmentDispatch item(Item("Calendar"));
  EXPECT_EQ(1, store_.SaveAppointment(&item));
  const LNDocument note = OnlyFiled();
  const std::vector<std::string> expected = {"Body", "Body",    "$IconSwitcher", "AppointmentType",
                                             "Form", "Subject", "SendTo",        "From",
                                             "From", "Location"};
  EXPECT_EQ(expected, TextNames(note));
  EXPECT_EQ("Meeting", Text(note, "$IconSwitcher"));
  EXPECT_EQ("3", Text(note, "AppointmentType"));
  EXPECT_EQ("Appointment", Text(note, "Form"));
  EXPECT_EQ("Planning", Text(note, "Subject"));
  EXPECT_EQ("Ann", Text(note, "SendTo"));
  EXPECT_EQ("Room 4", Text(note, "Location"));
  EXPECT_EQ("agenda of Planning", Text(note, "Body"));
  ASSERT_EQ(2u, Named(note, "From").size());
  EXPECT_EQ("Sam Sender", Named(note, "From")[0].value);
  EXPECT_EQ("Sam on behalf", Named(note, "From")[1].value);
  EXPECT_EQ("05/06/2021 09:30:00", Date(note, "STARTDATETIME"));
  EXPECT_EQ("05/06/2021 10:45:00", Date(note, "EndDateTime"));
}

TEST_F(AppointmentSaver, TaskCarriesItsFormAndBothDatesEvenWhenThePstHasNone) {
  pb::Store store;
  pb::Folder& tasks = store.AddFolder("Tasks", "IPF.Task");
  tasks.messages.push_back(Task("Report"));
  pb::Message undated;
  undated.messageClass = "IPM.Task";
  undated.Subject("Someday");
  tasks.messages.push_back(undated);
  OpenPst(store);

  for (long i = 1; i <= 2; i++) {
    RdoTaskDispatch item(Item("Tasks", i));
    EXPECT_EQ(1, store_.SaveTask(&item));
  }
  const std::vector<LNDocument> notes = Filed();
  ASSERT_EQ(2u, notes.size());
  const std::vector<std::string> expected = {"Body", "Body", "Form", "Subject", "From", "SendTo"};
  EXPECT_EQ(expected, TextNames(notes[0]));
  EXPECT_EQ("Task", Text(notes[0], "Form"));
  EXPECT_EQ("Report", Text(notes[0], "Subject"));
  EXPECT_EQ("01/10/2022 00:00:00", Date(notes[0], "STARTDATETIME"));
  EXPECT_EQ("01/20/2022 00:00:00", Date(notes[0], "DueDate"));
  // The PST's "no date" is written as it arrives.
  EXPECT_EQ("01/01/4501 00:00:00", Date(notes[1], "STARTDATETIME"));
  EXPECT_EQ("01/01/4501 00:00:00", Date(notes[1], "DueDate"));
}

TEST_F(AppointmentSaver, TextChoiceWritesThePlainBodyTwiceBeforeTheIconItem) {
  pb::Store store;
  pb::Message meeting = Appointment("Review");
  meeting.HtmlUtf8("<p>agenda</p>").NativeBody(3);
  store.AddFolder("Calendar", "IPF.Appointment").messages.push_back(meeting);
  OpenPst(store);
  store_.m_bPlainTextBody = 1;
  RdoAppointmentDispatch item(Item("Calendar"));
  store_.SaveAppointment(&item);
  const std::vector<NoteItem> items = Items(OnlyFiled());
  ASSERT_GE(items.size(), 3u);
  EXPECT_EQ("Body", items[0].name);
  EXPECT_EQ(LNITEMTYPE_TEXT, items[0].type);
  EXPECT_EQ("Body", items[1].name);
  EXPECT_EQ("$IconSwitcher", items[2].name);
}

TEST_F(AppointmentSaver, ReadFailureHalfWayLeavesNothingInTheFolderAndTheNextItemIsSaved) {
  pb::Store store;
  pb::Folder& calendar = store.AddFolder("Calendar", "IPF.Appointment");
  // A mail has no location: the read fails after the body and the first items were written.
  calendar.messages.push_back(Mail("not an appointment"));
  calendar.messages.push_back(Appointment("Real one"));
  OpenPst(store);
  const int before = DocumentCount();

  RdoAppointmentDispatch broken(Item("Calendar", 1));
  EXPECT_TRUE(ThrowsAutomationError([&] { store_.SaveAppointment(&broken); }));
  EXPECT_TRUE(Filed().empty());
  EXPECT_EQ(before, DocumentCount());

  RdoAppointmentDispatch next(Item("Calendar", 2));
  EXPECT_EQ(1, store_.SaveAppointment(&next));
  EXPECT_EQ("Real one", Text(OnlyFiled(), "Subject"));
}

TEST_F(AppointmentSaver, RefusedSaveLeavesTheTaskUnfiled) {
  pb::Store store;
  store.AddFolder("Tasks", "IPF.Task").messages.push_back(Task("Unsaved"));
  OpenPst(store);
  StartNotes("notes.save");
  RdoTaskDispatch item(Item("Tasks"));
  EXPECT_THROW(store_.SaveTask(&item), LNSTATUS);
  EXPECT_TRUE(Filed().empty());
}
