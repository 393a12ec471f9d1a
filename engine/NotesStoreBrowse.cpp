// The NSF browser's listings: the folders and well-known views of an NSF into the folder tree, and the
// documents of one folder into the mail list. Both run on the browser page's workers.
#include "NotesCalls.h"
#include "NotesItemReaders.h"
#include "NotesStore.h"

namespace {

// Views the browser shows beside the folders: a name holding any of these, exact case.
const wchar_t* const kListedViewParts[] = {L"$Sent",       L"$Draft",        L"$JunkMail",   L"$ToDo",
                                           L"$Journal",    L"$Follow-Up",    L"My Contacts", L"By Diary Date",
                                           L"By Category", L"All Documents", L"$All"};

BOOL IsListedView(const CString& name) {
  if (name == L"($Meetings)") return TRUE;
  for (const wchar_t* part : kListedViewParts) {
    if (name.Find(part) >= 0) return TRUE;
  }
  return FALSE;
}

struct FolderKindName {
  const wchar_t* name;
  int kind;
};

const FolderKindName kFolderKinds[] = {
    {L"($Inbox)", FOLDER_INBOX},         {L"($Sent)", FOLDER_SENT},
    {L"($Trash)", FOLDER_TRASH},         {L"My Contacts", DOCUMENT_CONTACT},
    {L"($Alarms)", DOCUMENT_CALENDAR},   {L"($Calendar)", DOCUMENT_CALENDAR},
    {L"($Meetings)", DOCUMENT_CALENDAR}, {L"($JunkMail)", FOLDER_TRASH},
    {L"($Drafts)", FOLDER_DRAFTS},       {L"($ToDo)", DOCUMENT_TODO},
    {L"By Diary Date", DOCUMENT_JOURNAL}};

}  // namespace

int GetNotesFolderKind(CString name, int entryCount) {
  for (const FolderKindName& known : kFolderKinds) {
    if (name == known.name) return known.kind;
  }
  return entryCount > 0 ? FOLDER_OTHER : FOLDER_DRAFTS;
}

int GetDocumentKind(LNDocument document) {
  if (document.HasItem(LNString("MiddleInitial"))) return DOCUMENT_CONTACT;
  if (document.HasItem(LNString("Location"))) return DOCUMENT_CALENDAR;
  if (document.HasItem(LNString("DueDate"))) return DOCUMENT_TODO;
  if (document.HasItem(LNString("DiaryDate"))) return DOCUMENT_JOURNAL;
  return DOCUMENT_MAIL;
}

// Folder listing -----------------------------------------------------------------------------------

int CNotesStore::OpenAndListFolders(CString path, CString server, CStringArray* folderPaths, BOOL quiet) {
  if (m_bDbOpen) StatusOf([this] { return m_db.Close(); });
  m_bDbOpen = 0;
  // m_db is the browsed database from here on, no conversion's target.
  m_bTargetInUse = FALSE;
  m_strCreatedFile.Empty();

  // A stop before the walk gives 0 like a failure; the caller shows the error text after a 0, so no
  // earlier operation's text may be left there.
  auto stopped = [this] {
    SetErrorText(CString());
    return 0;
  };
  auto failed = [this](LNSTATUS status) {
    m_status = status;
    SetLibraryErrorText(status);
    return 0;
  };

  LNSTATUS status = StatusOf(
      [&] { return m_session.GetDatabase(CStringToLNString(path), &m_db, CStringToLNString(server)); });
  m_status = status;
  if (status != LNNOERROR) return failed(status);
  if (m_bStop) return stopped();

  status = StatusOf([this] { return m_db.Open(0); });
  m_status = status;
  if (status != LNNOERROR) return failed(status);
  m_bDbOpen = 1;
  if (m_bStop) return stopped();

  status = StatusOf([this] { return m_db.GetViewFolders(&m_folders, TRUE); });
  m_status = status;
  if (status != LNNOERROR) return failed(status);
  if (m_bStop) return stopped();

  try {
    const LNINT count = m_folders.GetCount();
    int foldersFound = 0;
    int entriesFound = 0;
    for (LNINT i = 0; i < count && ContinueLoop(); i++) {
      if (!quiet && m_pScanWnd) m_pScanWnd->SetPos(static_cast<int>((i + 1) * 100LL / count));
      LNViewFolder entry = m_folders[i];
      // One entry that cannot be opened is left out; the others are still listed.
      m_status = StatusOf([&] { return entry.Open(0); });
      if (m_status != LNNOERROR) continue;
      ClosedOnExit<LNViewFolder> closeEntry(entry);
      const CString name = LNStringToCString(entry.GetName());
      if (!entry.IsFolder() && !IsListedView(name)) continue;
      if (folderPaths) folderPaths->Add(name + L"\\");
      if (!quiet && m_pFolderTree) {
        foldersFound++;
        const int entries = entry.GetEntryCount();
        entriesFound += entries;
        m_pFolderTree->AddFolderPath(name + L"\\", GetNotesFolderKind(name, entries), entries);
        if (m_pScanWnd) m_pScanWnd->SetScanProgressText(foldersFound, entriesFound, name);
      }
    }
  } catch (LNSTATUS thrown) {
    return failed(thrown);
  }
  return 1;
}

// Document listing ---------------------------------------------------------------------------------

void CNotesStore::OpenFolder(IMailListSink* pane, CString path) {
  if (m_bStop) return;
  if (path.Right(1) == L"\\") path = path.Left(path.GetLength() - 1);
  CompletesWithoutFailure([&] {
    const LNString name = CStringToLNString(path);
    if (!m_db.ViewFolderExists(name)) return;
    m_status = m_db.GetViewFolder(name, &m_folder);
    if (m_bStop || m_status != LNNOERROR) return;
    m_status = m_folder.Open(0);
    if (m_status != LNNOERROR) return;
    ClosedOnExit<LNViewFolder> closeFolder(m_folder);
    if (LNStringToCString(m_folder.GetName()) == path) ListFolderDocuments(pane);
  });
}

void CNotesStore::ListFolderDocuments(IMailListSink* pane) {
  if (m_bStop || pane == nullptr) return;
  const unsigned count = static_cast<unsigned>(m_folder.GetEntryCount());
  for (unsigned i = 0; i < count && ContinueLoop(); i++) {
    // (count + 4): the bar never reaches 100 in this walk.
    if (m_pScanWnd) m_pScanWnd->SetPos(static_cast<int>((i + 1) * 100ULL / (count + 4ULL)));
    LNDocument document;
    LNNOTEID noteId = 0;
    BOOL opened = FALSE;
    CompletesWithoutFailure([&] {
      const LNVFEntry entry = m_folder[static_cast<LNINT>(i)];
      if (entry.GetDocument(&document) != LNNOERROR) return;
      noteId = entry.GetNoteID();
      opened = document.Open(0) == LNNOERROR;
    });
    if (!opened) continue;
    ClosedOnExit<LNDocument> closeDocument(document);

    CString subject = GetTextItem(L"Subject", document);
    CString from = GetTextItem(L"From", document);
    const CString attachments = GetAttachmentList(document, nullptr, nullptr);
    CString date = GetDateSentText(document);
    CString size;
    size.Format(L"%d", document.GetSize());

    const int kind = GetDocumentKind(document);
    switch (kind) {
      case DOCUMENT_CALENDAR:
      case DOCUMENT_TODO:
        date = GetDatetimeItem(L"STARTDATETIME", document);
        break;
      case DOCUMENT_JOURNAL:
        date = GetDatetimeItem(L"TimeCreated", document);
        if (date.IsEmpty()) date = GetDatetimeItem(L"DiaryDate", document);
        break;
      case DOCUMENT_CONTACT: {
        const ContactDetails contact = ReadContact(document, nullptr, nullptr);
        from = contact.TextPart1();
        subject = contact.TextPart2();
        date = contact.TextPart3();
        break;
      }
      default:
        break;
    }
    pane->AddRow(from, kind);
    pane->SetLastRowCell(MAIL_COLUMN_SUBJECT, subject);
    pane->SetLastRowCell(MAIL_COLUMN_DATE, date);
    pane->SetLastRowCell(MAIL_COLUMN_SIZE, size);
    pane->SetLastRowData(noteId);
    if (!attachments.IsEmpty()) pane->SetLastRowCell(MAIL_COLUMN_ATTACHMENT, attachments);
  }
}
