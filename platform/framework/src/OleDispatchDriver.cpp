// COleDispatchDriver and per-thread OLE initialisation.
#include "afxdisp.h"

#include <cstring>
#include <vector>

namespace {
thread_local bool t_oleInitialized = false;
}  // namespace

BOOL AFXAPI AfxOleInit() {
  if (t_oleInitialized) return TRUE;
  HRESULT hr = OleInitialize(nullptr);
  if (FAILED(hr)) return FALSE;
  t_oleInitialized = true;
  return TRUE;
}

void AFXAPI AfxOleTermThread() {
  if (!t_oleInitialized) return;
  t_oleInitialized = false;
  OleUninitialize();
}

COleDispatchDriver::COleDispatchDriver() : m_lpDispatch(nullptr), m_bAutoRelease(TRUE) {}

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease) {}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& dispatchSrc)
    : m_lpDispatch(dispatchSrc.m_lpDispatch), m_bAutoRelease(TRUE) {
  if (m_lpDispatch) m_lpDispatch->AddRef();
}

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& dispatchSrc) {
  if (this != &dispatchSrc) {
    LPDISPATCH incoming = dispatchSrc.m_lpDispatch;
    if (incoming) incoming->AddRef();  // before releasing ours: both may be the same object
    ReleaseDispatch();
    m_lpDispatch = incoming;
    m_bAutoRelease = TRUE;
  }
  return *this;
}

COleDispatchDriver::~COleDispatchDriver() { ReleaseDispatch(); }

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError) {
  ReleaseDispatch();
  LPUNKNOWN lpUnknown = nullptr;
  HRESULT hr =
      CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&lpUnknown));
  if (SUCCEEDED(hr)) hr = OleRun(lpUnknown);
  if (SUCCEEDED(hr)) hr = lpUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_lpDispatch));
  if (lpUnknown) lpUnknown->Release();
  if (FAILED(hr)) {
    m_lpDispatch = nullptr;
    if (pError) pError->m_sc = hr;
    return FALSE;
  }
  m_bAutoRelease = TRUE;
  return TRUE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCWSTR lpszProgID, COleException* pError) {
  CLSID clsid;
  HRESULT hr = lpszProgID ? CLSIDFromProgID(lpszProgID, &clsid) : E_INVALIDARG;
  if (FAILED(hr)) {
    if (pError) pError->m_sc = hr;
    return FALSE;
  }
  return CreateDispatch(clsid, pError);
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease) {
  ReleaseDispatch();
  m_lpDispatch = lpDispatch;
  m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
  LPDISPATCH lpDispatch = m_lpDispatch;
  m_lpDispatch = nullptr;
  return lpDispatch;
}

void COleDispatchDriver::ReleaseDispatch() {
  if (m_lpDispatch) {
    LPDISPATCH lpDispatch = m_lpDispatch;
    m_lpDispatch = nullptr;
    if (m_bAutoRelease) lpDispatch->Release();
  }
}

namespace {

// Fills one argument from the variable arguments; BSTRs made here are listed for freeing.
void TakeArgument(VARIANT& arg, BYTE code, va_list& argList, std::vector<BSTR>& madeStrings) {
  VariantInit(&arg);
  if (code & VT_MFCBYREF) {
    VARTYPE base = static_cast<VARTYPE>(code & ~VT_MFCBYREF);
    switch (base) {
      case VT_I1:
      case VT_UI1:
      case VT_I2:
      case VT_UI2:
      case VT_I4:
      case VT_UI4:
      case VT_I8:
      case VT_UI8:
      case VT_R4:
      case VT_R8:
      case VT_CY:
      case VT_DATE:
      case VT_BSTR:
      case VT_DISPATCH:
      case VT_ERROR:
      case VT_BOOL:
      case VT_VARIANT:
      case VT_UNKNOWN:
        arg.vt = static_cast<VARTYPE>(VT_BYREF | base);
        arg.byref = va_arg(argList, void*);
        return;
      default:
        AfxThrowOleException(DISP_E_BADVARTYPE);
    }
  }
  switch (code) {
    case VT_I1:
      arg.vt = VT_I1;
      arg.cVal = static_cast<CHAR>(va_arg(argList, int));
      break;
    case VT_UI1:
      arg.vt = VT_UI1;
      arg.bVal = static_cast<BYTE>(va_arg(argList, int));
      break;
    case VT_I2:
      arg.vt = VT_I2;
      arg.iVal = static_cast<SHORT>(va_arg(argList, int));
      break;
    case VT_UI2:
      arg.vt = VT_UI2;
      arg.uiVal = static_cast<USHORT>(va_arg(argList, int));
      break;
    case VT_I4:
      arg.vt = VT_I4;
      arg.lVal = va_arg(argList, long);
      break;
    case VT_UI4:
      arg.vt = VT_UI4;
      arg.ulVal = va_arg(argList, unsigned long);
      break;
    case VT_I8:
      arg.vt = VT_I8;
      arg.llVal = va_arg(argList, LONGLONG);
      break;
    case VT_UI8:
      arg.vt = VT_UI8;
      arg.ullVal = va_arg(argList, ULONGLONG);
      break;
    case VT_R4:
      arg.vt = VT_R4;
      arg.fltVal = static_cast<float>(va_arg(argList, double));
      break;
    case VT_R8:
      arg.vt = VT_R8;
      arg.dblVal = va_arg(argList, double);
      break;
    case VT_DATE:
      arg.vt = VT_DATE;
      arg.date = va_arg(argList, DATE);
      break;
    case VT_CY:
      arg.vt = VT_CY;
      arg.cyVal = *va_arg(argList, CY*);
      break;
    case VT_BSTR: {
      LPCWSTR text = va_arg(argList, LPCWSTR);
      BSTR b = SysAllocString(text ? text : L"");
      if (!b) AfxThrowMemoryException();
      madeStrings.push_back(b);
      arg.vt = VT_BSTR;
      arg.bstrVal = b;
      break;
    }
    case VT_DISPATCH:
      arg.vt = VT_DISPATCH;
      arg.pdispVal = va_arg(argList, LPDISPATCH);
      break;
    case VT_UNKNOWN:
      arg.vt = VT_UNKNOWN;
      arg.punkVal = va_arg(argList, LPUNKNOWN);
      break;
    case VT_ERROR:
      arg.vt = VT_ERROR;
      arg.scode = va_arg(argList, SCODE);
      break;
    case VT_BOOL:
      arg.vt = VT_BOOL;
      arg.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_VARIANT: {
      // By value: a shallow copy that the caller's variant keeps owning.
      const VARIANT* source = va_arg(argList, const VARIANT*);
      if (source) memcpy(&arg, source, sizeof(VARIANT));
      break;
    }
    default:
      AfxThrowOleException(DISP_E_BADVARTYPE);
  }
}

[[noreturn]] void ThrowDispatchException(EXCEPINFO& info) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  COleDispatchException* e = new COleDispatchException(info.bstrDescription, info.dwHelpContext, info.wCode);
  e->m_scError = info.wCode ? 0 : info.scode;
  e->m_strSource = info.bstrSource;
  e->m_strHelpFile = info.bstrHelpFile;
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  throw e;
}

void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet) {
  switch (vtRet) {
    case VT_I1:
      *static_cast<CHAR*>(pvRet) = result.cVal;
      break;
    case VT_UI1:
      *static_cast<BYTE*>(pvRet) = result.bVal;
      break;
    case VT_I2:
      *static_cast<SHORT*>(pvRet) = result.iVal;
      break;
    case VT_UI2:
      *static_cast<USHORT*>(pvRet) = result.uiVal;
      break;
    case VT_I4:
      *static_cast<long*>(pvRet) = result.lVal;
      break;
    case VT_UI4:
      *static_cast<unsigned long*>(pvRet) = result.ulVal;
      break;
    case VT_I8:
      *static_cast<LONGLONG*>(pvRet) = result.llVal;
      break;
    case VT_UI8:
      *static_cast<ULONGLONG*>(pvRet) = result.ullVal;
      break;
    case VT_R4:
      *static_cast<float*>(pvRet) = result.fltVal;
      break;
    case VT_R8:
      *static_cast<double*>(pvRet) = result.dblVal;
      break;
    case VT_DATE:
      *static_cast<DATE*>(pvRet) = result.date;
      break;
    case VT_CY:
      *static_cast<CY*>(pvRet) = result.cyVal;
      break;
    case VT_BSTR:
      *static_cast<CString*>(pvRet) = CString(result.bstrVal, static_cast<int>(SysStringLen(result.bstrVal)));
      SysFreeString(result.bstrVal);
      result.vt = VT_EMPTY;
      break;
    case VT_DISPATCH:
      *static_cast<LPDISPATCH*>(pvRet) = result.pdispVal;  // the caller's reference now
      result.vt = VT_EMPTY;
      break;
    case VT_UNKNOWN:
      *static_cast<LPUNKNOWN*>(pvRet) = result.punkVal;
      result.vt = VT_EMPTY;
      break;
    case VT_ERROR:
      *static_cast<SCODE*>(pvRet) = result.scode;
      break;
    case VT_BOOL:
      *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE;
      break;
    case VT_VARIANT:
      memcpy(pvRet, &result, sizeof(VARIANT));  // the caller's variant owns the content now
      result.vt = VT_EMPTY;
      break;
    default:
      VariantClear(&result);
      AfxThrowOleException(DISP_E_BADVARTYPE);
  }
}

}  // namespace

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList) {
  if (m_lpDispatch == nullptr) return;

  DISPPARAMS dispparams = {};
  DISPID dispidNamed = DISPID_PROPERTYPUT;
  if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    dispparams.cNamedArgs = 1;
    dispparams.rgdispidNamedArgs = &dispidNamed;
  }

  std::vector<VARIANT> args;
  std::vector<BSTR> madeStrings;
  struct Cleanup {
    std::vector<BSTR>& strings;
    ~Cleanup() {
      for (BSTR b : strings) SysFreeString(b);
    }
  } cleanup{madeStrings};

  size_t count = pbParamInfo ? strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
  if (count) {
    args.resize(count);
    va_list walk;
    va_copy(walk, argList);
    try {
      // The last argument goes first.
      for (size_t i = 0; i < count; ++i) TakeArgument(args[count - 1 - i], pbParamInfo[i], walk, madeStrings);
    } catch (...) {
      va_end(walk);
      throw;
    }
    va_end(walk);
    dispparams.cArgs = static_cast<UINT>(count);
    dispparams.rgvarg = args.data();
  }

  VARIANT result;
  VariantInit(&result);
  // Puts return nothing.
  VARIANT* pResult = (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? nullptr : &result;
  EXCEPINFO excepInfo = {};
  UINT argErr = 0;
  HRESULT hr = m_lpDispatch->Invoke(dwDispID, IID_NULL, 0, wFlags, &dispparams, pResult, &excepInfo, &argErr);
  if (FAILED(hr)) {
    VariantClear(&result);
    if (hr == DISP_E_EXCEPTION) ThrowDispatchException(excepInfo);
    AfxThrowOleException(hr);
  }

  if (vtRet == VT_EMPTY || pvRet == nullptr) {
    VariantClear(&result);
    return;
  }
  if (vtRet != VT_VARIANT && result.vt != vtRet) {
    if (vtRet == VT_DISPATCH && (result.vt == VT_EMPTY || result.vt == VT_NULL)) {
      *static_cast<LPDISPATCH*>(pvRet) = nullptr;
      return;
    }
    hr = VariantChangeType(&result, &result, 0, vtRet);
    if (FAILED(hr)) {
      VariantClear(&result);
      AfxThrowOleException(hr);
    }
  }
  StoreResult(result, vtRet, pvRet);
  VariantClear(&result);
}

void AFX_CDECL COleDispatchDriver::InvokeHelperArgs(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                                    const BYTE* pbParamInfo, ...) {
  va_list argList;
  va_start(argList, pbParamInfo);
  try {
    InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
  } catch (...) {
    va_end(argList);
    throw;
  }
  va_end(argList);
}

void AFX_CDECL COleDispatchDriver::SetPropertyArg(DISPID dwDispID, VARTYPE vtProp, ...) {
  BYTE paramInfo[2] = {static_cast<BYTE>(vtProp), 0};
  WORD wFlags = vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  va_list argList;
  va_start(argList, vtProp);
  try {
    InvokeHelperV(dwDispID, wFlags, VT_EMPTY, nullptr, paramInfo, argList);
  } catch (...) {
    va_end(argList);
    throw;
  }
  va_end(argList);
}

void COleDispatchDriver::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const {
  const_cast<COleDispatchDriver*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp,
                                                      nullptr);
}
