// A stand-in embedded object for container tests: it offers the verbs it is given (on the container
// menu) and the short type name "Sheet", and counts its references.
#pragma once

#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

class FakeOleObject : public IOleObject, public IEnumOLEVERB {
 public:
  explicit FakeOleObject(std::vector<std::pair<LONG, std::wstring>> verbs) : m_verbs(std::move(verbs)) {}

  // IUnknown (the enumerator shares the object's count; tests hold the object longer than any call).
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IOleObject) {
      *ppv = static_cast<IOleObject*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_nRefs; }

  // IOleObject: only what the container asks.
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnum) override {
    m_nNext = 0;
    *ppEnum = this;
    ++m_nRefs;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* pszUserType) override {
    *pszUserType = static_cast<LPOLESTR>(::CoTaskMemAlloc(16 * sizeof(WCHAR)));
    lstrcpyW(*pszUserType, L"Sheet");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) override {
    *pClsid = CLSID_NULL;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IEnumOLEVERB.
  HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPOLEVERB rgelt, ULONG* pFetched) override {
    ULONG n = 0;
    while (n < celt && m_nNext < m_verbs.size()) {
      const auto& verb = m_verbs[m_nNext++];
      rgelt[n].lVerb = verb.first;
      rgelt[n].lpszVerbName =
          static_cast<LPOLESTR>(::CoTaskMemAlloc((verb.second.size() + 1) * sizeof(WCHAR)));
      lstrcpyW(rgelt[n].lpszVerbName, verb.second.c_str());
      rgelt[n].fuFlags = 0;
      rgelt[n].grfAttribs = OLEVERBATTRIB_ONCONTAINERMENU;
      ++n;
    }
    if (pFetched != nullptr) *pFetched = n;
    return n == celt ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override {
    m_nNext = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumOLEVERB**) override { return E_NOTIMPL; }

  ULONG m_nRefs = 1;

 private:
  std::vector<std::pair<LONG, std::wstring>> m_verbs;
  size_t m_nNext = 0;
};

}  // namespace testsupport
