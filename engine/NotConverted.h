// What a conversion did not convert: every folder, item and attachment that is not in the target
// database, each with the reason in words a person reads. The wizard's final report and the harness
// print it.
#pragma once

#include <afx.h>

#include <vector>

// One folder, item or attachment that did not reach the target database.
struct NotConvertedEntry {
  enum Kind { FOLDER, ITEM, ATTACHMENT };
  Kind kind = FOLDER;
  // The PST folder path as the session lists it (ending with a backslash; "" for the top folder).
  CString folder;
  // 1-based position of the item in its folder; 0 for a folder entry.
  long item = 0;
  // The item's subject, when it could be read.
  CString subject;
  // The attachment's file name, for an attachment entry.
  CString attachment;
  CString reason;
};

// Entries in the order the conversion met them. Written by the conversion worker and read by the
// wizard once the worker has ended; there is no lock.
class CNotConvertedList {
 public:
  void AddFolder(const CString& folder, const CString& reason);
  void AddItem(const CString& folder, long item, const CString& subject, const CString& reason);
  void AddAttachment(const CString& folder, long item, const CString& subject, const CString& attachment,
                     const CString& reason);

  INT_PTR GetCount() const { return static_cast<INT_PTR>(m_entries.size()); }
  const NotConvertedEntry& GetAt(INT_PTR index) const { return m_entries.at(static_cast<size_t>(index)); }
  void RemoveAll() { m_entries.clear(); }
  // How many entries are of kind.
  INT_PTR CountOf(NotConvertedEntry::Kind kind) const;

 private:
  void Add(NotConvertedEntry::Kind kind, const CString& folder, long item, const CString& subject,
           const CString& attachment, const CString& reason);

  std::vector<NotConvertedEntry> m_entries;
};

// The description a failed automation call carries (the server's own words), or a general text when
// it has none. The exception is not deleted.
CString DescribeException(CException* e);
