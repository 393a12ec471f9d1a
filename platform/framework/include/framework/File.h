// CFile: a binary file on a Win32 handle. Failures throw CFileException* with the cause, the
// system error code and the file's name; Open alone reports through its return value instead.
#pragma once

#include "framework/Exception.h"
#include "framework/Time.h"

struct CFileStatus {
  CTime m_ctime;
  CTime m_mtime;
  CTime m_atime;
  ULONGLONG m_size;
  BYTE m_attribute;
  BYTE m_padding;
  WCHAR m_szFullName[MAX_PATH];
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
    osNoBuffer = 0x10000,
    osWriteThrough = 0x20000,
    osRandomAccess = 0x40000,
    osSequentialScan = 0x80000,
  };
  enum Attribute {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20
  };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

  static const HANDLE hFileNull;

  CFile();
  // Takes an open handle; the object does not close it.
  explicit CFile(HANDLE hFile);
  // Opens or throws CFileException*.
  CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
  ~CFile() override;

  operator HANDLE() const { return m_hFile; }

  // FALSE on failure, with pError (when given) filled in; never throws for an unopenable file.
  virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual ULONGLONG GetLength() const;

  // Returns the bytes read, fewer than asked only at the end of the file.
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void Flush();
  virtual void Close();
  // Closes without throwing.
  virtual void Abort();
  virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual CFile* Duplicate() const;

  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFilePath() const { return m_strFileName; }
  virtual void SetFilePath(LPCWSTR lpszNewName) { m_strFileName = lpszNewName; }

  BOOL GetStatus(CFileStatus& rStatus) const;
  static BOOL PASCAL GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus);
  static void PASCAL Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
  static void PASCAL Remove(LPCWSTR lpszFileName);

  HANDLE m_hFile;

 protected:
  BOOL m_bCloseOnDelete;
  CString m_strFileName;

  void ThrowLastError() const;
};

// The full path of lpszFileName, or the name itself when it cannot be resolved.
CString AFXAPI AfxFullPath(LPCWSTR lpszFileName);
