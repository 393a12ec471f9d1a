// Table-checked IDispatch for the stand-in objects.
#include "DispatchObject.h"

#include "PstSource.h"

#include <new>

namespace automation {

std::atomic<long> g_moduleReferences{0};

std::wstring Widen(const char* text) {
  std::wstring out;
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n > 1) {
    out.resize(n - 1);
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], n);
  }
  return out;
}

namespace {

const VARIANT* Deref(const VARIANT* v) {
  while (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
  return v;
}

bool IsMissingValue(const VARIANT* v) {
  return !v || (V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND);
}

HRESULT FillException(EXCEPINFO* info, const wchar_t* source, const std::wstring& description,
                      HRESULT scode) {
  if (info) {
    ZeroMemory(info, sizeof(*info));
    info->bstrSource = SysAllocString(source);
    info->bstrDescription = SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
    info->scode = scode;
  }
  return DISP_E_EXCEPTION;
}

}  // namespace

DispatchArgs::DispatchArgs(const DISPPARAMS* params, bool isPut) : params_(params), isPut_(isPut) {
  unsigned total = params ? params->cArgs : 0;
  count_ = isPut && total > 0 ? total - 1 : total;
}

// rgvarg is reversed; a put's value is rgvarg[0] (named DISPID_PROPERTYPUT), the positional ones follow.
const VARIANT* DispatchArgs::At(unsigned index) const {
  if (index >= count_) return nullptr;
  unsigned total = params_->cArgs;
  return Deref(&params_->rgvarg[total - 1 - index]);
}

bool DispatchArgs::IsMissing(unsigned index) const { return IsMissingValue(At(index)); }

std::wstring DispatchArgs::ToText(const VARIANT* value, UINT rgIndex) const {
  if (IsMissingValue(value)) throw InvokeRefused{DISP_E_PARAMNOTOPTIONAL, rgIndex};
  if (V_VT(value) == VT_BSTR) {
    BSTR b = V_BSTR(value);
    return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
  }
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BSTR)))
    throw InvokeRefused{DISP_E_TYPEMISMATCH, rgIndex};
  std::wstring out(V_BSTR(&converted), SysStringLen(V_BSTR(&converted)));
  VariantClear(&converted);
  return out;
}

std::wstring DispatchArgs::Text(unsigned index) const {
  return ToText(At(index), params_ ? params_->cArgs - 1 - index : 0);
}

long DispatchArgs::Integer(unsigned index) const {
  const VARIANT* value = At(index);
  UINT rgIndex = params_ ? params_->cArgs - 1 - index : 0;
  if (IsMissingValue(value)) throw InvokeRefused{DISP_E_PARAMNOTOPTIONAL, rgIndex};
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_I4)))
    throw InvokeRefused{DISP_E_TYPEMISMATCH, rgIndex};
  return V_I4(&converted);
}

std::wstring DispatchArgs::PutText() const {
  if (!isPut_ || !params_ || params_->cArgs == 0) throw InvokeRefused{DISP_E_BADPARAMCOUNT, 0};
  return ToText(Deref(&params_->rgvarg[0]), 0);
}

DispatchObject::DispatchObject() { ++g_moduleReferences; }
DispatchObject::~DispatchObject() { --g_moduleReferences; }

STDMETHODIMP DispatchObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DispatchObject::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) DispatchObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

// Names are a convenience for scripts and tests; the engine calls by identifier only. A name that
// several kinds share (a get/put pair) resolves to their common identifier.
STDMETHODIMP DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    if (i > 0) {  // named arguments are not supported
      hr = DISP_E_UNKNOWNNAME;
      continue;
    }
    for (const DispatchMember& m : Members()) {
      if (names[i] && lstrcmpiW(names[i], m.name) == 0) {
        ids[i] = m.id;
        break;
      }
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

STDMETHODIMP DispatchObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if (params->cArgs > 0 && !params->rgvarg) return E_INVALIDARG;
  bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  const DispatchMember* member = nullptr;
  for (const DispatchMember& m : Members()) {
    if (m.id != id) continue;
    if (isPut ? m.kind == kPut : (flags & m.kind) != 0) {
      member = &m;
      break;
    }
  }
  // An unknown identifier and a known one asked with the wrong kind are both not found.
  if (!member) return DISP_E_MEMBERNOTFOUND;
  // A put carries exactly one named argument, DISPID_PROPERTYPUT; nothing else takes named arguments.
  if (isPut) {
    if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || params->cArgs < 1)
      return DISP_E_PARAMNOTOPTIONAL;
  } else if (params->cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  }
  DispatchArgs args(params, isPut);
  // Trailing missing arguments count as absent, as late-bound callers pad optional ones.
  unsigned given = args.Count();
  while (given > member->minArgs && args.IsMissing(given - 1)) --given;
  if (given < member->minArgs || args.Count() > member->maxArgs) return DISP_E_BADPARAMCOUNT;
  if (result) VariantInit(result);
  try {
    Call(*member, args, result);
    return S_OK;
  } catch (const InvokeRefused& refused) {
    if (argErr) *argErr = refused.argumentIndex;
    return refused.hr;
  } catch (const DispatchError& error) {
    return FillException(excepInfo, Source(), error.Description(), error.Scode());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    // Source errors and the reader's own.
    return FillException(excepInfo, Source(), Widen(DescribeSourceFailure(error).c_str()),
                         IsUnreadableFile(error) ? kDiskErrorScode : E_FAIL);
  } catch (...) {
    return FillException(excepInfo, Source(), L"unexpected failure inside the automation server", E_FAIL);
  }
}

void SetText(VARIANT* result, const std::wstring& text) {
  if (!result) return;
  VariantInit(result);
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!V_BSTR(result)) throw std::bad_alloc();
}

void SetInteger(VARIANT* result, long value) {
  if (!result) return;
  VariantInit(result);
  V_VT(result) = VT_I4;
  V_I4(result) = value;
}

void SetBoolean(VARIANT* result, bool value) {
  if (!result) return;
  VariantInit(result);
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetDate(VARIANT* result, double date) {
  if (!result) return;
  VariantInit(result);
  V_VT(result) = VT_DATE;
  V_DATE(result) = date;
}

void SetObject(VARIANT* result, IDispatch* object) {
  if (!result) {
    if (object) object->Release();
    return;
  }
  VariantInit(result);
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
}

}  // namespace automation
