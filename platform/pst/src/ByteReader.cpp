// Bounds-checked reads and error texts.
#include "pst/ByteReader.h"

#include <cstdio>

namespace pst {

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

void ByteReader::Require(size_t offset, size_t count, const char* expectation) const {
  if (offset <= size_ && count <= size_ - offset) return;
  std::string text = "truncated at offset " + Hex(base_ + offset) + ": " + what_ + " has " +
                     std::to_string(size_) + " bytes, " + expectation + " needs " + std::to_string(count) +
                     " at " + std::to_string(offset);
  throw PstError(ErrorKind::kTruncated, text);
}

void ByteReader::Fail(const std::string& reason) const {
  std::string text = "corrupt " + what_;
  if (base_ != 0) text += " at offset " + Hex(base_);
  throw PstError(ErrorKind::kCorrupt, text + ": " + reason);
}

}  // namespace pst
