// Block and page placement, B-trees, allocation maps and header of a new Unicode PST.
#include "NdbWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "pst/format/Codec.h"

namespace pstbuilder {

namespace fmt = pst::format;

namespace {

constexpr uint64_t kFirstAMap = 0x4400;
constexpr uint64_t kAMapRange = 496 * 8 * 64;  // bytes one AMap page describes
constexpr size_t kMaxData = fmt::kMaxBlockDataUnicode;
constexpr size_t kMaxTreeEntries = (kMaxData - sizeof(fmt::XBlockHeader)) / 8;
constexpr size_t kMaxSlEntries = (kMaxData - sizeof(fmt::SubnodeBlockHeaderUnicode)) / 24;
constexpr size_t kMaxSiEntries = (kMaxData - sizeof(fmt::SubnodeBlockHeaderUnicode)) / 16;

// Deprecated map pages keep their places: a PMap after every 8th AMap, an FMap after every 496th
// AMap from the 128th on (the header covers the first 128), an FPMap likewise for PMaps.
bool HasPMap(uint64_t range) { return range % 8 == 0; }
bool HasFMap(uint64_t range) { return range >= 128 && (range - 128) % 496 == 0; }
bool HasFPMap(uint64_t range) { return range >= 128 * 8 && (range - 128 * 8) % (496 * 8) == 0; }
uint64_t ReservedPages(uint64_t range) {
  return 1 + (HasPMap(range) ? 1 : 0) + (HasFMap(range) ? 1 : 0) + (HasFPMap(range) ? 1 : 0);
}
uint64_t RangeStart(uint64_t range) { return kFirstAMap + range * kAMapRange; }

void Put64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }

}  // namespace

NdbWriter::NdbWriter(const std::string& path, Encoding encoding)
    : path_(path), encoding_(encoding), pos_(kFirstAMap + 2 * fmt::kPageSize) {
  out_.open(path, std::ios::binary | std::ios::trunc | std::ios::out);
  if (!out_) throw std::runtime_error("cannot create \"" + path + "\"");
}

NdbWriter::~NdbWriter() = default;

void NdbWriter::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (offset != written_) out_.seekp(static_cast<std::streamoff>(offset));
  out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out_)
    throw std::runtime_error("write failed at offset " + std::to_string(offset) + " of \"" + path_ + "\"");
  written_ = offset + size;
}

uint64_t NdbWriter::Allocate(uint64_t size, uint64_t alignment) {
  uint64_t p = (pos_ + alignment - 1) / alignment * alignment;
  for (;;) {
    const uint64_t range = (p - kFirstAMap) / kAMapRange;
    const uint64_t reservedEnd = RangeStart(range) + ReservedPages(range) * fmt::kPageSize;
    if (p < reservedEnd) {
      p = reservedEnd;
      continue;
    }
    if (p + size > RangeStart(range + 1)) {
      p = RangeStart(range + 1);
      continue;
    }
    break;
  }
  pos_ = p + size;
  MarkAllocated(p, size);
  return p;
}

void NdbWriter::MarkAllocated(uint64_t offset, uint64_t size) {
  const uint64_t first = (offset - kFirstAMap) / 64;
  const uint64_t last = (offset + size - kFirstAMap + 63) / 64;
  if (amap_.size() * 8 < last) amap_.resize((last + 7) / 8 + 4096, 0);
  // AMap bits run from the most significant bit of each byte.
  for (uint64_t bit = first; bit < last; ++bit) amap_[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
}

uint64_t NdbWriter::WriteBlock(const uint8_t* data, size_t size, bool internal) {
  if (size > kMaxData) throw std::logic_error("block larger than 8176 bytes");
  const uint64_t bid = nextBid_ | (internal ? 2 : 0);
  nextBid_ += 4;
  const size_t disk = fmt::BlockDiskSize(size, true);
  std::vector<uint8_t> buf(disk, 0);
  if (size) std::memcpy(buf.data(), data, size);
  if (!internal) {
    if (encoding_ == Encoding::Permute) fmt::EncodePermute(buf.data(), size);
    if (encoding_ == Encoding::Cyclic) fmt::CryptCyclic(buf.data(), size, static_cast<uint32_t>(bid));
  }
  const uint64_t ib = Allocate(disk, fmt::kBlockAlignment);
  fmt::BlockTrailerUnicode trailer{};
  trailer.cb = static_cast<uint16_t>(size);
  trailer.wSig = fmt::ComputeSignature(ib, bid);
  trailer.dwCrc = fmt::ComputeCrc(buf.data(), size);
  trailer.bid = bid;
  std::memcpy(buf.data() + disk - sizeof(trailer), &trailer, sizeof(trailer));
  WriteAt(ib, buf.data(), buf.size());
  bbt_.push_back({bid, ib, static_cast<uint16_t>(size)});
  return bid;
}

uint64_t NdbWriter::WriteStream(const std::vector<uint8_t>& data) {
  if (data.empty()) return 0;
  if (data.size() <= kMaxData) return WriteBlock(data.data(), data.size(), false);
  std::vector<uint64_t> bids;
  std::vector<uint64_t> sizes;
  for (size_t off = 0; off < data.size(); off += kMaxData) {
    const size_t n = std::min(kMaxData, data.size() - off);
    bids.push_back(WriteBlock(data.data() + off, n, false));
    sizes.push_back(n);
  }
  return WriteTree(bids, sizes);
}

uint64_t NdbWriter::WriteBlocks(const std::vector<std::vector<uint8_t>>& parts) {
  if (parts.empty()) return 0;
  if (parts.size() == 1) return WriteBlock(parts[0].data(), parts[0].size(), false);
  std::vector<uint64_t> bids;
  std::vector<uint64_t> sizes;
  for (const auto& part : parts) {
    bids.push_back(WriteBlock(part.data(), part.size(), false));
    sizes.push_back(part.size());
  }
  return WriteTree(bids, sizes);
}

uint64_t NdbWriter::WriteTree(const std::vector<uint64_t>& bids, const std::vector<uint64_t>& sizes) {
  auto xblock = [&](uint8_t level, const uint64_t* ids, size_t count, uint64_t bytes) {
    std::vector<uint8_t> buf(sizeof(fmt::XBlockHeader) + count * 8);
    fmt::XBlockHeader h{fmt::kBlockTypeXBlock, level, static_cast<uint16_t>(count),
                        static_cast<uint32_t>(bytes)};
    std::memcpy(buf.data(), &h, sizeof(h));
    for (size_t i = 0; i < count; ++i) Put64(buf.data() + sizeof(h) + i * 8, ids[i]);
    return WriteBlock(buf.data(), buf.size(), true);
  };
  uint64_t total = 0;
  for (uint64_t s : sizes) total += s;
  if (total > 0xFFFFFFFFull) throw std::runtime_error("stream larger than 4 GiB");
  if (bids.size() <= kMaxTreeEntries) return xblock(1, bids.data(), bids.size(), total);
  if (bids.size() > kMaxTreeEntries * kMaxTreeEntries)
    throw std::runtime_error("stream too large for a data tree");
  std::vector<uint64_t> children;
  for (size_t i = 0; i < bids.size(); i += kMaxTreeEntries) {
    const size_t n = std::min(kMaxTreeEntries, bids.size() - i);
    uint64_t bytes = 0;
    for (size_t k = 0; k < n; ++k) bytes += sizes[i + k];
    children.push_back(xblock(1, bids.data() + i, n, bytes));
  }
  return xblock(2, children.data(), children.size(), total);
}

uint64_t NdbWriter::WriteSubnodes(std::vector<SubnodeRef> entries) {
  if (entries.empty()) return 0;
  std::sort(entries.begin(), entries.end(),
            [](const SubnodeRef& a, const SubnodeRef& b) { return a.nid < b.nid; });
  auto slblock = [&](const SubnodeRef* e, size_t count) {
    std::vector<uint8_t> buf(sizeof(fmt::SubnodeBlockHeaderUnicode) + count * sizeof(fmt::SlEntryUnicode));
    fmt::SubnodeBlockHeaderUnicode h{fmt::kBlockTypeSlBlock, 0, static_cast<uint16_t>(count), 0};
    std::memcpy(buf.data(), &h, sizeof(h));
    for (size_t i = 0; i < count; ++i) {
      fmt::SlEntryUnicode s{e[i].nid, e[i].bidData, e[i].bidSub};
      std::memcpy(buf.data() + sizeof(h) + i * sizeof(s), &s, sizeof(s));
    }
    return WriteBlock(buf.data(), buf.size(), true);
  };
  if (entries.size() <= kMaxSlEntries) return slblock(entries.data(), entries.size());
  if (entries.size() > kMaxSlEntries * kMaxSiEntries) throw std::runtime_error("too many subnodes");
  std::vector<fmt::SiEntryUnicode> index;
  for (size_t i = 0; i < entries.size(); i += kMaxSlEntries) {
    const size_t n = std::min(kMaxSlEntries, entries.size() - i);
    index.push_back({entries[i].nid, slblock(entries.data() + i, n)});
  }
  std::vector<uint8_t> buf(sizeof(fmt::SubnodeBlockHeaderUnicode) +
                           index.size() * sizeof(fmt::SiEntryUnicode));
  fmt::SubnodeBlockHeaderUnicode h{fmt::kBlockTypeSlBlock, 1, static_cast<uint16_t>(index.size()), 0};
  std::memcpy(buf.data(), &h, sizeof(h));
  std::memcpy(buf.data() + sizeof(h), index.data(), index.size() * sizeof(fmt::SiEntryUnicode));
  return WriteBlock(buf.data(), buf.size(), true);
}

void NdbWriter::AddNode(uint32_t nid, uint64_t bidData, uint64_t bidSub, uint32_t nidParent) {
  nbt_.push_back({nid, bidData, bidSub, nidParent});
}

NdbWriter::Bt NdbWriter::WritePage(uint8_t* page, uint8_t ptype, uint64_t bidOverride) {
  const uint64_t ib = Allocate(fmt::kPageSize, fmt::kPageSize);
  const uint64_t bid = bidOverride ? bidOverride : nextPageBid_++;
  fmt::PageTrailerUnicode t{};
  t.ptype = t.ptypeRepeat = ptype;
  t.wSig = fmt::ComputeSignature(ib, bid);
  t.dwCrc = fmt::ComputeCrc(page, fmt::kPageSize - sizeof(t));
  t.bid = bid;
  std::memcpy(page + fmt::kPageSize - sizeof(t), &t, sizeof(t));
  WriteAt(ib, page, fmt::kPageSize);
  return {0, bid, ib};
}

template <typename Leaf>
NdbWriter::Bt NdbWriter::WriteBTree(const std::vector<Leaf>& leaves, uint8_t ptype, size_t cbLeaf) {
  const size_t leafMax = fmt::kBtPageEntryBytesUnicode / cbLeaf;
  const size_t innerMax = fmt::kBtPageEntryBytesUnicode / sizeof(fmt::BtEntryUnicode);
  auto footer = [](uint8_t* page, size_t count, size_t max, size_t cb, uint8_t level) {
    fmt::BtPageFooterUnicode f{static_cast<uint8_t>(count), static_cast<uint8_t>(max),
                               static_cast<uint8_t>(cb), level, 0};
    std::memcpy(page + fmt::kBtPageEntryBytesUnicode, &f, sizeof(f));
  };
  std::vector<Bt> level;
  size_t i = 0;
  do {
    uint8_t page[fmt::kPageSize] = {};
    const size_t n = std::min(leafMax, leaves.size() - i);
    for (size_t k = 0; k < n; ++k) leaves[i + k].Serialize(page + k * cbLeaf);
    footer(page, n, leafMax, cbLeaf, 0);
    Bt bt = WritePage(page, ptype, 0);
    bt.key = n ? leaves[i].Key() : 0;
    level.push_back(bt);
    i += n;
  } while (i < leaves.size());
  uint8_t depth = 0;
  while (level.size() > 1) {
    ++depth;
    std::vector<Bt> upper;
    for (size_t j = 0; j < level.size(); j += innerMax) {
      uint8_t page[fmt::kPageSize] = {};
      const size_t n = std::min(innerMax, level.size() - j);
      for (size_t k = 0; k < n; ++k) {
        fmt::BtEntryUnicode e{level[j + k].key, {level[j + k].bid, level[j + k].ib}};
        std::memcpy(page + k * sizeof(e), &e, sizeof(e));
      }
      footer(page, n, innerMax, sizeof(fmt::BtEntryUnicode), depth);
      Bt bt = WritePage(page, ptype, 0);
      bt.key = level[j].key;
      upper.push_back(bt);
    }
    level.swap(upper);
  }
  return level[0];
}

void NdbWriter::NbtLeaf::Serialize(uint8_t* to) const {
  const fmt::NbtEntryUnicode e{nid, bidData, bidSub, nidParent, 0};
  std::memcpy(to, &e, sizeof(e));
}

void NdbWriter::BbtLeaf::Serialize(uint8_t* to) const {
  const fmt::BbtEntryUnicode e{{bid, ib}, cb, 1, 0};
  std::memcpy(to, &e, sizeof(e));
}

void NdbWriter::Finish() {
  if (finished_) return;
  finished_ = true;

  std::vector<NbtLeaf>& nbt = nbt_;
  std::sort(nbt.begin(), nbt.end(), [](const NbtLeaf& a, const NbtLeaf& b) { return a.nid < b.nid; });
  for (size_t i = 1; i < nbt.size(); ++i)
    if (nbt[i].nid == nbt[i - 1].nid)
      throw std::logic_error("node written twice: " + std::to_string(nbt[i].nid));
  std::vector<BbtLeaf>& bbt = bbt_;
  std::sort(bbt.begin(), bbt.end(), [](const BbtLeaf& a, const BbtLeaf& b) { return a.bid < b.bid; });

  const Bt nbtRoot = WriteBTree(nbt, fmt::kPageNbt, sizeof(fmt::NbtEntryUnicode));
  const Bt bbtRoot = WriteBTree(bbt, fmt::kPageBbt, sizeof(fmt::BbtEntryUnicode));

  // The file ends on a whole AMap range; every range gets its map pages.
  const uint64_t ranges = std::max<uint64_t>(1, (pos_ - kFirstAMap + kAMapRange - 1) / kAMapRange);
  const uint64_t eof = RangeStart(ranges);
  uint64_t freeBytes = 0;
  for (uint64_t r = 0; r < ranges; ++r) {
    const uint64_t start = RangeStart(r);
    MarkAllocated(start, ReservedPages(r) * fmt::kPageSize);
    uint8_t page[fmt::kPageSize] = {};
    std::memcpy(page, amap_.data() + r * 496, 496);
    for (size_t b = 0; b < 496; ++b)
      for (int bit = 0; bit < 8; ++bit) freeBytes += (page[b] & (0x80 >> bit)) ? 0 : 64;
    fmt::PageTrailerUnicode t{};
    t.ptype = t.ptypeRepeat = fmt::kPageAMap;
    t.dwCrc = fmt::ComputeCrc(page, 496);
    t.bid = start;
    std::memcpy(page + 496, &t, sizeof(t));
    WriteAt(start, page, sizeof(page));
    uint64_t next = start + fmt::kPageSize;
    auto deprecated = [&](uint8_t ptype, uint8_t fill) {
      uint8_t p[fmt::kPageSize];
      std::memset(p, fill, 496);
      fmt::PageTrailerUnicode pt{};
      pt.ptype = pt.ptypeRepeat = ptype;
      pt.dwCrc = fmt::ComputeCrc(p, 496);
      pt.bid = next;
      std::memcpy(p + 496, &pt, sizeof(pt));
      WriteAt(next, p, sizeof(p));
      next += fmt::kPageSize;
    };
    if (HasPMap(r)) deprecated(fmt::kPagePMap, 0xFF);
    if (HasFMap(r)) deprecated(fmt::kPageFMap, 0x00);
    if (HasFPMap(r)) deprecated(fmt::kPageFPMap, 0xFF);
  }
  // The unused tail of the last range still belongs to the file.
  if (pos_ < eof) {
    const uint8_t zero = 0;
    WriteAt(eof - 1, &zero, 1);
  }

  fmt::HeaderUnicode h{};
  h.prefix.dwMagic = fmt::kHeaderMagic;
  h.prefix.wMagicClient = fmt::kClientMagicPst;
  h.prefix.wVer = fmt::kVersionUnicode;
  h.prefix.wVerClient = fmt::kClientVersion;
  h.prefix.bPlatformCreate = 1;
  h.prefix.bPlatformAccess = 1;
  h.bidNextP = nextPageBid_;
  h.dwUnique = 1;
  // rgnid holds the next free index per NID type.
  for (int t = 0; t < 32; ++t) h.rgnid[t] = 0x400;
  h.rgnid[fmt::kNidTypeSearchFolder] = 0x4000;
  h.rgnid[fmt::kNidTypeAssocMessage] = 0x8000;
  h.rgnid[fmt::kNidTypeNormalMessage] = 0x10000;
  for (const auto& n : nbt) {
    const uint32_t type = fmt::NidTypeOf(n.nid);
    h.rgnid[type] = std::max(h.rgnid[type], fmt::NidIndexOf(n.nid) + 1);
  }
  h.root.ibFileEof = eof;
  h.root.ibAMapLast = RangeStart(ranges - 1);
  h.root.cbAMapFree = freeBytes;
  h.root.cbPMapFree = 0;
  h.root.brefNbt = {nbtRoot.bid, nbtRoot.ib};
  h.root.brefBbt = {bbtRoot.bid, bbtRoot.ib};
  h.root.fAMapValid = 2;
  std::memset(h.rgbFM, 0xFF, sizeof(h.rgbFM));
  std::memset(h.rgbFP, 0xFF, sizeof(h.rgbFP));
  h.bSentinel = fmt::kHeaderSentinel;
  h.bCryptMethod = encoding_ == Encoding::None      ? fmt::kCryptNone
                   : encoding_ == Encoding::Permute ? fmt::kCryptPermute
                                                    : fmt::kCryptCyclic;
  h.bidNextB = nextBid_;
  const auto* bytes = reinterpret_cast<const uint8_t*>(&h);
  h.prefix.dwCrcPartial = fmt::ComputeCrc(bytes + fmt::kHeaderCrcStart, fmt::kHeaderCrcPartialBytes);
  h.dwCrcFull = fmt::ComputeCrc(bytes + fmt::kHeaderCrcStart, fmt::kHeaderCrcFullBytes);
  WriteAt(0, &h, sizeof(h));
  out_.close();
  if (!out_) throw std::runtime_error("cannot finish \"" + path_ + "\"");
}

}  // namespace pstbuilder
