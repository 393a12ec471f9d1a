// nsfdump: a test tool that prints what a Notes database holds, for comparison with other tools.
//   nsfdump counts FILE          one line per folder and form: <count> TAB <form> TAB <folder>,
//                                sorted by folder, then form (byte order); documents in no folder
//                                are counted under the folder "".
//   nsfdump folders FILE         one line per view and folder, in design order:
//                                folder|view TAB <entries> TAB <name>
//   nsfdump doc FILE NOTEID      a document: its note id, universal id, items, attachments, folders.
//                                Folder names print as stored, as in counts.
// Reads the file directly and writes no document, so it sees what the writer has flushed; when no other
// program has the file open it leaves it as a finished file is, holding everything alone, with no
// files beside it. Output is UTF-8 with LF line ends on a binary stdout.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "NoteFormat.h"
#include "NoteStore.h"

namespace {

std::string Utf8(const wchar_t* s) { return lnstore::Utf16ToUtf8(std::u16string(s, s + wcslen(s))); }

void Out(const std::string& s) { std::fwrite(s.data(), 1, s.size(), stdout); }

// Values are printed TAB-separated; control characters and backslashes inside them are escaped.
std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string FormOf(const lnstore::NoteRecord& note) {
  const int form = lnstore::FindItem(note.items, "Form");
  if (form < 0 || note.items[form].type != lnstore::kTypeTextList) return std::string();
  const auto values = lnstore::DecodeTextList(note.items[form].value);
  return values.empty() ? std::string() : values[0];
}

int Counts(lnstore::Store& store) {
  std::map<uint32_t, std::string> forms;
  for (uint32_t id : store.DocumentIds()) {
    lnstore::NoteRecord note;
    if (store.LoadNote(id, &note)) forms[id] = FormOf(note);
  }
  std::map<std::pair<std::string, std::string>, long> counts;
  std::set<uint32_t> filed;
  for (const lnstore::Design& design : store.Designs()) {
    if (!design.folder) continue;
    for (uint32_t id : store.Entries(design)) {
      auto form = forms.find(id);
      if (form == forms.end()) continue;
      ++counts[{design.name, form->second}];
      filed.insert(id);
    }
  }
  for (const auto& doc : forms)
    if (!filed.count(doc.first)) ++counts[{std::string(), doc.second}];
  for (const auto& c : counts)
    Out(std::to_string(c.second) + "\t" + c.first.second + "\t" + c.first.first + "\n");
  return 0;
}

int Folders(lnstore::Store& store) {
  for (const lnstore::Design& design : store.Designs())
    Out(std::string(design.folder ? "folder" : "view") + "\t" + std::to_string(store.Entries(design).size()) +
        "\t" + design.name + "\n");
  return 0;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

int Doc(lnstore::Store& store, uint32_t noteId) {
  lnstore::NoteRecord note;
  if (!store.LoadNote(noteId, &note) || note.noteClass != lnstore::kNoteClassDocument) {
    std::fprintf(stderr, "nsfdump: no document with note id %u\n", noteId);
    return 1;
  }
  Out("noteid\t" + std::to_string(note.noteId) + "\n");
  Out("unid\t" + note.unid + "\n");
  for (const lnstore::Item& item : note.items) {
    char head[32];
    std::snprintf(head, sizeof head, "\t0x%04X\t%u", item.type, item.flags);
    std::string line = "item\t" + Escape(item.name) + head;
    if (item.type == lnstore::kTypeTextList) {
      for (const std::string& v : lnstore::DecodeTextList(item.value)) line += "\t" + Escape(v);
    } else if (item.type == lnstore::kTypeTimeList) {
      for (const lnstore::DateTime& t : lnstore::DecodeTimeList(item.value))
        line += "\t" + lnstore::FormatDateTime(t);
    } else if (item.type == lnstore::kTypeRichText) {
      line += "\t" + Escape(item.value);
    } else {
      line += "\t" + std::to_string(item.value.size()) + "\t" + Hex(item.value);
    }
    Out(line + "\n");
  }
  for (const lnstore::AttachmentRecord& a : note.attachments)
    Out("attachment\t" + Escape(a.name) + "\t" + std::to_string(a.size) + "\n");
  for (const lnstore::Design& design : store.Designs()) {
    if (!design.folder) continue;
    for (uint32_t id : store.Entries(design))
      if (id == noteId) Out("folder\t" + design.name + "\n");
  }
  return 0;
}

int Usage() {
  std::fputs("usage: nsfdump counts FILE\n       nsfdump folders FILE\n       nsfdump doc FILE NOTEID\n",
             stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc != 3 && argc != 4) return Usage();
  const std::string command = Utf8(argv[1]);
  try {
    lnstore::Store* raw = lnstore::Store::Open(Utf8(argv[2]), true).release();
    std::unique_ptr<lnstore::Store> store(raw);
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    int rc;
    if (command == "counts" && argc == 3) {
      rc = Counts(*store);
    } else if (command == "folders" && argc == 3) {
      rc = Folders(*store);
    } else if (command == "doc" && argc == 4) {
      wchar_t* end = nullptr;
      const unsigned long id = wcstoul(argv[3], &end, 10);
      if (end == argv[3] || *end != L'\0' || id == 0 || id > 0xFFFFFFFFul) return Usage();
      rc = Doc(*store, static_cast<uint32_t>(id));
    } else {
      return Usage();
    }
    std::fflush(stdout);
    return rc;
  } catch (const lnstore::Failure& failure) {
    std::fprintf(stderr, "nsfdump: %s\n", failure.what());
    return 1;
  }
}
