// Compressed RTF (LZFu) and the RTF that Outlook wraps around HTML or plain-text bodies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pst {

// Decompresses a PR_RTF_COMPRESSED value (compressed or stored form). Throws PstError kCorrupt on
// a bad header; output stops at the stated raw size.
std::vector<uint8_t> DecompressRtf(const uint8_t* data, size_t size);

// True when the RTF document is an HTML body wrapped by \fromhtml (cheap: reads the header only).
bool RtfWrapsHtml(const std::string& rtf);

// The body an RTF document encapsulates, as UTF-8: the HTML of a \fromhtml document (*isHtml set),
// the text of a \fromtext document, or the visible text of any other RTF.
std::string DeencapsulateRtf(const std::string& rtf, bool* isHtml);

}  // namespace pst
