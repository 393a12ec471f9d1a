// COleVariant and COleCurrency.
#include "afxdisp.h"

#include <cstring>
#include <vector>

void AFXAPI AfxCheckError(SCODE sc) {
  if (FAILED(sc)) {
    if (sc == E_OUTOFMEMORY) AfxThrowMemoryException();
    AfxThrowOleException(sc);
  }
}

// ---- COleCurrency --------------------------------------------------------------------------------

const COleCurrency& COleCurrency::operator=(CURRENCY cySrc) {
  m_cur = cySrc;
  m_status = valid;
  return *this;
}

const COleCurrency& COleCurrency::operator=(const VARIANT& varSrc) {
  if (varSrc.vt == VT_CY) {
    m_cur = varSrc.cyVal;
    m_status = valid;
    return *this;
  }
  VARIANT converted;
  VariantInit(&converted);
  if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&varSrc), 0, VT_CY))) {
    m_cur = converted.cyVal;
    m_status = valid;
  } else {
    m_cur.int64 = 0;
    m_status = invalid;
  }
  VariantClear(&converted);
  return *this;
}

void COleCurrency::SetCurrency(LONG nUnits, LONG nFractionalUnits) {
  // Ten-thousandths must stay below one unit and carry the sign of the units.
  if (nFractionalUnits <= -10000 || nFractionalUnits >= 10000 || (nUnits > 0 && nFractionalUnits < 0) ||
      (nUnits < 0 && nFractionalUnits > 0)) {
    m_cur.int64 = 0;
    m_status = invalid;
    return;
  }
  m_cur.int64 = static_cast<LONGLONG>(nUnits) * 10000 + nFractionalUnits;
  m_status = valid;
}

BOOL COleCurrency::ParseCurrency(LPCWSTR lpszCurrency, DWORD dwFlags, LCID lcid) {
  CURRENCY cy;
  HRESULT hr = lpszCurrency ? VarCyFromStr(const_cast<LPOLESTR>(lpszCurrency), lcid, dwFlags, &cy)
                            : DISP_E_TYPEMISMATCH;
  if (FAILED(hr)) {
    if (hr != DISP_E_TYPEMISMATCH && hr != DISP_E_OVERFLOW) AfxThrowOleException(hr);
    m_cur.int64 = 0;
    m_status = invalid;
    return FALSE;
  }
  m_cur = cy;
  m_status = valid;
  return TRUE;
}

CString COleCurrency::Format(DWORD dwFlags, LCID lcid) const {
  if (m_status == null) return CString();
  if (m_status != valid) return CString(L"Invalid Currency");
  BSTR text = nullptr;
  AfxCheckError(VarBstrFromCy(m_cur, lcid, dwFlags, &text));
  CString result(text);
  SysFreeString(text);
  return result;
}

namespace {
COleCurrency Checked(bool ok, LONGLONG value) {
  COleCurrency r;
  r.m_cur.int64 = ok ? value : 0;
  r.m_status = ok ? COleCurrency::valid : COleCurrency::invalid;
  return r;
}
}  // namespace

COleCurrency COleCurrency::operator+(const COleCurrency& cur) const {
  if (m_status != valid || cur.m_status != valid) return Checked(false, 0);
  LONGLONG sum;
  bool ok = !__builtin_add_overflow(m_cur.int64, cur.m_cur.int64, &sum);
  return Checked(ok, sum);
}

COleCurrency COleCurrency::operator-(const COleCurrency& cur) const {
  if (m_status != valid || cur.m_status != valid) return Checked(false, 0);
  LONGLONG diff;
  bool ok = !__builtin_sub_overflow(m_cur.int64, cur.m_cur.int64, &diff);
  return Checked(ok, diff);
}

COleCurrency COleCurrency::operator*(long nOperand) const {
  if (m_status != valid) return Checked(false, 0);
  LONGLONG product;
  bool ok = !__builtin_mul_overflow(m_cur.int64, static_cast<LONGLONG>(nOperand), &product);
  return Checked(ok, product);
}

COleCurrency COleCurrency::operator/(long nOperand) const {
  if (m_status != valid || nOperand == 0) return Checked(false, 0);
  if (nOperand == -1 && m_cur.int64 == INT64_MIN) return Checked(false, 0);
  return Checked(true, m_cur.int64 / nOperand);
}

COleCurrency COleCurrency::operator-() const {
  if (m_status != valid || m_cur.int64 == INT64_MIN) return Checked(false, 0);
  return Checked(true, -m_cur.int64);
}

// ---- COleVariant ---------------------------------------------------------------------------------

COleVariant::COleVariant(const VARIANT& varSrc) {
  VariantInit(this);
  AfxCheckError(VariantCopy(this, const_cast<VARIANT*>(&varSrc)));
}

COleVariant::COleVariant(LPCVARIANT pSrc) {
  VariantInit(this);
  if (pSrc) AfxCheckError(VariantCopy(this, const_cast<VARIANT*>(pSrc)));
}

COleVariant::COleVariant(const COleVariant& varSrc) : tagVARIANT() {
  VariantInit(this);
  AfxCheckError(VariantCopy(this, const_cast<COleVariant*>(&varSrc)));
}

COleVariant::COleVariant(LPCWSTR lpszSrc, VARTYPE vtSrc) {
  VariantInit(this);
  SetString(lpszSrc, vtSrc);
}

COleVariant::COleVariant(const CString& strSrc) {
  VariantInit(this);
  vt = VT_BSTR;
  bstrVal = strSrc.AllocSysString();
}

COleVariant::COleVariant(BYTE nSrc) {
  VariantInit(this);
  vt = VT_UI1;
  bVal = nSrc;
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc) {
  VariantInit(this);
  if (vtSrc == VT_BOOL) {
    vt = VT_BOOL;
    boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    if (vtSrc != VT_I2) AfxThrowInvalidArgException();
    vt = VT_I2;
    iVal = nSrc;
  }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc) {
  VariantInit(this);
  switch (vtSrc) {
    case VT_I4:
      vt = VT_I4;
      lVal = lSrc;
      break;
    case VT_ERROR:
      vt = VT_ERROR;
      scode = lSrc;
      break;
    case VT_BOOL:
      vt = VT_BOOL;
      boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    default:
      AfxThrowInvalidArgException();
  }
}

COleVariant::COleVariant(bool bSrc) {
  VariantInit(this);
  vt = VT_BOOL;
  boolVal = bSrc ? VARIANT_TRUE : VARIANT_FALSE;
}

COleVariant::COleVariant(float fltSrc) {
  VariantInit(this);
  vt = VT_R4;
  fltVal = fltSrc;
}

COleVariant::COleVariant(double dblSrc) {
  VariantInit(this);
  vt = VT_R8;
  dblVal = dblSrc;
}

COleVariant::COleVariant(const COleCurrency& curSrc) {
  VariantInit(this);
  vt = VT_CY;
  cyVal = curSrc.m_cur;
}

COleVariant::COleVariant(const COleDateTime& timeSrc) {
  VariantInit(this);
  vt = VT_DATE;
  date = timeSrc.m_dt;
}

COleVariant::COleVariant(const CByteArray& arrSrc) {
  VariantInit(this);
  SAFEARRAY* psa = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(arrSrc.GetSize()));
  if (!psa) AfxThrowMemoryException();
  if (arrSrc.GetSize() > 0) {
    void* data = nullptr;
    SafeArrayAccessData(psa, &data);
    memcpy(data, arrSrc.GetData(), static_cast<size_t>(arrSrc.GetSize()));
    SafeArrayUnaccessData(psa);
  }
  vt = VT_ARRAY | VT_UI1;
  parray = psa;
}

const COleVariant& COleVariant::operator=(const VARIANT& varSrc) {
  if (static_cast<const VARIANT*>(this) != &varSrc)
    AfxCheckError(VariantCopy(this, const_cast<VARIANT*>(&varSrc)));
  return *this;
}

const COleVariant& COleVariant::operator=(LPCWSTR lpszSrc) {
  SetString(lpszSrc, VT_BSTR);
  return *this;
}

const COleVariant& COleVariant::operator=(BYTE nSrc) {
  Clear();
  vt = VT_UI1;
  bVal = nSrc;
  return *this;
}

const COleVariant& COleVariant::operator=(short nSrc) {
  Clear();
  vt = VT_I2;
  iVal = nSrc;
  return *this;
}

const COleVariant& COleVariant::operator=(long lSrc) {
  Clear();
  vt = VT_I4;
  lVal = lSrc;
  return *this;
}

const COleVariant& COleVariant::operator=(float fltSrc) {
  Clear();
  vt = VT_R4;
  fltVal = fltSrc;
  return *this;
}

const COleVariant& COleVariant::operator=(double dblSrc) {
  Clear();
  vt = VT_R8;
  dblVal = dblSrc;
  return *this;
}

const COleVariant& COleVariant::operator=(const COleCurrency& curSrc) {
  Clear();
  vt = VT_CY;
  cyVal = curSrc.m_cur;
  return *this;
}

const COleVariant& COleVariant::operator=(const COleDateTime& dateSrc) {
  Clear();
  vt = VT_DATE;
  date = dateSrc.m_dt;
  return *this;
}

void COleVariant::SetString(LPCWSTR lpszSrc, VARTYPE vtSrc) {
  if (vtSrc != VT_BSTR) AfxThrowInvalidArgException();
  Clear();
  vt = VT_BSTR;
  bstrVal = SysAllocString(lpszSrc ? lpszSrc : L"");
  if (!bstrVal) {
    vt = VT_EMPTY;
    AfxThrowMemoryException();
  }
}

bool COleVariant::operator==(const VARIANT& varSrc) const {
  if (static_cast<const VARIANT*>(this) == &varSrc) return true;
  if (vt != varSrc.vt) return false;
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
      return true;
    case VT_BOOL:
      return boolVal == varSrc.boolVal;
    case VT_UI1:
      return bVal == varSrc.bVal;
    case VT_I2:
      return iVal == varSrc.iVal;
    case VT_I4:
      return lVal == varSrc.lVal;
    case VT_ERROR:
      return scode == varSrc.scode;
    case VT_CY:
      return cyVal.int64 == varSrc.cyVal.int64;
    case VT_R4:
      return fltVal == varSrc.fltVal;
    case VT_R8:
      return dblVal == varSrc.dblVal;
    case VT_DATE:
      return date == varSrc.date;
    case VT_BSTR:
      return SysStringByteLen(bstrVal) == SysStringByteLen(varSrc.bstrVal) &&
             memcmp(bstrVal, varSrc.bstrVal, SysStringByteLen(bstrVal)) == 0;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return punkVal == varSrc.punkVal;
    default:
      return false;
  }
}

void COleVariant::ChangeType(VARTYPE vartype, LPVARIANT pSrc) {
  if (pSrc == nullptr) pSrc = this;
  if (pSrc == this && vt == vartype) return;
  AfxCheckError(VariantChangeType(this, pSrc, 0, vartype));
}

void COleVariant::Attach(VARIANT& varSrc) {
  Clear();
  memcpy(static_cast<VARIANT*>(this), &varSrc, sizeof(VARIANT));
  varSrc.vt = VT_EMPTY;
}

VARIANT COleVariant::Detach() {
  VARIANT result;
  memcpy(&result, static_cast<VARIANT*>(this), sizeof(VARIANT));
  vt = VT_EMPTY;
  return result;
}

// ---- archive forms -------------------------------------------------------------------------------

CArchive& AFXAPI operator<<(CArchive& ar, COleVariant varSrc) {
  ar << static_cast<WORD>(varSrc.vt);
  switch (varSrc.vt) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_BOOL:
      ar << static_cast<WORD>(varSrc.boolVal);
      break;
    case VT_UI1:
      ar << varSrc.bVal;
      break;
    case VT_I2:
      ar << static_cast<WORD>(varSrc.iVal);
      break;
    case VT_I4:
      ar << varSrc.lVal;
      break;
    case VT_ERROR:
      ar << static_cast<LONG>(varSrc.scode);
      break;
    case VT_CY:
      ar << static_cast<LONG>(varSrc.cyVal.Hi) << static_cast<DWORD>(varSrc.cyVal.Lo);
      break;
    case VT_R4:
      ar << varSrc.fltVal;
      break;
    case VT_R8:
      ar << varSrc.dblVal;
      break;
    case VT_DATE:
      ar << varSrc.date;
      break;
    case VT_BSTR: {
      DWORD nLen = SysStringByteLen(varSrc.bstrVal);
      ar << nLen;
      if (nLen) ar.Write(varSrc.bstrVal, nLen);
      break;
    }
    default:
      // Interfaces, arrays and references have no archive form here.
      AfxThrowNotSupportedException();
  }
  return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& varSrc) {
  varSrc.Clear();
  WORD type = 0;
  ar >> type;
  switch (type) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_BOOL: {
      WORD w = 0;
      ar >> w;
      varSrc.boolVal = static_cast<VARIANT_BOOL>(w);
      break;
    }
    case VT_UI1:
      ar >> varSrc.bVal;
      break;
    case VT_I2: {
      WORD w = 0;
      ar >> w;
      varSrc.iVal = static_cast<SHORT>(w);
      break;
    }
    case VT_I4:
      ar >> varSrc.lVal;
      break;
    case VT_ERROR: {
      LONG l = 0;
      ar >> l;
      varSrc.scode = l;
      break;
    }
    case VT_CY: {
      LONG hi = 0;
      DWORD lo = 0;
      ar >> hi >> lo;
      varSrc.cyVal.Hi = hi;
      varSrc.cyVal.Lo = lo;
      break;
    }
    case VT_R4:
      ar >> varSrc.fltVal;
      break;
    case VT_R8:
      ar >> varSrc.dblVal;
      break;
    case VT_DATE:
      ar >> varSrc.date;
      break;
    case VT_BSTR: {
      DWORD nLen = 0;
      ar >> nLen;
      // Read in slices first: a garbled length must end at the archive's end.
      std::vector<BYTE> bytes;
      BYTE chunk[4096];
      while (nLen > 0) {
        UINT n = nLen < sizeof(chunk) ? nLen : static_cast<UINT>(sizeof(chunk));
        ar.EnsureRead(chunk, n);
        bytes.insert(bytes.end(), chunk, chunk + n);
        nLen -= n;
      }
      BSTR b = SysAllocStringByteLen(bytes.empty() ? nullptr : reinterpret_cast<LPCSTR>(bytes.data()),
                                     static_cast<UINT>(bytes.size()));
      if (!b) AfxThrowMemoryException();
      varSrc.bstrVal = b;
      break;
    }
    default:
      AfxThrowArchiveException(CArchiveException::genericException);
  }
  varSrc.vt = type;
  return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, COleCurrency curSrc) {
  ar << static_cast<LONG>(curSrc.m_status);
  ar << static_cast<LONG>(curSrc.m_cur.Hi);
  return ar << static_cast<DWORD>(curSrc.m_cur.Lo);
}

CArchive& AFXAPI operator>>(CArchive& ar, COleCurrency& curSrc) {
  LONG status = 0, hi = 0;
  DWORD lo = 0;
  ar >> status >> hi >> lo;
  if (status < COleCurrency::valid || status > COleCurrency::null)
    AfxThrowArchiveException(CArchiveException::genericException);
  curSrc.m_status = static_cast<COleCurrency::CurrencyStatus>(status);
  curSrc.m_cur.Hi = hi;
  curSrc.m_cur.Lo = lo;
  return ar;
}
