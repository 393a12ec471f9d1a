// CString: shared, copy-on-write wide text buffers.
#include "afx.h"

#include <oleauto.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>
#include <utility>

namespace {

// The empty string every default-constructed CString points at. Its count is -1 so that nobody
// ever frees or writes it.
struct EmptyString {
  CStringData header;
  WCHAR nul;
};
EmptyString g_empty = {{-1, 0, 0}, 0};

LPWSTR EmptyBuffer() { return g_empty.header.data(); }

int SafeLength(LPCWSTR lpsz) { return lpsz ? static_cast<int>(wcslen(lpsz)) : 0; }

// A buffer locked by LockBuffer belongs to its one owner; the shared empty buffer is never locked.
bool IsLocked(const CStringData* data) { return data->nRefs < 0 && data != &g_empty.header; }

bool IsResourceId(LPCWSTR lpsz) { return lpsz != nullptr && IS_INTRESOURCE(lpsz); }

WCHAR AsciiUpper(WCHAR c) { return (c >= L'a' && c <= L'z') ? static_cast<WCHAR>(c - 32) : c; }
WCHAR AsciiLower(WCHAR c) { return (c >= L'A' && c <= L'Z') ? static_cast<WCHAR>(c + 32) : c; }

bool IsTrimSpace(WCHAR c) { return c == L' ' || (c >= 9 && c <= 13); }

}  // namespace

void CString::Init() { m_pchData = EmptyBuffer(); }

CString::CString() { Init(); }

CString::CString(const CString& stringSrc) {
  CStringData* src = stringSrc.GetData();
  if (src->nRefs >= 0 && src != &g_empty.header) {
    InterlockedIncrement(&src->nRefs);
    m_pchData = stringSrc.m_pchData;
  } else {
    // A locked buffer stays private to its owner.
    Init();
    AssignCopy(src->nDataLength, stringSrc.m_pchData);
  }
}

CString::CString(CString&& stringSrc) noexcept {
  if (!IsLocked(stringSrc.GetData())) {
    m_pchData = stringSrc.m_pchData;
    stringSrc.Init();
  } else {
    Init();
    AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
  }
}

CString::CString(LPCWSTR lpsz) {
  Init();
  if (IsResourceId(lpsz)) {
    LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
  } else {
    AssignCopy(SafeLength(lpsz), lpsz);
  }
}

CString::CString(LPCSTR lpsz) {
  Init();
  if (lpsz && IS_INTRESOURCE(lpsz)) {
    LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
    return;
  }
  if (lpsz && *lpsz) *this = CString(lpsz, static_cast<int>(strlen(lpsz)));
}

CString::CString(LPCWSTR lpch, int nLength) {
  Init();
  if (lpch && nLength > 0) AssignCopy(nLength, lpch);
}

CString::CString(LPCSTR lpch, int nLength) {
  Init();
  if (!lpch || nLength <= 0) return;
  int wide = MultiByteToWideChar(CP_ACP, 0, lpch, nLength, nullptr, 0);
  if (wide <= 0) return;
  AllocBuffer(wide);
  MultiByteToWideChar(CP_ACP, 0, lpch, nLength, m_pchData, wide);
}

CString::CString(WCHAR ch, int nRepeat) {
  Init();
  if (nRepeat > 0) {
    AllocBuffer(nRepeat);
    for (int i = 0; i < nRepeat; ++i) m_pchData[i] = ch;
  }
}

CString::~CString() { Release(); }

void CString::AllocBuffer(int nLen) {
  if (nLen <= 0) {
    Init();
    return;
  }
  if (nLen > (INT_MAX / 2 - static_cast<int>(sizeof(CStringData))) / static_cast<int>(sizeof(WCHAR)))
    AfxThrowMemoryException();
  void* p =
      ::operator new(sizeof(CStringData) + (static_cast<size_t>(nLen) + 1) * sizeof(WCHAR), std::nothrow);
  if (!p) AfxThrowMemoryException();
  CStringData* data = static_cast<CStringData*>(p);
  data->nRefs = 1;
  data->nDataLength = nLen;
  data->nAllocLength = nLen;
  data->data()[nLen] = 0;
  m_pchData = data->data();
}

void CString::Release(CStringData* pData) {
  if (pData == &g_empty.header) return;
  // A locked buffer (count -1) has exactly one owner.
  if (pData->nRefs < 0 || InterlockedDecrement(&pData->nRefs) == 0) ::operator delete(pData);
}

void CString::Release() {
  Release(GetData());
  Init();
}

void CString::Empty() { Release(); }

void CString::CopyBeforeWrite() {
  CStringData* data = GetData();
  if (data == &g_empty.header || data->nRefs > 1) {
    // Unshare (or leave the common empty buffer, which nobody may write).
    LPWSTR old = m_pchData;
    int len = data->nDataLength;
    if (data == &g_empty.header) return;
    AllocBuffer(len);
    wmemcpy(m_pchData, old, len);
    Release(data);
  }
}

void CString::AllocBeforeWrite(int nLen) {
  CStringData* data = GetData();
  if (data == &g_empty.header || data->nRefs > 1 || nLen > data->nAllocLength) {
    Release();
    AllocBuffer(nLen);
  }
}

void CString::AssignCopy(int nSrcLen, LPCWSTR lpszSrcData) {
  if (nSrcLen <= 0) {
    Release();
    return;
  }
  // The source may live inside our own buffer (s = s.Mid(1) through a pointer).
  CStringData* data = GetData();
  bool overlaps = lpszSrcData >= m_pchData && lpszSrcData <= m_pchData + data->nDataLength;
  if (overlaps && data->nRefs == 1) {
    wmemmove(m_pchData, lpszSrcData, nSrcLen);
  } else if (overlaps) {
    CString keep(*this);
    AllocBeforeWrite(nSrcLen);
    wmemcpy(m_pchData, lpszSrcData, nSrcLen);
  } else {
    AllocBeforeWrite(nSrcLen);
    wmemcpy(m_pchData, lpszSrcData, nSrcLen);
  }
  GetData()->nDataLength = nSrcLen;
  m_pchData[nSrcLen] = 0;
}

const CString& CString::operator=(const CString& stringSrc) {
  if (m_pchData == stringSrc.m_pchData) return *this;
  CStringData* src = stringSrc.GetData();
  if (IsLocked(src) || IsLocked(GetData())) {
    AssignCopy(src->nDataLength, stringSrc.m_pchData);
  } else if (src == &g_empty.header) {
    Release();
  } else {
    InterlockedIncrement(&src->nRefs);
    Release(GetData());
    m_pchData = stringSrc.m_pchData;
  }
  return *this;
}

const CString& CString::operator=(CString&& stringSrc) noexcept {
  if (this == &stringSrc) return *this;
  if (IsLocked(stringSrc.GetData()) || IsLocked(GetData())) {
    AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
    return *this;
  }
  Release(GetData());
  m_pchData = stringSrc.m_pchData;
  stringSrc.Init();
  return *this;
}

const CString& CString::operator=(LPCWSTR lpsz) {
  if (IsResourceId(lpsz)) {
    *this = CString(lpsz);
  } else {
    AssignCopy(SafeLength(lpsz), lpsz);
  }
  return *this;
}

const CString& CString::operator=(LPCSTR lpsz) {
  *this = CString(lpsz);
  return *this;
}

const CString& CString::operator=(WCHAR ch) {
  AssignCopy(1, &ch);
  return *this;
}

CString CString::Concat(int nLen1, LPCWSTR p1, int nLen2, LPCWSTR p2) {
  CString result;
  int total = nLen1 + nLen2;
  if (total > 0) {
    result.AllocBuffer(total);
    if (nLen1) wmemcpy(result.m_pchData, p1, nLen1);
    if (nLen2) wmemcpy(result.m_pchData + nLen1, p2, nLen2);
  }
  return result;
}

void CString::ConcatInPlace(int nSrcLen, LPCWSTR lpszSrcData) {
  if (nSrcLen <= 0) return;
  CStringData* data = GetData();
  if (data->nRefs != 1 || data->nDataLength + nSrcLen > data->nAllocLength) {
    // Grow geometrically so that repeated appends stay linear.
    int len = data->nDataLength;
    int want = len + nSrcLen;
    int cap = want + want / 2;
    if (cap < want) cap = want;
    CString grown;
    grown.AllocBuffer(cap);
    wmemcpy(grown.m_pchData, m_pchData, len);
    wmemcpy(grown.m_pchData + len, lpszSrcData, nSrcLen);
    grown.GetData()->nDataLength = want;
    grown.m_pchData[want] = 0;
    *this = std::move(grown);
    return;
  }
  wmemcpy(m_pchData + data->nDataLength, lpszSrcData, nSrcLen);
  data->nDataLength += nSrcLen;
  m_pchData[data->nDataLength] = 0;
}

const CString& CString::operator+=(const CString& string) {
  CString keep(string);  // string may be *this
  ConcatInPlace(keep.GetLength(), keep.m_pchData);
  return *this;
}

const CString& CString::operator+=(LPCWSTR lpsz) {
  if (lpsz >= m_pchData && lpsz <= m_pchData + GetLength()) {
    CString keep(lpsz);
    ConcatInPlace(keep.GetLength(), keep.m_pchData);
  } else {
    ConcatInPlace(SafeLength(lpsz), lpsz);
  }
  return *this;
}

const CString& CString::operator+=(WCHAR ch) {
  ConcatInPlace(1, &ch);
  return *this;
}

CString AFXAPI operator+(const CString& string1, const CString& string2) {
  return CString::Concat(string1.GetLength(), string1.m_pchData, string2.GetLength(), string2.m_pchData);
}
CString AFXAPI operator+(const CString& string, LPCWSTR lpsz) {
  return CString::Concat(string.GetLength(), string.m_pchData, SafeLength(lpsz), lpsz);
}
CString AFXAPI operator+(LPCWSTR lpsz, const CString& string) {
  return CString::Concat(SafeLength(lpsz), lpsz, string.GetLength(), string.m_pchData);
}
CString AFXAPI operator+(const CString& string, WCHAR ch) {
  return CString::Concat(string.GetLength(), string.m_pchData, 1, &ch);
}
CString AFXAPI operator+(WCHAR ch, const CString& string) {
  return CString::Concat(1, &ch, string.GetLength(), string.m_pchData);
}

WCHAR CString::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
  return m_pchData[nIndex];
}

void CString::SetAt(int nIndex, WCHAR ch) {
  if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
  CopyBeforeWrite();
  m_pchData[nIndex] = ch;
}

int CString::Compare(LPCWSTR lpsz) const {
  LPCWSTR other = lpsz ? lpsz : L"";
  int r = wcscmp(m_pchData, other);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCWSTR lpsz) const { return lstrcmpiW(m_pchData, lpsz ? lpsz : L""); }
int CString::Collate(LPCWSTR lpsz) const { return lstrcmpW(m_pchData, lpsz ? lpsz : L""); }
int CString::CollateNoCase(LPCWSTR lpsz) const { return lstrcmpiW(m_pchData, lpsz ? lpsz : L""); }

CString CString::Mid(int nFirst, int nCount) const {
  int len = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst > len) nFirst = len;
  if (nCount > len - nFirst) nCount = len - nFirst;
  if (nFirst == 0 && nCount == len) return *this;
  return CString(m_pchData + nFirst, nCount);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - (nFirst < 0 ? 0 : nFirst)); }

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  int len = GetLength();
  if (nCount < 0) nCount = 0;
  if (nCount > len) nCount = len;
  return Mid(len - nCount, nCount);
}

CString CString::SpanIncluding(LPCWSTR lpszCharSet) const {
  return Left(static_cast<int>(wcsspn(m_pchData, lpszCharSet ? lpszCharSet : L"")));
}

CString CString::SpanExcluding(LPCWSTR lpszCharSet) const {
  return Left(static_cast<int>(wcscspn(m_pchData, lpszCharSet ? lpszCharSet : L"")));
}

void CString::MakeUpper() {
  CopyBeforeWrite();
  for (int i = 0; i < GetLength(); ++i) m_pchData[i] = AsciiUpper(m_pchData[i]);
}

void CString::MakeLower() {
  CopyBeforeWrite();
  for (int i = 0; i < GetLength(); ++i) m_pchData[i] = AsciiLower(m_pchData[i]);
}

void CString::MakeReverse() {
  CopyBeforeWrite();
  for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) {
    WCHAR t = m_pchData[i];
    m_pchData[i] = m_pchData[j];
    m_pchData[j] = t;
  }
}

void CString::TrimRight(LPCWSTR lpszTargets) {
  int len = GetLength();
  int end = len;
  while (end > 0 &&
         (lpszTargets ? wcschr(lpszTargets, m_pchData[end - 1]) != nullptr : IsTrimSpace(m_pchData[end - 1])))
    --end;
  if (end != len) *this = Left(end);
}

void CString::TrimRight() { TrimRight(static_cast<LPCWSTR>(nullptr)); }

void CString::TrimRight(WCHAR chTarget) {
  WCHAR set[2] = {chTarget, 0};
  if (chTarget == 0) return;
  TrimRight(set);
}

void CString::TrimLeft(LPCWSTR lpszTargets) {
  int len = GetLength();
  int start = 0;
  while (start < len &&
         (lpszTargets ? wcschr(lpszTargets, m_pchData[start]) != nullptr : IsTrimSpace(m_pchData[start])))
    ++start;
  if (start) *this = Mid(start);
}

void CString::TrimLeft() { TrimLeft(static_cast<LPCWSTR>(nullptr)); }

void CString::TrimLeft(WCHAR chTarget) {
  WCHAR set[2] = {chTarget, 0};
  if (chTarget == 0) return;
  TrimLeft(set);
}

void CString::Trim() {
  TrimRight();
  TrimLeft();
}
void CString::Trim(WCHAR chTarget) {
  TrimRight(chTarget);
  TrimLeft(chTarget);
}
void CString::Trim(LPCWSTR lpszTargets) {
  TrimRight(lpszTargets);
  TrimLeft(lpszTargets);
}

int CString::Replace(WCHAR chOld, WCHAR chNew) {
  if (chOld == chNew || Find(chOld) < 0) return 0;
  CopyBeforeWrite();
  int count = 0;
  for (int i = 0; i < GetLength(); ++i) {
    if (m_pchData[i] == chOld) {
      m_pchData[i] = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCWSTR lpszOld, LPCWSTR lpszNew) {
  int oldLen = SafeLength(lpszOld);
  if (oldLen == 0) return 0;
  CString oldText(lpszOld), newText(lpszNew);  // either may point into *this
  CString result;
  int count = 0;
  int pos = 0;
  for (;;) {
    LPCWSTR hit = wcsstr(m_pchData + pos, oldText);
    if (!hit) break;
    int at = static_cast<int>(hit - m_pchData);
    result.ConcatInPlace(at - pos, m_pchData + pos);
    result += newText;
    pos = at + oldLen;
    ++count;
  }
  if (count == 0) return 0;
  result.ConcatInPlace(GetLength() - pos, m_pchData + pos);
  *this = result;
  return count;
}

int CString::Remove(WCHAR chRemove) {
  if (Find(chRemove) < 0) return 0;
  CopyBeforeWrite();
  int len = GetLength();
  int out = 0;
  for (int i = 0; i < len; ++i) {
    if (m_pchData[i] != chRemove) m_pchData[out++] = m_pchData[i];
  }
  m_pchData[out] = 0;
  GetData()->nDataLength = out;
  return len - out;
}

int CString::Insert(int nIndex, WCHAR ch) {
  WCHAR text[2] = {ch, 0};
  return Insert(nIndex, text);
}

int CString::Insert(int nIndex, LPCWSTR pstr) {
  int len = GetLength();
  if (nIndex < 0) nIndex = 0;
  if (nIndex > len) nIndex = len;
  CString insert(pstr);
  if (insert.IsEmpty()) return len;
  *this = Left(nIndex) + insert + Mid(nIndex);
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  int len = GetLength();
  if (nIndex < 0) nIndex = 0;
  if (nCount <= 0 || nIndex >= len) return len;
  if (nCount > len - nIndex) nCount = len - nIndex;
  CopyBeforeWrite();
  wmemmove(m_pchData + nIndex, m_pchData + nIndex + nCount, len - nIndex - nCount + 1);
  GetData()->nDataLength = len - nCount;
  return len - nCount;
}

int CString::Find(WCHAR ch) const { return Find(ch, 0); }

int CString::Find(WCHAR ch, int nStart) const {
  int len = GetLength();
  if (nStart < 0) nStart = 0;
  for (int i = nStart; i < len; ++i)
    if (m_pchData[i] == ch) return i;
  return -1;
}

int CString::Find(LPCWSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCWSTR lpszSub, int nStart) const {
  if (!lpszSub) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  LPCWSTR hit = wcsstr(m_pchData + nStart, lpszSub);
  return hit ? static_cast<int>(hit - m_pchData) : -1;
}

int CString::ReverseFind(WCHAR ch) const {
  for (int i = GetLength() - 1; i >= 0; --i)
    if (m_pchData[i] == ch) return i;
  return -1;
}

int CString::FindOneOf(LPCWSTR lpszCharSet) const {
  if (!lpszCharSet) return -1;
  LPCWSTR hit = wcspbrk(m_pchData, lpszCharSet);
  return hit ? static_cast<int>(hit - m_pchData) : -1;
}

void CString::FormatV(LPCWSTR lpszFormat, va_list argList) {
  if (!lpszFormat) {
    Empty();
    return;
  }
  // The C runtime's own wide formatter: in it %s is a wide string, unlike MinGW's C++ printf.
  va_list counting;
  va_copy(counting, argList);
  int needed = _vscwprintf(lpszFormat, counting);
  va_end(counting);
  if (needed < 0) {
    Empty();
    return;
  }
  CString result;
  if (needed > 0) {
    result.AllocBuffer(needed);
    va_list writing;
    va_copy(writing, argList);
    _vsnwprintf(result.m_pchData, static_cast<size_t>(needed) + 1, lpszFormat, writing);
    va_end(writing);
    result.m_pchData[needed] = 0;
  }
  *this = std::move(result);
}

void AFX_CDECL CString::FormatText(LPCWSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void AFX_CDECL CString::FormatMessageText(LPCWSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  LPWSTR buffer = nullptr;
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, lpszFormat, 0, 0,
                             reinterpret_cast<LPWSTR>(&buffer), 0, &args);
  va_end(args);
  if (n == 0 || !buffer) {
    // An empty result is no failure; anything else is a malformed format or no memory.
    if (buffer) LocalFree(buffer);
    if (GetLastError() == ERROR_NOT_ENOUGH_MEMORY) AfxThrowMemoryException();
    Empty();
    return;
  }
  *this = buffer;
  LocalFree(buffer);
}

BOOL CString::LoadString(UINT nID) {
  // String resources are stored counted; a zero length means missing.
  const WCHAR* text = nullptr;
  int len = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&text), 0);
  if (len <= 0 || !text) return FALSE;
  AssignCopy(len, text);
  return TRUE;
}

BSTR CString::AllocSysString() const {
  BSTR b = ::SysAllocStringLen(m_pchData, GetLength());
  if (!b) AfxThrowMemoryException();
  return b;
}

BSTR CString::SetSysString(BSTR* pbstr) const {
  if (!::SysReAllocStringLen(pbstr, m_pchData, GetLength())) AfxThrowMemoryException();
  return *pbstr;
}

LPWSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength < 0) nMinBufLength = 0;
  CStringData* data = GetData();
  if (data == &g_empty.header || data->nRefs > 1 || nMinBufLength > data->nAllocLength) {
    int len = data->nDataLength;
    int cap = nMinBufLength > len ? nMinBufLength : len;
    if (cap == 0) cap = 1;  // the caller gets a writable buffer even for zero characters
    CString copy;
    copy.AllocBuffer(cap);
    wmemcpy(copy.m_pchData, m_pchData, len);
    copy.m_pchData[len] = 0;
    copy.GetData()->nDataLength = len;
    *this = std::move(copy);
  }
  return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
  CStringData* data = GetData();
  if (data == &g_empty.header) return;
  if (data->nRefs < 0) data->nRefs = 1;
  if (nNewLength < 0) {
    // Bounded by the allocation: a caller that forgot the terminator cannot make us read past it.
    nNewLength = static_cast<int>(wcsnlen(m_pchData, data->nAllocLength));
  }
  if (nNewLength > data->nAllocLength) nNewLength = data->nAllocLength;
  data->nDataLength = nNewLength;
  m_pchData[nNewLength] = 0;
}

LPWSTR CString::GetBufferSetLength(int nNewLength) {
  if (nNewLength < 0) nNewLength = 0;
  GetBuffer(nNewLength);
  if (GetData() == &g_empty.header) return m_pchData;
  GetData()->nDataLength = nNewLength;
  m_pchData[nNewLength] = 0;
  return m_pchData;
}

void CString::FreeExtra() {
  CStringData* data = GetData();
  if (data == &g_empty.header || data->nDataLength == data->nAllocLength) return;
  CString copy(m_pchData, data->nDataLength);
  *this = std::move(copy);
}

LPWSTR CString::LockBuffer() {
  LPWSTR p = GetBuffer(0);
  if (GetData() != &g_empty.header) GetData()->nRefs = -1;
  return p;
}

void CString::UnlockBuffer() {
  if (GetData() != &g_empty.header && GetData()->nRefs < 0) GetData()->nRefs = 1;
}

int AFXAPI AfxLoadString(UINT nIDS, LPWSTR lpszBuf, UINT nMaxBuf) {
  if (!lpszBuf || nMaxBuf == 0) return 0;
  int n = ::LoadStringW(AfxGetResourceHandle(), nIDS, lpszBuf, static_cast<int>(nMaxBuf));
  if (n <= 0) {
    lpszBuf[0] = 0;
    return 0;
  }
  return n;
}

namespace {
void FormatStrings(CString& rString, UINT nIDS, LPCWSTR const* rglpsz, int nString) {
  CString format;
  if (!format.LoadString(nIDS)) {
    rString.Empty();
    return;
  }
  CString result;
  for (int i = 0; i < format.GetLength(); ++i) {
    WCHAR c = format[i];
    if (c == L'%' && i + 1 < format.GetLength() && format[i + 1] >= L'1' && format[i + 1] <= L'9') {
      int index = format[i + 1] - L'1';
      if (index < nString && rglpsz[index]) result += rglpsz[index];
      ++i;
    } else {
      result += c;
    }
  }
  rString = result;
}
}  // namespace

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1) {
  FormatStrings(rString, nIDS, &lpsz1, 1);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2) {
  LPCWSTR strings[2] = {lpsz1, lpsz2};
  FormatStrings(rString, nIDS, strings, 2);
}
