// The message-file writer used by SaveAsFile for embedded messages.
#include "MsgFileWriter.h"

#include "DispatchObject.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace automation {

namespace {

constexpr uint32_t kFlagsReadWrite = 0x6;  // PROPATTR_READABLE | PROPATTR_WRITABLE
constexpr uint16_t kPrAttachDataObj = 0x3701;
constexpr uint16_t kPrAttachMethod = 0x3705;
constexpr uint16_t kPrDisplayName = 0x3001;
constexpr uint16_t kPrRecipientType = 0x0C15;
constexpr uint16_t kPrRowid = 0x3000;
constexpr uint16_t kPrStoreSupportMask = 0x340D;
constexpr int64_t kStoreUnicodeOk = 0x00040000;

struct ComRelease {
  template <typename T>
  void operator()(T* p) const {
    if (p) p->Release();
  }
};

void Check(HRESULT hr, const wchar_t* what) {
  if (FAILED(hr)) {
    wchar_t code[16];
    _snwprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    throw DispatchError(std::wstring(L"SaveAsFile: cannot write the message file (") + what + L", " + code +
                        L")");
  }
}

std::wstring StreamName(uint16_t id, uint16_t type) {
  wchar_t name[32];
  _snwprintf(name, 32, L"__substg1.0_%04X%04X", id, type);
  return name;
}

void WriteStream(IStorage* storage, const std::wstring& name, const void* data, size_t size) {
  IStream* stream = nullptr;
  Check(storage->CreateStream(name.c_str(), STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream),
        L"create stream");
  std::unique_ptr<IStream, ComRelease> guard(stream);
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ULONG chunk = static_cast<ULONG>(std::min<size_t>(size, 1u << 24));
    ULONG written = 0;
    Check(stream->Write(bytes, chunk, &written), L"write stream");
    if (written != chunk) Check(STG_E_MEDIUMFULL, L"write stream");
    bytes += chunk;
    size -= chunk;
  }
}

IStorage* CreateSubStorage(IStorage* parent, const std::wstring& name) {
  IStorage* storage = nullptr;
  Check(parent->CreateStorage(name.c_str(), STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &storage),
        L"create storage");
  return storage;
}

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put64(std::string& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}

bool SameName(const PropertyName& a, const PropertyName& b) {
  return a.set == b.set && a.lid == b.lid && (a.lid || a.name == b.name);
}

// The named-property map of the file: every named property met anywhere in the message (its
// attachments and nested messages included) gets one id from 0x8000 up.
class NameMap {
 public:
  uint16_t IdFor(const PropertyName& name) {
    for (size_t i = 0; i < names_.size(); ++i)
      if (SameName(names_[i], name)) return static_cast<uint16_t>(0x8000 + i);
    if (names_.size() >= 0x7FFF) return 0;
    names_.push_back(name);
    return static_cast<uint16_t>(0x8000 + names_.size() - 1);
  }

  void Write(IStorage* root) {
    std::unique_ptr<IStorage, ComRelease> storage(CreateSubStorage(root, L"__nameid_version1.0"));
    std::string guids, entries, strings;
    std::vector<Guid> guidList;
    for (size_t i = 0; i < names_.size(); ++i) {
      const PropertyName& n = names_[i];
      uint32_t guidIndex;
      if (n.set == kPsMapi) {
        guidIndex = 1;
      } else if (n.set == kPsPublicStrings) {
        guidIndex = 2;
      } else {
        size_t k = 0;
        while (k < guidList.size() && !(guidList[k] == n.set)) ++k;
        if (k == guidList.size()) {
          guidList.push_back(n.set);
          guids.append(reinterpret_cast<const char*>(&n.set), sizeof(Guid));
        }
        guidIndex = static_cast<uint32_t>(3 + k);
      }
      uint32_t kind = n.lid ? 0 : 1;
      if (n.lid) {
        Put32(entries, *n.lid);
      } else {
        Put32(entries, static_cast<uint32_t>(strings.size()));
        Put32(strings, static_cast<uint32_t>(n.name.size() * 2));
        strings.append(reinterpret_cast<const char*>(n.name.data()), n.name.size() * 2);
        while (strings.size() % 4) strings += '\0';
      }
      Put32(entries, (static_cast<uint32_t>(i) << 16) | (guidIndex << 1) | kind);
    }
    WriteStream(storage.get(), L"__substg1.0_00020102", guids.data(), guids.size());
    WriteStream(storage.get(), L"__substg1.0_00030102", entries.data(), entries.size());
    WriteStream(storage.get(), L"__substg1.0_00040102", strings.data(), strings.size());
    Check(storage->Commit(STGC_DEFAULT), L"commit");
  }

 private:
  std::vector<PropertyName> names_;
};

// Writes one object's properties: the fixed-size ones into the properties stream after `header`,
// the variable-size ones as streams of their own.
void WriteProperties(IStorage* storage, const std::vector<StoredProperty>& properties, std::string header,
                     NameMap& names, const std::vector<std::pair<uint16_t, uint16_t>>& objectTags = {}) {
  std::string table = std::move(header);
  for (const StoredProperty& p : properties) {
    uint16_t id = p.id;
    if (id >= 0x8000) {
      if (!p.named) continue;  // a named id without its name cannot be mapped
      id = names.IdFor(*p.named);
      if (!id) continue;
    }
    uint16_t type = p.type;
    std::string value;
    if (auto i = std::get_if<int64_t>(&p.value)) {
      if (type != kPtShort && type != kPtLong && type != kPtBoolean && type != kPtI8 && type != 0x0006 &&
          type != 0x000A)
        type = kPtLong;
      if (type == kPtI8 || type == 0x0006) {
        Put64(value, static_cast<uint64_t>(*i));
      } else {  // 4 bytes of value, 4 reserved
        uint32_t bits = static_cast<uint32_t>(*i);
        if (type == kPtShort || type == kPtBoolean) bits &= 0xFFFF;
        Put32(value, bits);
        Put32(value, 0);
      }
    } else if (auto d = std::get_if<double>(&p.value)) {
      if (type != 0x0004 && type != kPtDouble && type != 0x0007) type = kPtDouble;
      uint64_t bits;
      std::memcpy(&bits, d, 8);
      Put64(value, bits);
    } else if (auto t = std::get_if<FileTime>(&p.value)) {
      type = kPtSysTime;
      Put64(value, t->ticks);
    } else if (auto s = std::get_if<std::u16string>(&p.value)) {
      type = kPtUnicode;  // an 8-bit string arrives decoded and is written back as Unicode
      WriteStream(storage, StreamName(id, type), s->data(), s->size() * 2);
      Put32(value, static_cast<uint32_t>(s->size() * 2 + 2));
      Put32(value, 0);
    } else if (auto b = std::get_if<std::string>(&p.value)) {
      if (type != kPtClsid) type = kPtBinary;
      WriteStream(storage, StreamName(id, type), b->data(), b->size());
      Put32(value, static_cast<uint32_t>(b->size()));
      Put32(value, 0);
    } else if (auto list = std::get_if<std::vector<std::u16string>>(&p.value)) {
      // A length stream (4 bytes per value) and one stream per value, each with its terminator.
      type = kPtMvUnicode;
      std::string lengths;
      for (size_t k = 0; k < list->size(); ++k) {
        std::u16string text = (*list)[k] + u'\0';
        wchar_t suffix[16];
        _snwprintf(suffix, 16, L"-%08X", static_cast<unsigned>(k));
        WriteStream(storage, StreamName(id, type) + suffix, text.data(), text.size() * 2);
        Put32(lengths, static_cast<uint32_t>(text.size() * 2));
      }
      WriteStream(storage, StreamName(id, type), lengths.data(), lengths.size());
      Put32(value, static_cast<uint32_t>(lengths.size()));
      Put32(value, 0);
    } else {
      continue;
    }
    Put32(table, (static_cast<uint32_t>(id) << 16) | type);
    Put32(table, kFlagsReadWrite);
    table += value;
  }
  for (const auto& tag : objectTags) {
    Put32(table, (static_cast<uint32_t>(tag.first) << 16) | tag.second);
    Put32(table, kFlagsReadWrite);
    Put32(table, 0xFFFFFFFF);
    Put32(table, 0);
  }
  WriteStream(storage, L"__properties_version1.0", table.data(), table.size());
}

void WriteMessage(IStorage* storage, PstMessage& message, bool topLevel, NameMap& names);

void WriteAttachment(IStorage* storage, PstAttachment& attachment, NameMap& names) {
  std::vector<StoredProperty> properties;
  int64_t method = 0;
  for (StoredProperty& p : attachment.AllProperties()) {
    if (p.id == kPrAttachDataObj) continue;  // written below from the attachment's content
    if (p.id == kPrAttachMethod)
      if (auto i = std::get_if<int64_t>(&p.value)) method = *i;
    properties.push_back(std::move(p));
  }
  std::vector<std::pair<uint16_t, uint16_t>> objects;
  std::unique_ptr<PstMessage> embedded;
  if (method == kAttachEmbeddedMessage) embedded = attachment.EmbeddedMessage();
  if (embedded) {
    objects.push_back({kPrAttachDataObj, kPtObject});
  } else if (std::optional<std::string> data = attachment.Data()) {
    // By-value content, or a stored OLE object as the bytes of its compound file.
    properties.push_back({kPrAttachDataObj, kPtBinary, *data, std::nullopt});
  }
  WriteProperties(storage, properties, std::string(8, '\0'), names, objects);
  if (embedded) {
    std::unique_ptr<IStorage, ComRelease> nested(
        CreateSubStorage(storage, StreamName(kPrAttachDataObj, kPtObject)));
    WriteMessage(nested.get(), *embedded, false, names);
    Check(nested->Commit(STGC_DEFAULT), L"commit");
  }
}

void WriteMessage(IStorage* storage, PstMessage& message, bool topLevel, NameMap& names) {
  std::vector<Recipient> recipients = message.Recipients();
  size_t attachments = message.AttachmentCount();
  std::string header(8, '\0');
  Put32(header, static_cast<uint32_t>(recipients.size()));
  Put32(header, static_cast<uint32_t>(attachments));
  Put32(header, static_cast<uint32_t>(recipients.size()));
  Put32(header, static_cast<uint32_t>(attachments));
  std::vector<StoredProperty> properties = message.AllProperties();
  if (topLevel) {
    header.append(8, '\0');
    // Every string is written as Unicode; a reader learns so from the store support mask.
    bool hasMask = false;
    for (const StoredProperty& p : properties) hasMask = hasMask || p.id == kPrStoreSupportMask;
    if (!hasMask)
      properties.push_back({kPrStoreSupportMask, kPtLong, int64_t{kStoreUnicodeOk}, std::nullopt});
  }
  WriteProperties(storage, properties, header, names);

  for (size_t i = 0; i < recipients.size(); ++i) {
    wchar_t name[40];
    _snwprintf(name, 40, L"__recip_version1.0_#%08X", static_cast<unsigned>(i));
    std::unique_ptr<IStorage, ComRelease> sub(CreateSubStorage(storage, name));
    std::vector<StoredProperty> properties = recipients[i].properties;
    if (properties.empty()) {
      properties.push_back({kPrDisplayName, kPtUnicode, recipients[i].displayName, std::nullopt});
      properties.push_back(
          {kPrRecipientType, kPtLong, static_cast<int64_t>(recipients[i].type), std::nullopt});
    }
    bool hasRowid = false;
    for (const StoredProperty& p : properties) hasRowid = hasRowid || p.id == kPrRowid;
    if (!hasRowid) properties.push_back({kPrRowid, kPtLong, static_cast<int64_t>(i), std::nullopt});
    WriteProperties(sub.get(), properties, std::string(8, '\0'), names);
    Check(sub->Commit(STGC_DEFAULT), L"commit");
  }
  for (size_t i = 0; i < attachments; ++i) {
    std::unique_ptr<PstAttachment> attachment = message.Attachment(i);
    if (!attachment) continue;
    wchar_t name[40];
    _snwprintf(name, 40, L"__attach_version1.0_#%08X", static_cast<unsigned>(i));
    std::unique_ptr<IStorage, ComRelease> sub(CreateSubStorage(storage, name));
    WriteAttachment(sub.get(), *attachment, names);
    Check(sub->Commit(STGC_DEFAULT), L"commit");
  }
}

}  // namespace

void WriteMessageFile(PstMessage& message, const std::wstring& path) {
  IStorage* root = nullptr;
  Check(StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &root),
        L"create file");
  std::unique_ptr<IStorage, ComRelease> guard(root);
  try {
    NameMap names;
    WriteMessage(root, message, true, names);
    names.Write(root);
    Check(root->Commit(STGC_DEFAULT), L"commit");
  } catch (...) {
    guard.reset();
    DeleteFileW(path.c_str());
    throw;
  }
}

}  // namespace automation
