// Checksums and block encodings of personal folders files: the CRC of pages, blocks and header,
// and the "compressible" byte permutation applied to external data blocks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pst::format {

// CRC-32 (reflected polynomial 0xEDB88320) started from `crc` with no final inversion, as pages,
// blocks and the header carry it. Chain calls by passing the previous result.
uint32_t ComputeCrc(const void* data, size_t size, uint32_t crc = 0);

// bCryptMethod 1: each byte of an external block goes through a fixed permutation.
void EncodePermute(uint8_t* data, size_t size);
void DecodePermute(uint8_t* data, size_t size);

// The permutation and its inverse, for code that transforms single bytes.
extern const uint8_t kPermuteEncode[256];
extern const uint8_t kPermuteDecode[256];

}  // namespace pst::format
