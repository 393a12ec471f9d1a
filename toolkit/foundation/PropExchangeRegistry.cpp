// Registry back end of the property exchange.
#include "PropExchangeRegistry.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CXTPPropExchangeRegistry, CXTPPropExchange)

CXTPPropExchangeRegistry::CXTPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection)
    : m_hParentKey(hParentKey), m_strSectionName(lpszSection) {
  m_bLoading = bLoading;
}

CXTPPropExchangeRegistry::~CXTPPropExchangeRegistry() { CloseKey(); }

void CXTPPropExchangeRegistry::CloseKey() {
  if (m_hSectionKey != nullptr) ::RegCloseKey(m_hSectionKey);
  m_hSectionKey = nullptr;
}

BOOL CXTPPropExchangeRegistry::OnBeforeExchange() {
  if (m_hParentKey == nullptr) return FALSE;
  if (!m_bInitialized) {
    m_bInitialized = TRUE;
    if (IsLoading()) {
      if (::RegOpenKeyExW(m_hParentKey, m_strSectionName, 0, KEY_READ, &m_hSectionKey) != ERROR_SUCCESS)
        m_hSectionKey = nullptr;
    } else {
      DWORD dwDisposition = 0;
      if (::RegCreateKeyExW(m_hParentKey, m_strSectionName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                            nullptr, &m_hSectionKey, &dwDisposition) != ERROR_SUCCESS)
        m_hSectionKey = nullptr;
    }
  }
  return m_hSectionKey != nullptr;
}

LONG CXTPPropExchangeRegistry::ReadString(LPCTSTR pszPropName, CString& strValue) {
  DWORD dwType = 0, cbData = 0;
  LONG lResult = ::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, nullptr, &cbData);
  if (lResult != ERROR_SUCCESS) return lResult;
  if ((dwType != REG_SZ && dwType != REG_EXPAND_SZ) || cbData > XTP_PROPEXCHANGE_MAX_VALUE_BYTES)
    return ERROR_INVALID_DATA;
  // Room for a terminator the stored value may lack.
  const int nChars = static_cast<int>(cbData / sizeof(WCHAR));
  LPWSTR pBuffer = strValue.GetBuffer(nChars + 1);
  DWORD cbRead = cbData;
  lResult = ::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, reinterpret_cast<BYTE*>(pBuffer),
                               &cbRead);
  if (lResult != ERROR_SUCCESS || cbRead > cbData) {
    strValue.ReleaseBuffer(0);
    return lResult != ERROR_SUCCESS ? lResult : ERROR_INVALID_DATA;
  }
  pBuffer[cbRead / sizeof(WCHAR)] = 0;
  strValue.ReleaseBuffer(-1);
  return ERROR_SUCCESS;
}

LONG CXTPPropExchangeRegistry::ReadBinary(LPCTSTR pszPropName, void* pvData, DWORD nBytes) {
  DWORD dwType = 0, cbData = 0;
  LONG lResult = ::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, nullptr, &cbData);
  if (lResult != ERROR_SUCCESS) return lResult;
  if (dwType != REG_BINARY || cbData != nBytes) return ERROR_INVALID_DATA;
  return ::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, static_cast<BYTE*>(pvData),
                            &cbData);
}

BOOL CXTPPropExchangeRegistry::ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                                            const void* pvDefault) {
  if (IsLoading()) {
    if (!m_bUseDefaultOnLoad) pvDefault = nullptr;
    if (!OnBeforeExchange()) return CopyPropValue(vtProp, pvProp, pvDefault);
    LONG lResult = ERROR_INVALID_DATA;
    if (UINT nSize = IntegerSize(vtProp)) {
      DWORD dwType = 0, dwValue = 0, cbData = sizeof(dwValue);
      lResult = ::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType,
                                   reinterpret_cast<BYTE*>(&dwValue), &cbData);
      if (lResult == ERROR_SUCCESS && (dwType != REG_DWORD || cbData != sizeof(DWORD)))
        lResult = ERROR_INVALID_DATA;
      if (lResult == ERROR_MORE_DATA) lResult = ERROR_INVALID_DATA;
      if (lResult == ERROR_SUCCESS) memcpy(pvProp, &dwValue, nSize);
    } else if (vtProp == VT_R4 || vtProp == VT_R8) {
      lResult = ReadBinary(pszPropName, pvProp, vtProp == VT_R4 ? 4 : 8);
    } else if (vtProp == VT_LPSTR || vtProp == VT_EX_RECT || vtProp == VT_EX_SIZE) {
      CString strValue;
      lResult = ReadString(pszPropName, strValue);
      if (lResult == ERROR_SUCCESS) {
        if (vtProp == VT_LPSTR) {
          *static_cast<CString*>(pvProp) = strValue;
        } else if (vtProp == VT_EX_RECT) {
          RECT rc = {};
          if (swscanf(strValue, L"%li, %li, %li, %li", &rc.left, &rc.top, &rc.right, &rc.bottom) == 4) {
            *static_cast<RECT*>(pvProp) = rc;
          } else {
            lResult = ERROR_FILE_NOT_FOUND;  // a malformed rectangle loads as the default
          }
        } else {
          SIZE sz = {};
          if (swscanf(strValue, L"%li, %li", &sz.cx, &sz.cy) == 2) {
            *static_cast<SIZE*>(pvProp) = sz;
          } else {
            lResult = ERROR_FILE_NOT_FOUND;
          }
        }
      }
    } else {
      return FALSE;
    }
    if (lResult == ERROR_SUCCESS) return TRUE;
    const BOOL bCopied = CopyPropValue(vtProp, pvProp, pvDefault);
    return lResult == ERROR_FILE_NOT_FOUND && bCopied;
  }

  if (!m_bUseDefaultOnSave) pvDefault = nullptr;
  if (!OnBeforeExchange()) return FALSE;
  if (pvDefault != nullptr && IsSamePropValue(vtProp, pvProp, pvDefault)) {
    if (!m_bEmptySection) ::RegDeleteValueW(m_hSectionKey, pszPropName);
    return TRUE;
  }
  LONG lResult = ERROR_INVALID_PARAMETER;
  if (UINT nSize = IntegerSize(vtProp)) {
    DWORD dwValue = 0;
    memcpy(&dwValue, pvProp, nSize);
    lResult = ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
  } else if (vtProp == VT_R4 || vtProp == VT_R8) {
    lResult = ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_BINARY, static_cast<const BYTE*>(pvProp),
                               vtProp == VT_R4 ? 4 : 8);
  } else if (vtProp == VT_LPSTR || vtProp == VT_EX_RECT || vtProp == VT_EX_SIZE) {
    CString strValue;
    if (vtProp == VT_LPSTR) {
      strValue = *static_cast<const CString*>(pvProp);
    } else if (vtProp == VT_EX_RECT) {
      const RECT* pRect = static_cast<const RECT*>(pvProp);
      strValue.Format(_T("%i, %i, %i, %i"), static_cast<int>(pRect->left), static_cast<int>(pRect->top),
                      static_cast<int>(pRect->right), static_cast<int>(pRect->bottom));
    } else {
      const SIZE* pSize = static_cast<const SIZE*>(pvProp);
      strValue.Format(_T("%i, %i"), static_cast<int>(pSize->cx), static_cast<int>(pSize->cy));
    }
    lResult = ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(strValue)),
                               static_cast<DWORD>((strValue.GetLength() + 1) * sizeof(WCHAR)));
  }
  return lResult == ERROR_SUCCESS;
}

BOOL CXTPPropExchangeRegistry::ExchangeBlob(LPCTSTR pszPropName, void*& pvData, DWORD& nBytes) {
  if (!OnBeforeExchange()) return FALSE;
  if (IsStoring()) {
    return ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_BINARY, static_cast<const BYTE*>(pvData),
                            nBytes) == ERROR_SUCCESS;
  }
  DWORD dwType = 0, cbData = 0;
  if (::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS)
    return FALSE;
  if (dwType != REG_BINARY || cbData > XTP_PROPEXCHANGE_MAX_VALUE_BYTES) return FALSE;
  if (pvData != nullptr && nBytes < cbData) return FALSE;
  void* pvTarget = pvData != nullptr ? pvData : malloc(cbData > 0 ? cbData : 1);
  if (pvTarget == nullptr) return FALSE;
  DWORD cbRead = cbData;
  if (::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, static_cast<BYTE*>(pvTarget),
                         &cbRead) != ERROR_SUCCESS ||
      cbRead != cbData) {
    if (pvTarget != pvData) free(pvTarget);
    return FALSE;
  }
  pvData = pvTarget;
  nBytes = cbData;
  return TRUE;
}

CXTPPropExchange* CXTPPropExchangeRegistry::GetSection(LPCTSTR pszSection) {
  OnBeforeExchange();
  CXTPPropExchangeRegistry* pSection = new CXTPPropExchangeRegistry(IsLoading(), m_hSectionKey, pszSection);
  pSection->InitSection(this);
  return pSection;
}

void CXTPPropExchangeRegistry::EmptySection() {
  CXTPPropExchange::EmptySection();
  CloseKey();
  if (m_hParentKey != nullptr && IsStoring()) {
    ::RegDeleteTreeW(m_hParentKey, m_strSectionName);
    ::RegDeleteKeyW(m_hParentKey, m_strSectionName);
  }
  m_bInitialized = FALSE;
}

BOOL CXTPPropExchangeRegistry::IsAllowBlobValues() { return TRUE; }
