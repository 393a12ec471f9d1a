// The PST source over the project's PST reader.
#include "PstSource.h"

namespace automation {

std::unique_ptr<PstStore> OpenPstStore(const std::wstring&) {
  throw SourceError("the PST reader is not available in this build");
}

}  // namespace automation
