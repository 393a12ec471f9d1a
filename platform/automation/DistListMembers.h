// The members of a personal distribution list as its PST properties keep them (the members' entry ids
// and their one-off forms, or the stream that holds both for a large list), and each member decoded into
// the name, address type and address that the list's address entries answer.
#pragma once

#include "PstSource.h"

#include <string>
#include <vector>

namespace automation {

// One member as stored: its entry id (a one-off entry id, or a wrapped entry id of a contact, another
// list or an address book entry) and its one-off form; either may be empty.
struct DistListMember {
  std::string entryId;
  std::string oneOffEntryId;
};

// The list's members in stored order: from PidLidDistributionListStream when the list has one, else
// PidLidDistributionListMembers and PidLidDistributionListOneOffMembers side by side. A list without
// any of them has no member. Throws SourceError when the stored member list is damaged.
std::vector<DistListMember> DistListMembersOf(PstMessage& list);

// What a member's address entry answers.
struct AddressEntryText {
  std::wstring name;
  std::wstring type;  // "SMTP", "EX", "FAX", "MAPIPDL", ...
  std::wstring address;
};

// A One-Off EntryID's display name, address type and address; false when the bytes are no one-off entry
// id or end before its three texts do.
bool DecodeOneOffEntryId(const std::string& bytes, AddressEntryText* out);

// The member as the list shows it: its one-off form, which the list keeps for every member; without
// one, its entry id: a one-off (plain or wrapped) as it stands, a contact's address (the e-mail or fax
// address the entry names) or another list's name read from the store, an address book entry's X500
// address. Throws SourceError saying why, when neither can be read.
AddressEntryText ResolveDistListMember(const DistListMember& member, PstStore* store);

}  // namespace automation
