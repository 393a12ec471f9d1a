// CObject, the run-time class registry and the module handles.
#include "afx.h"

#include <cstring>
#include <new>

namespace {

// The registry is an intrusive list through CRuntimeClass::m_pNextClass. The lock is constant-
// initialised, so classes registering during static initialisation of any translation unit find it
// ready.
SRWLOCK g_classLock = SRWLOCK_INIT;
CRuntimeClass* g_firstClass = nullptr;

HINSTANCE g_hInstance = nullptr;
HINSTANCE g_hResource = nullptr;

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr};
static AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetRuntimeClass() const { return &CObject::classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
  return (pObject != nullptr && pObject->IsKindOf(pClass)) ? pObject : nullptr;
}

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass) {
  AcquireSRWLockExclusive(&g_classLock);
  // A class registers once even if its initialiser runs again (same object linked twice would loop).
  bool present = false;
  for (CRuntimeClass* p = g_firstClass; p; p = p->m_pNextClass) {
    if (p == pNewClass) {
      present = true;
      break;
    }
  }
  if (!present) {
    pNewClass->m_pNextClass = g_firstClass;
    g_firstClass = pNewClass;
  }
  ReleaseSRWLockExclusive(&g_classLock);
}

CObject* CRuntimeClass::CreateObject() {
  if (m_pfnCreateObject == nullptr) return nullptr;
  try {
    return (*m_pfnCreateObject)();
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass) {
    if (p == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  CRuntimeClass* found = nullptr;
  AcquireSRWLockShared(&g_classLock);
  for (CRuntimeClass* p = g_firstClass; p; p = p->m_pNextClass) {
    if (strcmp(p->m_lpszClassName, lpszClassName) == 0) {
      found = p;
      break;
    }
  }
  ReleaseSRWLockShared(&g_classLock);
  return found;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCWSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  // Class names are C++ identifiers: anything outside ASCII cannot match.
  char narrow[256];
  size_t i = 0;
  for (; lpszClassName[i]; ++i) {
    if (i + 1 >= sizeof(narrow) || lpszClassName[i] > 0x7F) return nullptr;
    narrow[i] = static_cast<char>(lpszClassName[i]);
  }
  narrow[i] = 0;
  return FromName(narrow);
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  CRuntimeClass* p = FromName(lpszClassName);
  return p ? p->CreateObject() : nullptr;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCWSTR lpszClassName) {
  CRuntimeClass* p = FromName(lpszClassName);
  return p ? p->CreateObject() : nullptr;
}

BOOL AFXAPI AfxIsValidString(LPCWSTR lpsz, int nLength) {
  if (lpsz == nullptr) return FALSE;
  if (nLength < 0) {
    // Walk to the terminator one page at a time, checking each page is committed and readable.
    MEMORY_BASIC_INFORMATION mbi;
    const WCHAR* p = lpsz;
    for (;;) {
      if (!VirtualQuery(p, &mbi, sizeof(mbi)) || mbi.State != MEM_COMMIT ||
          (mbi.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
        return FALSE;
      const WCHAR* end =
          reinterpret_cast<const WCHAR*>(static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize);
      for (; p + 1 <= end; ++p)
        if (*p == 0) return TRUE;
    }
  }
  return AfxIsValidAddress(lpsz, static_cast<UINT_PTR>(nLength) * sizeof(WCHAR), FALSE);
}

BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength) {
  if (lpsz == nullptr) return FALSE;
  if (nLength < 0) {
    MEMORY_BASIC_INFORMATION mbi;
    const char* p = lpsz;
    for (;;) {
      if (!VirtualQuery(p, &mbi, sizeof(mbi)) || mbi.State != MEM_COMMIT ||
          (mbi.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
        return FALSE;
      const char* end = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
      for (; p < end; ++p)
        if (*p == 0) return TRUE;
    }
  }
  return AfxIsValidAddress(lpsz, static_cast<UINT_PTR>(nLength), FALSE);
}

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite) {
  if (lp == nullptr) return FALSE;
  const BYTE* p = static_cast<const BYTE*>(lp);
  const BYTE* end = p + nBytes;
  while (p < end || (nBytes == 0 && p == lp)) {
    MEMORY_BASIC_INFORMATION mbi;
    if (!VirtualQuery(p, &mbi, sizeof(mbi)) || mbi.State != MEM_COMMIT) return FALSE;
    DWORD prot = mbi.Protect & 0xFF;
    if (prot == PAGE_NOACCESS || (mbi.Protect & PAGE_GUARD)) return FALSE;
    if (bReadWrite &&
        !(prot & (PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)))
      return FALSE;
    if (nBytes == 0) break;
    p = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
  }
  return TRUE;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() { return g_hInstance ? g_hInstance : GetModuleHandleW(nullptr); }

HINSTANCE AFXAPI AfxGetResourceHandle() { return g_hResource ? g_hResource : AfxGetInstanceHandle(); }

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance) { g_hInstance = hInstance; }
