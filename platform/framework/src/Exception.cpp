// The framework's exception classes and throwers.
#include "afx.h"

#include <cerrno>
#include <cwchar>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)

namespace {
// The innermost CATCH handler of this thread; its link deletes the caught exception on exit.
thread_local AFX_EXCEPTION_LINK* t_topLink = nullptr;
}  // namespace

CException::~CException() = default;

void CException::Delete() {
  AFX_EXCEPTION_LINK::Forget(this);
  if (m_bAutoDelete > 0) delete this;
}

BOOL CException::CopyMessage(const CString& text, LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (!lpszError || nMaxError == 0) return FALSE;
  UINT n = static_cast<UINT>(text.GetLength());
  if (n >= nMaxError) n = nMaxError - 1;
  wmemcpy(lpszError, text, n);
  lpszError[n] = 0;
  return TRUE;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError) lpszError[0] = 0;
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) {
  WCHAR text[512];
  CString message;
  if (GetErrorMessage(text, 512)) {
    message = text;
  } else if (nMessageID == 0 || !message.LoadString(nMessageID)) {
    message = L"An unsupported operation was attempted.";
  }
  return ::MessageBoxW(nullptr, message, nullptr, nType);
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  return CopyMessage(L"Out of memory.", lpszError, nMaxError, pnHelpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  return CopyMessage(L"An unsupported operation was attempted.", lpszError, nMaxError, pnHelpContext);
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  return CopyMessage(L"A required resource was unavailable.", lpszError, nMaxError, pnHelpContext);
}

BOOL CInvalidArgException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  return CopyMessage(L"Invalid argument.", lpszError, nMaxError, pnHelpContext);
}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case NO_ERROR:
      return none;
    case ERROR_FILE_NOT_FOUND:
      return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE:
      return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return accessDenied;
    case ERROR_INVALID_HANDLE:
    case ERROR_INVALID_ACCESS:
      return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
      return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
      return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
      return badSeek;
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
      return hardIO;
    case ERROR_SHARING_VIOLATION:
      return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
      return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return diskFull;
    case ERROR_HANDLE_EOF:
      return endOfFile;
    default:
      return genericException;
  }
}

int PASCAL CFileException::ErrnoToException(int nErrno) {
  switch (nErrno) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case EMFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EEXIST:
    case EPERM:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case ENOSPC:
      return diskFull;
    case EINVAL:
      return badSeek;
    case EIO:
      return hardIO;
    default:
      return genericException;
  }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
  if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName) {
  if (nErrno != 0) AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  static const wchar_t* const kCauses[] = {
      L"No error occurred.",
      L"An unspecified error occurred",
      L"was not found.",
      L"contains an incorrect path.",
      L"could not be opened because there are too many open files.",
      L"Access to",
      L"is not a valid file handle.",
      L"The current working directory cannot be removed.",
      L"There are no more directory entries.",
      L"A seek error occurred",
      L"A hardware I/O error was reported",
      L"A sharing violation occurred",
      L"A locking violation occurred",
      L"The disk is full",
      L"The end of the file was reached",
  };
  CString name = m_strFileName.IsEmpty() ? CString(L"an unnamed file") : m_strFileName;
  CString text;
  switch (m_cause) {
    case fileNotFound:
    case badPath:
    case invalidFile:
      text.Format(L"%s %s", static_cast<LPCWSTR>(name), kCauses[m_cause]);
      break;
    case tooManyOpenFiles:
      text.Format(L"%s %s", static_cast<LPCWSTR>(name), kCauses[m_cause]);
      break;
    case accessDenied:
      text.Format(L"Access to %s was denied.", static_cast<LPCWSTR>(name));
      break;
    default:
      if (m_cause >= 0 && m_cause <= endOfFile) {
        text.Format(L"%s while accessing %s.", kCauses[m_cause], static_cast<LPCWSTR>(name));
      } else {
        text.Format(L"An unspecified error occurred while accessing %s.", static_cast<LPCWSTR>(name));
      }
      break;
  }
  return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  static const wchar_t* const kCauses[] = {
      L"No error occurred",
      L"An unexpected error occurred",
      L"Tried to write to an archive opened for loading",
      L"Reached the end of the archive early",
      L"Tried to read from an archive opened for storing",
      L"The archive has an invalid format",
      L"The archive refers to an unknown class",
      L"The archive holds an object of an unsupported version",
  };
  int cause = (m_cause >= 0 && m_cause <= badSchema) ? m_cause : genericException;
  CString text;
  if (m_strFileName.IsEmpty()) {
    text.Format(L"%s.", kCauses[cause]);
  } else {
    text.Format(L"%s while reading or writing %s.", kCauses[cause], static_cast<LPCWSTR>(m_strFileName));
  }
  return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

void AFXAPI AfxThrowMemoryException() {
  static CMemoryException shared(FALSE);
  throw &shared;
}

void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AFXAPI AfxThrowUserException() { throw new CUserException; }
void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowInvalidArgException() { throw new CInvalidArgException; }

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
  throw new CArchiveException(cause, lpszArchiveName);
}

AFX_EXCEPTION_LINK::AFX_EXCEPTION_LINK(CException* pException)
    : m_pException(pException), m_pPrev(t_topLink) {
  t_topLink = this;
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK() {
  t_topLink = m_pPrev;
  if (m_pException) {
    CException* e = m_pException;
    m_pException = nullptr;
    if (e->m_bAutoDelete > 0) delete e;
  }
}

void PASCAL AFX_EXCEPTION_LINK::Forget(CException* pException) {
  for (AFX_EXCEPTION_LINK* link = t_topLink; link; link = link->m_pPrev) {
    if (link->m_pException == pException) link->m_pException = nullptr;
  }
}
