// Control hosting: a small control of the test (registered for this process only) with a caption
// property, an Add method and events, hosted through CWnd::CreateControl and through a dialog
// template item named by its CLSID with DLGINIT state; events reach the container's sink map with
// their arguments coerced to the declared types.
#include "afxole.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// {B7A1C0DE-1234-4F00-9A00-00000000C0DE}
const CLSID CLSID_TestControl = {
    0xb7a1c0de, 0x1234, 0x4f00, {0x9a, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc0, 0xde}};
const wchar_t kTestControlClsid[] = L"{B7A1C0DE-1234-4F00-9A00-00000000C0DE}";
// {B7A1C0DE-1234-4F00-9A00-00000000E0E0}
const IID DIID_TestEvents = {0xb7a1c0de, 0x1234, 0x4f00, {0x9a, 0x00, 0x00, 0x00, 0x00, 0x00, 0xe0, 0xe0}};

constexpr DISPID kDispCaption = 1, kDispAdd = 2, kDispFire = 3;
constexpr DISPID kEventChanged = 1;

// The control: a static window showing its caption.
class TestControl final : public IDispatch,
                          public IOleObject,
                          public IOleInPlaceObject,
                          public IPersistStreamInit,
                          public IConnectionPointContainer,
                          public IProvideClassInfo2 {
 public:
  static int s_live;
  static short s_lastKeyCode;  // what the container's handler left in the by-reference argument
  TestControl() { ++s_live; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *ppv = static_cast<IDispatch*>(this);
    } else if (riid == IID_IOleObject) {
      *ppv = static_cast<IOleObject*>(this);
    } else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow) {
      *ppv = static_cast<IOleInPlaceObject*>(this);
    } else if (riid == IID_IPersistStreamInit || riid == IID_IPersist) {
      *ppv = static_cast<IPersistStreamInit*>(this);
    } else if (riid == IID_IConnectionPointContainer) {
      *ppv = static_cast<IConnectionPointContainer*>(this);
    } else if (riid == IID_IProvideClassInfo2 || riid == IID_IProvideClassInfo) {
      *ppv = static_cast<IProvideClassInfo2*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_ref; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG r = --m_ref;
    if (r == 0) delete this;
    return r;
  }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* p) override {
    *p = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* dp, VARIANT* pResult, EXCEPINFO*,
                      UINT*) override {
    if (dispid == kDispCaption && (wFlags & DISPATCH_PROPERTYPUT)) {
      // A put must name its value DISPID_PROPERTYPUT.
      if (dp->cArgs != 1 || dp->cNamedArgs != 1 || dp->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
        return DISP_E_PARAMNOTOPTIONAL;
      }
      VARIANT v;
      VariantInit(&v);
      if (FAILED(VariantChangeType(&v, &dp->rgvarg[0], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
      m_caption = v.bstrVal;
      VariantClear(&v);
      if (m_hWnd != nullptr) ::SetWindowText(m_hWnd, m_caption.c_str());
      return S_OK;
    }
    if (dispid == kDispCaption && (wFlags & DISPATCH_PROPERTYGET)) {
      pResult->vt = VT_BSTR;
      pResult->bstrVal = SysAllocString(m_caption.c_str());
      return S_OK;
    }
    if (dispid == kDispAdd && (wFlags & DISPATCH_METHOD)) {
      if (dp->cArgs != 2) return DISP_E_BADPARAMCOUNT;
      VARIANT a, b;
      VariantInit(&a);
      VariantInit(&b);
      // Arguments come last first.
      if (FAILED(VariantChangeType(&a, &dp->rgvarg[1], 0, VT_I4)) ||
          FAILED(VariantChangeType(&b, &dp->rgvarg[0], 0, VT_I4))) {
        return DISP_E_TYPEMISMATCH;
      }
      pResult->vt = VT_I4;
      pResult->lVal = a.lVal + b.lVal;
      return S_OK;
    }
    if (dispid == kDispFire && (wFlags & DISPATCH_METHOD)) {
      FireAll();
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  void Fire(DISPID dispid, VARIANT* args, UINT n) {
    if (m_pSink == nullptr) return;
    DISPPARAMS dp = {args, nullptr, n, 0};
    m_pSink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
  }
  void FireAll() {
    // Changed(text, count): the count comes as a short and a text as a number, to be coerced.
    VARIANT changed[2];
    changed[1].vt = VT_BSTR;
    changed[1].bstrVal = SysAllocString(m_caption.c_str());
    changed[0].vt = VT_I2;
    changed[0].iVal = 7;
    Fire(kEventChanged, changed, 2);
    VariantClear(&changed[1]);
    Fire(DISPID_CLICK, nullptr, 0);
    // KeyDown(short* KeyCode, short Shift): the container may change the key code.
    short keyCode = 65;
    VARIANT key[2];
    key[1].vt = VT_BYREF | VT_I2;
    key[1].piVal = &keyCode;
    key[0].vt = VT_I4;
    key[0].lVal = 1;
    Fire(DISPID_KEYDOWN, key, 2);
    s_lastKeyCode = keyCode;
    // Too few arguments for the declared handler: ignored, not a crash.
    Fire(DISPID_MOUSEDOWN, nullptr, 0);
  }

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* pSite) override {
    if (m_pSite != nullptr) m_pSite->Release();
    m_pSite = pSite;
    if (m_pSite != nullptr) m_pSite->AddRef();
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** pp) override {
    *pp = m_pSite;
    if (m_pSite != nullptr) m_pSite->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    InPlaceDeactivate();
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite* pSite, LONG, HWND hwndParent,
                      LPCRECT lprcPosRect) override {
    if (m_hWnd != nullptr) return S_OK;
    IOleInPlaceSite* pInPlace = nullptr;
    if (pSite == nullptr ||
        FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pInPlace)))) {
      return E_UNEXPECTED;
    }
    HWND hwnd = nullptr;
    pInPlace->GetWindow(&hwnd);
    EXPECT_EQ(hwnd, hwndParent);
    if (pInPlace->CanInPlaceActivate() == S_OK) {
      pInPlace->OnInPlaceActivate();
      m_hWnd =
          ::CreateWindowEx(0, L"STATIC", m_caption.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | WS_BORDER,
                           lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                           lprcPosRect->bottom - lprcPosRect->top, hwnd, nullptr, nullptr, nullptr);
    }
    pInPlace->Release();
    return m_hWnd != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* p) override {
    *p = CLSID_TestControl;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* p) override {
    *p = OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* p) override {
    *p = m_hWnd;
    return m_hWnd != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override {
    if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override {
    if (m_hWnd != nullptr)
      ::MoveWindow(m_hWnd, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
  }
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

  // IPersistStreamInit: the caption as UTF-16 text.
  STDMETHODIMP GetClassID(CLSID* p) override {
    *p = CLSID_TestControl;
    return S_OK;
  }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM pStm) override {
    wchar_t buf[128] = {};
    ULONG n = 0;
    pStm->Read(buf, sizeof(buf) - sizeof(wchar_t), &n);
    m_caption.assign(buf, n / sizeof(wchar_t));
    return S_OK;
  }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
  STDMETHODIMP InitNew() override {
    m_caption = L"new";
    return S_OK;
  }

  // IConnectionPointContainer / IConnectionPoint
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** pp) override {
    if (riid != DIID_TestEvents) {
      *pp = nullptr;
      return CONNECT_E_NOCONNECTION;
    }
    *pp = &m_point;
    AddRef();
    return S_OK;
  }
  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetGUID(DWORD kind, GUID* p) override {
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *p = DIID_TestEvents;
    return S_OK;
  }

 private:
  ~TestControl() {
    --s_live;
    if (m_pSite != nullptr) m_pSite->Release();
    if (m_pSink != nullptr) m_pSink->Release();
  }
  // The one connection point, for the events interface.
  struct Point final : public IConnectionPoint {
    TestControl* m_pOwner;
    explicit Point(TestControl* p) : m_pOwner(p) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
      if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
      }
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_pOwner->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_pOwner->Release(); }
    STDMETHODIMP GetConnectionInterface(IID* p) override {
      *p = DIID_TestEvents;
      return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** pp) override {
      *pp = static_cast<IConnectionPointContainer*>(m_pOwner);
      m_pOwner->AddRef();
      return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* pUnk, DWORD* pdwCookie) override {
      if (m_pOwner->m_pSink != nullptr) return CONNECT_E_ADVISELIMIT;
      if (FAILED(pUnk->QueryInterface(DIID_TestEvents, reinterpret_cast<void**>(&m_pOwner->m_pSink))))
        return CONNECT_E_CANNOTCONNECT;
      *pdwCookie = 1;
      return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD) override {
      if (m_pOwner->m_pSink != nullptr) m_pOwner->m_pSink->Release();
      m_pOwner->m_pSink = nullptr;
      return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
  };
  Point m_point{this};
  ULONG m_ref = 1;
  std::wstring m_caption = L"unset";
  HWND m_hWnd = nullptr;
  IOleClientSite* m_pSite = nullptr;
  IDispatch* m_pSink = nullptr;
};
int TestControl::s_live = 0;
short TestControl::s_lastKeyCode = 0;

class TestControlFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
    if (pOuter != nullptr) return CLASS_E_NOAGGREGATION;
    TestControl* p = new TestControl;
    HRESULT hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};
TestControlFactory g_factory;

// Records what reached the sink map.
struct EventLog {
  std::vector<std::wstring> entries;
};

class CHostWnd : public CWnd {
 public:
  EventLog log;
  BOOL CreateTop() {
    return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), L"host",
                    WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 360, 200, nullptr, nullptr);
  }

 protected:
  void OnChanged(LPCTSTR text, long count) {
    CString s;
    s.Format(L"changed %s %ld", text, count);
    log.entries.push_back(static_cast<LPCWSTR>(s));
  }
  void OnClick() { log.entries.push_back(L"click"); }
  void OnKeyDown(short* keyCode, short shift) {
    CString s;
    s.Format(L"key %d %d", *keyCode, shift);
    log.entries.push_back(static_cast<LPCWSTR>(s));
    *keyCode = 0;  // swallowed
  }
  void OnMouseDown(short, short, long, long) { log.entries.push_back(L"mouse"); }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CHostWnd, CWnd)
ON_EVENT(CHostWnd, 1015, kEventChanged, OnChanged, VTS_BSTR VTS_I4)
ON_EVENT(CHostWnd, 1015, DISPID_CLICK, OnClick, VTS_NONE)
ON_EVENT(CHostWnd, 1015, DISPID_KEYDOWN, OnKeyDown, VTS_PI2 VTS_I2)
ON_EVENT(CHostWnd, 1015, DISPID_MOUSEDOWN, OnMouseDown, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
END_EVENTSINK_MAP()

// A derived container without a map of its own still reaches its base's handlers.
class CDerivedHostWnd : public CHostWnd {};

class ControlHosting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(AfxOleInit());
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestControl, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                    &m_cookie),
              S_OK);
  }
  void TearDown() override {
    CoRevokeClassObject(m_cookie);
    EXPECT_EQ(TestControl::s_live, 0);  // every control the tests made was released
  }
  DWORD m_cookie = 0;
};

CString GetCaption(CWnd& ctl) {
  CString caption;
  ctl.InvokeHelper(kDispCaption, DISPATCH_PROPERTYGET, VT_BSTR, &caption, nullptr);
  return caption;
}

TEST_F(ControlHosting, CreateControlPutsCallsAndRoutesEvents) {
  CDerivedHostWnd host;
  ASSERT_TRUE(host.CreateTop());
  CWnd ctl;
  ASSERT_TRUE(ctl.CreateControl(CLSID_TestControl, nullptr, WS_VISIBLE, CRect(10, 10, 330, 60), &host, 1015));
  EXPECT_NE(ctl.GetControlUnknown(), nullptr);
  EXPECT_EQ(ctl.GetDlgCtrlID(), 1015);
  EXPECT_EQ(GetCaption(ctl), L"new");  // no saved state: InitNew

  static const BYTE kPutParams[] = VTS_BSTR;
  ctl.InvokeHelper(kDispCaption, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, kPutParams, L"Hosted caption");
  EXPECT_EQ(GetCaption(ctl), L"Hosted caption");
  // A VARIANT argument is passed by value.
  COleVariant value(L"Through a variant");
  static const BYTE kPutVariant[] = VTS_VARIANT;
  ctl.InvokeHelper(kDispCaption, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, kPutVariant,
                   static_cast<const VARIANT*>(value));
  EXPECT_EQ(GetCaption(ctl), L"Through a variant");

  long sum = 0;
  static const BYTE kAddParams[] = VTS_I4 VTS_I4;
  ctl.InvokeHelper(kDispAdd, DISPATCH_METHOD, VT_I4, &sum, kAddParams, 40L, 2L);
  EXPECT_EQ(sum, 42);

  // An unknown member surfaces as a framework exception.
  bool thrown = false;
  try {
    ctl.InvokeHelper(99, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
  } catch (COleException* e) {
    thrown = e->m_sc == DISP_E_MEMBERNOTFOUND;
    e->Delete();
  }
  EXPECT_TRUE(thrown);

  ctl.InvokeHelper(kDispFire, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
  EXPECT_EQ(host.log.entries,
            (std::vector<std::wstring>{L"changed Through a variant 7", L"click", L"key 65 1"}));
  EXPECT_EQ(TestControl::s_lastKeyCode, 0);  // the handler's write went back to the control

  testsupport::PumpMessages(150);
  testsupport::SaveWindowPng(host.m_hWnd, L"framework_ole_hosted_control.png");
  ctl.DestroyWindow();
  host.DestroyWindow();
}

TEST_F(ControlHosting, WindowWithoutControlRefusesInvoke) {
  CHostWnd host;
  ASSERT_TRUE(host.CreateTop());
  bool thrown = false;
  try {
    host.InvokeHelper(kDispCaption, DISPATCH_PROPERTYGET, VT_EMPTY, nullptr, nullptr);
  } catch (COleException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
  CWnd ctl;
  EXPECT_FALSE(ctl.CreateControl(L"{00000000-0000-0000-0000-0000000000AB}", nullptr, WS_VISIBLE,
                                 CRect(0, 0, 10, 10), &host, 5));
  EXPECT_EQ(ctl.m_hWnd, nullptr);
  EXPECT_FALSE(ctl.CreateControl(L"not a class", nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), &host, 5));
  host.DestroyWindow();
}

// A dialog template in memory: one hosted control (class "{CLSID}") and an OK button.
std::vector<WORD> ControlDialogTemplate() {
  std::vector<WORD> w;
  auto dword = [&](DWORD d) {
    w.push_back(LOWORD(d));
    w.push_back(HIWORD(d));
  };
  auto text = [&](const wchar_t* s) {
    for (; *s; ++s) w.push_back(*s);
    w.push_back(0);
  };
  auto align = [&] {
    if (w.size() % 2) w.push_back(0);
  };
  dword(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);
  dword(0);
  w.push_back(2);  // items
  w.push_back(10);
  w.push_back(10);
  w.push_back(220);
  w.push_back(90);
  w.push_back(0);  // menu
  w.push_back(0);  // class
  text(L"hosting dialog");
  w.push_back(8);
  text(L"MS Shell Dlg");
  auto item = [&](DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* cls, WORD atom) {
    align();
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    w.push_back(x);
    w.push_back(y);
    w.push_back(cx);
    w.push_back(cy);
    w.push_back(id);
    if (cls != nullptr) {
      text(cls);
    } else {
      w.push_back(0xFFFF);
      w.push_back(atom);
    }
    text(L"");
    w.push_back(0);
  };
  item(WS_TABSTOP, 10, 10, 200, 40, 1015, kTestControlClsid, 0);
  item(BS_DEFPUSHBUTTON | WS_TABSTOP, 160, 60, 50, 14, IDOK, nullptr, 0x0080);
  return w;
}

// DLGINIT with the control's saved state (its caption) as a stream record.
std::vector<BYTE> ControlDialogInit(const wchar_t* caption) {
  std::vector<BYTE> b;
  auto put = [&](const void* p, size_t n) {
    b.insert(b.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
  };
  WORD id = 1015, msg = WM_OCC_LOADFROMSTREAM;
  DWORD len = static_cast<DWORD>(wcslen(caption) * sizeof(wchar_t));
  put(&id, 2);
  put(&msg, 2);
  put(&len, 4);
  put(caption, len);
  WORD end = 0;
  put(&end, 2);
  return b;
}

class CHostDialog : public CDialog {
 public:
  CWnd m_ctl;
  EventLog log;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1015, m_ctl);
  }
  void OnChanged(LPCTSTR text, long count) {
    CString s;
    s.Format(L"dialog %s %ld", text, count);
    log.entries.push_back(static_cast<LPCWSTR>(s));
  }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CHostDialog, CDialog)
ON_EVENT(CHostDialog, 1015, kEventChanged, OnChanged, VTS_BSTR VTS_I4)
END_EVENTSINK_MAP()

TEST_F(ControlHosting, DialogTemplateItemLoadsItsStateAndTalksThroughDdxControl) {
  std::vector<WORD> tmpl = ControlDialogTemplate();
  std::vector<BYTE> init = ControlDialogInit(L"from template");
  CHostDialog dlg;
  ASSERT_TRUE(dlg.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(tmpl.data()), nullptr, init.data()));
  ASSERT_NE(dlg.m_ctl.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_ctl.m_hWnd, ::GetDlgItem(dlg.m_hWnd, 1015));
  EXPECT_EQ(GetCaption(dlg.m_ctl), L"from template");

  static const BYTE kPutParams[] = VTS_BSTR;
  dlg.m_ctl.InvokeHelper(kDispCaption, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, kPutParams,
                         L"changed in dialog");
  dlg.m_ctl.InvokeHelper(kDispFire, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
  // Only the events the dialog's map lists are handled; the rest are ignored.
  EXPECT_EQ(dlg.log.entries, (std::vector<std::wstring>{L"dialog changed in dialog 7"}));

  testsupport::PumpMessages(150);
  testsupport::SaveWindowPng(dlg.m_hWnd, L"framework_ole_control_dialog.png");
  dlg.DestroyWindow();
}

TEST_F(ControlHosting, DialogItemWithoutStateStartsNew) {
  std::vector<WORD> tmpl = ControlDialogTemplate();
  CHostDialog dlg;
  ASSERT_TRUE(dlg.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(tmpl.data()), nullptr, nullptr));
  EXPECT_EQ(GetCaption(dlg.m_ctl), L"new");
  dlg.DestroyWindow();
}

TEST_F(ControlHosting, ResourceDialogTakesStateFromItsDlgInit) {
  CHostDialog dlg;
  ASSERT_TRUE(dlg.Create(192, nullptr));  // an extended template from the resources
  ASSERT_NE(dlg.m_ctl.m_hWnd, nullptr);
  EXPECT_EQ(GetCaption(dlg.m_ctl), L"from resource");
  dlg.DestroyWindow();
}

}  // namespace
