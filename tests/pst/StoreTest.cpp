// A crafted store: the named-property map with every named property the automation server reads
// (appointment, task, journal, contact, keywords), code-page precedence for 8-bit strings, and a
// folder that lists itself as its own child.
#include <gtest/gtest.h>

#include <cstring>

#include "MiniPst.h"
#include "pst/CodePage.h"
#include "pst/Messaging.h"
#include "pst/format/Layout.h"

using namespace pst;
using namespace pst::format;
using namespace minipst;

namespace {

struct NamedCase {
  Guid guid;
  uint32_t lid;  // when name is empty
  std::u16string name;
  uint16_t type;
  Bytes value;
};

constexpr uint32_t kMessageNid = MakeNid(kNidTypeNormalMessage, 0x400);

// Store, name map, root folder (with itself as a child, as a damaged file might have it), one
// message carrying `messageProps` plus each named property's value.
std::string BuildStore(bool unicode, const std::vector<NamedCase>& named,
                       std::map<uint16_t, Prop> messageProps, std::map<uint16_t, Prop> storeProps = {}) {
  FileBuilder builder(unicode);
  Bytes guids, entries, strings;
  std::vector<Guid> extra;
  for (size_t i = 0; i < named.size(); ++i) {
    const NamedCase& item = named[i];
    uint16_t guidIndex;
    if (item.guid == kPsMapi) {
      guidIndex = 1;
    } else if (item.guid == kPsPublicStrings) {
      guidIndex = 2;
    } else {
      size_t at = 0;
      while (at < extra.size() && !(extra[at] == item.guid)) ++at;
      if (at == extra.size()) {
        extra.push_back(item.guid);
        guids.insert(guids.end(), item.guid.bytes.begin(), item.guid.bytes.end());
      }
      guidIndex = static_cast<uint16_t>(3 + at);
    }
    uint32_t id = item.lid;
    if (!item.name.empty()) {
      id = static_cast<uint32_t>(strings.size());
      Bytes text = Utf16(item.name);
      Append32(strings, static_cast<uint32_t>(text.size()));
      strings.insert(strings.end(), text.begin(), text.end());
      while (strings.size() % 4) strings.push_back(0);
    }
    Append32(entries, id);
    Append16(entries, static_cast<uint16_t>(guidIndex << 1 | (item.name.empty() ? 0 : 1)));
    Append16(entries, static_cast<uint16_t>(i));
    messageProps[static_cast<uint16_t>(0x8000 + i)] = {item.type, item.value};
  }
  std::map<uint32_t, Bytes> none;
  std::map<uint16_t, Prop> mapProps = {{0x0001, {kPtLong, Le(251, 4)}},
                                       {0x0002, {kPtBinary, guids}},
                                       {0x0003, {kPtBinary, entries}},
                                       {0x0004, {kPtBinary, strings}}};
  builder.AddNode(kNidNameToIdMap, builder.AddBlock(BuildPropertyContext(mapProps, &none)));
  Bytes ipmEntryId(20, 0);
  for (uint8_t b : Le(kNidRootFolder, 4)) ipmEntryId.push_back(b);
  storeProps[0x35E0] = {kPtBinary, ipmEntryId};
  builder.AddNode(kNidMessageStore, builder.AddBlock(BuildPropertyContext(storeProps, &none)));
  const uint16_t stringType = unicode ? kPtUnicode : kPtString8;
  builder.AddNode(kNidRootFolder,
                  builder.AddBlock(BuildPropertyContext(
                      {{0x3001, {stringType, unicode ? Utf16(u"Root") : Ascii("Root")}}}, &none)));
  builder.AddNode(FolderTableNid(kNidRootFolder, kNidTypeHierarchyTable),
                  builder.AddBlock(BuildTableContext({}, {{}}, {kNidRootFolder})));
  builder.AddNode(FolderTableNid(kNidRootFolder, kNidTypeContentsTable),
                  builder.AddBlock(BuildTableContext({}, {{}}, {kMessageNid})));
  builder.AddNode(kMessageNid, builder.AddBlock(BuildPropertyContext(messageProps, &none)));
  return builder.Build();
}

std::unique_ptr<Store> OpenStore(const std::string& bytes, uint32_t codePage = 1252) {
  StoreOptions options;
  options.defaultCodePage = codePage;
  return std::make_unique<Store>(std::make_unique<PstFile>(MemorySource(bytes)), options);
}

}  // namespace

TEST(CraftedStore, EveryNamedPropertyTheAutomationServerReads) {
  const uint64_t kTime = 130000000000000000ull;
  auto text = [](const std::u16string& s) { return Utf16(s); };
  std::vector<NamedCase> named = {
      {kPsetidAppointment, 0x820D, u"", kPtSysTime, Le(kTime + 1, 8)},    // AppointmentStartWhole
      {kPsetidAppointment, 0x820E, u"", kPtSysTime, Le(kTime + 2, 8)},    // AppointmentEndWhole
      {kPsetidAppointment, 0x8208, u"", kPtUnicode, text(u"Room 5")},     // Location
      {kPsetidTask, 0x8104, u"", kPtSysTime, Le(kTime + 3, 8)},           // TaskStartDate
      {kPsetidTask, 0x8105, u"", kPtSysTime, Le(kTime + 4, 8)},           // TaskDueDate
      {kPsetidLog, 0x8706, u"", kPtSysTime, Le(kTime + 5, 8)},            // LogStart
      {kPsetidAddress, 0x801B, u"", kPtUnicode, text(u"1 Work St")},      // WorkAddress
      {kPsetidAddress, 0x8046, u"", kPtUnicode, text(u"Lisboa")},         // WorkAddressCity
      {kPsetidAddress, 0x8049, u"", kPtUnicode, text(u"Portugal")},       // WorkAddressCountry
      {kPsetidAddress, 0x8048, u"", kPtUnicode, text(u"1000-001")},       // WorkAddressPostalCode
      {kPsetidAddress, 0x8047, u"", kPtUnicode, text(u"LX")},             // WorkAddressState
      {kPsetidAddress, 0x8045, u"", kPtUnicode, text(u"Rua 1")},          // WorkAddressStreet
      {kPsetidAddress, 0x8083, u"", kPtUnicode, text(u"a@example.com")},  // Email1EmailAddress
      {kPsetidAddress, 0x8093, u"", kPtUnicode, text(u"b@example.com")},  // Email2EmailAddress
      {kPsetidAddress, 0x80A3, u"", kPtUnicode, text(u"c@example.com")},  // Email3EmailAddress
      {kPsetidAddress, 0x801A, u"", kPtUnicode, text(u"1 Home St")},      // HomeAddress
  };
  Bytes keywords;
  Append32(keywords, 2);
  Append32(keywords, 12);
  Append32(keywords, 18);
  for (uint8_t b : Utf16(u"Red")) keywords.push_back(b);
  for (uint8_t b : Utf16(u"Blue")) keywords.push_back(b);
  named.push_back({kPsPublicStrings, 0, u"Keywords", kPtMultiValue | kPtUnicode, keywords});
  named.push_back({kPsMapi, 0x0037, u"", kPtUnicode, text(u"mapi-named")});

  auto store = OpenStore(BuildStore(true, named, {}));
  auto message = store->OpenMessage(kMessageNid);
  for (size_t i = 0; i < named.size(); ++i) {
    const NamedCase& item = named[i];
    auto value =
        item.name.empty()
            ? message->GetNamed(item.guid, item.lid)
            : message->GetNamed(item.guid, Utf16LeToUtf8(Utf16(item.name).data(), item.name.size() * 2));
    ASSERT_TRUE(value.has_value()) << item.guid.ToString() << " " << Hex(item.lid);
    EXPECT_EQ(value->type, item.type);
    EXPECT_EQ(value->bytes, item.value) << Hex(item.lid);
    const NamedProperty* name = store->NamedProperties().NameOf(static_cast<uint16_t>(0x8000 + i));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->guid, item.guid);
  }
  EXPECT_EQ(message->GetNamed(kPsPublicStrings, std::string("Keywords"))->AsUtf8List(1252),
            (std::vector<std::string>{"Red", "Blue"}));
  // The same LID under another property set is another property.
  EXPECT_FALSE(message->GetNamed(kPsetidCommon, 0x820D).has_value());
  EXPECT_FALSE(message->GetNamed(kPsetidTask, 0x820D).has_value());
  EXPECT_EQ(Guid::Parse("{00062002-0000-0000-C000-000000000046}").ToString(),
            "{00062002-0000-0000-C000-000000000046}");
}

TEST(CraftedStore, EightBitStringsFollowTheCodePagePrecedence) {
  const Bytes japanese{0x93, 0xfa, 0x96, 0x7b};  // 日本 in code page 932
  const std::string asJapanese = "\xE6\x97\xA5\xE6\x9C\xAC";
  const std::string asWestern = "\xE2\x80\x9C\xC3\xBA\xE2\x80\x93{";
  struct Case {
    std::map<uint16_t, Prop> message;
    std::map<uint16_t, Prop> store;
    uint32_t callerCodePage;
    std::string expected;
  } cases[] = {
      {{}, {}, 1252, asWestern},                                                  // nothing says: the default
      {{}, {}, 932, asJapanese},                                                  // the caller's
      {{}, {{prop::kMessageCodePage, {kPtLong, Le(932, 4)}}}, 1252, asJapanese},  // the store's
      {{{prop::kMessageCodePage, {kPtLong, Le(932, 4)}}}, {}, 1252, asJapanese},  // the message's
      {{{prop::kInternetCodePage, {kPtLong, Le(50220, 4)}}}, {}, 1252, asJapanese},  // ISO-2022-JP mail
      {{{prop::kMessageCodePage, {kPtLong, Le(1252, 4)}}}, {}, 932, asWestern},
      // A code page the reader cannot decode falls through to the next source.
      {{{prop::kInternetCodePage, {kPtLong, Le(65001, 4)}}}, {}, 932, asJapanese},
  };
  for (auto& c : cases) {
    c.message[prop::kSubject] = {kPtString8, japanese};
    auto store = OpenStore(BuildStore(false, {}, c.message, c.store), c.callerCodePage);
    EXPECT_EQ(store->OpenMessage(kMessageNid)->Subject(), c.expected);
  }
}

TEST(CraftedStore, FolderThatListsItselfAndIpmSubtree) {
  auto store =
      OpenStore(BuildStore(true, {}, {{prop::kSubject, {kPtUnicode, Utf16(u"\u0001\u0003RE: hello")}}}));
  auto root = store->OpenFolder(store->RootFolderNid());
  EXPECT_EQ(root->DisplayName(), "Root");
  EXPECT_EQ(root->ChildFolders(), std::vector<uint32_t>{kNidRootFolder});
  EXPECT_EQ(root->Messages(), std::vector<uint32_t>{kMessageNid});
  EXPECT_TRUE(root->AssociatedMessages().empty());
  EXPECT_EQ(store->IpmSubtreeNid(), std::optional<uint32_t>(kNidRootFolder));
  auto message = store->OpenMessage(kMessageNid);
  EXPECT_EQ(message->Subject(), "RE: hello");
  EXPECT_TRUE(message->Recipients().empty());
  EXPECT_EQ(message->AttachmentCount(), 0u);
  EXPECT_FALSE(message->BodyText().has_value());
  EXPECT_FALSE(message->BodyHtml().has_value());
  // A message NID that is not in the file.
  EXPECT_THROW(store->OpenMessage(kMessageNid + 0x20), PstError);
}
