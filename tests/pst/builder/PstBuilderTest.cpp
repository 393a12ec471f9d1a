// Files the builder writes read back through our PST reader with every property equal to what was
// written, in each of the three block encodings; the builder is deterministic and refuses what it
// cannot write.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "PropertyIds.h"
#include "PstWriter.h"
#include "Recipes.h"
#include "RtfCompressor.h"
#include "TestFiles.h"

#ifndef PSTBUILDER_NO_READER
#include "pst/Messaging.h"
#endif

namespace pb = pstbuilder;

namespace {

std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  for (auto& b : out) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 16);
  }
  return out;
}

}  // namespace

TEST(PstBuilder, SameRecipeWritesSameBytes) {
  testsupport::TempDir dir;
  pb::WritePst(pb::SampleStore(), dir.File("a.pst"));
  pb::WritePst(pb::SampleStore(), dir.File("b.pst"));
  const std::string a = testsupport::ReadFileBytes(dir.File("a.pst"));
  ASSERT_GT(a.size(), 0x4400u);
  EXPECT_EQ(a, testsupport::ReadFileBytes(dir.File("b.pst")));
  EXPECT_EQ(0u, (a.size() - 0x4400) % 253952) << "the file ends on a whole allocation-map range";
  EXPECT_EQ("!BDN", a.substr(0, 4));
}

TEST(PstBuilder, EncodingsHideTheDataBlocksDifferently) {
  testsupport::TempDir dir;
  std::string bytes[3];
  int n = 0;
  for (pb::Encoding e : {pb::Encoding::None, pb::Encoding::Permute, pb::Encoding::Cyclic}) {
    pb::Store s = pb::SampleStore();
    s.encoding = e;
    const std::string path = dir.File("e" + std::to_string(n) + ".pst");
    pb::WritePst(s, path);
    bytes[n++] = testsupport::ReadFileBytes(path);
  }
  // The folder name "Inbox" in UTF-16 lies in a data block.
  const std::string inbox("I\0n\0b\0o\0x\0", 10);
  EXPECT_NE(bytes[0].find(inbox), std::string::npos);
  EXPECT_EQ(bytes[1].find(inbox), std::string::npos);
  EXPECT_EQ(bytes[2].find(inbox), std::string::npos);
  EXPECT_EQ(bytes[0][513], 0);
  EXPECT_EQ(bytes[1][513], 1);
  EXPECT_EQ(bytes[2][513], 2);
  EXPECT_NE(bytes[1], bytes[2]);
}

TEST(PstBuilder, UnwritablePathIsAnError) {
  EXPECT_THROW(pb::WritePst(pb::Store::WithStandardFolders(), "/nonexistent-dir/x/y.pst"),
               std::runtime_error);
}

TEST(RtfCompressor, RepeatedTextCompressesAndCarriesTheHeader) {
  std::string rtf = "{\\rtf1\\ansi ";
  for (int i = 0; i < 50; ++i) rtf += "the same words again ";
  rtf += "}";
  const auto packed = pb::CompressRtf(rtf);
  ASSERT_GE(packed.size(), 16u);
  EXPECT_LT(packed.size(), rtf.size() / 2);
  EXPECT_EQ(0x4C, packed[8]);  // "LZFu"
  EXPECT_EQ(rtf.size(), size_t(packed[4]) | size_t(packed[5]) << 8 | size_t(packed[6]) << 16);
}

#ifndef PSTBUILDER_NO_READER

namespace {

// Compares every property the recipe set with what the reader returns.
void ExpectMessageEqual(const pb::Message& want, const pst::Message& got, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(want.messageClass, got.MessageClass());
  for (const auto& [id, value] : want.props) {
    auto v = got.Get(id);
    ASSERT_TRUE(v.has_value()) << "property 0x" << std::hex << id;
    EXPECT_EQ(value.type, v->type) << "property 0x" << std::hex << id;
    EXPECT_EQ(value.data, v->bytes) << "property 0x" << std::hex << id;
  }
  for (const auto& [name, value] : want.named) {
    pst::Guid guid;
    guid.bytes = name.guid.bytes;
    auto v = name.IsString() ? got.GetNamed(guid, name.name) : got.GetNamed(guid, name.lid);
    ASSERT_TRUE(v.has_value()) << "named property " << name.lid << name.name;
    EXPECT_EQ(value.data, v->bytes) << "named property " << name.lid << name.name;
  }
  const auto recipients = got.Recipients();
  ASSERT_EQ(want.recipients.size(), recipients.size());
  for (size_t i = 0; i < recipients.size(); ++i) {
    EXPECT_EQ(want.recipients[i].displayName, recipients[i].String(pb::prop::kDisplayName));
    EXPECT_EQ(want.recipients[i].emailAddress, recipients[i].String(pb::prop::kEmailAddress));
    EXPECT_EQ(want.recipients[i].type, recipients[i].Type());
  }
  const auto attachments = got.Attachments();
  ASSERT_EQ(want.attachments.size(), attachments.size());
  for (size_t i = 0; i < attachments.size(); ++i) {
    const pb::Attachment& a = want.attachments[i];
    if (a.embedded) {
      ASSERT_TRUE(attachments[i]->IsEmbeddedMessage());
      auto inner = attachments[i]->OpenEmbeddedMessage();
      ASSERT_TRUE(inner);
      ExpectMessageEqual(*a.embedded, *inner, where + " / embedded");
    } else {
      EXPECT_EQ(a.longFileName, attachments[i]->FileName());
      EXPECT_EQ(a.data.size(), attachments[i]->DataSize());
      EXPECT_EQ(a.data, attachments[i]->OpenData().ReadAll());
    }
  }
}

void ExpectFolderEqual(pst::Store& store, const pb::Folder& want, uint32_t nid, const std::string& path) {
  auto folder = store.OpenFolder(nid);
  EXPECT_EQ(want.name, folder->DisplayName()) << path;
  EXPECT_EQ(want.containerClass, folder->ContainerClass()) << path;
  const auto messages = folder->Messages();
  ASSERT_EQ(want.messages.size() + want.generatedCount, messages.size()) << path;
  for (size_t i = 0; i < want.messages.size(); ++i)
    ExpectMessageEqual(want.messages[i], *store.OpenMessage(messages[i]),
                       path + " #" + std::to_string(i + 1));
  for (size_t i = 0; i < want.generatedCount; i += std::max<size_t>(1, want.generatedCount / 7)) {
    const size_t at = want.messages.size() + i;
    ExpectMessageEqual(want.generator(i), *store.OpenMessage(messages[at]),
                       path + " #" + std::to_string(at + 1));
  }
  EXPECT_EQ(want.associated.size(), folder->AssociatedMessages().size()) << path;
  const auto children = folder->ChildFolders();
  ASSERT_EQ(want.folders.size(), children.size()) << path;
  for (size_t i = 0; i < children.size(); ++i)
    ExpectFolderEqual(store, want.folders[i], children[i], path + "/" + want.folders[i].name);
}

void ExpectStoreReadsBack(const pb::Store& store, const std::string& file) {
  pb::WritePst(store, file);
  auto reader = pst::Store::Open(file);
  EXPECT_EQ(store.displayName, reader->DisplayName());
  auto ipm = reader->IpmSubtreeNid();
  ASSERT_TRUE(ipm.has_value());
  auto top = reader->OpenFolder(*ipm);
  EXPECT_EQ(store.ipmSubtreeName, top->DisplayName());
  const auto children = top->ChildFolders();
  ASSERT_EQ(store.folders.size(), children.size());
  for (size_t i = 0; i < children.size(); ++i)
    ExpectFolderEqual(*reader, store.folders[i], children[i], store.folders[i].name);
}

}  // namespace

TEST(PstBuilderRoundTrip, SampleReadsBackPropertyForPropertyInEveryEncoding) {
  testsupport::TempDir dir;
  for (pb::Encoding e : {pb::Encoding::Permute, pb::Encoding::None, pb::Encoding::Cyclic}) {
    pb::Store s = pb::SampleStore();
    s.encoding = e;
    ExpectStoreReadsBack(s, dir.File("sample.pst"));
  }
}

TEST(PstBuilderRoundTrip, BodiesReadBackInTheirFormats) {
  testsupport::TempDir dir;
  pb::Store s = pb::Store::WithStandardFolders();
  const std::string rtf = "{\\rtf1\\ansi\\deff0 Rich body with repeats, repeats, repeats.\\par}";
  s.Find("Inbox")->messages.push_back(pb::Message().Subject("rtf").Rtf(rtf).NativeBody(2));
  s.Find("Inbox")->messages.push_back(
      pb::Message().Subject("arabic").Html({0xC7, 0xE1, 0xDA, 0xD1, 0xC8, 0xED, 0xC9}, 1256).NativeBody(3));
  pb::WritePst(s, dir.File("bodies.pst"));
  auto reader = pst::Store::Open(dir.File("bodies.pst"));
  auto inbox = reader->OpenFolder(reader->OpenFolder(*reader->IpmSubtreeNid())->ChildFolders()[0]);
  const auto messages = inbox->Messages();
  ASSERT_EQ(2u, messages.size());
  EXPECT_EQ(rtf, reader->OpenMessage(messages[0])->BodyRtf().value_or(""));
  auto arabic = reader->OpenMessage(messages[1]);
  EXPECT_EQ(std::vector<uint8_t>({0xC7, 0xE1, 0xDA, 0xD1, 0xC8, 0xED, 0xC9}),
            arabic->Get(pb::prop::kHtml)->bytes);
  EXPECT_EQ(1256, arabic->Int(pb::prop::kInternetCodepage).value_or(0));
}

TEST(PstBuilderRoundTrip, EveryPropertyTypeAndKindOfNameReadsBack) {
  testsupport::TempDir dir;
  pb::Store s;
  s.displayName = "Types \xE2\x9C\x93";
  s.ipmSubtreeName = "Top";
  pb::Folder& f = s.AddFolder("Types", "");
  const pb::Guid custom = pb::Guid::Parse("{12345678-9ABC-DEF0-1122-334455667788}");
  pb::Message m;
  m.messageClass = "IPM.Note.Custom";
  m.Set(0x6601, pb::PropValue::Short(-2))
      .Set(0x6602, pb::PropValue::Long(-123456))
      .Set(0x6603, pb::PropValue::Bool(true))
      .Set(0x6604, pb::PropValue::I8(-5000000000LL))
      .Set(0x6605, pb::PropValue::Double(2.5))
      .Set(0x6606, pb::PropValue::SysTime(pb::FileTime(2001, 2, 3, 4, 5, 6)))
      .Set(0x6607, pb::PropValue::String8("ansi \xE9"))
      .Set(0x6608, pb::PropValue::Unicode(""))
      .Set(0x6609, pb::PropValue::Binary({}))
      .Set(0x660A, pb::PropValue::Clsid(custom))
      .Set(0x660B, pb::PropValue::MultiLong({1, -1, 7}))
      .Set(0x660C, pb::PropValue::MultiBinary({{1, 2}, {}, {3}}))
      .Set(0x660D, pb::PropValue::Unicode(std::string(5000, 'x')))  // larger than a heap item
      .SetNamed(pb::NamedProperty{custom, 0, "Custom name \xC3\xA9"}, pb::PropValue::Unicode("by name"))
      .SetNamed(custom, 0x1234, pb::PropValue::Long(42))
      .SetNamed(pb::NamedProperty{pb::guids::kPsMapi, 0x0E1D, {}}, pb::PropValue::Unicode("PS_MAPI by id"))
      .Keywords({"A", "B \xE2\x98\x85"});
  pb::Recipient r;
  r.type = 2;
  r.displayName = "Extra";
  r.emailAddress = "/o=Example/cn=extra";
  r.addressType = "EX";
  r.extra[0x3A00] = pb::PropValue::Unicode("account");
  m.recipients.push_back(r);
  f.messages.push_back(m);
  f.associated.push_back(pb::Message().Subject("hidden"));
  f.AddFolder("Empty child", "IPF.Task");
  ExpectStoreReadsBack(s, dir.File("types.pst"));
}

TEST(PstBuilderRoundTrip, LargeFolderTablesAndManyAttachmentsSpanBlocks) {
  testsupport::TempDir dir;
  pb::Store s = pb::Store::WithStandardFolders();
  // Thousands of rows push the contents table into a row-matrix subnode and a multi-page heap.
  pb::Folder& inbox = *s.Find("Inbox");
  inbox.generatedCount = 3000;
  inbox.generator = [](size_t i) { return pb::BulkMessage(i * 8, pb::BulkOptions{}); };
  // More than one SLBLOCK of subnodes, and an attachment beyond one XBLOCK's reach.
  pb::Message many;
  many.Subject("many attachments");
  for (int i = 0; i < 400; ++i) many.AttachFile("a" + std::to_string(i) + ".txt", Pattern(10 + i, i));
  many.AttachFile("huge.bin", Pattern(9 * 1024 * 1024, 99));
  s.Find("Sent Items")->messages.push_back(many);
  ExpectStoreReadsBack(s, dir.File("large.pst"));
}

#endif  // PSTBUILDER_NO_READER

#ifndef PSTBUILDER_NO_READER
TEST(PstBuilderRoundTrip, BulkSpreadsMessagesOverTheRequestedFolders) {
  testsupport::TempDir dir;
  pb::BulkOptions options;
  options.messages = 101;
  options.folders = 7;
  options.bodyBytes = 20000;  // beyond a heap item: the body lives in a subnode
  options.attachmentBytes = 50;
  const pb::Store store = pb::BulkStore(options);
  ASSERT_EQ(7u, store.folders.back().folders.size());
  EXPECT_EQ("Folder 0007", store.folders.back().folders.back().name);
  size_t total = 0;
  for (const auto& f : store.folders.back().folders) total += f.generatedCount;
  EXPECT_EQ(101u, total);
  ExpectStoreReadsBack(store, dir.File("bulk.pst"));
}
#endif
