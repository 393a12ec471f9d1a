// Enumeration of numbered exchange sections.
#include "PropItemEnumerator.h"

CXTPPropItemEnumerator::CXTPPropItemEnumerator(CXTPPropExchange* pContainer, LPCTSTR lpszSection)
    : m_pContainer(pContainer), m_strSectionName(lpszSection) {
  m_pContainer->InternalAddRef();
}

CXTPPropItemEnumerator::~CXTPPropItemEnumerator() { m_pContainer->InternalRelease(); }

POSITION CXTPPropItemEnumerator::GetPosition(DWORD dwCount, BOOL bCompactMode) {
  m_nCount = dwCount;
  m_bCountRefused = FALSE;
  if (bCompactMode) {
    if (m_pContainer->IsStoring()) {
      m_pContainer->WriteCount(dwCount);
    } else {
      m_nCount = m_pContainer->ReadCount();
    }
  } else {
    long nCount = static_cast<long>(dwCount);
    const long nDefault = 0;
    m_pContainer->ExchangeProp(_T("Count"), VT_I4, &nCount, &nDefault);
    m_bCountRefused = m_pContainer->IsLoading() && (nCount < 0 || nCount > XTP_PROPEXCHANGE_MAX_COUNT);
    m_nCount = nCount > 0 && nCount <= XTP_PROPEXCHANGE_MAX_COUNT ? static_cast<DWORD>(nCount) : 0;
  }
  if (m_nCount > XTP_PROPEXCHANGE_MAX_COUNT) m_nCount = 0;
  return m_nCount > 0 ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1)) : nullptr;
}

CXTPPropExchange* CXTPPropItemEnumerator::GetNext(POSITION& pos) {
  const UINT_PTR nPosition = reinterpret_cast<UINT_PTR>(pos);
  CString strSection;
  strSection.Format(_T("%s%i"), static_cast<LPCTSTR>(m_strSectionName), static_cast<int>(nPosition - 1));
  CXTPPropExchange* pSection = m_pContainer->GetSection(strSection);
  pos = nPosition < m_nCount ? reinterpret_cast<POSITION>(nPosition + 1) : nullptr;
  return pSection;
}
