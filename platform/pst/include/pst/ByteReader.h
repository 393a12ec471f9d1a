// Bounds-checked little-endian reads over a byte range. Every on-disk structure is read through
// one, so a length or offset from the file can never reach past the bytes actually held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "pst/Error.h"

namespace pst {

class ByteReader {
 public:
  // `what` names the container in error texts ("block 0x24"); `baseOffset` is the file offset of
  // data[0] when known (reported in errors), else 0.
  ByteReader(const uint8_t* data, size_t size, std::string what, uint64_t baseOffset = 0)
      : data_(data), size_(size), what_(std::move(what)), base_(baseOffset) {}

  size_t Size() const { return size_; }
  const uint8_t* Data() const { return data_; }
  const std::string& What() const { return what_; }

  // Throws kTruncated unless [offset, offset + count) lies inside the range.
  void Require(size_t offset, size_t count, const char* expectation) const;

  template <typename T>
  T Read(size_t offset, const char* expectation) const {
    static_assert(std::is_trivially_copyable<T>::value, "plain structs only");
    Require(offset, sizeof(T), expectation);
    T value;
    std::memcpy(&value, data_ + offset, sizeof(T));
    return value;
  }
  uint8_t U8(size_t offset, const char* expectation) const { return Read<uint8_t>(offset, expectation); }
  uint16_t U16(size_t offset, const char* expectation) const { return Read<uint16_t>(offset, expectation); }
  uint32_t U32(size_t offset, const char* expectation) const { return Read<uint32_t>(offset, expectation); }
  uint64_t U64(size_t offset, const char* expectation) const { return Read<uint64_t>(offset, expectation); }
  const uint8_t* Bytes(size_t offset, size_t count, const char* expectation) const {
    Require(offset, count, expectation);
    return data_ + offset;
  }

  // A corruption error that names this container: "corrupt <what>: <reason>".
  [[noreturn]] void Fail(const std::string& reason) const;

 private:
  const uint8_t* data_;
  size_t size_;
  std::string what_;
  uint64_t base_;
};

static_assert(sizeof(uint16_t) == 2 && sizeof(uint32_t) == 4, "fixed-width integers");

}  // namespace pst
