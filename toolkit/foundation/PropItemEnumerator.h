// Numbered sub-sections of an exchange: item0, item1, ... with their count stored beside them.
#pragma once

#include "PropExchange.h"

class CXTPPropItemEnumerator : public CCmdTarget {
 public:
  // Holds a reference to the exchange for its own lifetime.
  CXTPPropItemEnumerator(CXTPPropExchange* pContainer, LPCTSTR lpszSection);
  ~CXTPPropItemEnumerator() override;

  // Exchanges the count (dwCount is the number to store when saving) as the 32-bit "Count", or with
  // WriteCount/ReadCount when bCompactMode; a position when there is at least one item. A loaded
  // count that is negative or beyond XTP_PROPEXCHANGE_MAX_COUNT counts as none.
  POSITION GetPosition(DWORD dwCount = 0, BOOL bCompactMode = FALSE);
  // The next item's section (the caller releases it); pos becomes NULL after the last one.
  CXTPPropExchange* GetNext(POSITION& pos);
  // The last loaded count was out of range (negative or beyond the bound): the store is damaged,
  // which a caller that replaces what it has must tell apart from an empty list.
  BOOL IsCountRefused() const { return m_bCountRefused; }

 private:
  CXTPPropExchange* m_pContainer;
  CString m_strSectionName;
  DWORD m_nCount = 0;
  BOOL m_bCountRefused = FALSE;
};

// Releases an enumerator when it goes out of scope.
class CXTPPropExchangeEnumeratorPtr {
 public:
  explicit CXTPPropExchangeEnumeratorPtr(CXTPPropItemEnumerator* pEnumerator) : m_pEnumerator(pEnumerator) {}
  ~CXTPPropExchangeEnumeratorPtr() {
    if (m_pEnumerator != nullptr) m_pEnumerator->InternalRelease();
  }
  CXTPPropExchangeEnumeratorPtr(const CXTPPropExchangeEnumeratorPtr&) = delete;
  CXTPPropExchangeEnumeratorPtr& operator=(const CXTPPropExchangeEnumeratorPtr&) = delete;
  CXTPPropItemEnumerator* operator->() const { return m_pEnumerator; }

 private:
  CXTPPropItemEnumerator* m_pEnumerator;
};
