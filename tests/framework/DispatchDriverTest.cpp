// COleDispatchDriver: argument packing (reverse order, put as the named DISPID_PROPERTYPUT
// argument), result conversion, exception mapping, the driver without an interface, reference
// counting of copies, and creation by ProgID of an object the system registers.
#include <afxdisp.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// An automation object that records the last call and answers as told.
class FakeDispatch : public IDispatch {
 public:
  LONG refs = 1;

  DISPID lastId = 0;
  WORD lastFlags = 0;
  std::vector<COleVariant> args;  // in the order received (last argument first)
  std::vector<DISPID> named;
  bool gotResultPointer = false;

  HRESULT reply = S_OK;
  COleVariant result;
  WORD excepCode = 0;
  SCODE excepScode = 0;
  const wchar_t* excepDescription = L"";
  const wchar_t* excepSource = L"";
  bool deferFillIn = false;

  static FakeDispatch* deferredTarget;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    *pctinfo = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

  static HRESULT STDAPICALLTYPE FillIn(EXCEPINFO* info) {
    info->bstrDescription = SysAllocString(deferredTarget->excepDescription);
    info->bstrSource = SysAllocString(deferredTarget->excepSource);
    info->scode = deferredTarget->excepScode;
    info->pfnDeferredFillIn = nullptr;
    return S_OK;
  }

  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* pResult,
                      EXCEPINFO* info, UINT*) override {
    lastId = id;
    lastFlags = flags;
    args.clear();
    named.clear();
    for (UINT i = 0; i < params->cArgs; ++i) args.emplace_back(params->rgvarg[i]);
    for (UINT i = 0; i < params->cNamedArgs; ++i) named.push_back(params->rgdispidNamedArgs[i]);
    gotResultPointer = pResult != nullptr;
    if (reply == DISP_E_EXCEPTION) {
      memset(info, 0, sizeof(*info));
      info->wCode = excepCode;
      if (deferFillIn) {
        deferredTarget = this;
        info->pfnDeferredFillIn = &FakeDispatch::FillIn;
      } else {
        info->scode = excepScode;
        info->bstrDescription = SysAllocString(excepDescription);
        info->bstrSource = SysAllocString(excepSource);
      }
    }
    if (FAILED(reply)) return reply;
    if (pResult) VariantCopy(pResult, &result);
    return S_OK;
  }
};
FakeDispatch* FakeDispatch::deferredTarget = nullptr;

TEST(DispatchDriverCalls, ADriverWithoutAnInterfaceDoesNothing) {
  COleDispatchDriver driver;
  long value = 77;
  driver.InvokeHelper(1, DISPATCH_METHOD, VT_I4, &value, reinterpret_cast<const BYTE*>(VTS_I4), 5L);
  EXPECT_EQ(77, value);
  CString text(L"kept");
  driver.GetProperty(2, VT_BSTR, &text);
  EXPECT_STREQ(L"kept", text);
  driver.SetProperty(3, VT_I4, 1L);
}

TEST(DispatchDriverCalls, ArgumentsAreSentLastFirst) {
  FakeDispatch fake;
  COleDispatchDriver driver(&fake, FALSE);
  COleVariant missing(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
  driver.InvokeHelper(0x10, DISPATCH_METHOD, VT_EMPTY, nullptr,
                      reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I4 VTS_VARIANT VTS_BOOL VTS_R8), L"first",
                      2L, static_cast<const VARIANT*>(missing), TRUE, 2.5);
  EXPECT_EQ(0x10, fake.lastId);
  EXPECT_EQ(DISPATCH_METHOD, fake.lastFlags);
  ASSERT_EQ(5u, fake.args.size());
  EXPECT_EQ(VT_R8, fake.args[0].vt);
  EXPECT_EQ(2.5, fake.args[0].dblVal);
  EXPECT_EQ(VT_BOOL, fake.args[1].vt);
  EXPECT_EQ(VARIANT_TRUE, fake.args[1].boolVal);
  EXPECT_EQ(VT_ERROR, fake.args[2].vt);
  EXPECT_EQ(DISP_E_PARAMNOTFOUND, fake.args[2].scode);
  EXPECT_EQ(VT_I4, fake.args[3].vt);
  EXPECT_EQ(2, fake.args[3].lVal);
  EXPECT_EQ(VT_BSTR, fake.args[4].vt);
  EXPECT_STREQ(L"first", fake.args[4].bstrVal);
  EXPECT_TRUE(fake.named.empty());
  EXPECT_TRUE(fake.gotResultPointer);
  // The caller's variant is lent, not taken.
  EXPECT_EQ(VT_ERROR, missing.vt);
}

TEST(DispatchDriverCalls, PutsSendTheValueAsTheNamedPropertyPutArgument) {
  FakeDispatch fake;
  COleDispatchDriver driver(&fake, FALSE);
  driver.InvokeHelper(5, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_BSTR),
                      L"v");
  ASSERT_EQ(1u, fake.named.size());
  EXPECT_EQ(DISPID_PROPERTYPUT, fake.named[0]);
  EXPECT_FALSE(fake.gotResultPointer);
  driver.SetProperty(6, VT_I4, 9L);
  EXPECT_EQ(DISPATCH_PROPERTYPUT, fake.lastFlags);
  ASSERT_EQ(1u, fake.args.size());
  EXPECT_EQ(9, fake.args[0].lVal);
  EXPECT_EQ(1u, fake.named.size());
  driver.SetProperty(7, VT_DISPATCH, static_cast<IDispatch*>(&fake));
  EXPECT_EQ(DISPATCH_PROPERTYPUTREF, fake.lastFlags);
  EXPECT_EQ(DISPID_PROPERTYPUT, fake.named[0]);
}

TEST(DispatchDriverResults, ResultsAreConvertedToTheRequestedType) {
  FakeDispatch fake;
  COleDispatchDriver driver(&fake, FALSE);

  fake.result = L"text result";
  CString text;
  driver.InvokeHelper(1, DISPATCH_PROPERTYGET, VT_BSTR, &text, nullptr);
  EXPECT_STREQ(L"text result", text);

  fake.result = L"12";
  long number = 0;
  driver.GetProperty(1, VT_I4, &number);
  EXPECT_EQ(12, number);

  fake.result = COleVariant(true);
  BOOL flag = FALSE;
  driver.GetProperty(1, VT_BOOL, &flag);
  EXPECT_TRUE(flag);

  fake.result = COleDateTime(2020, 5, 6, 7, 8, 9);
  DATE date = 0;
  driver.GetProperty(1, VT_DATE, &date);
  EXPECT_EQ(2020, COleDateTime(date).GetYear());

  VARIANT object;
  VariantInit(&object);
  object.vt = VT_DISPATCH;
  object.pdispVal = &fake;  // VariantCopy in Invoke adds the reference the caller receives
  fake.result = object;
  LONG before = fake.refs;
  LPDISPATCH returned = nullptr;
  driver.GetProperty(1, VT_DISPATCH, &returned);
  EXPECT_EQ(&fake, returned);
  EXPECT_EQ(before + 1, fake.refs);
  returned->Release();
  fake.result.Clear();

  // An empty result asked for as an object is a null object.
  returned = reinterpret_cast<LPDISPATCH>(1);
  driver.GetProperty(1, VT_DISPATCH, &returned);
  EXPECT_EQ(nullptr, returned);

  fake.result = 3.5;
  VARIANT any;
  VariantInit(&any);
  driver.GetProperty(1, VT_VARIANT, &any);
  EXPECT_EQ(VT_R8, any.vt);
  EXPECT_EQ(3.5, any.dblVal);

  fake.result = L"not a number";
  number = 5;
  try {
    driver.GetProperty(1, VT_I4, &number);
    FAIL();
  } catch (COleException* e) {
    EXPECT_EQ(DISP_E_TYPEMISMATCH, e->m_sc);
    e->Delete();
  }
  EXPECT_EQ(5, number);
}

TEST(DispatchDriverErrors, ServerExceptionsBecomeDispatchExceptions) {
  FakeDispatch fake;
  COleDispatchDriver driver(&fake, FALSE);
  fake.reply = DISP_E_EXCEPTION;
  fake.excepScode = E_ACCESSDENIED;
  fake.excepDescription = L"The store is locked";
  fake.excepSource = L"Fake.Store";
  CString untouched(L"before");
  try {
    driver.InvokeHelper(9, DISPATCH_METHOD, VT_BSTR, &untouched, nullptr);
    FAIL();
  } catch (COleDispatchException* e) {
    EXPECT_EQ(0, e->m_wCode);
    EXPECT_EQ(E_ACCESSDENIED, e->m_scError);
    EXPECT_STREQ(L"The store is locked", e->m_strDescription);
    EXPECT_STREQ(L"Fake.Store", e->m_strSource);
    WCHAR message[64];
    EXPECT_TRUE(e->GetErrorMessage(message, 64));
    EXPECT_STREQ(L"The store is locked", message);
    e->Delete();
  }
  EXPECT_STREQ(L"before", untouched);

  fake.excepCode = 1001;
  fake.deferFillIn = true;
  fake.excepDescription = L"Filled in later";
  try {
    driver.InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    FAIL();
  } catch (CException* e) {
    COleDispatchException* d = DYNAMIC_DOWNCAST(COleDispatchException, e);
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(1001, d->m_wCode);
    EXPECT_EQ(0, d->m_scError);
    EXPECT_STREQ(L"Filled in later", d->m_strDescription);
    e->Delete();
  }
}

TEST(DispatchDriverErrors, OtherFailuresBecomeOleExceptions) {
  FakeDispatch fake;
  COleDispatchDriver driver(&fake, FALSE);
  fake.reply = DISP_E_MEMBERNOTFOUND;
  try {
    driver.InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I4), 1L);
    FAIL();
  } catch (COleException* e) {
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, e->m_sc);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, COleException::Process(e));
    e->Delete();
  }
  fake.reply = S_OK;
  try {
    driver.InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>("\x7F"), 1L);
    FAIL();
  } catch (COleException* e) {
    EXPECT_EQ(DISP_E_BADVARTYPE, e->m_sc);
    e->Delete();
  }
}

TEST(DispatchDriverReferences, CopiesAddReferencesAndReleaseOnlyTheirOwn) {
  FakeDispatch fake;  // refs 1: the test's own reference
  fake.AddRef();
  {
    COleDispatchDriver a(&fake);  // takes the added reference
    EXPECT_EQ(2, fake.refs);
    {
      COleDispatchDriver b(a);
      EXPECT_EQ(3, fake.refs);
      EXPECT_TRUE(b.m_bAutoRelease);
      COleDispatchDriver c;
      c = a;
      EXPECT_EQ(4, fake.refs);
      c = b;  // same object: still one reference for c
      EXPECT_EQ(4, fake.refs);
      c = c;
      EXPECT_EQ(4, fake.refs);
    }
    EXPECT_EQ(2, fake.refs);
    LPDISPATCH detached = a.DetachDispatch();
    EXPECT_EQ(nullptr, a.m_lpDispatch);
    EXPECT_EQ(2, fake.refs);
    a.AttachDispatch(detached, FALSE);
    a.ReleaseDispatch();  // not released: the driver did not own it
    EXPECT_EQ(2, fake.refs);
    a.AttachDispatch(detached, TRUE);
    FakeDispatch other;
    a.AttachDispatch(&other, FALSE);  // releases the owned one first
    EXPECT_EQ(1, fake.refs);
  }
  EXPECT_EQ(1, fake.refs);
}

DISPID DispidOf(COleDispatchDriver& driver, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = driver.m_lpDispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  EXPECT_TRUE(SUCCEEDED(hr)) << name;
  return id;
}

TEST(DispatchDriverCreation, CreatesAnObjectByProgIdAndCallsIt) {
  ASSERT_TRUE(AfxOleInit());
  COleException error;
  COleDispatchDriver missing;
  EXPECT_FALSE(missing.CreateDispatch(L"Brindle.NoSuchObject", &error));
  EXPECT_EQ(CO_E_CLASSSTRING, error.m_sc);
  EXPECT_EQ(nullptr, missing.m_lpDispatch);

  COleDispatchDriver dictionary;
  ASSERT_TRUE(dictionary.CreateDispatch(L"Scripting.Dictionary", &error)) << std::hex << error.m_sc;
  DISPID add = DispidOf(dictionary, L"Add");
  DISPID count = DispidOf(dictionary, L"Count");
  DISPID item = DispidOf(dictionary, L"Item");
  DISPID exists = DispidOf(dictionary, L"Exists");

  COleVariant key(L"subject"), value(L"Quarterly report");
  dictionary.InvokeHelper(add, DISPATCH_METHOD, VT_EMPTY, nullptr,
                          reinterpret_cast<const BYTE*>(VTS_VARIANT VTS_VARIANT),
                          static_cast<const VARIANT*>(key), static_cast<const VARIANT*>(value));
  long n = 0;
  dictionary.GetProperty(count, VT_I4, &n);
  EXPECT_EQ(1, n);
  CString stored;
  dictionary.InvokeHelper(item, DISPATCH_PROPERTYGET, VT_BSTR, &stored,
                          reinterpret_cast<const BYTE*>(VTS_VARIANT), static_cast<const VARIANT*>(key));
  EXPECT_STREQ(L"Quarterly report", stored);
  BOOL found = FALSE;
  dictionary.InvokeHelper(exists, DISPATCH_METHOD, VT_BOOL, &found,
                          reinterpret_cast<const BYTE*>(VTS_VARIANT), static_cast<const VARIANT*>(key));
  EXPECT_TRUE(found);

  // The object refuses a second entry under the same key: the failure arrives as an exception.
  bool threw = false;
  try {
    dictionary.InvokeHelper(add, DISPATCH_METHOD, VT_EMPTY, nullptr,
                            reinterpret_cast<const BYTE*>(VTS_VARIANT VTS_VARIANT),
                            static_cast<const VARIANT*>(key), static_cast<const VARIANT*>(value));
  } catch (CException* e) {
    threw = e->IsKindOf(RUNTIME_CLASS(COleDispatchException)) || e->IsKindOf(RUNTIME_CLASS(COleException));
    e->Delete();
  }
  EXPECT_TRUE(threw);

  // Creating again on a bound driver replaces the object.
  CLSID clsid;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"Scripting.Dictionary", &clsid));
  ASSERT_TRUE(dictionary.CreateDispatch(clsid));
  dictionary.GetProperty(count, VT_I4, &n);
  EXPECT_EQ(0, n);
}

}  // namespace
