// Heaps, BTHs, property contexts and table contexts on crafted nodes, every property type the
// reader decodes, and damaged heaps.
#include <gtest/gtest.h>

#include <algorithm>

#include "ErrorKindOf.h"
#include "MiniPst.h"
#include "pst/CodePage.h"
#include "pst/Ltp.h"
#include "pst/format/Layout.h"

using namespace pst;
using namespace pst::format;
using namespace minipst;

namespace {

// A file with one node holding `heap`, and the given subnodes (nid -> data) under it.
std::unique_ptr<PstFile> FileWithNode(const Bytes& heap, const std::map<uint32_t, Bytes>& subnodes,
                                      NodeEntry* node, bool unicode = true) {
  FileBuilder builder(unicode);
  const uint64_t data = builder.AddBlock(heap);
  uint64_t sub = 0;
  if (!subnodes.empty()) {
    std::vector<Node> entries;
    for (const auto& [nid, bytes] : subnodes) entries.push_back({nid, builder.AddBlock(bytes), 0, 0});
    sub = builder.AddTreeBlock(BuildSubnodeBlock(entries, unicode));
  }
  builder.AddNode(0x21, data, sub);
  auto file = std::make_unique<PstFile>(MemorySource(builder.Build()));
  *node = file->GetNode(0x21);
  return file;
}

}  // namespace

TEST(PropertyContext, DecodesEveryScalarAndStringType) {
  for (bool unicode : {true, false}) {
    std::map<uint16_t, Prop> props;
    props[0x0001] = {kPtShort, Le(static_cast<uint16_t>(-2), 2)};
    props[0x0002] = {kPtLong, Le(123456789, 4)};
    props[0x0003] = {kPtBoolean, Le(1, 1)};
    props[0x0004] = {kPtI8, Le(0x123456789ABCull, 8)};
    props[0x0005] = {kPtSysTime, Le(132000000000000000ull, 8)};
    props[0x0006] = {kPtUnicode, Utf16(u"Caf\u00e9 \u65e5\u672c")};
    props[0x0007] = {kPtString8, Bytes{0x93, 0xfa, 0x96, 0x7b, 'x'}};  // "日本x" in code page 932
    props[0x0008] = {kPtBinary, Bytes{1, 2, 3}};
    props[0x0009] = {kPtClsid, Bytes(16, 0xAB)};
    props[0x000A] = {kPtString8, Bytes{'c', 'a', 'f', 0xE9, 0x80}};  // Windows-1252
    std::map<uint32_t, Bytes> subnodes;
    Bytes heap = BuildPropertyContext(props, &subnodes);
    NodeEntry node;
    auto file = FileWithNode(heap, subnodes, &node, unicode);
    PropertyContext pc(*file, node, "test");
    EXPECT_EQ(pc.Tags().size(), 10u);
    EXPECT_EQ(pc.Get(0x0001)->AsInt(), -2);
    EXPECT_EQ(pc.Get(0x0002)->AsInt(), 123456789);
    EXPECT_TRUE(pc.Get(0x0003)->AsBool());
    EXPECT_EQ(pc.Get(0x0004)->AsInt(), 0x123456789ABCll);
    EXPECT_EQ(pc.Get(0x0005)->AsInt(), 132000000000000000ll);
    EXPECT_EQ(pc.Get(0x0006)->AsUtf8(1252), "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(pc.Get(0x0007)->AsUtf8(932),
              "\xE6\x97\xA5\xE6\x9C\xAC"
              "x");
    EXPECT_EQ(pc.Get(0x0008)->bytes, (Bytes{1, 2, 3}));
    EXPECT_EQ(pc.Get(0x0009)->bytes, Bytes(16, 0xAB));
    EXPECT_EQ(pc.Get(0x000A)->AsUtf8(1252), "caf\xC3\xA9\xE2\x82\xAC");
    EXPECT_FALSE(pc.Get(0x00FF).has_value());
    EXPECT_FALSE(pc.Has(0x00FF));
  }
}

TEST(PropertyContext, MultiValuedForms) {
  std::map<uint16_t, Prop> props;
  Bytes mvText;
  Append32(mvText, 2);
  Append32(mvText, 12);
  Append32(mvText, 16);
  for (uint8_t b : Utf16(u"ab")) mvText.push_back(b);
  for (uint8_t b : Utf16(u"xyz")) mvText.push_back(b);
  props[0x0001] = {kPtMultiValue | kPtUnicode, mvText};
  Bytes mvLong = Le(7, 4);
  for (uint8_t b : Le(static_cast<uint32_t>(-9), 4)) mvLong.push_back(b);
  props[0x0002] = {kPtMultiValue | kPtLong, mvLong};
  Bytes badOffsets;
  Append32(badOffsets, 3);  // three values, offsets past the end
  Append32(badOffsets, 200);
  props[0x0003] = {kPtMultiValue | kPtString8, badOffsets};
  std::map<uint32_t, Bytes> subnodes;
  NodeEntry node;
  auto file = FileWithNode(BuildPropertyContext(props, &subnodes), subnodes, &node);
  PropertyContext pc(*file, node, "test");
  EXPECT_EQ(pc.Get(0x0001)->AsUtf8List(1252), (std::vector<std::string>{"ab", "xyz"}));
  EXPECT_EQ(pc.Get(0x0002)->AsIntList(), (std::vector<int64_t>{7, -9}));
  EXPECT_EQ(KindOf([&] { pc.Get(0x0003)->AsUtf8List(1252); }), ErrorKind::kTruncated);
}

TEST(PropertyContext, LargeValuesLiveInSubnodesAndStreamOnDemand) {
  Bytes big(20000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  std::map<uint16_t, Prop> props;
  props[0x3701] = {kPtBinary, big, true};
  std::map<uint32_t, Bytes> subnodes;
  Bytes heap = BuildPropertyContext(props, &subnodes);
  ASSERT_EQ(subnodes.size(), 1u);
  // Store the 20000 bytes as an XBLOCK over three data blocks.
  FileBuilder builder;
  Bytes xblock{kBlockTypeXBlock, 1, 3, 0};
  Append32(xblock, 20000);
  for (size_t start = 0; start < big.size(); start += 8000) {
    const size_t n = std::min<size_t>(8000, big.size() - start);
    Append64(xblock, builder.AddBlock(Bytes(big.begin() + start, big.begin() + start + n)));
  }
  const uint64_t dataTree = builder.AddTreeBlock(xblock);
  const uint64_t sub = builder.AddTreeBlock(BuildSubnodeBlock({{subnodes.begin()->first, dataTree, 0, 0}}));
  builder.AddNode(0x21, builder.AddBlock(heap), sub);
  PstFile file(MemorySource(builder.Build()));
  PropertyContext pc(file, file.GetNode(0x21), "test");
  Stream stream = pc.OpenStream(0x3701);
  EXPECT_EQ(stream.Size(), 20000u);
  Bytes part(10);
  stream.Read(7995, part.data(), part.size());
  EXPECT_TRUE(std::equal(part.begin(), part.end(), big.begin() + 7995));
  EXPECT_EQ(pc.Get(0x3701)->bytes, big);
  EXPECT_EQ(KindOf([&] { stream.Read(19995, part.data(), part.size()); }), ErrorKind::kInvalidArgument);
}

TEST(PropertyContext, ValueInAMissingSubnodeIsNotFound) {
  std::map<uint16_t, Prop> props;
  props[0x0037] = {kPtUnicode, Utf16(u"x"), true};
  std::map<uint32_t, Bytes> subnodes;
  Bytes heap = BuildPropertyContext(props, &subnodes);
  NodeEntry node;
  auto file = FileWithNode(heap, {}, &node);  // subnode dropped
  PropertyContext pc(*file, node, "test");
  EXPECT_TRUE(pc.Has(0x0037));
  EXPECT_EQ(KindOf([&] { pc.Get(0x0037); }), ErrorKind::kNotFound);
}

TEST(Heap, DamagedHeapsAreCorruptNotCrashes) {
  std::map<uint32_t, Bytes> none;
  NodeEntry node;
  {
    Bytes heap = BuildPropertyContext({{1, {kPtLong, Le(1, 4)}}}, &none);
    heap[2] = 0xED;  // heap signature
    auto file = FileWithNode(heap, none, &node);
    EXPECT_EQ(KindOf([&] { PropertyContext(*file, node, "test"); }), ErrorKind::kCorrupt);
  }
  {
    Bytes heap = BuildPropertyContext({{1, {kPtLong, Le(1, 4)}}}, &none);
    heap[3] = kHeapClientTableContext;  // a PC read as something else
    auto file = FileWithNode(heap, none, &node);
    EXPECT_EQ(KindOf([&] { PropertyContext(*file, node, "test"); }), ErrorKind::kCorrupt);
  }
  {
    Bytes heap = BuildPropertyContext({{1, {kPtLong, Le(1, 4)}}}, &none);
    Put32(heap, 4, MakeHid(0, 40));  // user root beyond the allocations
    auto file = FileWithNode(heap, none, &node);
    EXPECT_EQ(KindOf([&] { PropertyContext(*file, node, "test"); }), ErrorKind::kCorrupt);
  }
  {
    Bytes heap = BuildPropertyContext({{1, {kPtLong, Le(1, 4)}}}, &none);
    Put16(heap, 0, static_cast<uint16_t>(heap.size() + 100));  // page map past the block
    auto file = FileWithNode(heap, none, &node);
    EXPECT_EQ(KindOf([&] { PropertyContext(*file, node, "test"); }), ErrorKind::kTruncated);
  }
}

TEST(Heap, BthThatNamesItselfEndsWithAnError) {
  // An index level whose record points back at its own heap item, with the deepest level count.
  HeapBuilder heap(kHeapClientPropertyContext);
  Bytes records;
  Append16(records, 1);
  Append32(records, MakeHid(0, 1));
  Append16(records, 2);
  Append32(records, MakeHid(0, 1));
  const uint32_t self = heap.Add(records);
  ASSERT_EQ(self, MakeHid(0, 1));
  Bytes header{kHeapClientBth, 2, 6, 8};
  Append32(header, self);
  heap.SetUserRoot(heap.Add(header));
  NodeEntry node;
  auto file = FileWithNode(heap.Build(), {}, &node);
  EXPECT_EQ(KindOf([&] { PropertyContext(*file, node, "test"); }), ErrorKind::kCorrupt);
}

TEST(TableContext, RowsInTheHeapWithPresentAndAbsentCells) {
  const uint32_t kName = MakeTag(0x3001, kPtUnicode);
  const uint32_t kType = MakeTag(0x0C15, kPtLong);
  const uint32_t kTime = MakeTag(0x3007, kPtSysTime);
  const uint32_t kFlag = MakeTag(0x0E1F, kPtBoolean);
  std::vector<std::map<uint32_t, Bytes>> rows = {
      {{kName, Utf16(u"Ann")}, {kType, Le(1, 4)}, {kTime, Le(5, 8)}, {kFlag, Le(1, 1)}},
      {{kType, Le(2, 4)}},
      {{kName, Utf16(u"")}, {kType, Le(3, 4)}}};
  NodeEntry node;
  auto file =
      FileWithNode(BuildTableContext({kName, kType, kTime, kFlag}, rows, {0x10, 0x20, 0x30}), {}, &node);
  TableContext table(*file, node, "test");
  ASSERT_EQ(table.RowCount(), 3u);
  EXPECT_EQ(table.RowId(0), 0x10u);
  EXPECT_EQ(table.RowId(2), 0x30u);
  EXPECT_EQ(table.Cell(0, 0x3001)->AsUtf8(1252), "Ann");
  EXPECT_EQ(table.Cell(0, 0x3007)->AsInt(), 5);
  EXPECT_TRUE(table.Cell(0, 0x0E1F)->AsBool());
  EXPECT_FALSE(table.Cell(1, 0x3001).has_value());
  EXPECT_EQ(table.Cell(1, 0x0C15)->AsInt(), 2);
  EXPECT_EQ(table.Cell(2, 0x3001)->AsUtf8(1252), "");
  EXPECT_FALSE(table.Cell(0, 0x9999).has_value());
  EXPECT_TRUE(table.HasColumn(0x0C15));
  EXPECT_EQ(KindOf([&] { table.RowId(3); }), ErrorKind::kInvalidArgument);
}

TEST(TableContext, ManyRowsInASubnode) {
  const uint32_t kType = MakeTag(0x0C15, kPtLong);
  std::vector<std::map<uint32_t, Bytes>> rows;
  std::vector<uint32_t> ids;
  for (uint32_t i = 0; i < 300; ++i) {
    rows.push_back({{kType, Le(i, 4)}});
    ids.push_back(MakeNid(kNidTypeNormalMessage, 0x400 + i));
  }
  std::map<uint32_t, Bytes> subnodes;
  const uint32_t rowsNid = MakeNid(kNidTypeLtp, 0x80);
  Bytes heap = BuildTableContext({kType}, rows, ids, rowsNid, &subnodes);
  NodeEntry node;
  auto file = FileWithNode(heap, subnodes, &node);
  TableContext table(*file, node, "test");
  ASSERT_EQ(table.RowCount(), 300u);
  EXPECT_EQ(table.RowId(299), MakeNid(kNidTypeNormalMessage, 0x400 + 299));
  EXPECT_EQ(table.Cell(150, 0x0C15)->AsInt(), 150);
}

TEST(TableContext, ColumnOutsideTheRowIsCorrupt) {
  const uint32_t kType = MakeTag(0x0C15, kPtLong);
  Bytes heap = BuildTableContext({kType}, {{{kType, Le(1, 4)}}}, {0x10});
  const Bytes tag = Le(kType, 4);
  auto it = std::search(heap.begin(), heap.end(), tag.begin(), tag.end());
  ASSERT_NE(it, heap.end());
  Put16(heap, (it - heap.begin()) + 4, 200);  // the column's ibData
  NodeEntry node;
  auto file = FileWithNode(heap, {}, &node);
  EXPECT_EQ(KindOf([&] { TableContext(*file, node, "test"); }), ErrorKind::kCorrupt);
}

TEST(PropertyContext, BthWithAnIndexLevel) {
  // Two leaf items under one index item: keys 1..3 and 7..8.
  HeapBuilder heap(kHeapClientPropertyContext);
  auto leaf = [](std::initializer_list<uint16_t> ids) {
    Bytes records;
    for (uint16_t id : ids) {
      Append16(records, id);
      Append16(records, kPtLong);
      Append32(records, id * 100u);
    }
    return records;
  };
  const uint32_t low = heap.Add(leaf({1, 2, 3}));
  const uint32_t high = heap.Add(leaf({7, 8}));
  Bytes index;
  Append16(index, 1);
  Append32(index, low);
  Append16(index, 7);
  Append32(index, high);
  const uint32_t indexHid = heap.Add(index);
  Bytes header{kHeapClientBth, 2, 6, 1};
  Append32(header, indexHid);
  heap.SetUserRoot(heap.Add(header));
  NodeEntry node;
  auto file = FileWithNode(heap.Build(), {}, &node);
  PropertyContext pc(*file, node, "test");
  EXPECT_EQ(pc.Tags().size(), 5u);
  EXPECT_EQ(pc.Get(3)->AsInt(), 300);
  EXPECT_EQ(pc.Get(8)->AsInt(), 800);
  EXPECT_FALSE(pc.Has(5));
}

TEST(TableContext, RowsSpanSeveralBlocksWithoutSplittingARow) {
  const uint32_t kType = MakeTag(0x0C15, kPtLong);
  std::vector<std::map<uint32_t, Bytes>> rows;
  std::vector<uint32_t> ids;
  for (uint32_t i = 0; i < 1000; ++i) {
    rows.push_back({{kType, Le(i, 4)}});
    ids.push_back(MakeNid(kNidTypeNormalMessage, 0x400 + i));
  }
  std::map<uint32_t, Bytes> subnodes;
  const uint32_t rowsNid = MakeNid(kNidTypeLtp, 0x80);
  Bytes heap = BuildTableContext({kType}, rows, ids, rowsNid, &subnodes);
  const Bytes& matrix = subnodes[rowsNid];
  const size_t rowSize = matrix.size() / rows.size();
  const size_t perBlock = kMaxBlockDataUnicode / rowSize;
  ASSERT_GT(matrix.size(), kMaxBlockDataUnicode);
  FileBuilder builder;
  Bytes xblock{kBlockTypeXBlock, 1, 0, 0};
  Append32(xblock, static_cast<uint32_t>(matrix.size()));
  uint16_t blocks = 0;
  for (size_t at = 0; at < matrix.size(); at += perBlock * rowSize, ++blocks)
    Append64(xblock,
             builder.AddBlock(Bytes(matrix.begin() + at,
                                    matrix.begin() + std::min(matrix.size(), at + perBlock * rowSize))));
  Put16(xblock, 2, blocks);
  const uint64_t sub =
      builder.AddTreeBlock(BuildSubnodeBlock({{rowsNid, builder.AddTreeBlock(xblock), 0, 0}}));
  builder.AddNode(0x21, builder.AddBlock(heap), sub);
  PstFile file(MemorySource(builder.Build()));
  TableContext table(file, file.GetNode(0x21), "test");
  ASSERT_EQ(table.RowCount(), 1000u);
  for (size_t row : {size_t{0}, perBlock - 1, perBlock, perBlock + 1, size_t{999}}) {
    EXPECT_EQ(table.RowId(row), MakeNid(kNidTypeNormalMessage, 0x400 + static_cast<uint32_t>(row)));
    EXPECT_EQ(table.Cell(row, 0x0C15)->AsInt(), static_cast<int64_t>(row));
  }
}
