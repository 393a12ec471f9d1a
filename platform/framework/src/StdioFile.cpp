// CStdioFile: a C runtime stream opened over a CFile handle, so share flags apply as for CFile.
#include "afx.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile() : m_pStream(nullptr) {}

CStdioFile::CStdioFile(FILE* pOpenStream) : m_pStream(pOpenStream) {
  if (pOpenStream) m_hFile = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(pOpenStream)));
}

CStdioFile::CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags) : m_pStream(nullptr) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile() {
  if (m_pStream && m_bCloseOnDelete) Abort();
}

void CStdioFile::ThrowStreamError() const { CFileException::ThrowErrno(errno ? errno : EIO, m_strFileName); }

BOOL CStdioFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_pStream) Close();
  bool text = (nOpenFlags & typeBinary) == 0;
  if (!CFile::Open(lpszFileName, nOpenFlags & ~static_cast<UINT>(typeText | typeBinary), pError))
    return FALSE;

  // CFile::Open has created or truncated the file as asked; the stream only needs the access and the
  // text translation (fdopen never truncates).
  const WCHAR* mode;
  int osFlags = text ? _O_TEXT : _O_BINARY;
  switch (nOpenFlags & 3) {
    case modeWrite:
      mode = text ? L"wt" : L"wb";
      break;
    case modeReadWrite:
      mode = text ? L"r+t" : L"r+b";
      break;
    default:
      mode = text ? L"rt" : L"rb";
      osFlags |= _O_RDONLY;
      break;
  }

  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(m_hFile), osFlags);
  if (fd == -1) {
    CFile::Abort();
    if (pError) {
      pError->m_cause = CFileException::genericException;
      pError->m_lOsError = errno;
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_pStream = _wfdopen(fd, mode);
  if (!m_pStream) {
    int err = errno;
    _close(fd);  // closes the handle too
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (pError) {
      pError->m_cause = CFileException::ErrnoToException(err);
      pError->m_lOsError = err;
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  return TRUE;
}

BOOL CStdioFile::ReadString(CString& rString) {
  rString.Empty();
  if (!m_pStream) AfxThrowInvalidArgException();
  WCHAR buffer[512];
  bool any = false;
  for (;;) {
    if (!fgetws(buffer, 512, m_pStream)) {
      if (ferror(m_pStream)) {
        clearerr(m_pStream);
        ThrowStreamError();
      }
      break;
    }
    any = true;
    size_t len = wcslen(buffer);
    if (len > 0 && buffer[len - 1] == L'\n') {
      buffer[--len] = 0;
      if (len > 0 && buffer[len - 1] == L'\r') buffer[--len] = 0;  // binary mode leaves the CR
      rString += buffer;
      break;
    }
    rString += buffer;
  }
  return any;
}

LPWSTR CStdioFile::ReadString(LPWSTR lpsz, UINT nMax) {
  if (!m_pStream || !lpsz || nMax == 0) AfxThrowInvalidArgException();
  LPWSTR result = fgetws(lpsz, static_cast<int>(nMax), m_pStream);
  if (!result && ferror(m_pStream)) {
    clearerr(m_pStream);
    ThrowStreamError();
  }
  return result;
}

void CStdioFile::WriteString(LPCWSTR lpsz) {
  if (!m_pStream || !lpsz) AfxThrowInvalidArgException();
  if (fputws(lpsz, m_pStream) == WEOF) ThrowStreamError();
}

ULONGLONG CStdioFile::GetPosition() const {
  __int64 pos = _ftelli64(m_pStream);
  if (pos < 0) ThrowStreamError();
  return static_cast<ULONGLONG>(pos);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  static const int kOrigin[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (nFrom > end) AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
  if (_fseeki64(m_pStream, lOff, kOrigin[nFrom]) != 0)
    AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
  return GetPosition();
}

ULONGLONG CStdioFile::GetLength() const {
  __int64 pos = _ftelli64(m_pStream);
  if (pos < 0 || _fseeki64(m_pStream, 0, SEEK_END) != 0) ThrowStreamError();
  __int64 len = _ftelli64(m_pStream);
  _fseeki64(m_pStream, pos, SEEK_SET);
  if (len < 0) ThrowStreamError();
  return static_cast<ULONGLONG>(len);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen) {
  Flush();
  CFile::SetLength(dwNewLen);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  if (!lpBuf) AfxThrowInvalidArgException();
  size_t n = fread(lpBuf, 1, nCount, m_pStream);
  if (n == 0 && ferror(m_pStream)) {
    clearerr(m_pStream);
    ThrowStreamError();
  }
  return static_cast<UINT>(n);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (!lpBuf) AfxThrowInvalidArgException();
  if (fwrite(lpBuf, 1, nCount, m_pStream) != nCount) ThrowStreamError();
}

void CStdioFile::Flush() {
  if (m_pStream && fflush(m_pStream) != 0) ThrowStreamError();
}

void CStdioFile::Close() {
  int rc = 0;
  if (m_pStream) rc = fclose(m_pStream);  // closes the descriptor and the handle
  int err = errno;
  m_pStream = nullptr;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  CString name = m_strFileName;
  m_strFileName.Empty();
  if (rc != 0) CFileException::ThrowErrno(err ? err : EIO, name);
}

void CStdioFile::Abort() {
  if (m_pStream && m_bCloseOnDelete) fclose(m_pStream);
  m_pStream = nullptr;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

CFile* CStdioFile::Duplicate() const { AfxThrowNotSupportedException(); }
void CStdioFile::LockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
void CStdioFile::UnlockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
