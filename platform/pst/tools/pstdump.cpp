// pstdump: a developer's view of a PST/OST file through the reader, for cross-checks against other
// readers and for benchmarks. UTF-8 output with LF line ends on every platform.
//   pstdump [--codepage N] counts FILE
//   pstdump [--codepage N] message FILE FOLDER-PATH N
//   pstdump [--codepage N] walk FILE [REPEAT]
//   pstdump [--codepage N] attachments FILE
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "pst/CodePage.h"
#include "pst/Error.h"
#include "pst/Messaging.h"
#include "pst/format/Codec.h"
#include "pst/format/Layout.h"

namespace {

using namespace pst;

int g_errors = 0;

void Out(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void Error(const std::string& text) {
  ++g_errors;
  const std::string line = "pstdump: " + text + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

constexpr int kMaxFolderDepth = 100;

struct FolderVisit {
  uint32_t nid;
  std::string path;
};

// Walks the folder tree from the root in stored order; each folder once, however the tables link.
template <typename Visit>
void WalkFolders(Store& store, Visit visit) {
  std::set<uint32_t> seen;
  std::vector<std::pair<FolderVisit, int>> stack{{{store.RootFolderNid(), ""}, 0}};
  while (!stack.empty()) {
    auto [folder, depth] = stack.back();
    stack.pop_back();
    if (!seen.insert(folder.nid).second) continue;
    try {
      auto opened = store.OpenFolder(folder.nid);
      visit(*opened, folder.path);
      if (depth >= kMaxFolderDepth) continue;
      auto children = opened->ChildFolders();
      for (auto it = children.rbegin(); it != children.rend(); ++it) {
        std::string name;
        try {
          name = store.OpenFolder(*it)->DisplayName();
        } catch (const PstError& e) {
          Error("folder " + Hex(*it) + ": " + e.what());
          continue;
        }
        stack.push_back({{*it, folder.path.empty() ? name : folder.path + "/" + name}, depth + 1});
      }
    } catch (const PstError& e) {
      Error("folder " + Hex(folder.nid) + " (" + folder.path + "): " + e.what());
    }
  }
}

int Counts(Store& store) {
  std::map<std::pair<std::string, std::string>, size_t> counts;
  WalkFolders(store, [&](Folder& folder, const std::string& path) {
    for (uint32_t nid : folder.Messages()) {
      try {
        counts[{path, store.OpenMessage(nid)->MessageClass()}]++;
      } catch (const PstError& e) {
        Error("message " + Hex(nid) + " in " + path + ": " + e.what());
      }
    }
  });
  for (const auto& [key, count] : counts)
    Out(std::to_string(count) + "\t" + key.second + "\t" + key.first + "\n");
  return 0;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < bytes.size() && i < 64; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    out += buf;
  }
  if (bytes.size() > 64) out += "...";
  return out + " (" + std::to_string(bytes.size()) + " bytes)";
}

std::string FormatValue(const PropValue& value, uint32_t codePage) {
  using namespace format;
  const uint16_t type = value.type;
  switch (type) {
    case kPtShort:
    case kPtLong:
    case kPtI8:
    case kPtError:
      return std::to_string(value.AsInt());
    case kPtBoolean:
      return value.AsBool() ? "true" : "false";
    case kPtSysTime:
      return FormatFileTime(value.AsInt());
    case kPtUnicode:
    case kPtString8:
      return Quote(value.AsUtf8(codePage));
    case kPtMultiValue | kPtUnicode:
    case kPtMultiValue | kPtString8: {
      std::string out = "[";
      for (const auto& s : value.AsUtf8List(codePage)) out += (out.size() > 1 ? ", " : "") + Quote(s);
      return out + "]";
    }
    case kPtMultiValue | kPtShort:
    case kPtMultiValue | kPtLong:
    case kPtMultiValue | kPtI8: {
      std::string out = "[";
      for (int64_t v : value.AsIntList()) out += (out.size() > 1 ? ", " : "") + std::to_string(v);
      return out + "]";
    }
    default:
      return HexBytes(value.bytes);
  }
}

std::string TagName(uint32_t tag, Store& store) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(tag));
  std::string out = text;
  const uint16_t id = format::TagId(tag);
  if (id >= 0x8000) {
    if (const NamedProperty* named = store.NamedProperties().NameOf(id)) {
      out += " " + named->guid.ToString();
      out += named->isString ? " name " + Quote(named->name) : " lid " + Hex(named->lid);
    }
  }
  return out;
}

void DumpMessage(Store& store, const Message& message, const std::string& indent, int depth) {
  Out(indent + "class: " + Quote(message.MessageClass()) + "\n");
  Out(indent + "code page: " + std::to_string(message.CodePage()) + "\n");
  Out(indent + "properties:\n");
  for (uint32_t tag : message.Properties().Tags()) {
    try {
      auto value = message.Get(format::TagId(tag));
      Out(indent + "  " + TagName(tag, store) + " = " + FormatValue(*value, message.CodePage()) + "\n");
    } catch (const PstError& e) {
      Error("property " + Hex(tag) + ": " + e.what());
    }
  }
  try {
    if (auto rtf = message.BodyRtf()) Out(indent + "body rtf: " + std::to_string(rtf->size()) + " bytes\n");
    if (auto html = message.BodyHtml()) Out(indent + "body html: " + Quote(*html) + "\n");
    if (auto text = message.BodyText()) Out(indent + "body text: " + Quote(*text) + "\n");
  } catch (const PstError& e) {
    Error(std::string("body: ") + e.what());
  }
  try {
    auto recipients = message.Recipients();
    Out(indent + "recipients: " + std::to_string(recipients.size()) + "\n");
    for (size_t i = 0; i < recipients.size(); ++i) {
      Out(indent + "  [" + std::to_string(i + 1) + "] type " + std::to_string(recipients[i].Type()) + " " +
          Quote(recipients[i].String(prop::kDisplayName)) + " " +
          Quote(recipients[i].String(prop::kEmailAddress)) + "\n");
    }
  } catch (const PstError& e) {
    Error(std::string("recipients: ") + e.what());
  }
  try {
    auto attachments = message.Attachments();
    Out(indent + "attachments: " + std::to_string(attachments.size()) + "\n");
    for (size_t i = 0; i < attachments.size(); ++i) {
      const Attachment& a = *attachments[i];
      Out(indent + "  [" + std::to_string(i + 1) + "] method " + std::to_string(a.Method()) + " " +
          Quote(a.FileName()) + " " + std::to_string(a.DataSize()) + " bytes\n");
      if (a.IsEmbeddedMessage() && depth < 8) {
        auto inner = a.OpenEmbeddedMessage();
        DumpMessage(store, *inner, indent + "    ", depth + 1);
      }
    }
  } catch (const PstError& e) {
    Error(std::string("attachments: ") + e.what());
  }
}

int MessageCommand(Store& store, const std::string& wantedPath, long index) {
  bool found = false;
  WalkFolders(store, [&](Folder& folder, const std::string& path) {
    if (found || path != wantedPath) return;
    found = true;
    auto messages = folder.Messages();
    if (index < 1 || static_cast<size_t>(index) > messages.size()) {
      Error("folder " + Quote(path) + " has " + std::to_string(messages.size()) + " messages");
      return;
    }
    const uint32_t nid = messages[index - 1];
    Out("message " + Hex(nid) + " in " + Quote(path) + "\n");
    auto message = store.OpenMessage(nid);
    DumpMessage(store, *message, "", 0);
  });
  if (!found) Error("no folder " + Quote(wantedPath));
  return 0;
}

// Reads what a converter reads from every message: subject, bodies, attachment sizes.
int Walk(Store& store) {
  size_t messages = 0, attachments = 0;
  uint64_t bytes = 0;
  WalkFolders(store, [&](Folder& folder, const std::string&) {
    for (uint32_t nid : folder.Messages()) {
      try {
        auto message = store.OpenMessage(nid);
        bytes += message->Subject().size();
        if (auto text = message->BodyText()) bytes += text->size();
        if (auto html = message->BodyHtml()) bytes += html->size();
        for (auto& a : message->Attachments()) {
          bytes += a->DataSize();
          ++attachments;
        }
        ++messages;
      } catch (const PstError& e) {
        Error("message " + Hex(nid) + ": " + e.what());
      }
    }
  });
  Out("messages " + std::to_string(messages) + "\nattachments " + std::to_string(attachments) + "\nbytes " +
      std::to_string(bytes) + "\n");
  return 0;
}

// One line per attachment that carries data (nested messages' attachments too): size, the usual
// zip/PNG CRC-32 of the bytes, the folder path. Other readers' exports are compared on these.
void ListAttachments(const Message& message, const std::string& path, int depth) {
  for (auto& a : message.Attachments()) {
    if (a->IsEmbeddedMessage()) {
      if (depth < 8) ListAttachments(*a->OpenEmbeddedMessage(), path, depth + 1);
      continue;
    }
    Stream data = a->OpenData();
    uint32_t crc = 0xFFFFFFFFu;
    std::vector<uint8_t> chunk(1 << 16);
    for (uint64_t at = 0; at < data.Size(); at += chunk.size()) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), data.Size() - at));
      data.Read(at, chunk.data(), n);
      crc = format::ComputeCrc(chunk.data(), n, crc);
    }
    char line[64];
    std::snprintf(line, sizeof line, "%llu\t%08x\t", static_cast<unsigned long long>(data.Size()),
                  static_cast<unsigned>(~crc));
    Out(line + path + "\n");
  }
}

int Attachments(Store& store) {
  WalkFolders(store, [&](Folder& folder, const std::string& path) {
    for (uint32_t nid : folder.Messages()) {
      try {
        ListAttachments(*store.OpenMessage(nid), path, 0);
      } catch (const PstError& e) {
        Error("message " + Hex(nid) + " in " + path + ": " + e.what());
      }
    }
  });
  return 0;
}

int Usage() {
  Error(
      "usage: pstdump [--codepage N] counts FILE | message FILE FOLDER-PATH N | walk FILE [REPEAT] | "
      "attachments FILE");
  return 2;
}

int Run(std::vector<std::string> args) {
  StoreOptions options;
  if (args.size() >= 2 && args[0] == "--codepage") {
    options.defaultCodePage = static_cast<uint32_t>(std::strtoul(args[1].c_str(), nullptr, 10));
    if (!IsSupportedCodePage(options.defaultCodePage)) {
      Error("unsupported code page " + args[1]);
      return 2;
    }
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() < 2) return Usage();
  try {
    auto store = Store::Open(args[1], options);
    const FileInfo& info = store->File().Info();
    if (info.truncated)
      Error("truncated at offset " + Hex(store->File().Size()) + ": the header says the file has " +
            std::to_string(info.fileEof) + " bytes; reading what is there");
    if (args[0] == "counts" && args.size() == 2) {
      Counts(*store);
    } else if (args[0] == "message" && args.size() == 4) {
      MessageCommand(*store, args[2], std::strtol(args[3].c_str(), nullptr, 10));
    } else if (args[0] == "attachments" && args.size() == 2) {
      Attachments(*store);
    } else if (args[0] == "walk" && (args.size() == 2 || args.size() == 3)) {
      // Repeats measure the reader without process start-up (benchmarks), each from a fresh open.
      const long repeat = args.size() == 3 ? std::strtol(args[2].c_str(), nullptr, 10) : 1;
      Walk(*store);
      for (long i = 1; i < repeat; ++i) {
        auto again = Store::Open(args[1], options);
        Walk(*again);
      }
    } else {
      return Usage();
    }
  } catch (const PstError& e) {
    Error(e.what());
  }
  std::fflush(stdout);
  return g_errors ? 1 : 0;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::vector<uint8_t> units;
    for (const wchar_t* p = argv[i]; *p; ++p) {
      units.push_back(static_cast<uint8_t>(*p & 0xFF));
      units.push_back(static_cast<uint8_t>((*p >> 8) & 0xFF));
    }
    args.push_back(pst::Utf16LeToUtf8(units.data(), units.size()));
  }
  return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
