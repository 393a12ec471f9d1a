// The record of what a conversion did not convert.
#include "NotConverted.h"

#include <algorithm>

namespace {

NotConvertedEntry Entry(NotConvertedEntry::Kind kind, const CString& folder, long item,
                        const CString& subject, const CString& reason) {
  NotConvertedEntry entry;
  entry.kind = kind;
  entry.folder = folder;
  entry.item = item;
  entry.subject = subject;
  entry.reason = reason;
  return entry;
}

CString Counted(long count, LPCWSTR what) { return GroupedNumber(count) + L" " + what; }

// The items counted, as few as that when some folders' items could not be counted.
CString ItemsText(long items, long uncountedFolders, LPCWSTR what) {
  if (uncountedFolders == 0) return Counted(items, what);
  if (items == 0) return L"an unknown number of " + CString(what);
  return L"at least " + Counted(items, what);
}

}  // namespace

const wchar_t STOPPED_BY_USER_TEXT[] = L"the conversion was stopped by the user";

CString GroupedNumber(long n) {
  CString digits;
  const unsigned long magnitude = n < 0 ? 0UL - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
  digits.Format(L"%lu", magnitude);
  CString grouped;
  for (int i = 0; i < digits.GetLength(); ++i) {
    if (i > 0 && (digits.GetLength() - i) % 3 == 0) grouped += L',';
    grouped += digits[i];
  }
  return n < 0 ? L"-" + grouped : grouped;
}

CString CountedNoun(long n, LPCWSTR one, LPCWSTR many) {
  return GroupedNumber(n) + L" " + (n == 1 ? one : many);
}

CString FolderItemsText(long items) {
  if (items == NotConvertedEntry::UNCOUNTED) return L"an unknown number of items";
  if (items == 0) return L"no item";
  return CountedNoun(items, L"item", L"items");
}

CString FolderLeftText(long items, const CString& why) {
  if (items == 0) return L"the folder, which holds no item, was not converted: " + why;
  return FolderItemsText(items) + L" not converted: " + why;
}

CString FolderReasonWithItems(const NotConvertedEntry& entry) {
  if (entry.reason.Find(FolderItemsText(entry.items)) == 0 ||
      entry.reason.Find(FolderLeftText(0, CString())) == 0)
    return entry.reason;
  return FolderLeftText(entry.items, entry.reason);
}

void NotConvertedCounts::Add(const NotConvertedEntry& entry) {
  switch (entry.kind) {
    case NotConvertedEntry::FOLDER:
      ++folders;
      if (entry.items == NotConvertedEntry::UNCOUNTED)
        ++uncountedFolders;
      else
        items += entry.items;
      return;
    case NotConvertedEntry::ITEMS:
      items += entry.items;
      return;
    case NotConvertedEntry::ITEM:
      ++items;
      return;
    case NotConvertedEntry::ATTACHMENT:
      ++attachments;
      break;
    case NotConvertedEntry::RECURRENCE:
      ++recurrences;
      return;
    case NotConvertedEntry::MEMBER:
      ++members;
      return;
  }
  if (!entry.contactAttachment) return;
  ++contactAttachments;
  if (entry.item != m_lastContactItem || entry.folder != m_lastContactFolder) ++contacts;
  m_lastContactFolder = entry.folder;
  m_lastContactItem = entry.item;
}

bool NotConvertedCounts::IsEmpty() const {
  return folders == 0 && items == 0 && attachments == 0 && recurrences == 0 && members == 0;
}

CString NotConvertedCounts::Text() const {
  std::vector<CString> parts = {Counted(folders, L"folder(s)"),
                                ItemsText(items, uncountedFolders, L"item(s)"),
                                Counted(attachments, L"attachment(s)")};
  if (recurrences > 0) parts.push_back(Counted(recurrences, L"recurrence(s)"));
  if (members > 0) parts.push_back(Counted(members, L"list member(s)"));
  CString text = L"Not converted: ";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? L" and " : L", ";
    text += parts[i];
  }
  return text;
}

CString NotConvertedCounts::KindLines() const {
  std::vector<CString> lines;
  if (folders > 0) lines.push_back(CountedNoun(folders, L"folder", L"folders") + L" not converted");
  if (items > 0 || uncountedFolders > 0)
    lines.push_back(items == 0 ? CString(L"An unknown number of items not converted")
                               : ItemsText(items, uncountedFolders, items == 1 ? L"item" : L"items") +
                                     L" not converted");
  if (contacts > 0) {
    lines.push_back(contacts == 1 ? L"1 contact saved without its attachments"
                                  : GroupedNumber(contacts) + L" contacts saved without their attachments");
  }
  const long otherAttachments = attachments - contactAttachments;
  if (otherAttachments > 0)
    lines.push_back(CountedNoun(otherAttachments, L"attachment", L"attachments") + L" not converted");
  if (recurrences > 0) {
    lines.push_back(recurrences == 1
                        ? L"1 repeating appointment converted at its first occurrence only"
                        : GroupedNumber(recurrences) +
                              L" repeating appointments converted at their first occurrence only");
  }
  if (members > 0)
    lines.push_back(CountedNoun(members, L"distribution list member", L"distribution list members") +
                    L" not written");
  CString text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? L"\r\n" : L"") + lines[i];
  return text;
}

void CNotConvertedList::Add(const NotConvertedEntry& entry) { m_entries.push_back(entry); }

void CNotConvertedList::AddFolder(const CString& folder, const CString& reason, long items) {
  NotConvertedEntry entry = Entry(NotConvertedEntry::FOLDER, folder, 0, CString(), reason);
  entry.items = items;
  Add(entry);
}

void CNotConvertedList::AddItems(const CString& folder, long first, long count, const CString& reason) {
  if (count <= 0) return;
  NotConvertedEntry entry = Entry(NotConvertedEntry::ITEMS, folder, first, CString(), reason);
  entry.items = count;
  Add(entry);
}

void CNotConvertedList::AddItem(const CString& folder, long item, const CString& subject,
                                const CString& reason) {
  Add(Entry(NotConvertedEntry::ITEM, folder, item, subject, reason));
}

void CNotConvertedList::AddAttachment(const CString& folder, long item, const CString& subject,
                                      const CString& attachment, const CString& reason) {
  NotConvertedEntry entry = Entry(NotConvertedEntry::ATTACHMENT, folder, item, subject, reason);
  entry.attachment = attachment;
  Add(entry);
}

void CNotConvertedList::AddRecurrence(const CString& folder, long item, const CString& subject,
                                      const CString& reason) {
  Add(Entry(NotConvertedEntry::RECURRENCE, folder, item, subject, reason));
}

void CNotConvertedList::AddMember(const CString& folder, long item, const CString& subject, long member,
                                  const CString& reason) {
  NotConvertedEntry entry = Entry(NotConvertedEntry::MEMBER, folder, item, subject, reason);
  entry.member = member;
  Add(entry);
}

void CNotConvertedList::AddContactAttachment(const CString& folder, long item, const CString& subject,
                                             const CString& attachment, const CString& reason) {
  NotConvertedEntry entry = Entry(NotConvertedEntry::ATTACHMENT, folder, item, subject, reason);
  entry.attachment = attachment;
  entry.contactAttachment = true;
  Add(entry);
}

void CNotConvertedList::RemovePartsOf(const CString& folder, const std::set<long>& items) {
  if (items.empty()) return;
  m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                 [&](const NotConvertedEntry& entry) {
                                   return !entry.IsWholeLoss() && items.count(entry.item) != 0 &&
                                          entry.folder == folder;
                                 }),
                  m_entries.end());
}

INT_PTR CNotConvertedList::CountOf(NotConvertedEntry::Kind kind) const {
  INT_PTR count = 0;
  for (const NotConvertedEntry& entry : m_entries)
    if (entry.kind == kind) ++count;
  return count;
}

NotConvertedCounts CNotConvertedList::Counts() const {
  NotConvertedCounts counts;
  for (const NotConvertedEntry& entry : m_entries) counts.Add(entry);
  return counts;
}

CString DescribeException(CException* e) {
  WCHAR text[1024] = L"";
  if (!e->GetErrorMessage(text, _countof(text)) || !text[0]) return L"an automation call failed";
  return text;
}
