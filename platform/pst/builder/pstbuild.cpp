// pstbuild: writes test PST files. "pstbuild sample OUT.pst" for the sample store,
// "pstbuild bulk N OUT.pst [--attachment-bytes B]" for N generated messages (optionally spread
// over F folders, with plain bodies of a given size).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "PstWriter.h"
#include "Recipes.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: pstbuild sample OUT.pst [--encoding none|permute|cyclic]\n"
               "       pstbuild bulk N OUT.pst [--attachment-bytes B] [--body-bytes B] [--folders F]\n"
               "                   [--encoding none|permute|cyclic]\n");
  return 2;
}

bool ParseCount(const std::string& text, size_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 12)
    return false;
  value = static_cast<size_t>(std::strtoull(text.c_str(), nullptr, 10));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string mode = argv[1];
  int next = 2;
  size_t count = 0;
  if (mode == "bulk") {
    if (argc < 4 || !ParseCount(argv[2], count)) return Usage();
    next = 3;
  } else if (mode != "sample") {
    return Usage();
  }
  const std::string out = argv[next++];
  pstbuilder::BulkOptions bulk;
  bulk.messages = count;
  pstbuilder::Encoding encoding = pstbuilder::Encoding::Permute;
  for (int i = next; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--attachment-bytes" && mode == "bulk" && i + 1 < argc) {
      if (!ParseCount(argv[++i], bulk.attachmentBytes)) return Usage();
    } else if (arg == "--body-bytes" && mode == "bulk" && i + 1 < argc) {
      if (!ParseCount(argv[++i], bulk.bodyBytes)) return Usage();
    } else if (arg == "--folders" && mode == "bulk" && i + 1 < argc) {
      if (!ParseCount(argv[++i], bulk.folders)) return Usage();
    } else if (arg == "--encoding" && i + 1 < argc) {
      const std::string e = argv[++i];
      if (e == "none")
        encoding = pstbuilder::Encoding::None;
      else if (e == "permute")
        encoding = pstbuilder::Encoding::Permute;
      else if (e == "cyclic")
        encoding = pstbuilder::Encoding::Cyclic;
      else
        return Usage();
    } else {
      return Usage();
    }
  }
  try {
    pstbuilder::Store store = mode == "sample" ? pstbuilder::SampleStore() : pstbuilder::BulkStore(bulk);
    store.encoding = encoding;
    pstbuilder::WritePst(store, out);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pstbuild: %s\n", e.what());
    return 1;
  }
  return 0;
}
