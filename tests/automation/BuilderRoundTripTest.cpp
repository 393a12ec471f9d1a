// Round trip through the whole stack: the PST builder writes each kind of item with known values,
// cyclic-encoded; the servers are created by ProgID and every identifier is read back by dispatch
// identifier.
#include "ComTest.h"
#include "DispatchHelpers.h"
#include "OleDates.h"
#include "TestFiles.h"

#include "PstRecipe.h"
#include "PstWriter.h"

#include <oleauto.h>

using namespace automationtest;
namespace pb = pstbuilder;

namespace {

double Ole(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0) {
  SYSTEMTIME st = {y, mo, 0, d, h, mi, 0, 0};
  DATE date = 0;
  SystemTimeToVariantTime(&st, &date);
  return date;
}

std::wstring W(const std::string& utf8) { return Widen(utf8); }

struct ContactField {
  DISPID id;
  uint16_t tag;  // 0: named
  const pb::Guid* set;
  uint32_t lid;
};

const pb::Guid kAddress = pb::Guid::Parse("00062004-0000-0000-C000-000000000046");
const pb::Guid kAppointment = pb::Guid::Parse("00062002-0000-0000-C000-000000000046");
const pb::Guid kTask = pb::Guid::Parse("00062003-0000-0000-C000-000000000046");
const pb::Guid kLog = pb::Guid::Parse("0006200A-0000-0000-C000-000000000046");

const std::vector<ContactField> kContactText = {
    {0x60040004, 0x3A30, nullptr, 0},   {0x6004000A, 0x3A08, nullptr, 0},
    {0x6004000C, 0, &kAddress, 0x801B}, {0x6004000E, 0, &kAddress, 0x8046},
    {0x60040010, 0, &kAddress, 0x8049}, {0x60040012, 0, &kAddress, 0x8048},
    {0x60040016, 0, &kAddress, 0x8047}, {0x60040018, 0, &kAddress, 0x8045},
    {0x6004001A, 0x3A24, nullptr, 0},   {0x6004002D, 0x3A16, nullptr, 0},
    {0x60040033, 0x3A18, nullptr, 0},   {0x60040035, 0, &kAddress, 0x8083},
    {0x6004003B, 0, &kAddress, 0x8093}, {0x60040043, 0, &kAddress, 0x80A3},
    {0x6004004D, 0x3A06, nullptr, 0},   {0x60040051, 0x3001, nullptr, 0},
    {0x6004005D, 0, &kAddress, 0x801A}, {0x6004006B, 0x3A25, nullptr, 0},
    {0x60040077, 0x3A17, nullptr, 0},   {0x60040083, 0x3A11, nullptr, 0},
    {0x60040086, 0x3A15, nullptr, 0},   {0x60040094, 0x3A4E, nullptr, 0},
    {0x60040096, 0x3A44, nullptr, 0},   {0x60040098, 0x3A1C, nullptr, 0},
    {0x6004009E, 0x3A4F, nullptr, 0},   {0x600400A6, 0x3A5F, nullptr, 0},
    {0x600400A8, 0x3A60, nullptr, 0},   {0x600400AA, 0x3A61, nullptr, 0},
    {0x600400AE, 0x3A62, nullptr, 0},   {0x600400B0, 0x3A63, nullptr, 0},
    {0x600400BA, 0x3A1A, nullptr, 0},   {0x600400C4, 0x3A48, nullptr, 0},
    {0x600400C6, 0x3A05, nullptr, 0},   {0x600400CA, 0x3A45, nullptr, 0},
    {0x600400D8, 0x3A51, nullptr, 0},
};

std::string FieldText(DISPID id) {
  char text[32];
  snprintf(text, sizeof text, "f%02X \xC3\xA9", static_cast<unsigned>(id & 0xFF));
  return text;
}

class BuilderRoundTrip : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    pb::Store s = pb::Store::WithStandardFolders();
    // The fixtures cover the permutation; this file takes the other encoding through the whole stack.
    s.encoding = pb::Encoding::Cyclic;
    pb::Folder& inbox = *s.Find("Inbox");
    {
      pb::Message m;
      m.Subject("Budget \xE2\x82\xAC")
          .AddRecipient(1, "Ann", "ann@example.com")
          .AddRecipient(1, "Bob", "bob@example.com")
          .AddRecipient(2, "Cy", "cy@example.com")
          .AddRecipient(3, "Dee", "dee@example.com")
          .Sender("Sam Sender", "sam@example.com")
          .SubmitTime(pb::FileTime(2022, 7, 8, 9, 10))
          .DeliveryTime(pb::FileTime(2023, 1, 2, 3, 4))
          .CreationTime(pb::FileTime(2024, 3, 5, 14, 30))
          .Keywords({"Red", "Blue"})
          .Html(std::vector<uint8_t>{'<', 'p', '>', 0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2, '<', '/', 'p', '>'},
                1251)
          .NativeBody(3);
      m.Set(0x0042, pb::PropValue::Unicode("On Behalf"));
      m.Set(0x0017, pb::PropValue::Long(2));
      m.Set(0x0E04, pb::PropValue::Unicode(""));  // the To line comes from the recipient table
      pb::Message forwarded;
      forwarded.Subject("Inner subject").Body("Inner body\r\n").AttachFile("deep.txt", {'d', 'e', 'e', 'p'});
      m.AttachMessage("", forwarded);
      std::vector<uint8_t> blob(70000);
      for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
      m.AttachFile("data.bin", blob);
      blob_ = blob;
      inbox.messages.push_back(m);
    }
    {
      pb::Message m;
      m.Subject("RTF only").Rtf("{\\rtf1\\ansi\\fromtext \\pard plain words\\par}").NativeBody(2);
      inbox.messages.push_back(m);
    }
    {
      pb::Message m;
      m.Subject("Meta charset");
      std::string html = "<html><head><meta charset=\"iso-8859-2\"></head><body>\xB1</body></html>";
      m.Set(0x1013, pb::PropValue::Binary(std::vector<uint8_t>(html.begin(), html.end())));
      inbox.messages.push_back(m);
    }
    pb::Folder& nested = inbox.AddFolder("Projets \xC3\xA9t\xC3\xA9");
    nested.AddFolder("a\\b");
    nested.AddFolder("Z last");

    pb::Message appointment;
    appointment.messageClass = "IPM.Appointment";
    appointment.Subject("Review").Sender("Organizer", "org@example.com");
    appointment.SetNamed(kAppointment, 0x820D, pb::PropValue::SysTime(pb::FileTime(2024, 6, 1, 9, 0)))
        .SetNamed(kAppointment, 0x820E, pb::PropValue::SysTime(pb::FileTime(2024, 6, 1, 10, 30)))
        .SetNamed(kAppointment, 0x8208, pb::PropValue::Unicode("Room 4"));
    s.Find("Calendar")->messages.push_back(appointment);

    pb::Message task;
    task.messageClass = "IPM.Task";
    task.SetNamed(kTask, 0x8104, pb::PropValue::SysTime(pb::FileTime(2024, 2, 1)))
        .SetNamed(kTask, 0x8105, pb::PropValue::SysTime(pb::FileTime(2024, 2, 9)));
    s.Find("Tasks")->messages.push_back(task);

    pb::Message journal;
    journal.messageClass = "IPM.Activity";
    journal.CreationTime(pb::FileTime(2021, 11, 12, 13, 0));
    journal.SetNamed(kLog, 0x8706, pb::PropValue::SysTime(pb::FileTime(2021, 11, 12, 13, 14)));
    s.Find("Journal")->messages.push_back(journal);

    pb::Message contact;
    contact.messageClass = "IPM.Contact";
    for (const ContactField& f : kContactText) {
      if (f.set)
        contact.SetNamed(*f.set, f.lid, pb::PropValue::Unicode(FieldText(f.id)));
      else
        contact.Set(f.tag, pb::PropValue::Unicode(FieldText(f.id)));
    }
    contact.Set(0x3A58, pb::PropValue::MultiUnicode({"Ann", "Ben"}));
    contact.Set(0x3A41, pb::PropValue::SysTime(pb::FileTime(2001, 5, 6)));
    contact.Set(0x3A42, pb::PropValue::SysTime(pb::FileTime(1970, 8, 9)));
    contact.Set(0x0017, pb::PropValue::Long(0));
    s.Find("Contacts")->messages.push_back(contact);

    path_ = dir_.File("round-trip.pst");
    pb::WritePst(s, path_);

    ASSERT_EQ(S_OK, CreateByProgId(L"Redemption.RDOSession", session_));
    ASSERT_EQ(S_OK, Method(session_.get(), 0x4,
                           {Arg::Text(L""), Arg::Int(0), Arg::Int(0), Arg::Int(1), Arg::Int(0), Arg::Int(0)})
                        .hr);
    DispPtr stores = Get(session_.get(), 0x6).Object();
    CallResult store = Method(stores.get(), 0x5, {Arg::Text(W(path_)), Arg::Int(1), Arg::Text(L"")});
    ASSERT_EQ(S_OK, store.hr) << std::string(store.description.begin(), store.description.end());
    store_ = store.Object();
    root_ = Get(store_.get(), 0x68).Object();
  }
  void TearDown() override {
    root_.reset();
    store_.reset();
    if (session_) Method(session_.get(), 0x12);
    session_.reset();
    ComTest::TearDown();
  }
  DispPtr Folder(const std::wstring& name) {
    DispPtr folders = Get(root_.get(), 0x12).Object();
    for (DispPtr f = Method(folders.get(), 0x5).Object(); f; f = Method(folders.get(), 0x7).Object())
      if (Get(f.get(), 0x0).Text() == name) return f;
    return nullptr;
  }
  DispPtr Item(const std::wstring& folder, long n) {
    DispPtr items = Get(Folder(folder).get(), 0x11).Object();
    return Method(items.get(), 0x9, {Arg::Int(n)}).Object();
  }

  testsupport::TempDir dir_;
  std::string path_;
  std::vector<uint8_t> blob_;
  DispPtr session_, store_, root_;
};

TEST_F(BuilderRoundTrip, EveryIdentifierReadsBackForEachKind) {
  ExpectAll(Item(L"Inbox", 1).get(),
            {{0x0, VT_BSTR, L"Budget \u20ac", 0},
             {0x40, VT_BSTR, L"Ann; Bob", 0},
             {0xE, VT_BSTR, L"Cy", 0},
             {0x9, VT_BSTR, L"Dee", 0},
             {0xC, VT_I4, L"", 2},
             {0x1A, VT_BSTR, L"<p>\u041f\u0440\u0438\u0432\u0435\u0442</p>", 0},
             {0xB, VT_BSTR, L"\u041f\u0440\u0438\u0432\u0435\u0442", 0},
             {0xD, VT_BSTR, L"Red; Blue", 0},
             {0x12, VT_DATE, L"", Ole(2024, 3, 5, 14, 30)},
             {0x1C, VT_I4, L"", 2},
             {0x1E, VT_BSTR, L"IPM.Note", 0},
             {0x29, VT_DATE, L"", Ole(2023, 1, 2, 3, 4)},
             {0x32, VT_BSTR, L"Sam Sender", 0},
             {0x34, VT_BSTR, L"On Behalf", 0},
             {0x39, VT_DATE, L"", Ole(2022, 7, 8, 9, 10)}},
            "mail");
  ExpectAll(Item(L"Calendar", 1).get(),
            {{0x1E, VT_BSTR, L"IPM.Appointment", 0},
             {0x60040042, VT_DATE, L"", Ole(2024, 6, 1, 9, 0)},
             {0x6004000A, VT_DATE, L"", Ole(2024, 6, 1, 10, 30)},
             {0x60040049, VT_BSTR, L"Room 4", 0},
             {0x32, VT_BSTR, L"Organizer", 0},
             {0x34, VT_BSTR, L"Organizer", 0}},
            "appointment");
  ExpectAll(Item(L"Tasks", 1).get(),
            {{0x60040020, VT_DATE, L"", Ole(2024, 2, 1)},
             {0x60040011, VT_DATE, L"", Ole(2024, 2, 9)},
             {0x0, VT_BSTR, L"", 0},
             {0x39, VT_DATE, L"", automation::kNoDate}},
            "task");
  ExpectAll(
      Item(L"Journal", 1).get(),
      {{0x6004000D, VT_DATE, L"", Ole(2021, 11, 12, 13, 14)}, {0x12, VT_DATE, L"", Ole(2021, 11, 12, 13, 0)}},
      "journal");
  std::vector<Expected> contact;
  for (const ContactField& f : kContactText) contact.push_back({f.id, VT_BSTR, W(FieldText(f.id)), 0});
  contact.push_back({0x60040024, VT_BSTR, L"Ann; Ben", 0});
  contact.push_back({0x60040002, VT_DATE, L"", Ole(2001, 5, 6)});
  contact.push_back({0x60040008, VT_DATE, L"", Ole(1970, 8, 9)});
  contact.push_back({0x1C, VT_I4, L"", 0});
  ExpectAll(Item(L"Contacts", 1).get(), contact, "contact");
}

TEST_F(BuilderRoundTrip, BodiesFromRtfAndFromTheMetaCharset) {
  DispPtr rtf = Item(L"Inbox", 2);
  EXPECT_EQ(3, Get(rtf.get(), 0xC).Integer());
  EXPECT_EQ(L"{\\rtf1\\ansi\\fromtext \\pard plain words\\par}", Get(rtf.get(), 0x45).Text());
  EXPECT_NE(std::wstring::npos, Get(rtf.get(), 0xB).Text().find(L"plain words"));
  DispPtr meta = Item(L"Inbox", 3);
  EXPECT_EQ(2, Get(meta.get(), 0xC).Integer());
  EXPECT_EQ(L"\u0105", Get(meta.get(), 0xB).Text());
}

TEST_F(BuilderRoundTrip, FoldersWalkInOrderWithUnicodeAndBackslashNames) {
  DispPtr inbox = Folder(L"Inbox");
  DispPtr folders = Get(inbox.get(), 0x12).Object();
  DispPtr nested = Method(folders.get(), 0x5).Object();
  ASSERT_TRUE(nested);
  EXPECT_EQ(L"Projets \u00e9t\u00e9", Get(nested.get(), 0x0).Text());
  EXPECT_FALSE(Method(folders.get(), 0x7).Object());
  DispPtr children = Get(nested.get(), 0x12).Object();
  EXPECT_EQ(L"a\\b", Get(Method(children.get(), 0x5).Object().get(), 0x0).Text());
  EXPECT_EQ(L"Z last", Get(Method(children.get(), 0x7).Object().get(), 0x0).Text());
  std::vector<std::wstring> top;
  DispPtr rootFolders = Get(root_.get(), 0x12).Object();
  for (DispPtr f = Method(rootFolders.get(), 0x5).Object(); f; f = Method(rootFolders.get(), 0x7).Object())
    top.push_back(Get(f.get(), 0x0).Text());
  EXPECT_EQ((std::vector<std::wstring>{L"Inbox", L"Sent Items", L"Calendar", L"Contacts", L"Tasks",
                                       L"Journal", L"Notes", L"Deleted Items"}),
            top);
  EXPECT_EQ(3, Get(Get(inbox.get(), 0x11).Object().get(), 0x1).Integer());
}

TEST_F(BuilderRoundTrip, AttachmentsSaveByteExactAndEmbeddedMessageReadsBack) {
  DispPtr attachments = Get(Item(L"Inbox", 1).get(), 0x49).Object();
  ASSERT_EQ(2, Get(attachments.get(), 0x50).Integer());
  DispPtr embedded = Get(attachments.get(), 0x0, {Arg::Int(1)}).Object();
  EXPECT_EQ(L"Inner subject.msg", Get(embedded.get(), 0x68).Text());
  std::wstring msg = W(dir_.File("inner.msg"));
  ASSERT_EQ(S_OK, Method(embedded.get(), 0xB, {Arg::Text(msg)}).hr);

  IStorage* raw = nullptr;
  ASSERT_EQ(S_OK, StgOpenStorage(msg.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &raw));
  std::unique_ptr<IStorage, Releaser> root(raw);
  EXPECT_EQ(L"Inner subject", AsWide(ReadStream(root.get(), L"__substg1.0_0037001F")));
  EXPECT_EQ(L"Inner body\r\n", AsWide(ReadStream(root.get(), L"__substg1.0_1000001F")));
  IStorage* attach = nullptr;
  ASSERT_EQ(S_OK, root->OpenStorage(L"__attach_version1.0_#00000000", nullptr,
                                    STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &attach));
  EXPECT_EQ("deep", ReadStream(attach, L"__substg1.0_37010102"));
  attach->Release();

  DispPtr data = Get(attachments.get(), 0x0, {Arg::Int(2)}).Object();
  EXPECT_EQ(L"data.bin", Get(data.get(), 0x68).Text());
  ASSERT_EQ(S_OK, Method(data.get(), 0xB, {Arg::Text(W(dir_.File("data.bin")))}).hr);
  EXPECT_EQ(std::string(blob_.begin(), blob_.end()), testsupport::ReadFileBytes(dir_.File("data.bin")));
}

TEST_F(BuilderRoundTrip, NothingIsWrittenToTheFile) {
  std::string before = testsupport::ReadFileBytes(path_);
  EXPECT_EQ(S_OK, Put(store_.get(), 0xA, Arg::Text(L"Another name")).hr);
  EXPECT_EQ(L"Another name", Get(store_.get(), 0xA).Text());
  DispPtr folders = Get(Folder(L"Inbox").get(), 0x12).Object();
  EXPECT_TRUE(Method(folders.get(), 0x4, {Arg::Text(L"Added"), Arg::Text(L"IPF.Note")}).Object());
  EXPECT_EQ(S_OK, Method(store_.get(), 0x6).hr);
  EXPECT_EQ(S_OK, Method(root_.get(), 0x6).hr);
  EXPECT_EQ(before, testsupport::ReadFileBytes(path_));
}

}  // namespace
