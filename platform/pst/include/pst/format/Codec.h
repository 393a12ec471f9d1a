// Checksums and block encodings of personal folders files: the CRC of pages, blocks and header,
// and the two encodings of external data blocks: the "compressible" byte permutation and the
// "high" cyclic cipher.
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

// bCryptMethod 2: a keyed substitution over the permutation, its inverse and a third table that is
// its own inverse. Symmetric: the same call encodes and decodes. `key` is the low 32 bits of the
// block's id.
void CryptCyclic(uint8_t* data, size_t size, uint32_t key);
extern const uint8_t kCyclicSubstitute[256];

}  // namespace pst::format
