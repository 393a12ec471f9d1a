// Values and convenience setters of the test-PST description.
#include "PstRecipe.h"

#include <cstring>
#include <stdexcept>

#include "PropertyIds.h"
#include "RtfCompressor.h"
#include "pst/format/Layout.h"

namespace pstbuilder {

namespace fmt = pst::format;

Guid Guid::Parse(const std::string& text) {
  std::string hex;
  for (char c : text)
    if (c != '-' && c != '{' && c != '}') hex += c;
  if (hex.size() != 32) throw std::invalid_argument("malformed GUID \"" + text + "\"");
  uint8_t raw[16];
  for (int i = 0; i < 16; ++i) raw[i] = static_cast<uint8_t>(std::stoul(hex.substr(i * 2, 2), nullptr, 16));
  Guid g;
  const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i) g.bytes[i] = raw[order[i]];
  return g;
}

namespace guids {
const Guid kPsMapi = Guid::Parse("00020328-0000-0000-C000-000000000046");
const Guid kPsPublicStrings = Guid::Parse("00020329-0000-0000-C000-000000000046");
const Guid kAppointment = Guid::Parse("00062002-0000-0000-C000-000000000046");
const Guid kTask = Guid::Parse("00062003-0000-0000-C000-000000000046");
const Guid kAddress = Guid::Parse("00062004-0000-0000-C000-000000000046");
const Guid kLog = Guid::Parse("0006200A-0000-0000-C000-000000000046");
const Guid kCommon = Guid::Parse("00062008-0000-0000-C000-000000000046");
}  // namespace guids

bool NamedProperty::operator<(const NamedProperty& o) const {
  if (!(guid == o.guid)) return guid < o.guid;
  if (IsString() != o.IsString()) return !IsString();
  return IsString() ? name < o.name : lid < o.lid;
}

std::vector<uint8_t> Utf16(const std::string& s) {
  std::vector<uint8_t> out;
  auto put = [&](uint32_t u) {
    out.push_back(static_cast<uint8_t>(u));
    out.push_back(static_cast<uint8_t>(u >> 8));
  };
  for (size_t i = 0; i < s.size();) {
    const uint8_t c = static_cast<uint8_t>(s[i]);
    uint32_t cp;
    int extra;
    if (c < 0x80)
      cp = c, extra = 0;
    else if ((c & 0xE0) == 0xC0)
      cp = c & 0x1F, extra = 1;
    else if ((c & 0xF0) == 0xE0)
      cp = c & 0x0F, extra = 2;
    else if ((c & 0xF8) == 0xF0)
      cp = c & 0x07, extra = 3;
    else
      throw std::invalid_argument("text is not UTF-8");
    if (i + extra >= s.size() + (extra ? 0 : 1)) throw std::invalid_argument("text is not UTF-8");
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<uint8_t>(s[i + k]) & 0x3F);
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(0xD800 + (cp >> 10));
      put(0xDC00 + (cp & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

uint64_t FileTime(int year, int month, int day, int hour, int minute, int second) {
  // Days from 1601-01-01 by the proleptic Gregorian calendar.
  auto daysFromCivil = [](int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe);
  };
  const int64_t days = daysFromCivil(year, month, day) - daysFromCivil(1601, 1, 1);
  const int64_t secs = days * 86400 + hour * 3600 + minute * 60 + second;
  return static_cast<uint64_t>(secs) * 10000000ull;
}

namespace {
template <typename T>
PropValue Fixed(uint16_t type, T v) {
  PropValue p;
  p.type = type;
  p.data.resize(sizeof(T));
  std::memcpy(p.data.data(), &v, sizeof(T));
  return p;
}
void Append32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
PropValue MultiVariable(uint16_t type, const std::vector<std::vector<uint8_t>>& items) {
  PropValue p;
  p.type = type;
  Append32(p.data, static_cast<uint32_t>(items.size()));
  uint32_t offset = static_cast<uint32_t>(4 + 4 * items.size());
  for (const auto& item : items) {
    Append32(p.data, offset);
    offset += static_cast<uint32_t>(item.size());
  }
  for (const auto& item : items) p.data.insert(p.data.end(), item.begin(), item.end());
  return p;
}
}  // namespace

PropValue PropValue::Short(int16_t v) { return Fixed(fmt::kPtShort, v); }
PropValue PropValue::Long(int32_t v) { return Fixed(fmt::kPtLong, v); }
PropValue PropValue::Bool(bool v) { return Fixed<uint8_t>(fmt::kPtBoolean, v ? 1 : 0); }
PropValue PropValue::I8(int64_t v) { return Fixed(fmt::kPtI8, v); }
PropValue PropValue::Double(double v) { return Fixed(fmt::kPtDouble, v); }
PropValue PropValue::SysTime(uint64_t ft) { return Fixed(fmt::kPtSysTime, ft); }
PropValue PropValue::Unicode(const std::string& utf8) { return {fmt::kPtUnicode, Utf16(utf8)}; }
PropValue PropValue::String8(const std::string& bytes) {
  return {fmt::kPtString8, std::vector<uint8_t>(bytes.begin(), bytes.end())};
}
PropValue PropValue::Binary(std::vector<uint8_t> bytes) { return {fmt::kPtBinary, std::move(bytes)}; }
PropValue PropValue::Clsid(const Guid& g) {
  return {fmt::kPtClsid, std::vector<uint8_t>(g.bytes.begin(), g.bytes.end())};
}
PropValue PropValue::MultiUnicode(const std::vector<std::string>& utf8) {
  std::vector<std::vector<uint8_t>> items;
  for (const auto& s : utf8) items.push_back(Utf16(s));
  return MultiVariable(fmt::kPtMultiValue | fmt::kPtUnicode, items);
}
PropValue PropValue::MultiBinary(const std::vector<std::vector<uint8_t>>& values) {
  return MultiVariable(fmt::kPtMultiValue | fmt::kPtBinary, values);
}
PropValue PropValue::MultiLong(const std::vector<int32_t>& values) {
  PropValue p;
  p.type = fmt::kPtMultiValue | fmt::kPtLong;
  for (int32_t v : values) Append32(p.data, static_cast<uint32_t>(v));
  return p;
}

Message& Message::Set(uint16_t id, PropValue value) {
  props[id] = std::move(value);
  return *this;
}
Message& Message::SetNamed(const NamedProperty& name, PropValue value) {
  named[name] = std::move(value);
  return *this;
}
Message& Message::SetNamed(const Guid& guid, uint32_t lid, PropValue value) {
  return SetNamed(NamedProperty{guid, lid, {}}, std::move(value));
}
Message& Message::Subject(const std::string& text) { return Set(prop::kSubject, PropValue::Unicode(text)); }
Message& Message::Body(const std::string& text) { return Set(prop::kBody, PropValue::Unicode(text)); }
Message& Message::Html(std::vector<uint8_t> bytes, int32_t codePage) {
  Set(prop::kHtml, PropValue::Binary(std::move(bytes)));
  return Set(prop::kInternetCodepage, PropValue::Long(codePage));
}
Message& Message::HtmlUtf8(const std::string& html) {
  return Html(std::vector<uint8_t>(html.begin(), html.end()), 65001);
}
Message& Message::Rtf(const std::string& rtf) {
  Set(prop::kRtfCompressed, PropValue::Binary(CompressRtf(rtf)));
  return Set(prop::kRtfInSync, PropValue::Bool(true));
}
Message& Message::NativeBody(int32_t format) { return Set(prop::kNativeBodyInfo, PropValue::Long(format)); }
Message& Message::Sender(const std::string& name, const std::string& email) {
  Set(prop::kSenderName, PropValue::Unicode(name));
  Set(prop::kSenderEmailAddress, PropValue::Unicode(email));
  Set(prop::kSenderAddressType, PropValue::Unicode("SMTP"));
  Set(prop::kSentRepresentingName, PropValue::Unicode(name));
  return Set(prop::kSentRepresentingEmail, PropValue::Unicode(email));
}
Message& Message::AddRecipient(int32_t type, const std::string& name, const std::string& email) {
  Recipient r;
  r.type = type;
  r.displayName = name;
  r.emailAddress = email;
  recipients.push_back(std::move(r));
  return *this;
}
Message& Message::SubmitTime(uint64_t ft) { return Set(prop::kClientSubmitTime, PropValue::SysTime(ft)); }
Message& Message::DeliveryTime(uint64_t ft) {
  return Set(prop::kMessageDeliveryTime, PropValue::SysTime(ft));
}
Message& Message::CreationTime(uint64_t ft) { return Set(prop::kCreationTime, PropValue::SysTime(ft)); }
Message& Message::Keywords(const std::vector<std::string>& keywords) {
  return SetNamed(NamedProperty{guids::kPsPublicStrings, 0, "Keywords"}, PropValue::MultiUnicode(keywords));
}
Message& Message::AttachFile(const std::string& longFileName, std::vector<uint8_t> data) {
  Attachment a;
  a.longFileName = longFileName;
  a.displayName = longFileName;
  a.data = std::move(data);
  attachments.push_back(std::move(a));
  return *this;
}
Message& Message::DistList(const std::string& name, const std::vector<std::vector<uint8_t>>& entryIds,
                           const std::vector<std::vector<uint8_t>>& oneOffEntryIds) {
  messageClass = "IPM.DistList";
  Subject(name);
  Set(0x3001, PropValue::Unicode(name));
  SetNamed(guids::kAddress, 0x8053, PropValue::Unicode(name));
  if (!entryIds.empty()) SetNamed(guids::kAddress, 0x8055, PropValue::MultiBinary(entryIds));
  if (!oneOffEntryIds.empty()) SetNamed(guids::kAddress, 0x8054, PropValue::MultiBinary(oneOffEntryIds));
  return *this;
}

std::vector<uint8_t> OneOffEntryId(const std::string& name, const std::string& addressType,
                                   const std::string& address) {
  std::vector<uint8_t> id(4, 0);
  const uint8_t provider[16] = {0x81, 0x2B, 0x1F, 0xA4, 0xBE, 0xA3, 0x10, 0x19,
                                0x9D, 0x6E, 0x00, 0xDD, 0x01, 0x0F, 0x54, 0x02};
  id.insert(id.end(), provider, provider + 16);
  // Version 0; flags: Unicode texts (0x8000), no rich information (0x0001).
  const uint8_t versionAndFlags[4] = {0x00, 0x00, 0x01, 0x80};
  id.insert(id.end(), versionAndFlags, versionAndFlags + 4);
  for (const std::string* text : {&name, &addressType, &address}) {
    const std::vector<uint8_t> utf16 = Utf16(*text);
    id.insert(id.end(), utf16.begin(), utf16.end());
    id.push_back(0);
    id.push_back(0);
  }
  return id;
}

std::vector<uint8_t> WrappedEntryId(uint8_t type, const std::vector<uint8_t>& embedded) {
  std::vector<uint8_t> id(4, 0);
  const uint8_t provider[16] = {0xC0, 0x91, 0xAD, 0xD3, 0x51, 0x9D, 0xCF, 0x11,
                                0xA4, 0xA9, 0x00, 0xAA, 0x00, 0x47, 0xFA, 0xA4};
  id.insert(id.end(), provider, provider + 16);
  id.push_back(type);
  id.insert(id.end(), embedded.begin(), embedded.end());
  return id;
}

std::vector<uint8_t> MessageEntryId(const Guid& recordKey, uint32_t nid) {
  std::vector<uint8_t> id(4, 0);
  id.insert(id.end(), recordKey.bytes.begin(), recordKey.bytes.end());
  for (int shift = 0; shift < 32; shift += 8) id.push_back(static_cast<uint8_t>(nid >> shift));
  return id;
}

Message& Message::AttachMessage(const std::string& displayName, Message embedded) {
  Attachment a;
  a.displayName = displayName;
  a.embedded = std::make_shared<Message>(std::move(embedded));
  attachments.push_back(std::move(a));
  return *this;
}

namespace {
Folder& AddTo(std::vector<Folder>& folders, const std::string& name, const std::string& folderClass) {
  folders.push_back(Folder{name, folderClass, {}, {}, {}, 0, {}});
  return folders.back();
}
Folder* FindIn(std::vector<Folder>& folders, const std::string& name) {
  for (auto& f : folders)
    if (f.name == name) return &f;
  return nullptr;
}
}  // namespace

Folder& Folder::AddFolder(const std::string& folderName, const std::string& folderClass) {
  return AddTo(folders, folderName, folderClass);
}
Folder* Folder::Find(const std::string& folderName) { return FindIn(folders, folderName); }
Folder& Store::AddFolder(const std::string& folderName, const std::string& folderClass) {
  return AddTo(folders, folderName, folderClass);
}
Folder* Store::Find(const std::string& folderName) { return FindIn(folders, folderName); }

Store Store::WithStandardFolders() {
  Store s;
  s.AddFolder("Inbox", "IPF.Note");
  s.AddFolder("Sent Items", "IPF.Note");
  s.AddFolder("Calendar", "IPF.Appointment");
  s.AddFolder("Contacts", "IPF.Contact");
  s.AddFolder("Tasks", "IPF.Task");
  s.AddFolder("Journal", "IPF.Journal");
  s.AddFolder("Notes", "IPF.StickyNote");
  s.AddFolder("Deleted Items", "IPF.Note");
  return s;
}

}  // namespace pstbuilder
