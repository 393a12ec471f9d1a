// A small writer of personal folders files for the reader's tests: just enough to lay out nodes,
// blocks, heaps, property and table contexts in memory, correctly or with chosen faults.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace minipst {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint16_t v);
void Put32(Bytes& b, size_t at, uint32_t v);
void Put64(Bytes& b, size_t at, uint64_t v);
void Append16(Bytes& b, uint16_t v);
void Append32(Bytes& b, uint32_t v);
void Append64(Bytes& b, uint64_t v);
Bytes Utf16(const std::u16string& text);
Bytes Le(uint64_t value, size_t bytes);  // little-endian, `bytes` long
Bytes Ascii(const std::string& text);

struct Node {
  uint32_t nid;
  uint64_t bidData;
  uint64_t bidSub;
  uint32_t parent;
};

// Unicode (wVer 23) or ANSI (wVer 14) file with one NBT and one BBT, each one leaf page or a branch
// over leaves.
class FileBuilder {
 public:
  explicit FileBuilder(bool unicode = true, uint8_t crypt = 1) : unicode_(unicode), crypt_(crypt) {}
  // Data blocks (bid without bit 1) are encoded with the file's method; tree blocks are not.
  uint64_t AddBlock(const Bytes& data);      // external, new bid
  uint64_t AddTreeBlock(const Bytes& data);  // internal, new bid
  void AddNode(uint32_t nid, uint64_t bidData, uint64_t bidSub = 0, uint32_t parent = 0);
  std::string Build();

  // Fault injection on the built image, by block: offset of a block's data in the output.
  uint64_t OffsetOfBlock(uint64_t bid) const { return blockOffsets_.at(bid); }
  bool unicode_;
  uint8_t crypt_;
  uint16_t version_ = 0;  // 0: the natural one

 private:
  struct PendingBlock {
    uint64_t bid;
    Bytes data;
  };
  uint64_t nextBid_ = 4;
  std::vector<PendingBlock> blocks_;
  std::vector<Node> nodes_;
  std::map<uint64_t, uint64_t> blockOffsets_;
};

// A one-block heap: items are numbered from 1 in the order added.
class HeapBuilder {
 public:
  explicit HeapBuilder(uint8_t clientSig) : clientSig_(clientSig) {}
  uint32_t Add(const Bytes& item);  // returns the HID
  void SetUserRoot(uint32_t hid) { userRoot_ = hid; }
  Bytes Build() const;

 private:
  uint8_t clientSig_;
  uint32_t userRoot_ = 0;
  std::vector<Bytes> items_;
};

struct Prop {
  uint16_t type;
  Bytes value;  // as stored for large values; ≤4-byte fixed values little-endian
  bool inSubnode = false;
};

// A property context: returns the heap bytes; values marked inSubnode go to `subnodes` (nid ->
// data), which the caller stores under the node's subnode tree.
Bytes BuildPropertyContext(const std::map<uint16_t, Prop>& props, std::map<uint32_t, Bytes>* subnodes);

struct Column {
  uint32_t tag;
};
// A table context with the given columns (LtpRowId and LtpRowVer added first) and rows; cells are
// optional: a missing cell leaves its existence bit clear. Variable-size cells go in the heap.
Bytes BuildTableContext(const std::vector<uint32_t>& tags, const std::vector<std::map<uint32_t, Bytes>>& rows,
                        const std::vector<uint32_t>& rowIds, uint32_t rowsSubnode = 0,
                        std::map<uint32_t, Bytes>* subnodes = nullptr);

// An SLBLOCK over the given entries.
Bytes BuildSubnodeBlock(const std::vector<Node>& entries, bool unicode = true);

}  // namespace minipst
