// CArray<TYPE, ARG_TYPE>: a growable array with contiguous storage. Growth follows the framework's
// rule: by the grow-by step, or by an eighth of the size clamped to 4..1024 when the step is 0.
#pragma once

#include "framework/CollectionHelpers.h"

#include <cstdint>
#include <new>
#include <utility>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;
  ~CArray() override { RemoveAll(); }

  INT_PTR GetSize() const { return m_nSize; }
  INT_PTR GetCount() const { return m_nSize; }
  BOOL IsEmpty() const { return m_nSize == 0; }
  INT_PTR GetUpperBound() const { return m_nSize - 1; }

  // Resizes; new elements are value-initialised. Throws CMemoryException* when memory runs out.
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
  void FreeExtra();
  void RemoveAll() { SetSize(0, -1); }

  // Indexes outside 0..GetSize()-1 throw CInvalidArgException*.
  const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[CheckIndex(nIndex)] = newElement; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }

  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  // Appends src and returns the index of its first element in this array.
  INT_PTR Append(const CArray& src);
  void Copy(const CArray& src);

  const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }

  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
  void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);
  // Out-of-range removals throw CInvalidArgException*.
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

  void Serialize(CArchive& ar) override;

 protected:
  TYPE* m_pData = nullptr;
  INT_PTR m_nSize = 0;
  INT_PTR m_nMaxSize = 0;
  INT_PTR m_nGrowBy = 0;

 private:
  INT_PTR CheckIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
    return nIndex;
  }
  static TYPE* Allocate(INT_PTR nCount) {
    if (nCount <= 0) return nullptr;
    if (static_cast<size_t>(nCount) > static_cast<size_t>(PTRDIFF_MAX) / sizeof(TYPE))
      AfxThrowMemoryException();
    void* p = ::operator new(static_cast<size_t>(nCount) * sizeof(TYPE), std::nothrow);
    if (!p) AfxThrowMemoryException();
    return static_cast<TYPE*>(p);
  }
  void Reallocate(INT_PTR nNewMax);
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax) {
  TYPE* pNewData = Allocate(nNewMax);
  for (INT_PTR i = 0; i < m_nSize; ++i) {
    new (&pNewData[i]) TYPE(std::move(m_pData[i]));
    m_pData[i].~TYPE();
  }
  ::operator delete(m_pData);
  m_pData = pNewData;
  m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
  if (nNewSize < 0) AfxThrowInvalidArgException();
  if (nGrowBy >= 0) m_nGrowBy = nGrowBy;

  if (nNewSize == 0) {
    for (INT_PTR i = 0; i < m_nSize; ++i) m_pData[i].~TYPE();
    ::operator delete(m_pData);
    m_pData = nullptr;
    m_nSize = m_nMaxSize = 0;
    return;
  }
  if (nNewSize > m_nMaxSize) {
    INT_PTR nNewMax = nNewSize;
    if (m_pData != nullptr) {
      INT_PTR grow = m_nGrowBy;
      if (grow == 0) {
        grow = m_nSize / 8;
        grow = (grow < 4) ? 4 : ((grow > 1024) ? 1024 : grow);
      }
      if (nNewSize < m_nMaxSize + grow) nNewMax = m_nMaxSize + grow;
    }
    Reallocate(nNewMax);
  }
  // Construct new elements, or destroy the removed ones.
  for (INT_PTR i = m_nSize; i < nNewSize; ++i) new (&m_pData[i]) TYPE();
  for (INT_PTR i = nNewSize; i < m_nSize; ++i) m_pData[i].~TYPE();
  m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
  if (m_nSize == m_nMaxSize) return;
  if (m_nSize == 0) {
    ::operator delete(m_pData);
    m_pData = nullptr;
    m_nMaxSize = 0;
    return;
  }
  Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
  if (nIndex < 0) AfxThrowInvalidArgException();
  if (nIndex >= m_nSize) {
    // newElement may refer to an element of this array, which growing would move.
    TYPE copy(newElement);
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(copy);
  } else {
    m_pData[nIndex] = newElement;
  }
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
  if (this == &src) {
    CArray copy;
    copy.Copy(src);
    return Append(copy);
  }
  INT_PTR nOldSize = m_nSize;
  SetSize(m_nSize + src.m_nSize);
  for (INT_PTR i = 0; i < src.m_nSize; ++i) m_pData[nOldSize + i] = src.m_pData[i];
  return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
  if (this == &src) return;
  SetSize(src.m_nSize);
  for (INT_PTR i = 0; i < src.m_nSize; ++i) m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
  if (nIndex < 0 || nCount <= 0) AfxThrowInvalidArgException();
  TYPE copy(newElement);
  if (nIndex >= m_nSize) {
    SetSize(nIndex + nCount, -1);
  } else {
    INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + nCount, -1);
    for (INT_PTR i = nOldSize - 1; i >= nIndex; --i) m_pData[i + nCount] = std::move(m_pData[i]);
  }
  for (INT_PTR i = 0; i < nCount; ++i) m_pData[nIndex + i] = copy;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
  if (pNewArray == nullptr || nStartIndex < 0) AfxThrowInvalidArgException();
  if (pNewArray->GetSize() == 0) return;
  CArray copy;
  copy.Copy(*pNewArray);
  InsertAt(nStartIndex, copy.GetAt(0), copy.GetSize());
  for (INT_PTR i = 0; i < copy.GetSize(); ++i) m_pData[nStartIndex + i] = copy.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
  if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) AfxThrowInvalidArgException();
  if (nCount == 0) return;
  for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i) m_pData[i] = std::move(m_pData[i + nCount]);
  for (INT_PTR i = m_nSize - nCount; i < m_nSize; ++i) m_pData[i].~TYPE();
  m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
    SerializeElements(ar, m_pData, m_nSize);
    return;
  }
  // Loaded in slices so that a garbled count runs into the archive's end, not into a huge allocation.
  DWORD_PTR nCount = ar.ReadCount();
  RemoveAll();
  const DWORD_PTR kSlice = 4096;
  while (nCount > 0) {
    INT_PTR n = static_cast<INT_PTR>(nCount < kSlice ? nCount : kSlice);
    INT_PTR nOld = m_nSize;
    SetSize(nOld + n);
    SerializeElements(ar, m_pData + nOld, n);
    nCount -= static_cast<DWORD_PTR>(n);
  }
}
