// The record of what a conversion did not convert.
#include "NotConverted.h"

void CNotConvertedList::Add(NotConvertedEntry::Kind kind, const CString& folder, long item,
                            const CString& subject, const CString& attachment, const CString& reason) {
  NotConvertedEntry entry;
  entry.kind = kind;
  entry.folder = folder;
  entry.item = item;
  entry.subject = subject;
  entry.attachment = attachment;
  entry.reason = reason;
  m_entries.push_back(entry);
}

void CNotConvertedList::AddFolder(const CString& folder, const CString& reason) {
  Add(NotConvertedEntry::FOLDER, folder, 0, CString(), CString(), reason);
}

void CNotConvertedList::AddItem(const CString& folder, long item, const CString& subject,
                                const CString& reason) {
  Add(NotConvertedEntry::ITEM, folder, item, subject, CString(), reason);
}

void CNotConvertedList::AddAttachment(const CString& folder, long item, const CString& subject,
                                      const CString& attachment, const CString& reason) {
  Add(NotConvertedEntry::ATTACHMENT, folder, item, subject, attachment, reason);
}

INT_PTR CNotConvertedList::CountOf(NotConvertedEntry::Kind kind) const {
  INT_PTR count = 0;
  for (const NotConvertedEntry& entry : m_entries)
    if (entry.kind == kind) ++count;
  return count;
}

CString DescribeException(CException* e) {
  WCHAR text[1024] = L"";
  if (!e->GetErrorMessage(text, _countof(text)) || !text[0]) return L"an automation call failed";
  return text;
}
