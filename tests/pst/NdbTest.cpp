// The node database on crafted files: header checks, B-tree lookups, block checks and decoding,
// data and subnode trees, and the typed errors a damaged file gives.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "ErrorKindOf.h"
#include "MiniPst.h"
#include "TestFiles.h"
#include "pst/Ndb.h"
#include "pst/format/Codec.h"
#include "pst/format/Layout.h"

using namespace pst;
using namespace minipst;

namespace {

std::unique_ptr<PstFile> OpenBytes(const std::string& bytes, PstOptions options = {}) {
  return std::make_unique<PstFile>(MemorySource(bytes), options);
}

Bytes Pattern(size_t size, uint8_t seed) {
  Bytes out(size);
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(seed + i * 31);
  return out;
}

}  // namespace

TEST(NdbHeader, RejectsWhatIsNotAPst) {
  std::string text;
  EXPECT_EQ(KindOf([] { OpenBytes(""); }, &text), ErrorKind::kNotPst);
  EXPECT_EQ(text, "not a PST file");
  EXPECT_EQ(KindOf([] { OpenBytes(std::string(4096, 'x')); }), ErrorKind::kNotPst);
  EXPECT_EQ(KindOf([] { OpenBytes("From someone@example.com\n"); }), ErrorKind::kNotPst);
}

TEST(NdbHeader, TruncatedOrDamagedHeaderIsReported) {
  FileBuilder builder;
  builder.AddNode(0x21, builder.AddBlock(Pattern(40, 1)));
  const std::string good = builder.Build();
  std::string text;
  EXPECT_EQ(KindOf([&] { OpenBytes(good.substr(0, 100)); }, &text), ErrorKind::kTruncated);
  EXPECT_NE(text.find("truncated at offset"), std::string::npos) << text;

  std::string flipped = good;
  flipped[200] ^= 1;  // inside the CRC-covered part
  EXPECT_EQ(KindOf([&] { OpenBytes(flipped); }, &text), ErrorKind::kCorrupt);
  EXPECT_NE(text.find("checksum"), std::string::npos) << text;

  // A file cut short of what its header says it holds opens; what is gone reads as truncation.
  auto cut = OpenBytes(good.substr(0, 1100));
  EXPECT_TRUE(cut->Info().truncated);
  EXPECT_FALSE(OpenBytes(good)->Info().truncated);
  EXPECT_EQ(KindOf([&] { cut->GetNode(0x21); }, &text), ErrorKind::kTruncated);
  EXPECT_NE(text.find("truncated at offset"), std::string::npos) << text;
}

TEST(NdbHeader, UnsupportedVariantsSaySo) {
  FileBuilder v36;
  v36.version_ = 36;
  std::string text;
  EXPECT_EQ(KindOf([&] { OpenBytes(v36.Build()); }, &text), ErrorKind::kUnsupported);
  FileBuilder unknown(true, 3);
  EXPECT_EQ(KindOf([&] { OpenBytes(unknown.Build()); }, &text), ErrorKind::kCorrupt);
  EXPECT_NE(text.find("unknown block encoding 3"), std::string::npos) << text;
}

TEST(NdbLookup, FindsNodesAndBlocksInBothFormatsAndEncodings) {
  for (bool unicode : {true, false}) {
    for (uint8_t crypt : {0, 1, 2}) {
      FileBuilder builder(unicode, crypt);
      std::vector<uint64_t> bids;
      // Enough nodes for two branch levels over the leaf pages.
      for (uint32_t i = 0; i < 400; ++i) {
        bids.push_back(builder.AddBlock(Pattern(10 + i % 100, static_cast<uint8_t>(i))));
        builder.AddNode(format::MakeNid(format::kNidTypeNormalMessage, 0x100 + i), bids.back());
      }
      auto file = OpenBytes(builder.Build());
      EXPECT_EQ(file->Unicode(), unicode);
      for (uint32_t i = 0; i < 400; ++i) {
        NodeEntry node;
        ASSERT_TRUE(file->FindNode(format::MakeNid(format::kNidTypeNormalMessage, 0x100 + i), &node));
        EXPECT_EQ(node.bidData, bids[i]);
        Block block = file->ReadBlock(node.bidData);
        EXPECT_EQ(*block, Pattern(10 + i % 100, static_cast<uint8_t>(i)))
            << "unicode " << unicode << " crypt " << int(crypt);
      }
      NodeEntry missing;
      EXPECT_FALSE(file->FindNode(0x7FFFFFE4, &missing));
      EXPECT_FALSE(file->FindNode(0x20, &missing));
      EXPECT_EQ(KindOf([&] { file->GetNode(0x7FFFFFE4); }), ErrorKind::kNotFound);
      EXPECT_EQ(file->AllNodes().size(), 400u);
    }
  }
}

TEST(NdbBlocks, DamagedBlockGivesCorruptErrorNamingIt) {
  FileBuilder builder;
  const uint64_t bid = builder.AddBlock(Pattern(100, 3));
  builder.AddNode(0x21, bid);
  std::string bytes = builder.Build();
  bytes[builder.OffsetOfBlock(bid) + 5] ^= 0x40;
  auto file = OpenBytes(bytes);
  std::string text;
  EXPECT_EQ(KindOf([&] { file->ReadBlock(bid); }, &text), ErrorKind::kCorrupt);
  EXPECT_NE(text.find("block " + Hex(bid)), std::string::npos) << text;
  EXPECT_NE(text.find("CRC"), std::string::npos) << text;
  // Without CRC checks the same bytes are delivered as they are.
  PstOptions lenient;
  lenient.verifyCrc = false;
  EXPECT_EQ(OpenBytes(bytes, lenient)->ReadBlock(bid)->size(), 100u);
}

TEST(NdbBlocks, BlockPastTheEndOfTheFileIsTruncation) {
  FileBuilder builder;
  const uint64_t bid = builder.AddBlock(Pattern(100, 3));
  builder.AddNode(0x21, bid);
  std::string bytes = builder.Build();
  // Point the BBT entry (in the last page) past the end and reseal the page.
  const size_t entry = bytes.rfind(std::string(reinterpret_cast<const char*>(&bid), 8));
  ASSERT_NE(entry, std::string::npos);
  const uint64_t far = bytes.size() + 4096;
  std::memcpy(&bytes[entry + 8], &far, 8);
  const size_t page = entry / format::kPageSize * format::kPageSize;
  const uint32_t crc = format::ComputeCrc(bytes.data() + page, 496);
  std::memcpy(&bytes[page + 496 + 4], &crc, 4);
  std::string text;
  EXPECT_EQ(KindOf([&] { OpenBytes(bytes)->ReadBlock(bid); }, &text), ErrorKind::kTruncated);
  EXPECT_NE(text.find("truncated at offset " + Hex(far)), std::string::npos) << text;
}

TEST(NdbBlocks, MissingBlockIsNotFound) {
  FileBuilder builder;
  builder.AddNode(0x21, 0x400);
  auto file = OpenBytes(builder.Build());
  EXPECT_EQ(KindOf([&] { file->ReadBlock(0x400); }), ErrorKind::kNotFound);
}

TEST(NdbTrees, DataTreesConcatenateTheirBlocksInOrder) {
  FileBuilder builder;
  Bytes whole;
  Bytes xblock{format::kBlockTypeXBlock, 1, 3, 0};
  Append32(xblock, 0);
  for (int i = 0; i < 3; ++i) {
    Bytes part = Pattern(8000 + i, static_cast<uint8_t>(i));
    whole.insert(whole.end(), part.begin(), part.end());
    Append64(xblock, builder.AddBlock(part));
  }
  Put32(xblock, 4, static_cast<uint32_t>(whole.size()));
  const uint64_t x = builder.AddTreeBlock(xblock);
  // An XXBLOCK over that XBLOCK and a second one.
  Bytes second{format::kBlockTypeXBlock, 1, 1, 0};
  Bytes tail = Pattern(50, 9);
  Append32(second, 50);
  Append64(second, builder.AddBlock(tail));
  const uint64_t x2 = builder.AddTreeBlock(second);
  Bytes xx{format::kBlockTypeXBlock, 2, 2, 0};
  Append32(xx, static_cast<uint32_t>(whole.size() + 50));
  Append64(xx, x);
  Append64(xx, x2);
  const uint64_t top = builder.AddTreeBlock(xx);
  builder.AddNode(0x21, top);
  auto file = OpenBytes(builder.Build());
  DataTree tree = file->ReadDataTree(top);
  whole.insert(whole.end(), tail.begin(), tail.end());
  EXPECT_EQ(tree.size, whole.size());
  EXPECT_EQ(tree.blocks.size(), 4u);
  EXPECT_EQ(file->ReadAll(tree), whole);
  Bytes middle(100);
  file->ReadRange(tree, 7990, middle.data(), middle.size());
  EXPECT_TRUE(std::equal(middle.begin(), middle.end(), whole.begin() + 7990));
}

TEST(NdbTrees, InconsistentDataTreesAreCorrupt) {
  FileBuilder builder;
  Bytes xblock{format::kBlockTypeXBlock, 1, 1, 0};
  Append32(xblock, 999);  // not the size of its one block
  Append64(xblock, builder.AddBlock(Pattern(10, 1)));
  const uint64_t wrongTotal = builder.AddTreeBlock(xblock);
  auto file = OpenBytes(builder.Build());
  EXPECT_EQ(KindOf([&] { file->ReadDataTree(wrongTotal); }), ErrorKind::kCorrupt);

  // An XXBLOCK whose only entry is itself: the level check ends the walk.
  FileBuilder looped;
  Bytes own{format::kBlockTypeXBlock, 2, 1, 0};
  Append32(own, 10);
  Append64(own, 0x6);  // the first tree block id the builder hands out
  const uint64_t ownBid = looped.AddTreeBlock(own);
  ASSERT_EQ(ownBid, 0x6u);
  auto loopFile = OpenBytes(looped.Build());
  std::string text;
  EXPECT_EQ(KindOf([&] { loopFile->ReadDataTree(ownBid); }, &text), ErrorKind::kCorrupt);
  EXPECT_NE(text.find("level"), std::string::npos) << text;
}

TEST(NdbTrees, SubnodeTreesOfOneAndTwoLevels) {
  FileBuilder builder;
  const uint64_t a = builder.AddBlock(Pattern(5, 1));
  const uint64_t b = builder.AddBlock(Pattern(6, 2));
  const uint64_t sl1 = builder.AddTreeBlock(BuildSubnodeBlock({{0x3F, a, 0, 0}}));
  const uint64_t sl2 = builder.AddTreeBlock(BuildSubnodeBlock({{0x5F, b, 0, 0}, {0x7F, a, 0, 0}}));
  Bytes si{format::kBlockTypeSlBlock, 1, 2, 0};
  Append32(si, 0);
  Append64(si, 0x3F), Append64(si, sl1);
  Append64(si, 0x5F), Append64(si, sl2);
  const uint64_t siBid = builder.AddTreeBlock(si);
  builder.AddNode(0x21, a, siBid);
  auto file = OpenBytes(builder.Build());
  SubnodeMap map = file->ReadSubnodes(siBid);
  ASSERT_EQ(map.size(), 3u);
  EXPECT_EQ(map.at(0x5F).bidData, b);
  EXPECT_EQ(map.at(0x7F).bidData, a);
  // A data block where a subnode block belongs.
  EXPECT_EQ(KindOf([&] { file->ReadSubnodes(a); }), ErrorKind::kCorrupt);
}

TEST(NdbCache, SmallCacheStillReturnsEveryBlockCorrectly) {
  FileBuilder builder;
  std::vector<uint64_t> bids;
  for (int i = 0; i < 30; ++i) bids.push_back(builder.AddBlock(Pattern(3000, static_cast<uint8_t>(i))));
  builder.AddNode(0x21, bids[0]);
  PstOptions options;
  options.cacheBytes = 8000;  // two or three blocks
  auto file = OpenBytes(builder.Build(), options);
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 30; ++i) EXPECT_EQ(*file->ReadBlock(bids[i]), Pattern(3000, static_cast<uint8_t>(i)));
}

// The file source reads through a window: whatever the order and size of the reads, and across the
// window's edges, the bytes are the file's, and a read past the end still fails as truncation.
TEST(NdbFileSource, ReadsInAnyOrderAcrossTheWindowMatchTheFile) {
  testsupport::TempDir dir;
  const std::string path = dir.File("pattern.bin");
  const Bytes content = Pattern(200003, 7);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  }
  auto source = OpenFileSource(path);
  ASSERT_EQ(content.size(), source->Size());
  auto expectRead = [&](uint64_t offset, size_t size) {
    Bytes got(size);
    source->ReadAt(offset, got.data(), size);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), content.begin() + static_cast<ptrdiff_t>(offset)))
        << "offset " << offset << ", size " << size;
  };
  const std::pair<uint64_t, size_t> reads[] = {
      {65536 - 100, 300},  // across the first edge
      {65000, 536},        // back, inside the window just read
      {10, 20},           {131072 - 1, 2},
      {200003 - 1, 1},    {200003 - 70000, 70000},  // large: past the window
      {0, 200003},        {65536, 65536},
      {150000, 50003},    {4096, 0}};
  for (const auto& read : reads) expectRead(read.first, read.second);
  for (uint64_t offset = 190000; offset > 1000; offset -= 9973) expectRead(offset, 512);

  uint8_t byte = 0;
  EXPECT_EQ(KindOf([&] { source->ReadAt(200003, &byte, 1); }), ErrorKind::kTruncated);
  EXPECT_EQ(KindOf([&] { source->ReadAt(199990, &byte, 20); }), ErrorKind::kTruncated);
  expectRead(199990, 13);
}

// Blocks read once, many of them, do not push the B-tree pages out: every block is found again.
TEST(NdbCache, ManyBlocksThroughAFileWithASmallCache) {
  FileBuilder builder;
  std::vector<uint64_t> bids;
  for (int i = 0; i < 400; ++i) bids.push_back(builder.AddBlock(Pattern(900 + i, static_cast<uint8_t>(i))));
  builder.AddNode(0x21, bids[0]);
  testsupport::TempDir dir;
  const std::string path = dir.File("blocks.pst");
  {
    const std::string bytes = builder.Build();
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  PstOptions options;
  options.cacheBytes = 16000;
  auto file = PstFile::Open(path, options);
  for (int i = 399; i >= 0; --i)
    EXPECT_EQ(*file->ReadBlock(bids[i]), Pattern(900 + i, static_cast<uint8_t>(i)));
  for (int i = 0; i < 400; i += 7)
    EXPECT_EQ(*file->ReadBlock(bids[i]), Pattern(900 + i, static_cast<uint8_t>(i)));
}
