// Hosting of ActiveX controls: the hosting window class, the control site, CWnd::CreateControl and
// InvokeHelper, dialog-template items named by CLSID with their DLGINIT state, and event routing.
#include "afxole.h"

#include <map>
#include <mutex>
#include <vector>

namespace {

const wchar_t kSiteProp[] = L"AfxOleControlSite";
const wchar_t kHostClass[] = L"AfxOleControl";

// What CreateControl hands to the hosting window it is about to create.
struct PendingCreate {
  CLSID clsid;
  CFile* pPersist;
  BOOL bStorage;
  BSTR bstrLicKey;
};
thread_local PendingCreate* t_pPending = nullptr;
thread_local const void* t_pDialogInit = nullptr;

LRESULT CALLBACK HostWndProc(HWND, UINT, WPARAM, LPARAM);

BOOL RegisterHostClass(LPCWSTR lpszClassName) {
  WNDCLASS wc = {};
  HINSTANCE hInst = ::GetModuleHandle(nullptr);
  if (::GetClassInfo(hInst, lpszClassName, &wc)) return TRUE;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &HostWndProc;
  wc.hInstance = hInst;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = lpszClassName;
  return ::RegisterClass(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// An IStream over bytes, for state handed over in memory.
IStream* StreamOnBytes(const BYTE* pData, SIZE_T nSize) {
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, nSize == 0 ? 1 : nSize);
  if (h == nullptr) return nullptr;
  if (nSize != 0) {
    memcpy(::GlobalLock(h), pData, nSize);
    ::GlobalUnlock(h);
  }
  IStream* pStream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(h, TRUE, &pStream))) {
    ::GlobalFree(h);
    return nullptr;
  }
  return pStream;
}

// The site of one hosted control: client site, in-place site, ambient properties and the sink of
// the control's events.
class CControlSite final : public IOleClientSite,
                           public IOleInPlaceSite,
                           public IOleControlSite,
                           public IDispatch {
 public:
  explicit CControlSite(HWND hWnd) : m_ref(1), m_hWnd(hWnd), m_sink(this) {}

  BOOL Create(REFCLSID clsid, IStream* pStream, IStorage* pStorage, BSTR bstrLicKey) {
    HRESULT hr;
    if (bstrLicKey != nullptr) {
      IClassFactory2* pFactory = nullptr;
      hr = ::CoGetClassObject(clsid, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory2,
                              reinterpret_cast<void**>(&pFactory));
      if (SUCCEEDED(hr)) {
        hr = pFactory->CreateInstanceLic(nullptr, nullptr, IID_IUnknown, bstrLicKey,
                                         reinterpret_cast<void**>(&m_pUnknown));
        pFactory->Release();
      }
    } else {
      hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(&m_pUnknown));
    }
    if (FAILED(hr) || m_pUnknown == nullptr) return FALSE;
    if (FAILED(m_pUnknown->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_pObject))))
      return FALSE;
    m_pObject->SetClientSite(this);

    // Saved state first, else a fresh one.
    IPersistStreamInit* pPSI = nullptr;
    IPersistStorage* pPStg = nullptr;
    if (pStorage != nullptr &&
        SUCCEEDED(m_pUnknown->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&pPStg)))) {
      hr = pPStg->Load(pStorage);
      pPStg->Release();
      if (FAILED(hr)) return FALSE;
    } else if (SUCCEEDED(
                   m_pUnknown->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&pPSI)))) {
      hr = pStream != nullptr ? pPSI->Load(pStream) : pPSI->InitNew();
      pPSI->Release();
      if (FAILED(hr)) return FALSE;
    }
    m_pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_pDispatch));
    Advise();

    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_hWnd, &rect);
    if (FAILED(hr)) return FALSE;
    if (m_pInPlace == nullptr) {
      m_pUnknown->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlace));
    }
    return TRUE;
  }

  void Destroy() {
    Unadvise();
    if (m_pInPlace != nullptr) {
      m_pInPlace->InPlaceDeactivate();
      m_pInPlace->Release();
      m_pInPlace = nullptr;
    }
    if (m_pObject != nullptr) {
      m_pObject->Close(OLECLOSE_NOSAVE);
      m_pObject->SetClientSite(nullptr);
      m_pObject->Release();
      m_pObject = nullptr;
    }
    if (m_pDispatch != nullptr) {
      m_pDispatch->Release();
      m_pDispatch = nullptr;
    }
    if (m_pUnknown != nullptr) {
      m_pUnknown->Release();
      m_pUnknown = nullptr;
    }
    m_hWnd = nullptr;
  }

  void Resize(int cx, int cy) {
    if (m_pInPlace == nullptr) return;
    RECT rect = {0, 0, cx, cy};
    m_pInPlace->SetObjectRects(&rect, &rect);
  }

  LPUNKNOWN Unknown() const { return m_pUnknown; }
  LPDISPATCH Dispatch() const { return m_pDispatch; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
      *ppv = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleInPlaceSite || riid == IID_IOleWindow) {
      *ppv = static_cast<IOleInPlaceSite*>(this);
    } else if (riid == IID_IOleControlSite) {
      *ppv = static_cast<IOleControlSite*>(this);
    } else if (riid == IID_IDispatch) {
      *ppv = static_cast<IDispatch*>(this);  // the ambient properties
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_ref); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG r = InterlockedDecrement(&m_ref);
    if (r == 0) delete this;
    return r;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
    *ppmk = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** ppContainer) override {
    *ppContainer = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow / IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* phwnd) override {
    *phwnd = m_hWnd;
    return m_hWnd != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override {
    if (m_pInPlace == nullptr) {
      m_pUnknown->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlace));
    }
    return S_OK;
  }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override {
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    ::GetClientRect(m_hWnd, lprcPosRect);
    ::GetClientRect(m_hWnd, lprcClipRect);
    if (lpFrameInfo != nullptr) {
      lpFrameInfo->fMDIApp = FALSE;
      lpFrameInfo->hwndFrame = ::GetParent(m_hWnd);
      lpFrameInfo->haccel = nullptr;
      lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override {
    if (m_pInPlace != nullptr) m_pInPlace->SetObjectRects(lprcPosRect, lprcPosRect);
    return S_OK;
  }

  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
  STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
  STDMETHODIMP GetExtendedControl(IDispatch** ppDisp) override {
    *ppDisp = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
  STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }

  // IDispatch: ambient properties (the defaults apply to all of them).
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    *pctinfo = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*,
                      UINT*) override {
    if (dispid == DISPID_AMBIENT_USERMODE && pVarResult != nullptr) {
      pVarResult->vt = VT_BOOL;
      pVarResult->boolVal = VARIANT_TRUE;
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  // Routes the control's events to the container window's sink map.
  HRESULT FireEvent(DISPID dispid, DISPPARAMS* pDispParams) {
    if (m_hWnd == nullptr) return S_OK;
    CWnd* pContainer = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    if (pContainer != nullptr) {
      AfxDispatchControlEvent(pContainer, static_cast<UINT>(::GetDlgCtrlID(m_hWnd)), dispid, pDispParams);
    }
    return S_OK;
  }

 private:
  ~CControlSite() = default;

  // The sink object: IDispatch of the control's default source interface.
  class Sink final : public IDispatch {
   public:
    explicit Sink(CControlSite* pSite) : m_pSite(pSite) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
      if (riid == IID_IUnknown || riid == IID_IDispatch || riid == m_pSite->m_iidEvents) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
      }
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_pSite->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_pSite->Release(); }
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
      *pctinfo = 0;
      return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO*,
                        UINT*) override {
      DISPPARAMS empty = {nullptr, nullptr, 0, 0};
      return m_pSite->FireEvent(dispid, pDispParams != nullptr ? pDispParams : &empty);
    }

   private:
    CControlSite* m_pSite;
  };

  void Advise() {
    IConnectionPointContainer* pCPC = nullptr;
    if (FAILED(m_pUnknown->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pCPC))))
      return;
    IProvideClassInfo2* pPCI = nullptr;
    BOOL bHaveIID = FALSE;
    if (SUCCEEDED(m_pUnknown->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pPCI)))) {
      bHaveIID = SUCCEEDED(pPCI->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &m_iidEvents));
      pPCI->Release();
    }
    if (bHaveIID) {
      pCPC->FindConnectionPoint(m_iidEvents, &m_pConnectionPoint);
    } else {
      // Without class information the first outgoing interface is taken as the events.
      IEnumConnectionPoints* pEnum = nullptr;
      if (SUCCEEDED(pCPC->EnumConnectionPoints(&pEnum)) && pEnum != nullptr) {
        ULONG n = 0;
        if (pEnum->Next(1, &m_pConnectionPoint, &n) != S_OK) m_pConnectionPoint = nullptr;
        if (m_pConnectionPoint != nullptr) m_pConnectionPoint->GetConnectionInterface(&m_iidEvents);
        pEnum->Release();
      }
    }
    pCPC->Release();
    if (m_pConnectionPoint != nullptr && FAILED(m_pConnectionPoint->Advise(&m_sink, &m_dwCookie))) {
      m_pConnectionPoint->Release();
      m_pConnectionPoint = nullptr;
    }
  }

  void Unadvise() {
    if (m_pConnectionPoint == nullptr) return;
    m_pConnectionPoint->Unadvise(m_dwCookie);
    m_pConnectionPoint->Release();
    m_pConnectionPoint = nullptr;
  }

  LONG m_ref;
  HWND m_hWnd;
  Sink m_sink;
  IID m_iidEvents = IID_NULL;
  LPUNKNOWN m_pUnknown = nullptr;
  IOleObject* m_pObject = nullptr;
  IOleInPlaceObject* m_pInPlace = nullptr;
  LPDISPATCH m_pDispatch = nullptr;
  IConnectionPoint* m_pConnectionPoint = nullptr;
  DWORD m_dwCookie = 0;
};

CControlSite* SiteOf(HWND hWnd) { return static_cast<CControlSite*>(::GetProp(hWnd, kSiteProp)); }

// The saved state DLGINIT gives control nID: *ppData/*pnSize and the record's message, 0 if none.
WORD FindDialogInit(const void* lpInit, UINT nID, const BYTE** ppData, DWORD* pnSize) {
  if (lpInit == nullptr) return 0;
  const BYTE* p = static_cast<const BYTE*>(lpInit);
  for (int guard = 0; guard < 4096; ++guard) {
    WORD nIDC = *reinterpret_cast<const WORD*>(p);
    if (nIDC == 0) break;
    WORD nMsg = *reinterpret_cast<const WORD*>(p + 2);
    DWORD dwLen = *reinterpret_cast<const DWORD*>(p + 4);
    if (dwLen > 0x1000000) break;  // a damaged record ends the search
    if (nIDC == nID && nMsg >= WM_OCC_LOADFROMSTREAM && nMsg <= WM_OCC_LOADFROMSTORAGE_EX) {
      *ppData = p + 8;
      *pnSize = dwLen;
      return nMsg;
    }
    p += 8 + dwLen;
  }
  return 0;
}

BOOL CreateSite(HWND hWnd, LPCREATESTRUCT lpcs) {
  CLSID clsid = CLSID_NULL;
  IStream* pStream = nullptr;
  IStorage* pStorage = nullptr;
  BSTR bstrLicKey = nullptr;
  BOOL bFreeLicKey = FALSE;
  PendingCreate* pPending = t_pPending;
  if (pPending != nullptr) {
    t_pPending = nullptr;
    clsid = pPending->clsid;
    bstrLicKey = pPending->bstrLicKey;
    if (pPending->pPersist != nullptr) {
      CFile* pFile = pPending->pPersist;
      ULONGLONG nLen = pFile->GetLength() - pFile->GetPosition();
      std::vector<BYTE> bytes(static_cast<size_t>(nLen));
      if (nLen > 0) pFile->Read(bytes.data(), static_cast<UINT>(nLen));
      pStream = StreamOnBytes(bytes.data(), bytes.size());
    }
  } else {
    // A dialog item: the class name is the CLSID, the state comes from the dialog's DLGINIT.
    wchar_t szClass[64] = {};
    ::GetClassName(hWnd, szClass, 64);
    if (FAILED(::CLSIDFromString(szClass, &clsid))) return FALSE;
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    WORD nMsg = FindDialogInit(t_pDialogInit, static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpcs->hMenu)),
                               &pData, &nSize);
    if (nMsg == WM_OCC_LOADFROMSTREAM_EX || nMsg == WM_OCC_LOADFROMSTORAGE_EX) {
      // A licence key (length in characters, then the characters) precedes the state.
      if (nSize >= sizeof(ULONG)) {
        ULONG cch = *reinterpret_cast<const ULONG*>(pData);
        if (sizeof(ULONG) + static_cast<ULONGLONG>(cch) * sizeof(WCHAR) <= nSize) {
          bstrLicKey = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(pData + sizeof(ULONG)), cch);
          bFreeLicKey = TRUE;
          pData += sizeof(ULONG) + cch * sizeof(WCHAR);
          nSize -= static_cast<DWORD>(sizeof(ULONG) + cch * sizeof(WCHAR));
        } else {
          nSize = 0;
        }
      }
      nMsg = nMsg == WM_OCC_LOADFROMSTREAM_EX ? WM_OCC_LOADFROMSTREAM : WM_OCC_LOADFROMSTORAGE;
    }
    if (nMsg == WM_OCC_LOADFROMSTREAM) {
      pStream = StreamOnBytes(pData, nSize);
    } else if (nMsg == WM_OCC_LOADFROMSTORAGE) {
      ILockBytes* pBytes = nullptr;
      HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, nSize == 0 ? 1 : nSize);
      if (h != nullptr && nSize != 0) {
        memcpy(::GlobalLock(h), pData, nSize);
        ::GlobalUnlock(h);
      }
      if (h != nullptr && SUCCEEDED(::CreateILockBytesOnHGlobal(h, TRUE, &pBytes))) {
        ::StgOpenStorageOnILockBytes(pBytes, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                     &pStorage);
        pBytes->Release();
      } else if (h != nullptr) {
        ::GlobalFree(h);
      }
    }
  }
  CControlSite* pSite = new CControlSite(hWnd);
  ::SetProp(hWnd, kSiteProp, pSite);
  BOOL bOK = pSite->Create(clsid, pStream, pStorage, bstrLicKey);
  if (pStream != nullptr) pStream->Release();
  if (pStorage != nullptr) pStorage->Release();
  if (bFreeLicKey) ::SysFreeString(bstrLicKey);
  if (!bOK) {
    ::RemoveProp(hWnd, kSiteProp);
    pSite->Destroy();
    pSite->Release();
  }
  return bOK;
}

LRESULT CALLBACK HostWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  switch (nMsg) {
    case WM_CREATE:
      if (!CreateSite(hWnd, reinterpret_cast<LPCREATESTRUCT>(lParam))) return -1;
      return 0;
    case WM_SIZE:
      if (CControlSite* pSite = SiteOf(hWnd)) pSite->Resize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the control covers the whole window
    case WM_DESTROY:
      if (CControlSite* pSite = SiteOf(hWnd)) {
        ::RemoveProp(hWnd, kSiteProp);
        pSite->Destroy();
        pSite->Release();
      }
      return 0;
    default:
      return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
  }
}

// Sink maps by class.
struct SinkRegistration {
  const std::type_info* pType;
  const std::type_info* pBase;
  const AFX_EVENTSINKMAP* (*pfnGetMap)();
  BOOL (*pfnIsA)(CWnd*);
};
std::vector<SinkRegistration>& SinkRegistry() {
  static std::vector<SinkRegistration> registry;
  return registry;
}

}  // namespace

// ---- event sink maps ---------------------------------------------------------------------------------
CAfxEventSinkRegistrar::CAfxEventSinkRegistrar(const std::type_info& type, const std::type_info& baseType,
                                               const AFX_EVENTSINKMAP* (*pfnGetMap)(),
                                               BOOL (*pfnIsA)(CWnd*)) {
  SinkRegistry().push_back({&type, &baseType, pfnGetMap, pfnIsA});
}

BOOL AFXAPI AfxDispatchControlEvent(CWnd* pContainer, UINT nCtlID, DISPID dispid, DISPPARAMS* pDispParams) {
  if (pContainer == nullptr) return FALSE;
  // The most derived class with a map comes first, then the maps of its bases.
  std::vector<const SinkRegistration*> matching;
  for (const SinkRegistration& r : SinkRegistry()) {
    if (r.pfnIsA(pContainer)) matching.push_back(&r);
  }
  const SinkRegistration* pLeaf = nullptr;
  for (const SinkRegistration* r : matching) {
    bool bIsBase = false;
    for (const SinkRegistration* other : matching) {
      if (other != r && *other->pBase == *r->pType) bIsBase = true;
    }
    if (!bIsBase) {
      pLeaf = r;
      break;
    }
  }
  for (int depth = 0; pLeaf != nullptr && depth < 64; ++depth) {
    for (const AFX_EVENTSINKMAP_ENTRY* e = pLeaf->pfnGetMap()->lpEntries; e->pfnCall != nullptr; ++e) {
      if (e->nCtlID == nCtlID && e->dispid == dispid)
        return e->pfnCall(pContainer, e->pbParamInfo, pDispParams);
    }
    const SinkRegistration* pNext = nullptr;
    for (const SinkRegistration* r : matching) {
      if (*r->pType == *pLeaf->pBase) pNext = r;
    }
    pLeaf = pNext;
  }
  return FALSE;
}

CAfxEventArgs::CAfxEventArgs(const BYTE* pbParamInfo, DISPPARAMS* pDispParams) : m_nArgs(0), m_bValid(FALSE) {
  for (VARIANT& v : m_args) ::VariantInit(&v);
  if (pbParamInfo == nullptr || pDispParams == nullptr) return;
  size_t n = strlen(reinterpret_cast<const char*>(pbParamInfo));
  if (n > kMaxArgs || pDispParams->cArgs < n) return;  // too few arguments for the declared handler
  m_nArgs = n;
  for (size_t i = 0; i < n; ++i) {
    // Arguments arrive last first.
    VARIANT& src = pDispParams->rgvarg[pDispParams->cArgs - 1 - i];
    VARTYPE vt = pbParamInfo[i];
    if (vt & VT_MFCBYREF) {
      VARTYPE vtBase = static_cast<VARTYPE>(vt & ~VT_MFCBYREF);
      if (src.vt == (VT_BYREF | vtBase)) {
        m_args[i] = src;  // written through by the handler, seen by the control
        continue;
      }
      // A value where a reference was declared: the handler gets a local copy.
      VARIANT* pSrc = &src;
      if (FAILED(::VariantChangeType(&m_args[i], pSrc, VARIANT_NOUSEROVERRIDE, vtBase))) return;
      continue;
    }
    if (vt == VT_VARIANT) {
      if (FAILED(::VariantCopyInd(&m_args[i], &src))) return;
      continue;
    }
    if (FAILED(::VariantChangeType(&m_args[i], &src, VARIANT_NOUSEROVERRIDE, vt))) return;
  }
  m_bValid = TRUE;
}

CAfxEventArgs::~CAfxEventArgs() {
  for (size_t i = 0; i < kMaxArgs; ++i) {
    if (!(m_args[i].vt & VT_BYREF)) ::VariantClear(&m_args[i]);
  }
}

// ---- dialog templates ----------------------------------------------------------------------------------
namespace {

const WORD* SkipSzOrOrd(const WORD* p) {
  if (*p == 0xFFFF) return p + 2;
  while (*p != 0) ++p;
  return p + 1;
}

const WORD* AlignDword(const WORD* p) {
  return reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~static_cast<UINT_PTR>(3));
}

void RegisterTemplateControls(LPCDLGTEMPLATE lpTemplate) {
  if (lpTemplate == nullptr) return;
  const WORD* p = reinterpret_cast<const WORD*>(lpTemplate);
  const bool bEx = p[0] == 1 && p[1] == 0xFFFF;
  DWORD dwStyle;
  WORD nItems;
  if (bEx) {
    dwStyle = *reinterpret_cast<const DWORD*>(p + 6);
    nItems = p[8];
    p += 13;  // dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy
  } else {
    dwStyle = lpTemplate->style;
    nItems = lpTemplate->cdit;
    p = reinterpret_cast<const WORD*>(lpTemplate + 1);
  }
  p = SkipSzOrOrd(p);  // menu
  p = SkipSzOrOrd(p);  // class
  p = SkipSzOrOrd(p);  // title
  if (dwStyle & (DS_SETFONT | DS_SHELLFONT)) {
    p += bEx ? 3 : 1;  // point size (weight, italic and charset too)
    p = SkipSzOrOrd(p);
  }
  for (WORD i = 0; i < nItems; ++i) {
    p = AlignDword(p);
    p += bEx ? 12 : 9;  // the fixed part of the item
    if (*p != 0xFFFF && *p == L'{') {
      const wchar_t* pszClass = reinterpret_cast<const wchar_t*>(p);
      CLSID clsid;
      if (SUCCEEDED(::CLSIDFromString(const_cast<LPOLESTR>(pszClass), &clsid))) RegisterHostClass(pszClass);
    }
    p = SkipSzOrOrd(p);  // class
    p = SkipSzOrOrd(p);  // title
    WORD cbExtra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + cbExtra);
  }
}

}  // namespace

CAfxOccDialogScope::CAfxOccDialogScope(LPCDLGTEMPLATE lpTemplate, const void* lpDialogInit)
    : m_lpPrevInit(t_pDialogInit) {
  RegisterTemplateControls(lpTemplate);
  t_pDialogInit = lpDialogInit;
}

CAfxOccDialogScope::~CAfxOccDialogScope() { t_pDialogInit = m_lpPrevInit; }

const void* AFXAPI AfxOccFindDialogInit(HINSTANCE hInst, LPCTSTR lpszTemplateName) {
  if (lpszTemplateName == nullptr) return nullptr;
  HRSRC hRsrc = ::FindResource(hInst, lpszTemplateName, MAKEINTRESOURCE(240));  // RT_DLGINIT
  if (hRsrc == nullptr) return nullptr;
  HGLOBAL hRes = ::LoadResource(hInst, hRsrc);
  return hRes != nullptr ? ::LockResource(hRes) : nullptr;
}

// ---- CWnd members --------------------------------------------------------------------------------------
BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey) {
  if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr || m_hWnd != nullptr) return FALSE;
  if (!RegisterHostClass(kHostClass)) return FALSE;
  PendingCreate pending = {clsid, bStorage ? nullptr : pPersist, bStorage, bstrLicKey};
  t_pPending = &pending;
  BOOL bOK = CreateEx(0, kHostClass, pszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
  t_pPending = nullptr;
  return bOK;
}

BOOL CWnd::CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey) {
  if (pszClass == nullptr) return FALSE;
  CLSID clsid;
  HRESULT hr = pszClass[0] == L'{' ? ::CLSIDFromString(const_cast<LPOLESTR>(pszClass), &clsid)
                                   : ::CLSIDFromProgID(pszClass, &clsid);
  if (FAILED(hr)) return FALSE;
  return CreateControl(clsid, pszWindowName, dwStyle, rect, pParentWnd, nID, pPersist, bStorage, bstrLicKey);
}

LPUNKNOWN CWnd::GetControlUnknown() {
  if (m_hWnd == nullptr) return nullptr;
  CControlSite* pSite = SiteOf(m_hWnd);
  return pSite != nullptr ? pSite->Unknown() : nullptr;
}

void AFX_CDECL CWnd::InvokeHelperArgs(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                      const BYTE* pbParamInfo, ...) {
  CControlSite* pSite = m_hWnd != nullptr ? SiteOf(m_hWnd) : nullptr;
  if (pSite == nullptr || pSite->Dispatch() == nullptr) AfxThrowOleException(E_NOINTERFACE);
  COleDispatchDriver driver(pSite->Dispatch(), FALSE);
  va_list args;
  va_start(args, pbParamInfo);
  try {
    driver.InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}
