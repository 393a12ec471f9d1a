// Archive back end of the property exchange.
#include "PropExchangeArchive.h"

#include <cstdlib>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CXTPPropExchangeArchive, CXTPPropExchange)

namespace {

template <class T>
void Exchange(CArchive& ar, void* pvProp) {
  if (ar.IsLoading()) {
    ar.EnsureRead(pvProp, sizeof(T));
  } else {
    ar.Write(pvProp, sizeof(T));
  }
}

// Garbled class references become FALSE; running out of archive stays the caller's exception.
BOOL Refused(CException* e) {
  CArchiveException* pArchive = dynamic_cast<CArchiveException*>(e);
  if (pArchive != nullptr && pArchive->m_cause == CArchiveException::endOfFile) throw e;
  e->Delete();
  return FALSE;
}

}  // namespace

CXTPPropExchangeArchive::CXTPPropExchangeArchive(CArchive& ar) : m_ar(ar) { m_bLoading = ar.IsLoading(); }

BOOL CXTPPropExchangeArchive::ExchangeProp(LPCTSTR, VARTYPE vtProp, void* pvProp, const void*) {
  if (!OnBeforeExchange()) return FALSE;
  switch (vtProp) {
    case VT_UI1:
      Exchange<BYTE>(m_ar, pvProp);
      break;
    case VT_I2:
      Exchange<short>(m_ar, pvProp);
      break;
    case VT_I4:
    case VT_BOOL:
      Exchange<LONG>(m_ar, pvProp);
      break;
    case VT_R4:
      Exchange<float>(m_ar, pvProp);
      break;
    case VT_R8:
      Exchange<double>(m_ar, pvProp);
      break;
    case VT_CY:
      Exchange<CY>(m_ar, pvProp);
      break;
    case VT_EX_RECT:
      Exchange<RECT>(m_ar, pvProp);
      break;
    case VT_EX_SIZE:
      Exchange<SIZE>(m_ar, pvProp);
      break;
    case VT_DATE:
      if (m_ar.IsLoading()) {
        m_ar >> *static_cast<COleDateTime*>(pvProp);
      } else {
        m_ar << *static_cast<COleDateTime*>(pvProp);
      }
      break;
    case VT_VARIANT:
      if (m_ar.IsLoading()) {
        m_ar >> *static_cast<COleVariant*>(pvProp);
      } else {
        m_ar << *static_cast<COleVariant*>(pvProp);
      }
      break;
    case VT_LPSTR:
      if (m_ar.IsLoading()) {
        m_ar >> *static_cast<CString*>(pvProp);
      } else {
        m_ar << *static_cast<CString*>(pvProp);
      }
      break;
    default:
      break;
  }
  return TRUE;
}

BOOL CXTPPropExchangeArchive::ExchangeBlob(LPCTSTR, void*& pvData, DWORD& nBytes) {
  if (IsStoring()) {
    m_ar.WriteCount(nBytes);
    if (nBytes > 0) m_ar.Write(pvData, nBytes);
    return TRUE;
  }
  const DWORD_PTR nStored = m_ar.ReadCount();
  if (pvData != nullptr) {
    if (nBytes < nStored) return FALSE;
    if (m_ar.Read(pvData, static_cast<UINT>(nStored)) != nStored) return FALSE;
    nBytes = static_cast<DWORD>(nStored);
    return TRUE;
  }
  // Read in slices: a damaged count ends at the archive's end, not in a huge allocation.
  std::vector<BYTE> bytes;
  const DWORD_PTR kSlice = 64 * 1024;
  while (bytes.size() < nStored) {
    const size_t nOld = bytes.size();
    const size_t nWant = static_cast<size_t>(nStored - nOld < kSlice ? nStored - nOld : kSlice);
    bytes.resize(nOld + nWant);
    if (m_ar.Read(bytes.data() + nOld, static_cast<UINT>(nWant)) != nWant) return FALSE;
  }
  pvData = malloc(bytes.empty() ? 1 : bytes.size());
  if (pvData == nullptr) return FALSE;
  if (!bytes.empty()) memcpy(pvData, bytes.data(), bytes.size());
  nBytes = static_cast<DWORD>(bytes.size());
  return TRUE;
}

BOOL CXTPPropExchangeArchive::ExchangeRuntimeClass(LPCTSTR, CRuntimeClass*& pClass, CRuntimeClass*) {
  try {
    if (IsStoring()) {
      if (pClass == nullptr) return FALSE;
      m_ar.WriteClass(pClass);
      return TRUE;
    }
    pClass = m_ar.ReadClass();
    return pClass != nullptr;
  } catch (CException* e) {
    return Refused(e);
  }
}

BOOL CXTPPropExchangeArchive::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime) {
  try {
    if (IsStoring()) {
      if (pObject == nullptr) return FALSE;
      m_ar.WriteClass(pObject->GetRuntimeClass());
      m_ar.MapObject(pObject);
      return TRUE;
    }
    CRuntimeClass* pClass = m_ar.ReadClass(pObjectRuntime);
    if (pClass == nullptr) return FALSE;
    CObject* pNew = pClass->CreateObject();
    if (pNew == nullptr) return FALSE;
    m_ar.MapObject(pNew);
    pObject = pNew;
    return TRUE;
  } catch (CException* e) {
    return Refused(e);
  }
}

CArchive* CXTPPropExchangeArchive::GetArchive(LPCTSTR) { return &m_ar; }

void CXTPPropExchangeArchive::ReleaseArchive(LPCTSTR, CArchive*) {}

CXTPPropExchange* CXTPPropExchangeArchive::GetSection(LPCTSTR) {
  CXTPPropExchangeArchive* pSection = new CXTPPropExchangeArchive(m_ar);
  pSection->InitSection(this);
  return pSection;
}

void CXTPPropExchangeArchive::WriteCount(DWORD dwCount) { m_ar.WriteCount(dwCount); }

DWORD CXTPPropExchangeArchive::ReadCount() {
  DWORD_PTR nCount = m_ar.ReadCount();
  if (nCount > XTP_PROPEXCHANGE_MAX_COUNT) AfxThrowArchiveException(CArchiveException::badIndex);
  return static_cast<DWORD>(nCount);
}

void CXTPPropExchangeArchive::Write(const void* lpBuf, UINT nCount) { m_ar.Write(lpBuf, nCount); }

UINT CXTPPropExchangeArchive::Read(void* lpBuf, UINT nCount) { return m_ar.Read(lpBuf, nCount); }

BOOL CXTPPropExchangeArchive::IsAllowDefaultValues() { return FALSE; }

BOOL CXTPPropExchangeArchive::IsAllowBlobValues() { return TRUE; }
