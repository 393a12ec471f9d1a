// The Redemption stand-in's objects over an in-memory PST: the folder walk, the item collection,
// every item identifier read back, bodies, attachments saved as files, and the counted faults.
#include "ComTest.h"
#include "DispatchHelpers.h"
#include "FakePst.h"
#include "OleDates.h"
#include "PstRecipe.h"
#include "RdoSession.h"
#include "TestFiles.h"

#include <oleauto.h>

using namespace automationtest;
using automation::kPtBinary;
using automation::kPtLong;
using automation::kPtUnicode;

namespace {

uint64_t Ticks(WORD y, WORD mo, WORD d, WORD h, WORD mi) {
  SYSTEMTIME st = {y, mo, 0, d, h, mi, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

class RdoObjects : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    store_ = std::make_shared<FakeStore>();
  }
  // Logs on, adds the store and returns the root folder (the top of personal folders).
  DispPtr Root() {
    session_.reset(new automation::RdoSession(FakeOpener(store_)));
    EXPECT_EQ(S_OK, Method(session_.get(), 0x4,
                           {Arg::Text(L""), Arg::Int(0), Arg::Int(0), Arg::Int(1), Arg::Int(0), Arg::Int(0)})
                        .hr);
    DispPtr stores = Get(session_.get(), 0x6).Object();
    DispPtr store =
        Method(stores.get(), 0x5, {Arg::Text(L"c:\\x.pst"), Arg::Int(1), Arg::Text(L"")}).Object();
    EXPECT_TRUE(store);
    EXPECT_EQ(S_OK, Method(store.get(), 0x6).hr);
    return store ? Get(store.get(), 0x68).Object() : nullptr;
  }
  DispPtr Child(IDispatch* folder, const std::wstring& name) {
    DispPtr folders = Get(folder, 0x12).Object();
    for (DispPtr f = Method(folders.get(), 0x5).Object(); f; f = Method(folders.get(), 0x7).Object())
      if (Get(f.get(), 0x0).Text() == name) return f;
    return nullptr;
  }
  // The n-th item of the only folder "F".
  DispPtr Item(long n) {
    DispPtr folder = Child(Root().get(), L"F");
    DispPtr items = Get(folder.get(), 0x11).Object();
    return Method(items.get(), 0x9, {Arg::Int(n)}).Object();
  }
  std::shared_ptr<FakeStore> store_;
  DispPtr session_;
};

std::vector<std::wstring> WalkPaths(IDispatch* folder, const std::wstring& parent) {
  std::vector<std::wstring> paths;
  DispPtr folders = Get(folder, 0x12).Object();
  for (DispPtr f = Method(folders.get(), 0x5).Object(); f; f = Method(folders.get(), 0x7).Object()) {
    std::wstring path = parent + Get(f.get(), 0x0).Text() + L"\\";
    paths.push_back(path);
    for (const std::wstring& p : WalkPaths(f.get(), path)) paths.push_back(p);
  }
  return paths;
}

TEST_F(RdoObjects, FoldersWalkInStoredOrderAndEndWithAnEmptyDispatch) {
  auto x = store_->top->Add(u"X");
  x->Add(u"Y");
  x->Add(u"Z\\with backslash");
  store_->top->Add(u"W");
  DispPtr root = Root();
  EXPECT_EQ((std::vector<std::wstring>{L"X\\", L"X\\Y\\", L"X\\Z\\with backslash\\", L"W\\"}),
            WalkPaths(root.get(), L""));
  DispPtr folders = Get(root.get(), 0x12).Object();
  ASSERT_TRUE(Method(folders.get(), 0x5).Object());
  ASSERT_TRUE(Method(folders.get(), 0x7).Object());
  CallResult end = Method(folders.get(), 0x7);
  EXPECT_EQ(S_OK, end.hr);
  EXPECT_EQ(VT_DISPATCH, V_VT(&end.value));
  EXPECT_EQ(nullptr, V_DISPATCH(&end.value));
  // A leaf still has a (walkable, empty) collection.
  DispPtr w = Child(root.get(), L"W");
  DispPtr leafFolders = Get(w.get(), 0x12).Object();
  ASSERT_TRUE(leafFolders);
  EXPECT_FALSE(Method(leafFolders.get(), 0x5).Object());
}

TEST_F(RdoObjects, AddedFolderLivesInTheSessionOnly) {
  store_->top->Add(u"Inbox");
  DispPtr root = Root();
  DispPtr inbox = Child(root.get(), L"Inbox");
  DispPtr folders = Get(inbox.get(), 0x12).Object();
  DispPtr added =
      Method(folders.get(), 0x4, {Arg::Text(L"Calendar"), Arg::Text(L"IPF.Appointment")}).Object();
  ASSERT_TRUE(added);
  EXPECT_EQ(L"Calendar", Get(added.get(), 0x0).Text());
  EXPECT_EQ(0, Get(Get(added.get(), 0x11).Object().get(), 0x1).Integer());
  EXPECT_EQ((std::vector<std::wstring>{L"Inbox\\", L"Inbox\\Calendar\\"}), WalkPaths(root.get(), L""));
  EXPECT_TRUE(store_->top->folders[0]->folders.empty());  // the source was not touched
  EXPECT_EQ(S_OK, Method(added.get(), 0x6).hr);
}

TEST_F(RdoObjects, ItemsAreOneBasedInStoredOrderAndEachFetchIsNew) {
  auto f = store_->top->Add(u"F");
  for (const char16_t* s : {u"one", u"two", u"three"}) f->AddMessage(u"IPM.Note")->Text(0x0037, s);
  DispPtr items = Get(Child(Root().get(), L"F").get(), 0x11).Object();
  EXPECT_EQ(3, Get(items.get(), 0x1).Integer());
  DispPtr first = Method(items.get(), 0x9, {Arg::Int(1)}).Object();
  DispPtr again = Method(items.get(), 0x9, {Arg::Int(1)}).Object();
  EXPECT_EQ(L"one", Get(first.get(), 0x0).Text());
  EXPECT_EQ(L"three", Get(Method(items.get(), 0x9, {Arg::Int(3)}).Object().get(), 0x0).Text());
  EXPECT_NE(first.get(), again.get());
  EXPECT_EQ(DISP_E_EXCEPTION, Method(items.get(), 0x9, {Arg::Int(0)}).hr);
  EXPECT_EQ(DISP_E_EXCEPTION, Method(items.get(), 0x9, {Arg::Int(4)}).hr);
}

TEST_F(RdoObjects, AbsentValuesAreEmptyTextNoDateAndDefaults) {
  store_->top->Add(u"F")->AddMessage(u"IPM.Contact");
  std::vector<Expected> expected = {{0x0, VT_BSTR, L"", 0},
                                    {0x9, VT_BSTR, L"", 0},
                                    {0xB, VT_BSTR, L"", 0},
                                    {0xC, VT_I4, L"", 1},
                                    {0xD, VT_BSTR, L"", 0},
                                    {0x1A, VT_BSTR, L"", 0},
                                    {0x1C, VT_I4, L"", 1},
                                    {0x32, VT_BSTR, L"", 0},
                                    {0x45, VT_BSTR, L"", 0},
                                    {0x12, VT_DATE, L"", automation::kNoDate},
                                    {0x29, VT_DATE, L"", automation::kNoDate},
                                    {0x39, VT_DATE, L"", automation::kNoDate},
                                    {0x60040008, VT_DATE, L"", automation::kNoDate},
                                    {0x600400D8, VT_BSTR, L"", 0}};
  ExpectAll(Item(1).get(), expected, "empty contact");
  CallResult attachments = Get(Item(1).get(), 0x49);
  EXPECT_EQ(0, Get(attachments.Object().get(), 0x50).Integer());
}

TEST_F(RdoObjects, RecipientsAndSenderFallBackWhenDisplayPropertiesAreMissing) {
  auto m = store_->top->Add(u"F")->AddMessage(u"IPM.Note");
  m->recipients = {{1, u"Ann", {}}, {2, u"Cy", {}}, {1, u"Bob", {}}, {3, u"Dee", {}}};
  m->Text(0x0042, u"On Behalf");
  DispPtr item = Item(1);
  EXPECT_EQ(L"Ann; Bob", Get(item.get(), 0x40).Text());
  EXPECT_EQ(L"Cy", Get(item.get(), 0xE).Text());
  EXPECT_EQ(L"Dee", Get(item.get(), 0x9).Text());
  EXPECT_EQ(L"On Behalf", Get(item.get(), 0x32).Text());
}

TEST_F(RdoObjects, AnAppointmentSaysWhetherItRepeats) {
  using automation::kPsetidAppointment;
  auto f = store_->top->Add(u"F");
  f->AddMessage(u"IPM.Appointment")->Named(kPsetidAppointment, 0x8223, automation::kPtBoolean, int64_t{1});
  // The flag wins over a pattern left behind.
  f->AddMessage(u"IPM.Appointment")
      ->Named(kPsetidAppointment, 0x8223, automation::kPtBoolean, int64_t{0})
      .Named(kPsetidAppointment, 0x8216, kPtBinary, std::string("\x04\x30\x04\x30", 4));
  // Without the flag, a pattern says it.
  f->AddMessage(u"IPM.Appointment")->Named(kPsetidAppointment, 0x8216, kPtBinary, std::string("\x04\x30", 2));
  f->AddMessage(u"IPM.Appointment");
  f->AddMessage(u"IPM.Note")->Named(kPsetidAppointment, 0x8223, automation::kPtBoolean, int64_t{1});
  const bool expected[] = {true, false, true, false};
  for (long n = 1; n <= 4; ++n) {
    CallResult recurring = Get(Item(n).get(), 0x60040005);
    ASSERT_EQ(S_OK, recurring.hr) << n;
    EXPECT_EQ(VT_BOOL, recurring.value.vt) << n;
    EXPECT_EQ(expected[n - 1], recurring.value.boolVal != VARIANT_FALSE) << n;
  }
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Get(Item(5).get(), 0x60040005).hr);
}

std::string Bytes(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The members of a distribution list item, each as "name|type|address", or what their reading said.
std::vector<std::wstring> ListMembers(IDispatch* list) {
  std::vector<std::wstring> members;
  CallResult count = Get(list, 0x60040001);
  if (count.hr != S_OK) return {L"no count: " + count.description};
  for (long i = 1; i <= count.Integer(); ++i) {
    CallResult member = Method(list, 0x60040003, {Arg::Int(i)});
    if (member.hr != S_OK) {
      members.push_back(L"failed: " + member.description);
      continue;
    }
    DispPtr entry = member.Object();
    members.push_back(Get(entry.get(), 0x1).Text() + L"|" + Get(entry.get(), 0x3).Text() + L"|" +
                      Get(entry.get(), 0x2).Text());
  }
  return members;
}

TEST_F(RdoObjects, ListMembersComeFromTheirOneOffFormsElseFromTheirEntries) {
  using automation::kPsetidAddress;
  namespace pb = pstbuilder;
  const std::string contactId =
      Bytes(pb::MessageEntryId(pb::Guid::Parse("5A1B7C3D-0000-4000-8000-0000B41D1E00"), 0x200024));
  auto contact = std::make_shared<FakeMessageData>();
  contact->Text(0x3001, u"Cy Dee")
      .Named(kPsetidAddress, 0x8080, kPtUnicode, std::u16string(u"Cy (work)"))
      .Named(kPsetidAddress, 0x8082, kPtUnicode, std::u16string(u"SMTP"))
      .Named(kPsetidAddress, 0x8083, kPtUnicode, std::u16string(u"cy@work.example"))
      .Named(kPsetidAddress, 0x8092, kPtUnicode, std::u16string(u"SMTP"))
      .Named(kPsetidAddress, 0x8093, kPtUnicode, std::u16string(u"cy@home.example"));
  store_->byEntryId[contactId] = contact;
  const std::vector<uint8_t> contactBytes(contactId.begin(), contactId.end());
  // An ANSI one-off: no Unicode flag, Windows-1252 texts.
  const std::string ansi = Bytes(pb::OneOffEntryId("", "", "")).substr(0, 24) + "Ren\xE9" +
                           std::string(1, '\0') + "SMTP" + std::string(1, '\0') + "rene@example.org" +
                           std::string(1, '\0');
  std::string ansiOneOff = ansi;
  ansiOneOff[23] = 0;  // the flags word's high byte: no Unicode
  const std::vector<std::string> entries = {
      Bytes(pb::WrappedEntryId(0xC3, contactBytes)),  // the contact's Email1, with a one-off beside it
      Bytes(pb::OneOffEntryId("Bob", "SMTP", "bob@example.org")),
      Bytes(pb::WrappedEntryId(0xD3, contactBytes)),  // the contact's Email2
      Bytes(pb::WrappedEntryId(
          0xC3, pb::MessageEntryId(pb::Guid::Parse("5A1B7C3D-0000-4000-8000-0000B41D1E00"), 0x2000A4))),
      ansiOneOff,
      std::string("\0\0\0\0damaged", 11),
  };
  const std::vector<std::string> oneOffs = {Bytes(pb::OneOffEntryId("Ann Lee", "SMTP", "ann@example.org"))};
  store_->top->Add(u"F")
      ->AddMessage(u"IPM.DistList")
      ->Named(kPsetidAddress, 0x8055, automation::kPtMvBinary, entries)
      .Named(kPsetidAddress, 0x8054, automation::kPtMvBinary, oneOffs);
  const std::vector<std::wstring> expected = {
      L"Ann Lee|SMTP|ann@example.org",
      L"Bob|SMTP|bob@example.org",
      L"Cy Dee|SMTP|cy@home.example",
      L"failed: The member's contact or list is not in the PST, and the list keeps no copy of its address",
      L"Ren\u00E9|SMTP|rene@example.org",
      L"failed: The member's entry in the list is damaged",
  };
  EXPECT_EQ(expected, ListMembers(Item(1).get()));
}

TEST_F(RdoObjects, ALargeListReadsItsMembersFromItsStream) {
  using automation::kPsetidAddress;
  namespace pb = pstbuilder;
  auto stream = [](const std::vector<std::vector<uint8_t>>& oneOffs, uint32_t count) {
    std::string bytes = std::string("\x01\0\0\0", 4) + std::string(8, '\0');
    for (uint32_t v : {count, 0u, 0u, 0u}) bytes += std::string(reinterpret_cast<const char*>(&v), 4);
    for (const auto& oneOff : oneOffs) {
      const uint32_t none = 0, size = static_cast<uint32_t>(oneOff.size());
      bytes += std::string(reinterpret_cast<const char*>(&size), 4) + Bytes(oneOff);  // entry id: the one-off
      bytes += std::string(reinterpret_cast<const char*>(&none), 4);                  // no one-off copy
      bytes += std::string(reinterpret_cast<const char*>(&none), 4);                  // no extra
    }
    return bytes + std::string(8, '\0');
  };
  const std::vector<std::vector<uint8_t>> members = {pb::OneOffEntryId("One", "SMTP", "one@example.org"),
                                                     pb::OneOffEntryId("Two", "SMTP", "two@example.org")};
  auto folder = store_->top->Add(u"F");
  folder->AddMessage(u"IPM.DistList")
      ->Named(kPsetidAddress, 0x8064, kPtBinary, stream(members, 2))
      .Named(kPsetidAddress, 0x8055, automation::kPtMvBinary,
             std::vector<std::string>{Bytes(pb::OneOffEntryId("Old", "SMTP", "old@example.org"))});
  // The stream says three members and holds two.
  folder->AddMessage(u"IPM.DistList")->Named(kPsetidAddress, 0x8064, kPtBinary, stream(members, 3));
  folder->AddMessage(u"IPM.DistList");
  folder->AddMessage(u"IPM.Note");
  EXPECT_EQ((std::vector<std::wstring>{L"One|SMTP|one@example.org", L"Two|SMTP|two@example.org"}),
            ListMembers(Item(1).get()));
  const std::vector<std::wstring> damaged = ListMembers(Item(2).get());
  ASSERT_EQ(1u, damaged.size());
  EXPECT_EQ(0u, damaged[0].find(L"no count: The members of the distribution list cannot be read"))
      << damaged[0];
  EXPECT_TRUE(ListMembers(Item(3).get()).empty());
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Get(Item(4).get(), 0x60040001).hr);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Method(Item(4).get(), 0x60040003, {Arg::Int(1)}).hr);
  for (long outside : {0L, 3L}) {
    CallResult member = Method(Item(1).get(), 0x60040003, {Arg::Int(outside)});
    EXPECT_EQ(DISP_E_EXCEPTION, member.hr) << outside;
    EXPECT_NE(std::wstring::npos, member.description.find(L"out of range")) << outside;
  }
}

TEST_F(RdoObjects, BodiesInEachFormatAndCodePage) {
  auto f = store_->top->Add(u"F");
  // HTML only, Windows-1251 by PR_INTERNET_CPID: the plain body is the text a reader sees.
  f->AddMessage(u"IPM.Note")
      ->Set(0x1013, kPtBinary, std::string("<p>\xCF\xF0\xE8\xE2\xE5\xF2</p><p>b&amp;c</p>"))
      .Set(0x3FDE, kPtLong, int64_t{1251});
  // RTF only: HTML and plain come out of the RTF.
  auto rtfOnly = f->AddMessage(u"IPM.Note");
  rtfOnly->Set(0x1009, kPtBinary, std::string("compressed"));
  rtfOnly->rtf = "{\\rtf1\\fromhtml1 x}";
  rtfOnly->htmlFromRtf = u"<p>from rtf</p>";
  rtfOnly->plainFromRtf = u"plain from rtf";
  // Native body info says plain although an HTML body exists.
  f->AddMessage(u"IPM.Note")
      ->Set(0x1016, kPtLong, int64_t{1})
      .Text(0x1000, u"p")
      .Set(0x1013, kPtBinary, std::string("<p>h</p>"));
  f->AddMessage(u"IPM.Note")->Set(0x1016, kPtLong, int64_t{2}).Text(0x1000, u"p");
  // An empty stored plain body beside an HTML one.
  f->AddMessage(u"IPM.Note")->Text(0x1000, u"").Set(0x1013, kPtBinary, std::string("<b>bold</b>"));

  DispPtr html = Item(1);
  EXPECT_EQ(2, Get(html.get(), 0xC).Integer());
  EXPECT_EQ(L"<p>\u041f\u0440\u0438\u0432\u0435\u0442</p><p>b&amp;c</p>", Get(html.get(), 0x1A).Text());
  EXPECT_EQ(L"\u041f\u0440\u0438\u0432\u0435\u0442\r\nb&c", Get(html.get(), 0xB).Text());
  DispPtr rtf = Item(2);
  EXPECT_EQ(3, Get(rtf.get(), 0xC).Integer());
  EXPECT_EQ(L"<p>from rtf</p>", Get(rtf.get(), 0x1A).Text());
  EXPECT_EQ(L"from rtf", Get(rtf.get(), 0xB).Text());  // derived from the de-encapsulated HTML
  EXPECT_EQ(L"{\\rtf1\\fromhtml1 x}", Get(rtf.get(), 0x45).Text());
  EXPECT_EQ(1, Get(Item(3).get(), 0xC).Integer());
  EXPECT_EQ(3, Get(Item(4).get(), 0xC).Integer());
  EXPECT_EQ(L"bold", Get(Item(5).get(), 0xB).Text());
}

TEST_F(RdoObjects, AttachmentsAreNamedAndSavedByteExact) {
  auto m = store_->top->Add(u"F")->AddMessage(u"IPM.Note");
  auto byValue = std::make_shared<FakeAttachmentData>();
  byValue->properties[0x3705] = {kPtLong, int64_t{1}};
  byValue->properties[0x3707] = {kPtUnicode, std::u16string(u"r\u00e9sum\u00e9.doc")};
  byValue->properties[0x3704] = {kPtUnicode, std::u16string(u"RESUME~1.DOC")};
  byValue->data = std::string("\0\x01\xFFzz\r\n\x1A", 8);
  auto shortOnly = std::make_shared<FakeAttachmentData>();
  shortOnly->properties[0x3704] = {kPtUnicode, std::u16string(u"..\\..\\evil:name?.txt")};
  shortOnly->data = std::string();
  auto noData = std::make_shared<FakeAttachmentData>();
  noData->properties[0x3001] = {kPtUnicode, std::u16string(u"link.url")};
  noData->properties[0x3705] = {kPtLong, int64_t{2}};
  m->attachments = {byValue, shortOnly, noData};

  testsupport::TempDir dir;
  DispPtr attachments = Get(Item(1).get(), 0x49).Object();
  EXPECT_EQ(3, Get(attachments.get(), 0x50).Integer());
  DispPtr first = Get(attachments.get(), 0x0, {Arg::Int(1)}).Object();
  EXPECT_EQ(L"r\u00e9sum\u00e9.doc", Get(first.get(), 0x68).Text());
  std::wstring path = Widen(dir.File("out.bin"));
  ASSERT_EQ(S_OK, Method(first.get(), 0xB, {Arg::Text(path)}).hr);
  EXPECT_EQ(*byValue->data, testsupport::ReadFileBytes(dir.File("out.bin")));

  DispPtr second = Get(attachments.get(), 0x0, {Arg::Int(2)}).Object();
  EXPECT_EQ(L".._.._evil_name_.txt", Get(second.get(), 0x68).Text());
  ASSERT_EQ(S_OK, Method(second.get(), 0xB, {Arg::Text(Widen(dir.File("empty.txt")))}).hr);
  EXPECT_EQ("", testsupport::ReadFileBytes(dir.File("empty.txt")));

  DispPtr third = Get(attachments.get(), 0x0, {Arg::Int(3)}).Object();
  EXPECT_EQ(L"link.url", Get(third.get(), 0x68).Text());
  CallResult failed = Method(third.get(), 0xB, {Arg::Text(Widen(dir.File("link.url")))});
  EXPECT_EQ(DISP_E_EXCEPTION, failed.hr);
  EXPECT_NE(std::wstring::npos, failed.description.find(L"holds no data")) << failed.description;
  EXPECT_EQ(DISP_E_EXCEPTION, Get(attachments.get(), 0x0, {Arg::Int(4)}).hr);
  CallResult unwritable = Method(first.get(), 0xB, {Arg::Text(Widen(dir.File("no such dir")) + L"\\x.bin")});
  EXPECT_EQ(DISP_E_EXCEPTION, unwritable.hr);
  EXPECT_NE(std::wstring::npos, unwritable.description.find(L"cannot create")) << unwritable.description;
}

TEST_F(RdoObjects, EmbeddedMessageIsSavedAsMessageFile) {
  auto outer = store_->top->Add(u"F")->AddMessage(u"IPM.Note");
  auto forwarded = std::make_shared<FakeMessageData>();
  forwarded->Text(0x001A, u"IPM.Note")
      .Text(0x0037, u"Fwd: budget/plan")
      .Text(0x1000, u"The body \u00e9")
      .Set(0x0E07, kPtLong, int64_t{1})
      .Time(0x0039, Ticks(2020, 1, 2, 3, 4));
  forwarded->NamedString(automation::kPsPublicStrings, u"Keywords", automation::kPtMvUnicode,
                         std::vector<std::u16string>{u"Red", u"Blue"});
  forwarded->Named(automation::kPsetidAddress, 0x8083, kPtUnicode, std::u16string(u"a@b"));
  forwarded->recipients = {{1, u"Ann", {}}};
  auto inner = std::make_shared<FakeAttachmentData>();
  inner->properties[0x3705] = {kPtLong, int64_t{1}};
  inner->properties[0x3707] = {kPtUnicode, std::u16string(u"in.txt")};
  inner->data = "inner bytes";
  forwarded->attachments = {inner};
  auto embedded = std::make_shared<FakeAttachmentData>();
  embedded->properties[0x3705] = {kPtLong, int64_t{5}};
  embedded->embedded = forwarded;
  outer->attachments = {embedded};

  testsupport::TempDir dir;
  DispPtr attachment = Get(Get(Item(1).get(), 0x49).Object().get(), 0x0, {Arg::Int(1)}).Object();
  EXPECT_EQ(L"Fwd_ budget_plan.msg", Get(attachment.get(), 0x68).Text());
  std::wstring path = Widen(dir.File("fwd.msg"));
  ASSERT_EQ(S_OK, Method(attachment.get(), 0xB, {Arg::Text(path)}).hr);

  IStorage* raw = nullptr;
  ASSERT_EQ(S_OK, StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &raw));
  std::unique_ptr<IStorage, Releaser> root(raw);
  EXPECT_EQ(L"Fwd: budget/plan", AsWide(ReadStream(root.get(), L"__substg1.0_0037001F")));
  EXPECT_EQ(L"The body \u00e9", AsWide(ReadStream(root.get(), L"__substg1.0_1000001F")));
  std::string properties = ReadStream(root.get(), L"__properties_version1.0");
  ASSERT_GE(properties.size(), 32u);
  EXPECT_EQ(0u, (properties.size() - 32) % 16);
  EXPECT_EQ(1, properties[16]);  // one recipient
  EXPECT_EQ(1, properties[20]);  // one attachment
  // The file says its strings are Unicode (store support mask with STORE_UNICODE_OK).
  EXPECT_NE(std::string::npos,
            properties.find(std::string("\x03\x00\x0D\x34\x06\x00\x00\x00\x00\x00\x04\x00", 12)));
  IStorage* sub = nullptr;
  ASSERT_EQ(S_OK, root->OpenStorage(L"__attach_version1.0_#00000000", nullptr,
                                    STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &sub));
  EXPECT_EQ("inner bytes", ReadStream(sub, L"__substg1.0_37010102"));
  sub->Release();
  ASSERT_EQ(S_OK, root->OpenStorage(L"__recip_version1.0_#00000000", nullptr,
                                    STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &sub));
  EXPECT_EQ(L"Ann", AsWide(ReadStream(sub, L"__substg1.0_3001001F")));
  sub->Release();
  // Two named properties, mapped to 0x8000 and 0x8001, one by string and one by LID.
  ASSERT_EQ(S_OK, root->OpenStorage(L"__nameid_version1.0", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                    nullptr, 0, &sub));
  std::string entries = ReadStream(sub, L"__substg1.0_00030102");
  std::string guids = ReadStream(sub, L"__substg1.0_00020102");
  sub->Release();
  ASSERT_EQ(16u, entries.size());
  EXPECT_EQ(0x05, entries[4]);   // string name, PS_PUBLIC_STRINGS (index 2), property index 0
  EXPECT_EQ(0x06, entries[12]);  // LID, first GUID of the GUID stream (index 3)
  EXPECT_EQ(1, entries[14]);
  EXPECT_EQ(16u, guids.size());
  EXPECT_EQ(L"a@b", AsWide(ReadStream(root.get(), L"__substg1.0_8001001F")));
  // The multi-valued keywords: lengths, then one stream per value.
  EXPECT_EQ(std::string("\x08\0\0\0\x0A\0\0\0", 8), ReadStream(root.get(), L"__substg1.0_8000101F"));
  EXPECT_EQ(std::wstring(L"Red", 4), AsWide(ReadStream(root.get(), L"__substg1.0_8000101F-00000000")));
  EXPECT_EQ(std::wstring(L"Blue", 5), AsWide(ReadStream(root.get(), L"__substg1.0_8000101F-00000001")));
}

TEST_F(RdoObjects, CountedFaultsFailOnlyTheNamedCall) {
  auto f = store_->top->Add(u"F");
  for (int i = 0; i < 3; ++i) {
    auto m = f->AddMessage(u"IPM.Note");
    auto a = std::make_shared<FakeAttachmentData>();
    a->data = "x";
    m->attachments = {a};
  }
  ScopedFaults faults("rdo.item=2,rdo.messageclass=3,rdo.saveasfile=2");
  DispPtr items = Get(Child(Root().get(), L"F").get(), 0x11).Object();
  EXPECT_EQ(S_OK, Method(items.get(), 0x9, {Arg::Int(1)}).hr);
  CallResult second = Method(items.get(), 0x9, {Arg::Int(2)});
  EXPECT_EQ(DISP_E_EXCEPTION, second.hr);
  EXPECT_NE(std::wstring::npos, second.description.find(L"rdo.item")) << second.description;
  DispPtr item = Method(items.get(), 0x9, {Arg::Int(2)}).Object();
  ASSERT_TRUE(item);
  EXPECT_EQ(S_OK, Get(item.get(), 0x1E).hr);
  EXPECT_EQ(S_OK, Get(item.get(), 0x1E).hr);
  CallResult third = Get(item.get(), 0x1E);
  EXPECT_EQ(DISP_E_EXCEPTION, third.hr);
  EXPECT_NE(std::wstring::npos, third.description.find(L"rdo.messageclass")) << third.description;
  EXPECT_EQ(S_OK, Get(item.get(), 0x1E).hr);

  testsupport::TempDir dir;
  DispPtr attachment = Get(Get(item.get(), 0x49).Object().get(), 0x0, {Arg::Int(1)}).Object();
  std::wstring path = Widen(dir.File("a.bin"));
  EXPECT_EQ(S_OK, Method(attachment.get(), 0xB, {Arg::Text(path)}).hr);
  CallResult save = Method(attachment.get(), 0xB, {Arg::Text(path)});
  EXPECT_EQ(DISP_E_EXCEPTION, save.hr);
  EXPECT_NE(std::wstring::npos, save.description.find(L"rdo.saveasfile")) << save.description;
}

}  // namespace
