// ActiveX control hosting: a window that holds one control (CWnd::CreateControl, or an item of a
// dialog template whose class is the control's "{CLSID}"), the control site that forwards
// CWnd::InvokeHelper to the control's IDispatch, and event sink maps that route the control's
// events to handlers of the container window, each argument coerced to the declared type.
#pragma once

#include "framework/OleDispatchDriver.h"
#include "framework/Wnd.h"

#include <ole2.h>
#include <olectl.h>

#include <type_traits>
#include <typeinfo>
#include <utility>

// Messages of DLGINIT records that carry a control's saved state.
#define WM_OCC_LOADFROMSTREAM 0x0376
#define WM_OCC_LOADFROMSTORAGE 0x0377
#define WM_OCC_INITNEW 0x0378
#define WM_OCC_LOADFROMSTREAM_EX 0x037A
#define WM_OCC_LOADFROMSTORAGE_EX 0x037B

// The arguments of one fired event, coerced to the VTS_ types an ON_EVENT entry declares.
class CAfxEventArgs {
 public:
  CAfxEventArgs(const BYTE* pbParamInfo, DISPPARAMS* pDispParams);
  ~CAfxEventArgs();
  CAfxEventArgs(const CAfxEventArgs&) = delete;
  CAfxEventArgs& operator=(const CAfxEventArgs&) = delete;
  BOOL IsValid() const { return m_bValid; }
  // Argument i as T (T is the handler's parameter type).
  template <class T>
  T Get(size_t i) {
    VARIANT& v = m_args[i];
    void* p = (v.vt & VT_BYREF) ? v.byref : static_cast<void*>(&v.lVal);
    if constexpr (std::is_pointer_v<T> && !std::is_same_v<T, BSTR> && !std::is_same_v<T, LPCWSTR> &&
                  !std::is_same_v<T, LPDISPATCH> && !std::is_same_v<T, LPUNKNOWN> &&
                  !std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, VARIANT>) {
      return static_cast<T>(p);  // a by-reference argument: the handler may write through it
    } else if constexpr (std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, VARIANT>) {
      return (v.vt & VT_BYREF) && (v.vt & ~VT_BYREF) == VT_VARIANT ? static_cast<T>(v.pvarVal) : &v;
    } else {
      return *static_cast<std::remove_cv_t<std::remove_reference_t<T>>*>(p);
    }
  }

 private:
  enum { kMaxArgs = 16 };
  VARIANT m_args[kMaxArgs];
  size_t m_nArgs;
  BOOL m_bValid;
};

typedef BOOL (*AFX_EVENTSINK_PROC)(CWnd* pTarget, const BYTE* pbParamInfo, DISPPARAMS* pDispParams);

struct AFX_EVENTSINKMAP_ENTRY {
  UINT nCtlID;
  DISPID dispid;
  const BYTE* pbParamInfo;
  AFX_EVENTSINK_PROC pfnCall;
};

struct AFX_EVENTSINKMAP {
  const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

// Calls a handler member with the event's arguments; void handlers count as handling the event.
template <class F, F f>
struct CAfxEventInvoker;
template <class C, class R, class... A, R (C::*f)(A...)>
struct CAfxEventInvoker<R (C::*)(A...), f> {
  static BOOL Call(CWnd* pTarget, const BYTE* pbParamInfo, DISPPARAMS* pDispParams) {
    C* p = dynamic_cast<C*>(pTarget);
    if (p == nullptr) return FALSE;
    CAfxEventArgs args(pbParamInfo, pDispParams);
    if (!args.IsValid()) return FALSE;
    return CallWith(p, args, std::index_sequence_for<A...>{});
  }
  template <size_t... I>
  static BOOL CallWith(C* p, CAfxEventArgs& args, std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R>) {
      (p->*f)(args.template Get<A>(I)...);
      return TRUE;
    } else {
      return static_cast<BOOL>((p->*f)(args.template Get<A>(I)...));
    }
  }
};

// Records a class's sink map so that events find it from the container window's dynamic type.
struct CAfxEventSinkRegistrar {
  CAfxEventSinkRegistrar(const std::type_info& type, const std::type_info& baseType,
                         const AFX_EVENTSINKMAP* (*pfnGetMap)(), BOOL (*pfnIsA)(CWnd*));
};

// Routes one event of control nCtlID to pContainer's sink map (and its bases'). TRUE when handled.
BOOL AFXAPI AfxDispatchControlEvent(CWnd* pContainer, UINT nCtlID, DISPID dispid, DISPPARAMS* pDispParams);

#define DECLARE_EVENTSINK_MAP() \
 public:                        \
  static const AFX_EVENTSINKMAP* GetThisEventSinkMap();

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                              \
  static CAfxEventSinkRegistrar _afxEventSinkRegistrar_##theClass(            \
      typeid(theClass), typeid(baseClass), &theClass::GetThisEventSinkMap,    \
      [](CWnd* p) -> BOOL { return dynamic_cast<theClass*>(p) != nullptr; }); \
  const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap() {                   \
    static const AFX_EVENTSINKMAP_ENTRY _eventsinkEntries[] = {
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                                    \
  {static_cast<UINT>(id), static_cast<DISPID>(dispid), reinterpret_cast<const BYTE*>(vtsParams), \
   &CAfxEventInvoker<decltype(&theClass::pfnHandler), &theClass::pfnHandler>::Call},
#define END_EVENTSINK_MAP()                                              \
  { 0, 0, nullptr, nullptr }                                             \
  }                                                                      \
  ;                                                                      \
  static const AFX_EVENTSINKMAP _eventsinkMap = {&_eventsinkEntries[0]}; \
  return &_eventsinkMap;                                                 \
  }

// Registers the window class "{CLSID}" for every control item of a dialog template so that the
// dialog manager creates hosting windows for them; lpDialogInit (a DLGINIT resource, or NULL)
// supplies their saved state while the dialog's controls are created on this thread.
class CAfxOccDialogScope {
 public:
  CAfxOccDialogScope(LPCDLGTEMPLATE lpTemplate, const void* lpDialogInit);
  ~CAfxOccDialogScope();
  CAfxOccDialogScope(const CAfxOccDialogScope&) = delete;
  CAfxOccDialogScope& operator=(const CAfxOccDialogScope&) = delete;

 private:
  const void* m_lpPrevInit;
};
// The DLGINIT resource of a dialog template resource, or NULL.
const void* AFXAPI AfxOccFindDialogInit(HINSTANCE hInst, LPCTSTR lpszTemplateName);
