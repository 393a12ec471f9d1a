// CFile on Win32 file handles.
#include "afx.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CString AFXAPI AfxFullPath(LPCWSTR lpszFileName) {
  if (!lpszFileName || !*lpszFileName) return CString();
  WCHAR buffer[MAX_PATH * 2];
  DWORD n = GetFullPathNameW(lpszFileName, MAX_PATH * 2, buffer, nullptr);
  if (n == 0 || n >= MAX_PATH * 2) return CString(lpszFileName);
  return CString(buffer);
}

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

void CFile::ThrowLastError() const {
  CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != hFileNull) Close();
  // Text mode belongs to CStdioFile.
  nOpenFlags &= ~static_cast<UINT>(typeBinary | typeText);
  m_strFileName = AfxFullPath(lpszFileName);

  DWORD access;
  switch (nOpenFlags & 3) {
    case modeRead:
      access = GENERIC_READ;
      break;
    case modeWrite:
      access = GENERIC_WRITE;
      break;
    case modeReadWrite:
      access = GENERIC_READ | GENERIC_WRITE;
      break;
    default:
      if (pError) {
        pError->m_cause = CFileException::genericException;
        pError->m_lOsError = ERROR_INVALID_PARAMETER;
        pError->m_strFileName = lpszFileName;
      }
      return FALSE;
  }
  DWORD share;
  switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
      share = 0;
      break;
    case shareDenyWrite:
      share = FILE_SHARE_READ;
      break;
    case shareDenyRead:
      share = FILE_SHARE_WRITE;
      break;
    case shareDenyNone:
      share = FILE_SHARE_READ | FILE_SHARE_WRITE;
      break;
    default:
      share = 0;
      break;
  }
  SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
  DWORD creation;
  if (nOpenFlags & modeCreate) {
    creation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  } else {
    creation = OPEN_EXISTING;
  }
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (nOpenFlags & osNoBuffer) attributes |= FILE_FLAG_NO_BUFFERING;
  if (nOpenFlags & osWriteThrough) attributes |= FILE_FLAG_WRITE_THROUGH;
  if (nOpenFlags & osRandomAccess) attributes |= FILE_FLAG_RANDOM_ACCESS;
  if (nOpenFlags & osSequentialScan) attributes |= FILE_FLAG_SEQUENTIAL_SCAN;

  HANDLE h = CreateFileW(lpszFileName, access, share, &sa, creation, attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (pError) {
      LONG err = static_cast<LONG>(GetLastError());
      pError->m_lOsError = err;
      pError->m_cause = CFileException::OsErrorToException(err);
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER zero = {}, pos = {};
  if (!SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT)) ThrowLastError();
  return static_cast<ULONGLONG>(pos.QuadPart);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  if (nFrom > end) AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
  LARGE_INTEGER off, pos = {};
  off.QuadPart = lOff;
  if (!SetFilePointerEx(m_hFile, off, &pos, nFrom)) ThrowLastError();
  return static_cast<ULONGLONG>(pos.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  ULONGLONG pos = GetPosition();
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) ThrowLastError();
  if (pos < dwNewLen) Seek(static_cast<LONGLONG>(pos), begin);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(m_hFile, &size)) ThrowLastError();
  return static_cast<ULONGLONG>(size.QuadPart);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  if (!lpBuf) AfxThrowInvalidArgException();
  DWORD read = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &read, nullptr)) ThrowLastError();
  return read;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (!lpBuf) AfxThrowInvalidArgException();
  DWORD written = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &written, nullptr)) ThrowLastError();
  // A short write without an error means the disk is full.
  if (written != nCount) AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  if (!FlushFileBuffers(m_hFile)) {
    // Handles of pipes and consoles cannot be flushed; that is not a failure of the file.
    DWORD err = GetLastError();
    if (err != ERROR_INVALID_HANDLE && err != ERROR_INVALID_FUNCTION)
      CFileException::ThrowOsError(err, m_strFileName);
  }
}

void CFile::Close() {
  BOOL ok = TRUE;
  if (m_hFile != hFileNull) ok = CloseHandle(m_hFile);
  DWORD err = ok ? 0 : GetLastError();
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (!ok) CFileException::ThrowOsError(static_cast<LONG>(err), nullptr);
}

void CFile::Abort() {
  if (m_hFile != hFileNull) CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  if (!LockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32),
                static_cast<DWORD>(dwCount), static_cast<DWORD>(dwCount >> 32)))
    ThrowLastError();
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  if (!UnlockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32),
                  static_cast<DWORD>(dwCount), static_cast<DWORD>(dwCount >> 32)))
    ThrowLastError();
}

CFile* CFile::Duplicate() const {
  if (m_hFile == hFileNull) AfxThrowInvalidArgException();
  HANDLE dup;
  if (!DuplicateHandle(GetCurrentProcess(), m_hFile, GetCurrentProcess(), &dup, 0, FALSE,
                       DUPLICATE_SAME_ACCESS))
    ThrowLastError();
  CFile* file = new CFile(dup);
  file->m_bCloseOnDelete = m_bCloseOnDelete;
  file->m_strFileName = m_strFileName;
  return file;
}

CString CFile::GetFileName() const {
  int slash = m_strFileName.ReverseFind(L'\\');
  int other = m_strFileName.ReverseFind(L'/');
  if (other > slash) slash = other;
  int colon = m_strFileName.ReverseFind(L':');
  if (colon > slash) slash = colon;
  return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(L'.');
  return dot >= 0 ? name.Left(dot) : name;
}

namespace {
void FillStatus(const WIN32_FILE_ATTRIBUTE_DATA& data, CFileStatus& rStatus) {
  rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
  rStatus.m_padding = 0;
  auto toTime = [](const FILETIME& ft) {
    if (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0) return CTime();
    ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    // 100 ns ticks since 1601 to seconds since 1970.
    return CTime(static_cast<__time64_t>(ticks / 10000000ULL) - 11644473600LL);
  };
  rStatus.m_ctime = toTime(data.ftCreationTime);
  rStatus.m_atime = toTime(data.ftLastAccessTime);
  rStatus.m_mtime = toTime(data.ftLastWriteTime);
  if (rStatus.m_ctime.GetTime() == 0) rStatus.m_ctime = rStatus.m_mtime;
  if (rStatus.m_atime.GetTime() == 0) rStatus.m_atime = rStatus.m_mtime;
}
}  // namespace

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus();
  lstrcpynW(rStatus.m_szFullName, m_strFileName, MAX_PATH);
  if (m_hFile == hFileNull) return FALSE;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(m_hFile, &info)) return FALSE;
  WIN32_FILE_ATTRIBUTE_DATA data;
  data.dwFileAttributes = info.dwFileAttributes;
  data.ftCreationTime = info.ftCreationTime;
  data.ftLastAccessTime = info.ftLastAccessTime;
  data.ftLastWriteTime = info.ftLastWriteTime;
  data.nFileSizeHigh = info.nFileSizeHigh;
  data.nFileSizeLow = info.nFileSizeLow;
  FillStatus(data, rStatus);
  return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus();
  if (!lpszFileName) return FALSE;
  CString full = AfxFullPath(lpszFileName);
  lstrcpynW(rStatus.m_szFullName, full, MAX_PATH);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
  FillStatus(data, rStatus);
  return TRUE;
}

void PASCAL CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName) {
  if (!MoveFileW(lpszOldName, lpszNewName))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszOldName);
}

void PASCAL CFile::Remove(LPCWSTR lpszFileName) {
  if (!DeleteFileW(lpszFileName))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
}
