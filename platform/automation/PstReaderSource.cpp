// The PST source over the project's PST reader: the stand-in servers see the reader's store,
// folders, messages and attachments through the narrow interface of PstSource.h. Everything is read
// on demand on the caller's thread; the open file lives as long as any object made from it.
#include "PstSource.h"
#include "StandInFaults.h"

#include "pst/Error.h"
#include "pst/Messaging.h"
#include "pst/Rtf.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace automation {

namespace {

using StorePtr = std::shared_ptr<pst::Store>;

std::u16string FromUtf8(const std::string& utf8) {
  if (utf8.empty()) return std::u16string();
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
  return std::u16string(wide.begin(), wide.end());
}

std::string ToUtf8(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

pst::Guid ToReaderGuid(const Guid& g) {
  pst::Guid out;
  static_assert(sizeof(Guid) == 16, "a property-set GUID is 16 bytes as stored");
  std::memcpy(out.bytes.data(), &g, 16);  // both little-endian as stored
  return out;
}

Guid FromReaderGuid(const pst::Guid& g) {
  Guid out;
  std::memcpy(&out, g.bytes.data(), 16);
  return out;
}

// A stored value in the servers' terms; nullopt for types the servers never read.
std::optional<PropValue> Convert(const pst::PropValue& v, uint32_t codePage) {
  switch (v.type) {
    case kPtShort:
    case kPtLong:
    case kPtBoolean:
    case kPtI8:
    case 0x000A:  // PT_ERROR
      return PropValue(static_cast<int64_t>(v.AsInt()));
    case 0x0006: {  // PT_CURRENCY
      int64_t value = 0;
      if (v.bytes.size() >= 8) std::memcpy(&value, v.bytes.data(), 8);
      return PropValue(value);
    }
    case 0x0004: {  // PT_FLOAT
      float f = 0;
      if (v.bytes.size() >= 4) std::memcpy(&f, v.bytes.data(), 4);
      return PropValue(static_cast<double>(f));
    }
    case kPtDouble:
    case 0x0007: {  // PT_APPTIME
      double d = 0;
      if (v.bytes.size() >= 8) std::memcpy(&d, v.bytes.data(), 8);
      return PropValue(d);
    }
    case kPtSysTime:
      return PropValue(FileTime{static_cast<uint64_t>(v.AsInt())});
    case kPtString8:
    case kPtUnicode:
      return PropValue(FromUtf8(v.AsUtf8(codePage)));
    case kPtBinary:
    case kPtClsid:
      return PropValue(std::string(v.bytes.begin(), v.bytes.end()));
    case 0x101E:  // PT_MV_STRING8
    case kPtMvUnicode: {
      std::vector<std::u16string> list;
      for (const std::string& s : v.AsUtf8List(codePage)) list.push_back(FromUtf8(s));
      return PropValue(list);
    }
    case kPtMvBinary: {
      std::vector<std::string> list;
      for (const std::vector<uint8_t>& bytes : v.AsBinaryList())
        list.emplace_back(bytes.begin(), bytes.end());
      return PropValue(list);
    }
  }
  return std::nullopt;
}

std::optional<PropValue> Convert(const std::optional<pst::PropValue>& v, uint32_t codePage) {
  if (!v) return std::nullopt;
  return Convert(*v, codePage);
}

std::vector<StoredProperty> AllOf(const pst::PropertyContext& pc, pst::Store& store, uint32_t codePage) {
  std::vector<StoredProperty> out;
  for (uint32_t tag : pc.Tags()) {
    uint16_t id = static_cast<uint16_t>(tag >> 16);
    std::optional<pst::PropValue> raw;
    try {
      raw = pc.Get(id);
    } catch (const pst::PstError& error) {
      if (error.Kind() == pst::ErrorKind::kIo) throw;  // the file failing is no damage of the value
      continue;  // one damaged value does not lose the rest of the message
    }
    std::optional<PropValue> value = Convert(raw, codePage);
    if (!value) continue;
    StoredProperty p{id, raw->type, *value, std::nullopt};
    if (id >= 0x8000) {
      const pst::NamedProperty* name = store.NamedProperties().NameOf(id);
      if (!name) continue;
      PropertyName n;
      n.set = FromReaderGuid(name->guid);
      if (name->isString)
        n.name = FromUtf8(name->name);
      else
        n.lid = name->lid;
      p.named = n;
    }
    out.push_back(std::move(p));
  }
  return out;
}

class ReaderMessage;

class ReaderAttachment : public PstAttachment {
 public:
  ReaderAttachment(StorePtr store, std::unique_ptr<pst::Attachment> a, uint32_t codePage)
      : store_(std::move(store)), a_(std::move(a)), codePage_(codePage) {}
  std::optional<PropValue> Property(uint16_t id) override { return Convert(a_->Get(id), codePage_); }
  std::vector<StoredProperty> AllProperties() override { return AllOf(a_->Properties(), *store_, codePage_); }
  std::optional<std::string> Data() override {
    if (!a_->Properties().Has(pst::prop::kAttachDataBin)) return std::nullopt;
    pst::Stream data = a_->OpenData();
    std::vector<uint8_t> bytes = data.ReadAll(data.Size() + 1);
    return std::string(bytes.begin(), bytes.end());
  }
  bool ReadData(const std::function<void(const char*, size_t)>& sink) override {
    if (!a_->Properties().Has(pst::prop::kAttachDataBin)) return false;
    pst::Stream data = a_->OpenData();
    // Pieces of at most 1 MiB; a small attachment gets a buffer of its own size.
    const size_t size = static_cast<size_t>(std::min<uint64_t>(data.Size(), 1u << 20));
    std::unique_ptr<char[]> buffer(new char[size > 0 ? size : 1]);
    uint64_t offset = 0;
    sink(buffer.get(), 0);
    while (offset < data.Size()) {
      size_t chunk = static_cast<size_t>(std::min<uint64_t>(size, data.Size() - offset));
      data.Read(offset, buffer.get(), chunk);
      sink(buffer.get(), chunk);
      offset += chunk;
    }
    return true;
  }
  std::unique_ptr<PstMessage> EmbeddedMessage() override;

 private:
  StorePtr store_;
  std::unique_ptr<pst::Attachment> a_;
  uint32_t codePage_;
};

class ReaderMessage : public PstMessage {
 public:
  ReaderMessage(StorePtr store, std::unique_ptr<pst::Message> m)
      : store_(std::move(store)), m_(std::move(m)) {}

  std::optional<PropValue> Property(uint16_t id) override {
    // The stored subject may open with a prefix marker that no reader shows.
    if (id == pst::prop::kSubject) {
      if (!m_->Properties().Has(id)) return std::nullopt;
      return PropValue(FromUtf8(m_->Subject()));
    }
    return Convert(m_->Get(id), m_->CodePage());
  }
  std::optional<PropValue> NamedProperty(const Guid& set, uint32_t lid) override {
    return Convert(m_->GetNamed(ToReaderGuid(set), lid), m_->CodePage());
  }
  std::optional<PropValue> NamedProperty(const Guid& set, const std::u16string& name) override {
    return Convert(m_->GetNamed(ToReaderGuid(set), ToUtf8(std::wstring(name.begin(), name.end()))),
                   m_->CodePage());
  }
  std::vector<StoredProperty> AllProperties() override {
    std::vector<StoredProperty> all = AllOf(m_->Properties(), *store_, m_->CodePage());
    for (StoredProperty& p : all)
      if (p.id == pst::prop::kSubject) p.value = FromUtf8(m_->Subject());
    return all;
  }
  std::vector<Recipient> Recipients() override {
    std::vector<Recipient> out;
    for (const pst::Recipient& r : m_->Recipients()) {
      Recipient recipient;
      recipient.type = r.Type();
      recipient.displayName = FromUtf8(r.String(pst::prop::kDisplayName));
      for (const auto& cell : r.properties) {
        std::optional<PropValue> value = Convert(cell.second, r.codePage);
        if (value && cell.first < 0x8000)
          recipient.properties.push_back({cell.first, cell.second.type, *value, {}});
      }
      out.push_back(std::move(recipient));
    }
    return out;
  }
  size_t AttachmentCount() override { return m_->AttachmentCount(); }
  std::unique_ptr<PstAttachment> Attachment(size_t index) override {
    std::vector<std::unique_ptr<pst::Attachment>> all = m_->Attachments();
    if (index >= all.size() || !all[index]) return nullptr;
    return std::make_unique<ReaderAttachment>(store_, std::move(all[index]), m_->CodePage());
  }
  std::optional<std::string> RtfText() override { return m_->BodyRtf(); }
  std::optional<std::u16string> HtmlFromRtf() override {
    std::optional<std::string> rtf = m_->BodyRtf();
    if (!rtf) return std::nullopt;
    bool isHtml = false;
    std::string html = pst::DeencapsulateRtf(*rtf, &isHtml);
    if (!isHtml) return std::nullopt;
    return FromUtf8(html);
  }
  std::optional<std::u16string> PlainTextFromRtf() override {
    std::optional<std::string> rtf = m_->BodyRtf();
    if (!rtf) return std::nullopt;
    bool isHtml = false;
    std::string text = pst::DeencapsulateRtf(*rtf, &isHtml);
    if (isHtml) return std::nullopt;
    return FromUtf8(text);
  }

 private:
  StorePtr store_;
  std::unique_ptr<pst::Message> m_;
};

std::unique_ptr<PstMessage> ReaderAttachment::EmbeddedMessage() {
  if (!a_->IsEmbeddedMessage()) return nullptr;
  return std::make_unique<ReaderMessage>(store_, a_->OpenEmbeddedMessage());
}

// A sub-folder that the hierarchy lists but that cannot be opened: it stays in the list, so that its
// loss is seen, and every read of it fails with the reason.
class UnreadableFolder : public PstFolder {
 public:
  explicit UnreadableFolder(std::string why) : why_("The folder is damaged and cannot be read: " + why) {}
  std::u16string Name() override { throw SourceError(why_); }
  std::u16string ContainerClass() override { throw SourceError(why_); }
  std::vector<std::shared_ptr<PstFolder>> SubFolders() override { throw SourceError(why_); }
  size_t MessageCount() override { throw SourceError(why_); }
  std::unique_ptr<PstMessage> Message(size_t) override { throw SourceError(why_); }

 private:
  std::string why_;
};

class ReaderFolder : public PstFolder {
 public:
  ReaderFolder(StorePtr store, uint32_t nid) : store_(std::move(store)), folder_(store_->OpenFolder(nid)) {}
  std::u16string Name() override { return FromUtf8(folder_->DisplayName()); }
  std::u16string ContainerClass() override { return FromUtf8(folder_->ContainerClass()); }
  std::vector<std::shared_ptr<PstFolder>> SubFolders() override {
    std::vector<uint32_t> children;
    try {
      children = folder_->ChildFolders();
    } catch (const pst::PstError& error) {
      // The file itself failing is no damage of the list: said at the dispatch boundary.
      if (error.Kind() == pst::ErrorKind::kIo) throw;
      throw SourceError(std::string("The list of sub-folders is damaged and cannot be read: ") +
                        error.what());
    }
    std::vector<std::shared_ptr<PstFolder>> out;
    for (uint32_t nid : children) {
      // A folder that cannot be opened stands in the list as unreadable, so that the walk reaches its
      // siblings and its loss is reported.
      try {
        out.push_back(std::make_shared<ReaderFolder>(store_, nid));
      } catch (const pst::PstError& error) {
        if (error.Kind() == pst::ErrorKind::kIo) throw;  // the file failing, not the folder
        out.push_back(std::make_shared<UnreadableFolder>(error.what()));
      }
    }
    return out;
  }
  size_t MessageCount() override {
    try {
      return Nids().size();
    } catch (const pst::PstError& error) {
      // The file itself failing is no damage of the list: said at the dispatch boundary.
      if (error.Kind() == pst::ErrorKind::kIo) throw;
      throw SourceError(std::string("The list of items is damaged and cannot be read: ") + error.what());
    }
  }
  // The folder's properties were read when it was opened: they are told from memory.
  std::optional<PropValue> Property(uint16_t id) override {
    return Convert(folder_->Properties().Get(id), store_->CodePage());
  }
  std::unique_ptr<PstMessage> Message(size_t index) override {
    const std::vector<uint32_t>& nids = Nids();
    if (index >= nids.size()) return nullptr;
    return std::make_unique<ReaderMessage>(store_, store_->OpenMessage(nids[index]));
  }

 private:
  const std::vector<uint32_t>& Nids() {
    if (!messages_) messages_ = folder_->Messages();
    return *messages_;
  }
  StorePtr store_;
  std::unique_ptr<pst::Folder> folder_;
  std::optional<std::vector<uint32_t>> messages_;
};

// An offline folders file of a server mailbox may not record its IPM subtree in the store's
// properties; there it is the folder "IPM_SUBTREE" below "Root - Mailbox" (a public-folders tree
// beside it, "Root - Public", has one of the same name, which is not the user's mail).
std::optional<uint32_t> FindIpmSubtreeByName(pst::Store& store) {
  std::optional<uint32_t> any;
  for (uint32_t top : store.OpenFolder(store.RootFolderNid())->ChildFolders()) {
    try {
      std::unique_ptr<pst::Folder> folder = store.OpenFolder(top);
      for (uint32_t child : folder->ChildFolders()) {
        if (store.OpenFolder(child)->DisplayName() != "IPM_SUBTREE") continue;
        if (folder->DisplayName() == "Root - Mailbox") return child;
        if (!any) any = child;
      }
    } catch (const pst::PstError&) {
    }
  }
  return any;
}

class ReaderStore : public PstStore {
 public:
  explicit ReaderStore(StorePtr store) : store_(std::move(store)) {}
  std::u16string DisplayName() override { return FromUtf8(store_->DisplayName()); }
  std::shared_ptr<PstFolder> IpmSubtree() override {
    std::optional<uint32_t> nid = store_->IpmSubtreeNid();
    if (!nid) nid = FindIpmSubtreeByName(*store_);
    // A file with no IPM subtree at all still shows its folders, from the store's root.
    return std::make_shared<ReaderFolder>(store_, nid ? *nid : store_->RootFolderNid());
  }
  std::unique_ptr<PstMessage> MessageByEntryId(const std::string& entryId) override {
    // Four flag bytes, the store's record key, the message's node id. An entry id of another store
    // would name some other message of this one.
    if (entryId.size() != 24) return nullptr;
    std::optional<pst::PropValue> recordKey;
    try {
      recordKey = store_->Properties().Get(0x0FF9);  // PR_RECORD_KEY
    } catch (const pst::PstError&) {
    }
    if (recordKey && recordKey->bytes.size() == 16 &&
        std::memcmp(recordKey->bytes.data(), entryId.data() + 4, 16) != 0)
      return nullptr;
    uint32_t nid = 0;
    std::memcpy(&nid, entryId.data() + 20, 4);
    if ((nid & 0x1F) != 0x04) return nullptr;  // a normal message
    try {
      return std::make_unique<ReaderMessage>(store_, store_->OpenMessage(nid));
    } catch (const pst::PstError&) {
      return nullptr;
    }
  }

 private:
  StorePtr store_;
};

}  // namespace

bool IsUnreadableFile(const std::exception& error) {
  const auto* reader = dynamic_cast<const pst::PstError*>(&error);
  return reader != nullptr && reader->Kind() == pst::ErrorKind::kIo;
}

std::string DescribeSourceFailure(const std::exception& error) {
  if (IsUnreadableFile(error)) return std::string("The PST file can no longer be read: ") + error.what();
  return error.what();
}

std::unique_ptr<PstStore> OpenPstStore(const std::wstring& path) {
  // A failing disk, for tests: "pst.unreadable=<offset>" cannot read the 4 KiB block that holds the
  // offset, "pst.unreadablefrom=<offset>" anything from there to the end.
  const StandInFaults faults = StandInFaults::FromEnvironment();
  pst::StoreOptions options;
  if (const long offset = faults.Number("pst.unreadable"))
    options.file.readFault = {uint64_t(offset) / 4096 * 4096, 4096};
  if (const long offset = faults.Number("pst.unreadablefrom"))
    options.file.readFault = {uint64_t(offset), UINT64_MAX - uint64_t(offset)};
  try {
    StorePtr store(pst::Store::Open(ToUtf8(path), options).release());
    // An incomplete copy would open and show only part of its folders and items, with nothing to say
    // that the rest is missing.
    const pst::FileInfo& info = store->File().Info();
    if (info.truncated)
      throw SourceError("The file " + ToUtf8(path) + " is incomplete: it holds " +
                        std::to_string(store->File().Size()) + " of the " + std::to_string(info.fileEof) +
                        " bytes its header gives. Copy it again from where it came from.");
    return std::make_unique<ReaderStore>(std::move(store));
  } catch (const pst::PstError& error) {
    throw SourceError("The file " + ToUtf8(path) + " cannot be read as a PST: " + error.what());
  }
}

}  // namespace automation
