// Late-bound call helpers for the automation tests.
#include "DispatchHelpers.h"

#include <gtest/gtest.h>

namespace automationtest {

CallResult Call(IDispatch* object, DISPID id, WORD flags, std::vector<Arg> args, Pass pass) {
  CallResult out;
  std::vector<VARIANT> reversed(args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    VARIANT& slot = reversed[args.size() - 1 - i];
    VariantInit(&slot);
    if (pass == Pass::ByReference) {
      V_VT(&slot) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&slot) = &args[i].Get();
    } else {
      slot = args[i].Get();  // borrowed: args owns the contents
    }
  }
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(args.size()),
                       0};
  EXCEPINFO info = {};
  out.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &out.value, &info, &out.argErr);
  if (out.hr == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    if (info.bstrSource) out.source = info.bstrSource;
    if (info.bstrDescription) out.description = info.bstrDescription;
  }
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  return out;
}

CallResult Put(IDispatch* object, DISPID id, Arg value) {
  CallResult out;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value.Get(), &named, 1, 1};
  EXCEPINFO info = {};
  out.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &info,
                          &out.argErr);
  if (info.bstrDescription) out.description = info.bstrDescription;
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  return out;
}

HRESULT CreateByProgId(const wchar_t* progId, DispPtr& object, std::wstring* errorDescription) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) return hr;
  IDispatch* d = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&d));
  object.reset(d);
  if (FAILED(hr) && errorDescription) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
      BSTR text = nullptr;
      if (SUCCEEDED(info->GetDescription(&text)) && text) *errorDescription = text;
      SysFreeString(text);
      info->Release();
    }
  }
  return hr;
}

std::wstring Widen(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

std::string ReadStream(IStorage* storage, const wchar_t* name) {
  IStream* stream = nullptr;
  if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
    return "<missing>";
  std::string out;
  char buffer[4096];
  ULONG got = 0;
  while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0) out.append(buffer, got);
  stream->Release();
  return out;
}

std::wstring AsWide(const std::string& bytes) {
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

void ExpectAll(IDispatch* item, const std::vector<Expected>& expected, const char* kind) {
  for (const Expected& e : expected) {
    CallResult r = Get(item, e.id);
    ASSERT_EQ(S_OK, r.hr) << kind << " id 0x" << std::hex << e.id;
    ASSERT_EQ(e.type, V_VT(&r.value)) << kind << " id 0x" << std::hex << e.id;
    if (e.type == VT_BSTR) {
      EXPECT_EQ(e.text, r.Text()) << kind << " id 0x" << std::hex << e.id;
    } else if (e.type == VT_I4) {
      EXPECT_EQ(static_cast<long>(e.number), r.Integer()) << kind << " id 0x" << std::hex << e.id;
    } else {
      EXPECT_DOUBLE_EQ(e.number, r.Date()) << kind << " id 0x" << std::hex << e.id;
    }
  }
}

}  // namespace automationtest
