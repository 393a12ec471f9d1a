// Compressed RTF ("LZFu") for message bodies the test-file writer stores as PR_RTF_COMPRESSED.
#pragma once

#include <string>
#include <vector>

namespace pstbuilder {

// The compressed form of `rtf`, header and CRC included. Deterministic.
std::vector<uint8_t> CompressRtf(const std::string& rtf);

}  // namespace pstbuilder
