// The property exchange: one direction-aware interface through which every persistent toolkit object
// loads and saves its named, typed values (the same DoPropExchange code does both), with back ends
// over a framework archive and over a registry key.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

// Type codes of exchanged values besides the automation ones (VT_I2, VT_I4, VT_R4, VT_R8, VT_CY,
// VT_DATE, VT_BSTR, VT_BOOL, VT_VARIANT, VT_UI1 and VT_LPSTR, which stands for a CString).
#define VT_EX_RECT 100  // RECT
#define VT_EX_SIZE 101  // SIZE or POINT

// The schema that objects test to decide which values a store holds.
#define _XTP_SCHEMA_CURRENT 16

// Counts, strings and blobs read from a store are refused beyond these bounds: a damaged or hostile
// store gives FALSE, never a huge allocation.
#define XTP_PROPEXCHANGE_MAX_COUNT 65536
#define XTP_PROPEXCHANGE_MAX_VALUE_BYTES (4 * 1024 * 1024)

class CXTPPropItemEnumerator;

// Exchanges are reference-counted command targets: the creator holds one reference and releases it
// (InternalRelease). User-interface thread only. Operations report FALSE rather than throw, except
// that archive reads past the end raise the framework's CArchiveException* to the caller.
class CXTPPropExchange : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPPropExchange)

 public:
  CXTPPropExchange();

  BOOL IsLoading() const { return m_bLoading; }
  BOOL IsStoring() const { return !m_bLoading; }
  UINT GetSchema() const { return m_nSchema; }
  void SetSchema(UINT nSchema) { m_nSchema = nSchema; }
  BOOL IsRootSection() const { return !m_bChildSection; }
  void UseDefaultOnLoad(BOOL bUseDefaultOnLoad = TRUE) { m_bUseDefaultOnLoad = bUseDefaultOnLoad; }
  void UseDefaultOnSave(BOOL bUseDefaultOnSave = TRUE) { m_bUseDefaultOnSave = bUseDefaultOnSave; }

  // pvProp points to a value of the type vtProp names; pvDefault to one of the same type, or NULL.
  virtual BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                            const void* pvDefault = nullptr) = 0;
  // Loading into a NULL buffer allocates one with malloc (the caller frees it) and sets nBytes;
  // a caller's buffer smaller than the stored bytes fails and stays untouched.
  virtual BOOL ExchangeBlob(LPCTSTR pszPropName, void*& pvData, DWORD& nBytes);
  // The class by name; a missing value gives the default class, an unknown name none (FALSE).
  virtual BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                    CRuntimeClass* pDefaultClass);
  // Saving stores the object's class under "Class"; loading creates an object of the stored class,
  // which must derive from pObjectRuntime.
  virtual BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime);
  // An archive over the blob pszPropName (NULL on failure); give it back with ReleaseArchive.
  virtual CArchive* GetArchive(LPCTSTR pszPropName);
  virtual void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive);
  // A new exchange for a named sub-section; the caller releases it.
  virtual CXTPPropExchange* GetSection(LPCTSTR pszSection) = 0;
  // Removes the section's stored contents before saving it anew.
  virtual void EmptySection();
  virtual void WriteCount(DWORD dwCount);
  // Counts beyond XTP_PROPEXCHANGE_MAX_COUNT read as 0.
  virtual DWORD ReadCount();
  // Raw bytes in call order; the base stores them as the blob "Data".
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual BOOL IsAllowDefaultValues();
  virtual BOOL IsAllowBlobValues();
  virtual BOOL OnBeforeExchange();
  // A new enumerator of numbered sub-sections pszSection0, pszSection1, ...; the caller releases it.
  virtual CXTPPropItemEnumerator* GetEnumerator(LPCTSTR pszSection);

  // Whether a value equals its default (no default never equals), and copying a default into a
  // value (FALSE without one).
  static BOOL PASCAL IsSamePropValue(VARTYPE vtProp, const void* pv1, const void* pv2);
  static BOOL PASCAL CopyPropValue(VARTYPE vtProp, void* pvDest, const void* pvSrc);

  void* m_dwData = nullptr;  // the caller's own parameter

 protected:
  // Bytes of the plain value types (integers, floats, currency, rectangles, sizes); 0 for the others.
  static UINT PASCAL GetPropSize(VARTYPE vtProp);
  // A section takes its parent's schema, user parameter, emptied flag and default flags.
  void InitSection(const CXTPPropExchange* pParent);

  BOOL m_bLoading = FALSE;
  UINT m_nSchema = _XTP_SCHEMA_CURRENT;
  BOOL m_bChildSection = FALSE;
  BOOL m_bEmptySection = FALSE;
  BOOL m_bInitialized = FALSE;
  BOOL m_bUseDefaultOnLoad = TRUE;
  BOOL m_bUseDefaultOnSave = TRUE;
};

// Releases an exchange section when it goes out of scope.
class CXTPPropExchangeSection {
 public:
  CXTPPropExchangeSection(CXTPPropExchange* pPX, LPCTSTR pszSection) : m_pPX(pPX->GetSection(pszSection)) {}
  explicit CXTPPropExchangeSection(CXTPPropExchange* pSection) : m_pPX(pSection) {}
  ~CXTPPropExchangeSection() {
    if (m_pPX != nullptr) m_pPX->InternalRelease();
  }
  CXTPPropExchangeSection(const CXTPPropExchangeSection&) = delete;
  CXTPPropExchangeSection& operator=(const CXTPPropExchangeSection&) = delete;
  CXTPPropExchange* operator->() const { return m_pPX; }
  CXTPPropExchange* GetPX() const { return m_pPX; }
  operator CXTPPropExchange*() const { return m_pPX; }

 private:
  CXTPPropExchange* m_pPX;
};

BOOL AFXAPI PropExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue);
BOOL AFXAPI PropExchangeLong(CXTPPropExchange* pPX, LPCTSTR pszPropName, long& nValue, long nDefault);
BOOL AFXAPI PropExchangeBool(CXTPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault);
BOOL AFXAPI PropExchangeString(CXTPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue,
                               LPCTSTR lpszDefault = nullptr);
BOOL AFXAPI PropExchangeSize(CXTPPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue, int cxDefault,
                             int cyDefault);
BOOL AFXAPI PropExchangeRect(CXTPPropExchange* pPX, LPCTSTR pszPropName, RECT& rcValue, int nDefaultLeft,
                             int nDefaultTop, int nDefaultRight, int nDefaultBottom);
BOOL AFXAPI PropExchangeRuntimeObject(CXTPPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                      CRuntimeClass* pDefaultClass);
BOOL AFXAPI PropExchangeBlob(CXTPPropExchange* pPX, LPCTSTR pszPropName, void*& pvData, DWORD& nBytes);
// The object's Serialize over GetArchive(pszPropName); an archive or OLE exception gives FALSE.
BOOL AFXAPI PropExchangeSerialize(CXTPPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject);
