// COleVariant (a VARIANT that owns its content) and COleCurrency (a CURRENCY with a status), with
// their archive forms.
#pragma once

#include "framework/OleDateTime.h"
#include "framework/OleException.h"

class CArchive;
class CByteArray;

typedef const VARIANT* LPCVARIANT;

class COleCurrency {
 public:
  enum CurrencyStatus { valid = 0, invalid = 1, null = 2 };

  COleCurrency() : m_status(valid) { m_cur.int64 = 0; }
  COleCurrency(CURRENCY cySrc) : m_cur(cySrc), m_status(valid) {}
  COleCurrency(const VARIANT& varSrc) { *this = varSrc; }
  // nUnits whole units and nFractionalUnits ten-thousandths.
  COleCurrency(LONG nUnits, LONG nFractionalUnits) { SetCurrency(nUnits, nFractionalUnits); }

  const COleCurrency& operator=(CURRENCY cySrc);
  const COleCurrency& operator=(const VARIANT& varSrc);

  CurrencyStatus GetStatus() const { return m_status; }
  void SetStatus(CurrencyStatus status) { m_status = status; }
  void SetCurrency(LONG nUnits, LONG nFractionalUnits);
  // Parses with the system's automation conversion; FALSE with the status invalid on bad text.
  BOOL ParseCurrency(LPCWSTR lpszCurrency, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);
  CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
  operator CURRENCY() const { return m_cur; }

  // Overflow sets the status invalid.
  COleCurrency operator+(const COleCurrency& cur) const;
  COleCurrency operator-(const COleCurrency& cur) const;
  COleCurrency operator*(long nOperand) const;
  COleCurrency operator/(long nOperand) const;
  COleCurrency operator-() const;
  const COleCurrency& operator+=(const COleCurrency& cur) { return *this = *this + cur; }
  const COleCurrency& operator-=(const COleCurrency& cur) { return *this = *this - cur; }
  const COleCurrency& operator*=(long nOperand) { return *this = *this * nOperand; }
  const COleCurrency& operator/=(long nOperand) { return *this = *this / nOperand; }

  bool operator==(const COleCurrency& cur) const {
    return m_status == cur.m_status && m_cur.int64 == cur.m_cur.int64;
  }
  bool operator!=(const COleCurrency& cur) const { return !(*this == cur); }
  bool operator<(const COleCurrency& cur) const { return m_cur.int64 < cur.m_cur.int64; }
  bool operator>(const COleCurrency& cur) const { return m_cur.int64 > cur.m_cur.int64; }
  bool operator<=(const COleCurrency& cur) const { return m_cur.int64 <= cur.m_cur.int64; }
  bool operator>=(const COleCurrency& cur) const { return m_cur.int64 >= cur.m_cur.int64; }

  CURRENCY m_cur;
  CurrencyStatus m_status;
};

class COleVariant : public tagVARIANT {
 public:
  COleVariant() { VariantInit(this); }
  ~COleVariant() { VariantClear(this); }
  COleVariant(const VARIANT& varSrc);
  COleVariant(LPCVARIANT pSrc);
  COleVariant(const COleVariant& varSrc);
  // VT_BSTR (vtSrc VT_BSTR) text.
  COleVariant(LPCWSTR lpszSrc, VARTYPE vtSrc = VT_BSTR);
  COleVariant(const CString& strSrc);
  COleVariant(BYTE nSrc);
  // VT_I2 or VT_BOOL.
  COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);
  // VT_I4, VT_ERROR or VT_BOOL: COleVariant((long)DISP_E_PARAMNOTFOUND, VT_ERROR) is a missing argument.
  COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
  COleVariant(bool bSrc);
  COleVariant(float fltSrc);
  COleVariant(double dblSrc);
  COleVariant(const COleCurrency& curSrc);
  COleVariant(const COleDateTime& timeSrc);
  // A VT_UI1 safe array of the bytes.
  COleVariant(const CByteArray& arrSrc);

  const COleVariant& operator=(const VARIANT& varSrc);
  const COleVariant& operator=(LPCVARIANT pSrc) { return *this = *pSrc; }
  const COleVariant& operator=(const COleVariant& varSrc) {
    return *this = static_cast<const VARIANT&>(varSrc);
  }
  const COleVariant& operator=(LPCWSTR lpszSrc);
  const COleVariant& operator=(const CString& strSrc) { return *this = static_cast<LPCWSTR>(strSrc); }
  const COleVariant& operator=(BYTE nSrc);
  const COleVariant& operator=(short nSrc);
  const COleVariant& operator=(long lSrc);
  const COleVariant& operator=(float fltSrc);
  const COleVariant& operator=(double dblSrc);
  const COleVariant& operator=(const COleCurrency& curSrc);
  const COleVariant& operator=(const COleDateTime& dateSrc);

  // Same type and value (strings compared exactly).
  bool operator==(const VARIANT& varSrc) const;
  bool operator==(LPCVARIANT pSrc) const { return *this == *pSrc; }
  bool operator!=(const VARIANT& varSrc) const { return !(*this == varSrc); }

  void Clear() { VariantClear(this); }
  // Converts pSrc (this variant when NULL) to vartype in place; throws COleException* when the
  // value has no such form.
  void ChangeType(VARTYPE vartype, LPVARIANT pSrc = nullptr);
  // Takes over varSrc's content and leaves varSrc empty.
  void Attach(VARIANT& varSrc);
  // Hands the content over and leaves this variant empty.
  VARIANT Detach();
  void SetString(LPCWSTR lpszSrc, VARTYPE vtSrc);

  operator LPVARIANT() { return this; }
  operator LPCVARIANT() const { return this; }
};

// Archive forms. A variant stores its type (WORD) then its value; strings as a byte count and the
// UTF-16 bytes; interfaces cannot be stored (CNotSupportedException*). A currency stores its status
// (LONG) then the high LONG and the low DWORD.
CArchive& AFXAPI operator<<(CArchive& ar, COleVariant varSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& varSrc);
CArchive& AFXAPI operator<<(CArchive& ar, COleCurrency curSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleCurrency& curSrc);

// Raises COleException* for a failed HRESULT.
void AFXAPI AfxCheckError(SCODE sc);
