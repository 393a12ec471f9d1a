// CMemFile: a growable in-memory file.
#include "afx.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes),
      m_nPosition(0),
      m_nBufferSize(0),
      m_nFileSize(0),
      m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0),
      m_nPosition(0),
      m_nBufferSize(0),
      m_nFileSize(0),
      m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = lpBuffer;
  m_nBufferSize = lpBuffer ? nBufferSize : 0;
  m_nGrowBytes = nGrowBytes;
  m_nPosition = 0;
  // A fixed buffer holds its content; a growable one starts as an empty file.
  m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* buffer = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nFileSize = m_nBufferSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;
  return buffer;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(malloc(nBytes)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) { return static_cast<BYTE*>(realloc(lpMem, nBytes)); }

void CMemFile::Free(BYTE* lpMem) { free(lpMem); }

void CMemFile::GrowFile(SIZE_T dwNewLen) {
  if (dwNewLen <= m_nBufferSize) return;
  // A fixed buffer cannot grow.
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  SIZE_T newSize = m_nBufferSize;
  while (newSize < dwNewLen) {
    if (newSize > static_cast<SIZE_T>(-1) - m_nGrowBytes) AfxThrowMemoryException();
    newSize += m_nGrowBytes;
  }
  BYTE* grown;
  if (m_lpBuffer == nullptr) {
    grown = Alloc(newSize);
  } else if (m_bAutoDelete) {
    grown = Realloc(m_lpBuffer, newSize);
  } else {
    // The caller's buffer stays theirs; from now on we own a copy.
    grown = Alloc(newSize);
    if (grown) memcpy(grown, m_lpBuffer, m_nFileSize);
  }
  if (!grown) AfxThrowMemoryException();
  m_lpBuffer = grown;
  m_nBufferSize = newSize;
  m_bAutoDelete = TRUE;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG base;
  switch (nFrom) {
    case begin:
      base = 0;
      break;
    case current:
      base = static_cast<LONGLONG>(m_nPosition);
      break;
    case end:
      base = static_cast<LONGLONG>(m_nFileSize);
      break;
    default:
      AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER);
  }
  LONGLONG pos = base + lOff;
  if (pos < 0) AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK);
  if (static_cast<ULONGLONG>(pos) > static_cast<SIZE_T>(-1) / 2)
    AfxThrowFileException(CFileException::badSeek, ERROR_SEEK);
  // Seeking past the end is allowed; the gap appears (zeroed) on the next write.
  m_nPosition = static_cast<SIZE_T>(pos);
  return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
  if (dwNewLen > static_cast<SIZE_T>(-1) / 2) AfxThrowMemoryException();
  SIZE_T len = static_cast<SIZE_T>(dwNewLen);
  if (len > m_nBufferSize) GrowFile(len);
  if (len > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, len - m_nFileSize);
  if (len < m_nPosition) m_nPosition = len;
  m_nFileSize = len;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0 || m_nPosition >= m_nFileSize) return 0;
  if (!lpBuf) AfxThrowInvalidArgException();
  SIZE_T n = m_nFileSize - m_nPosition;
  if (n > nCount) n = nCount;
  memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return static_cast<UINT>(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (!lpBuf) AfxThrowInvalidArgException();
  if (m_nPosition > static_cast<SIZE_T>(-1) - nCount) AfxThrowMemoryException();
  SIZE_T end = m_nPosition + nCount;
  if (end > m_nBufferSize) GrowFile(end);
  if (m_nPosition > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition = end;
  if (end > m_nFileSize) m_nFileSize = end;
}

void CMemFile::Close() {
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;
}

void CMemFile::Abort() { Close(); }

void CMemFile::LockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
void CMemFile::UnlockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
CFile* CMemFile::Duplicate() const { AfxThrowNotSupportedException(); }
