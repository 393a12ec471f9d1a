// The exchange's common behaviour: value comparison and copying, blobs as text, classes by name,
// archives over blobs, counts and the plain exchange functions.
#include "PropExchange.h"

#include <cstdlib>
#include <cstring>

#include "PropItemEnumerator.h"

IMPLEMENT_DYNAMIC(CXTPPropExchange, CCmdTarget)

CXTPPropExchange::CXTPPropExchange() = default;

UINT PASCAL CXTPPropExchange::GetPropSize(VARTYPE vtProp) {
  switch (vtProp) {
    case VT_UI1:
      return 1;
    case VT_I2:
      return 2;
    case VT_I4:
    case VT_R4:
    case VT_BOOL:
      return 4;
    case VT_R8:
    case VT_CY:
    case VT_EX_SIZE:
      return 8;
    case VT_EX_RECT:
      return 16;
    default:
      return 0;
  }
}

void CXTPPropExchange::InitSection(const CXTPPropExchange* pParent) {
  m_nSchema = pParent->m_nSchema;
  m_dwData = pParent->m_dwData;
  m_bEmptySection = pParent->m_bEmptySection;
  m_bUseDefaultOnLoad = pParent->m_bUseDefaultOnLoad;
  m_bUseDefaultOnSave = pParent->m_bUseDefaultOnSave;
  m_bChildSection = TRUE;
}

BOOL PASCAL CXTPPropExchange::IsSamePropValue(VARTYPE vtProp, const void* pv1, const void* pv2) {
  if (pv1 == nullptr || pv2 == nullptr) return FALSE;
  if (UINT nSize = GetPropSize(vtProp)) return memcmp(pv1, pv2, nSize) == 0;
  switch (vtProp) {
    case VT_DATE: {
      const COleDateTime* p1 = static_cast<const COleDateTime*>(pv1);
      const COleDateTime* p2 = static_cast<const COleDateTime*>(pv2);
      return p1->m_dt == p2->m_dt && p1->m_status == p2->m_status;
    }
    case VT_BSTR: {
      BSTR b1 = *static_cast<const BSTR*>(pv1), b2 = *static_cast<const BSTR*>(pv2);
      return wcscmp(b1 != nullptr ? b1 : L"", b2 != nullptr ? b2 : L"") == 0;
    }
    case VT_LPSTR:
      return static_cast<const CString*>(pv1)->Compare(*static_cast<const CString*>(pv2)) == 0;
    case VT_VARIANT:
      return *static_cast<const COleVariant*>(pv1) == *static_cast<const VARIANT*>(pv2);
    default:
      return FALSE;
  }
}

BOOL PASCAL CXTPPropExchange::CopyPropValue(VARTYPE vtProp, void* pvDest, const void* pvSrc) {
  if (pvDest == nullptr || pvSrc == nullptr) return FALSE;
  if (UINT nSize = GetPropSize(vtProp)) {
    memcpy(pvDest, pvSrc, nSize);
    return TRUE;
  }
  switch (vtProp) {
    case VT_DATE:
      *static_cast<COleDateTime*>(pvDest) = *static_cast<const COleDateTime*>(pvSrc);
      return TRUE;
    case VT_BSTR: {
      BSTR* pDest = static_cast<BSTR*>(pvDest);
      BSTR bstrSrc = *static_cast<const BSTR*>(pvSrc);
      BSTR bstrNew = ::SysAllocString(bstrSrc != nullptr ? bstrSrc : L"");
      ::SysFreeString(*pDest);
      *pDest = bstrNew;
      return TRUE;
    }
    case VT_LPSTR:
      *static_cast<CString*>(pvDest) = *static_cast<const CString*>(pvSrc);
      return TRUE;
    case VT_VARIANT:
      return SUCCEEDED(::VariantCopy(static_cast<VARIANT*>(pvDest),
                                     const_cast<VARIANT*>(static_cast<const VARIANT*>(pvSrc))));
    default:
      return FALSE;
  }
}

BOOL CXTPPropExchange::ExchangeBlob(LPCTSTR pszPropName, void*& pvData, DWORD& nBytes) {
  CString strText;
  if (IsStoring()) {
    const BYTE* pBytes = static_cast<const BYTE*>(pvData);
    LPTSTR pText = strText.GetBuffer(static_cast<int>(nBytes * 2));
    for (DWORD i = 0; i < nBytes; ++i) {
      pText[i * 2] = static_cast<TCHAR>(_T('A') + (pBytes[i] & 0x0F));
      pText[i * 2 + 1] = static_cast<TCHAR>(_T('A') + (pBytes[i] >> 4));
    }
    strText.ReleaseBuffer(static_cast<int>(nBytes * 2));
    return ExchangeProp(pszPropName, VT_LPSTR, &strText);
  }
  if (!ExchangeProp(pszPropName, VT_LPSTR, &strText)) return FALSE;
  const int nLength = strText.GetLength();
  if (nLength < 0 || nLength % 2 != 0) return FALSE;
  const DWORD nStored = static_cast<DWORD>(nLength / 2);
  if (pvData == nullptr) {
    pvData = malloc(nStored > 0 ? nStored : 1);
    if (pvData == nullptr) return FALSE;
    nBytes = nStored;
  } else if (nBytes < nStored) {
    return FALSE;
  }
  BYTE* pBytes = static_cast<BYTE*>(pvData);
  for (DWORD i = 0; i < nStored; ++i) {
    pBytes[i] = static_cast<BYTE>(((strText[static_cast<int>(i * 2)] - _T('A')) & 0x0F) |
                                  (((strText[static_cast<int>(i * 2 + 1)] - _T('A')) & 0x0F) << 4));
  }
  nBytes = nStored;
  return TRUE;
}

BOOL CXTPPropExchange::ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                            CRuntimeClass* pDefaultClass) {
  CString strClassName, strDefault;
  if (pDefaultClass != nullptr) strDefault = CString(pDefaultClass->m_lpszClassName);
  const CString* pDefault = pDefaultClass != nullptr ? &strDefault : nullptr;
  if (IsStoring()) {
    if (pClass == nullptr) return FALSE;
    strClassName = CString(pClass->m_lpszClassName);
    return ExchangeProp(pszPropName, VT_LPSTR, &strClassName, pDefault);
  }
  if (!ExchangeProp(pszPropName, VT_LPSTR, &strClassName, pDefault)) return FALSE;
  pClass = CRuntimeClass::FromName(static_cast<LPCTSTR>(strClassName));
  return pClass != nullptr;
}

BOOL CXTPPropExchange::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime) {
  CRuntimeClass* pClass = nullptr;
  if (IsStoring()) {
    if (pObject == nullptr) return FALSE;
    pClass = pObject->GetRuntimeClass();
    return ExchangeRuntimeClass(_T("Class"), pClass, nullptr);
  }
  if (!ExchangeRuntimeClass(_T("Class"), pClass, nullptr) || pClass == nullptr) return FALSE;
  if (pObjectRuntime != nullptr && !pClass->IsDerivedFrom(pObjectRuntime)) return FALSE;
  CObject* pNew = nullptr;
  try {
    pNew = pClass->CreateObject();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  if (pNew == nullptr) return FALSE;
  pObject = pNew;
  return TRUE;
}

CArchive* CXTPPropExchange::GetArchive(LPCTSTR pszPropName) {
  CMemFile* pFile = nullptr;
  if (IsLoading()) {
    void* pvData = nullptr;
    DWORD nBytes = 0;
    if (!ExchangeBlob(pszPropName, pvData, nBytes)) {
      free(pvData);
      return nullptr;
    }
    pFile = new CMemFile(static_cast<BYTE*>(pvData), nBytes);
    return new CArchive(pFile, CArchive::load, 4096);
  }
  pFile = new CMemFile(1024);
  return new CArchive(pFile, CArchive::store);
}

void CXTPPropExchange::ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive) {
  if (pArchive == nullptr) return;
  CMemFile* pFile = static_cast<CMemFile*>(pArchive->GetFile());
  if (IsStoring()) {
    try {
      pArchive->Close();
    } catch (CException* e) {
      e->Delete();
      pArchive->Abort();
    }
    void* pvData = nullptr;
    DWORD nBytes = static_cast<DWORD>(pFile->GetLength());
    pvData = pFile->Detach();
    ExchangeBlob(pszPropName, pvData, nBytes);
    free(pvData);
  } else {
    pArchive->Abort();
    free(pFile->Detach());
  }
  delete pArchive;
  delete pFile;
}

void CXTPPropExchange::EmptySection() { m_bEmptySection = TRUE; }

void CXTPPropExchange::WriteCount(DWORD dwCount) {
  long nCount = static_cast<long>(dwCount);
  const long nDefault = 0;
  ExchangeProp(_T("Count"), VT_I4, &nCount, &nDefault);
}

DWORD CXTPPropExchange::ReadCount() {
  long nCount = 0;
  const long nDefault = 0;
  ExchangeProp(_T("Count"), VT_I4, &nCount, &nDefault);
  return nCount > 0 && nCount <= XTP_PROPEXCHANGE_MAX_COUNT ? static_cast<DWORD>(nCount) : 0;
}

void CXTPPropExchange::Write(const void* lpBuf, UINT nCount) {
  void* pvData = const_cast<void*>(lpBuf);
  DWORD nBytes = nCount;
  ExchangeBlob(_T("Data"), pvData, nBytes);
}

UINT CXTPPropExchange::Read(void* lpBuf, UINT nCount) {
  void* pvData = lpBuf;
  DWORD nBytes = nCount;
  return ExchangeBlob(_T("Data"), pvData, nBytes) ? nBytes : 0;
}

BOOL CXTPPropExchange::IsAllowDefaultValues() { return TRUE; }

BOOL CXTPPropExchange::IsAllowBlobValues() { return FALSE; }

BOOL CXTPPropExchange::OnBeforeExchange() {
  m_bInitialized = TRUE;
  return TRUE;
}

CXTPPropItemEnumerator* CXTPPropExchange::GetEnumerator(LPCTSTR pszSection) {
  return new CXTPPropItemEnumerator(this, pszSection);
}

// ---- plain exchange functions --------------------------------------------------------------------

BOOL AFXAPI PropExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue) {
  return pPX->ExchangeProp(pszPropName, VT_I4, &nValue);
}

BOOL AFXAPI PropExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue, long nDefault) {
  return pPX->ExchangeProp(pszPropName, VT_I4, &nValue, &nDefault);
}

BOOL AFXAPI PropExchangeBool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault) {
  return pPX->ExchangeProp(pszPropName, VT_BOOL, &bValue, &bDefault);
}

BOOL AFXAPI PropExchangeString(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue,
                               LPCTSTR lpszDefault) {
  if (lpszDefault == nullptr) return pPX->ExchangeProp(pszPropName, VT_LPSTR, &strValue);
  CString strDefault(lpszDefault);
  return pPX->ExchangeProp(pszPropName, VT_LPSTR, &strValue, &strDefault);
}

BOOL AFXAPI PropExchangeSize(CXTPPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue, int cxDefault,
                             int cyDefault) {
  SIZE szDefault = {cxDefault, cyDefault};
  return pPX->ExchangeProp(pszPropName, VT_EX_SIZE, &szValue, &szDefault);
}

BOOL AFXAPI PropExchangeRect(CXTPPropExchange* pPX, LPCTSTR pszPropName, RECT& rcValue, int nDefaultLeft,
                             int nDefaultTop, int nDefaultRight, int nDefaultBottom) {
  RECT rcDefault = {nDefaultLeft, nDefaultTop, nDefaultRight, nDefaultBottom};
  return pPX->ExchangeProp(pszPropName, VT_EX_RECT, &rcValue, &rcDefault);
}

BOOL AFXAPI PropExchangeRuntimeObject(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                      CRuntimeClass* pDefaultClass) {
  return pPX->ExchangeRuntimeClass(pszPropName, pClass, pDefaultClass);
}

BOOL AFXAPI PropExchangeBlob(CXTPPropExchange* pPX, LPCTSTR pszPropName, void*& pvData, DWORD& nBytes) {
  return pPX->ExchangeBlob(pszPropName, pvData, nBytes);
}

BOOL AFXAPI PropExchangeSerialize(CXTPPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject) {
  CArchive* pArchive = pPX->GetArchive(pszPropName);
  if (pArchive == nullptr) return FALSE;
  BOOL bResult = TRUE;
  try {
    pObject->Serialize(*pArchive);
  } catch (CException* e) {
    e->Delete();
    bResult = FALSE;
  }
  pPX->ReleaseArchive(pszPropName, pArchive);
  return bResult;
}
