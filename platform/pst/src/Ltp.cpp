// Heap-on-node, BTH, property and table contexts.
#include "pst/Ltp.h"

#include <algorithm>
#include <cstring>

#include "pst/ByteReader.h"
#include "pst/CodePage.h"
#include "pst/format/Layout.h"

namespace pst {

using namespace format;

namespace {

// Property ids are 16-bit, so no sound BTH holds more records; a hostile one that names the same
// heap items over and over stops here.
constexpr size_t kMaxBthRecords = 70000;

bool IsInlineInTable(uint16_t type) {
  if (type & kPtMultiValue) return false;
  const size_t size = FixedTypeSize(type);
  return size > 0 && size <= 8;
}

bool IsInlineInPropertyContext(uint16_t type) {
  if (type & kPtMultiValue) return false;
  const size_t size = FixedTypeSize(type);
  return size > 0 && size <= 4;
}

uint32_t ReadLe32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

// ---- PropValue -------------------------------------------------------------------------------

bool PropValue::IsString() const {
  const uint16_t base = type & ~kPtMultiValue;
  return base == kPtUnicode || base == kPtString8;
}

int64_t PropValue::AsInt() const {
  auto le = [&](size_t n) {
    uint64_t v = 0;
    for (size_t i = 0; i < n && i < bytes.size(); ++i) v |= uint64_t{bytes[i]} << (8 * i);
    return v;
  };
  switch (type) {
    case kPtShort:
      return static_cast<int16_t>(le(2));
    case kPtLong:
    case kPtError:
      return static_cast<int32_t>(le(4));
    case kPtBoolean: {
      for (uint8_t b : bytes)
        if (b) return 1;
      return 0;
    }
    case kPtI8:
    case kPtSysTime:
    case kPtCurrency:
      return static_cast<int64_t>(le(8));
    default:
      return 0;
  }
}

std::string PropValue::AsUtf8(uint32_t codePage) const {
  std::string out;
  const uint16_t base = type & ~kPtMultiValue;
  if (base == kPtUnicode) {
    out = Utf16LeToUtf8(bytes.data(), bytes.size());
  } else if (base == kPtString8) {
    out = DecodeAnsi(bytes.data(), bytes.size(), codePage);
  } else {
    out.assign(bytes.begin(), bytes.end());
    return out;
  }
  while (!out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

std::vector<std::vector<uint8_t>> PropValue::AsBinaryList() const {
  std::vector<std::vector<uint8_t>> out;
  if (!(type & kPtMultiValue) || FixedTypeSize(type) != 0) return out;
  ByteReader reader(bytes.data(), bytes.size(), "multi-valued property");
  if (bytes.empty()) return out;
  const uint32_t count = reader.U32(0, "value count");
  reader.Require(4, size_t{count} * 4, "value offsets");
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t start = reader.U32(4 + i * 4, "offset");
    const uint32_t end =
        i + 1 < count ? reader.U32(8 + i * 4, "offset") : static_cast<uint32_t>(bytes.size());
    if (end < start) reader.Fail("value offsets out of order");
    const uint8_t* p = reader.Bytes(start, end - start, "value");
    out.emplace_back(p, p + (end - start));
  }
  return out;
}

std::vector<std::string> PropValue::AsUtf8List(uint32_t codePage) const {
  std::vector<std::string> out;
  for (auto& item : AsBinaryList()) {
    PropValue one{static_cast<uint16_t>(type & ~kPtMultiValue), std::move(item)};
    out.push_back(one.AsUtf8(codePage));
  }
  return out;
}

std::vector<int64_t> PropValue::AsIntList() const {
  std::vector<int64_t> out;
  const uint16_t base = type & ~kPtMultiValue;
  const size_t size = FixedTypeSize(base);
  if (!(type & kPtMultiValue) || size == 0 || size > 8) return out;
  for (size_t at = 0; at + size <= bytes.size(); at += size) {
    PropValue one{base, std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + size)};
    out.push_back(one.AsInt());
  }
  return out;
}

// ---- Stream ------------------------------------------------------------------------------------

void Stream::Read(uint64_t offset, void* buffer, size_t size) const {
  if (file_) {
    file_->ReadRange(tree_, offset, buffer, size);
    return;
  }
  if (offset > bytes_.size() || size > bytes_.size() - offset)
    throw PstError(ErrorKind::kInvalidArgument, "read past the end of a stream");
  if (size) std::memcpy(buffer, bytes_.data() + offset, size);
}

std::vector<uint8_t> Stream::ReadAll(uint64_t limit) const {
  if (file_) return file_->ReadAll(tree_, limit);
  return bytes_;
}

// ---- Heap ----------------------------------------------------------------------------------------

Heap::Heap(PstFile& file, uint64_t bidData, std::string what)
    : file_(file), tree_(file.ReadDataTree(bidData)), what_(std::move(what)) {
  if (tree_.blocks.empty()) throw PstError(ErrorKind::kCorrupt, "corrupt " + what_ + ": node has no data");
  Block first = file_.ReadBlock(tree_.blocks[0]);
  ByteReader reader(first->data(), first->size(), what_ + " heap");
  const auto header = reader.Read<HnHeader>(0, "heap header");
  if (header.bSig != kHeapSignature) reader.Fail("heap signature " + Hex(header.bSig));
  clientSig_ = header.bClientSig;
  userRoot_ = header.hidUserRoot;
}

std::vector<uint8_t> Heap::Item(uint32_t hid) const {
  if (hid == 0) return {};
  if (!HnidIsHid(hid))
    throw PstError(ErrorKind::kCorrupt, "corrupt " + what_ + ": " + Hex(hid) + " is not a heap id");
  const uint32_t blockIndex = HidBlockIndexOf(hid);
  const uint32_t index = HidIndexOf(hid);
  if (blockIndex >= tree_.blocks.size() || index == 0)
    throw PstError(ErrorKind::kCorrupt, "corrupt " + what_ + ": heap id " + Hex(hid) + " out of range");
  Block block = file_.ReadBlock(tree_.blocks[blockIndex]);
  ByteReader reader(block->data(), block->size(), what_ + " heap block " + std::to_string(blockIndex));
  const uint16_t ibHnpm = reader.U16(0, "page map offset");
  const auto map = reader.Read<HnPageMapHeader>(ibHnpm, "page map");
  if (index > map.cAlloc)
    reader.Fail("heap id " + Hex(hid) + " beyond " + std::to_string(map.cAlloc) + " items");
  const uint16_t start = reader.U16(ibHnpm + 4 + (index - 1) * 2, "item offset");
  const uint16_t end = reader.U16(ibHnpm + 4 + index * 2, "item offset");
  if (end < start || end > ibHnpm)
    reader.Fail("item " + std::to_string(index) + " spans " + std::to_string(start) + ".." +
                std::to_string(end));
  const uint8_t* p = reader.Bytes(start, end - start, "heap item");
  return std::vector<uint8_t>(p, p + (end - start));
}

// ---- BTH -------------------------------------------------------------------------------------------

namespace {

void WalkBthLevel(const Heap& heap, uint32_t hid, int level, size_t keySize, size_t dataSize, size_t* budget,
                  const std::function<void(const uint8_t*, const uint8_t*)>& visit) {
  std::vector<uint8_t> item = heap.Item(hid);
  const size_t record = keySize + (level > 0 ? 4 : dataSize);
  ByteReader reader(item.data(), item.size(), heap.What() + " BTH node " + Hex(hid));
  if (item.size() % record != 0)
    reader.Fail("size " + std::to_string(item.size()) + " is not a multiple of " + std::to_string(record));
  for (size_t at = 0; at < item.size(); at += record) {
    if (*budget == 0) reader.Fail("too many records");
    --*budget;
    if (level > 0) {
      WalkBthLevel(heap, ReadLe32(item.data() + at + keySize), level - 1, keySize, dataSize, budget, visit);
    } else {
      visit(item.data() + at, item.data() + at + keySize);
    }
  }
}

}  // namespace

void WalkBth(const Heap& heap, uint32_t hid, size_t* keySize, size_t* dataSize,
             const std::function<void(const uint8_t*, const uint8_t*)>& visit) {
  std::vector<uint8_t> item = heap.Item(hid);
  ByteReader reader(item.data(), item.size(), heap.What() + " BTH header");
  const auto header = reader.Read<BthHeader>(0, "BTH header");
  if (header.bType != kHeapClientBth) reader.Fail("type " + Hex(header.bType));
  if ((header.cbKey != 2 && header.cbKey != 4 && header.cbKey != 8 && header.cbKey != 16) ||
      header.cbEnt == 0 || header.cbEnt > 32 || header.bIdxLevels > 8)
    reader.Fail("key/data sizes " + std::to_string(header.cbKey) + "/" + std::to_string(header.cbEnt));
  *keySize = header.cbKey;
  *dataSize = header.cbEnt;
  if (header.hidRoot == 0) return;
  size_t budget = kMaxBthRecords;
  WalkBthLevel(heap, header.hidRoot, header.bIdxLevels, header.cbKey, header.cbEnt, &budget, visit);
}

// ---- Property context --------------------------------------------------------------------------------

PropertyContext::PropertyContext(PstFile& file, const NodeEntry& node, std::string what)
    : PropertyContext(file, node.bidData, node.bidSub, std::move(what)) {}

PropertyContext::PropertyContext(PstFile& file, uint64_t bidData, uint64_t bidSub, std::string what)
    : heap_(file, bidData, what), subnodes_(std::make_shared<SubnodeMap>(file.ReadSubnodes(bidSub))) {
  if (heap_.ClientSignature() != kHeapClientPropertyContext)
    throw PstError(ErrorKind::kCorrupt,
                   "corrupt " + what + ": not a property context (" + Hex(heap_.ClientSignature()) + ")");
  size_t keySize = 0, dataSize = 0;
  WalkBth(heap_, heap_.UserRoot(), &keySize, &dataSize, [&](const uint8_t* key, const uint8_t* data) {
    uint16_t id, type;
    std::memcpy(&id, key, 2);
    std::memcpy(&type, data, 2);
    entries_[id] = Entry{type, ReadLe32(data + 2)};
  });
  if (!entries_.empty() && (keySize != 2 || dataSize != 6))
    throw PstError(ErrorKind::kCorrupt, "corrupt " + what + ": property context record sizes");
}

std::vector<uint32_t> PropertyContext::Tags() const {
  std::vector<uint32_t> tags;
  for (const auto& [id, entry] : entries_) tags.push_back(MakeTag(id, entry.type));
  return tags;
}

uint16_t PropertyContext::TypeOf(uint16_t id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? 0 : it->second.type;
}

std::optional<PropValue> PropertyContext::Get(uint16_t id) const {
  auto it = entries_.find(id);
  if (it == entries_.end()) return std::nullopt;
  PropValue value;
  value.type = it->second.type;
  const uint32_t raw = it->second.value;
  if (IsInlineInPropertyContext(value.type)) {
    const size_t size = FixedTypeSize(value.type);
    for (size_t i = 0; i < size; ++i) value.bytes.push_back(static_cast<uint8_t>(raw >> (8 * i)));
    return value;
  }
  if (raw == 0) return value;
  if (HnidIsHid(raw)) {
    value.bytes = heap_.Item(raw);
  } else {
    auto sub = subnodes_->find(raw);
    if (sub == subnodes_->end())
      throw PstError(ErrorKind::kNotFound,
                     heap_.What() + ": subnode " + Hex(raw) + " of property " + Hex(id) + " not found");
    value.bytes = heap_.File().ReadAll(heap_.File().ReadDataTree(sub->second.bidData));
  }
  return value;
}

Stream PropertyContext::OpenStream(uint16_t id) const {
  auto it = entries_.find(id);
  if (it == entries_.end()) return Stream();
  const uint32_t raw = it->second.value;
  if (!IsInlineInPropertyContext(it->second.type) && raw != 0 && !HnidIsHid(raw)) {
    auto sub = subnodes_->find(raw);
    if (sub == subnodes_->end())
      throw PstError(ErrorKind::kNotFound, heap_.What() + ": subnode " + Hex(raw) + " not found");
    return Stream(&heap_.File(), heap_.File().ReadDataTree(sub->second.bidData));
  }
  auto value = Get(id);
  return Stream(value ? std::move(value->bytes) : std::vector<uint8_t>());
}

// ---- Table context -----------------------------------------------------------------------------------

TableContext::TableContext(PstFile& file, const NodeEntry& node, std::string what)
    : TableContext(file, node.bidData, node.bidSub, std::move(what)) {}

TableContext::TableContext(PstFile& file, uint64_t bidData, uint64_t bidSub, std::string what)
    : heap_(file, bidData, what), subnodes_(std::make_shared<SubnodeMap>(file.ReadSubnodes(bidSub))) {
  if (heap_.ClientSignature() != kHeapClientTableContext)
    throw PstError(ErrorKind::kCorrupt,
                   "corrupt " + what + ": not a table context (" + Hex(heap_.ClientSignature()) + ")");
  std::vector<uint8_t> info = heap_.Item(heap_.UserRoot());
  ByteReader reader(info.data(), info.size(), what + " table info");
  const auto header = reader.Read<TcInfoHeader>(0, "TCINFO");
  if (header.bType != kHeapClientTableContext) reader.Fail("type " + Hex(header.bType));
  rowSize_ = header.rgib[kTciBm];
  cebOffset_ = header.rgib[kTci1b];
  if (header.rgib[kTci4b] > header.rgib[kTci2b] || header.rgib[kTci2b] > cebOffset_ ||
      cebOffset_ + (header.cCols + 7) / 8 > rowSize_)
    reader.Fail("row layout");
  for (size_t i = 0; i < header.cCols; ++i) {
    const auto col = reader.Read<TcColDesc>(sizeof header + i * sizeof(TcColDesc), "column");
    if (col.ibData + size_t{col.cbData} > cebOffset_ || col.iBit >= header.cCols)
      reader.Fail("column " + Hex(col.tag) + " outside the row");
    const uint16_t type = TagType(col.tag);
    // Some writers give a cell more room than its type needs; the value is its first bytes.
    if (col.cbData < (IsInlineInTable(type) ? FixedTypeSize(type) : 4))
      reader.Fail("column " + Hex(col.tag) + " has size " + std::to_string(col.cbData));
    columns_.push_back({col.tag, col.ibData, col.cbData, col.iBit});
  }
  const uint32_t hnidRows = header.hnidRows;  // copied out of the packed struct
  if (rowSize_ == 0 || hnidRows == 0) return;
  if (HnidIsHid(hnidRows)) {
    heapRows_ = heap_.Item(hnidRows);
    rowCount_ = heapRows_.size() / rowSize_;
    return;
  }
  auto sub = subnodes_->find(hnidRows);
  if (sub == subnodes_->end()) reader.Fail("row subnode " + Hex(hnidRows) + " not found");
  rowTree_ = file.ReadDataTree(sub->second.bidData);
  for (size_t i = 0; i < rowTree_.blocks.size(); ++i) {
    const uint64_t end = i + 1 < rowTree_.blocks.size() ? rowTree_.starts[i + 1] : rowTree_.size;
    firstRowOfBlock_.push_back(rowCount_);
    rowCount_ += static_cast<size_t>((end - rowTree_.starts[i]) / rowSize_);
  }
}

std::vector<uint32_t> TableContext::Columns() const {
  std::vector<uint32_t> tags;
  for (const auto& c : columns_) tags.push_back(c.tag);
  return tags;
}

bool TableContext::HasColumn(uint16_t id) const {
  for (const auto& c : columns_)
    if (TagId(c.tag) == id) return true;
  return false;
}

std::vector<uint8_t> TableContext::RowBytes(size_t row) const {
  if (row >= rowCount_)
    throw PstError(ErrorKind::kInvalidArgument, "row " + std::to_string(row) + " out of range");
  if (!heapRows_.empty() || firstRowOfBlock_.empty()) {
    const size_t at = row * rowSize_;
    return std::vector<uint8_t>(heapRows_.begin() + at, heapRows_.begin() + at + rowSize_);
  }
  size_t i =
      std::upper_bound(firstRowOfBlock_.begin(), firstRowOfBlock_.end(), row) - firstRowOfBlock_.begin() - 1;
  Block block = heap_.File().ReadBlock(rowTree_.blocks[i]);
  const size_t at = (row - firstRowOfBlock_[i]) * rowSize_;
  ByteReader reader(block->data(), block->size(), heap_.What() + " rows");
  const uint8_t* p = reader.Bytes(at, rowSize_, "row");
  return std::vector<uint8_t>(p, p + rowSize_);
}

uint32_t TableContext::RowId(size_t row) const {
  std::vector<uint8_t> bytes = RowBytes(row);
  ByteReader reader(bytes.data(), bytes.size(), heap_.What() + " row");
  return reader.U32(0, "row id");
}

PropValue TableContext::Resolve(uint16_t type, uint32_t hnid) const {
  PropValue value;
  value.type = type;
  if (hnid == 0) return value;
  if (HnidIsHid(hnid)) {
    value.bytes = heap_.Item(hnid);
    return value;
  }
  auto sub = subnodes_->find(hnid);
  if (sub == subnodes_->end())
    throw PstError(ErrorKind::kNotFound, heap_.What() + ": cell subnode " + Hex(hnid) + " not found");
  value.bytes = heap_.File().ReadAll(heap_.File().ReadDataTree(sub->second.bidData));
  return value;
}

std::optional<PropValue> TableContext::Cell(size_t row, uint16_t id) const {
  const Column* column = nullptr;
  for (const auto& c : columns_)
    if (TagId(c.tag) == id) column = &c;
  if (!column) return std::nullopt;
  std::vector<uint8_t> bytes = RowBytes(row);
  if (!(bytes[cebOffset_ + column->bit / 8] & (0x80 >> (column->bit % 8)))) return std::nullopt;
  const uint16_t type = TagType(column->tag);
  if (IsInlineInTable(type)) {
    PropValue value;
    value.type = type;
    value.bytes.assign(bytes.begin() + column->ib, bytes.begin() + column->ib + FixedTypeSize(type));
    return value;
  }
  return Resolve(type, ReadLe32(bytes.data() + column->ib));
}

}  // namespace pst
