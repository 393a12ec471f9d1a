// Reading a distribution list's members from its stored properties, in terms of the public MAPI
// definitions of the one-off, wrapped and address book entry ids and of the member list stream.
#include "DistListMembers.h"

#include "pst/ByteReader.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace automation {

namespace {

// Named properties of the list (PSETID_Address) and of a contact's addresses.
constexpr uint32_t kLidDistListOneOffMembers = 0x8054;
constexpr uint32_t kLidDistListMembers = 0x8055;
constexpr uint32_t kLidDistListStream = 0x8064;
constexpr uint16_t kPrDisplayName = 0x3001;

const uint8_t kOneOffProvider[16] = {0x81, 0x2B, 0x1F, 0xA4, 0xBE, 0xA3, 0x10, 0x19,
                                     0x9D, 0x6E, 0x00, 0xDD, 0x01, 0x0F, 0x54, 0x02};
const uint8_t kWrappedProvider[16] = {0xC0, 0x91, 0xAD, 0xD3, 0x51, 0x9D, 0xCF, 0x11,
                                      0xA4, 0xA9, 0x00, 0xAA, 0x00, 0x47, 0xFA, 0xA4};
const uint8_t kAddressBookProvider[16] = {0xDC, 0xA7, 0x40, 0xC8, 0xC0, 0x42, 0x10, 0x1A,
                                          0xB4, 0xB9, 0x08, 0x00, 0x2B, 0x2F, 0xE1, 0x82};

// Every entry id opens with four flag bytes and the 16 bytes of its provider.
struct EntryIdHeader {
  uint32_t flags;
  uint8_t provider[16];
};
static_assert(sizeof(EntryIdHeader) == 20, "an entry id's header is 20 bytes as stored");

// The member list stream's header; its entries follow.
struct DistListStreamHeader {
  uint16_t streamVersion;
  uint16_t reserved;
  uint32_t buildVersion;
  uint32_t flags;
  uint32_t countOfEntries;
  uint32_t totalEntryIdSize;
  uint32_t totalOneOffSize;
  uint32_t totalExtraSize;
};
static_assert(sizeof(DistListStreamHeader) == 28, "the member list stream's header is 28 bytes as stored");

// The wrapped entry id's type byte: what it embeds (low four bits), and for a contact which address.
enum WrappedKind : uint8_t {
  kWrappedOneOff = 0,
  kWrappedContact = 3,
  kWrappedList = 4,
  kWrappedAbUser = 5,
  kWrappedAbList = 6
};

// A contact's address groups by the index a wrapped entry id gives: display name, address type and
// address LIDs (PSETID_Address). 0-2 are the business, home and primary faxes, 4-6 the e-mail addresses.
struct ContactAddress {
  uint32_t index;
  uint32_t displayName;
  uint32_t type;
  uint32_t address;
};
const ContactAddress kContactAddresses[] = {
    {0, 0x80C4, 0x80C2, 0x80C3}, {1, 0x80D4, 0x80D2, 0x80D3}, {2, 0x80B4, 0x80B2, 0x80B3},
    {4, 0x8080, 0x8082, 0x8083}, {5, 0x8090, 0x8092, 0x8093}, {6, 0x80A0, 0x80A2, 0x80A3},
};

bool HasProvider(const std::string& bytes, const uint8_t (&provider)[16]) {
  return bytes.size() >= sizeof(EntryIdHeader) &&
         std::memcmp(bytes.data() + offsetof(EntryIdHeader, provider), provider, 16) == 0;
}

// A zero-terminated text at *offset (UTF-16 when wide, else the ANSI code page), moving past it; false
// when the bytes end before the terminator.
bool ReadTerminated(const std::string& bytes, size_t* offset, bool wide, std::wstring* out) {
  const size_t unit = wide ? 2 : 1;
  size_t end = *offset;
  for (;; end += unit) {
    if (end + unit > bytes.size()) return false;
    if (bytes[end] == 0 && (!wide || bytes[end + 1] == 0)) break;
  }
  const char* start = bytes.data() + *offset;
  const size_t length = (end - *offset) / unit;
  if (wide) {
    out->resize(length);
    if (length > 0) std::memcpy(&(*out)[0], start, length * 2);
  } else {
    const int n = MultiByteToWideChar(1252, 0, start, static_cast<int>(length), nullptr, 0);
    out->assign(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(1252, 0, start, static_cast<int>(length), &(*out)[0], n);
  }
  *offset = end + unit;
  return true;
}

std::wstring TextOf(const std::optional<PropValue>& value) {
  if (value)
    if (auto s = std::get_if<std::u16string>(&*value)) return std::wstring(s->begin(), s->end());
  return std::wstring();
}

std::vector<std::string> BinariesOf(const std::optional<PropValue>& value) {
  if (value)
    if (auto list = std::get_if<std::vector<std::string>>(&*value)) return *list;
  return {};
}

std::vector<DistListMember> MembersFromStream(const std::string& stream) {
  const pst::ByteReader reader(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(),
                               "member list stream of the distribution list");
  const auto header = reader.Read<DistListStreamHeader>(0, "the stream's header");
  if (header.streamVersion != 1) reader.Fail("stream version " + std::to_string(header.streamVersion));
  std::vector<DistListMember> members;
  size_t offset = sizeof(DistListStreamHeader);
  auto field = [&](const char* what) {
    const uint32_t size = reader.U32(offset, what);
    const uint8_t* data = reader.Bytes(offset + 4, size, what);
    offset += 4 + static_cast<size_t>(size);
    return std::string(reinterpret_cast<const char*>(data), size);
  };
  for (uint32_t i = 0; i < header.countOfEntries; ++i) {
    DistListMember member;
    member.entryId = field("a member's entry id");
    member.oneOffEntryId = field("a member's one-off entry id");
    field("a member's extra information");
    members.push_back(std::move(member));
  }
  return members;
}

// A contact's address or another list's name, read from the message the embedded entry id names.
bool ResolveStoredEntry(uint8_t type, const std::string& embedded, PstStore* store, AddressEntryText* out) {
  if (!store) return false;
  std::unique_ptr<PstMessage> message = store->MessageByEntryId(embedded);
  if (!message) return false;
  const std::wstring displayName = TextOf(message->Property(kPrDisplayName));
  if ((type & 0x0F) == kWrappedList) {
    *out = {displayName, L"MAPIPDL", std::wstring()};
    return true;
  }
  const uint32_t index = (type >> 4) & 0x07;
  for (const ContactAddress& group : kContactAddresses) {
    if (group.index != index) continue;
    out->name = TextOf(message->NamedProperty(kPsetidAddress, group.displayName));
    if (out->name.empty()) out->name = displayName;
    out->type = TextOf(message->NamedProperty(kPsetidAddress, group.type));
    out->address = TextOf(message->NamedProperty(kPsetidAddress, group.address));
    return true;
  }
  return false;
}

// An address book entry id's X500 address (its name lives in the directory, not in the PST).
bool DecodeAddressBookEntryId(const std::string& bytes, AddressEntryText* out) {
  constexpr size_t kDnOffset = sizeof(EntryIdHeader) + 8;  // version and type
  if (!HasProvider(bytes, kAddressBookProvider) || bytes.size() < kDnOffset) return false;
  size_t offset = kDnOffset;
  std::wstring dn;
  if (!ReadTerminated(bytes, &offset, false, &dn)) return false;
  *out = {std::wstring(), L"EX", dn};
  return true;
}

}  // namespace

std::vector<DistListMember> DistListMembersOf(PstMessage& list) {
  std::optional<PropValue> stream = list.NamedProperty(kPsetidAddress, kLidDistListStream);
  if (stream) {
    if (auto bytes = std::get_if<std::string>(&*stream)) {
      try {
        return MembersFromStream(*bytes);
      } catch (const pst::PstError& error) {
        throw SourceError(std::string("The members of the distribution list cannot be read: ") +
                          error.what());
      }
    }
  }
  const std::vector<std::string> entryIds =
      BinariesOf(list.NamedProperty(kPsetidAddress, kLidDistListMembers));
  const std::vector<std::string> oneOffs =
      BinariesOf(list.NamedProperty(kPsetidAddress, kLidDistListOneOffMembers));
  std::vector<DistListMember> members(std::max(entryIds.size(), oneOffs.size()));
  for (size_t i = 0; i < members.size(); ++i) {
    if (i < entryIds.size()) members[i].entryId = entryIds[i];
    if (i < oneOffs.size()) members[i].oneOffEntryId = oneOffs[i];
  }
  return members;
}

bool DecodeOneOffEntryId(const std::string& bytes, AddressEntryText* out) {
  // The header, a version word and a flags word whose bit 0x8000 marks Unicode texts.
  constexpr size_t kTextsOffset = sizeof(EntryIdHeader) + 4;
  if (!HasProvider(bytes, kOneOffProvider) || bytes.size() < kTextsOffset) return false;
  uint16_t flags = 0;
  std::memcpy(&flags, bytes.data() + sizeof(EntryIdHeader) + 2, 2);
  const bool wide = (flags & 0x8000) != 0;
  size_t offset = kTextsOffset;
  AddressEntryText text;
  if (!ReadTerminated(bytes, &offset, wide, &text.name) ||
      !ReadTerminated(bytes, &offset, wide, &text.type) ||
      !ReadTerminated(bytes, &offset, wide, &text.address))
    return false;
  *out = std::move(text);
  return true;
}

AddressEntryText ResolveDistListMember(const DistListMember& member, PstStore* store) {
  AddressEntryText text;
  if (DecodeOneOffEntryId(member.oneOffEntryId, &text)) return text;
  const std::string& id = member.entryId;
  if (DecodeOneOffEntryId(id, &text)) return text;
  if (HasProvider(id, kWrappedProvider) && id.size() > sizeof(EntryIdHeader)) {
    const uint8_t type = static_cast<uint8_t>(id[sizeof(EntryIdHeader)]);
    const std::string embedded = id.substr(sizeof(EntryIdHeader) + 1);
    switch (type & 0x0F) {
      case kWrappedOneOff:
        if (DecodeOneOffEntryId(embedded, &text)) return text;
        break;
      case kWrappedContact:
      case kWrappedList:
        if (ResolveStoredEntry(type, embedded, store, &text)) return text;
        throw SourceError(
            "The member's contact or list is not in the PST, and the list keeps no copy of its address");
      case kWrappedAbUser:
      case kWrappedAbList:
        if (DecodeAddressBookEntryId(embedded, &text)) return text;
        break;
    }
  }
  if (id.empty() && member.oneOffEntryId.empty()) throw SourceError("The member has no entry in the list");
  throw SourceError("The member's entry in the list is damaged");
}

}  // namespace automation
