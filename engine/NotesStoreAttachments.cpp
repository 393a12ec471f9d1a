// Attachment copying: each PST attachment passes through a private temporary file into the note.
#include "AttachmentFiles.h"

#include <algorithm>

#include "AutomationWrappers.h"
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

// A path in folder for fileName that no file holds yet: the folder is ours, so only a file whose
// deletion failed can be in the way.
CString UnusedPath(const CString& folder, const CString& fileName) {
  CString path = folder + fileName;
  for (int n = 0; GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; n++) {
    CString prefix;
    prefix.Format(L"(%d)", n);
    path = folder + prefix + fileName;
  }
  return path;
}

// Deletes the attachment's temporary file on every way out.
class TempFileRemover {
 public:
  explicit TempFileRemover(const CString& path) : m_path(path) {}
  ~TempFileRemover() { DeleteFileW(m_path); }
  TempFileRemover(const TempFileRemover&) = delete;
  TempFileRemover& operator=(const TempFileRemover&) = delete;

 private:
  CString m_path;
};

}  // namespace

CString SafeAttachmentFileName(CString name) {
  const int slash = std::max(name.ReverseFind(L'\\'), name.ReverseFind(L'/'));
  if (slash >= 0) name = name.Mid(slash + 1);
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

  const int dot = name.Find(L'.');
  if (IsDeviceName(dot >= 0 ? name.Left(dot) : name) || IsDeviceName(name)) name = L"_" + name;

  if (name.GetLength() > ATTACHMENT_FILE_NAME_LIMIT) {
    CString extension;
    const int lastDot = name.ReverseFind(L'.');
    if (lastDot > 0 && name.GetLength() - lastDot <= 16) extension = name.Mid(lastDot);
    name = name.Left(ATTACHMENT_FILE_NAME_LIMIT - extension.GetLength()) + extension;
  }
  return name;
}

CString UniqueAttachmentName(CString name, const CStringArray& used) {
  if (IsInUse(UpperCasedAscii(name), used)) {
    for (int n = 0;; n++) {
      CString candidate;
      candidate.Format(L"(%d)", n);
      candidate += name;
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
  if (!m_strAttachmentFolder.IsEmpty()) {
    // Someone may have cleaned the temporary directory during a long conversion.
    if (GetFileAttributesW(m_strAttachmentFolder) != INVALID_FILE_ATTRIBUTES) return m_strAttachmentFolder;
    m_strAttachmentFolder.Empty();
  }
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
}

void CNotesStore::CopyAttachments(LPDISPATCH attachments, LNDocument& note) {
  RdoAttachmentsDispatch collection(attachments);
  long count = 0;
  try {
    count = collection.GetCount();
  } catch (CException* e) {
    // An unreadable collection costs the item its attachments, not the item.
    e->Delete();
    return;
  }
  if (count <= 0) return;

  const CString folder = AttachmentFolder();
  if (folder.IsEmpty()) return;
  CStringArray used;
  for (long i = 1; i <= count; i++) {
    // One attachment that cannot be copied is skipped; the others and the item are kept.
    try {
      RdoAttachmentDispatch attachment(collection.Item(COleVariant(i, VT_I4)));
      const CString fileName = attachment.GetFileName();
      const CString path = UnusedPath(folder, SafeAttachmentFileName(fileName));
      const CString name =
          UniqueAttachmentName(fileName.IsEmpty() ? SafeAttachmentFileName(fileName) : fileName, used);
      TempFileRemover remover(path);
      attachment.SaveAsFile(path);
      ThrowIfNotesError(note.CreateAttachment(CStringToLNString(path), CStringToLNString(name), TRUE));
      used.Add(name);
      ThrowIfNotesError(note.Save(0));
    } catch (CException* e) {
      e->Delete();
    } catch (LNSTATUS status) {
      DropNotesMessage(status);
    }
  }
}
