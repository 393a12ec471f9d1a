// CStdioFile: a buffered C runtime stream, in text mode (CR-LF translated) or binary mode.
#pragma once

#include "framework/File.h"

#include <cstdio>

class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile();
  // Takes an open stream; the object does not close it.
  explicit CStdioFile(FILE* pOpenStream);
  CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags);
  ~CStdioFile() override;

  BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

  // Reads one line into rString without its line end; FALSE at the end of the file with nothing read.
  virtual BOOL ReadString(CString& rString);
  // Reads up to nMax-1 characters, keeping the line end; NULL at the end of the file.
  virtual LPWSTR ReadString(LPWSTR lpsz, UINT nMax);
  virtual void WriteString(LPCWSTR lpsz);

  ULONGLONG GetPosition() const override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetLength() const override;
  void SetLength(ULONGLONG dwNewLen) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  void Flush() override;
  void Close() override;
  void Abort() override;
  CFile* Duplicate() const override;
  void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
  void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;

  FILE* m_pStream;

 private:
  void ThrowStreamError() const;
};
