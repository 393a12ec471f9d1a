// The Notes store: session start and stop, error texts, string conversions, the target database
// and its folders, and the Domino server and database lists.
#include "NotesStore.h"

#include <io.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "NotesCalls.h"

namespace {

// Units of the back conversion's fixed buffer (0x20000 bytes).
const int TRANSLATE_BUFFER_UNITS = 0x10000;
// Bytes of the server name handed to the library.
const int SERVER_NAME_BYTES = 256;

LNString TranslateToLNString(const CString& text, LNINT charset) {
  if (text.IsEmpty()) return LNString();
  LNString result;
  LNINT length = 0;
  try {
    if (LNStringTranslate(static_cast<LPCWSTR>(text), charset, &result, &length) != LNNOERROR)
      return LNString();
  } catch (LNSTATUS) {
    return LNString();
  }
  return result;
}

// The system's words for a Windows error code.
CString SystemErrorText(DWORD error) {
  LPWSTR text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  CString result = length > 0 ? CString(text, static_cast<int>(length)) : CString();
  if (text != nullptr) LocalFree(text);
  result.TrimRight(L"\r\n. ");
  if (result.IsEmpty()) result.Format(L"error %lu", error);
  return result;
}

// Closes a database that was opened here when the code between fails.
class OpenDatabaseGuard {
 public:
  explicit OpenDatabaseGuard(LNDatabase& db) : m_db(db), m_bOpen(FALSE) {}
  ~OpenDatabaseGuard() {
    if (m_bOpen) StatusOf([this] { return m_db.Close(); });
  }
  LNSTATUS Open() {
    const LNSTATUS status = m_db.Open(0);
    m_bOpen = status == LNNOERROR;
    return status;
  }
  LNSTATUS Close() {
    m_bOpen = FALSE;
    return m_db.Close();
  }

 private:
  LNDatabase& m_db;
  BOOL m_bOpen;
};

}  // namespace

// Strings ------------------------------------------------------------------------------------------

CString AnsiToCString(const char* bytes, int length) {
  if (length <= 0) return CString();
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
  if (units <= 0) return CString();
  CString text;
  LPWSTR buffer = text.GetBuffer(units);
  MultiByteToWideChar(CP_ACP, 0, bytes, length, buffer, units);
  text.ReleaseBuffer(units);
  return text;
}

LNString CStringToLNString(CString text) { return TranslateToLNString(text, LNCHARSET_NATIVE); }

LNString CStringToLNStringCharset1(CString text) { return TranslateToLNString(text, LNCHARSET_BODY); }

CString LNStringToCString(LNString s) {
  const LNINT length = s.GetBufLength();
  if (length > 0) {
    // A UTF-16 text never has more units than the UTF-8 bytes it came from, so length + 1 units hold
    // any result with its terminator. Longer texts than the fixed buffer go to the heap.
    wchar_t fixed[TRANSLATE_BUFFER_UNITS];
    std::vector<wchar_t> large;
    wchar_t* buffer = fixed;
    if (length >= TRANSLATE_BUFFER_UNITS) {
      large.assign(static_cast<size_t>(length) + 1, L'\0');
      buffer = large.data();
    } else {
      memset(fixed, 0, (static_cast<size_t>(length) + 1) * sizeof(wchar_t));
    }
    LNINT units = 0;
    const LNSTATUS status =
        StatusOf([&] { return LNStringTranslate(s, LNCHARSET_NATIVE, length * 2, buffer, &units); });
    if (status == LNNOERROR) return CString(buffer);
  }
  return AnsiToCString(s.GetBuf(), length);
}

CString PstFolderOf(const CString& path) {
  const CString prefix = L"Outlook\\";
  return path.Left(prefix.GetLength()) == prefix ? path.Mid(prefix.GetLength()) : path;
}

CString NotesFolderName(const CString& path) {
  CString name = path.Left(path.GetLength() - 1);
  if (name.GetLength() > NOTES_FOLDER_NAME_LIMIT) {
    const int lastSlash = name.ReverseFind(L'\\');
    if (lastSlash > 0) name = name.Mid(lastSlash);
  }
  return name;
}

// Session and error text ---------------------------------------------------------------------------

CNotesStore::CNotesStore()
    : m_bSessionInit(0),
      m_bDbOpen(0),
      m_status(LNNOERROR),
      m_pItemProgress(nullptr),
      m_pReadProgress(nullptr),
      m_pFolderTree(nullptr),
      m_bStop(0),
      m_bStoppedEarly(FALSE),
      m_pScanWnd(nullptr),
      m_nExportMode(2),
      m_bAskLargePreview(1),
      m_bShowLargePreview(1),
      m_bPlainTextBody(0),
      m_pTemplateChooser(nullptr) {}

CNotesStore::~CNotesStore() { Close(); }

int CNotesStore::InitSession() {
  LNSetThrowAllErrorsGlobal(TRUE);
  if (m_bSessionInit) Close();
  m_status = StatusOf([this] { return m_session.Initialize(300, 0, nullptr, 1, nullptr); });
  if (m_status != LNNOERROR) {
    SetErrorText(L"Unable to initlise lotus notes");
    m_bSessionInit = 0;
    return 0;
  }
  m_bSessionInit = 1;
  return 1;
}

void CNotesStore::Close() {
  RemoveAttachmentFolder();
  if (m_bDbOpen) StatusOf([this] { return m_db.Close(); });
  if (m_bSessionInit) StatusOf([this] { return m_session.Term(0); });
  m_bDbOpen = 0;
  m_bSessionInit = 0;
  m_bTargetInUse = FALSE;
  m_strCreatedFile.Empty();
}

CString CNotesStore::GetErrorText() { return m_strError; }

void CNotesStore::SetErrorText(CString text) { m_strError = text; }

CString NotesMessage(LNSTATUS status) {
  char message[512];
  message[0] = '\0';
  LNGetErrorMessageText(status, message, sizeof message, 0);
  message[sizeof message - 1] = '\0';
  return AnsiToCString(message, static_cast<int>(strlen(message)));
}

void CNotesStore::SetLibraryErrorText(LNSTATUS status) { SetErrorText(NotesMessage(status)); }

// Target database and folders ----------------------------------------------------------------------

int CNotesStore::FindMailTemplate(CString* templatePath) {
  LNDatabaseArray templates;
  m_status =
      StatusOf([&] { return m_session.GetDatabases(&templates, LNString(), LNString(), LNDBTYPE_TEMPLATE); });
  if (m_status != LNNOERROR) {
    // Installations that keep their templates with the shared application data.
    wchar_t profile[MAX_PATH + 1];
    const DWORD n = GetEnvironmentVariableW(L"ALLUSERSPROFILE", profile, MAX_PATH + 1);
    CString directory = n > 0 && n <= MAX_PATH ? CString(profile) : CString();
    if (directory.IsEmpty() || directory[directory.GetLength() - 1] != L'\\') directory += L'\\';
    directory += L"Application Data\\Lotus\\";
    const LNString lnDirectory = CStringToLNString(directory);
    m_status = StatusOf(
        [&] { return m_session.GetDatabases(&templates, LNString(), lnDirectory, LNDBTYPE_TEMPLATE); });
    if (m_status != LNNOERROR) {
      SetErrorText(L"Unable to get Template");
      return 0;
    }
  }
  if (templates.GetCount() == 0) {
    SetErrorText(L"Unable to get Template");
    return 0;
  }

  CStringArray paths;
  CStringArray titles;
  int chosen = -1;
  for (LNINT i = 0; i < templates.GetCount() && chosen < 0; i++) {
    LNDatabase candidate = templates[i];
    OpenDatabaseGuard open(candidate);
    open.Open();
    const CString path = LNStringToCString(candidate.GetFilepath());
    const CString title = LNStringToCString(candidate.GetTitle());
    paths.Add(path);
    titles.Add(title);
    CString upper = title;
    upper.MakeUpper();
    if (upper.Find(L"MAIL (R") >= 0) chosen = static_cast<int>(paths.GetSize() - 1);
    // Also the matched template: the new database is made from its file, not from this handle.
    open.Close();
  }

  if (chosen < 0) {
    int selected = -1;
    if (m_pTemplateChooser == nullptr) {
      SetErrorText(L"Unable to get Template");
      return 0;
    }
    if (!m_pTemplateChooser->ChooseTemplate(titles, &selected)) {
      m_bTemplateChoiceCancelled = TRUE;
      SetErrorText(L"User aborted the process");
      return 0;
    }
    if (selected < 0 || selected >= paths.GetSize()) {
      SetErrorText(L"Unable to get Template");
      return 0;
    }
    chosen = selected;
  }
  *templatePath = paths[chosen];
  return 1;
}

int CNotesStore::CreateOrOpenDatabase(CString path) {
  // Opening a database ends the use of the one opened before, and the conversion into it.
  RemoveAttachmentFolder();
  if (m_bDbOpen) StatusOf([this] { return m_db.Close(); });
  m_bDbOpen = 0;
  m_notConverted.RemoveAll();
  m_bTargetFailed = FALSE;
  m_bTemplateChoiceCancelled = FALSE;
  m_bSourceFailed = FALSE;
  m_strSourceFailure.Empty();
  m_bTargetLost = FALSE;
  m_bTargetWritten = FALSE;
  m_nSavedDocuments = 0;
  m_nEarlierDocuments = 0;
  m_targetIdentity = FileIdentity();
  m_strTargetPath = path;
  m_bTargetInUse = TRUE;
  m_strCreatedFile.Empty();
  try {
    const LNString target = CStringToLNString(path);
    if (_waccess(path, 0) == 0) {
      m_status = m_session.GetDatabase(target, &m_db, LNString());
    } else {
      CString templatePath;
      if (!FindMailTemplate(&templatePath)) return 0;
      m_status = m_session.CreateDatabaseFromTemplate(CStringToLNString(templatePath), LNString(), target,
                                                      LNString(), LNCreateDatabaseOptions(), nullptr);
      if (m_status != LNNOERROR) {
        SetErrorText(L"Unable to create nsf file");
        return 0;
      }
      m_strCreatedFile = LibraryFilePath(path);
      m_status = m_session.GetDatabase(target, &m_db, LNString());
    }
    if (m_status != LNNOERROR) {
      SetErrorText(L"Unable to create or open nsf file");
      return 0;
    }
    if (m_bStop) return 0;
    // For writing: a file that another program holds is refused now, with one message, rather than at
    // each write of the conversion.
    m_status = m_db.Open(LNDBOPEN_WRITE);
    if (m_status != LNNOERROR) {
      SetLibraryErrorText(m_status);
      return 0;
    }
    m_bDbOpen = 1;
    m_targetIdentity = IdentityOf(LibraryFilePath(path), nullptr);
    // What the file held before is told apart from what this conversion saves into it.
    if (m_strCreatedFile.IsEmpty()) {
      m_nEarlierDocuments = NotConvertedEntry::UNCOUNTED;
      CompletesWithoutFailure([&] {
        LNNoteArray documents;
        if (m_db.GetDocuments(&documents) == LNNOERROR) m_nEarlierDocuments = documents.GetCount();
      });
    }
    return m_bStop ? 0 : 1;
  } catch (LNSTATUS status) {
    m_status = status;
    // The library's words alone: the user reads them as the final status, and the page names the file
    // on the line beneath.
    SetLibraryErrorText(status);
    m_bDbOpen = 0;
    return 0;
  }
}

CString CNotesStore::LibraryFilePath(const CString& path) {
  // The library takes a relative path inside its data directory.
  const bool absolute = path.GetLength() >= 2 && (path[1] == L':' || path[0] == L'\\' || path[0] == L'/');
  const CString named = absolute ? path : LNStringToCString(m_session.GetDataDirectory()) + L"\\" + path;
  wchar_t full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameW(named, MAX_PATH * 4, full, nullptr);
  return length > 0 && length < MAX_PATH * 4 ? CString(full) : named;
}

CNotesStore::FileIdentity CNotesStore::IdentityOf(const CString& path, BOOL* pbMissing) {
  FileIdentity identity;
  identity.strPath = path;
  if (pbMissing != nullptr) *pbMissing = FALSE;
  const HANDLE file = ::CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (pbMissing != nullptr) *pbMissing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return identity;
  }
  BY_HANDLE_FILE_INFORMATION information;
  if (::GetFileInformationByHandle(file, &information)) {
    identity.bKnown = TRUE;
    identity.nVolume = information.dwVolumeSerialNumber;
    identity.nIndexHigh = information.nFileIndexHigh;
    identity.nIndexLow = information.nFileIndexLow;
  }
  ::CloseHandle(file);
  return identity;
}

BOOL CNotesStore::CheckTargetFile() {
  if (m_bTargetLost) return FALSE;
  if (!m_bDbOpen || !m_targetIdentity.bKnown) return TRUE;
  const CString file = m_targetIdentity.strPath;
  BOOL bMissing = FALSE;
  const FileIdentity now = IdentityOf(file, &bMissing);
  const BOOL bSame = now.bKnown && now.nVolume == m_targetIdentity.nVolume &&
                     now.nIndexHigh == m_targetIdentity.nIndexHigh &&
                     now.nIndexLow == m_targetIdentity.nIndexLow;
  if (bSame || (!now.bKnown && !bMissing)) return TRUE;
  NoteTargetLost(bMissing ? TargetClosing::REMOVED : TargetClosing::REPLACED);
  return FALSE;
}

BOOL CNotesStore::ReadsAsDatabase(const CString& path) {
  LNDatabase db;
  const LNSTATUS status = StatusOf([&] {
    LNSTATUS result = m_session.GetDatabase(CStringToLNString(path), &db, LNString());
    if (result == LNNOERROR) result = db.Open(0);
    if (result != LNNOERROR) return result;
    ClosedOnExit<LNDatabase> closed(db);
    LNNoteArray documents;
    return db.GetDocuments(&documents);
  });
  // Only damage counts: a file that another program holds now, say, is still a database.
  return !IsDamage(status);
}

void CNotesStore::NoteTargetLost(TargetClosing::Loss loss) {
  m_bTargetLost = TRUE;
  m_bTargetFailed = TRUE;
  m_targetLoss = loss;
  const LPCWSTR how = loss == TargetClosing::REMOVED    ? L"removed"
                      : loss == TargetClosing::REPLACED ? L"replaced"
                                                        : L"damaged";
  const CString file = m_targetIdentity.strPath.IsEmpty() ? m_strTargetPath : m_targetIdentity.strPath;
  // Found as its use ends, the loss did not stop the conversion.
  const CString head = (m_bTargetInUse ? L"The conversion stopped: the NSF file " : L"The NSF file ") + file +
                       L" was " + how + L" by another program ";
  if (!m_bTargetWritten) {
    SetErrorText(head + L"before anything was written into it.");
    return;
  }
  SetErrorText(head + L"while it was being written" +
               (loss == TargetClosing::DAMAGED ? L": it is no longer a database" : L"") +
               L". The documents saved into it are lost.");
}

CNotesStore::TargetClosing CNotesStore::CloseTarget(BOOL bRemoveIfEmptyNew) {
  TargetClosing closing;
  if (!m_bTargetInUse) return closing;
  m_bTargetInUse = FALSE;
  const BOOL bFailedBefore = m_bTargetFailed;
  const CString createdFile = m_strCreatedFile;
  m_strCreatedFile.Empty();
  RemoveAttachmentFolder();
  // m_db is the target only once it opened: before, it may still name an earlier database.
  closing.strFile = !createdFile.IsEmpty() ? createdFile : LibraryFilePath(m_strTargetPath);
  closing.nSaved = m_nSavedDocuments;
  closing.nEarlier = m_nEarlierDocuments;
  closing.bWritten = m_bTargetWritten;
  LNSTATUS countStatus = LNNOERROR;
  if (m_bDbOpen) {
    countStatus = StatusOf([&] {
      LNNoteArray documents;
      const LNSTATUS status = m_db.GetDocuments(&documents);
      if (status == LNNOERROR) closing.nDocuments = documents.GetCount();
      return status;
    });
  }
  // The file at the path is another program's now: nothing there is removed, and what this conversion
  // wrote went with the file it was written into.
  BOOL bLost = !CheckTargetFile();
  // A file that could not be opened holds nothing of this conversion; one that could not be counted
  // may hold something.
  const BOOL bEmpty = m_bDbOpen ? closing.nDocuments == 0 : TRUE;
  // A close that reports no failure has folded the journal, or left it to another program that has the
  // file open too, whose close folds it.
  const BOOL bWasOpen = m_bDbOpen;
  const LNSTATUS closeStatus = bWasOpen && !bLost ? StatusOf([this] { return m_db.Close(); }) : LNNOERROR;
  if (!bLost) m_bDbOpen = 0;
  // The file is still the one opened but no longer reads as a database: another program wrote over it,
  // and its documents went with what was there. The open database reads much from what it holds in
  // memory: only the file read anew after a close tells.
  if (!bLost && (IsDamage(countStatus) || IsDamage(closeStatus) ||
                 (bWasOpen && closeStatus == LNNOERROR && !ReadsAsDatabase(m_strTargetPath)))) {
    NoteTargetLost(TargetClosing::DAMAGED);
    bLost = TRUE;
  }
  if (bLost) {
    closing.bLost = TRUE;
    closing.loss = m_targetLoss;
    if (m_bDbOpen) StatusOf([this] { return m_db.Close(); });
    m_bDbOpen = 0;
    // Found only now, with nothing of this conversion in the file (a run cancelled before its first
    // folder): another program's doing alone, which the conversion did not fail for.
    if (!m_bTargetWritten && !bFailedBefore) m_bTargetLost = m_bTargetFailed = FALSE;
    return closing;
  }

  if (bRemoveIfEmptyNew && !createdFile.IsEmpty() && bEmpty) {
    if (::DeleteFileW(createdFile) || ::GetLastError() == ERROR_FILE_NOT_FOUND) {
      for (LPCWSTR side : {L"-wal", L"-shm"}) ::DeleteFileW(createdFile + side);
      closing.bRemoved = TRUE;
      return closing;
    }
    closing.strNotRemoved = SystemErrorText(::GetLastError());
  }
  if (bWasOpen && closeStatus != LNNOERROR) {
    CompletesWithoutFailure([&] { closing.strJournal = LNStringToCString(m_db.GetJournalFilepath()); });
    if (!closing.strJournal.IsEmpty()) closing.strJournalReason = NotesMessage(closeStatus);
  }
  return closing;
}

void CNotesStore::NoteSourceFailure(const CString& description) {
  if (m_bSourceFailed) return;
  m_bSourceFailed = TRUE;
  m_strSourceFailure = description;
}

CString CNotesStore::StoppedReason() const {
  if (m_bTargetFailed) return m_strError;
  return L"The conversion stopped. " + m_strSourceFailure;
}

int CNotesStore::CreateFolder(CString path) {
  const CString name = NotesFolderName(path);
  // A file removed or replaced while the folders were chosen is found before anything goes into it.
  if (!m_bTargetWritten) CheckTargetFile();
  if (m_bTargetFailed || m_bSourceFailed) {
    m_notConverted.AddFolder(PstFolderOf(path), StoppedReason());
    return 0;
  }
  m_status = StatusOf([&] { return m_db.CreateFolder(CStringToLNString(name), nullptr); });
  // A second conversion into the same NSF files its items into the folder made the first time.
  if (m_status == LNERR_FOLDER_EXISTS) m_status = LNNOERROR;
  if (m_status == LNNOERROR) {
    m_bTargetWritten = TRUE;
    return 1;
  }
  SetLibraryErrorText(m_status);
  if (IsTargetFailure(m_status)) {
    m_bTargetFailed = TRUE;
    SetErrorText(L"The conversion stopped: " + m_strTargetPath + L" cannot be written. " +
                 NotesMessage(m_status));
    // Nothing of this program's makes an open database unreadable: another program wrote over it.
    if (IsDamage(m_status)) NoteTargetLost(TargetClosing::DAMAGED);
  }
  m_notConverted.AddFolder(PstFolderOf(path),
                           L"The Notes folder " + name + L" cannot be created: " + m_strError);
  return 0;
}

BOOL CNotesStore::ContinueLoop() {
  m_pause.Pass();
  if (!m_bStop) return TRUE;
  m_bStoppedEarly = TRUE;
  return FALSE;
}

// Domino lists -------------------------------------------------------------------------------------

int CNotesStore::GetServerNames(CStringArray* names) {
  try {
    LNText servers;
    m_status = m_session.GetServerNames(&servers);
    if (m_status != LNNOERROR) {
      SetErrorText(L"Unable to find server, please try after some time");
      return 0;
    }
    for (LNINT i = 0; i < servers.GetCount(); i++) {
      const LNString server = servers[i];
      names->Add(LNStringToCString(server));
    }
    return 1;
  } catch (LNSTATUS status) {
    m_status = status;
    SetLibraryErrorText(status);
    return 0;
  }
}

int CNotesStore::GetServerDatabases(CString server, CStringArray* paths, CStringArray* fileNames) {
  // The server name goes to the library as ANSI bytes, cut to the fixed buffer and kept terminated.
  char serverName[SERVER_NAME_BYTES];
  serverName[0] = '\0';
  const int needed = WideCharToMultiByte(CP_ACP, 0, server, server.GetLength(), nullptr, 0, nullptr, nullptr);
  if (needed > 0) {
    std::string bytes(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, server, server.GetLength(), &bytes[0], needed, nullptr, nullptr);
    const size_t kept = bytes.size() < sizeof serverName - 1 ? bytes.size() : sizeof serverName - 1;
    memcpy(serverName, bytes.data(), kept);
    serverName[kept] = '\0';
  }
  try {
    LNDatabaseArray databases;
    m_status = m_session.GetDatabases(&databases, LNString(serverName), LNString(), LNDBTYPE_DATABASE);
    if (m_status != LNNOERROR) {
      SetErrorText(L"Unable to find database from server, please try after some time");
      return 0;
    }
    const LNINT count = databases.GetCount();
    for (LNINT i = 0; i < count && ContinueLoop(); i++) {
      LNDatabase database = databases[i];
      OpenDatabaseGuard open(database);
      open.Open();
      const CString fileName = LNStringToCString(database.GetFilename());
      const CString filePath = LNStringToCString(database.GetFilepath());
      paths->Add(filePath);
      fileNames->Add(fileName);
      open.Close();
    }
    if (count == 0) {
      SetErrorText(L"No file found in selected server");
      return 0;
    }
    return 1;
  } catch (LNSTATUS status) {
    m_status = status;
    SetLibraryErrorText(status);
    return 0;
  }
}
