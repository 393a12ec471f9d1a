// What the rich-text control stand-in is given to show, turned into what the system's rich edit reads:
// RTF is told from plain text by its opening, wide RTF becomes 7-bit RTF, and file bytes become text.
#pragma once

#include <string>

namespace richtext {

// True when the contents open, after white space (and a UTF-8 byte-order mark), with "{\rtf".
bool LooksLikeRtf(const std::wstring& text);
bool LooksLikeRtf(const std::string& bytes);

// RTF given as wide characters, as 7-bit bytes that say the same: every character above 0x7F becomes
// a Unicode control word in a group of its own ("{\uc1\uN?}"), so it survives whatever code page the
// document names and whatever fallback count it set.
std::string RtfBytesFromWide(const std::wstring& rtf);

// The deepest group nesting of RTF bytes (escaped braces and backslashes do not count). A reader that
// keeps a frame per group should not be handed a document nested deeper than it can hold.
int RtfNestingDepth(const std::string& rtf);
// Deeper than this, RTF is shown as the plain text it is.
const int kMaxRtfNesting = 1000;

// The text of a file's bytes: UTF-16 with its byte-order mark, UTF-8 with a mark or when the bytes are
// valid UTF-8, otherwise the system's code page.
std::wstring TextFromBytes(const std::string& bytes);

}  // namespace richtext
