// Element helpers shared by the collection templates: hashing, comparison and archiving of elements.
// A program may specialise HashKey, CompareElements or SerializeElements for its own types.
#pragma once

#include "framework/Object.h"
#include "framework/String.h"
#include "framework/Archive.h"

#include <type_traits>

// The default hash of integral and pointer keys drops the low four bits (aligned pointers and ids
// vary little there).
template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
  using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
  if constexpr (std::is_pointer_v<Key>) {
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
  } else {
    return static_cast<UINT>(static_cast<UINT_PTR>(key) >> 4);
  }
}

// Strings hash by content, case-sensitively.
inline UINT AFXAPI HashKey(LPCWSTR key) {
  UINT nHash = 0;
  if (key) {
    while (*key) nHash = (nHash << 5) + nHash + static_cast<UINT>(*key++);
  }
  return nHash;
}
inline UINT AFXAPI HashKey(const CString& key) { return HashKey(static_cast<LPCWSTR>(key)); }

template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// Bitwise archive form, for plain data only; classes that own resources need their own overload.
template <class TYPE>
void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
  static_assert(std::is_trivially_copyable_v<TYPE>,
                "SerializeElements needs an overload for element types that are not plain data");
  if (nCount <= 0) return;
  if (ar.IsStoring()) {
    ar.Write(pElements, static_cast<UINT>(nCount * sizeof(TYPE)));
  } else {
    ar.EnsureRead(pElements, static_cast<UINT>(nCount * sizeof(TYPE)));
  }
}

inline void AFXAPI SerializeElements(CArchive& ar, CString* pElements, INT_PTR nCount) {
  for (INT_PTR i = 0; i < nCount; ++i) {
    if (ar.IsStoring()) {
      ar << pElements[i];
    } else {
      ar >> pElements[i];
    }
  }
}

// Objects travel with their class identity, so a loaded collection holds new objects of the right
// classes.
inline void AFXAPI SerializeElements(CArchive& ar, CObject** pElements, INT_PTR nCount) {
  for (INT_PTR i = 0; i < nCount; ++i) {
    if (ar.IsStoring()) {
      ar << pElements[i];
    } else {
      ar >> pElements[i];
    }
  }
}
