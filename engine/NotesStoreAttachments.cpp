// Attachment copying: each PST attachment passes through a private temporary file into the note.
#include "AttachmentFiles.h"

#include <algorithm>

#include "AutomationWrappers.h"
#include "NotesCalls.h"
#include "NotesItemWriters.h"
#include "NotesStore.h"

namespace {

CString UpperCasedAscii(CString text) {
  const int length = text.GetLength();
  LPWSTR buffer = text.GetBuffer(length);
  for (int i = 0; i < length; i++) {
    if (buffer[i] >= L'a' && buffer[i] <= L'z') buffer[i] = static_cast<wchar_t>(buffer[i] - L'a' + L'A');
  }
  text.ReleaseBuffer(length);
  return text;
}

bool IsInUse(const CString& name, const CStringArray& used) {
  for (INT_PTR i = 0; i < used.GetSize(); i++) {
    if (used[i] == name) return true;
  }
  return false;
}

bool IsDeviceName(CString base) {
  base = UpperCasedAscii(base);
  static const LPCWSTR kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (LPCWSTR device : kDevices) {
    if (base == device) return true;
  }
  if (base.GetLength() == 4 && (base.Left(3) == L"COM" || base.Left(3) == L"LPT") && base[3] >= L'0' &&
      base[3] <= L'9') {
    return true;
  }
  return false;
}

// File names compare without regard to case.
bool IsUndeleted(const CString& path, const CStringArray& undeleted) {
  for (INT_PTR i = 0; i < undeleted.GetSize(); i++) {
    if (undeleted[i].CompareNoCase(path) == 0) return true;
  }
  return false;
}

// A path in folder for fileName. The folder is ours, so only a file whose removal failed can be in the
// way; those are remembered, so that no per-attachment look at the disk is needed.
CString UnusedPath(const CString& folder, const CString& fileName, const CStringArray& undeleted) {
  CString path = folder + fileName;
  for (int n = 0; IsUndeleted(path, undeleted); n++) {
    CString prefix;
    prefix.Format(L"(%d)", n);
    path = folder + prefix + fileName;
  }
  return path;
}

// Deletes the attachment's temporary file on every way out; a file that stays is remembered.
class TempFileRemover {
 public:
  // path may change while the remover lives (a save tried again under another path).
  TempFileRemover(const CString& path, CStringArray& undeleted) : m_path(path), m_undeleted(undeleted) {}
  ~TempFileRemover() {
    if (DeleteFileW(m_path)) return;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) m_undeleted.Add(m_path);
  }
  TempFileRemover(const TempFileRemover&) = delete;
  TempFileRemover& operator=(const TempFileRemover&) = delete;

 private:
  const CString& m_path;
  CStringArray& m_undeleted;
};

bool IsBidiControl(wchar_t c) {
  return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// name without the characters that reorder what is displayed, which can make "RTL\x202ETXT.EXE"
// look like "RTLEXE.TXT".
CString WithoutBidiControls(const CString& name) {
  CString kept;
  for (int i = 0; i < name.GetLength(); i++)
    if (!IsBidiControl(name[i])) kept += name[i];
  return kept;
}

// name cut to limit characters, keeping an extension of up to 16 characters.
CString BoundedFileName(const CString& name, int limit) {
  if (name.GetLength() <= limit) return name;
  CString extension;
  const int lastDot = name.ReverseFind(L'.');
  if (lastDot > 0 && name.GetLength() - lastDot <= 16) extension = name.Mid(lastDot);
  return name.Left(limit - extension.GetLength()) + extension;
}

// A device name (CON, NUL.TXT, COM1...) gets a '_' in front, so that the file can be made.
CString WithoutDeviceName(const CString& name) {
  const int dot = name.Find(L'.');
  if (IsDeviceName(dot >= 0 ? name.Left(dot) : name) || IsDeviceName(name)) return L"_" + name;
  return name;
}

}  // namespace

CString NotesAttachmentName(CString name) {
  name = WithoutBidiControls(name);
  if (name.IsEmpty()) return SafeAttachmentFileName(name);
  return BoundedFileName(WithoutDeviceName(name), NOTES_ATTACHMENT_NAME_LIMIT);
}

CString SafeAttachmentFileName(CString name) {
  const int slash = std::max(name.ReverseFind(L'\\'), name.ReverseFind(L'/'));
  if (slash >= 0) name = name.Mid(slash + 1);
  name = WithoutBidiControls(name);
  const int length = name.GetLength();
  LPWSTR buffer = name.GetBuffer(length);
  for (int i = 0; i < length; i++) {
    const wchar_t c = buffer[i];
    if (c < 0x20 || c == 0x7F || wcschr(L"<>:\"/\\|?*", c) != nullptr) buffer[i] = L'_';
  }
  name.ReleaseBuffer(length);
  // The file system drops trailing dots and blanks, which would make two names one.
  name.TrimRight(L". ");
  name.TrimLeft(L" ");
  if (name.IsEmpty()) return L"attachment";

  return BoundedFileName(WithoutDeviceName(name), ATTACHMENT_FILE_NAME_LIMIT);
}

CString UniqueAttachmentName(CString name, const CStringArray& used) {
  if (IsInUse(UpperCasedAscii(name), used)) {
    for (int n = 0;; n++) {
      CString candidate;
      candidate.Format(L"(%d)", n);
      candidate = BoundedFileName(candidate + name, NOTES_ATTACHMENT_NAME_LIMIT);
      if (!IsInUse(UpperCasedAscii(candidate), used)) {
        name = candidate;
        break;
      }
    }
  }
  return UpperCasedAscii(name);
}

// A folder under the user's temporary directory that only this store uses: the attachments' file
// names come from the PST, and a file of the same name that someone else keeps there must be neither
// overwritten nor deleted. One folder serves a whole conversion; making and removing one per item
// would cost as much as copying the attachments.
CString CNotesStore::AttachmentFolder() {
  if (!m_strAttachmentFolder.IsEmpty()) return m_strAttachmentFolder;
  m_undeletedAttachmentFiles.RemoveAll();
  wchar_t temp[MAX_PATH + 1] = {0};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return CString();
  CString base(temp);
  if (base.Right(1) != L"\\") base += L"\\";
  static LONG s_counter = 0;
  for (int attempt = 0; attempt < 100; attempt++) {
    CString candidate;
    candidate.Format(L"%sbrindle-att-%lu-%ld", static_cast<LPCWSTR>(base), GetCurrentProcessId(),
                     InterlockedIncrement(&s_counter));
    if (CreateDirectoryW(candidate, nullptr)) {
      m_strAttachmentFolder = candidate + L"\\";
      return m_strAttachmentFolder;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return CString();
  }
  return CString();
}

void CNotesStore::RemoveAttachmentFolder() {
  if (m_strAttachmentFolder.IsEmpty()) return;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(m_strAttachmentFolder + L"*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW(m_strAttachmentFolder + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(m_strAttachmentFolder.Left(m_strAttachmentFolder.GetLength() - 1));
  m_strAttachmentFolder.Empty();
  m_undeletedAttachmentFiles.RemoveAll();
}

// The disk is looked at only when a save into the folder failed. Someone may have cleaned the temporary
// directory during a long conversion: the folder is made again. Or a file of that name is in the way
// (one that could not be removed, or someone else's): it is left alone and another name taken.
bool CNotesStore::CanSaveElsewhere(const CString& failedPath) {
  if (m_strAttachmentFolder.IsEmpty()) return false;
  if (GetFileAttributesW(m_strAttachmentFolder) == INVALID_FILE_ATTRIBUTES) {
    m_strAttachmentFolder.Empty();
    return !AttachmentFolder().IsEmpty();
  }
  if (GetFileAttributesW(failedPath) == INVALID_FILE_ATTRIBUTES) return false;
  m_undeletedAttachmentFiles.Add(failedPath);
  return true;
}

void CNotesStore::CopyAttachments(LPDISPATCH attachments, LNDocument& note) {
  RdoAttachmentsDispatch collection(attachments);
  long count = 0;
  try {
    count = collection.GetCount();
  } catch (CException* e) {
    // An unreadable collection costs the item its attachments, not the item.
    NotCopied(CString(), DescribeException(e));
    e->Delete();
    return;
  }
  if (count <= 0) return;

  if (AttachmentFolder().IsEmpty()) {
    NotCopied(CString(), L"no temporary folder can be made for the attachments");
    return;
  }
  CStringArray used;
  for (long i = 1; i <= count; i++) {
    // One attachment that cannot be copied is skipped; the others and the item are kept.
    CString fileName;
    try {
      RdoAttachmentDispatch attachment(collection.Item(COleVariant(i, VT_I4)));
      fileName = attachment.GetFileName();
      const CString safeName = SafeAttachmentFileName(fileName);
      CString path = UnusedPath(m_strAttachmentFolder, safeName, m_undeletedAttachmentFiles);
      const CString name = UniqueAttachmentName(NotesAttachmentName(fileName), used);
      TempFileRemover remover(path, m_undeletedAttachmentFiles);
      try {
        attachment.SaveAsFile(path);
      } catch (CException* e) {
        if (!CanSaveElsewhere(path)) throw;
        e->Delete();
        path = UnusedPath(m_strAttachmentFolder, safeName, m_undeletedAttachmentFiles);
        attachment.SaveAsFile(path);
      }
      ThrowIfNotesError(note.CreateAttachment(CStringToLNString(path), CStringToLNString(name), TRUE));
      used.Add(name);
      ThrowIfNotesError(note.Save(0));
    } catch (CException* e) {
      NotCopied(fileName, DescribeException(e));
      e->Delete();
    } catch (LNSTATUS status) {
      // A database that can no longer be written fails the item, not just the attachment.
      if (IsTargetFailure(status)) throw;
      NotCopied(fileName, NotesMessage(status));
    }
  }
}

void CNotesStore::NotCopied(const CString& fileName, const CString& reason) {
  m_notConverted.AddAttachment(m_strLoopFolder, m_nLoopItem, m_strLoopSubject, fileName,
                               L"The attachment was not copied: " + reason);
}
