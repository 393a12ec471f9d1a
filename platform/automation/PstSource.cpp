// Property-set identifiers of the PST source interface.
#include "PstSource.h"

#include <cstring>

namespace automation {

bool Guid::operator==(const Guid& o) const { return std::memcmp(this, &o, sizeof(Guid)) == 0; }

const Guid kPsMapi = {0x00020328, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const Guid kPsPublicStrings = {0x00020329, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const Guid kPsetidAppointment = {0x00062002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const Guid kPsetidTask = {0x00062003, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const Guid kPsetidAddress = {0x00062004, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const Guid kPsetidLog = {0x0006200A, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace automation
