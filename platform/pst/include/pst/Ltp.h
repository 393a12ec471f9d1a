// Lists, tables and properties: the heap-on-node, its B-tree (BTH), property contexts and table
// contexts, and typed access to property values. Objects here read through a PstFile they do not
// own; keep the PstFile alive and use both on one thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pst/Ndb.h"

namespace pst {

// A property value as stored: fixed types as their little-endian bytes, strings and binaries as
// their bytes, multi-valued types in their packed form.
struct PropValue {
  uint16_t type = 0;
  std::vector<uint8_t> bytes;

  bool IsString() const;
  // PT_SHORT, PT_LONG, PT_I8, PT_BOOLEAN, PT_SYSTIME as an integer; 0 for other types.
  int64_t AsInt() const;
  bool AsBool() const { return AsInt() != 0; }
  // PT_UNICODE as UTF-8; PT_STRING8 decoded with `codePage`; trailing NULs dropped.
  std::string AsUtf8(uint32_t codePage) const;
  // Multi-valued strings (PT_MV_UNICODE / PT_MV_STRING8) as UTF-8; binaries as their bytes.
  std::vector<std::string> AsUtf8List(uint32_t codePage) const;
  std::vector<std::vector<uint8_t>> AsBinaryList() const;
  std::vector<int64_t> AsIntList() const;
};

// Bytes of a value that may be large: held in memory or read block by block from a data tree.
class Stream {
 public:
  Stream() = default;
  explicit Stream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)), size_(bytes_.size()) {}
  Stream(PstFile* file, DataTree tree) : file_(file), tree_(std::move(tree)), size_(tree_.size) {}
  uint64_t Size() const { return size_; }
  void Read(uint64_t offset, void* buffer, size_t size) const;
  std::vector<uint8_t> ReadAll(uint64_t limit = 256u << 20) const;

 private:
  PstFile* file_ = nullptr;
  DataTree tree_;
  std::vector<uint8_t> bytes_;
  uint64_t size_ = 0;
};

class Heap {
 public:
  // The heap stored in a node's data. Throws kCorrupt when the first block is not a heap.
  Heap(PstFile& file, uint64_t bidData, std::string what);
  uint8_t ClientSignature() const { return clientSig_; }
  uint32_t UserRoot() const { return userRoot_; }
  // A heap allocation's bytes; hid 0 gives an empty item. Throws kCorrupt/kNotFound.
  std::vector<uint8_t> Item(uint32_t hid) const;
  const std::string& What() const { return what_; }
  PstFile& File() const { return file_; }

 private:
  PstFile& file_;
  DataTree tree_;
  std::string what_;
  uint8_t clientSig_ = 0;
  uint32_t userRoot_ = 0;
};

// Calls visit(keyBytes, dataBytes) for each leaf record of the BTH rooted at heap item `hid`, in
// key order. Returns the key and data sizes through the pointers.
void WalkBth(const Heap& heap, uint32_t hid, size_t* keySize, size_t* dataSize,
             const std::function<void(const uint8_t*, const uint8_t*)>& visit);

class PropertyContext {
 public:
  PropertyContext(PstFile& file, const NodeEntry& node, std::string what);
  PropertyContext(PstFile& file, uint64_t bidData, uint64_t bidSub, std::string what);

  std::vector<uint32_t> Tags() const;  // in id order
  bool Has(uint16_t id) const { return entries_.count(id) != 0; }
  uint16_t TypeOf(uint16_t id) const;
  // The value, or nullopt when absent. Throws when the value's storage is damaged.
  std::optional<PropValue> Get(uint16_t id) const;
  // A large value (PT_BINARY, strings) without loading it whole.
  Stream OpenStream(uint16_t id) const;
  const SubnodeMap& Subnodes() const { return *subnodes_; }
  PstFile& File() const { return heap_.File(); }

 private:
  struct Entry {
    uint16_t type;
    uint32_t value;
  };
  Heap heap_;
  std::shared_ptr<const SubnodeMap> subnodes_;
  std::map<uint16_t, Entry> entries_;
};

class TableContext {
 public:
  TableContext(PstFile& file, const NodeEntry& node, std::string what);
  TableContext(PstFile& file, uint64_t bidData, uint64_t bidSub, std::string what);

  size_t RowCount() const { return rowCount_; }
  std::vector<uint32_t> Columns() const;
  bool HasColumn(uint16_t id) const;
  // dwRowID of a row: the NID of the folder, message or attachment it describes.
  uint32_t RowId(size_t row) const;
  // The cell of column `id` (any type) in `row`, or nullopt when the column or value is absent.
  std::optional<PropValue> Cell(size_t row, uint16_t id) const;

 private:
  struct Column {
    uint32_t tag;
    uint16_t ib;
    uint8_t cb;
    uint8_t bit;
  };
  std::vector<uint8_t> RowBytes(size_t row) const;
  PropValue Resolve(uint16_t type, uint32_t hnid) const;

  Heap heap_;
  std::shared_ptr<const SubnodeMap> subnodes_;
  std::vector<Column> columns_;
  uint16_t rowSize_ = 0;
  uint16_t cebOffset_ = 0;
  size_t rowCount_ = 0;
  std::vector<uint8_t> heapRows_;  // rows held in one heap item
  DataTree rowTree_;               // rows held in a subnode, block by block
  std::vector<size_t> firstRowOfBlock_;
};

}  // namespace pst
