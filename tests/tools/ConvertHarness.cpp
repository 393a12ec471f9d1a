// convert-harness [--timing] PST NSF: a test tool that runs the engine's conversion road without
// windows. It opens the PST through the PST session, opens the NSF or creates it from the mail
// template, and for the top folder and every listed folder creates the Notes folder and saves its
// items, as the driver does; after each folder it reads the PST folder and the new Notes documents
// again and pairs them. It prints, UTF-8 with LF on a binary stdout, one line per folder:
//           <items> TAB <documents> TAB <attachments seen> TAB <attachments saved> TAB <Notes folder>
// then one line per item, attachment or list member that the read-back finds missing (a list's members
// are looked for in its memo's body):
//           <Notes folder> TAB item <n> TAB <subject> TAB <reason>
// and one line per entry of what the engine recorded as not converted (folders the session could not
// list, folders, items and attachments the store did not convert, recurrences of appointments saved at
// their first occurrence, members of distribution lists not written):
//           not converted TAB folder|item|attachment|recurrence|member|items TAB <PST folder> TAB <n> TAB
//           <subject> TAB <attachment, "member <m>", or "items <count>" (or "items uncounted") for a
//           folder and for a run of items from n on> TAB <reason>
// then, when there is any such entry, the entries counted by kind in the wizard's words:
//           Not converted: <f> folder(s), <i> item(s) and <a> attachment(s)
// With --timing it says on stderr how long the conversion and the read-back took, apart.
// Exit 0 when every folder has as many new documents as the PST folder has items and nothing was lost
// or recorded as not converted; 1 otherwise (also when the target failed, with the store's text on
// stderr, and when the NSF is whole only with its side file, which could not be folded into it: a line
// on stderr names both files and the documents of this run it holds; and when another program removed,
// replaced or damaged the NSF: a line on stderr counts the documents lost with it, this run's and the
// file's earlier ones apart); 2 when the PST or the NSF cannot be opened (the reason on stderr; a new NSF
// made but not opened is removed); 3 when the harness itself failed (an exception nothing handled, named
// on stderr). A PST that can no longer be read during the run (cut short, replaced, its disk failing)
// ends the conversion with exit 1, the reason on stderr, and every later folder recorded with the items
// the PST says it holds. When BRINDLE_HARNESS_STARTED names a file, the harness makes it empty as it
// starts and writes "ended" into it as it ends, so that a caller can tell a run that never started (Wine
// could not start the program) from one that ended early (killed, crashed) and from one that came to its
// end. Memory stays flat in the size of the PST: nothing is kept per item beyond the lines of what was
// lost.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "AutomationWrappers.h"
#include "FolderConverter.h"
#include "NotesStore.h"
#include "PstSession.h"

namespace {

std::string Utf8(const CString& text) {
  LPCWSTR wide = text;
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide, text.GetLength(), &out[0], length, nullptr, nullptr);
  return out;
}

// Values are TAB-separated on one line: tabs and line breaks inside them are escaped. Folder names keep
// their backslashes, as nsfdump prints them.
std::string Field(const CString& text) {
  std::string out;
  for (char c : Utf8(text)) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void Out(const std::string& line) { std::fwrite(line.data(), 1, line.size(), stdout); }

void Fail(const CString& text) {
  const std::string line = Utf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

CString Describe(CException* e) {
  WCHAR text[1024] = L"";
  e->GetErrorMessage(text, _countof(text));
  e->Delete();
  return text[0] ? CString(text) : CString(L"automation call failed");
}

// One PST item as the harness reads it back.
struct PstItem {
  CString subject;
  CString messageClass;
  std::vector<CString> attachments;
  // A distribution list's members that can be read, by position, as its memo lists them.
  std::vector<std::pair<long, CString>> members;
  CString failure;  // why the item could not be read here
};

PstItem ReadPstItem(RdoItemsDispatch& collection, long n) {
  PstItem item;
  try {
    RdoDistListDispatch mail(collection.Item(COleVariant(long(n), VT_I4)));
    item.subject = mail.GetSubject();
    item.messageClass = mail.GetMessageClass();
    RdoAttachmentsDispatch attachments(mail.GetAttachments());
    const long attachmentCount = attachments.m_lpDispatch ? attachments.GetCount() : 0;
    for (long a = 1; a <= attachmentCount; ++a) {
      RdoAttachmentDispatch attachment(attachments.Item(COleVariant(long(a), VT_I4)));
      item.attachments.push_back(attachment.GetFileName());
    }
    // A member that cannot be read here is one the store recorded too.
    const long memberCount = GetItemKind(item.messageClass) == 5 ? mail.GetMemberCount() : 0;
    for (long m = 1; m <= memberCount; ++m) {
      try {
        RdoAddressEntryDispatch member(mail.GetMember(m));
        const CString line = DistListMemberLine(member.GetName(), member.GetAddress());
        if (!line.IsEmpty()) item.members.push_back({m, line});
      } catch (CException* e) {
        e->Delete();
      }
    }
  } catch (CException* e) {
    item.failure = Describe(e);
  }
  return item;
}

// The Notes folder, open, with its entry count; a folder that cannot be read counts no entry.
long OpenNotesFolder(CNotesStore& store, const CString& notesFolder, LNViewFolder* folder) {
  try {
    store.m_db.GetViewFolder(CStringToLNString(notesFolder), folder);
    folder->Open(0);
    return folder->GetEntryCount();
  } catch (LNSTATUS) {
    return 0;
  }
}

// Attachment names of the folder's document at index.
std::vector<CString> DocumentAttachments(LNViewFolder& folder, long index) {
  std::vector<CString> names;
  try {
    LNDocument document;
    folder[index].GetDocument(&document);
    document.Open(0);
    LNAttachmentArray attachments;
    document.GetAttachments(&attachments);
    for (LNINT a = 0; a < attachments.GetCount(); ++a)
      names.push_back(LNStringToCString(attachments[a].GetAttachmentName()));
    document.Close();
  } catch (LNSTATUS) {
  }
  return names;
}

// The "Body" text of the folder's document at index; "" when it has none.
CString DocumentBody(LNViewFolder& folder, long index) {
  CString body;
  try {
    LNDocument document;
    folder[index].GetDocument(&document);
    document.Open(0);
    LNText text;
    LNString value;
    document.GetItem(LNString("Body"), &text);
    text.GetText(&value);
    body = LNStringToCString(value);
    document.Close();
  } catch (LNSTATUS) {
  }
  return body;
}

// One folder's line in the report.
struct FolderSummary {
  CString notesFolder;
  long items = 0;
  long documents = 0;
  long seen = 0;   // attachments of the PST items
  long saved = 0;  // attachments of the new documents
};

// The items of one folder that the store recorded as not converted: one by one, in runs, or all of them.
struct RecordedItems {
  std::set<long> items;
  std::vector<std::pair<long, long>> runs;  // first and count
  bool all = false;

  void Add(const NotConvertedEntry& entry) {
    if (entry.kind == NotConvertedEntry::ITEM) items.insert(entry.item);
    if (entry.kind == NotConvertedEntry::ITEMS) runs.emplace_back(entry.item, entry.items);
    if (entry.kind == NotConvertedEntry::FOLDER) all = true;
  }
  bool Has(long n) const {
    if (all || items.count(n)) return true;
    for (const auto& [first, count] : runs)
      if (n >= first && n < first + count) return true;
    return false;
  }
};

// Pairs item n of a folder with the next new document of the Notes folder (when the store did not record
// the item as not converted) and appends a line to losses when the item was lost or shortened.
void CheckItem(const PstItem& item, long n, const RecordedItems& skipped, LNViewFolder& notes, long entries,
               long* document, FolderSummary* summary, std::string* losses) {
  summary->seen += static_cast<long>(item.attachments.size());
  if (skipped.Has(n)) return;
  const std::string prefix =
      Field(summary->notesFolder) + "\titem " + std::to_string(n) + "\t" + Field(item.subject) + "\t";
  if (*document >= entries) {
    *losses += prefix + "no document was filed for it\n";
    return;
  }
  if (!item.members.empty()) {
    const CString body = DocumentBody(notes, *document);
    for (const auto& [m, line] : item.members)
      if (body.Find(line) < 0)
        *losses +=
            prefix + "member " + std::to_string(m) + " \"" + Field(line) + "\" is not in its memo's body\n";
  }
  const std::vector<CString> filed = DocumentAttachments(notes, (*document)++);
  summary->saved += static_cast<long>(filed.size());
  // The savers may rename an attachment (a repeated or unusable file name), so only a shortfall counts
  // as a loss; the names that no saved attachment carries say which ones are likely missing.
  if (filed.size() < item.attachments.size()) {
    std::vector<CString> unmatched = filed;
    std::string missing;
    for (const CString& name : item.attachments) {
      bool found = false;
      for (auto it = unmatched.begin(); it != unmatched.end(); ++it) {
        if (it->CompareNoCase(name) == 0) {  // Notes may keep a name in other case
          unmatched.erase(it);
          found = true;
          break;
        }
      }
      if (!found) missing += (missing.empty() ? "" : ", ") + Field(name);
    }
    if (GetItemKind(item.messageClass) == 4) missing += " (contacts are saved without attachments)";
    *losses += prefix + std::to_string(filed.size()) + " of " + std::to_string(item.attachments.size()) +
               " attachments saved; not found by name: " + missing + "\n";
  }
  if (!item.failure.IsEmpty())
    *losses += prefix + "the harness could not read it: " + Field(item.failure) + "\n";
}

// Reads the PST folder (every folder of the path, when sibling folders share it) and the documents filed
// into the Notes folder from index `before` on, item by item, and appends a line to losses for each item
// the conversion lost or shortened. Documents are filed in item order, skipping the items the loop
// reported, so the n-th remaining item pairs with the n-th new document; items are numbered on through
// the folders of the path, as the store's record numbers them. notesOpen: the Notes folder exists (it
// was created).
void CheckFolder(CPstSession& session, CNotesStore& store, const CString& path, bool notesOpen, long before,
                 const RecordedItems& skipped, FolderSummary* summary, std::string* losses) {
  const std::string folderField = Field(summary->notesFolder);
  const int listed = path.IsEmpty() ? 0 : session.CountListedFolders(path);
  std::vector<std::pair<RdoItemsDispatch, long>> collections;  // with their item counts
  for (int sibling = 0; sibling < (listed > 1 ? listed : 1); ++sibling) {
    try {
      RdoFolderDispatch folder;
      if (path.IsEmpty())
        folder.AttachDispatch(session.m_store.GetRootFolder());
      else
        session.OpenFolderByPath(path, folder, sibling);
      if (!folder.m_lpDispatch) {
        *losses += folderField + "\t-\t\tthe PST folder cannot be reached\n";
        continue;
      }
      try {
        RdoItemsDispatch collection(folder.GetItems());
        const long count = collection.m_lpDispatch ? collection.GetCount() : 0;
        summary->items += count;
        collections.emplace_back(collection, count);
      } catch (CException* e) {
        *losses += folderField + "\t-\t\t" + Field(Describe(e)) + "\n";
        // The items that cannot be listed are still the folder's: the PST says how many there are.
        const long stated = CountFolderItems(folder);
        if (stated > 0) summary->items += stated;
      }
    } catch (CException* e) {
      *losses += folderField + "\t-\t\t" + Field(Describe(e)) + "\n";
    }
  }

  LNViewFolder notes;
  const long entries = notesOpen ? OpenNotesFolder(store, summary->notesFolder, &notes) : 0;
  summary->documents = entries > before ? entries - before : 0;
  long document = before;
  long n = 0;
  for (auto& [collection, count] : collections)
    for (long index = 1; index <= count; ++index)
      CheckItem(ReadPstItem(collection, index), ++n, skipped, notes, entries, &document, summary, losses);
  // Documents beyond the items still count their attachments.
  for (; document < entries; ++document)
    summary->saved += static_cast<long>(DocumentAttachments(notes, document).size());
  if (notesOpen) {
    try {
      notes.Close();
    } catch (LNSTATUS) {
    }
  }
}

void PrintNotConverted(const NotConvertedEntry& entry) {
  static const char* const kKinds[] = {"folder", "item", "attachment", "recurrence", "member", "items"};
  std::string part = Field(entry.attachment);
  if (entry.kind == NotConvertedEntry::MEMBER) part = "member " + std::to_string(entry.member);
  if (entry.kind == NotConvertedEntry::FOLDER || entry.kind == NotConvertedEntry::ITEMS)
    part = entry.items == NotConvertedEntry::UNCOUNTED ? "items uncounted"
                                                       : "items " + std::to_string(entry.items);
  Out(std::string("not converted\t") + kKinds[entry.kind] + "\t" + Field(entry.folder) + "\t" +
      std::to_string(entry.item) + "\t" + Field(entry.subject) + "\t" + part + "\t" + Field(entry.reason) +
      "\n");
}

// Seconds on a monotonic clock.
double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Run(const CString& pstPath, const CString& nsfPath, bool timing) {
  CNotesStore store;
  if (!store.InitSession()) {
    Fail(store.GetErrorText());
    return 2;
  }
  CPstSession session;
  if (!session.ReopenPst(pstPath)) {
    Fail(L"The PST file cannot be opened. " + session.GetOpenError());
    return 2;
  }
  if (!store.CreateOrOpenDatabase(nsfPath)) {
    Fail(store.GetErrorText() + L": " + nsfPath);
    // A new NSF that was made but could not be opened holds nothing: it goes, as the wizard removes it.
    const CNotesStore::TargetClosing closing = store.CloseTarget(TRUE);
    if (!closing.strNotRemoved.IsEmpty())
      Fail(L"The new NSF file " + closing.strFile + L" could not be removed: " + closing.strNotRemoved);
    return 2;
  }

  CStringArray paths;
  paths.Add(CString());
  session.GetFolderList(&paths);

  CFolderConverter converter;
  converter.m_pStore = &store;
  converter.m_pSession = &session;
  std::vector<FolderSummary> summaries;
  std::string losses;
  double conversionSeconds = 0, readBackSeconds = 0;
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
    const CString& path = paths[i];
    FolderSummary summary;
    summary.notesFolder = NotesFolderName(L"Outlook\\" + path);
    const std::string folderField = Field(summary.notesFolder);
    RecordedItems skipped;
    double started = Now();
    const INT_PTR recordedAtCreate = store.m_notConverted.GetCount();
    const bool created = store.CreateFolder(L"Outlook\\" + path) != 0;
    conversionSeconds += Now() - started;
    long before = 0;
    // A folder the store could not make records its items as the driver counts them.
    if (!created && store.m_notConverted.GetCount() > recordedAtCreate)
      store.m_notConverted.SetFolderItems(recordedAtCreate, session.CountItemsAtPath(path));
    if (!created) {
      // The store's record says why, also for a folder not begun after the run stopped.
      const CString why = store.m_notConverted.GetCount() > recordedAtCreate
                              ? store.m_notConverted.GetAt(recordedAtCreate).reason
                              : L"the Notes folder cannot be created: " + store.GetErrorText();
      losses += folderField + "\t-\t\t" + Field(why) + "\n";
    } else {
      started = Now();
      LNViewFolder notes;
      before = OpenNotesFolder(store, summary.notesFolder, &notes);
      readBackSeconds += Now() - started;

      started = Now();
      converter.ConvertFolder(path);
      conversionSeconds += Now() - started;
    }
    // The items the store recorded are printed with the record; the read-back pairs the others.
    for (INT_PTR r = recordedAtCreate; r < store.m_notConverted.GetCount(); ++r)
      skipped.Add(store.m_notConverted.GetAt(r));
    started = Now();
    CheckFolder(session, store, path, created, before, skipped, &summary, &losses);
    readBackSeconds += Now() - started;
    summaries.push_back(summary);
  }

  int result = 0;
  for (const FolderSummary& summary : summaries) {
    Out(std::to_string(summary.items) + "\t" + std::to_string(summary.documents) + "\t" +
        std::to_string(summary.seen) + "\t" + std::to_string(summary.saved) + "\t" +
        Field(summary.notesFolder) + "\n");
    if (summary.documents != summary.items) result = 1;
  }
  Out(losses);
  if (!losses.empty()) result = 1;
  NotConvertedCounts counts;
  for (const CNotConvertedList* list : {&session.m_notListed, &store.m_notConverted}) {
    for (INT_PTR i = 0; i < list->GetCount(); ++i) {
      result = 1;
      PrintNotConverted(list->GetAt(i));
      counts.Add(list->GetAt(i));
    }
  }
  if (!counts.IsEmpty()) Out(Utf8(counts.Text()) + "\n");
  const bool targetFailedInRun = store.IsTargetFailed() != FALSE;
  const CString failure = targetFailedInRun ? store.GetErrorText() : CString();
  if (targetFailedInRun) {
    result = 1;
    Fail(failure);
  }
  if (store.IsSourceFailed()) {
    result = 1;
    Fail(L"The conversion did not complete. " + store.GetSourceFailure());
  }
  // The NSF is closed as the wizard closes it, which folds its side file in where there is room.
  const CNotesStore::TargetClosing closing = store.CloseTarget(FALSE);
  if (closing.bLost) {
    result = 1;
    // A loss found during the run was said with the target's failure above, unless closing the file found
    // more (another program damaged it).
    if (store.GetErrorText() != failure) Fail(store.GetErrorText());
    CString lost = closing.strFile + L": " + CountedNoun(closing.nSaved, L"document", L"documents") +
                   L" of this run lost with it";
    if (closing.nEarlier > 0) lost += L", and " + GroupedNumber(closing.nEarlier) + L" it held before";
    Fail(lost);
  }
  if (!closing.strJournal.IsEmpty()) {
    result = 1;
    Fail(closing.strFile + L" holds " + CountedNoun(closing.nSaved, L"document", L"documents") +
         L" of this run only together with its side file " + closing.strJournal +
         L", which could not be folded into it: " + closing.strJournalReason);
  }
  if (timing) {
    char line[160];
    std::snprintf(line, sizeof line, "convert-harness: conversion %.3f s, read-back %.3f s\n",
                  conversionSeconds, readBackSeconds);
    std::fputs(line, stderr);
  }
  return result;
}

// A fault that nothing handles (a write to memory the system cannot back, a null pointer) ends the
// harness with exit 3 and a line on stderr, never with Wine's own code for it, which may be 0.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS* pointers) {
  char line[160];
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  std::snprintf(line, sizeof line, "convert-harness: ended by exception 0x%08lx at %p\n",
                static_cast<unsigned long>(record->ExceptionCode), record->ExceptionAddress);
  std::fputs(line, stderr);
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

// The file of BRINDLE_HARNESS_STARTED: empty while the harness runs, "ended" once it is back at wmain's end.
class StartedMarker {
 public:
  StartedMarker() {
    const DWORD n = GetEnvironmentVariableW(L"BRINDLE_HARNESS_STARTED", m_path, _countof(m_path));
    if (n == 0 || n >= _countof(m_path)) m_path[0] = L'\0';
    Write("");
  }
  ~StartedMarker() { Write("ended\n"); }
  StartedMarker(const StartedMarker&) = delete;
  StartedMarker& operator=(const StartedMarker&) = delete;

 private:
  void Write(const char* text) const {
    if (!m_path[0]) return;
    const HANDLE file =
        CreateFileW(m_path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
  }

  WCHAR m_path[MAX_PATH] = L"";
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(EndOnFault);
  const StartedMarker started;
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const bool timing = argc == 4 && wcscmp(argv[1], L"--timing") == 0;
  if (argc != 3 && !timing) {
    Fail(L"usage: convert-harness [--timing] PST NSF");
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    Fail(L"COM cannot be initialised");
    return 2;
  }
  int result = 2;
  { result = Run(argv[argc - 2], argv[argc - 1], timing); }
  std::fflush(stdout);
  CoUninitialize();
  return result;
}
