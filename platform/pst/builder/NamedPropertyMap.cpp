// Serialisation of the named-property map streams.
#include "NamedPropertyMap.h"

#include <stdexcept>

#include "PropertyIds.h"
#include "pst/format/Codec.h"

namespace pstbuilder {

namespace {
constexpr uint32_t kBucketCount = 251;
constexpr uint16_t kGuidIndexMapi = 1;
constexpr uint16_t kGuidIndexPublicStrings = 2;
constexpr uint16_t kFirstStreamGuidIndex = 3;

void Append(std::vector<uint8_t>& out, uint64_t v, int n) {
  for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

NamedPropertyMap::NamedPropertyMap() {
  const std::pair<const Guid*, uint32_t> known[] = {
      {&guids::kAppointment, lid::kAppointmentStartWhole},
      {&guids::kAppointment, lid::kAppointmentEndWhole},
      {&guids::kAppointment, lid::kLocation},
      {&guids::kTask, lid::kTaskStartDate},
      {&guids::kTask, lid::kTaskDueDate},
      {&guids::kLog, lid::kLogStart},
      {&guids::kLog, lid::kLogEnd},
      {&guids::kLog, lid::kLogType},
      {&guids::kAddress, lid::kWorkAddress},
      {&guids::kAddress, lid::kWorkAddressStreet},
      {&guids::kAddress, lid::kWorkAddressCity},
      {&guids::kAddress, lid::kWorkAddressState},
      {&guids::kAddress, lid::kWorkAddressPostalCode},
      {&guids::kAddress, lid::kWorkAddressCountry},
      {&guids::kAddress, lid::kHomeAddress},
      {&guids::kAddress, lid::kEmail1DisplayName},
      {&guids::kAddress, lid::kEmail1EmailAddress},
      {&guids::kAddress, lid::kEmail2EmailAddress},
      {&guids::kAddress, lid::kEmail3EmailAddress},
  };
  for (const auto& [guid, id] : known) IdFor(NamedProperty{*guid, id, {}});
  IdFor(NamedProperty{guids::kPsPublicStrings, 0, "Keywords"});
}

uint16_t NamedPropertyMap::IdFor(const NamedProperty& name) {
  auto it = ids_.find(name);
  if (it != ids_.end()) return it->second;
  if (entries_.size() >= 0x7FFF) throw std::runtime_error("too many named properties");
  const auto id = static_cast<uint16_t>(0x8000 + entries_.size());
  entries_.push_back(name);
  ids_[name] = id;
  return id;
}

std::map<uint16_t, PropValue> NamedPropertyMap::Properties() const {
  std::vector<Guid> streamGuids;
  auto guidIndex = [&](const Guid& g) -> uint16_t {
    if (g == guids::kPsMapi) return kGuidIndexMapi;
    if (g == guids::kPsPublicStrings) return kGuidIndexPublicStrings;
    for (size_t i = 0; i < streamGuids.size(); ++i)
      if (streamGuids[i] == g) return static_cast<uint16_t>(kFirstStreamGuidIndex + i);
    streamGuids.push_back(g);
    return static_cast<uint16_t>(kFirstStreamGuidIndex + streamGuids.size() - 1);
  };
  std::vector<uint8_t> entryStream, stringStream;
  std::map<uint32_t, std::vector<uint8_t>> buckets;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const NamedProperty& n = entries_[i];
    const uint16_t kind = static_cast<uint16_t>((guidIndex(n.guid) << 1) | (n.IsString() ? 1 : 0));
    uint32_t idOrOffset = n.lid;
    uint32_t hashKey = n.lid;
    if (n.IsString()) {
      const auto utf16 = Utf16(n.name);
      idOrOffset = static_cast<uint32_t>(stringStream.size());
      hashKey = pst::format::ComputeCrc(utf16.data(), utf16.size());
      Append(stringStream, utf16.size(), 4);
      stringStream.insert(stringStream.end(), utf16.begin(), utf16.end());
      while (stringStream.size() % 4) stringStream.push_back(0);
    }
    Append(entryStream, idOrOffset, 4);
    Append(entryStream, kind, 2);
    Append(entryStream, i, 2);
    auto& bucket = buckets[(hashKey ^ kind) % kBucketCount];
    Append(bucket, hashKey, 4);
    Append(bucket, kind, 2);
    Append(bucket, i, 2);
  }
  std::vector<uint8_t> guidStream;
  for (const auto& g : streamGuids) guidStream.insert(guidStream.end(), g.bytes.begin(), g.bytes.end());

  std::map<uint16_t, PropValue> props;
  props[0x0001] = PropValue::Long(kBucketCount);
  props[0x0002] = PropValue::Binary(guidStream);
  props[0x0003] = PropValue::Binary(entryStream);
  props[0x0004] = PropValue::Binary(stringStream);
  for (auto& [index, bucket] : buckets)
    props[static_cast<uint16_t>(0x1000 + index)] = PropValue::Binary(bucket);
  return props;
}

}  // namespace pstbuilder
