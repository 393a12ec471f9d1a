// The in-process server module of the rich-text control stand-in: its class factory and its
// self-registration as an apartment-threaded control.
#include <windows.h>
#include <olectl.h>

#include <new>
#include <string>

#include "RichTextControl.h"

using namespace richtext;

namespace {

HMODULE g_module = nullptr;

class ClassFactory final : public IClassFactory {
 public:
  ClassFactory() { ++g_liveObjects; }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return CreateRichTextControl(riid, object);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      ++g_liveObjects;
    else
      --g_liveObjects;
    return S_OK;
  }

 private:
  ~ClassFactory() { --g_liveObjects; }
  std::atomic<ULONG> references_{1};
};

std::wstring ClassKey() {
  wchar_t clsid[64] = {};
  ::StringFromGUID2(CLSID_RichTextControl, clsid, 64);
  return std::wstring(L"Software\\Classes\\CLSID\\") + clsid;
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG rc = ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(handle);
  return rc == ERROR_SUCCESS;
}

std::wstring GetValue(const std::wstring& key) {
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  return buffer;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(g_module, path, MAX_PATH);
  return length != 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// The name of a path's file, without its directory.
std::wstring FileNameOf(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// The class's server is another module's when its registration names an existing file of another
// name than this one: on a machine with the real control, registering the stand-in must not take its
// place. A file of this module's name elsewhere is the stand-in of another build tree (the one this
// tree was copied or moved from), and this one takes its place: a program of this tree must load this
// tree's control.
bool ServedByAnotherModule(const std::wstring& self) {
  const std::wstring server = GetValue(ClassKey() + L"\\InprocServer32");
  return !server.empty() && ::lstrcmpiW(FileNameOf(server).c_str(), FileNameOf(self).c_str()) != 0 &&
         ::GetFileAttributesW(server.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_RichTextControl)) return CLASS_E_CLASSNOTAVAILABLE;
  ClassFactory* factory = new (std::nothrow) ClassFactory();
  if (factory == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, object);
  factory->Release();
  return hr;
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return g_liveObjects == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT __stdcall DllRegisterServer() {
  const std::wstring self = ModulePath();
  if (self.empty() || ServedByAnotherModule(self)) return SELFREG_E_CLASS;
  const std::wstring key = ClassKey();
  const bool ok = SetValue(key, nullptr, L"Rich text control stand-in") &&
                  SetValue(key + L"\\InprocServer32", nullptr, self) &&
                  SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                  SetValue(key + L"\\Control", nullptr, L"");
  return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
  const std::wstring self = ModulePath();
  if (!self.empty() && ::lstrcmpiW(GetValue(ClassKey() + L"\\InprocServer32").c_str(), self.c_str()) == 0) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey().c_str());
  }
  return S_OK;
}
