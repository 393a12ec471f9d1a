// The saved state of the rich-text control stand-in: what a container's dialog resource (its DLGINIT
// record) or IPersistStreamInit hands the control before it is shown. A small fixed header and the
// initial contents, little-endian:
//   offset 0  DWORD  magic 'BRTX' (0x58545242)
//   offset 4  WORD   version, 1
//   offset 6  WORD   header size in bytes (16; a later version may add fields before the text)
//   offset 8  BYTE   scroll bars: 0 none, 1 horizontal, 2 vertical, 3 both
//   offset 9  BYTE   locked: 1 read-only
//   offset 10 BYTE   border: 0 none, 1 a single line
//   offset 11 BYTE   0
//   offset 12 DWORD  length of the initial contents in bytes
//   offset 16        the initial contents: RTF, or plain text in the system's code page
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace richtext {

struct RichTextState {
  static const DWORD kMagic = 0x58545242;  // "BRTX"
  static const WORD kVersion = 1;
  static const WORD kHeaderSize = 16;
  // Contents longer than this are refused: no dialog resource carries anything near it.
  static const DWORD kMaxContents = 1u << 20;

  BYTE scrollBars = 2;
  BYTE locked = 1;
  BYTE border = 1;
  std::string contents;

  std::vector<BYTE> Serialize() const;
};

// Why a saved state was refused.
enum class StateError { kNone, kTruncated, kBadMagic, kBadVersion, kBadHeader, kTooLong, kBadValue };

// Reads a saved state from bytes. Every field is checked against the bytes present; on any error the
// output is left as it was and the error says what was wrong.
StateError ParseRichTextState(const BYTE* data, size_t size, RichTextState* state);

}  // namespace richtext
