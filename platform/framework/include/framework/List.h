// CList<TYPE, ARG_TYPE>: a doubly linked list walked with POSITION values (a POSITION is a node;
// NULL means past either end).
#pragma once

#include "framework/CollectionHelpers.h"

#include <new>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 protected:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  // The block size is kept for compatibility; nodes are allocated one by one.
  explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  // On an empty list these throw CInvalidArgException*.
  TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
  const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
  TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
  const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }
  TYPE RemoveHead();
  TYPE RemoveTail();

  POSITION AddHead(ARG_TYPE newElement);
  POSITION AddTail(ARG_TYPE newElement);
  void AddHead(CList* pNewList);
  void AddTail(CList* pNewList);
  void RemoveAll();

  POSITION GetHeadPosition() const { return reinterpret_cast<POSITION>(m_pNodeHead); }
  POSITION GetTailPosition() const { return reinterpret_cast<POSITION>(m_pNodeTail); }
  // Return the element at rPosition and move rPosition on (NULL after the last one).
  TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, true); }
  const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, true); }
  TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, false); }
  const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, false); }

  TYPE& GetAt(POSITION position) { return Node(position)->data; }
  const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
  void RemoveAt(POSITION position);

  POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

  // Searches from the element after startAfter (from the head when NULL).
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
  POSITION FindIndex(INT_PTR nIndex) const;

  void Serialize(CArchive& ar) override;

 protected:
  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
  INT_PTR m_nBlockSize;

 private:
  static CNode* Node(POSITION pos) {
    if (pos == nullptr || pos == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    return reinterpret_cast<CNode*>(pos);
  }
  static CNode* NonEmpty(CNode* p) {
    if (!p) AfxThrowInvalidArgException();
    return p;
  }
  TYPE& Step(POSITION& rPosition, bool forward) const {
    CNode* node = Node(rPosition);
    rPosition = reinterpret_cast<POSITION>(forward ? node->pNext : node->pPrev);
    return node->data;
  }
  CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE value) {
    void* p = ::operator new(sizeof(CNode), std::nothrow);
    if (!p) AfxThrowMemoryException();
    CNode* node = static_cast<CNode*>(p);
    try {
      new (&node->data) TYPE(value);
    } catch (...) {
      ::operator delete(p);
      throw;
    }
    node->pPrev = pPrev;
    node->pNext = pNext;
    ++m_nCount;
    return node;
  }
  void FreeNode(CNode* node) {
    node->data.~TYPE();
    ::operator delete(node);
    --m_nCount;
  }
};

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement) {
  CNode* node = NewNode(nullptr, m_pNodeHead, newElement);
  if (m_pNodeHead) {
    m_pNodeHead->pPrev = node;
  } else {
    m_pNodeTail = node;
  }
  m_pNodeHead = node;
  return reinterpret_cast<POSITION>(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement) {
  CNode* node = NewNode(m_pNodeTail, nullptr, newElement);
  if (m_pNodeTail) {
    m_pNodeTail->pNext = node;
  } else {
    m_pNodeHead = node;
  }
  m_pNodeTail = node;
  return reinterpret_cast<POSITION>(node);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList) {
  if (!pNewList) AfxThrowInvalidArgException();
  // Walk backwards so that the new elements keep their order; a snapshot of the count makes adding
  // a list to itself terminate.
  POSITION pos = pNewList->GetTailPosition();
  for (INT_PTR n = pNewList->GetCount(); n > 0 && pos; --n) AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList) {
  if (!pNewList) AfxThrowInvalidArgException();
  POSITION pos = pNewList->GetHeadPosition();
  for (INT_PTR n = pNewList->GetCount(); n > 0 && pos; --n) AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
  CNode* node = m_pNodeHead;
  while (node) {
    CNode* next = node->pNext;
    FreeNode(node);
    node = next;
  }
  m_pNodeHead = m_pNodeTail = nullptr;
  m_nCount = 0;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
  CNode* node = NonEmpty(m_pNodeHead);
  TYPE value(std::move(node->data));
  m_pNodeHead = node->pNext;
  if (m_pNodeHead) {
    m_pNodeHead->pPrev = nullptr;
  } else {
    m_pNodeTail = nullptr;
  }
  FreeNode(node);
  return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
  CNode* node = NonEmpty(m_pNodeTail);
  TYPE value(std::move(node->data));
  m_pNodeTail = node->pPrev;
  if (m_pNodeTail) {
    m_pNodeTail->pNext = nullptr;
  } else {
    m_pNodeHead = nullptr;
  }
  FreeNode(node);
  return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
  CNode* node = Node(position);
  if (node == m_pNodeHead) {
    m_pNodeHead = node->pNext;
  } else {
    node->pPrev->pNext = node->pNext;
  }
  if (node == m_pNodeTail) {
    m_pNodeTail = node->pPrev;
  } else {
    node->pNext->pPrev = node->pPrev;
  }
  FreeNode(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
  if (position == nullptr) return AddHead(newElement);
  CNode* old = Node(position);
  CNode* node = NewNode(old->pPrev, old, newElement);
  if (old->pPrev) {
    old->pPrev->pNext = node;
  } else {
    m_pNodeHead = node;
  }
  old->pPrev = node;
  return reinterpret_cast<POSITION>(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
  if (position == nullptr) return AddTail(newElement);
  CNode* old = Node(position);
  CNode* node = NewNode(old, old->pNext, newElement);
  if (old->pNext) {
    old->pNext->pPrev = node;
  } else {
    m_pNodeTail = node;
  }
  old->pNext = node;
  return reinterpret_cast<POSITION>(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
  CNode* node = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
  for (; node; node = node->pNext) {
    if (CompareElements<TYPE, std::remove_reference_t<ARG_TYPE>>(&node->data, &searchValue))
      return reinterpret_cast<POSITION>(node);
  }
  return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  CNode* node = m_pNodeHead;
  while (nIndex-- > 0) node = node->pNext;
  return reinterpret_cast<POSITION>(node);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
    for (CNode* node = m_pNodeHead; node; node = node->pNext) SerializeElements(ar, &node->data, 1);
    return;
  }
  DWORD_PTR nCount = ar.ReadCount();
  for (; nCount > 0; --nCount) {
    TYPE newData{};
    SerializeElements(ar, &newData, 1);
    AddTail(newData);
  }
}
