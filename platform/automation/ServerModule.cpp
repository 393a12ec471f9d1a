// The in-process server module holding both stand-ins, "Outlook.Application" and
// "Redemption.RDOSession", each a coclass of its own with its own CLSID. They share one DLL because
// they share the dispatch plumbing and the fault seam and are always registered together.
#include "OutlookApplication.h"
#include "RdoSession.h"

#include <windows.h>
#include <olectl.h>

#include <string>

namespace automation {
namespace {

// {F6501FAA-63A3-4F19-BECD-A298414F06B9}
const CLSID kOutlookClsid = {0xf6501faa, 0x63a3, 0x4f19, {0xbe, 0xcd, 0xa2, 0x98, 0x41, 0x4f, 0x06, 0xb9}};
// {E83073A8-EF30-46CD-9644-1A07486E04E7}
const CLSID kRdoClsid = {0xe83073a8, 0xef30, 0x46cd, {0x96, 0x44, 0x1a, 0x07, 0x48, 0x6e, 0x04, 0xe7}};

HMODULE g_module = nullptr;

void SetCreationError(const wchar_t* source, const std::wstring& description) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return;
  create->SetSource(const_cast<LPOLESTR>(source));
  create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
}

class ClassFactory : public IClassFactory {
 public:
  explicit ClassFactory(bool outlook) : outlook_(outlook) { ++g_moduleReferences; }
  virtual ~ClassFactory() { --g_moduleReferences; }

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    DispatchObject* created = nullptr;
    try {
      if (outlook_)
        created = new OutlookApplication();
      else
        created = new RdoSession([](const std::wstring& path) { return OpenPstStore(path); });
    } catch (const DispatchError& error) {
      SetCreationError(outlook_ ? kOutlookProgId : kRdoProgId, error.Description());
      return E_FAIL;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    HRESULT hr = created->QueryInterface(riid, object);
    created->Release();
    return hr;
  }

  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      ++g_moduleReferences;
    else
      --g_moduleReferences;
    return S_OK;
  }

 private:
  bool outlook_;
  std::atomic<ULONG> references_{1};
};

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  return text;
}

bool SetValue(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

std::wstring GetValue(HKEY root, const std::wstring& path) {
  wchar_t buffer[256] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return std::wstring();
  return buffer;
}

const wchar_t kClasses[] = L"Software\\Classes\\";

// A ProgID that already names another server is left to it: on a machine with the real servers,
// registering ours must not take their place.
HRESULT RegisterCoclass(const CLSID& clsid, const wchar_t* progId, const wchar_t* description) {
  wchar_t module[MAX_PATH] = {};
  if (!GetModuleFileNameW(g_module, module, MAX_PATH)) return SELFREG_E_CLASS;
  std::wstring clsidText = ClsidText(clsid);
  std::wstring clsidKey = std::wstring(kClasses) + L"CLSID\\" + clsidText;
  std::wstring progKey = std::wstring(kClasses) + progId;
  std::wstring owner = GetValue(HKEY_LOCAL_MACHINE, progKey + L"\\CLSID");
  if (!owner.empty() && _wcsicmp(owner.c_str(), clsidText.c_str()) != 0) return SELFREG_E_CLASS;
  bool ok = SetValue(HKEY_LOCAL_MACHINE, clsidKey, nullptr, description) &&
            SetValue(HKEY_LOCAL_MACHINE, clsidKey + L"\\InprocServer32", nullptr, module) &&
            SetValue(HKEY_LOCAL_MACHINE, clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
            SetValue(HKEY_LOCAL_MACHINE, clsidKey + L"\\ProgID", nullptr, progId) &&
            SetValue(HKEY_LOCAL_MACHINE, progKey, nullptr, description) &&
            SetValue(HKEY_LOCAL_MACHINE, progKey + L"\\CLSID", nullptr, clsidText);
  return ok ? S_OK : SELFREG_E_CLASS;
}

void UnregisterCoclass(const CLSID& clsid, const wchar_t* progId) {
  std::wstring clsidText = ClsidText(clsid);
  std::wstring progKey = std::wstring(kClasses) + progId;
  if (_wcsicmp(GetValue(HKEY_LOCAL_MACHINE, progKey + L"\\CLSID").c_str(), clsidText.c_str()) == 0)
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, progKey.c_str());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kClasses) + L"CLSID\\" + clsidText).c_str());
}

}  // namespace
}  // namespace automation

using namespace automation;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  bool outlook = IsEqualCLSID(clsid, kOutlookClsid);
  if (!outlook && !IsEqualCLSID(clsid, kRdoClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  ClassFactory* factory = new (std::nothrow) ClassFactory(outlook);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(riid, object);
  factory->Release();
  return hr;
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return g_moduleReferences == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT __stdcall DllRegisterServer() {
  HRESULT outlook =
      RegisterCoclass(kOutlookClsid, kOutlookProgId, L"Outlook.Application automation stand-in");
  HRESULT rdo = RegisterCoclass(kRdoClsid, kRdoProgId, L"Redemption.RDOSession automation stand-in");
  return FAILED(outlook) ? outlook : rdo;
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
  UnregisterCoclass(kOutlookClsid, kOutlookProgId);
  UnregisterCoclass(kRdoClsid, kRdoProgId);
  return S_OK;
}
