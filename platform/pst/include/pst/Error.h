// Errors of the PST reader: one exception type whose kind says what went wrong and whose text says
// where ("truncated at offset 0x1200: block 0x24 needs 512 bytes").
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pst {

enum class ErrorKind {
  kIo,           // the file could not be opened, or can no longer be read at all (cut short,
                 // changed by another program, its volume gone, every read failing)
  kUnreadable,   // one part of a whole file cannot be read (a failing disk): the damage of what
                 // that part holds, as a corrupt block is
  kNotPst,       // no personal folders header
  kTruncated,    // a structure runs past the end of the file or of its container
  kCorrupt,      // a structure is inconsistent (signature, CRC, counts, loops)
  kUnsupported,  // a valid file using something this reader does not handle
  kNotFound,     // a node, block, property or row that is not there
  kInvalidArgument,
};

class PstError : public std::runtime_error {
 public:
  PstError(ErrorKind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
  ErrorKind Kind() const { return kind_; }

 private:
  ErrorKind kind_;
};

// "0x1A4"
std::string Hex(uint64_t value);

}  // namespace pst
