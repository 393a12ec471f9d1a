// convert-harness PST NSF: a test tool that runs the engine's conversion road without windows. It opens
// the PST through the PST session, opens the NSF or creates it from the mail template, and for the top
// folder and every listed folder creates the Notes folder and saves its items, as the driver does.
// Then it reads every Notes folder back and prints, UTF-8 with LF on a binary stdout, one line per
// folder:   <items> TAB <documents> TAB <attachments seen> TAB <attachments saved> TAB <Notes folder>
// then one line per item or attachment that the read-back finds missing:
//           <Notes folder> TAB item <n> TAB <subject> TAB <reason>
// and one line per entry of what the engine recorded as not converted (folders the session could not
// list, folders, items and attachments the store did not convert):
//           not converted TAB folder|item|attachment TAB <PST folder> TAB <n> TAB <subject> TAB
//           <attachment> TAB <reason>
// Exit 0 when every folder has as many new documents as the PST folder has items and nothing was
// recorded as not converted, 1 otherwise (also when the target failed, with the store's text on
// stderr), 2 when the PST or the NSF cannot be opened (the reason on stderr).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <map>
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

// One PST item as the harness sees it before the conversion.
struct PstItem {
  CString subject;
  CString messageClass;
  std::vector<CString> attachments;
  CString failure;  // why the item could not be read here
};

struct FolderReport {
  CString notesFolder;
  std::vector<PstItem> items;
  long documentsBefore = 0;
  std::vector<std::vector<CString>> documents;  // attachment names of each new document, in filing order
  std::vector<long> skipped;                    // items the store recorded as not converted
  CString failure;                              // why the folder was not converted
};

std::vector<PstItem> ReadPstItems(CPstSession& session, const CString& path, CString* failure) {
  std::vector<PstItem> items;
  try {
    RdoFolderDispatch folder;
    if (path.IsEmpty())
      folder.AttachDispatch(session.m_store.GetRootFolder());
    else
      session.OpenFolderByPath(path, folder);
    if (!folder.m_lpDispatch) {
      *failure = L"the PST folder cannot be reached";
      return items;
    }
    RdoItemsDispatch collection(folder.GetItems());
    if (!collection.m_lpDispatch) return items;
    const long count = collection.GetCount();
    for (long n = 1; n <= count; ++n) {
      PstItem item;
      try {
        RdoMailDispatch mail(collection.Item(COleVariant(long(n), VT_I4)));
        item.subject = mail.GetSubject();
        item.messageClass = mail.GetMessageClass();
        RdoAttachmentsDispatch attachments(mail.GetAttachments());
        const long attachmentCount = attachments.m_lpDispatch ? attachments.GetCount() : 0;
        for (long a = 1; a <= attachmentCount; ++a) {
          RdoAttachmentDispatch attachment(attachments.Item(COleVariant(long(a), VT_I4)));
          item.attachments.push_back(attachment.GetFileName());
        }
      } catch (CException* e) {
        item.failure = Describe(e);
      }
      items.push_back(item);
    }
  } catch (CException* e) {
    *failure = Describe(e);
  }
  return items;
}

// Attachment names of the documents filed into the folder from index `from` on; the folder's entry
// count before the conversion when documents is null.
long ReadNotesFolder(CNotesStore& store, const CString& notesFolder, long from,
                     std::vector<std::vector<CString>>* documents) {
  try {
    LNViewFolder folder;
    store.m_db.GetViewFolder(CStringToLNString(notesFolder), &folder);
    folder.Open(0);
    const long count = folder.GetEntryCount();
    if (documents) {
      for (long i = from; i < count; ++i) {
        LNDocument document;
        folder[i].GetDocument(&document);
        document.Open(0);
        LNAttachmentArray attachments;
        document.GetAttachments(&attachments);
        std::vector<CString> names;
        for (LNINT a = 0; a < attachments.GetCount(); ++a)
          names.push_back(LNStringToCString(attachments[a].GetAttachmentName()));
        document.Close();
        documents->push_back(names);
      }
    }
    folder.Close();
    return count;
  } catch (LNSTATUS) {
    return 0;
  }
}

// Lines for the losses of one folder; whether there was any. Documents are filed in item order,
// skipping the items the loop reported, so the n-th remaining item pairs with the n-th new document.
bool ReportLosses(const FolderReport& report) {
  bool lost = false;
  auto Lost = [&lost](const std::string& line) {
    lost = true;
    Out(line);
  };
  const std::string folder = Field(report.notesFolder);
  if (!report.failure.IsEmpty()) Lost(folder + "\t-\t\t" + Field(report.failure) + "\n");
  std::map<long, bool> skipped;
  for (long n : report.skipped) skipped[n] = true;
  size_t document = 0;
  for (size_t i = 0; i < report.items.size(); ++i) {
    const long n = static_cast<long>(i) + 1;
    if (skipped.count(n)) continue;
    const PstItem& item = report.items[i];
    const std::string prefix = folder + "\titem " + std::to_string(n) + "\t" + Field(item.subject) + "\t";
    if (document >= report.documents.size()) {
      Lost(prefix + "no document was filed for it\n");
      continue;
    }
    // The savers may rename an attachment (a repeated or unusable file name), so only a shortfall counts
    // as a loss; the names that no saved attachment carries say which ones are likely missing.
    std::vector<CString> saved = report.documents[document++];
    if (saved.size() < item.attachments.size()) {
      std::string missing;
      for (const CString& name : item.attachments) {
        bool found = false;
        for (auto it = saved.begin(); it != saved.end(); ++it) {
          if (it->CompareNoCase(name) == 0) {  // Notes may keep a name in other case
            saved.erase(it);
            found = true;
            break;
          }
        }
        if (!found) missing += (missing.empty() ? "" : ", ") + Field(name);
      }
      if (GetItemKind(item.messageClass) == 4) missing += " (contacts are saved without attachments)";
      Lost(prefix + std::to_string(report.documents[document - 1].size()) + " of " +
           std::to_string(item.attachments.size()) + " attachments saved; not found by name: " + missing +
           "\n");
    }
    if (!item.failure.IsEmpty())
      Lost(prefix + "the harness could not read it: " + Field(item.failure) + "\n");
  }
  return lost;
}

void PrintNotConverted(const NotConvertedEntry& entry) {
  static const char* const kKinds[] = {"folder", "item", "attachment"};
  Out(std::string("not converted\t") + kKinds[entry.kind] + "\t" + Field(entry.folder) + "\t" +
      std::to_string(entry.item) + "\t" + Field(entry.subject) + "\t" + Field(entry.attachment) + "\t" +
      Field(entry.reason) + "\n");
}

int Run(const CString& pstPath, const CString& nsfPath) {
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
    Fail(store.GetErrorText());
    return 2;
  }

  CStringArray paths;
  paths.Add(CString());
  session.GetFolderList(&paths);

  CFolderConverter converter;
  std::vector<FolderReport> reports;
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
    const CString& path = paths[i];
    FolderReport report;
    report.notesFolder = NotesFolderName(L"Outlook\\" + path);
    report.items = ReadPstItems(session, path, &report.failure);
    if (!store.CreateFolder(L"Outlook\\" + path)) {
      report.failure = L"the Notes folder cannot be created: " + store.GetErrorText();
    } else {
      report.documentsBefore = ReadNotesFolder(store, report.notesFolder, 0, nullptr);
      const INT_PTR recordedBefore = store.m_notConverted.GetCount();
      converter.m_pStore = &store;
      converter.m_pSession = &session;
      converter.ConvertFolder(path);
      for (INT_PTR r = recordedBefore; r < store.m_notConverted.GetCount(); ++r) {
        const NotConvertedEntry& entry = store.m_notConverted.GetAt(r);
        if (entry.kind == NotConvertedEntry::ITEM) report.skipped.push_back(entry.item);
      }
      ReadNotesFolder(store, report.notesFolder, report.documentsBefore, &report.documents);
    }
    reports.push_back(std::move(report));
  }

  int result = 0;
  for (const FolderReport& report : reports) {
    long seen = 0, saved = 0;
    for (const PstItem& item : report.items) seen += static_cast<long>(item.attachments.size());
    for (const auto& names : report.documents) saved += static_cast<long>(names.size());
    Out(std::to_string(report.items.size()) + "\t" + std::to_string(report.documents.size()) + "\t" +
        std::to_string(seen) + "\t" + std::to_string(saved) + "\t" + Field(report.notesFolder) + "\n");
    if (report.documents.size() != report.items.size()) result = 1;
  }
  for (const FolderReport& report : reports)
    if (ReportLosses(report)) result = 1;
  for (const CNotConvertedList* list : {&session.m_notListed, &store.m_notConverted}) {
    for (INT_PTR i = 0; i < list->GetCount(); ++i) {
      result = 1;
      PrintNotConverted(list->GetAt(i));
    }
  }
  if (store.IsTargetFailed()) {
    result = 1;
    Fail(store.GetErrorText());
  }
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (argc != 3) {
    Fail(L"usage: convert-harness PST NSF");
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    Fail(L"COM cannot be initialised");
    return 2;
  }
  int result = 2;
  { result = Run(argv[1], argv[2]); }
  std::fflush(stdout);
  CoUninitialize();
  return result;
}
