// Node database: header, B-trees, blocks, data trees and subnode trees, with every on-disk read
// bounds-checked and every tree walk bounded by its stated depth.
#include "pst/Ndb.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <tuple>
#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>
#else
#include <sys/stat.h>
#endif

#include "pst/ByteReader.h"
#include "pst/format/Codec.h"
#include "pst/format/Layout.h"

namespace pst {

using namespace format;

namespace {

// What the system says of the open file: its length and when it was last written, so that a file
// changed by another program while it is read is told apart from one that is still as it was opened.
struct FileState {
  bool known = false;
  int64_t size = 0;
  uint64_t lastWrite = 0;  // in the system's own units
};

FileState StateOf(std::FILE* file) {
  FileState state;
#ifdef _WIN32
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  LARGE_INTEGER size;
  FILETIME written;
  if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size) ||
      !GetFileTime(handle, nullptr, nullptr, &written))
    return state;
  state.size = size.QuadPart;
  state.lastWrite = (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
#else
  struct stat st;
  if (fstat(fileno(file), &st) != 0) return state;
  state.size = static_cast<int64_t>(st.st_size);
  state.lastWrite =
      static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec);
#endif
  state.known = true;
  return state;
}

// Reads through one aligned window of kWindow bytes, kept for the life of the source: the blocks of an
// item and of its neighbours mostly lie close together, and a read that the window holds costs no
// system call (under Wine a seek and a read cost two calls into the emulated kernel). The C runtime's
// own buffer is off: the window does its work, and a seek would throw that buffer away anyway.
class FileSource : public ByteSource {
 public:
  FileSource(std::FILE* file, uint64_t size, const ReadFault& fault)
      : file_(file), size_(size), fault_(fault), opened_(StateOf(file)), window_(kWindow) {
    std::setvbuf(file_, nullptr, _IONBF, 0);
  }
  ~FileSource() override { std::fclose(file_); }
  uint64_t Size() const override { return size_; }
  void ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset)
      throw PstError(ErrorKind::kTruncated, "truncated at offset " + Hex(size_) + ": needed " +
                                                std::to_string(size) + " bytes at " + Hex(offset));
    if (size == 0) return;
    const uint64_t start = offset / kWindow * kWindow;
    // Larger than the window, across its end, or in a window the disk could not read whole.
    if (offset + size > start + kWindow || unreadableWindows_.count(start)) {
      ReadFromDisk(offset, buffer, size);
      return;
    }
    if (start != windowStart_ || windowBytes_ == 0) {
      windowBytes_ = 0;
      const size_t bytes = static_cast<size_t>(std::min<uint64_t>(kWindow, size_ - start));
      if (!SystemRead(start, window_.data(), bytes)) {
        // A disk that cannot read one sector of the window may still read the bytes asked for.
        unreadableWindows_.insert(start);
        ReadFromDisk(offset, buffer, size);
        return;
      }
      ReadSucceeded(start);
      windowStart_ = start;
      windowBytes_ = bytes;
    }
    std::memcpy(buffer, window_.data() + (offset - start), size);
  }

 private:
  static constexpr size_t kWindow = 16 * 1024;
  // Failed reads at so many places in a row, with no read between that worked, are a disk or a
  // volume that no longer answers rather than damaged places of the file.
  static constexpr int kFailedReadsOfADeadFile = 64;

  void ReadFromDisk(uint64_t offset, void* buffer, size_t size) {
    if (unreadable_.count({offset, size}))  // a disk that could not read a place will not now
      throw PstError(ErrorKind::kUnreadable, UnreadableText(offset, size));
    if (!SystemRead(offset, buffer, size)) ReadFailed(offset, size);
    ReadSucceeded(offset);
  }

  bool SystemRead(uint64_t offset, void* buffer, size_t size) {
    if (fault_.size != 0 && offset < fault_.offset + fault_.size && fault_.offset < offset + size)
      return false;
#ifdef _WIN32
    int sought = _fseeki64(file_, static_cast<long long>(offset), SEEK_SET);
#else
    int sought = fseeko(file_, static_cast<off_t>(offset), SEEK_SET);
#endif
    if (sought == 0 && std::fread(buffer, 1, size, file_) == size) return true;
    std::clearerr(file_);
    return false;
  }

  // The bytes just read are the file's as it was opened only if nobody has written to it since.
  void ReadSucceeded(uint64_t offset) {
    failedInARow_ = 0;
    const FileState now = StateOf(file_);
    if (!now.known) return;  // the read itself worked
    const std::string change = ChangeSinceOpened(now);
    if (!change.empty()) throw PstError(ErrorKind::kIo, "read at offset " + Hex(offset) + ": " + change);
  }

  [[noreturn]] void ReadFailed(uint64_t offset, size_t size) {
    const std::string what = "read error at offset " + Hex(offset);
    const FileState now = StateOf(file_);
    if (!now.known) throw PstError(ErrorKind::kIo, what + ": the file can no longer be reached");
    // A file that another program cut short after it was opened reads short: that is the cause the
    // user can act on.
    const std::string change = ChangeSinceOpened(now);
    if (!change.empty()) throw PstError(ErrorKind::kIo, what + ": " + change);
    uint8_t header[512];
    if (!SystemRead(0, header, static_cast<size_t>(std::min<uint64_t>(size_, sizeof header))))
      throw PstError(ErrorKind::kIo, what + ": not even the file's header can be read any more");
    unreadable_.insert({offset, size});
    if (++failedInARow_ >= kFailedReadsOfADeadFile)
      throw PstError(ErrorKind::kIo, what + ": the last " + std::to_string(failedInARow_) +
                                         " reads of the file, each at another place, all failed");
    throw PstError(ErrorKind::kUnreadable, UnreadableText(offset, size));
  }

  static std::string UnreadableText(uint64_t offset, size_t size) {
    return "read error at offset " + Hex(offset) + ": the disk cannot read these " + std::to_string(size) +
           " bytes of the file";
  }

  // Empty when the file is as it was opened, as far as the system tells.
  std::string ChangeSinceOpened(const FileState& now) const {
    const uint64_t length = static_cast<uint64_t>(now.size);
    if (now.size >= 0 && length < size_)
      return "the file is now " + std::to_string(length) + " bytes long, shorter than the " +
             std::to_string(size_) + " bytes it had when it was opened";
    if (length > size_)
      return "the file is now " + std::to_string(length) + " bytes long, longer than the " +
             std::to_string(size_) + " bytes it had when it was opened: another program wrote to it";
    if (opened_.known && now.lastWrite != opened_.lastWrite)
      return "another program wrote to the file after it was opened (its length is unchanged)";
    return std::string();
  }

  std::FILE* file_;
  uint64_t size_;
  ReadFault fault_;
  FileState opened_;
  std::vector<uint8_t> window_;
  uint64_t windowStart_ = 0;
  size_t windowBytes_ = 0;  // 0: the window holds nothing
  std::set<uint64_t> unreadableWindows_;
  std::set<std::pair<uint64_t, size_t>> unreadable_;  // reads that failed on a whole file
  int failedInARow_ = 0;
};

class BufferSource : public ByteSource {
 public:
  explicit BufferSource(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  void ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > bytes_.size() || size > bytes_.size() - offset)
      throw PstError(ErrorKind::kTruncated, "truncated at offset " + Hex(bytes_.size()) + ": needed " +
                                                std::to_string(size) + " bytes at " + Hex(offset));
    if (size) std::memcpy(buffer, bytes_.data() + offset, size);
  }

 private:
  std::string bytes_;
};

#ifdef _WIN32
std::wstring WidenUtf8(const std::string& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size();) {
    uint32_t c = static_cast<uint8_t>(text[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    if (extra) c &= (0x3F >> extra);
    ++i;
    for (int k = 0; k < extra && i < text.size(); ++k, ++i) c = (c << 6) | (text[i] & 0x3F);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}
#endif

constexpr uint64_t kPageKeyFlag = uint64_t{1} << 63;
constexpr int kMaxTreeDepth = 16;
constexpr size_t kMaxSubnodeBlocks = 100000;

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::string& utf8Path, const ReadFault& fault) {
#ifdef _WIN32
  std::FILE* file = _wfopen(WidenUtf8(utf8Path).c_str(), L"rb");
#else
  std::FILE* file = std::fopen(utf8Path.c_str(), "rb");
#endif
  if (!file) throw PstError(ErrorKind::kIo, "cannot open " + utf8Path);
#ifdef _WIN32
  _fseeki64(file, 0, SEEK_END);
  long long size = _ftelli64(file);
#else
  fseeko(file, 0, SEEK_END);
  long long size = ftello(file);
#endif
  if (size < 0) {
    std::fclose(file);
    throw PstError(ErrorKind::kIo, "cannot read " + utf8Path);
  }
  return std::make_unique<FileSource>(file, static_cast<uint64_t>(size), fault);
}

std::unique_ptr<ByteSource> MemorySource(std::string bytes) {
  return std::make_unique<BufferSource>(std::move(bytes));
}

std::unique_ptr<PstFile> PstFile::Open(const std::string& utf8Path, PstOptions options) {
  return std::make_unique<PstFile>(OpenFileSource(utf8Path, options.readFault), options);
}

PstFile::PstFile(std::unique_ptr<ByteSource> source, PstOptions options)
    : source_(std::move(source)), options_(options) {
  const uint64_t fileSize = source_->Size();
  uint8_t raw[sizeof(HeaderUnicode)] = {};
  const size_t got = static_cast<size_t>(std::min<uint64_t>(fileSize, sizeof raw));
  source_->ReadAt(0, raw, got);
  ByteReader header(raw, got, "header");
  if (got < sizeof(HeaderPrefix) || header.U32(0, "dwMagic") != kHeaderMagic)
    throw PstError(ErrorKind::kNotPst, "not a PST file");
  const auto prefix = header.Read<HeaderPrefix>(0, "header");
  info_.version = prefix.wVer;
  info_.ost = prefix.wMagicClient == kClientMagicOst;
  if (prefix.wVer == kVersionAnsiLow || prefix.wVer == kVersionAnsiHigh) {
    info_.unicode = false;
  } else if (prefix.wVer == kVersionUnicode) {
    info_.unicode = true;
  } else if (prefix.wVer == kVersionUnicode4k) {
    throw PstError(ErrorKind::kUnsupported, "4 KiB-page files (version 36) are not supported");
  } else {
    throw PstError(ErrorKind::kUnsupported, "unknown PST format version " + std::to_string(prefix.wVer));
  }
  const size_t headerSize = info_.unicode ? sizeof(HeaderUnicode) : sizeof(HeaderAnsi);
  header.Require(0, headerSize, "the whole header");
  if (ComputeCrc(raw + kHeaderCrcStart, kHeaderCrcPartialBytes) != prefix.dwCrcPartial)
    header.Fail("header checksum mismatch");
  if (info_.unicode) {
    const auto h = header.Read<HeaderUnicode>(0, "header");
    if (ComputeCrc(raw + kHeaderCrcStart, kHeaderCrcFullBytes) != h.dwCrcFull)
      header.Fail("header checksum mismatch");
    info_.cryptMethod = h.bCryptMethod;
    info_.fileEof = h.root.ibFileEof;
    info_.nbtRootBid = h.root.brefNbt.bid;
    info_.nbtRootIb = h.root.brefNbt.ib;
    info_.bbtRootBid = h.root.brefBbt.bid;
    info_.bbtRootIb = h.root.brefBbt.ib;
  } else {
    const auto h = header.Read<HeaderAnsi>(0, "header");
    info_.cryptMethod = h.bCryptMethod;
    info_.fileEof = h.root.ibFileEof;
    info_.nbtRootBid = h.root.brefNbt.bid;
    info_.nbtRootIb = h.root.brefNbt.ib;
    info_.bbtRootBid = h.root.brefBbt.bid;
    info_.bbtRootIb = h.root.brefBbt.ib;
  }
  if (info_.cryptMethod != kCryptNone && info_.cryptMethod != kCryptPermute &&
      info_.cryptMethod != kCryptCyclic)
    header.Fail("unknown block encoding " + std::to_string(info_.cryptMethod));
  info_.truncated = info_.fileEof > fileSize;
}

size_t PstFile::MaxBlockData() const { return info_.unicode ? kMaxBlockDataUnicode : kMaxBlockDataAnsi; }

std::shared_ptr<const std::vector<uint8_t>> PstFile::Cached(uint64_t key) {
  auto it = index_.find(key);
  if (it == index_.end()) return nullptr;
  lru_.splice(lru_.begin(), lru_, it->second);
  return it->second->second;
}

void PstFile::Cache(uint64_t key, std::shared_ptr<const std::vector<uint8_t>> value) {
  if (index_.count(key)) return;
  cachedBytes_ += value->size() + 64;
  lru_.emplace_front(key, std::move(value));
  index_[key] = lru_.begin();
  while (cachedBytes_ > options_.cacheBytes && lru_.size() > 1) {
    cachedBytes_ -= lru_.back().second->size() + 64;
    index_.erase(lru_.back().first);
    lru_.pop_back();
  }
}

std::shared_ptr<const std::vector<uint8_t>> PstFile::ReadPage(uint64_t ib, uint64_t bid, uint8_t ptype) {
  if (auto page = Cached(ib | kPageKeyFlag)) {
    // The same offset read as a different tree's page is corruption, caught below on first read.
    if ((*page)[kPageSize - (info_.unicode ? 16 : 12)] == ptype) return page;
  }
  const std::string what = std::string(ptype == kPageNbt ? "node" : "block") + " B-tree page " + Hex(bid);
  if (ib > source_->Size() || kPageSize > source_->Size() - ib)
    throw PstError(ErrorKind::kTruncated, "truncated at offset " + Hex(ib) + ": " + what);
  auto bytes = std::make_shared<std::vector<uint8_t>>(kPageSize);
  source_->ReadAt(ib, bytes->data(), kPageSize);
  ByteReader page(bytes->data(), kPageSize, what, ib);
  uint8_t type, typeRepeat;
  uint16_t sig;
  uint32_t crc;
  uint64_t pageBid;
  size_t dataBytes;
  if (info_.unicode) {
    auto t = page.Read<PageTrailerUnicode>(kPageSize - sizeof(PageTrailerUnicode), "page trailer");
    type = t.ptype, typeRepeat = t.ptypeRepeat, sig = t.wSig, crc = t.dwCrc, pageBid = t.bid;
    dataBytes = kPageSize - sizeof(PageTrailerUnicode);
  } else {
    auto t = page.Read<PageTrailerAnsi>(kPageSize - sizeof(PageTrailerAnsi), "page trailer");
    type = t.ptype, typeRepeat = t.ptypeRepeat, sig = t.wSig, crc = t.dwCrc, pageBid = t.bid;
    dataBytes = kPageSize - sizeof(PageTrailerAnsi);
  }
  if (type != ptype || typeRepeat != ptype) page.Fail("page type " + Hex(type) + ", expected " + Hex(ptype));
  if (BidKey(pageBid) != BidKey(bid)) page.Fail("page id " + Hex(pageBid) + " in trailer");
  if (sig != ComputeSignature(ib, pageBid)) page.Fail("bad page signature");
  if (options_.verifyCrc && ComputeCrc(bytes->data(), dataBytes) != crc) page.Fail("bad page CRC");
  Cache(ib | kPageKeyFlag, bytes);
  return bytes;
}

namespace {

struct PageLayout {
  size_t entryBytes;
  size_t footer;
};

PageLayout LayoutOf(bool unicode) {
  return unicode ? PageLayout{kBtPageEntryBytesUnicode, kBtPageEntryBytesUnicode}
                 : PageLayout{kBtPageEntryBytesAnsi, kBtPageEntryBytesAnsi};
}

// The two forms of each B-tree entry, read into one shape.
NodeEntry ReadNbtEntry(const ByteReader& page, size_t at, bool unicode) {
  if (unicode) {
    auto e = page.Read<NbtEntryUnicode>(at, "NBTENTRY");
    return {static_cast<uint32_t>(e.nid), e.bidData, e.bidSub, e.nidParent};
  }
  auto e = page.Read<NbtEntryAnsi>(at, "NBTENTRY");
  return {e.nid, e.bidData, e.bidSub, e.nidParent};
}

BlockEntry ReadBbtEntry(const ByteReader& page, size_t at, bool unicode) {
  if (unicode) {
    auto e = page.Read<BbtEntryUnicode>(at, "BBTENTRY");
    return {e.bref.bid, e.bref.ib, e.cb};
  }
  auto e = page.Read<BbtEntryAnsi>(at, "BBTENTRY");
  return {e.bref.bid, e.bref.ib, e.cb};
}

// A branch entry's child page: {bid, ib}.
std::pair<uint64_t, uint64_t> ReadBranchEntry(const ByteReader& page, size_t at, bool unicode) {
  if (unicode) {
    auto e = page.Read<BtEntryUnicode>(at, "BTENTRY");
    return {e.bref.bid, e.bref.ib};
  }
  auto e = page.Read<BtEntryAnsi>(at, "BTENTRY");
  return {e.bref.bid, e.bref.ib};
}

}  // namespace

// Descends from the root to the leaf entry whose key equals `key`; calls visit(entryBytes).
template <typename Visit>
bool PstFile::SearchTree(uint64_t rootIb, uint64_t rootBid, uint8_t ptype, uint64_t key, Visit visit) {
  const bool unicode = info_.unicode;
  const PageLayout layout = LayoutOf(unicode);
  const size_t keySize = unicode ? 8 : 4;
  const size_t branchSize = unicode ? sizeof(BtEntryUnicode) : sizeof(BtEntryAnsi);
  const size_t leafSize = ptype == kPageNbt ? (unicode ? sizeof(NbtEntryUnicode) : sizeof(NbtEntryAnsi))
                                            : (unicode ? sizeof(BbtEntryUnicode) : sizeof(BbtEntryAnsi));
  const uint64_t keyMask = ptype == kPageNbt ? 0xFFFFFFFFull : ~uint64_t{1};
  uint64_t ib = rootIb, bid = rootBid;
  int expectedLevel = -1;
  for (int depth = 0; depth < kMaxTreeDepth; ++depth) {
    auto bytes = ReadPage(ib, bid, ptype);
    ByteReader page(bytes->data(), bytes->size(), "B-tree page " + Hex(bid), ib);
    const uint8_t cEnt = page.U8(layout.footer, "cEnt");
    const uint8_t cbEnt = page.U8(layout.footer + 2, "cbEnt");
    const uint8_t cLevel = page.U8(layout.footer + 3, "cLevel");
    if (expectedLevel >= 0 && cLevel != expectedLevel)
      page.Fail("level " + std::to_string(cLevel) + ", expected " + std::to_string(expectedLevel));
    const size_t want = cLevel ? branchSize : leafSize;
    if (cbEnt < want || size_t{cEnt} * cbEnt > layout.entryBytes)
      page.Fail("entry size " + std::to_string(cbEnt) + " x " + std::to_string(cEnt));
    auto keyAt = [&](size_t i) {
      uint64_t k = keySize == 8 ? page.U64(i * cbEnt, "key") : page.U32(i * cbEnt, "key");
      return k & keyMask;
    };
    if (cLevel == 0) {
      // Leaf: binary search over sorted keys.
      size_t lo = 0, hi = cEnt;
      while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        uint64_t k = keyAt(mid);
        if (k == (key & keyMask)) {
          visit(page, mid * cbEnt);
          return true;
        }
        if (k < (key & keyMask))
          lo = mid + 1;
        else
          hi = mid;
      }
      return false;
    }
    // Branch: the last entry whose key is not above the key.
    size_t chosen = cEnt;
    for (size_t i = 0; i < cEnt; ++i) {
      if (keyAt(i) <= (key & keyMask))
        chosen = i;
      else
        break;
    }
    if (chosen == cEnt) return false;
    std::tie(bid, ib) = ReadBranchEntry(page, chosen * cbEnt, unicode);
    expectedLevel = cLevel - 1;
  }
  throw PstError(ErrorKind::kCorrupt, "corrupt B-tree: deeper than " + std::to_string(kMaxTreeDepth));
}

bool PstFile::FindNode(uint32_t nid, NodeEntry* entry) {
  return SearchTree(info_.nbtRootIb, info_.nbtRootBid, kPageNbt, nid, [&](const ByteReader& page, size_t at) {
    *entry = ReadNbtEntry(page, at, info_.unicode);
  });
}

NodeEntry PstFile::GetNode(uint32_t nid) {
  NodeEntry entry;
  if (!FindNode(nid, &entry)) throw PstError(ErrorKind::kNotFound, "node " + Hex(nid) + " not found");
  return entry;
}

bool PstFile::FindBlock(uint64_t bid, BlockEntry* entry) {
  return SearchTree(info_.bbtRootIb, info_.bbtRootBid, kPageBbt, bid, [&](const ByteReader& page, size_t at) {
    *entry = ReadBbtEntry(page, at, info_.unicode);
  });
}

Block PstFile::ReadBlock(uint64_t bid) {
  if (auto block = Cached(BidKey(bid))) return block;
  BlockEntry entry;
  if (!FindBlock(bid, &entry)) throw PstError(ErrorKind::kNotFound, "block " + Hex(bid) + " not found");
  const bool unicode = info_.unicode;
  const size_t trailerSize = unicode ? sizeof(BlockTrailerUnicode) : sizeof(BlockTrailerAnsi);
  const size_t diskSize = BlockDiskSize(entry.cb, unicode);
  if (diskSize > kMaxBlockBytes)
    throw PstError(ErrorKind::kCorrupt, "corrupt block " + Hex(bid) + " at offset " + Hex(entry.ib) +
                                            ": size " + std::to_string(entry.cb));
  if (entry.ib > source_->Size() || diskSize > source_->Size() - entry.ib)
    throw PstError(ErrorKind::kTruncated, "truncated at offset " + Hex(entry.ib) + ": block " + Hex(bid) +
                                              " needs " + std::to_string(diskSize) + " bytes");
  auto raw = std::make_shared<std::vector<uint8_t>>(diskSize);
  source_->ReadAt(entry.ib, raw->data(), diskSize);
  ByteReader reader(raw->data(), raw->size(), "block " + Hex(bid), entry.ib);
  uint16_t cb, sig;
  uint32_t crc;
  uint64_t trailerBid;
  if (unicode) {
    auto t = reader.Read<BlockTrailerUnicode>(diskSize - trailerSize, "block trailer");
    cb = t.cb, sig = t.wSig, crc = t.dwCrc, trailerBid = t.bid;
  } else {
    auto t = reader.Read<BlockTrailerAnsi>(diskSize - trailerSize, "block trailer");
    cb = t.cb, sig = t.wSig, crc = t.dwCrc, trailerBid = t.bid;
  }
  if (cb != entry.cb)
    reader.Fail("trailer size " + std::to_string(cb) + ", index says " + std::to_string(entry.cb));
  if (BidKey(trailerBid) != BidKey(bid)) reader.Fail("trailer id " + Hex(trailerBid));
  if (sig != ComputeSignature(entry.ib, trailerBid)) reader.Fail("bad signature");
  if (options_.verifyCrc && ComputeCrc(raw->data(), cb) != crc) reader.Fail("bad CRC");
  raw->resize(cb);
  if (!BidIsInternal(bid)) {
    if (info_.cryptMethod == kCryptPermute) DecodePermute(raw->data(), cb);
    // The reserved low bit of the id is not part of the key.
    if (info_.cryptMethod == kCryptCyclic) CryptCyclic(raw->data(), cb, static_cast<uint32_t>(BidKey(bid)));
  }
  Cache(BidKey(bid), raw);
  return raw;
}

void PstFile::ExpandDataTree(uint64_t bid, int level, DataTree* tree) {
  if (!BidIsInternal(bid)) {
    BlockEntry entry;
    if (!FindBlock(bid, &entry)) throw PstError(ErrorKind::kNotFound, "block " + Hex(bid) + " not found");
    tree->blocks.push_back(bid);
    tree->starts.push_back(tree->size);
    tree->size += entry.cb;
    return;
  }
  Block block = ReadBlock(bid);
  ByteReader reader(block->data(), block->size(), "data tree block " + Hex(bid));
  const auto h = reader.Read<XBlockHeader>(0, "XBLOCK header");
  if (h.btype != kBlockTypeXBlock || h.cLevel < 1 || h.cLevel > 2)
    reader.Fail("not an XBLOCK/XXBLOCK (type " + std::to_string(h.btype) + ", level " +
                std::to_string(h.cLevel) + ")");
  if (level >= 0 && h.cLevel != level) reader.Fail("level " + std::to_string(h.cLevel) + " under an XXBLOCK");
  const size_t bidSize = info_.unicode ? 8 : 4;
  reader.Require(sizeof h, size_t{h.cEnt} * bidSize, "XBLOCK entries");
  const uint64_t before = tree->size;
  for (size_t i = 0; i < h.cEnt; ++i) {
    const size_t at = sizeof h + i * bidSize;
    const uint64_t child = bidSize == 8 ? reader.U64(at, "bid") : reader.U32(at, "bid");
    if (h.cLevel == 2) {
      if (!BidIsInternal(child)) reader.Fail("XXBLOCK entry " + Hex(child) + " is a data block");
      ExpandDataTree(child, 1, tree);
    } else {
      if (BidIsInternal(child)) reader.Fail("XBLOCK entry " + Hex(child) + " is not a data block");
      ExpandDataTree(child, 0, tree);
    }
  }
  if (tree->size - before != h.lcbTotal)
    reader.Fail("total size " + std::to_string(h.lcbTotal) + ", blocks hold " +
                std::to_string(tree->size - before));
}

DataTree PstFile::ReadDataTree(uint64_t bid) {
  DataTree tree;
  if (bid != 0) ExpandDataTree(bid, -1, &tree);
  return tree;
}

std::vector<uint8_t> PstFile::ReadAll(const DataTree& tree, uint64_t limit) {
  if (tree.size > limit)
    throw PstError(ErrorKind::kUnsupported,
                   "stream of " + std::to_string(tree.size) + " bytes is over the in-memory limit");
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(tree.size));
  for (uint64_t bid : tree.blocks) {
    Block block = ReadBlock(bid);
    out.insert(out.end(), block->begin(), block->end());
  }
  return out;
}

void PstFile::ReadRange(const DataTree& tree, uint64_t offset, void* buffer, size_t size) {
  if (offset > tree.size || size > tree.size - offset)
    throw PstError(ErrorKind::kInvalidArgument, "read past the end of a stream");
  auto* out = static_cast<uint8_t*>(buffer);
  size_t i = std::upper_bound(tree.starts.begin(), tree.starts.end(), offset) - tree.starts.begin();
  i = i ? i - 1 : 0;
  while (size > 0 && i < tree.blocks.size()) {
    Block block = ReadBlock(tree.blocks[i]);
    const uint64_t within = offset - tree.starts[i];
    if (within < block->size()) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(size, block->size() - within));
      std::memcpy(out, block->data() + within, n);
      out += n, offset += n, size -= n;
    }
    ++i;
  }
  if (size) throw PstError(ErrorKind::kCorrupt, "corrupt stream: blocks shorter than indexed");
}

void PstFile::ExpandSubnodes(uint64_t bid, int level, SubnodeMap* map, size_t* visited) {
  if (++*visited > kMaxSubnodeBlocks)
    throw PstError(ErrorKind::kCorrupt, "corrupt subnode tree " + Hex(bid) + ": too many blocks");
  if (!BidIsInternal(bid))
    throw PstError(ErrorKind::kCorrupt, "corrupt subnode tree: " + Hex(bid) + " is a data block");
  Block block = ReadBlock(bid);
  ByteReader reader(block->data(), block->size(), "subnode block " + Hex(bid));
  const uint8_t btype = reader.U8(0, "btype");
  const uint8_t cLevel = reader.U8(1, "cLevel");
  const uint16_t cEnt = reader.U16(2, "cEnt");
  if (btype != kBlockTypeSlBlock || cLevel > 1) reader.Fail("not an SLBLOCK/SIBLOCK");
  if (level >= 0 && cLevel != level) reader.Fail("level " + std::to_string(cLevel) + " under an SIBLOCK");
  const bool unicode = info_.unicode;
  const size_t headerSize = unicode ? sizeof(SubnodeBlockHeaderUnicode) : sizeof(SubnodeBlockHeaderAnsi);
  if (cLevel == 0) {
    const size_t size = unicode ? sizeof(SlEntryUnicode) : sizeof(SlEntryAnsi);
    reader.Require(headerSize, size_t{cEnt} * size, "SLENTRY list");
    for (size_t i = 0; i < cEnt; ++i) {
      SubnodeEntry e;
      if (unicode) {
        auto s = reader.Read<SlEntryUnicode>(headerSize + i * size, "SLENTRY");
        e = {static_cast<uint32_t>(s.nid), s.bidData, s.bidSub};
      } else {
        auto s = reader.Read<SlEntryAnsi>(headerSize + i * size, "SLENTRY");
        e = {s.nid, s.bidData, s.bidSub};
      }
      (*map)[e.nid] = e;
    }
    return;
  }
  const size_t size = unicode ? sizeof(SiEntryUnicode) : sizeof(SiEntryAnsi);
  reader.Require(headerSize, size_t{cEnt} * size, "SIENTRY list");
  for (size_t i = 0; i < cEnt; ++i) {
    uint64_t child = unicode ? reader.Read<SiEntryUnicode>(headerSize + i * size, "SIENTRY").bid
                             : reader.Read<SiEntryAnsi>(headerSize + i * size, "SIENTRY").bid;
    ExpandSubnodes(child, 0, map, visited);
  }
}

SubnodeMap PstFile::ReadSubnodes(uint64_t bidSub) {
  SubnodeMap map;
  size_t visited = 0;
  if (bidSub != 0) ExpandSubnodes(bidSub, -1, &map, &visited);
  return map;
}

void PstFile::CollectTree(uint64_t ib, uint64_t bid, uint8_t ptype, int expectedLevel, int depth,
                          std::vector<NodeEntry>* out) {
  if (depth > kMaxTreeDepth) throw PstError(ErrorKind::kCorrupt, "corrupt B-tree: too deep");
  auto bytes = ReadPage(ib, bid, ptype);
  const PageLayout layout = LayoutOf(info_.unicode);
  ByteReader page(bytes->data(), bytes->size(), "B-tree page " + Hex(bid), ib);
  const uint8_t cEnt = page.U8(layout.footer, "cEnt");
  const uint8_t cbEnt = page.U8(layout.footer + 2, "cbEnt");
  const uint8_t cLevel = page.U8(layout.footer + 3, "cLevel");
  if (expectedLevel >= 0 && cLevel != expectedLevel) page.Fail("unexpected level");
  if (cbEnt == 0 || size_t{cEnt} * cbEnt > layout.entryBytes) page.Fail("bad entry size");
  for (size_t i = 0; i < cEnt; ++i) {
    if (cLevel) {
      const auto [childBid, childIb] = ReadBranchEntry(page, i * cbEnt, info_.unicode);
      CollectTree(childIb, childBid, ptype, cLevel - 1, depth + 1, out);
    } else {
      out->push_back(ReadNbtEntry(page, i * cbEnt, info_.unicode));
    }
  }
}

std::vector<NodeEntry> PstFile::AllNodes() {
  std::vector<NodeEntry> out;
  CollectTree(info_.nbtRootIb, info_.nbtRootBid, kPageNbt, -1, 0, &out);
  return out;
}

}  // namespace pst
