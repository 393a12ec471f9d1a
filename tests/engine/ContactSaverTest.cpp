// Contacts saved as Person documents: the fixed layout items, every person item from its property,
// the text forms of the integer and the dates, and a contact abandoned half-way.
#include "SaverTestSupport.h"

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

const char* const kPersonItems[] = {"Subject",
                                    "SendTo",
                                    "From",
                                    "From",
                                    "FullNameInput",
                                    "NameHelperInput",
                                    "CompanyName",
                                    "JobTitle",
                                    "AltFullName",
                                    "FirstName",
                                    "MiddleInitial",
                                    "LastName",
                                    "Title",
                                    "Suffix",
                                    "MailAddress",
                                    "InternetAddress",
                                    "primaryPhoneNumber",
                                    "dspEmail1",
                                    "dspEmail2",
                                    "dspEmail3",
                                    "email_1",
                                    "MiscPhone1",
                                    "email_5",
                                    "OfficePhoneNumber",
                                    "CellPhoneNumber",
                                    "OfficeFAXPhoneNumber",
                                    "HomeFAXPhoneNumber",
                                    "Department",
                                    "Manager",
                                    "Assistant",
                                    "WebSite",
                                    "Spouse",
                                    "Children",
                                    "Birthday",
                                    "Anniversary",
                                    "OfficeStreetAddress",
                                    "OfficeCity",
                                    "OfficeState",
                                    "OfficeZIP",
                                    "OfficeCountry",
                                    "StreetAddress",
                                    "country",
                                    "OtherStreetAddress",
                                    "OtherCity",
                                    "OtherState",
                                    "OtherZip",
                                    "OtherCountry",
                                    "Categories",
                                    "FullName",
                                    "ShortName",
                                    "HomeAddress",
                                    "BusinessAddress"};

class ContactSaver : public SaverTest {
 protected:
  LNDocument SaveOne(const pb::Message& contact) {
    pb::Store store;
    store.AddFolder("Contacts", "IPF.Contact").messages.push_back(contact);
    OpenPst(store);
    RdoContactDispatch item(Item("Contacts"));
    EXPECT_EQ(1, store_.SaveContact(&item));
    return OnlyFiled();
  }
};

}  // namespace

TEST_F(ContactSaver, EmptyContactGetsTheFixedItemsAndEveryPersonItemInOrder) {
  pb::Message empty;
  empty.messageClass = "IPM.Contact";
  const LNDocument note = SaveOne(empty);
  std::vector<std::string> names;
  for (const NoteItem& item : Items(note))
    if (item.name != "Body") names.push_back(item.name);
  std::vector<std::string> expected = {"$AddressFormat",
                                       "$BorderColor",
                                       "$BusinessAddressFormat",
                                       "$ConflictAction",
                                       "$NameFormat",
                                       "$PersonalAddressFormat",
                                       "$PersonalAddressFormat1",
                                       "$PreviewFormat",
                                       "$PreviewFormat1",
                                       "Form"};
  expected.insert(expected.end(), std::begin(kPersonItems), std::end(kPersonItems));
  EXPECT_EQ(expected, names);
  EXPECT_EQ("7F96A3", Text(note, "$BorderColor"));
  EXPECT_EQ("Person", Text(note, "Form"));
  EXPECT_EQ("", Text(note, "FullName"));
  EXPECT_EQ("", Text(note, "Birthday"));
  EXPECT_EQ("", Text(note, "Anniversary"));
  EXPECT_EQ(2u, Named(note, "From").size());
}

TEST_F(ContactSaver, SharedPropertiesFillEachOfTheirItems) {
  pb::Message contact = Contact("Ann Example");
  contact.Set(0x3A06, pb::PropValue::Unicode("Ann"));
  contact.Set(0x3A11, pb::PropValue::Unicode("Example"));
  contact.Set(0x3A17, pb::PropValue::Unicode("Engineer"));
  contact.Set(0x3A42, pb::PropValue::SysTime(pb::FileTime(1970, 8, 9, 12)));
  contact.Set(0x3A41, pb::PropValue::SysTime(pb::FileTime(2001, 12, 24, 12)));
  contact.Set(0x0017, pb::PropValue::Long(2));
  contact.SetNamed(pb::guids::kAddress, 0x8083, pb::PropValue::Unicode("ann@example.com"));
  contact.SetNamed(pb::guids::kAddress, 0x8093, pb::PropValue::Unicode("ann@home.example"));
  contact.SetNamed(pb::guids::kAddress, 0x80A3, pb::PropValue::Unicode("ann@club.example"));
  contact.SetNamed(pb::guids::kAddress, 0x8045, pb::PropValue::Unicode("1 Main St"));
  contact.SetNamed(pb::guids::kAddress, 0x8049, pb::PropValue::Unicode("Ireland"));
  const LNDocument note = SaveOne(contact);
  for (const char* name : {"FullNameInput", "NameHelperInput", "AltFullName", "FullName"})
    EXPECT_EQ("Ann Example", Text(note, name)) << name;
  for (const char* name : {"dspEmail1", "email_1"}) EXPECT_EQ("ann@example.com", Text(note, name)) << name;
  for (const char* name : {"dspEmail2", "email_5"}) EXPECT_EQ("ann@home.example", Text(note, name)) << name;
  for (const char* name : {"dspEmail3", "MiscPhone1"})
    EXPECT_EQ("ann@club.example", Text(note, name)) << name;
  for (const char* name : {"OfficeStreetAddress", "StreetAddress"})
    EXPECT_EQ("1 Main St", Text(note, name)) << name;
  for (const char* name : {"OfficeCountry", "country"}) EXPECT_EQ("Ireland", Text(note, name)) << name;
  EXPECT_EQ("Ann", Text(note, "FirstName"));
  EXPECT_EQ("Example", Text(note, "LastName"));
  EXPECT_EQ("Engineer", Text(note, "JobTitle"));
  EXPECT_EQ("2", Text(note, "InternetAddress"));
  EXPECT_EQ("08/09/1970", Text(note, "Birthday"));
  EXPECT_EQ("12/24/2001", Text(note, "Anniversary"));
}

TEST_F(ContactSaver, ContactIsSavedWithoutItsAttachments) {
  pb::Message contact = Contact("With photo");
  contact.AttachFile("photo.jpg", {1, 2, 3});
  EXPECT_TRUE(AttachmentNames(SaveOne(contact)).empty());
}

TEST_F(ContactSaver, BodyItemsFollowTheFormatAndTheChoice) {
  pb::Message contact = Contact("Html");
  contact.Body("plain notes").HtmlUtf8("<p>notes</p>").NativeBody(3);
  store_.m_bPlainTextBody = 1;
  const std::vector<NoteItem> body = Named(SaveOne(contact), "Body");
  ASSERT_EQ(2u, body.size());
  EXPECT_EQ(LNITEMTYPE_TEXT, body[0].type);
  EXPECT_EQ("plain notes", body[1].value);
}

TEST_F(ContactSaver, ReadFailureAbandonsTheWholeContact) {
  pb::Store store;
  store.AddFolder("Contacts", "IPF.Contact").messages.push_back(Mail("not a contact"));
  OpenPst(store);
  const int before = DocumentCount();
  RdoContactDispatch item(Item("Contacts"));
  EXPECT_TRUE(ThrowsAutomationError([&] { store_.SaveContact(&item); }));
  EXPECT_TRUE(Filed().empty());
  EXPECT_EQ(before, DocumentCount());
}
