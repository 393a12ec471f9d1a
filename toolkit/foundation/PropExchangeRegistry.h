// The exchange over a registry key: one named value per property, sections as sub-keys.
#pragma once

#include "PropExchange.h"

class CXTPPropExchangeRegistry : public CXTPPropExchange {
  DECLARE_DYNAMIC(CXTPPropExchangeRegistry)

 public:
  // The sub-key lpszSection of hParentKey is opened (loading) or created (saving) on the first
  // exchange. The parent key stays its opener's; the exchange closes its own key when destroyed.
  CXTPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection);
  ~CXTPPropExchangeRegistry() override;

  // Integers, booleans and bytes are REG_DWORD, floats REG_BINARY, strings, rectangles ("%i, %i,
  // %i, %i") and sizes ("%i, %i") REG_SZ. A value equal to its default is not stored (an existing one
  // is deleted); a missing value loads as the default. A value of the wrong kind or size loads as
  // the default and gives FALSE.
  BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                    const void* pvDefault = nullptr) override;
  // REG_BINARY.
  BOOL ExchangeBlob(LPCTSTR pszPropName, void*& pvData, DWORD& nBytes) override;
  CXTPPropExchange* GetSection(LPCTSTR pszSection) override;
  // Deletes the sub-key with everything in it; the next exchange creates it again.
  void EmptySection() override;
  BOOL IsAllowBlobValues() override;
  BOOL OnBeforeExchange() override;

 private:
  // Bytes of the types stored as REG_DWORD; 0 for the others.
  static UINT PASCAL IntegerSize(VARTYPE vtProp) {
    return vtProp == VT_UI1 || vtProp == VT_I2 || vtProp == VT_I4 || vtProp == VT_BOOL ? GetPropSize(vtProp)
                                                                                       : 0;
  }
  void CloseKey();
  // Reads a REG_SZ value: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when missing, another code when damaged.
  LONG ReadString(LPCTSTR pszPropName, CString& strValue);
  LONG ReadBinary(LPCTSTR pszPropName, void* pvData, DWORD nBytes);

  HKEY m_hSectionKey = nullptr;
  HKEY m_hParentKey;
  CString m_strSectionName;
};
