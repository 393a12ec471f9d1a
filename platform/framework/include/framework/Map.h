// CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>: a hash table with chained buckets (17 unless InitHashTable
// says otherwise). New entries go to the front of their bucket; GetStartPosition/GetNextAssoc walk
// the buckets in order.
#pragma once

#include "framework/CollectionHelpers.h"

#include <new>

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;  // the key's full hash, so a walk can move to the next bucket
    KEY key;
    VALUE value;
  };

 public:
  typedef KEY BASE_KEY;
  typedef ARG_KEY BASE_ARG_KEY;
  typedef VALUE BASE_VALUE;
  typedef ARG_VALUE BASE_ARG_VALUE;

  // The block size is kept for compatibility; entries are allocated one by one.
  explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    UINT nHash;
    CAssoc* assoc = GetAssocAt(key, nHash);
    if (!assoc) return FALSE;
    rValue = assoc->value;
    return TRUE;
  }
  // The value for key, added (value-initialised) when missing.
  VALUE& operator[](ARG_KEY key);
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key);
  void RemoveAll();

  POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
  // Returns the entry at rNextPosition and moves it on (NULL after the last entry). Removing other
  // entries during a walk is not supported; removing the one just returned is.
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

  UINT GetHashTableSize() const { return m_nHashTableSize; }
  // Sets the bucket count; takes effect only while the map is empty (entries would be lost).
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

  void Serialize(CArchive& ar) override;

 protected:
  CAssoc** m_pHashTable = nullptr;
  UINT m_nHashTableSize = 17;
  INT_PTR m_nCount = 0;
  INT_PTR m_nBlockSize;

  CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const {
    UINT full = HashKey(key);
    nHash = full % m_nHashTableSize;
    if (!m_pHashTable) return nullptr;
    for (CAssoc* a = m_pHashTable[nHash]; a; a = a->pNext) {
      if (CompareElements<KEY, std::remove_reference_t<ARG_KEY>>(&a->key, &key)) return a;
    }
    return nullptr;
  }
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow) {
  if (m_nCount != 0 || hashSize == 0) return;
  delete[] m_pHashTable;
  m_pHashTable = nullptr;
  if (bAllocNow) {
    m_pHashTable = new (std::nothrow) CAssoc*[hashSize]();
    if (!m_pHashTable) AfxThrowMemoryException();
  }
  m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
  UINT nHash;
  CAssoc* assoc = GetAssocAt(key, nHash);
  if (assoc) return assoc->value;
  if (!m_pHashTable) InitHashTable(m_nHashTableSize);
  void* p = ::operator new(sizeof(CAssoc), std::nothrow);
  if (!p) AfxThrowMemoryException();
  assoc = static_cast<CAssoc*>(p);
  try {
    new (&assoc->key) KEY(key);
  } catch (...) {
    ::operator delete(p);
    throw;
  }
  try {
    new (&assoc->value) VALUE();
  } catch (...) {
    assoc->key.~KEY();
    ::operator delete(p);
    throw;
  }
  assoc->nHashValue = HashKey(key);
  assoc->pNext = m_pHashTable[nHash];
  m_pHashTable[nHash] = assoc;
  ++m_nCount;
  return assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
  if (!m_pHashTable) return FALSE;
  UINT nHash = HashKey(key) % m_nHashTableSize;
  for (CAssoc** link = &m_pHashTable[nHash]; *link; link = &(*link)->pNext) {
    CAssoc* a = *link;
    if (CompareElements<KEY, std::remove_reference_t<ARG_KEY>>(&a->key, &key)) {
      *link = a->pNext;
      a->key.~KEY();
      a->value.~VALUE();
      ::operator delete(a);
      --m_nCount;
      return TRUE;
    }
  }
  return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
  if (m_pHashTable) {
    for (UINT i = 0; i < m_nHashTableSize; ++i) {
      CAssoc* a = m_pHashTable[i];
      while (a) {
        CAssoc* next = a->pNext;
        a->key.~KEY();
        a->value.~VALUE();
        ::operator delete(a);
        a = next;
      }
    }
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
  }
  m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                        VALUE& rValue) const {
  if (!m_pHashTable || rNextPosition == nullptr) AfxThrowInvalidArgException();
  CAssoc* assoc = reinterpret_cast<CAssoc*>(rNextPosition);
  if (rNextPosition == BEFORE_START_POSITION) {
    assoc = nullptr;
    for (UINT b = 0; b < m_nHashTableSize && !assoc; ++b) assoc = m_pHashTable[b];
    if (!assoc) AfxThrowInvalidArgException();
  }
  CAssoc* next = assoc->pNext;
  if (!next) {
    for (UINT b = (assoc->nHashValue % m_nHashTableSize) + 1; b < m_nHashTableSize && !next; ++b)
      next = m_pHashTable[b];
  }
  rNextPosition = reinterpret_cast<POSITION>(next);
  rKey = assoc->key;
  rValue = assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
    if (m_nCount == 0) return;
    for (UINT b = 0; b < m_nHashTableSize; ++b) {
      for (CAssoc* a = m_pHashTable[b]; a; a = a->pNext) {
        SerializeElements(ar, &a->key, 1);
        SerializeElements(ar, &a->value, 1);
      }
    }
    return;
  }
  DWORD_PTR nNewCount = ar.ReadCount();
  while (nNewCount-- > 0) {
    KEY newKey{};
    VALUE newValue{};
    SerializeElements(ar, &newKey, 1);
    SerializeElements(ar, &newValue, 1);
    (*this)[newKey] = newValue;
  }
}
