// Fuzz entry: open bytes as a PST and walk everything a converter reads. Any input must end in
// success or a PstError; sanitizers catch the rest.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "pst/Messaging.h"

namespace {

void ReadMessage(const pst::Message& message, int depth) {
  message.Subject();
  message.BodyText();
  message.BodyHtml();
  message.Recipients();
  for (auto& attachment : message.Attachments()) {
    attachment->FileName();
    if (attachment->IsEmbeddedMessage()) {
      if (depth < 4) ReadMessage(*attachment->OpenEmbeddedMessage(), depth + 1);
    } else {
      attachment->OpenData().ReadAll(16u << 20);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    pst::StoreOptions options;
    options.file.cacheBytes = 1u << 20;
    // Mutated bytes almost never keep their CRCs; without the check the fuzzer reaches the parsers.
    options.file.verifyCrc = false;
    pst::Store store(
        std::make_unique<pst::PstFile>(
            pst::MemorySource(std::string(reinterpret_cast<const char*>(data), size)), options.file),
        options);
    store.NamedProperties();
    std::set<uint32_t> seen;
    std::vector<uint32_t> pending{store.RootFolderNid()};
    while (!pending.empty() && seen.size() < 1000) {
      const uint32_t nid = pending.back();
      pending.pop_back();
      if (!seen.insert(nid).second) continue;
      try {
        auto folder = store.OpenFolder(nid);
        folder->DisplayName();
        for (uint32_t child : folder->ChildFolders()) pending.push_back(child);
        for (uint32_t message : folder->Messages()) {
          try {
            ReadMessage(*store.OpenMessage(message), 0);
          } catch (const pst::PstError&) {
          }
        }
      } catch (const pst::PstError&) {
      }
    }
  } catch (const pst::PstError&) {
  }
  return 0;
}
