// CString: the framework's wide text type. Copies share one reference-counted buffer (atomic counts,
// so copies may cross threads); the first change to a shared buffer copies it.
#pragma once

#include "framework/Object.h"

#include <wtypes.h>

#include <cstdarg>

// Header in front of every string buffer. nRefs is -1 for the shared empty buffer, which is never
// freed, and for a buffer locked by GetBuffer until ReleaseBuffer.
class CString;

// What a variable-argument call receives for an argument: a CString as its text pointer (it cannot
// travel through "..." as an object), anything else unchanged.
template <class T>
inline const T& AfxVarArg(const T& value) {
  return value;
}
inline LPCWSTR AfxVarArg(const CString& value);

struct CStringData {
  volatile LONG nRefs;
  int nDataLength;
  int nAllocLength;
  WCHAR* data() { return reinterpret_cast<WCHAR*>(this + 1); }
};

class CString {
 public:
  CString();
  CString(const CString& stringSrc);
  CString(CString&& stringSrc) noexcept;
  // lpsz may be MAKEINTRESOURCE(id): the string resource id is loaded instead.
  CString(LPCWSTR lpsz);
  // Converted from the ANSI code page.
  CString(LPCSTR lpsz);
  CString(LPCWSTR lpch, int nLength);
  CString(LPCSTR lpch, int nLength);
  CString(WCHAR ch, int nRepeat = 1);
  ~CString();

  int GetLength() const { return GetData()->nDataLength; }
  BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
  void Empty();

  WCHAR GetAt(int nIndex) const;
  WCHAR operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, WCHAR ch);
  operator LPCWSTR() const { return m_pchData; }

  const CString& operator=(const CString& stringSrc);
  const CString& operator=(CString&& stringSrc) noexcept;
  const CString& operator=(LPCWSTR lpsz);
  const CString& operator=(LPCSTR lpsz);
  const CString& operator=(WCHAR ch);

  const CString& operator+=(const CString& string);
  const CString& operator+=(LPCWSTR lpsz);
  const CString& operator+=(WCHAR ch);

  friend CString AFXAPI operator+(const CString& string1, const CString& string2);
  friend CString AFXAPI operator+(const CString& string, LPCWSTR lpsz);
  friend CString AFXAPI operator+(LPCWSTR lpsz, const CString& string);
  friend CString AFXAPI operator+(const CString& string, WCHAR ch);
  friend CString AFXAPI operator+(WCHAR ch, const CString& string);

  // Ordinal comparison (code units); CompareNoCase folds case like lstrcmpiW; Collate uses the locale.
  int Compare(LPCWSTR lpsz) const;
  int CompareNoCase(LPCWSTR lpsz) const;
  int Collate(LPCWSTR lpsz) const;
  int CollateNoCase(LPCWSTR lpsz) const;

  // Out-of-range counts and positions are clamped, never undefined.
  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCWSTR lpszCharSet) const;
  CString SpanExcluding(LPCWSTR lpszCharSet) const;

  // ASCII letters only, independent of the locale: "résumé" becomes "RéSUMé".
  void MakeUpper();
  void MakeLower();
  void MakeReverse();

  void TrimRight();
  void TrimRight(WCHAR chTarget);
  void TrimRight(LPCWSTR lpszTargets);
  void TrimLeft();
  void TrimLeft(WCHAR chTarget);
  void TrimLeft(LPCWSTR lpszTargets);
  void Trim();
  void Trim(WCHAR chTarget);
  void Trim(LPCWSTR lpszTargets);

  // Each returns the number of replacements or removals, or the new length.
  int Replace(WCHAR chOld, WCHAR chNew);
  int Replace(LPCWSTR lpszOld, LPCWSTR lpszNew);
  int Remove(WCHAR chRemove);
  int Insert(int nIndex, WCHAR ch);
  int Insert(int nIndex, LPCWSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  // Zero-based positions, -1 when not found.
  int Find(WCHAR ch) const;
  int Find(WCHAR ch, int nStart) const;
  int Find(LPCWSTR lpszSub) const;
  int Find(LPCWSTR lpszSub, int nStart) const;
  int ReverseFind(WCHAR ch) const;
  int FindOneOf(LPCWSTR lpszCharSet) const;

  // printf-style formatting with the C runtime's wide rules: %s and %c take wide arguments, %S and
  // %C narrow ones; %I64d takes a 64-bit integer. A CString argument is passed as its text, so
  // Format(L"%s", str) works without a cast.
  template <class... Args>
  void Format(LPCWSTR lpszFormat, const Args&... args) {
    FormatText(lpszFormat, AfxVarArg(args)...);
  }
  // The format is string resource nFormatID; nothing happens when it is missing.
  template <class... Args>
  void Format(UINT nFormatID, const Args&... args) {
    CString format;
    if (format.LoadString(nFormatID)) FormatText(format, AfxVarArg(args)...);
  }
  void FormatV(LPCWSTR lpszFormat, va_list argList);
  // FormatMessage-style inserts (%1, %2!d! ...).
  template <class... Args>
  void FormatMessage(LPCWSTR lpszFormat, const Args&... args) {
    FormatMessageText(lpszFormat, AfxVarArg(args)...);
  }

  // Loads string nID from the resource module; FALSE (and the string unchanged) when missing.
  BOOL LoadString(UINT nID);

  BSTR AllocSysString() const;
  BSTR SetSysString(BSTR* pbstr) const;

  // Direct buffer access. GetBuffer gives an unshared buffer of at least nMinBufLength characters
  // plus the terminator; ReleaseBuffer(-1) takes the length from the terminator.
  LPWSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  LPWSTR GetBufferSetLength(int nNewLength);
  void FreeExtra();
  LPWSTR LockBuffer();
  void UnlockBuffer();

  int GetAllocLength() const { return GetData()->nAllocLength; }

 private:
  void AFX_CDECL FormatText(LPCWSTR lpszFormat, ...);
  void AFX_CDECL FormatMessageText(LPCWSTR lpszFormat, ...);
  CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
  void Init();
  void AllocBuffer(int nLen);
  void AssignCopy(int nSrcLen, LPCWSTR lpszSrcData);
  void ConcatInPlace(int nSrcLen, LPCWSTR lpszSrcData);
  void CopyBeforeWrite();
  void AllocBeforeWrite(int nLen);
  void Release();
  static void Release(CStringData* pData);
  static CString Concat(int nLen1, LPCWSTR p1, int nLen2, LPCWSTR p2);

  LPWSTR m_pchData;
};

inline LPCWSTR AfxVarArg(const CString& value) { return value; }

inline bool AFXAPI operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
inline bool AFXAPI operator==(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) == 0; }
inline bool AFXAPI operator==(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
inline bool AFXAPI operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
inline bool AFXAPI operator!=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) != 0; }
inline bool AFXAPI operator!=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
inline bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
inline bool AFXAPI operator<(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) < 0; }
inline bool AFXAPI operator<(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
inline bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
inline bool AFXAPI operator>(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) > 0; }
inline bool AFXAPI operator>(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
inline bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
inline bool AFXAPI operator<=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) <= 0; }
inline bool AFXAPI operator<=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
inline bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
inline bool AFXAPI operator>=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) >= 0; }
inline bool AFXAPI operator>=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// Replaces %1 in string nIDS with lpsz1 (and %2 with lpsz2).
void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1);
void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2);
// Loads string nIDS into lpszBuf (nMaxBuf characters with terminator); returns its length, 0 if missing.
int AFXAPI AfxLoadString(UINT nIDS, LPWSTR lpszBuf, UINT nMaxBuf = 256);
