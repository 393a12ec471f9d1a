// What a conversion did not convert: every folder, item and attachment that is not in the target
// database, and every part of a converted item that it lacks, each with the reason in words a person
// reads. The wizard's final report and the harness print it.
#pragma once

#include <afx.h>

#include <vector>

// One folder, item, attachment or part of an item that did not reach the target database.
struct NotConvertedEntry {
  // RECURRENCE: an appointment saved at its first occurrence only. MEMBER: a member of a distribution
  // list that could not be written into the list's document.
  enum Kind { FOLDER, ITEM, ATTACHMENT, RECURRENCE, MEMBER };
  Kind kind = FOLDER;
  // The PST folder path as the session lists it (ending with a backslash; "" for the top folder).
  CString folder;
  // 1-based position of the item in its folder (counted on through the folders that share its path);
  // 0 for a folder entry.
  long item = 0;
  // The item's subject, when it could be read.
  CString subject;
  // The attachment's file name, for an attachment entry.
  CString attachment;
  // 1-based position of the member in its list, for a member entry; 0 when no member could be read.
  long member = 0;
  CString reason;
};

// How many folders, items, attachments, recurrences and list members were not converted, each kind
// counted apart: an item whose attachment stayed behind is itself converted.
struct NotConvertedCounts {
  long folders = 0;
  long items = 0;
  long attachments = 0;
  long recurrences = 0;
  long members = 0;

  void Add(NotConvertedEntry::Kind kind);
  bool IsEmpty() const;
  // "Not converted: 0 folder(s), 0 item(s) and 3 attachment(s)"; recurrences and list members are
  // named only when there are any. The wizard's final report and the harness say it in these words.
  CString Text() const;
};

// Entries in the order the conversion met them. Written by the conversion worker and read by the
// wizard once the worker has ended; there is no lock.
class CNotConvertedList {
 public:
  void AddFolder(const CString& folder, const CString& reason);
  void AddItem(const CString& folder, long item, const CString& subject, const CString& reason);
  void AddAttachment(const CString& folder, long item, const CString& subject, const CString& attachment,
                     const CString& reason);
  void AddRecurrence(const CString& folder, long item, const CString& subject, const CString& reason);
  void AddMember(const CString& folder, long item, const CString& subject, long member,
                 const CString& reason);

  INT_PTR GetCount() const { return static_cast<INT_PTR>(m_entries.size()); }
  const NotConvertedEntry& GetAt(INT_PTR index) const { return m_entries.at(static_cast<size_t>(index)); }
  void RemoveAll() { m_entries.clear(); }
  // How many entries are of kind.
  INT_PTR CountOf(NotConvertedEntry::Kind kind) const;
  NotConvertedCounts Counts() const;

 private:
  void Add(const NotConvertedEntry& entry);

  std::vector<NotConvertedEntry> m_entries;
};

// The description a failed automation call carries (the server's own words), or a general text when
// it has none. The exception is not deleted.
CString DescribeException(CException* e);
