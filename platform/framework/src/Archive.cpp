// CArchive: buffered binary serialization with class and object reference tables.
#include "afx.h"

#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

// Reference tags of the stored form. A WORD tag holds an object index, a class index with the high
// bit set, or one of the escapes below; indexes past the WORD range use a DWORD after wBigObjectTag.
const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;

// Class names are stored narrow and are never this long for a real class.
const WORD kMaxClassNameLength = 64;

}  // namespace

// Indexes start at 1 (0 is the null reference) and are shared by classes and objects.
struct CArchiveMaps {
  std::unordered_map<const void*, DWORD> stored;  // storing: class or object → index
  struct Loaded {
    void* pointer;
    bool isClass;
    UINT schema;
  };
  std::vector<Loaded> loaded{{nullptr, false, 0}};  // loading: index → entry
  DWORD nextStoreIndex = 1;
};

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf) : m_nMode(nMode), m_pFile(pFile) {
  if (pFile == nullptr) AfxThrowInvalidArgException();
  m_strFileName = pFile->GetFilePath();
  if (nBufSize < 128) nBufSize = 128;
  m_nBufSize = static_cast<UINT>(nBufSize);
  m_bUserBuf = lpBuf != nullptr;
  if (m_bUserBuf) {
    m_lpBufStart = static_cast<BYTE*>(lpBuf);
  } else {
    m_lpBufStart = new (std::nothrow) BYTE[m_nBufSize];
    if (!m_lpBufStart) AfxThrowMemoryException();
  }
  m_lpBufCur = m_lpBufStart;
  // Loading starts with an empty buffer; storing with a whole free one.
  m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive() {
  if (m_pFile != nullptr) {
    if (m_nMode & bNoFlushOnDelete) {
      Abort();
    } else {
      try {
        Close();
      } catch (CException* e) {
        e->Delete();
        Abort();
      }
    }
  }
  if (!m_bUserBuf) delete[] m_lpBufStart;
  delete m_pMaps;
}

UINT CArchive::GetObjectSchema() {
  UINT schema = m_nObjectSchema;
  m_nObjectSchema = static_cast<UINT>(-1);
  return schema;
}

void CArchive::CheckLoading() const {
  if (m_pFile == nullptr) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

void CArchive::CheckStoring() const {
  if (m_pFile == nullptr) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::FillBuffer(UINT nBytesNeeded) {
  // Keep the unread rest, then read as much as fits.
  UINT unread = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
  if (unread && m_lpBufCur != m_lpBufStart) memmove(m_lpBufStart, m_lpBufCur, unread);
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + unread;
  while (static_cast<UINT>(m_lpBufMax - m_lpBufStart) < nBytesNeeded) {
    UINT room = m_nBufSize - static_cast<UINT>(m_lpBufMax - m_lpBufStart);
    UINT got = m_pFile->Read(m_lpBufMax, room);
    if (got == 0) break;
    m_lpBufMax += got;
  }
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  CheckLoading();
  if (nMax == 0) return 0;
  BYTE* out = static_cast<BYTE*>(lpBuf);
  UINT done = 0;
  while (done < nMax) {
    UINT avail = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (avail == 0) {
      FillBuffer(1);
      avail = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
      if (avail == 0) break;
    }
    UINT n = nMax - done < avail ? nMax - done : avail;
    memcpy(out + done, m_lpBufCur, n);
    m_lpBufCur += n;
    done += n;
  }
  return done;
}

void CArchive::EnsureRead(void* lpBuf, UINT nMax) {
  if (Read(lpBuf, nMax) != nMax) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  CheckStoring();
  const BYTE* in = static_cast<const BYTE*>(lpBuf);
  while (nMax > 0) {
    UINT room = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (room == 0) {
      WriteBuffer();
      room = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    }
    UINT n = nMax < room ? nMax : room;
    memcpy(m_lpBufCur, in, n);
    m_lpBufCur += n;
    in += n;
    nMax -= n;
  }
}

void CArchive::WriteBuffer() {
  UINT pending = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
  // The buffer is reset before writing so that a failed write is not repeated by a later flush.
  m_lpBufCur = m_lpBufStart;
  if (pending) m_pFile->Write(m_lpBufStart, pending);
}

void CArchive::Flush() {
  if (m_pFile == nullptr) return;
  if (IsStoring()) {
    WriteBuffer();
    m_pFile->Flush();
  } else {
    // Give back what was read ahead, so the file's position follows the archive.
    LONGLONG unread = m_lpBufMax - m_lpBufCur;
    if (unread) m_pFile->Seek(-unread, CFile::current);
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
  }
}

void CArchive::Close() {
  if (m_pFile == nullptr) return;
  Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() {
  m_pFile = nullptr;
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

void CArchive::WriteString(LPCWSTR lpsz) {
  if (lpsz) Write(lpsz, static_cast<UINT>(wcslen(lpsz) * sizeof(WCHAR)));
}

LPWSTR CArchive::ReadString(LPWSTR lpsz, UINT nMax) {
  if (!lpsz || nMax == 0) return nullptr;
  UINT n = 0;
  WCHAR ch = 0;
  while (n + 1 < nMax) {
    if (Read(&ch, sizeof(ch)) != sizeof(ch)) break;
    lpsz[n++] = ch;
    if (ch == L'\n') break;
  }
  lpsz[n] = 0;
  return n == 0 ? nullptr : lpsz;
}

BOOL CArchive::ReadString(CString& rString) {
  rString.Empty();
  WCHAR ch = 0;
  bool any = false;
  while (Read(&ch, sizeof(ch)) == sizeof(ch)) {
    any = true;
    if (ch == L'\n') break;
    rString += ch;
  }
  if (!rString.IsEmpty() && rString[rString.GetLength() - 1] == L'\r')
    rString.Delete(rString.GetLength() - 1);
  return any;
}

// ---- counts and strings ----------------------------------------------------------------------------

void CArchive::WriteCount(DWORD_PTR dwCount) {
  if (dwCount < 0xFFFF) {
    *this << static_cast<WORD>(dwCount);
    return;
  }
  *this << static_cast<WORD>(0xFFFF);
  if (dwCount < 0xFFFFFFFF) {
    *this << static_cast<DWORD>(dwCount);
    return;
  }
  *this << static_cast<DWORD>(0xFFFFFFFF);
  *this << static_cast<ULONGLONG>(dwCount);
}

DWORD_PTR CArchive::ReadCount() {
  WORD wCount = 0;
  *this >> wCount;
  if (wCount != 0xFFFF) return wCount;
  DWORD dwCount = 0;
  *this >> dwCount;
  if (dwCount != 0xFFFFFFFF) return dwCount;
  ULONGLONG qwCount = 0;
  *this >> qwCount;
  return static_cast<DWORD_PTR>(qwCount);
}

namespace {

// String length prefix: BYTE below 0xFF, else 0xFF + WORD below 0xFFFE, else 0xFF 0xFFFF + DWORD.
// A wide string is announced by 0xFF 0xFFFE in front of its length.
void WriteStringLength(CArchive& ar, UINT nLength, bool bUnicode) {
  if (bUnicode) {
    ar << static_cast<BYTE>(0xFF);
    ar << static_cast<WORD>(0xFFFE);
  }
  if (nLength < 0xFF) {
    ar << static_cast<BYTE>(nLength);
  } else if (nLength < 0xFFFE) {
    ar << static_cast<BYTE>(0xFF);
    ar << static_cast<WORD>(nLength);
  } else {
    ar << static_cast<BYTE>(0xFF);
    ar << static_cast<WORD>(0xFFFF);
    ar << static_cast<DWORD>(nLength);
  }
}

UINT ReadStringLength(CArchive& ar, bool& bUnicode) {
  bUnicode = false;
  for (int marker = 0; marker < 2; ++marker) {
    BYTE bLen = 0;
    ar >> bLen;
    if (bLen < 0xFF) return bLen;
    WORD wLen = 0;
    ar >> wLen;
    if (wLen == 0xFFFE) {
      if (bUnicode) break;  // a second marker is garbage
      bUnicode = true;
      continue;
    }
    if (wLen < 0xFFFF) return wLen;
    DWORD dwLen = 0;
    ar >> dwLen;
    return dwLen;
  }
  AfxThrowArchiveException(CArchiveException::genericException);
}

}  // namespace

CArchive& CArchive::operator<<(const CString& str) {
  WriteStringLength(*this, static_cast<UINT>(str.GetLength()), true);
  Write(static_cast<LPCWSTR>(str), static_cast<UINT>(str.GetLength()) * sizeof(WCHAR));
  return *this;
}

CArchive& CArchive::operator>>(CString& str) {
  bool bUnicode = false;
  UINT nLength = ReadStringLength(*this, bUnicode);
  // Read in slices: a garbled length must end at the archive's end, not in a huge allocation.
  CString result;
  const UINT kSlice = 4096;
  if (bUnicode) {
    WCHAR chunk[kSlice];
    while (nLength > 0) {
      UINT n = nLength < kSlice ? nLength : kSlice;
      EnsureRead(chunk, n * sizeof(WCHAR));
      result += CString(chunk, static_cast<int>(n));
      nLength -= n;
    }
  } else {
    std::vector<char> bytes;
    char chunk[kSlice];
    while (nLength > 0) {
      UINT n = nLength < kSlice ? nLength : kSlice;
      EnsureRead(chunk, n);
      bytes.insert(bytes.end(), chunk, chunk + n);
      nLength -= n;
    }
    if (!bytes.empty()) result = CString(bytes.data(), static_cast<int>(bytes.size()));
  }
  str = result;
  return *this;
}

// ---- classes -------------------------------------------------------------------------------------

void CRuntimeClass::Store(CArchive& ar) const {
  WORD nLen = static_cast<WORD>(strlen(m_lpszClassName));
  ar << static_cast<WORD>(m_wSchema);
  ar << nLen;
  ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
  WORD wSchema = 0, nLen = 0;
  ar >> wSchema >> nLen;
  if (pwSchemaNum) *pwSchemaNum = wSchema;
  if (nLen == 0 || nLen >= kMaxClassNameLength) return nullptr;
  char name[kMaxClassNameLength];
  ar.EnsureRead(name, nLen);
  name[nLen] = 0;
  return FromName(name);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
  CheckStoring();
  if (pClassRef == nullptr) AfxThrowInvalidArgException();
  if (pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();  // not declared serializable
  if (!m_pMaps) m_pMaps = new CArchiveMaps;
  auto found = m_pMaps->stored.find(pClassRef);
  if (found != m_pMaps->stored.end()) {
    DWORD index = found->second;
    if (index < wBigObjectTag) {
      *this << static_cast<WORD>(wClassTag | index);
    } else {
      *this << wBigObjectTag;
      *this << static_cast<DWORD>(dwBigClassTag | index);
    }
    return;
  }
  *this << wNewClassTag;
  pClassRef->Store(*this);
  if (m_pMaps->nextStoreIndex >= nMaxMapCount)
    AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
  m_pMaps->stored[pClassRef] = m_pMaps->nextStoreIndex++;
}

void CArchive::WriteObject(const CObject* pOb) {
  CheckStoring();
  if (!m_pMaps) m_pMaps = new CArchiveMaps;
  if (pOb == nullptr) {
    *this << wNullTag;
    return;
  }
  auto found = m_pMaps->stored.find(pOb);
  if (found != m_pMaps->stored.end()) {
    DWORD index = found->second;
    if (index < wBigObjectTag) {
      *this << static_cast<WORD>(index);
    } else {
      *this << wBigObjectTag;
      *this << index;
    }
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  if (m_pMaps->nextStoreIndex >= nMaxMapCount)
    AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
  m_pMaps->stored[pOb] = m_pMaps->nextStoreIndex++;
  // Serialize needs a writable object; storing does not change it.
  const_cast<CObject*>(pOb)->Serialize(*this);
}

void CArchive::MapObject(const CObject* pOb) {
  if (!m_pMaps) m_pMaps = new CArchiveMaps;
  if (IsStoring()) {
    if (pOb && m_pMaps->stored.find(pOb) == m_pMaps->stored.end())
      m_pMaps->stored[pOb] = m_pMaps->nextStoreIndex++;
  } else {
    m_pMaps->loaded.push_back({const_cast<CObject*>(pOb), false, 0});
  }
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
  CheckLoading();
  if (!m_pMaps) m_pMaps = new CArchiveMaps;

  WORD wTag = 0;
  *this >> wTag;
  DWORD obTag;
  if (wTag == wBigObjectTag) {
    *this >> obTag;
  } else {
    obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);
  }

  // An object reference where a class was expected.
  if (wTag != wNewClassTag && !(obTag & dwBigClassTag)) {
    if (pObTag == nullptr) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    *pObTag = obTag;
    return nullptr;
  }

  CRuntimeClass* pClassRef;
  UINT nSchema;
  if (wTag == wNewClassTag) {
    pClassRef = CRuntimeClass::Load(*this, &nSchema);
    if (pClassRef == nullptr) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    // A stored schema must match the class's, unless the class reads every version itself.
    if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema) {
      if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
        AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
    }
    if (m_pMaps->loaded.size() >= nMaxMapCount)
      AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    m_pMaps->loaded.push_back({pClassRef, true, nSchema});
  } else {
    DWORD index = obTag & ~dwBigClassTag;
    if (index == 0 || index >= m_pMaps->loaded.size() || !m_pMaps->loaded[index].isClass)
      AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    pClassRef = static_cast<CRuntimeClass*>(m_pMaps->loaded[index].pointer);
    nSchema = m_pMaps->loaded[index].schema;
  }

  if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
    AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  if (pSchema) *pSchema = nSchema;
  if (pObTag) *pObTag = 0;
  return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
  if (IsStoring()) {
    WriteClass(pClassRef);
  } else {
    ReadClass(pClassRef, &m_nObjectSchema);
  }
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  CheckLoading();
  UINT nSchema = 0;
  DWORD obTag = 0;
  CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

  if (pClassRef == nullptr) {
    // A reference to an object read before (or null).
    if (obTag == 0) return nullptr;
    if (obTag >= m_pMaps->loaded.size() || m_pMaps->loaded[obTag].isClass)
      AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    CObject* pOb = static_cast<CObject*>(m_pMaps->loaded[obTag].pointer);
    if (pClassRefRequested && pOb && !pOb->IsKindOf(pClassRefRequested))
      AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    return pOb;
  }

  CObject* pOb = pClassRef->CreateObject();
  if (pOb == nullptr) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  // Entered before its contents are read, so that the object's own members may refer back to it.
  m_pMaps->loaded.push_back({pOb, false, 0});
  UINT nSchemaSave = m_nObjectSchema;
  m_nObjectSchema = nSchema;
  try {
    pOb->Serialize(*this);
  } catch (...) {
    // The half-read object is dropped; references to it in the table must not outlive it.
    for (auto& entry : m_pMaps->loaded) {
      if (entry.pointer == pOb) entry.pointer = nullptr;
    }
    m_nObjectSchema = nSchemaSave;
    delete pOb;
    throw;
  }
  m_nObjectSchema = nSchemaSave;
  return pOb;
}
