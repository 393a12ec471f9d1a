// The record of what a conversion did not convert.
#include "NotConverted.h"

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

CString Counted(long count, LPCWSTR what) {
  CString text;
  text.Format(L"%ld %s", count, what);
  return text;
}

}  // namespace

void NotConvertedCounts::Add(NotConvertedEntry::Kind kind) {
  switch (kind) {
    case NotConvertedEntry::FOLDER:
      ++folders;
      return;
    case NotConvertedEntry::ITEM:
      ++items;
      return;
    case NotConvertedEntry::ATTACHMENT:
      ++attachments;
      return;
    case NotConvertedEntry::RECURRENCE:
      ++recurrences;
      return;
    case NotConvertedEntry::MEMBER:
      ++members;
      return;
  }
}

bool NotConvertedCounts::IsEmpty() const {
  return folders == 0 && items == 0 && attachments == 0 && recurrences == 0 && members == 0;
}

CString NotConvertedCounts::Text() const {
  std::vector<CString> parts = {Counted(folders, L"folder(s)"), Counted(items, L"item(s)"),
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

void CNotConvertedList::Add(const NotConvertedEntry& entry) { m_entries.push_back(entry); }

void CNotConvertedList::AddFolder(const CString& folder, const CString& reason) {
  Add(Entry(NotConvertedEntry::FOLDER, folder, 0, CString(), reason));
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

INT_PTR CNotConvertedList::CountOf(NotConvertedEntry::Kind kind) const {
  INT_PTR count = 0;
  for (const NotConvertedEntry& entry : m_entries)
    if (entry.kind == kind) ++count;
  return count;
}

NotConvertedCounts CNotConvertedList::Counts() const {
  NotConvertedCounts counts;
  for (const NotConvertedEntry& entry : m_entries) counts.Add(entry.kind);
  return counts;
}

CString DescribeException(CException* e) {
  WCHAR text[1024] = L"";
  if (!e->GetErrorMessage(text, _countof(text)) || !text[0]) return L"an automation call failed";
  return text;
}
