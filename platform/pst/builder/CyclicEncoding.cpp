// Cyclic block encoding. The first and last substitution tables are the shared permutation and
// its inverse; the middle one is not in this tree yet, so the encoding is refused rather than
// written wrongly.
#include "CyclicEncoding.h"

#include <stdexcept>

namespace pstbuilder {

bool CyclicEncodingAvailable() { return false; }

void CryptCyclic(uint8_t*, size_t, uint32_t) {
  throw std::runtime_error("cyclic block encoding is not available in this build");
}

}  // namespace pstbuilder
