// CMemFile: a file held in memory. It owns its buffer and grows it in steps of nGrowBytes, unless
// the buffer was attached with a grow size of 0, which fixes its size.
#pragma once

#include "framework/File.h"

class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
 public:
  explicit CMemFile(UINT nGrowBytes = 1024);
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  ~CMemFile() override;

  // Uses the caller's buffer (nBufferSize bytes of content when nGrowBytes is 0, else an empty file
  // whose buffer may be replaced as it grows). The caller keeps ownership unless it Detaches.
  void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Hands the buffer to the caller (free it with free()) and leaves the file empty.
  BYTE* Detach();

  ULONGLONG GetLength() const override { return m_nFileSize; }
  ULONGLONG GetPosition() const override { return m_nPosition; }
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  void SetLength(ULONGLONG dwNewLen) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  void Flush() override {}
  void Close() override;
  void Abort() override;
  void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
  void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
  CFile* Duplicate() const override;

 protected:
  virtual BYTE* Alloc(SIZE_T nBytes);
  virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
  virtual void Free(BYTE* lpMem);
  virtual void GrowFile(SIZE_T dwNewLen);

  UINT m_nGrowBytes;
  SIZE_T m_nPosition;
  SIZE_T m_nBufferSize;
  SIZE_T m_nFileSize;
  BYTE* m_lpBuffer;
  BOOL m_bAutoDelete;
};
