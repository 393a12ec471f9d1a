// The named-property map of a test PST (node 0x61): property ids 0x8000+ handed out in first-use
// order, and the GUID, entry, string and hash-bucket streams that record them.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "PstRecipe.h"

namespace pstbuilder {

class NamedPropertyMap {
 public:
  // Registers the appointment, task, journal, contact and keyword properties first, so their ids
  // do not depend on which messages a file holds.
  NamedPropertyMap();
  // The property id of `name`, assigned on first use. Throws std::runtime_error past 0x7FFF names.
  uint16_t IdFor(const NamedProperty& name);
  // The property context of the map node.
  std::map<uint16_t, PropValue> Properties() const;

 private:
  std::vector<NamedProperty> entries_;
  std::map<NamedProperty, uint16_t> ids_;
};

}  // namespace pstbuilder
