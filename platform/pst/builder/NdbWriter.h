// The node database layer of the test-file writer: places blocks and pages in a new Unicode PST,
// builds data trees, subnode trees, the node and block B-trees, the allocation maps and the header.
// Blocks go to disk as they are written, so memory holds only the B-tree entries.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "pst/format/Layout.h"

namespace pstbuilder {

enum class Encoding { None, Permute, Cyclic };

// A subnode as its parent's SLBLOCK lists it.
struct SubnodeRef {
  uint32_t nid = 0;
  uint64_t bidData = 0;
  uint64_t bidSub = 0;
};

// Throws std::runtime_error when the file cannot be written. Single-threaded; one file per object.
class NdbWriter {
 public:
  NdbWriter(const std::string& path, Encoding encoding);
  ~NdbWriter();
  NdbWriter(const NdbWriter&) = delete;
  NdbWriter& operator=(const NdbWriter&) = delete;

  // A stream of any size: one data block, or a data tree (XBLOCK / XXBLOCK) over 8176-byte blocks.
  // An empty stream gets no block (BID 0).
  uint64_t WriteStream(const std::vector<uint8_t>& data);
  // A stream whose block boundaries the caller sets (heap pages, table row blocks); each part at
  // most 8176 bytes. One part is a single data block, more make a data tree.
  uint64_t WriteBlocks(const std::vector<std::vector<uint8_t>>& parts);
  // A subnode tree (SLBLOCK, or SIBLOCK over SLBLOCKs); entries in any order. Empty gives BID 0.
  uint64_t WriteSubnodes(std::vector<SubnodeRef> entries);

  void AddNode(uint32_t nid, uint64_t bidData, uint64_t bidSub, uint32_t nidParent);

  // Writes the B-trees, maps and header, and closes the file.
  void Finish();

 private:
  // Leaf entries of the two B-trees, kept until Finish writes the pages.
  struct BbtLeaf {
    uint64_t bid;
    uint64_t ib;
    uint16_t cb;
    uint64_t Key() const { return bid; }
    void Serialize(uint8_t* to) const;
  };
  struct NbtLeaf {
    uint32_t nid;
    uint64_t bidData;
    uint64_t bidSub;
    uint32_t nidParent;
    uint64_t Key() const { return nid; }
    void Serialize(uint8_t* to) const;
  };
  struct Bt {
    uint64_t key;
    uint64_t bid;
    uint64_t ib;
  };

  uint64_t WriteBlock(const uint8_t* data, size_t size, bool internal);
  uint64_t WriteTree(const std::vector<uint64_t>& bids, const std::vector<uint64_t>& sizes);
  uint64_t Allocate(uint64_t size, uint64_t alignment);
  void MarkAllocated(uint64_t offset, uint64_t size);
  void WriteAt(uint64_t offset, const void* data, size_t size);
  Bt WritePage(uint8_t* page, uint8_t ptype, uint64_t bidOverride);
  template <typename Leaf>
  Bt WriteBTree(const std::vector<Leaf>& leaves, uint8_t ptype, size_t cbLeaf);

  std::ofstream out_;
  std::string path_;
  Encoding encoding_;
  uint64_t nextBid_ = 4;
  uint64_t nextPageBid_ = 1;
  uint64_t pos_;
  uint64_t written_ = 0;
  std::vector<uint8_t> amap_;  // one bit per 64 bytes from 0x4400
  std::vector<BbtLeaf> bbt_;
  std::vector<NbtLeaf> nbt_;
  bool finished_ = false;
};

}  // namespace pstbuilder
