#include "afxole.h"

#include <new>
#include <vector>

// ---- CSharedFile -----------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(nullptr), m_bAllowGrow(TRUE) {}

CSharedFile::~CSharedFile() {
  if (m_lpBuffer != nullptr) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes) {
  HGLOBAL h = ::GlobalAlloc(m_nAllocFlags, nBytes);
  if (h == nullptr) return nullptr;
  m_hGlobalMemory = h;
  return static_cast<BYTE*>(::GlobalLock(h));
}

BYTE* CSharedFile::Realloc(BYTE* lpMem, SIZE_T nBytes) {
  if (!m_bAllowGrow) return nullptr;
  if (lpMem == nullptr || m_hGlobalMemory == nullptr) return Alloc(nBytes);
  ::GlobalUnlock(m_hGlobalMemory);
  HGLOBAL h = ::GlobalReAlloc(m_hGlobalMemory, nBytes, m_nAllocFlags & ~GMEM_ZEROINIT);
  if (h == nullptr) {
    ::GlobalLock(m_hGlobalMemory);
    return nullptr;
  }
  m_hGlobalMemory = h;
  return static_cast<BYTE*>(::GlobalLock(h));
}

void CSharedFile::Free(BYTE* lpMem) {
  if (lpMem != nullptr && m_hGlobalMemory != nullptr) {
    ::GlobalUnlock(m_hGlobalMemory);
    ::GlobalFree(m_hGlobalMemory);
  }
  m_hGlobalMemory = nullptr;
}

HGLOBAL CSharedFile::Detach() {
  HGLOBAL h = m_hGlobalMemory;
  if (h != nullptr) {
    ::GlobalUnlock(h);
    // Trim the growth reserve so the receiver sees the file's length as the block's size.
    if (m_nFileSize > 0) {
      HGLOBAL hTrim = ::GlobalReAlloc(h, m_nFileSize, m_nAllocFlags & ~GMEM_ZEROINIT);
      if (hTrim != nullptr) h = hTrim;
    }
  } else {
    h = ::GlobalAlloc(m_nAllocFlags, 0);
  }
  m_hGlobalMemory = nullptr;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  return h;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow) {
  if (m_lpBuffer != nullptr) Free(m_lpBuffer);
  m_hGlobalMemory = hGlobalMemory;
  m_lpBuffer = static_cast<BYTE*>(::GlobalLock(hGlobalMemory));
  m_nBufferSize = m_nFileSize = m_lpBuffer != nullptr ? ::GlobalSize(hGlobalMemory) : 0;
  m_nPosition = 0;
  m_bAllowGrow = bAllowGrow;
}

// ---- helpers ---------------------------------------------------------------------------------------
namespace {

HGLOBAL CopyGlobal(HGLOBAL hSrc) {
  SIZE_T n = ::GlobalSize(hSrc);
  HGLOBAL hDst = ::GlobalAlloc(GMEM_MOVEABLE, n);
  if (hDst == nullptr) return nullptr;
  void* pSrc = ::GlobalLock(hSrc);
  void* pDst = ::GlobalLock(hDst);
  if (pSrc == nullptr || pDst == nullptr) {
    if (pSrc != nullptr) ::GlobalUnlock(hSrc);
    if (pDst != nullptr) ::GlobalUnlock(hDst);
    ::GlobalFree(hDst);
    return nullptr;
  }
  memcpy(pDst, pSrc, n);
  ::GlobalUnlock(hSrc);
  ::GlobalUnlock(hDst);
  return hDst;
}

FORMATETC MakeFormatEtc(CLIPFORMAT cf, LPFORMATETC lpFormatEtc, DWORD tymed) {
  if (lpFormatEtc != nullptr) {
    FORMATETC f = *lpFormatEtc;
    f.cfFormat = cf;
    return f;
  }
  FORMATETC f = {cf, nullptr, DVASPECT_CONTENT, -1, tymed};
  return f;
}

// A snapshot enumerator of FORMATETCs.
class FormatEnumerator : public IEnumFORMATETC {
 public:
  FormatEnumerator(const FORMATETC* p, UINT n, UINT pos = 0) : m_ref(1), m_formats(p, p + n), m_pos(pos) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IEnumFORMATETC) {
      *ppv = static_cast<IEnumFORMATETC*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_ref); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG r = InterlockedDecrement(&m_ref);
    if (r == 0) delete this;
    return r;
  }
  STDMETHODIMP Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override {
    ULONG n = 0;
    while (n < celt && m_pos < m_formats.size()) rgelt[n++] = m_formats[m_pos++];
    if (pceltFetched != nullptr) *pceltFetched = n;
    return n == celt ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG celt) override {
    m_pos += celt;
    if (m_pos > m_formats.size()) {
      m_pos = m_formats.size();
      return S_FALSE;
    }
    return S_OK;
  }
  STDMETHODIMP Reset() override {
    m_pos = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumFORMATETC** ppenum) override {
    *ppenum = new (std::nothrow)
        FormatEnumerator(m_formats.data(), static_cast<UINT>(m_formats.size()), static_cast<UINT>(m_pos));
    return *ppenum != nullptr ? S_OK : E_OUTOFMEMORY;
  }

 private:
  virtual ~FormatEnumerator() = default;
  LONG m_ref;
  std::vector<FORMATETC> m_formats;
  size_t m_pos;
};

thread_local COleDataSource* t_pClipboardSource = nullptr;

}  // namespace

// ---- COleDataSource --------------------------------------------------------------------------------
// The IDataObject of a data source: its reference count is the source's.
class COleDataSourceObject final : public IDataObject {
 public:
  explicit COleDataSourceObject(COleDataSource* pOwner) : m_pOwner(pOwner) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
      *ppv = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return m_pOwner->InternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_pOwner->InternalRelease(); }

  STDMETHODIMP GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override {
    if (pFormat == nullptr || pMedium == nullptr) return E_INVALIDARG;
    COleDataSource::CacheEntry* e = m_pOwner->Lookup(pFormat);
    if (e == nullptr) return DV_E_FORMATETC;
    ZeroMemory(pMedium, sizeof(*pMedium));
    if (e->stgMedium.tymed == TYMED_HGLOBAL) {
      pMedium->tymed = TYMED_HGLOBAL;
      pMedium->hGlobal = CopyGlobal(e->stgMedium.hGlobal);
      return pMedium->hGlobal != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    if (e->stgMedium.tymed == TYMED_ISTREAM || e->stgMedium.tymed == TYMED_ISTORAGE) {
      *pMedium = e->stgMedium;
      pMedium->pUnkForRelease = nullptr;
      if (e->stgMedium.tymed == TYMED_ISTREAM) {
        pMedium->pstm->AddRef();
        LARGE_INTEGER zero = {};
        pMedium->pstm->Seek(zero, STREAM_SEEK_SET, nullptr);
      } else {
        pMedium->pstg->AddRef();
      }
      return S_OK;
    }
    return DV_E_TYMED;
  }
  STDMETHODIMP GetDataHere(FORMATETC* pFormat, STGMEDIUM* pMedium) override {
    if (pFormat == nullptr || pMedium == nullptr) return E_INVALIDARG;
    COleDataSource::CacheEntry* e = m_pOwner->Lookup(pFormat);
    if (e == nullptr) return DV_E_FORMATETC;
    if (e->stgMedium.tymed != TYMED_HGLOBAL || pMedium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
    SIZE_T n = ::GlobalSize(e->stgMedium.hGlobal);
    if (::GlobalSize(pMedium->hGlobal) < n) return STG_E_MEDIUMFULL;
    void* pSrc = ::GlobalLock(e->stgMedium.hGlobal);
    void* pDst = ::GlobalLock(pMedium->hGlobal);
    if (pSrc != nullptr && pDst != nullptr) memcpy(pDst, pSrc, n);
    if (pSrc != nullptr) ::GlobalUnlock(e->stgMedium.hGlobal);
    if (pDst != nullptr) ::GlobalUnlock(pMedium->hGlobal);
    return (pSrc != nullptr && pDst != nullptr) ? S_OK : E_UNEXPECTED;
  }
  STDMETHODIMP QueryGetData(FORMATETC* pFormat) override {
    if (pFormat == nullptr) return E_INVALIDARG;
    return m_pOwner->Lookup(pFormat) != nullptr ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut) override {
    if (pOut != nullptr) pOut->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
  }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenum) override {
    if (ppenum == nullptr) return E_INVALIDARG;
    *ppenum = nullptr;
    if (dwDirection != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (UINT i = 0; i < m_pOwner->m_nSize; ++i) formats.push_back(m_pOwner->m_pCache[i].formatEtc);
    *ppenum = new (std::nothrow) FormatEnumerator(formats.data(), static_cast<UINT>(formats.size()));
    return *ppenum != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  COleDataSource* m_pOwner;
};

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

COleDataSource::COleDataSource() : m_pCache(nullptr), m_nSize(0), m_nMaxSize(0), m_pObject(nullptr) {
  m_pObject = new COleDataSourceObject(this);
}

COleDataSource::~COleDataSource() {
  if (t_pClipboardSource == this) t_pClipboardSource = nullptr;
  Empty();
  delete m_pObject;
}

void COleDataSource::Empty() {
  for (UINT i = 0; i < m_nSize; ++i) {
    if (m_pCache[i].formatEtc.ptd != nullptr) ::CoTaskMemFree(m_pCache[i].formatEtc.ptd);
    ::ReleaseStgMedium(&m_pCache[i].stgMedium);
  }
  delete[] m_pCache;
  m_pCache = nullptr;
  m_nSize = m_nMaxSize = 0;
}

COleDataSource::CacheEntry* COleDataSource::Lookup(const FORMATETC* lpFormatEtc) const {
  for (UINT i = 0; i < m_nSize; ++i) {
    const FORMATETC& f = m_pCache[i].formatEtc;
    if (f.cfFormat == lpFormatEtc->cfFormat && (f.tymed & lpFormatEtc->tymed) != 0 &&
        (lpFormatEtc->dwAspect == 0 || f.dwAspect == lpFormatEtc->dwAspect) &&
        (lpFormatEtc->lindex == -1 || f.lindex == lpFormatEtc->lindex)) {
      return &m_pCache[i];
    }
  }
  return nullptr;
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
  if (lpStgMedium == nullptr) return;
  FORMATETC f = MakeFormatEtc(cfFormat, lpFormatEtc, lpStgMedium->tymed);
  f.tymed = lpStgMedium->tymed;
  f.ptd = nullptr;  // device-specific renderings are not offered
  // A format offered again replaces the earlier data.
  FORMATETC query = f;
  query.dwAspect = f.dwAspect;
  if (CacheEntry* e = Lookup(&query)) {
    ::ReleaseStgMedium(&e->stgMedium);
    e->formatEtc = f;
    e->stgMedium = *lpStgMedium;
    return;
  }
  if (m_nSize == m_nMaxSize) {
    UINT nNew = m_nMaxSize == 0 ? 4 : m_nMaxSize * 2;
    CacheEntry* p = new CacheEntry[nNew];
    for (UINT i = 0; i < m_nSize; ++i) p[i] = m_pCache[i];
    delete[] m_pCache;
    m_pCache = p;
    m_nMaxSize = nNew;
  }
  m_pCache[m_nSize].formatEtc = f;
  m_pCache[m_nSize].stgMedium = *lpStgMedium;
  ++m_nSize;
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
  if (hGlobal == nullptr) return;
  STGMEDIUM medium = {};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = hGlobal;
  CacheData(cfFormat, &medium, lpFormatEtc);
}

LPDATAOBJECT COleDataSource::GetDataObject() { return m_pObject; }

LPUNKNOWN COleDataSource::GetInterfaceHook(const void* piid) {
  const IID& iid = *static_cast<const IID*>(piid);
  if (iid == IID_IDataObject || iid == IID_IUnknown) return m_pObject;
  return nullptr;
}

void COleDataSource::SetClipboard() {
  HRESULT hr = ::OleSetClipboard(m_pObject);
  if (SUCCEEDED(hr)) t_pClipboardSource = this;
  // The clipboard holds its own reference now; ours goes.
  InternalRelease();
}

COleDataSource* PASCAL COleDataSource::GetClipboardOwner() {
  COleDataSource* p = t_pClipboardSource;
  if (p == nullptr) return nullptr;
  if (::OleIsCurrentClipboard(p->m_pObject) != S_OK) {
    return nullptr;
  }
  return p;
}

void PASCAL COleDataSource::FlushClipboard() {
  if (GetClipboardOwner() != nullptr) ::OleFlushClipboard();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT /*lpRectStartDrag*/,
                                      COleDropSource* pDropSource) {
  COleDropSource defaultSource;
  if (pDropSource == nullptr) pDropSource = &defaultSource;
  // The button held down when the drag starts is the one whose release drops.
  pDropSource->m_dwButtonDrop = (::GetKeyState(VK_RBUTTON) < 0) ? MK_RBUTTON : MK_LBUTTON;
  DWORD dwResult = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(m_pObject, pDropSource->GetDropSource(), dwEffects, &dwResult);
  if (hr != DRAGDROP_S_DROP) return DROPEFFECT_NONE;
  return dwResult;
}

// ---- COleDropSource --------------------------------------------------------------------------------
struct COleDropSource::Impl final : public IDropSource {
  COleDropSource* pOwner;
  explicit Impl(COleDropSource* p) : pOwner(p) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDropSource) {
      *ppv = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return pOwner->InternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return pOwner->InternalRelease(); }
  STDMETHODIMP QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override {
    return pOwner->QueryContinueDrag(fEscapePressed, grfKeyState);
  }
  STDMETHODIMP GiveFeedback(DWORD dwEffect) override { return pOwner->GiveFeedback(dwEffect); }
};

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

COleDropSource::COleDropSource() : m_dwButtonDrop(MK_LBUTTON), m_pImpl(new Impl(this)) {}
COleDropSource::~COleDropSource() { delete m_pImpl; }
LPDROPSOURCE COleDropSource::GetDropSource() { return m_pImpl; }

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
  if (bEscapePressed) return DRAGDROP_S_CANCEL;
  // The other button pressed during the drag cancels it.
  DWORD dwOther = (m_dwButtonDrop == MK_LBUTTON) ? MK_RBUTTON : MK_LBUTTON;
  if (dwKeyState & dwOther) return DRAGDROP_S_CANCEL;
  if (!(dwKeyState & m_dwButtonDrop)) return DRAGDROP_S_DROP;
  return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// ---- COleDataObject --------------------------------------------------------------------------------
COleDataObject::COleDataObject() : m_lpDataObject(nullptr), m_bAutoRelease(TRUE), m_lpEnumerator(nullptr) {}
COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
  Release();
  m_lpDataObject = lpDataObject;
  m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
  if (m_lpEnumerator != nullptr) {
    m_lpEnumerator->Release();
    m_lpEnumerator = nullptr;
  }
  LPDATAOBJECT p = m_lpDataObject;
  m_lpDataObject = nullptr;
  return p;
}

void COleDataObject::Release() {
  if (m_lpEnumerator != nullptr) {
    m_lpEnumerator->Release();
    m_lpEnumerator = nullptr;
  }
  if (m_lpDataObject != nullptr && m_bAutoRelease) m_lpDataObject->Release();
  m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard() {
  Release();
  LPDATAOBJECT p = nullptr;
  if (FAILED(::OleGetClipboard(&p)) || p == nullptr) return FALSE;
  Attach(p, TRUE);
  return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (m_lpDataObject == nullptr) return FALSE;
  FORMATETC f = MakeFormatEtc(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_ISTORAGE);
  return m_lpDataObject->QueryGetData(&f) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
  if (m_lpDataObject == nullptr || lpStgMedium == nullptr) return FALSE;
  FORMATETC f = MakeFormatEtc(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_ISTORAGE);
  ZeroMemory(lpStgMedium, sizeof(*lpStgMedium));
  return SUCCEEDED(m_lpDataObject->GetData(&f, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (m_lpDataObject == nullptr) return nullptr;
  FORMATETC f = MakeFormatEtc(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
  f.tymed = TYMED_HGLOBAL;
  STGMEDIUM medium = {};
  if (FAILED(m_lpDataObject->GetData(&f, &medium))) return nullptr;
  if (medium.tymed != TYMED_HGLOBAL) {
    ::ReleaseStgMedium(&medium);
    return nullptr;
  }
  // Memory someone else still holds is copied, so the caller always owns what it gets.
  if (medium.pUnkForRelease == nullptr) return medium.hGlobal;
  HGLOBAL h = CopyGlobal(medium.hGlobal);
  ::ReleaseStgMedium(&medium);
  return h;
}

CFile* COleDataObject::GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  HGLOBAL h = GetGlobalData(cfFormat, lpFormatEtc);
  if (h == nullptr) return nullptr;
  CSharedFile* pFile = new CSharedFile(GMEM_MOVEABLE, 0);
  pFile->SetHandle(h, FALSE);
  return pFile;
}

void COleDataObject::BeginEnumFormats() {
  if (m_lpEnumerator != nullptr) {
    m_lpEnumerator->Release();
    m_lpEnumerator = nullptr;
  }
  if (m_lpDataObject != nullptr) m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc) {
  if (m_lpEnumerator == nullptr || lpFormatEtc == nullptr) return FALSE;
  ULONG n = 0;
  if (m_lpEnumerator->Next(1, lpFormatEtc, &n) != S_OK || n != 1) return FALSE;
  if (lpFormatEtc->ptd != nullptr) {
    ::CoTaskMemFree(lpFormatEtc->ptd);
    lpFormatEtc->ptd = nullptr;
  }
  return TRUE;
}

// ---- COleDropTarget --------------------------------------------------------------------------------
struct COleDropTargetImpl final : public IDropTarget {
  COleDropTarget* pOwner;
  DROPEFFECT lastEffect = DROPEFFECT_NONE;
  explicit COleDropTargetImpl(COleDropTarget* p) : pOwner(p) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
      *ppv = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return pOwner->InternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return pOwner->InternalRelease(); }

  CWnd* Window() const { return CWnd::FromHandle(pOwner->m_hWnd); }
  CPoint ClientPoint(POINTL pt) const {
    CPoint point(pt.x, pt.y);
    ::ScreenToClient(pOwner->m_hWnd, &point);
    return point;
  }
  // The effect a handler returned, limited to what the source allows (the scroll bit stays).
  static DWORD Limit(DROPEFFECT effect, DWORD allowed) {
    return (effect & DROPEFFECT_SCROLL) | (effect & allowed & ~DROPEFFECT_SCROLL);
  }

  STDMETHODIMP DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
    if (pdwEffect == nullptr) return E_INVALIDARG;
    if (pOwner->m_hWnd == nullptr || pDataObj == nullptr) {
      *pdwEffect = DROPEFFECT_NONE;
      return S_OK;
    }
    pDataObj->AddRef();
    pOwner->m_dataObject.Attach(pDataObj, TRUE);
    CPoint point = ClientPoint(pt);
    DROPEFFECT scroll = pOwner->OnDragScroll(Window(), grfKeyState, point);
    DROPEFFECT effect = (scroll & DROPEFFECT_SCROLL)
                            ? scroll
                            : pOwner->OnDragEnter(Window(), &pOwner->m_dataObject, grfKeyState, point);
    lastEffect = Limit(effect, *pdwEffect);
    *pdwEffect = lastEffect;
    return S_OK;
  }
  STDMETHODIMP DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
    if (pdwEffect == nullptr) return E_INVALIDARG;
    if (pOwner->m_dataObject.m_lpDataObject == nullptr) {
      *pdwEffect = DROPEFFECT_NONE;
      return S_OK;
    }
    CPoint point = ClientPoint(pt);
    DROPEFFECT scroll = pOwner->OnDragScroll(Window(), grfKeyState, point);
    DROPEFFECT effect = (scroll & DROPEFFECT_SCROLL)
                            ? scroll
                            : pOwner->OnDragOver(Window(), &pOwner->m_dataObject, grfKeyState, point);
    lastEffect = Limit(effect, *pdwEffect);
    *pdwEffect = lastEffect;
    return S_OK;
  }
  STDMETHODIMP DragLeave() override {
    if (pOwner->m_dataObject.m_lpDataObject != nullptr) {
      pOwner->OnDragLeave(Window());
      pOwner->m_dataObject.Release();
    }
    return S_OK;
  }
  STDMETHODIMP Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
    if (pdwEffect == nullptr) return E_INVALIDARG;
    DWORD allowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    if (pOwner->m_hWnd == nullptr || pDataObj == nullptr) return S_OK;
    pDataObj->AddRef();
    pOwner->m_dataObject.Attach(pDataObj, TRUE);
    CPoint point = ClientPoint(pt);
    // The effect of the last DragOver, as the keys now stand, decides.
    DROPEFFECT effect =
        pOwner->OnDragOver(Window(), &pOwner->m_dataObject, grfKeyState, point) & ~DROPEFFECT_SCROLL;
    effect = Limit(effect, allowed);
    DROPEFFECT result = DROPEFFECT_NONE;
    if (effect != DROPEFFECT_NONE) {
      result = pOwner->OnDropEx(Window(), &pOwner->m_dataObject, effect, allowed, point);
      if (result == static_cast<DROPEFFECT>(-1)) {
        result = pOwner->OnDrop(Window(), &pOwner->m_dataObject, effect, point) ? effect : DROPEFFECT_NONE;
      }
    } else {
      pOwner->OnDragLeave(Window());
    }
    pOwner->m_dataObject.Release();
    *pdwEffect = result;
    return S_OK;
  }
};

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

int COleDropTarget::nScrollInset = 11;
UINT COleDropTarget::nScrollDelay = 50;
UINT COleDropTarget::nScrollInterval = 50;

COleDropTarget::COleDropTarget()
    : m_hWnd(nullptr),
      m_pImpl(new COleDropTargetImpl(this)),
      m_dwLastTick(0),
      m_nTimerID(0xFFFF),
      m_dwScrollStart(0) {}

COleDropTarget::~COleDropTarget() {
  if (m_hWnd != nullptr) {
    // OLE's reference goes with the registration; the object's own keeps the count above zero.
    InternalAddRef();
    ::RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
  }
  m_dataObject.Release();
  delete m_pImpl;
}

LPDROPTARGET COleDropTarget::GetDropTarget() { return m_pImpl; }

LPUNKNOWN COleDropTarget::GetInterfaceHook(const void* piid) {
  const IID& iid = *static_cast<const IID*>(piid);
  if (iid == IID_IDropTarget || iid == IID_IUnknown) return m_pImpl;
  return nullptr;
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
  HWND hWnd = pWnd->GetSafeHwnd();
  if (hWnd == nullptr || !::IsWindow(hWnd) || m_hWnd != nullptr) return FALSE;
  // OLE keeps the window's target alive through its own reference (the object keeps its initial one).
  if (FAILED(::RegisterDragDrop(hWnd, m_pImpl))) return FALSE;
  m_hWnd = hWnd;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (m_hWnd == nullptr) return;
  ::RevokeDragDrop(m_hWnd);
  m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
  return static_cast<DROPEFFECT>(-1);
}
void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
  HWND hWnd = pWnd->GetSafeHwnd();
  if (hWnd == nullptr) return DROPEFFECT_NONE;
  DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE));
  if (!(dwStyle & (WS_HSCROLL | WS_VSCROLL))) return DROPEFFECT_NONE;
  CRect rectClient;
  ::GetClientRect(hWnd, &rectClient);
  CRect rect = rectClient;
  rect.InflateRect(-nScrollInset, -nScrollInset);
  UINT nVert = static_cast<UINT>(-1), nHorz = static_cast<UINT>(-1);
  if (rectClient.PtInRect(point) && !rect.PtInRect(point)) {
    if ((dwStyle & WS_VSCROLL) && point.y < rect.top) nVert = SB_LINEUP;
    if ((dwStyle & WS_VSCROLL) && point.y >= rect.bottom) nVert = SB_LINEDOWN;
    if ((dwStyle & WS_HSCROLL) && point.x < rect.left) nHorz = SB_LINELEFT;
    if ((dwStyle & WS_HSCROLL) && point.x >= rect.right) nHorz = SB_LINERIGHT;
  }
  if (nVert == static_cast<UINT>(-1) && nHorz == static_cast<UINT>(-1)) {
    m_dwScrollStart = 0;
    return DROPEFFECT_NONE;
  }
  DWORD dwTick = ::GetTickCount();
  if (m_dwScrollStart == 0) {
    m_dwScrollStart = dwTick;
    m_dwLastTick = dwTick;
  } else if (dwTick - m_dwScrollStart >= nScrollDelay && dwTick - m_dwLastTick >= nScrollInterval) {
    if (nVert != static_cast<UINT>(-1)) ::SendMessage(hWnd, WM_VSCROLL, MAKEWPARAM(nVert, 0), 0);
    if (nHorz != static_cast<UINT>(-1)) ::SendMessage(hWnd, WM_HSCROLL, MAKEWPARAM(nHorz, 0), 0);
    m_dwLastTick = dwTick;
  }
  DROPEFFECT effect = (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  return DROPEFFECT_SCROLL | effect;
}
