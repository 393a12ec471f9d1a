// The exchange of a persisted property whose stored form may be damaged (a profile edited by hand, a
// hidden file cut short, bytes flipped on the disk). Saving is the plain exchange; loading keeps a value
// only when it lies within what the program itself writes, and gives the property its default otherwise,
// so that nothing read back can place a bar off the screen, size it past reason or make a control of one
// kind act as another.
#pragma once

#include <PropExchange.h>

// Stored texts (captions, titles, tips) longer than this are no text the program wrote.
#define XTP_STORED_TEXT_MAX 1024
// The largest width or size a stored value may give a control, in pixels.
#define XTP_STORED_EXTENT_MAX 4096
// Bits of the shell's auto-complete flags that a stored edit or combo may carry.
#define XTP_STORED_AUTOCOMPLETE_FLAGS 0xF000007Fu
// The largest stored icon size; 0 by 0 stands for "the theme's".
#define XTP_STORED_ICON_MAX 256

// A boolean stored as 0 or 1; anything else gives bDefault.
inline BOOL PropExchangeStoredBool(CXTPPropExchange* pPX, LPCTSTR pszName, BOOL& bValue, BOOL bDefault) {
  const BOOL bResult = PropExchangeBool(pPX, pszName, bValue, bDefault);
  if (pPX->IsLoading() && bValue != FALSE && bValue != TRUE) bValue = bDefault;
  return bResult;
}

// A number within nMin..nMax; anything else gives nDefault.
inline BOOL PropExchangeStoredLong(CXTPPropExchange* pPX, LPCTSTR pszName, long& nValue, long nDefault,
                                   long nMin, long nMax) {
  const BOOL bResult = PropExchangeLong(pPX, pszName, nValue, nDefault);
  if (pPX->IsLoading() && (nValue < nMin || nValue > nMax)) nValue = nDefault;
  return bResult;
}

// Bits of which none lies outside dwKnown; anything else gives dwDefault.
inline BOOL PropExchangeStoredFlags(CXTPPropExchange* pPX, LPCTSTR pszName, DWORD& dwValue, DWORD dwDefault,
                                    DWORD dwKnown) {
  long nValue = static_cast<long>(dwValue);
  const BOOL bResult = PropExchangeLong(pPX, pszName, nValue, static_cast<long>(dwDefault));
  dwValue = static_cast<DWORD>(nValue);
  if (pPX->IsLoading() && (dwValue & ~dwKnown) != 0) dwValue = dwDefault;
  return bResult;
}

// A text of at most XTP_STORED_TEXT_MAX characters; a longer one gives the default.
inline BOOL PropExchangeStoredString(CXTPPropExchange* pPX, LPCTSTR pszName, CString& strValue,
                                     LPCTSTR pszDefault) {
  const BOOL bResult = PropExchangeString(pPX, pszName, strValue, pszDefault);
  if (pPX->IsLoading() && strValue.GetLength() > XTP_STORED_TEXT_MAX) strValue = pszDefault;
  return bResult;
}

// A size whose sides lie within nMin..nMax, or 0 by 0 when bAllowEmpty; anything else gives the default.
inline BOOL PropExchangeStoredSize(CXTPPropExchange* pPX, LPCTSTR pszName, SIZE& szValue, int cxDefault,
                                   int cyDefault, int nMin, int nMax, BOOL bAllowEmpty) {
  const BOOL bResult = PropExchangeSize(pPX, pszName, szValue, cxDefault, cyDefault);
  if (pPX->IsLoading()) {
    const BOOL bEmpty = bAllowEmpty && szValue.cx == 0 && szValue.cy == 0;
    const BOOL bInRange =
        szValue.cx >= nMin && szValue.cx <= nMax && szValue.cy >= nMin && szValue.cy <= nMax;
    if (!bEmpty && !bInRange) {
      szValue.cx = cxDefault;
      szValue.cy = cyDefault;
    }
  }
  return bResult;
}

// A rectangle of margins, each within 0..nMax; anything else gives the default.
inline BOOL PropExchangeStoredMargins(CXTPPropExchange* pPX, LPCTSTR pszName, RECT& rcValue, int nLeft,
                                      int nTop, int nRight, int nBottom, int nMax) {
  const BOOL bResult = PropExchangeRect(pPX, pszName, rcValue, nLeft, nTop, nRight, nBottom);
  if (pPX->IsLoading()) {
    const LONG arrSides[] = {rcValue.left, rcValue.top, rcValue.right, rcValue.bottom};
    for (LONG nSide : arrSides) {
      if (nSide < 0 || nSide > nMax) {
        ::SetRect(&rcValue, nLeft, nTop, nRight, nBottom);
        break;
      }
    }
  }
  return bResult;
}
