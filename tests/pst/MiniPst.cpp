// Test-only writer of small personal folders files.
#include "MiniPst.h"

#include <algorithm>
#include <cstring>

#include "pst/format/Codec.h"
#include "pst/format/Layout.h"

namespace minipst {

using namespace pst::format;

void Put16(Bytes& b, size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); }
void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }
void Put64(Bytes& b, size_t at, uint64_t v) { std::memcpy(&b[at], &v, 8); }
void Append16(Bytes& b, uint16_t v) { b.resize(b.size() + 2), Put16(b, b.size() - 2, v); }
void Append32(Bytes& b, uint32_t v) { b.resize(b.size() + 4), Put32(b, b.size() - 4, v); }
void Append64(Bytes& b, uint64_t v) { b.resize(b.size() + 8), Put64(b, b.size() - 8, v); }

Bytes Utf16(const std::u16string& text) {
  Bytes out;
  for (char16_t c : text) Append16(out, static_cast<uint16_t>(c));
  return out;
}

Bytes Le(uint64_t value, size_t bytes) {
  Bytes out;
  for (size_t i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return out;
}

Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

uint64_t FileBuilder::AddBlock(const Bytes& data) {
  const uint64_t bid = nextBid_;
  nextBid_ += 4;
  blocks_.push_back({bid, data});
  return bid;
}

uint64_t FileBuilder::AddTreeBlock(const Bytes& data) {
  const uint64_t bid = nextBid_ | 2;
  nextBid_ += 4;
  blocks_.push_back({bid, data});
  return bid;
}

void FileBuilder::AddNode(uint32_t nid, uint64_t bidData, uint64_t bidSub, uint32_t parent) {
  nodes_.push_back({nid, bidData, bidSub, parent});
}

namespace {

struct Ref {
  uint64_t bid;
  uint64_t ib;
};

void WritePage(Bytes& file, uint64_t ib, uint64_t bid, uint8_t ptype, const Bytes& entries, uint8_t cEnt,
               uint8_t cbEnt, uint8_t cLevel, bool unicode) {
  Bytes page(kPageSize, 0);
  std::copy(entries.begin(), entries.end(), page.begin());
  const size_t footer = unicode ? kBtPageEntryBytesUnicode : kBtPageEntryBytesAnsi;
  page[footer] = cEnt;
  page[footer + 1] =
      static_cast<uint8_t>((unicode ? kBtPageEntryBytesUnicode : kBtPageEntryBytesAnsi) / cbEnt);
  page[footer + 2] = cbEnt;
  page[footer + 3] = cLevel;
  const size_t trailer = kPageSize - (unicode ? 16 : 12);
  page[trailer] = ptype;
  page[trailer + 1] = ptype;
  Put16(page, trailer + 2, ComputeSignature(ib, bid));
  const uint32_t crc = ComputeCrc(page.data(), trailer);
  if (unicode) {
    Put32(page, trailer + 4, crc);
    Put64(page, trailer + 8, bid);
  } else {
    Put32(page, trailer + 4, static_cast<uint32_t>(bid));
    Put32(page, trailer + 8, crc);
  }
  if (file.size() < ib + kPageSize) file.resize(ib + kPageSize);
  std::copy(page.begin(), page.end(), file.begin() + ib);
}

// Lays out the leaves, then branch levels over them until one page remains; returns the root.
Ref WriteTree(Bytes& file, uint64_t* nextBid, uint8_t ptype,
              const std::vector<std::pair<uint64_t, Bytes>>& leafEntries, size_t leafSize, bool unicode) {
  const size_t area = unicode ? kBtPageEntryBytesUnicode : kBtPageEntryBytesAnsi;
  std::vector<std::pair<uint64_t, Bytes>> entries = leafEntries;
  size_t entrySize = leafSize;
  uint8_t level = 0;
  while (true) {
    const size_t perPage = area / entrySize;
    std::vector<std::pair<uint64_t, Ref>> pages;
    for (size_t start = 0; start < entries.size() || pages.empty(); start += perPage) {
      Bytes bytes;
      size_t count = 0;
      for (size_t i = start; i < entries.size() && count < perPage; ++i, ++count)
        bytes.insert(bytes.end(), entries[i].second.begin(), entries[i].second.end());
      const uint64_t ib = (file.size() + kPageSize - 1) / kPageSize * kPageSize;
      const Ref ref{*nextBid, ib};
      *nextBid += 4;
      WritePage(file, ib, ref.bid, ptype, bytes, static_cast<uint8_t>(count), static_cast<uint8_t>(entrySize),
                level, unicode);
      pages.push_back({entries.empty() ? 0 : entries[start].first, ref});
      if (entries.empty()) break;
    }
    if (pages.size() == 1) return pages[0].second;
    entries.clear();
    for (const auto& [key, ref] : pages) {
      Bytes entry;
      if (unicode) {
        Append64(entry, key), Append64(entry, ref.bid), Append64(entry, ref.ib);
      } else {
        Append32(entry, static_cast<uint32_t>(key)), Append32(entry, static_cast<uint32_t>(ref.bid)),
            Append32(entry, static_cast<uint32_t>(ref.ib));
      }
      entries.push_back({key, entry});
    }
    entrySize = unicode ? 24 : 12;
    ++level;
  }
}

}  // namespace

std::string FileBuilder::Build() {
  Bytes file(1024, 0);
  const size_t trailerSize = unicode_ ? 16 : 12;
  std::vector<std::pair<uint64_t, Bytes>> bbt;
  for (const auto& block : blocks_) {
    const uint64_t ib = (file.size() + 63) / 64 * 64;
    const size_t disk = BlockDiskSize(block.data.size(), unicode_);
    file.resize(ib + disk, 0);
    Bytes data = block.data;
    if (!BidIsInternal(block.bid) && crypt_ == kCryptPermute) EncodePermute(data.data(), data.size());
    if (!BidIsInternal(block.bid) && crypt_ == kCryptCyclic)
      CryptCyclic(data.data(), data.size(), static_cast<uint32_t>(block.bid));
    std::copy(data.begin(), data.end(), file.begin() + ib);
    const size_t t = ib + disk - trailerSize;
    Put16(file, t, static_cast<uint16_t>(data.size()));
    Put16(file, t + 2, ComputeSignature(ib, block.bid));
    const uint32_t crc = ComputeCrc(data.data(), data.size());
    if (unicode_) {
      Put32(file, t + 4, crc);
      Put64(file, t + 8, block.bid);
    } else {
      Put32(file, t + 4, static_cast<uint32_t>(block.bid));
      Put32(file, t + 8, crc);
    }
    blockOffsets_[block.bid] = ib;
    Bytes entry;
    if (unicode_) {
      Append64(entry, block.bid), Append64(entry, ib),
          Append16(entry, static_cast<uint16_t>(block.data.size()));
      Append16(entry, 2), Append32(entry, 0);
    } else {
      Append32(entry, static_cast<uint32_t>(block.bid)), Append32(entry, static_cast<uint32_t>(ib));
      Append16(entry, static_cast<uint16_t>(block.data.size())), Append16(entry, 2);
    }
    bbt.push_back({block.bid, entry});
  }
  std::sort(bbt.begin(), bbt.end(), [](auto& a, auto& b) { return a.first < b.first; });
  std::vector<std::pair<uint64_t, Bytes>> nbt;
  for (const auto& node : nodes_) {
    Bytes entry;
    if (unicode_) {
      Append64(entry, node.nid), Append64(entry, node.bidData), Append64(entry, node.bidSub);
      Append32(entry, node.parent), Append32(entry, 0);
    } else {
      Append32(entry, node.nid), Append32(entry, static_cast<uint32_t>(node.bidData));
      Append32(entry, static_cast<uint32_t>(node.bidSub)), Append32(entry, node.parent);
    }
    nbt.push_back({node.nid, entry});
  }
  std::sort(nbt.begin(), nbt.end(), [](auto& a, auto& b) { return a.first < b.first; });
  uint64_t pageBid = 0x100000;
  const Ref nbtRoot = WriteTree(file, &pageBid, kPageNbt, nbt, unicode_ ? 32 : 16, unicode_);
  const Ref bbtRoot = WriteTree(file, &pageBid, kPageBbt, bbt, unicode_ ? 24 : 12, unicode_);

  if (unicode_) {
    HeaderUnicode h{};
    h.prefix = {
        kHeaderMagic, 0, kClientMagicPst, version_ ? version_ : kVersionUnicode, kClientVersion, 1, 1, 0, 0};
    h.root.ibFileEof = file.size();
    h.root.brefNbt = {nbtRoot.bid, nbtRoot.ib};
    h.root.brefBbt = {bbtRoot.bid, bbtRoot.ib};
    h.bSentinel = kHeaderSentinel;
    h.bCryptMethod = crypt_;
    std::memcpy(file.data(), &h, sizeof h);
    Put32(file, 4, ComputeCrc(file.data() + kHeaderCrcStart, kHeaderCrcPartialBytes));
    Put32(file, offsetof(HeaderUnicode, dwCrcFull),
          ComputeCrc(file.data() + kHeaderCrcStart, kHeaderCrcFullBytes));
  } else {
    HeaderAnsi h{};
    h.prefix = {
        kHeaderMagic, 0, kClientMagicPst, version_ ? version_ : kVersionAnsiLow, kClientVersion, 1, 1, 0, 0};
    h.root.ibFileEof = static_cast<uint32_t>(file.size());
    h.root.brefNbt = {static_cast<uint32_t>(nbtRoot.bid), static_cast<uint32_t>(nbtRoot.ib)};
    h.root.brefBbt = {static_cast<uint32_t>(bbtRoot.bid), static_cast<uint32_t>(bbtRoot.ib)};
    h.bSentinel = kHeaderSentinel;
    h.bCryptMethod = crypt_;
    std::memcpy(file.data(), &h, sizeof h);
    Put32(file, 4, ComputeCrc(file.data() + kHeaderCrcStart, kHeaderCrcPartialBytes));
  }
  return std::string(file.begin(), file.end());
}

uint32_t HeapBuilder::Add(const Bytes& item) {
  items_.push_back(item);
  return MakeHid(0, static_cast<uint32_t>(items_.size()));
}

Bytes HeapBuilder::Build() const {
  Bytes block(sizeof(HnHeader), 0);
  std::vector<uint16_t> offsets{static_cast<uint16_t>(block.size())};
  for (const auto& item : items_) {
    block.insert(block.end(), item.begin(), item.end());
    offsets.push_back(static_cast<uint16_t>(block.size()));
  }
  if (block.size() % 2) block.push_back(0);
  const uint16_t ibHnpm = static_cast<uint16_t>(block.size());
  Append16(block, static_cast<uint16_t>(items_.size()));
  Append16(block, 0);
  for (uint16_t o : offsets) Append16(block, o);
  Put16(block, 0, ibHnpm);
  block[2] = kHeapSignature;
  block[3] = clientSig_;
  Put32(block, 4, userRoot_);
  return block;
}

Bytes BuildPropertyContext(const std::map<uint16_t, Prop>& props, std::map<uint32_t, Bytes>* subnodes) {
  HeapBuilder heap(kHeapClientPropertyContext);
  Bytes records;
  uint32_t nextSubnode = 1;
  for (const auto& [id, prop] : props) {
    Append16(records, id);
    Append16(records, prop.type);
    const size_t fixed = FixedTypeSize(prop.type);
    uint32_t value = 0;
    if (!(prop.type & kPtMultiValue) && fixed > 0 && fixed <= 4) {
      std::memcpy(&value, prop.value.data(), std::min<size_t>(4, prop.value.size()));
    } else if (prop.inSubnode) {
      value = MakeNid(kNidTypeLtp, 0x100 + nextSubnode++);
      (*subnodes)[value] = prop.value;
    } else {
      value = heap.Add(prop.value);
    }
    Append32(records, value);
  }
  const uint32_t recordsHid = records.empty() ? 0 : heap.Add(records);
  Bytes header{kHeapClientBth, 2, 6, 0};
  Append32(header, recordsHid);
  heap.SetUserRoot(heap.Add(header));
  return heap.Build();
}

Bytes BuildTableContext(const std::vector<uint32_t>& userTags,
                        const std::vector<std::map<uint32_t, Bytes>>& rows,
                        const std::vector<uint32_t>& rowIds, uint32_t rowsSubnode,
                        std::map<uint32_t, Bytes>* subnodes) {
  HeapBuilder heap(kHeapClientTableContext);
  struct Col {
    uint32_t tag;
    uint16_t ib;
    uint8_t cb;
    uint8_t bit;
  };
  std::vector<uint32_t> tags{0x67F20003, 0x67F30003};
  tags.insert(tags.end(), userTags.begin(), userTags.end());
  auto cellSize = [](uint32_t tag) -> size_t {
    const uint16_t type = TagType(tag);
    const size_t fixed = FixedTypeSize(type);
    return !(type & kPtMultiValue) && fixed > 0 && fixed <= 8 ? fixed : 4;
  };
  std::vector<Col> cols;
  uint16_t at = 8;
  cols.push_back({tags[0], 0, 4, 0});
  cols.push_back({tags[1], 4, 4, 1});
  uint16_t rgib[4];
  for (size_t size : {8, 4, 2, 1}) {
    for (size_t i = 2; i < tags.size(); ++i) {
      if (cellSize(tags[i]) != size) continue;
      cols.push_back({tags[i], at, static_cast<uint8_t>(size), static_cast<uint8_t>(i)});
      at += static_cast<uint16_t>(size);
    }
    if (size == 4) rgib[kTci4b] = at;
    if (size == 2) rgib[kTci2b] = at;
    if (size == 1) rgib[kTci1b] = at;
  }
  rgib[kTciBm] = static_cast<uint16_t>(at + (tags.size() + 7) / 8);
  const uint16_t rowSize = rgib[kTciBm];
  Bytes matrix;
  for (size_t r = 0; r < rows.size(); ++r) {
    Bytes row(rowSize, 0);
    Put32(row, 0, rowIds[r]);
    row[rgib[kTci1b]] |= 0xC0;  // row id and version exist
    for (const auto& col : cols) {
      auto it = rows[r].find(col.tag);
      if (it == rows[r].end() || col.bit < 2) continue;
      row[rgib[kTci1b] + col.bit / 8] |= static_cast<uint8_t>(0x80 >> (col.bit % 8));
      const uint16_t type = TagType(col.tag);
      const size_t fixed = FixedTypeSize(type);
      if (!(type & kPtMultiValue) && fixed > 0 && fixed <= 8) {
        std::copy(it->second.begin(), it->second.begin() + std::min(it->second.size(), fixed),
                  row.begin() + col.ib);
      } else {
        Put32(row, col.ib, heap.Add(it->second));
      }
    }
    matrix.insert(matrix.end(), row.begin(), row.end());
  }
  uint32_t hnidRows = 0;
  if (rowsSubnode) {
    (*subnodes)[rowsSubnode] = matrix;
    hnidRows = rowsSubnode;
  } else if (!matrix.empty()) {
    hnidRows = heap.Add(matrix);
  }
  Bytes index;
  for (size_t r = 0; r < rowIds.size(); ++r)
    Append32(index, rowIds[r]), Append32(index, static_cast<uint32_t>(r));
  const uint32_t indexRecords = index.empty() ? 0 : heap.Add(index);
  Bytes indexHeader{kHeapClientBth, 4, 4, 0};
  Append32(indexHeader, indexRecords);
  const uint32_t indexHid = heap.Add(indexHeader);
  Bytes info{kHeapClientTableContext, static_cast<uint8_t>(cols.size())};
  for (uint16_t v : rgib) Append16(info, v);
  Append32(info, indexHid);
  Append32(info, hnidRows);
  Append32(info, 0);
  for (const auto& col : cols) {
    Append32(info, col.tag);
    Append16(info, col.ib);
    info.push_back(col.cb);
    info.push_back(col.bit);
  }
  heap.SetUserRoot(heap.Add(info));
  return heap.Build();
}

Bytes BuildSubnodeBlock(const std::vector<Node>& entries, bool unicode) {
  Bytes block{kBlockTypeSlBlock, 0};
  Append16(block, static_cast<uint16_t>(entries.size()));
  if (unicode) Append32(block, 0);
  for (const auto& e : entries) {
    if (unicode) {
      Append64(block, e.nid), Append64(block, e.bidData), Append64(block, e.bidSub);
    } else {
      Append32(block, e.nid), Append32(block, static_cast<uint32_t>(e.bidData)),
          Append32(block, static_cast<uint32_t>(e.bidSub));
    }
  }
  return block;
}

}  // namespace minipst
