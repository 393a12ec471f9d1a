// Message store, folders, messages, attachments and named properties over the LTP layer.
#include "pst/Messaging.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "pst/ByteReader.h"
#include "pst/CodePage.h"
#include "pst/Rtf.h"
#include "pst/format/Layout.h"

namespace pst {

using namespace format;

const Guid kPsMapi = Guid::Parse("{00020328-0000-0000-C000-000000000046}");
const Guid kPsPublicStrings = Guid::Parse("{00020329-0000-0000-C000-000000000046}");
const Guid kPsetidAppointment = Guid::Parse("{00062002-0000-0000-C000-000000000046}");
const Guid kPsetidTask = Guid::Parse("{00062003-0000-0000-C000-000000000046}");
const Guid kPsetidAddress = Guid::Parse("{00062004-0000-0000-C000-000000000046}");
const Guid kPsetidCommon = Guid::Parse("{00062008-0000-0000-C000-000000000046}");
const Guid kPsetidLog = Guid::Parse("{0006200A-0000-0000-C000-000000000046}");
const Guid kPsetidNote = Guid::Parse("{0006200E-0000-0000-C000-000000000046}");

// ---- Guid ------------------------------------------------------------------------------------

Guid Guid::Parse(const std::string& text) {
  std::string hex;
  for (char c : text)
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
  if (hex.size() != 32) throw PstError(ErrorKind::kInvalidArgument, "bad GUID " + text);
  uint8_t raw[16];
  for (int i = 0; i < 16; ++i) raw[i] = static_cast<uint8_t>(std::stoul(hex.substr(i * 2, 2), nullptr, 16));
  // Text order is big-endian for the first three fields; storage is little-endian.
  const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  Guid guid;
  for (int i = 0; i < 16; ++i) guid.bytes[i] = raw[order[i]];
  return guid;
}

std::string Guid::ToString() const {
  const uint8_t* b = bytes.data();
  char text[40];
  std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
                b[15]);
  return text;
}

// ---- Helpers ---------------------------------------------------------------------------------

uint32_t AnsiCodePageFor(uint32_t codePage) {
  switch (codePage) {
    case 1252:
    case 20127:
    case 28591:
    case 28605:
      return 1252;
    case 932:
    case 20932:
    case 50220:
    case 50221:
    case 50222:
    case 50932:
    case 51932:
    case 10001:
      return 932;
    default:
      return 0;
  }
}

std::string FormatFileTime(int64_t fileTime) {
  // Seconds since 1601-01-01, then civil date from days (proleptic Gregorian).
  int64_t seconds = fileTime / 10000000;
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) rest += 86400, --days;
  days -= 134774;  // 1601-01-01 to 1970-01-01
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(y),
                static_cast<long long>(m), static_cast<long long>(d), static_cast<long long>(rest / 3600),
                static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
  return text;
}

namespace {

std::optional<SubnodeEntry> FindSubnode(const SubnodeMap& map, uint32_t nid) {
  auto it = map.find(nid);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

uint32_t HtmlMetaCodePage(const std::vector<uint8_t>& html) {
  std::string head(html.begin(), html.begin() + std::min<size_t>(html.size(), 4096));
  for (auto& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t at = head.find("charset=");
  if (at == std::string::npos) return 0;
  size_t start = at + 8;
  while (start < head.size() && (head[start] == '"' || head[start] == '\'')) ++start;
  size_t end = start;
  while (end < head.size() &&
         (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' || head[end] == '_'))
    ++end;
  const std::string name = head.substr(start, end - start);
  if (name == "utf-8" || name == "utf8") return kCodePageUtf8;
  if (name == "shift_jis" || name == "shift-jis" || name == "x-sjis" || name == "windows-31j" ||
      name == "cp932")
    return kCodePageShiftJis;
  if (name == "windows-1252" || name == "iso-8859-1" || name == "us-ascii") return 1252;
  if (name == "iso-2022-jp") return 50220;
  return 0;
}

}  // namespace

// ---- Named properties ------------------------------------------------------------------------

NamedPropertyMap::NamedPropertyMap(PstFile& file) {
  PropertyContext pc(file, file.GetNode(kNidNameToIdMap), "named-property map");
  auto stream = [&](uint16_t id) {
    auto value = pc.Get(id);
    return value ? value->bytes : std::vector<uint8_t>();
  };
  const std::vector<uint8_t> guids = stream(0x0002);
  const std::vector<uint8_t> entries = stream(0x0003);
  const std::vector<uint8_t> strings = stream(0x0004);
  ByteReader names(strings.data(), strings.size(), "named-property string stream");
  for (size_t at = 0; at + sizeof(NameIdEntry) <= entries.size(); at += sizeof(NameIdEntry)) {
    NameIdEntry entry;
    std::memcpy(&entry, entries.data() + at, sizeof entry);
    NamedProperty named;
    const uint32_t guidIndex = entry.wGuidAndKind >> 1;
    if (guidIndex == 1) {
      named.guid = kPsMapi;
    } else if (guidIndex == 2) {
      named.guid = kPsPublicStrings;
    } else if (guidIndex >= 3 && (guidIndex - 3) * 16 + 16 <= guids.size()) {
      std::memcpy(named.guid.bytes.data(), guids.data() + (guidIndex - 3) * 16, 16);
    } else {
      continue;  // no GUID: the entry names nothing a caller can ask for
    }
    named.isString = (entry.wGuidAndKind & 1) != 0;
    if (named.isString) {
      try {
        const uint32_t length = names.U32(entry.dwPropertyId, "name length");
        const uint8_t* text = names.Bytes(entry.dwPropertyId + size_t{4}, length, "name");
        named.name = Utf16LeToUtf8(text, length);
      } catch (const PstError&) {
        continue;  // one bad name does not hide the others
      }
    } else {
      named.lid = entry.dwPropertyId;
    }
    const uint16_t id = static_cast<uint16_t>(0x8000 + entry.wPropIdx);
    if (named.isString)
      byName_[{named.guid, named.name}] = id;
    else
      byLid_[{named.guid, named.lid}] = id;
    byId_[id] = std::move(named);
  }
}

std::optional<uint16_t> NamedPropertyMap::Find(const Guid& guid, uint32_t lid) const {
  auto it = byLid_.find({guid, lid});
  if (it == byLid_.end()) return std::nullopt;
  return it->second;
}

std::optional<uint16_t> NamedPropertyMap::Find(const Guid& guid, const std::string& name) const {
  auto it = byName_.find({guid, name});
  if (it == byName_.end()) return std::nullopt;
  return it->second;
}

const NamedProperty* NamedPropertyMap::NameOf(uint16_t id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : &it->second;
}

// ---- Store -----------------------------------------------------------------------------------

std::unique_ptr<Store> Store::Open(const std::string& utf8Path, StoreOptions options) {
  return std::make_unique<Store>(PstFile::Open(utf8Path, options.file), options);
}

Store::Store(std::unique_ptr<PstFile> file, StoreOptions options)
    : file_(std::move(file)), options_(options) {
  pc_ = std::make_unique<PropertyContext>(*file_, file_->GetNode(kNidMessageStore), "message store");
  // The caller's code page as given (UTF-8 included), an internet one as its Windows code page.
  const uint32_t given = options_.defaultCodePage;
  codePage_ = AnsiCodePageFor(given) ? AnsiCodePageFor(given) : IsSupportedCodePage(given) ? given : 1252;
  if (auto cp = pc_->Get(prop::kMessageCodePage)) {
    if (uint32_t ansi = AnsiCodePageFor(static_cast<uint32_t>(cp->AsInt()))) codePage_ = ansi;
  }
}

std::string Store::DisplayName() const {
  auto value = pc_->Get(prop::kDisplayName);
  return value ? value->AsUtf8(codePage_) : std::string();
}

uint32_t Store::RootFolderNid() const { return kNidRootFolder; }

std::optional<uint32_t> Store::IpmSubtreeNid() const {
  auto value = pc_->Get(prop::kIpmSubtreeEntryId);
  if (!value || value->bytes.size() < 24) return std::nullopt;
  uint32_t nid;
  std::memcpy(&nid, value->bytes.data() + 20, 4);
  return nid;
}

const NamedPropertyMap& Store::NamedProperties() {
  if (!named_) {
    try {
      named_ = std::make_unique<NamedPropertyMap>(*file_);
    } catch (const PstError&) {
      named_ = std::make_unique<NamedPropertyMap>();
    }
  }
  return *named_;
}

// ---- Folder ----------------------------------------------------------------------------------

Folder::Folder(Store& store, uint32_t nid)
    : store_(store), nid_(nid), pc_(store.File(), store.File().GetNode(nid), "folder " + Hex(nid)) {}

std::string Folder::DisplayName() const {
  auto value = pc_.Get(prop::kDisplayName);
  return value ? value->AsUtf8(store_.CodePage()) : std::string();
}

std::string Folder::ContainerClass() const {
  auto value = pc_.Get(prop::kContainerClass);
  return value ? value->AsUtf8(store_.CodePage()) : std::string();
}

bool Folder::IsSearchFolder() const { return NidTypeOf(nid_) == kNidTypeSearchFolder; }

std::vector<uint32_t> Folder::TableRows(uint32_t tableType, bool (*keep)(uint32_t)) const {
  std::vector<uint32_t> rows;
  NodeEntry node;
  if (!store_.File().FindNode(FolderTableNid(nid_, tableType), &node)) return rows;
  TableContext table(store_.File(), node, "table " + Hex(node.nid));
  for (size_t i = 0; i < table.RowCount(); ++i) {
    const uint32_t id = table.RowId(i);
    if (keep(id)) rows.push_back(id);
  }
  return rows;
}

std::vector<uint32_t> Folder::ChildFolders() const {
  if (IsSearchFolder()) return {};
  return TableRows(kNidTypeHierarchyTable, [](uint32_t nid) {
    return NidTypeOf(nid) == kNidTypeNormalFolder || NidTypeOf(nid) == kNidTypeSearchFolder;
  });
}

std::vector<uint32_t> Folder::Messages() const {
  if (IsSearchFolder()) return {};
  return TableRows(kNidTypeContentsTable,
                   [](uint32_t nid) { return NidTypeOf(nid) == kNidTypeNormalMessage; });
}

std::vector<uint32_t> Folder::AssociatedMessages() const {
  if (IsSearchFolder()) return {};
  return TableRows(kNidTypeAssocContentsTable,
                   [](uint32_t nid) { return NidTypeOf(nid) == kNidTypeAssocMessage; });
}

// ---- Message ---------------------------------------------------------------------------------

Message::Message(Store& store, uint32_t nid)
    : store_(store), nid_(nid), pc_(store.File(), store.File().GetNode(nid), "message " + Hex(nid)) {
  ResolveCodePage();
}

Message::Message(Store& store, uint32_t nid, uint64_t bidData, uint64_t bidSub)
    : store_(store), nid_(nid), pc_(store.File(), bidData, bidSub, "embedded message " + Hex(nid)) {
  ResolveCodePage();
}

void Message::ResolveCodePage() {
  codePage_ = store_.CodePage();
  for (uint16_t id : {prop::kMessageCodePage, prop::kInternetCodePage}) {
    auto value = pc_.Get(id);
    if (!value) continue;
    if (uint32_t ansi = AnsiCodePageFor(static_cast<uint32_t>(value->AsInt()))) {
      codePage_ = ansi;
      return;
    }
  }
}

std::string Message::String(uint16_t id) const {
  auto value = pc_.Get(id);
  return value ? value->AsUtf8(codePage_) : std::string();
}

std::string Message::Subject() const {
  std::string subject = String(prop::kSubject);
  if (subject.size() >= 2 && subject[0] == '\x01') {
    // Drop the marker and the one character (of any UTF-8 length) after it.
    size_t end = 2;
    while (end < subject.size() && (static_cast<unsigned char>(subject[end]) & 0xC0) == 0x80) ++end;
    subject.erase(0, end);
  }
  return subject;
}

std::optional<int64_t> Message::Int(uint16_t id) const {
  auto value = pc_.Get(id);
  if (!value) return std::nullopt;
  return value->AsInt();
}

std::optional<PropValue> Message::GetNamed(const Guid& guid, uint32_t lid) const {
  auto id = store_.NamedProperties().Find(guid, lid);
  return id ? pc_.Get(*id) : std::nullopt;
}

std::optional<PropValue> Message::GetNamed(const Guid& guid, const std::string& name) const {
  auto id = store_.NamedProperties().Find(guid, name);
  return id ? pc_.Get(*id) : std::nullopt;
}

std::vector<Recipient> Message::Recipients() const {
  std::vector<Recipient> out;
  auto node = FindSubnode(pc_.Subnodes(), kNidRecipientTable);
  if (!node) return out;
  TableContext table(store_.File(), node->bidData, node->bidSub, "recipient table of " + Hex(nid_));
  const std::vector<uint32_t> columns = table.Columns();
  for (size_t row = 0; row < table.RowCount(); ++row) {
    Recipient recipient;
    recipient.codePage = codePage_;
    for (uint32_t tag : columns) {
      if (auto value = table.Cell(row, TagId(tag))) recipient.properties[TagId(tag)] = std::move(*value);
    }
    out.push_back(std::move(recipient));
  }
  return out;
}

size_t Message::AttachmentCount() const {
  auto node = FindSubnode(pc_.Subnodes(), kNidAttachmentTable);
  if (!node) return 0;
  return TableContext(store_.File(), node->bidData, node->bidSub, "attachment table").RowCount();
}

std::vector<std::unique_ptr<Attachment>> Message::Attachments() const {
  std::vector<std::unique_ptr<Attachment>> out;
  auto node = FindSubnode(pc_.Subnodes(), kNidAttachmentTable);
  if (!node) return out;
  TableContext table(store_.File(), node->bidData, node->bidSub, "attachment table of " + Hex(nid_));
  for (size_t row = 0; row < table.RowCount(); ++row) {
    const uint32_t nid = table.RowId(row);
    auto sub = FindSubnode(pc_.Subnodes(), nid);
    if (!sub)
      throw PstError(ErrorKind::kNotFound,
                     "attachment " + Hex(nid) + " of message " + Hex(nid_) + " not found");
    out.push_back(std::make_unique<Attachment>(store_, nid, *sub, codePage_));
  }
  return out;
}

std::optional<std::string> Message::BodyText() const {
  if (auto body = pc_.Get(prop::kBody)) return body->AsUtf8(codePage_);
  if (auto rtf = BodyRtf()) {
    if (!RtfWrapsHtml(*rtf)) return DeencapsulateRtf(*rtf, nullptr);
  }
  return std::nullopt;
}

std::optional<std::string> Message::BodyHtml() const {
  if (auto html = pc_.Get(prop::kHtml)) {
    if (html->IsString()) return html->AsUtf8(codePage_);
    uint32_t cp = 0;
    if (auto cpid = pc_.Get(prop::kInternetCodePage)) {
      // HTML bytes are in the internet code page itself (unlike 8-bit MAPI strings).
      const uint32_t named = static_cast<uint32_t>(cpid->AsInt());
      cp = IsSupportedCodePage(named) ? named : AnsiCodePageFor(named);
    }
    if (!cp) cp = HtmlMetaCodePage(html->bytes);
    if (!cp) cp = 1252;
    return DecodeAnsi(html->bytes.data(), html->bytes.size(), cp);
  }
  if (auto rtf = BodyRtf()) {
    if (RtfWrapsHtml(*rtf)) return DeencapsulateRtf(*rtf, nullptr);
  }
  return std::nullopt;
}

std::optional<std::string> Message::BodyRtf() const {
  auto rtf = pc_.Get(prop::kRtfCompressed);
  if (!rtf) return std::nullopt;
  std::vector<uint8_t> bytes = DecompressRtf(rtf->bytes.data(), rtf->bytes.size());
  return std::string(bytes.begin(), bytes.end());
}

// ---- Recipient -------------------------------------------------------------------------------

std::string Recipient::String(uint16_t id) const {
  auto it = properties.find(id);
  return it == properties.end() ? std::string() : it->second.AsUtf8(codePage);
}

int32_t Recipient::Type() const {
  auto it = properties.find(prop::kRecipientType);
  return it == properties.end() ? 0 : static_cast<int32_t>(it->second.AsInt());
}

// ---- Attachment ------------------------------------------------------------------------------

Attachment::Attachment(Store& store, uint32_t nid, const SubnodeEntry& node, uint32_t codePage)
    : store_(store),
      nid_(nid),
      pc_(store.File(), node.bidData, node.bidSub, "attachment " + Hex(nid)),
      codePage_(codePage) {}

std::string Attachment::String(uint16_t id) const {
  auto value = pc_.Get(id);
  return value ? value->AsUtf8(codePage_) : std::string();
}

int32_t Attachment::Method() const {
  auto value = pc_.Get(prop::kAttachMethod);
  return value ? static_cast<int32_t>(value->AsInt()) : kAttachNone;
}

std::string Attachment::FileName() const {
  for (uint16_t id : {prop::kAttachLongFilename, prop::kAttachFilename, prop::kDisplayName}) {
    std::string name = String(id);
    if (!name.empty()) return name;
  }
  return std::string();
}

std::optional<SubnodeEntry> Attachment::ObjectNode() const {
  if (pc_.TypeOf(prop::kAttachDataBin) != kPtObject) return std::nullopt;
  auto value = pc_.Get(prop::kAttachDataBin);
  if (!value || value->bytes.size() < 4) return std::nullopt;
  uint32_t nid;
  std::memcpy(&nid, value->bytes.data(), 4);
  auto node = FindSubnode(pc_.Subnodes(), nid);
  if (!node)
    throw PstError(ErrorKind::kNotFound, "attachment " + Hex(nid_) + ": object " + Hex(nid) + " not found");
  return node;
}

bool Attachment::IsEmbeddedMessage() const {
  return Method() == kAttachEmbeddedMessage && pc_.TypeOf(prop::kAttachDataBin) == kPtObject;
}

Stream Attachment::OpenData() const {
  if (!pc_.Has(prop::kAttachDataBin)) return Stream();
  if (pc_.TypeOf(prop::kAttachDataBin) == kPtObject) {
    auto node = ObjectNode();
    if (!node) return Stream();
    return Stream(&store_.File(), store_.File().ReadDataTree(node->bidData));
  }
  return pc_.OpenStream(prop::kAttachDataBin);
}

uint64_t Attachment::DataSize() const { return OpenData().Size(); }

std::unique_ptr<Message> Attachment::OpenEmbeddedMessage() const {
  auto node = IsEmbeddedMessage() ? ObjectNode() : std::nullopt;
  if (!node) throw PstError(ErrorKind::kNotFound, "attachment " + Hex(nid_) + " holds no message");
  return std::make_unique<Message>(store_, node->nid, node->bidData, node->bidSub);
}

}  // namespace pst
