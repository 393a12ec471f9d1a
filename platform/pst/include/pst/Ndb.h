// The node database of a personal folders file: header, node and block B-trees, block decoding and
// checks, data trees and subnode trees. Opening reads only the header; everything else is read on
// demand through a block cache with a fixed byte bound, so memory stays flat as files grow.
// A PstFile is not thread-safe; use one per thread.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pst/Error.h"

namespace pst {

// Random-access bytes: a file on disk or a buffer in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly `size` bytes at `offset`; throws kTruncated past the end, kUnreadable when these
  // bytes cannot be read from a file that is still whole, kIo when the file itself can no longer be
  // read.
  virtual void ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
};

// A failing disk for tests: the system's reads that touch any of the `size` bytes from `offset` fail,
// as a disk's do that cannot read a sector, while the file stays whole. Size 0: no fault.
struct ReadFault {
  uint64_t offset = 0;
  uint64_t size = 0;
};

// A file named by a UTF-8 path (wide APIs on Windows). Throws kIo when it cannot be opened.
// A read that fails is the file's own failure (kIo) when the file is gone or changed: shorter or
// longer than when it was opened, written since, its volume gone (not even its header reads), or the
// last many reads at other places all failed. Otherwise it is the damage of those bytes (kUnreadable)
// and later reads go on. Every read from the disk also checks that the file was not changed since
// it was opened, so that bytes of another version never pass for the file's.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& utf8Path, const ReadFault& fault = {});
std::unique_ptr<ByteSource> MemorySource(std::string bytes);

struct NodeEntry {
  uint32_t nid = 0;
  uint64_t bidData = 0;
  uint64_t bidSub = 0;
  uint32_t nidParent = 0;
};

struct BlockEntry {
  uint64_t bid = 0;
  uint64_t ib = 0;
  uint16_t cb = 0;
};

using Block = std::shared_ptr<const std::vector<uint8_t>>;

// The leaf data blocks of a node's data (one block, or an XBLOCK/XXBLOCK tree), in order.
struct DataTree {
  std::vector<uint64_t> blocks;
  std::vector<uint64_t> starts;  // offset of each block's first byte in the whole stream
  uint64_t size = 0;
};

struct SubnodeEntry {
  uint32_t nid = 0;
  uint64_t bidData = 0;
  uint64_t bidSub = 0;
};
using SubnodeMap = std::map<uint32_t, SubnodeEntry>;

struct FileInfo {
  bool unicode = true;
  bool ost = false;
  uint16_t version = 0;
  uint8_t cryptMethod = 0;
  uint64_t fileEof = 0;  // the size the header gives
  // The file is shorter than fileEof: what lies past its end reads as kTruncated errors, the rest
  // is still there for a caller who wants to save what it can.
  bool truncated = false;
  uint64_t nbtRootBid = 0, nbtRootIb = 0;
  uint64_t bbtRootBid = 0, bbtRootIb = 0;
};

struct PstOptions {
  size_t cacheBytes = 8u << 20;  // decoded blocks and pages kept in memory
  bool verifyCrc = true;
  ReadFault readFault;  // tests only
};

class PstFile {
 public:
  // Reads and checks the header. Throws kNotPst, kTruncated (no whole header), kCorrupt or
  // kUnsupported. A file cut short after its header opens, with Info().truncated set.
  explicit PstFile(std::unique_ptr<ByteSource> source, PstOptions options = {});
  static std::unique_ptr<PstFile> Open(const std::string& utf8Path, PstOptions options = {});

  const FileInfo& Info() const { return info_; }
  uint64_t Size() const { return source_->Size(); }
  bool Unicode() const { return info_.unicode; }
  size_t MaxBlockData() const;

  // Node lookup in the NBT; false when absent. Throws on a damaged tree.
  bool FindNode(uint32_t nid, NodeEntry* entry);
  NodeEntry GetNode(uint32_t nid);  // throws kNotFound
  bool FindBlock(uint64_t bid, BlockEntry* entry);

  // A block's data, checked (size, signature, CRC) and decoded. Throws kNotFound / kCorrupt.
  Block ReadBlock(uint64_t bid);
  DataTree ReadDataTree(uint64_t bid);
  // The whole stream of a data tree; `limit` guards callers against huge allocations.
  std::vector<uint8_t> ReadAll(const DataTree& tree, uint64_t limit = 256u << 20);
  // Part of a stream, read block by block.
  void ReadRange(const DataTree& tree, uint64_t offset, void* buffer, size_t size);
  SubnodeMap ReadSubnodes(uint64_t bidSub);

  // Every node of the NBT in key order (for diagnostics and fuzzing).
  std::vector<NodeEntry> AllNodes();

 private:
  std::shared_ptr<const std::vector<uint8_t>> ReadPage(uint64_t ib, uint64_t bid, uint8_t ptype);
  void Cache(uint64_t key, std::shared_ptr<const std::vector<uint8_t>> value);
  std::shared_ptr<const std::vector<uint8_t>> Cached(uint64_t key);
  template <typename Visit>
  bool SearchTree(uint64_t rootIb, uint64_t rootBid, uint8_t ptype, uint64_t key, Visit visit);
  void CollectTree(uint64_t ib, uint64_t bid, uint8_t ptype, int expectedLevel, int depth,
                   std::vector<NodeEntry>* out);
  void ExpandDataTree(uint64_t bid, int depth, DataTree* tree);
  void ExpandSubnodes(uint64_t bid, int depth, SubnodeMap* map, size_t* visited);

  std::unique_ptr<ByteSource> source_;
  PstOptions options_;
  FileInfo info_;
  // LRU of decoded blocks (key: bid) and pages (key: offset | 1 << 63).
  std::list<std::pair<uint64_t, std::shared_ptr<const std::vector<uint8_t>>>> lru_;
  std::unordered_map<uint64_t, decltype(lru_)::iterator> index_;
  size_t cachedBytes_ = 0;
};

}  // namespace pst
