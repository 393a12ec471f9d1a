// CFileFind over FindFirstFileW/FindNextFileW, one match ahead so that the caller learns which
// match is the last.
#include "afx.h"

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind() : m_hContext(nullptr), m_found(), m_next(), m_bHaveFound(FALSE), m_bHaveNext(FALSE) {}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close() {
  if (m_hContext && m_hContext != INVALID_HANDLE_VALUE) ::FindClose(m_hContext);
  m_hContext = nullptr;
  m_bHaveFound = m_bHaveNext = FALSE;
  m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCWSTR pstrName, DWORD) {
  Close();
  CString pattern = pstrName ? pstrName : L"*.*";
  m_hContext = ::FindFirstFileW(pattern, &m_next);
  if (m_hContext == INVALID_HANDLE_VALUE) {
    m_hContext = nullptr;
    return FALSE;
  }
  m_bHaveNext = TRUE;
  // The root is the pattern's directory, made absolute.
  CString full = AfxFullPath(pattern);
  int slash = full.ReverseFind(L'\\');
  int other = full.ReverseFind(L'/');
  if (other > slash) slash = other;
  m_strRoot = slash >= 0 ? full.Left(slash) : CString();
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (!m_hContext || !m_bHaveNext) return FALSE;
  m_found = m_next;
  m_bHaveFound = TRUE;
  m_bHaveNext = ::FindNextFileW(m_hContext, &m_next);
  return m_bHaveNext;
}

ULONGLONG CFileFind::GetLength() const {
  if (!m_bHaveFound) return 0;
  return (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow;
}

CString CFileFind::GetFileName() const { return m_bHaveFound ? CString(m_found.cFileName) : CString(); }

CString CFileFind::GetFilePath() const {
  if (!m_bHaveFound) return CString();
  CString path = m_strRoot;
  if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\' && path[path.GetLength() - 1] != L'/')
    path += L'\\';
  return path + m_found.cFileName;
}

CString CFileFind::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(L'.');
  return dot > 0 ? name.Left(dot) : name;
}

CString CFileFind::GetFileURL() const {
  if (!m_bHaveFound) return CString();
  return L"file://" + GetFilePath();
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const {
  if (!m_bHaveFound || !pTimeStamp) return FALSE;
  *pTimeStamp = m_found.ftLastWriteTime;
  return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const {
  if (!m_bHaveFound || !pTimeStamp) return FALSE;
  *pTimeStamp = m_found.ftLastAccessTime;
  return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const {
  if (!m_bHaveFound || !pTimeStamp) return FALSE;
  *pTimeStamp = m_found.ftCreationTime;
  return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const {
  FILETIME ft;
  if (!GetLastWriteTime(&ft)) return FALSE;
  refTime = CTime(ft);
  return TRUE;
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const {
  FILETIME ft;
  if (!GetLastAccessTime(&ft)) return FALSE;
  refTime = CTime(ft);
  return TRUE;
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const {
  FILETIME ft;
  if (!GetCreationTime(&ft)) return FALSE;
  refTime = CTime(ft);
  return TRUE;
}

BOOL CFileFind::IsDots() const {
  if (!m_bHaveFound || !IsDirectory()) return FALSE;
  const WCHAR* n = m_found.cFileName;
  return (n[0] == L'.' && n[1] == 0) || (n[0] == L'.' && n[1] == L'.' && n[2] == 0);
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
  return m_bHaveFound && (m_found.dwFileAttributes & dwMask) != 0;
}
