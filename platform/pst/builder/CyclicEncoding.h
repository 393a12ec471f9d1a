// The "high" (cyclic) block encoding, which the shared format primitives lack: a keyed cipher
// over the same substitution tables, symmetric, keyed by the low 32 bits of the block's BID.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pstbuilder {

// Whether the middle substitution table is available in this build; without it CryptCyclic
// throws std::runtime_error.
bool CyclicEncodingAvailable();
void CryptCyclic(uint8_t* data, size_t size, uint32_t key);

}  // namespace pstbuilder
