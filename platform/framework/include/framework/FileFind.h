// CFileFind: walks the files matching a wildcard. FindFile starts the search; each FindNextFile
// moves to the next match and returns FALSE when the match it moved to is the last one.
#pragma once

#include "framework/Time.h"

class CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)
 public:
  CFileFind();
  ~CFileFind() override;

  // pstrName NULL means "*.*" in the current directory.
  virtual BOOL FindFile(LPCWSTR pstrName = nullptr, DWORD dwUnused = 0);
  virtual BOOL FindNextFile();
  void Close();

  // Valid after a FindNextFile call.
  ULONGLONG GetLength() const;
  virtual CString GetFileName() const;
  virtual CString GetFilePath() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFileURL() const;
  virtual CString GetRoot() const { return m_strRoot; }
  virtual BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetCreationTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetLastWriteTime(CTime& refTime) const;
  virtual BOOL GetLastAccessTime(CTime& refTime) const;
  virtual BOOL GetCreationTime(CTime& refTime) const;
  virtual BOOL IsDots() const;
  virtual BOOL MatchesMask(DWORD dwMask) const;
  BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
  BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
  BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
  BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
  BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
  BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

 private:
  HANDLE m_hContext;
  WIN32_FIND_DATAW m_found;  // the match FindNextFile moved to
  WIN32_FIND_DATAW m_next;   // the match after it, already fetched
  BOOL m_bHaveFound;
  BOOL m_bHaveNext;
  CString m_strRoot;
};
