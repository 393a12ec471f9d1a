// The exchange over a framework archive: values in call order without names or defaults.
#pragma once

#include "PropExchange.h"

class CXTPPropExchangeArchive : public CXTPPropExchange {
  DECLARE_DYNAMIC(CXTPPropExchangeArchive)

 public:
  // The archive is not owned; the exchange loads when it loads.
  explicit CXTPPropExchangeArchive(CArchive& ar);

  BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                    const void* pvDefault = nullptr) override;
  BOOL ExchangeBlob(LPCTSTR pszPropName, void*& pvData, DWORD& nBytes) override;
  // Class references and the object map of the archive itself; a garbled or unknown class gives FALSE.
  BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass,
                            CRuntimeClass* pDefaultClass) override;
  BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime) override;
  CArchive* GetArchive(LPCTSTR pszPropName) override;
  void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive) override;
  // Another exchange on the same archive; names are not stored.
  CXTPPropExchange* GetSection(LPCTSTR pszSection) override;
  void WriteCount(DWORD dwCount) override;
  // A count beyond XTP_PROPEXCHANGE_MAX_COUNT raises CArchiveException* (a damaged archive).
  DWORD ReadCount() override;
  void Write(const void* lpBuf, UINT nCount) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  BOOL IsAllowDefaultValues() override;
  BOOL IsAllowBlobValues() override;

 private:
  CArchive& m_ar;
};
