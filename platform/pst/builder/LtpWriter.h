// The lists, tables and properties layer of the test-file writer: heap-on-node pages, BTHs,
// property contexts and table contexts, serialised into the blocks of one node plus its subnodes.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "NdbWriter.h"
#include "PstRecipe.h"

namespace pstbuilder {

// A heap-on-node being filled. Allocations of at most 3580 bytes; pages of at most 8176 bytes.
class HeapWriter {
 public:
  explicit HeapWriter(uint8_t clientSig);
  uint32_t Allocate(const std::vector<uint8_t>& data);
  void SetUserRoot(uint32_t hid) { userRoot_ = hid; }
  // The pages, each to be one block of the node's data tree.
  std::vector<std::vector<uint8_t>> Pages() const;

 private:
  struct Page {
    std::vector<std::vector<uint8_t>> items;
    size_t bytes = 0;
  };
  static size_t HeaderSize(size_t pageIndex);
  uint8_t clientSig_;
  uint32_t userRoot_ = 0;
  std::vector<Page> pages_;
};

// Writes a BTH of fixed-size records into the heap; returns the BTHHEADER's HID.
uint32_t WriteBth(HeapWriter& heap, uint8_t cbKey, uint8_t cbEnt,
                  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> records);

// The node being built: its heap and the subnodes that hold values too large for the heap.
class NodeBuilder {
 public:
  NodeBuilder(NdbWriter& ndb, uint8_t clientSig) : ndb_(ndb), heap_(clientSig) {}
  HeapWriter& Heap() { return heap_; }
  // Heap id or subnode id for a variable-size value (empty values get a zero-length item).
  uint32_t StoreValue(const std::vector<uint8_t>& data);
  // A subnode whose contents were already written (an attachment, an embedded message).
  void AddSubnode(const SubnodeRef& ref) { subnodes_.push_back(ref); }
  uint32_t NewSubnodeNid(uint32_t type) { return pst::format::MakeNid(type, nextSubnodeIndex_++); }
  // Writes the heap pages and subnode tree.
  SubnodeRef Finish(uint32_t nid);
  NdbWriter& Ndb() { return ndb_; }

 private:
  NdbWriter& ndb_;
  HeapWriter heap_;
  std::vector<SubnodeRef> subnodes_;
  uint32_t nextSubnodeIndex_ = 0x400;
};

// Property context: every value of `props`, in id order.
void BuildPropertyContext(NodeBuilder& node, const std::map<uint16_t, PropValue>& props);

// Table context. Each row is its row id and the values it has; a column is present for every tag
// in `columns` (LtpRowId/LtpRowVer are added). Rows keep the given order. Throws
// std::invalid_argument past 255 columns, std::logic_error for a cell whose type is not its column's.
struct TableRow {
  uint32_t rowId = 0;
  std::map<uint32_t, PropValue> values;  // by full tag
};
void BuildTableContext(NodeBuilder& node, std::vector<uint32_t> columns, const std::vector<TableRow>& rows);

}  // namespace pstbuilder
