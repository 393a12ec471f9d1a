// Heap-on-node pages, BTHs, property contexts and table contexts of the test-file writer.
#include "LtpWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pstbuilder {

namespace fmt = pst::format;

namespace {

constexpr size_t kMaxHeapItem = 3580;
constexpr size_t kPageBytes = fmt::kMaxBlockDataUnicode;

uint8_t FillLevel(size_t freeBytes) {
  static const size_t kFloors[] = {3584, 2560, 2048, 1792, 1536, 1280, 1024, 768,
                                   512,  256,  128,  64,   32,   16,   8};
  for (uint8_t level = 0; level < 15; ++level)
    if (freeBytes >= kFloors[level]) return level;
  return 15;
}

size_t PageMapBytes(size_t items) { return sizeof(fmt::HnPageMapHeader) + 2 * (items + 1); }

void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) { std::memcpy(v.data() + at, &x, 2); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { std::memcpy(v.data() + at, &x, 4); }

std::vector<uint8_t> Le(uint64_t v, size_t n) {
  std::vector<uint8_t> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
  return out;
}

}  // namespace

HeapWriter::HeapWriter(uint8_t clientSig) : clientSig_(clientSig) { pages_.emplace_back(); }

size_t HeapWriter::HeaderSize(size_t pageIndex) {
  if (pageIndex == 0) return sizeof(fmt::HnHeader);
  return fmt::HeapBlockHasBitmap(pageIndex) ? sizeof(fmt::HnBitmapHeader) : sizeof(fmt::HnPageHeader);
}

uint32_t HeapWriter::Allocate(const std::vector<uint8_t>& data) {
  if (data.size() > kMaxHeapItem) throw std::logic_error("heap item larger than 3580 bytes");
  auto fits = [&](const Page& p, size_t index) {
    const size_t used = HeaderSize(index) + p.bytes + data.size() + 1 + PageMapBytes(p.items.size() + 1);
    return used <= kPageBytes && p.items.size() < 2047;
  };
  if (!fits(pages_.back(), pages_.size() - 1)) pages_.emplace_back();
  Page& page = pages_.back();
  page.items.push_back(data);
  page.bytes += data.size();
  return fmt::MakeHid(static_cast<uint32_t>(pages_.size() - 1), static_cast<uint32_t>(page.items.size()));
}

std::vector<std::vector<uint8_t>> HeapWriter::Pages() const {
  std::vector<std::vector<uint8_t>> out;
  std::vector<uint8_t> levels;
  for (size_t i = 0; i < pages_.size(); ++i) {
    const Page& p = pages_[i];
    const size_t header = HeaderSize(i);
    size_t mapAt = header + p.bytes;
    mapAt += mapAt & 1;
    std::vector<uint8_t> block(mapAt + PageMapBytes(p.items.size()), 0);
    size_t at = header;
    std::vector<uint16_t> offsets;
    for (const auto& item : p.items) {
      offsets.push_back(static_cast<uint16_t>(at));
      if (!item.empty()) std::memcpy(block.data() + at, item.data(), item.size());
      at += item.size();
    }
    offsets.push_back(static_cast<uint16_t>(at));
    Put16(block, 0, static_cast<uint16_t>(mapAt));
    Put16(block, mapAt, static_cast<uint16_t>(p.items.size()));
    Put16(block, mapAt + 2, 0);
    for (size_t k = 0; k < offsets.size(); ++k) Put16(block, mapAt + 4 + 2 * k, offsets[k]);
    levels.push_back(FillLevel(kPageBytes - block.size()));
    out.push_back(std::move(block));
  }
  // Fill levels, four bits per page, low nibble first: pages 0-7 in the heap header, each
  // bitmap page for itself and the 127 after it.
  auto putLevels = [&](std::vector<uint8_t>& block, size_t at, size_t first, size_t count) {
    for (size_t k = 0; k < count && first + k < levels.size(); ++k)
      block[at + k / 2] |= static_cast<uint8_t>(levels[first + k] << ((k % 2) * 4));
  };
  out[0][2] = fmt::kHeapSignature;
  out[0][3] = clientSig_;
  Put32(out[0], 4, userRoot_);
  putLevels(out[0], 8, 0, 8);
  for (size_t i = 8; i < out.size(); ++i)
    if (fmt::HeapBlockHasBitmap(i)) putLevels(out[i], 2, i, 128);
  return out;
}

uint32_t WriteBth(HeapWriter& heap, uint8_t cbKey, uint8_t cbEnt,
                  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> records) {
  auto keyValue = [](const std::vector<uint8_t>& k) {
    uint64_t v = 0;
    for (size_t i = k.size(); i-- > 0;) v = (v << 8) | k[i];
    return v;
  };
  std::stable_sort(records.begin(), records.end(),
                   [&](const auto& a, const auto& b) { return keyValue(a.first) < keyValue(b.first); });
  uint8_t levels = 0;
  uint32_t root = 0;
  if (!records.empty()) {
    std::vector<std::pair<std::vector<uint8_t>, uint32_t>> level;
    const size_t perLeaf = kMaxHeapItem / (cbKey + cbEnt);
    for (size_t i = 0; i < records.size(); i += perLeaf) {
      std::vector<uint8_t> item;
      for (size_t k = i; k < std::min(records.size(), i + perLeaf); ++k) {
        item.insert(item.end(), records[k].first.begin(), records[k].first.end());
        item.insert(item.end(), records[k].second.begin(), records[k].second.end());
      }
      level.push_back({records[i].first, heap.Allocate(item)});
    }
    const size_t perIndex = kMaxHeapItem / (cbKey + 4);
    while (level.size() > 1) {
      ++levels;
      std::vector<std::pair<std::vector<uint8_t>, uint32_t>> upper;
      for (size_t i = 0; i < level.size(); i += perIndex) {
        std::vector<uint8_t> item;
        for (size_t k = i; k < std::min(level.size(), i + perIndex); ++k) {
          item.insert(item.end(), level[k].first.begin(), level[k].first.end());
          const auto hid = Le(level[k].second, 4);
          item.insert(item.end(), hid.begin(), hid.end());
        }
        upper.push_back({level[i].first, heap.Allocate(item)});
      }
      level.swap(upper);
    }
    root = level[0].second;
  }
  std::vector<uint8_t> header(sizeof(fmt::BthHeader));
  header[0] = fmt::kHeapClientBth;
  header[1] = cbKey;
  header[2] = cbEnt;
  header[3] = levels;
  Put32(header, 4, root);
  return heap.Allocate(header);
}

uint32_t NodeBuilder::StoreValue(const std::vector<uint8_t>& data) {
  if (data.size() <= kMaxHeapItem) return heap_.Allocate(data);
  const uint32_t nid = NewSubnodeNid(fmt::kNidTypeLtp);
  subnodes_.push_back({nid, ndb_.WriteStream(data), 0});
  return nid;
}

SubnodeRef NodeBuilder::Finish(uint32_t nid) {
  SubnodeRef ref;
  ref.nid = nid;
  ref.bidData = ndb_.WriteBlocks(heap_.Pages());
  ref.bidSub = ndb_.WriteSubnodes(subnodes_);
  return ref;
}

namespace {
bool Inline(uint16_t type) {
  return type == fmt::kPtShort || type == fmt::kPtLong || type == fmt::kPtFloat || type == fmt::kPtBoolean ||
         type == fmt::kPtError;
}
}  // namespace

void BuildPropertyContext(NodeBuilder& node, const std::map<uint16_t, PropValue>& props) {
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> records;
  for (const auto& [id, value] : props) {
    uint32_t hnid = 0;
    if (Inline(value.type)) {
      if (value.data.size() != fmt::FixedTypeSize(value.type))
        throw std::logic_error("value of the wrong size");
      std::memcpy(&hnid, value.data.data(), value.data.size());
    } else {
      hnid = node.StoreValue(value.data);
    }
    std::vector<uint8_t> data = Le(value.type, 2);
    const auto h = Le(hnid, 4);
    data.insert(data.end(), h.begin(), h.end());
    records.push_back({Le(id, 2), data});
  }
  node.Heap().SetUserRoot(WriteBth(node.Heap(), 2, 6, std::move(records)));
}

void BuildTableContext(NodeBuilder& node, std::vector<uint32_t> columns, const std::vector<TableRow>& rows) {
  const uint32_t kRowIdTag = fmt::MakeTag(0x67F2, fmt::kPtLong);
  const uint32_t kRowVerTag = fmt::MakeTag(0x67F3, fmt::kPtLong);
  columns.erase(std::remove_if(columns.begin(), columns.end(),
                               [&](uint32_t t) { return t == kRowIdTag || t == kRowVerTag; }),
                columns.end());
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());

  auto cellSize = [](uint32_t tag) -> size_t {
    const uint16_t type = fmt::TagType(tag);
    const size_t fixed = (type & fmt::kPtMultiValue) ? 0 : fmt::FixedTypeSize(type);
    return (fixed == 1 || fixed == 2 || fixed == 4 || fixed == 8) ? fixed : 4;
  };
  struct Col {
    uint32_t tag;
    uint16_t ib;
    uint8_t cb;
    uint8_t iBit;
  };
  std::vector<Col> layout = {{kRowIdTag, 0, 4, 0}, {kRowVerTag, 4, 4, 1}};
  uint16_t at = 8;
  uint8_t bit = 2;
  uint16_t rgib[4] = {};
  for (size_t group : {size_t{8}, size_t{4}, size_t{2}, size_t{1}}) {
    for (uint32_t tag : columns)
      if (cellSize(tag) == group) {
        layout.push_back({tag, at, static_cast<uint8_t>(group), bit++});
        at = static_cast<uint16_t>(at + group);
      }
    if (group == 4) rgib[fmt::kTci4b] = at;
    if (group == 2) rgib[fmt::kTci2b] = at;
    if (group == 1) rgib[fmt::kTci1b] = at;
  }
  if (layout.size() > 255) throw std::invalid_argument("a table holds at most 255 columns");
  const size_t cebBytes = (layout.size() + 7) / 8;
  rgib[fmt::kTciBm] = static_cast<uint16_t>(at + cebBytes);
  const size_t rowSize = rgib[fmt::kTciBm];

  std::vector<uint8_t> matrix;
  matrix.reserve(rows.size() * rowSize);
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> index;
  for (size_t r = 0; r < rows.size(); ++r) {
    const TableRow& row = rows[r];
    std::vector<uint8_t> cells(rowSize, 0);
    auto setBit = [&](uint8_t b) { cells[at + b / 8] |= static_cast<uint8_t>(0x80 >> (b % 8)); };
    std::memcpy(cells.data(), &row.rowId, 4);
    const uint32_t version = 1;
    std::memcpy(cells.data() + 4, &version, 4);
    setBit(0);
    setBit(1);
    for (size_t c = 2; c < layout.size(); ++c) {
      auto it = row.values.find(layout[c].tag);
      if (it == row.values.end()) continue;
      const PropValue& v = it->second;
      if (v.type != fmt::TagType(layout[c].tag)) throw std::logic_error("table cell of the wrong type");
      const size_t fixed = (v.type & fmt::kPtMultiValue) ? 0 : fmt::FixedTypeSize(v.type);
      if (fixed == layout[c].cb && fixed != 0) {
        std::memcpy(cells.data() + layout[c].ib, v.data.data(), fixed);
      } else {
        const uint32_t hnid = node.StoreValue(v.data);
        std::memcpy(cells.data() + layout[c].ib, &hnid, 4);
      }
      setBit(layout[c].iBit);
    }
    matrix.insert(matrix.end(), cells.begin(), cells.end());
    index.push_back({Le(row.rowId, 4), Le(r, 4)});
  }

  HeapWriter& heap = node.Heap();
  const uint32_t rowIndex = WriteBth(heap, 4, 4, std::move(index));
  uint32_t hnidRows = 0;
  if (!matrix.empty()) {
    if (matrix.size() <= kMaxHeapItem) {
      hnidRows = heap.Allocate(matrix);
    } else {
      // Rows never straddle blocks: each block but the last is filled up to 8176 bytes.
      const size_t perBlock = kPageBytes / rowSize;
      std::vector<std::vector<uint8_t>> parts;
      for (size_t r = 0; r < rows.size(); r += perBlock) {
        const size_t n = std::min(perBlock, rows.size() - r);
        std::vector<uint8_t> part(matrix.begin() + r * rowSize, matrix.begin() + (r + n) * rowSize);
        if (r + n < rows.size()) part.resize(kPageBytes, 0);
        parts.push_back(std::move(part));
      }
      hnidRows = node.NewSubnodeNid(fmt::kNidTypeLtp);
      node.AddSubnode({hnidRows, node.Ndb().WriteBlocks(parts), 0});
    }
  }

  std::sort(layout.begin(), layout.end(), [](const Col& a, const Col& b) { return a.tag < b.tag; });
  std::vector<uint8_t> info(sizeof(fmt::TcInfoHeader) + layout.size() * sizeof(fmt::TcColDesc));
  fmt::TcInfoHeader h{};
  h.bType = fmt::kHeapClientTableContext;
  h.cCols = static_cast<uint8_t>(layout.size());
  std::memcpy(h.rgib, rgib, sizeof(rgib));
  h.hidRowIndex = rowIndex;
  h.hnidRows = hnidRows;
  h.hidIndex = 0;
  std::memcpy(info.data(), &h, sizeof(h));
  for (size_t c = 0; c < layout.size(); ++c) {
    fmt::TcColDesc d{layout[c].tag, layout[c].ib, layout[c].cb, layout[c].iBit};
    std::memcpy(info.data() + sizeof(h) + c * sizeof(d), &d, sizeof(d));
  }
  heap.SetUserRoot(heap.Allocate(info));
}

}  // namespace pstbuilder
