// The root of the framework's class tree: CObject, run-time class descriptions and the process-wide
// registry of classes by name, plus the diagnostic macros every framework header relies on.
#pragma once

#include <windows.h>
#include <tchar.h>

#include <cstddef>

class CArchive;
class CObject;

// ---- Diagnostics ---------------------------------------------------------------------------------
// Release-style behaviour in every build: ASSERT checks nothing, VERIFY still evaluates its
// expression, TRACE formats nothing. Debug-only members exist so code written for both builds compiles.
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(pOb) ((void)0)
#define ASSERT_KINDOF(class_name, object) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#define TRACE(...) ((void)0)
#define TRACE0(sz) ((void)0)
#define TRACE1(sz, p1) ((void)0)
#define TRACE2(sz, p1, p2) ((void)0)
#define TRACE3(sz, p1, p2, p3) ((void)0)
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#define AFX_CDECL __cdecl
#define AFX_DATA
#define AFX_CORE_DATA
#define AFX_STATIC static
#define AFX_INLINE inline

// An iterator of the framework's collections: opaque, NULL past the end.
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

// TRUE when lpsz points to readable text of nLength characters (-1: up to its terminator).
BOOL AFXAPI AfxIsValidString(LPCWSTR lpsz, int nLength = -1);
BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength = -1);
BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite = TRUE);

// ---- Run-time classes ----------------------------------------------------------------------------

// Schema numbers stored with objects. VERSIONABLE_SCHEMA marks classes that accept any stored
// schema and read it back with CArchive::GetObjectSchema.
#define VERSIONABLE_SCHEMA (0x80000000)

// Description of one class declared with the DECLARE_/IMPLEMENT_ macros. Instances are static and
// live for the whole process; every one is entered in a registry at start-up so that FromName finds
// it (the archive and the toolkit create objects by stored class name).
struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  // 0xFFFF for classes that cannot be serialized
  CObject*(PASCAL* m_pfnCreateObject)();
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;  // the registry's link

  // A new object of this class, or NULL when the class cannot be created dynamically. Throws
  // CMemoryException* when memory runs out.
  CObject* CreateObject();
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

  // The registered class with exactly this name, or NULL.
  static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
  static CRuntimeClass* PASCAL FromName(LPCWSTR lpszClassName);
  static CObject* PASCAL CreateObject(LPCSTR lpszClassName);
  static CObject* PASCAL CreateObject(LPCWSTR lpszClassName);

  // The archive form of a class reference: schema (WORD), name length (WORD), name (narrow).
  void Store(CArchive& ar) const;
  // Reads that form back and looks the class up; NULL when the name is unknown or garbled.
  static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);
};

// Enters a class in the registry; the IMPLEMENT_ macros call it during static initialisation.
void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass) { AfxClassInit(pNewClass); }
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)       \
 public:                                  \
  static CRuntimeClass class##class_name; \
  virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) \
  DECLARE_DYNCREATE(class_name)    \
  friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                            \
  CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class class_name),       wSchema,  \
                                                 pfnNew,      RUNTIME_CLASS(base_class_name), nullptr}; \
  static AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);                              \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                \
  CObject* PASCAL class_name::CreateObject() { return new class_name; } \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                           \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }                  \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
  [[maybe_unused]] CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) {         \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));            \
    return ar;                                                                           \
  }

// The object's class must be derived from class_name, else NULL.
#define DYNAMIC_DOWNCAST(class_name, object) \
  (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
// The caller vouches for the type; NULL stays NULL.
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

// ---- CObject -------------------------------------------------------------------------------------
class CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;

  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;

 private:
  // Objects are not copyable unless a class says so.
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

// ---- Module state --------------------------------------------------------------------------------
// The module whose resources (strings, dialogs, bitmaps) the framework loads, and the module of the
// running program. Both default to the executable.
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance);
