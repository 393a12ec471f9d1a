// What a conversion did not convert: every folder, item and attachment that is not in the target
// database, and every part of a converted item that it lacks, each with the reason in words a person
// reads. The wizard's final report and the harness print it.
#pragma once

#include <afx.h>

#include <set>
#include <vector>

// One folder, item, attachment or part of an item that did not reach the target database.
struct NotConvertedEntry {
  // FOLDER: a folder none of whose items was converted, with its items. ITEMS: a run of items of a
  // folder, the rest of the folder after the conversion stopped in it. RECURRENCE: an appointment saved
  // at its first occurrence only. MEMBER: a member of a distribution list that could not be written into
  // the list's document.
  enum Kind { FOLDER, ITEM, ATTACHMENT, RECURRENCE, MEMBER, ITEMS };
  // The items of a folder entry whose number neither the folder's list of items nor the PST could tell.
  static const long UNCOUNTED = -1;
  Kind kind = FOLDER;
  // The PST folder path as the session lists it (ending with a backslash; "" for the top folder).
  CString folder;
  // 1-based position of the item in its folder (counted on through the folders that share its path),
  // the first of the run for an ITEMS entry; 0 for a folder entry.
  long item = 0;
  // How many items the entry stands for: the folder's for a FOLDER entry (UNCOUNTED when they cannot
  // be counted), the run's for an ITEMS entry; 0 for the other kinds, each of which is one thing.
  long items = 0;
  // The item's subject, when it could be read.
  CString subject;
  // The attachment's file name, for an attachment entry.
  CString attachment;
  // 1-based position of the member in its list, for a member entry; 0 when no member could be read.
  long member = 0;
  CString reason;
  // An attachment entry of a contact: contacts have no place for attachments, so each of them stays
  // behind while the contact itself is converted.
  bool contactAttachment = false;

  // A folder or items not converted at all, as against a part that a converted item lacks (an
  // attachment, a recurrence, a list member).
  bool IsWholeLoss() const { return kind == FOLDER || kind == ITEMS || kind == ITEM; }
};

// How many folders, items, attachments, recurrences and list members were not converted, each kind
// counted apart: an item whose attachment stayed behind is itself converted. The items count those of
// the folders and runs of items that were not converted too, so that the items saved and these add up
// to the items of the folders converted.
struct NotConvertedCounts {
  long folders = 0;
  long items = 0;
  // Folders not converted whose items could not be counted: items is then only the least there are.
  long uncountedFolders = 0;
  long attachments = 0;
  long recurrences = 0;
  long members = 0;
  // Of the attachments: those of contacts, and the contacts they belong to (each counted once).
  long contactAttachments = 0;
  long contacts = 0;

  // Counts the entry by its kind, with the items it stands for; entries of one contact's attachments
  // come one after another.
  void Add(const NotConvertedEntry& entry);
  bool IsEmpty() const;
  // "Not converted: 0 folder(s), 0 item(s) and 3 attachment(s)"; recurrences and list members are
  // named only when there are any, "at least" goes before the items when some could not be counted.
  // The wizard's final report and the harness say it in these words.
  CString Text() const;
  // One line per kind of what was not converted, in the order of Text, each only when there is any:
  // "15,000 contacts saved without their attachments", "2 items not converted", ... joined by CR LF.
  // The wizard's final message puts them ahead of the first lines of the list.
  CString KindLines() const;

 private:
  CString m_lastContactFolder;
  long m_lastContactItem = 0;
};

// Why what a stop by the user left behind was not converted.
extern const wchar_t STOPPED_BY_USER_TEXT[];

// n with its thousands set apart by commas: "15,000".
CString GroupedNumber(long n);
// n grouped, followed by one or many as n asks: "1 document", "6,280 documents".
CString CountedNoun(long n, LPCWSTR one, LPCWSTR many);
// The reason of a folder left behind whole, with its items counted: "2,500 items not converted: <why>";
// a folder of no item says so.
CString FolderLeftText(long items, const CString& why);
// The reason of a folder entry as the final report gives it: opening with how many items the entry
// stands for, as FolderLeftText says it, unless the reason opens so already.
CString FolderReasonWithItems(const NotConvertedEntry& entry);
// What a folder entry's items are, to open its reason with: "10,000 items", "1 item", "no item", or
// "an unknown number of items" for UNCOUNTED.
CString FolderItemsText(long items);

// Entries in the order the conversion met them. Written by the conversion worker and read by the
// wizard once the worker has ended; there is no lock.
class CNotConvertedList {
 public:
  // A folder none of whose items was converted; items: how many it holds, or UNCOUNTED.
  void AddFolder(const CString& folder, const CString& reason, long items = NotConvertedEntry::UNCOUNTED);
  void AddItem(const CString& folder, long item, const CString& subject, const CString& reason);
  // Items first to first + count - 1 of the folder; nothing for a run of no item.
  void AddItems(const CString& folder, long first, long count, const CString& reason);
  void AddAttachment(const CString& folder, long item, const CString& subject, const CString& attachment,
                     const CString& reason);
  // An attachment of a contact, which is saved without it.
  void AddContactAttachment(const CString& folder, long item, const CString& subject,
                            const CString& attachment, const CString& reason);
  void AddRecurrence(const CString& folder, long item, const CString& subject, const CString& reason);
  void AddMember(const CString& folder, long item, const CString& subject, long member,
                 const CString& reason);

  // Drops the entries of the parts (attachments, recurrences, list members) of these items of folder,
  // which were recorded as their items were saved: the items were not saved after all.
  void RemovePartsOf(const CString& folder, const std::set<long>& items);

  // An entry as another list recorded it.
  void Add(const NotConvertedEntry& entry);

  INT_PTR GetCount() const { return static_cast<INT_PTR>(m_entries.size()); }
  const NotConvertedEntry& GetAt(INT_PTR index) const { return m_entries.at(static_cast<size_t>(index)); }
  // Tells a folder entry recorded as UNCOUNTED how many items its folder holds, once someone who can
  // read the PST has counted them.
  void SetFolderItems(INT_PTR index, long items) { m_entries.at(static_cast<size_t>(index)).items = items; }
  void RemoveAll() { m_entries.clear(); }
  // How many entries are of kind.
  INT_PTR CountOf(NotConvertedEntry::Kind kind) const;
  NotConvertedCounts Counts() const;

 private:
  std::vector<NotConvertedEntry> m_entries;
};

// The description a failed automation call carries (the server's own words), or a general text when
// it has none. The exception is not deleted.
CString DescribeException(CException* e);
