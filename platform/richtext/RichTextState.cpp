// The saved state of the rich-text control stand-in, read with every field checked against the bytes.
#include "RichTextState.h"

#include <cstring>

namespace richtext {
namespace {

// Reads fixed-size fields from a byte range; each read fails once the range would be overrun.
class ByteReader {
 public:
  ByteReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool Read(void* out, size_t n) {
    if (n > size_ - offset_) return false;
    std::memcpy(out, data_ + offset_, n);
    offset_ += n;
    return true;
  }
  bool Skip(size_t n) {
    if (n > size_ - offset_) return false;
    offset_ += n;
    return true;
  }
  size_t Offset() const { return offset_; }

 private:
  const BYTE* data_;
  size_t size_;
  size_t offset_ = 0;
};

template <class T>
void Append(std::vector<BYTE>* out, T value) {
  const BYTE* p = reinterpret_cast<const BYTE*>(&value);
  out->insert(out->end(), p, p + sizeof(T));
}

}  // namespace

std::vector<BYTE> RichTextState::Serialize() const {
  std::vector<BYTE> out;
  Append<DWORD>(&out, kMagic);
  Append<WORD>(&out, kVersion);
  Append<WORD>(&out, kHeaderSize);
  Append<BYTE>(&out, scrollBars);
  Append<BYTE>(&out, locked);
  Append<BYTE>(&out, border);
  Append<BYTE>(&out, 0);
  Append<DWORD>(&out, static_cast<DWORD>(contents.size()));
  out.insert(out.end(), contents.begin(), contents.end());
  return out;
}

StateError ParseRichTextState(const BYTE* data, size_t size, RichTextState* state) {
  if (data == nullptr && size != 0) return StateError::kTruncated;
  ByteReader reader(data, size);
  DWORD magic = 0;
  WORD version = 0;
  WORD headerSize = 0;
  BYTE scrollBars = 0, locked = 0, border = 0, reserved = 0;
  DWORD contentsLength = 0;
  if (!reader.Read(&magic, sizeof magic)) return StateError::kTruncated;
  if (magic != RichTextState::kMagic) return StateError::kBadMagic;
  if (!reader.Read(&version, sizeof version) || !reader.Read(&headerSize, sizeof headerSize))
    return StateError::kTruncated;
  if (version == 0 || version > RichTextState::kVersion) return StateError::kBadVersion;
  if (headerSize < RichTextState::kHeaderSize) return StateError::kBadHeader;
  if (!reader.Read(&scrollBars, 1) || !reader.Read(&locked, 1) || !reader.Read(&border, 1) ||
      !reader.Read(&reserved, 1) || !reader.Read(&contentsLength, sizeof contentsLength)) {
    return StateError::kTruncated;
  }
  if (scrollBars > 3 || locked > 1 || border > 1) return StateError::kBadValue;
  if (!reader.Skip(headerSize - RichTextState::kHeaderSize)) return StateError::kTruncated;
  if (contentsLength > RichTextState::kMaxContents) return StateError::kTooLong;
  std::string contents(contentsLength, '\0');
  if (contentsLength != 0 && !reader.Read(&contents[0], contentsLength)) return StateError::kTruncated;
  state->scrollBars = scrollBars;
  state->locked = locked;
  state->border = border;
  state->contents.swap(contents);
  return StateError::kNone;
}

}  // namespace richtext
