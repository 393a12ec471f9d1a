// The accessibility base: IAccessible forwarding and the late-bound accessibility entry points.
#include "BarAccessibility.h"

namespace {

typedef void(WINAPI* PFNNOTIFYWINEVENT)(DWORD, HWND, LONG, LONG);
typedef HRESULT(WINAPI* PFNACCESSIBLEOBJECTFROMWINDOW)(HWND, DWORD, REFIID, void**);
typedef LRESULT(WINAPI* PFNLRESULTFROMOBJECT)(REFIID, WPARAM, LPUNKNOWN);

PFNNOTIFYWINEVENT g_pfnNotifyWinEvent = nullptr;
BOOL g_bNotifyWinEventBound = FALSE;

template <class T>
T EntryAs(FARPROC pfn) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(pfn));
}

// oleacc.dll is loaded on the first call that needs it and kept.
FARPROC OleaccEntry(const char* pszName) {
  static HMODULE hOleacc = nullptr;
  if (hOleacc == nullptr) hOleacc = ::LoadLibraryW(L"oleacc.dll");
  return hOleacc != nullptr ? ::GetProcAddress(hOleacc, pszName) : nullptr;
}

}  // namespace

CXTPBarAccessibility::CXTPBarAccessibility() : m_xAccessible(this) {
  if (!g_bNotifyWinEventBound) {
    g_bNotifyWinEventBound = TRUE;
    HMODULE hUser = ::GetModuleHandleW(L"USER32.DLL");
    if (hUser != nullptr)
      g_pfnNotifyWinEvent = EntryAs<PFNNOTIFYWINEVENT>(::GetProcAddress(hUser, "NotifyWinEvent"));
  }
}

HRESULT CXTPBarAccessibility::GetAccessibleParent(IDispatch**) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleChildCount(long*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleChild(VARIANT, IDispatch**) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleName(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleValue(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleDescription(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleRole(VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleState(VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleHelp(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleHelpTopic(BSTR*, VARIANT, long*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleKeyboardShortcut(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleFocus(VARIANT*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleSelection(VARIANT*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::GetAccessibleDefaultAction(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::AccessibleSelect(long, VARIANT) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::AccessibleLocation(long*, long*, long*, long*, VARIANT) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::AccessibleNavigate(long, VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::AccessibleHitTest(long, long, VARIANT*) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::AccessibleDoDefaultAction(VARIANT) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::PutAccessibleName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT CXTPBarAccessibility::PutAccessibleValue(VARIANT, BSTR) { return E_NOTIMPL; }
CCmdTarget* CXTPBarAccessibility::GetAccessibleCmdTarget() { return nullptr; }

void PASCAL CXTPBarAccessibility::NotifyWinEvent(DWORD event, HWND hWnd, LONG idObject, LONG idChild) {
  if (g_pfnNotifyWinEvent != nullptr) g_pfnNotifyWinEvent(event, hWnd, idObject, idChild);
}

HRESULT PASCAL CXTPBarAccessibility::AccessibleObjectFromWindow(HWND hWnd, DWORD dwId, REFIID riid,
                                                                void** ppvObject) {
  static auto pfn = EntryAs<PFNACCESSIBLEOBJECTFROMWINDOW>(OleaccEntry("AccessibleObjectFromWindow"));
  return pfn != nullptr ? pfn(hWnd, dwId, riid, ppvObject) : E_FAIL;
}

LRESULT PASCAL CXTPBarAccessibility::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk) {
  static auto pfn = EntryAs<PFNLRESULTFROMOBJECT>(OleaccEntry("LresultFromObject"));
  return pfn != nullptr ? pfn(riid, wParam, punk) : E_FAIL;
}

long PASCAL CXTPBarAccessibility::GetChildIdFromVariant(const VARIANT* pVariant) {
  // A chain of variant references could loop; a few links are all a caller ever builds.
  for (int nDepth = 0; pVariant != nullptr && nDepth < 16; ++nDepth) {
    switch (pVariant->vt) {
      case VT_I4:
        return pVariant->lVal;
      case VT_I2:
        return pVariant->iVal;
      case VT_BYREF | VT_I4:
        return pVariant->plVal != nullptr ? *pVariant->plVal : -1;
      case VT_BYREF | VT_I2:
        return pVariant->piVal != nullptr ? *pVariant->piVal : -1;
      case VT_BYREF | VT_VARIANT:
        pVariant = pVariant->pvarVal;
        break;
      default:
        return -1;
    }
  }
  return -1;
}

// ---- IAccessible -----------------------------------------------------------------------------------

STDMETHODIMP CXTPBarAccessibility::XAccessible::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  *ppvObject = nullptr;
  CCmdTarget* pTarget = m_pOwner->GetAccessibleCmdTarget();
  if (riid == IID_IAccessible || riid == IID_IDispatch || (pTarget == nullptr && riid == IID_IUnknown)) {
    *ppvObject = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  return pTarget != nullptr ? pTarget->ExternalQueryInterface(&riid, ppvObject) : E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CXTPBarAccessibility::XAccessible::AddRef() {
  CCmdTarget* pTarget = m_pOwner->GetAccessibleCmdTarget();
  return pTarget != nullptr ? pTarget->ExternalAddRef() : 1;
}

STDMETHODIMP_(ULONG) CXTPBarAccessibility::XAccessible::Release() {
  CCmdTarget* pTarget = m_pOwner->GetAccessibleCmdTarget();
  return pTarget != nullptr ? pTarget->ExternalRelease() : 1;
}

STDMETHODIMP CXTPBarAccessibility::XAccessible::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CXTPBarAccessibility::XAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CXTPBarAccessibility::XAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                                       EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accParent(IDispatch** p) {
  return m_pOwner->GetAccessibleParent(p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accChildCount(long* p) {
  return m_pOwner->GetAccessibleChildCount(p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accChild(VARIANT v, IDispatch** p) {
  return m_pOwner->GetAccessibleChild(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accName(VARIANT v, BSTR* p) {
  return m_pOwner->GetAccessibleName(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accValue(VARIANT v, BSTR* p) {
  return m_pOwner->GetAccessibleValue(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accDescription(VARIANT v, BSTR* p) {
  return m_pOwner->GetAccessibleDescription(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accRole(VARIANT v, VARIANT* p) {
  return m_pOwner->GetAccessibleRole(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accState(VARIANT v, VARIANT* p) {
  return m_pOwner->GetAccessibleState(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accHelp(VARIANT v, BSTR* p) {
  return m_pOwner->GetAccessibleHelp(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accHelpTopic(BSTR* f, VARIANT v, long* p) {
  return m_pOwner->GetAccessibleHelpTopic(f, v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accKeyboardShortcut(VARIANT v, BSTR* p) {
  return m_pOwner->GetAccessibleKeyboardShortcut(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accFocus(VARIANT* p) {
  return m_pOwner->GetAccessibleFocus(p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accSelection(VARIANT* p) {
  return m_pOwner->GetAccessibleSelection(p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::get_accDefaultAction(VARIANT v, BSTR* p) {
  return m_pOwner->GetAccessibleDefaultAction(v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::accSelect(long f, VARIANT v) {
  return m_pOwner->AccessibleSelect(f, v);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::accLocation(long* x, long* y, long* cx, long* cy, VARIANT v) {
  return m_pOwner->AccessibleLocation(x, y, cx, cy, v);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::accNavigate(long d, VARIANT v, VARIANT* p) {
  return m_pOwner->AccessibleNavigate(d, v, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::accHitTest(long x, long y, VARIANT* p) {
  return m_pOwner->AccessibleHitTest(x, y, p);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::accDoDefaultAction(VARIANT v) {
  return m_pOwner->AccessibleDoDefaultAction(v);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::put_accName(VARIANT v, BSTR s) {
  return m_pOwner->PutAccessibleName(v, s);
}
STDMETHODIMP CXTPBarAccessibility::XAccessible::put_accValue(VARIANT v, BSTR s) {
  return m_pOwner->PutAccessibleValue(v, s);
}
