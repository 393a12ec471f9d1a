// CArchive: the framework's binary serialization stream over a CFile. Primitive values are stored
// little-endian at their natural size; strings and counts use length prefixes; objects travel with
// their class (by name and schema) and repeated references become back-references. Reading past
// the end or meeting a garbled tag throws CArchiveException*, never reads out of bounds.
#pragma once

#include "framework/Exception.h"

class CFile;
class CDocument;
struct CArchiveMaps;

class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  // The file must stay open while the archive is in use. nBufSize below 128 is raised to 128.
  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  // Closes (flushing a storing archive unless bNoFlushOnDelete); errors at this point are dropped.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  BOOL IsByteSwapping() const { return FALSE; }
  BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
  CFile* GetFile() const { return m_pFile; }

  // The schema of the object being loaded, once; afterwards (UINT)-1.
  UINT GetObjectSchema();
  void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

  // Raw bytes. Read returns fewer bytes than asked only at the end of the file.
  UINT Read(void* lpBuf, UINT nMax);
  // Reads exactly nMax bytes or throws CArchiveException* (endOfFile).
  void EnsureRead(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);
  void Flush();
  void Close();
  // Closes without flushing and without throwing.
  void Abort();

  // Text lines (no length prefix; "\r\n" line ends).
  void WriteString(LPCWSTR lpsz);
  LPWSTR ReadString(LPWSTR lpsz, UINT nMax);
  BOOL ReadString(CString& rString);

  CObject* ReadObject(const CRuntimeClass* pClass);
  void WriteObject(const CObject* pOb);
  // Makes pOb known to the archive's reference table without storing it.
  void MapObject(const CObject* pOb);

  // Class references: a new class is written with its schema and name, a repeated one as an index.
  void WriteClass(const CRuntimeClass* pClassRef);
  // Reads a class reference; the class must derive from pClassRefRequested when that is given.
  // pSchema receives the stored schema; pObTag (when given) receives an object reference met in
  // place of a class, for which NULL is returned.
  CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                           DWORD* pObTag = nullptr);
  // Stores or loads a class reference; loading sets the object schema.
  void SerializeClass(const CRuntimeClass* pClassRef);

  DWORD_PTR ReadCount();
  void WriteCount(DWORD_PTR dwCount);

  void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128) { UNUSED(nHashSize), UNUSED(nBlockSize); }
  void SetLoadParams(UINT nGrowBy = 1024) { UNUSED(nGrowBy); }

  CArchive& operator<<(BYTE by) { return WriteValue(by); }
  CArchive& operator<<(WORD w) { return WriteValue(w); }
  CArchive& operator<<(LONG l) { return WriteValue(l); }
  CArchive& operator<<(DWORD dw) { return WriteValue(dw); }
  CArchive& operator<<(float f) { return WriteValue(f); }
  CArchive& operator<<(double d) { return WriteValue(d); }
  CArchive& operator<<(LONGLONG dwdw) { return WriteValue(dwdw); }
  CArchive& operator<<(ULONGLONG dwdw) { return WriteValue(dwdw); }
  CArchive& operator<<(int i) { return WriteValue(static_cast<LONG>(i)); }
  CArchive& operator<<(short w) { return WriteValue(static_cast<WORD>(w)); }
  CArchive& operator<<(char ch) { return WriteValue(static_cast<BYTE>(ch)); }
  CArchive& operator<<(signed char ch) { return WriteValue(static_cast<BYTE>(ch)); }
  CArchive& operator<<(wchar_t ch) { return WriteValue(static_cast<WORD>(ch)); }
  CArchive& operator<<(unsigned u) { return WriteValue(static_cast<LONG>(u)); }
  CArchive& operator<<(bool b) { return WriteValue(static_cast<LONG>(b ? 1 : 0)); }
  CArchive& operator<<(const CString& str);
  CArchive& operator<<(const CObject* pOb) {
    WriteObject(pOb);
    return *this;
  }

  CArchive& operator>>(BYTE& by) { return ReadValue(by); }
  CArchive& operator>>(WORD& w) { return ReadValue(w); }
  CArchive& operator>>(LONG& l) { return ReadValue(l); }
  CArchive& operator>>(DWORD& dw) { return ReadValue(dw); }
  CArchive& operator>>(float& f) { return ReadValue(f); }
  CArchive& operator>>(double& d) { return ReadValue(d); }
  CArchive& operator>>(LONGLONG& dwdw) { return ReadValue(dwdw); }
  CArchive& operator>>(ULONGLONG& dwdw) { return ReadValue(dwdw); }
  CArchive& operator>>(int& i) { return ReadAs<LONG>(i); }
  CArchive& operator>>(short& w) { return ReadAs<WORD>(w); }
  CArchive& operator>>(char& ch) { return ReadAs<BYTE>(ch); }
  CArchive& operator>>(signed char& ch) { return ReadAs<BYTE>(ch); }
  CArchive& operator>>(wchar_t& ch) { return ReadAs<WORD>(ch); }
  CArchive& operator>>(unsigned& u) { return ReadAs<LONG>(u); }
  CArchive& operator>>(bool& b) {
    LONG l = 0;
    ReadValue(l);
    b = l != 0;
    return *this;
  }
  CArchive& operator>>(CString& str);
  CArchive& operator>>(CObject*& pOb) {
    pOb = ReadObject(nullptr);
    return *this;
  }
  CArchive& operator>>(const CObject*& pOb) {
    pOb = ReadObject(nullptr);
    return *this;
  }

  CDocument* m_pDocument = nullptr;

 protected:
  void FillBuffer(UINT nBytesNeeded);
  // Hands the buffered bytes to the file without flushing the file itself.
  void WriteBuffer();
  void CheckLoading() const;
  void CheckStoring() const;

  template <class T>
  CArchive& WriteValue(T value) {
    Write(&value, sizeof(value));
    return *this;
  }
  template <class T>
  CArchive& ReadValue(T& value) {
    EnsureRead(&value, sizeof(value));
    return *this;
  }
  template <class Stored, class T>
  CArchive& ReadAs(T& value) {
    Stored stored{};
    EnsureRead(&stored, sizeof(stored));
    value = static_cast<T>(stored);
    return *this;
  }

  UINT m_nMode;
  CFile* m_pFile;
  UINT m_nObjectSchema = static_cast<UINT>(-1);
  CString m_strFileName;

  BOOL m_bUserBuf;
  UINT m_nBufSize;
  BYTE* m_lpBufStart;
  BYTE* m_lpBufCur;
  BYTE* m_lpBufMax;

  CArchiveMaps* m_pMaps = nullptr;  // class and object reference tables, made on first use
};
