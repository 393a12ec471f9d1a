// The theme-factory registry, the factories' style and host bookkeeping, and the style root.
#include "ThemeManagerStyleFactory.h"

#include "DrawHelpers.h"

// ---- CXTThemeStyleBase ---------------------------------------------------------------------------

CXTThemeStyleBase::~CXTThemeStyleBase() = default;

BOOL CXTThemeStyleBase::CaptureParentBackground(CWnd* pControl) {
  HWND hParent = ::GetParent(pControl->GetSafeHwnd());
  if (hParent == nullptr || !::IsWindow(hParent)) return FALSE;
  m_bmpParentBackground.DeleteObject();

  CRect rc;
  ::GetWindowRect(pControl->m_hWnd, &rc);
  ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rc), 2);

  HDC hParentDC = ::GetDC(hParent);
  if (hParentDC == nullptr) return FALSE;
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hParentDC, rc.Width(), rc.Height());
  if (hBitmap != nullptr) {
    m_bmpParentBackground.Attach(hBitmap);
    HDC hMemDC = ::CreateCompatibleDC(hParentDC);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::BitBlt(hMemDC, 0, 0, rc.Width(), rc.Height(), hParentDC, rc.left, rc.top, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
  }
  ::ReleaseDC(hParent, hParentDC);
  return TRUE;
}

BOOL CXTThemeStyleBase::DrawParentBackground(CDC* pDC, CWnd* pControl) {
  if ((pControl->GetExStyle() & WS_EX_TRANSPARENT) == 0) return FALSE;
  if (!CaptureParentBackground(pControl) || m_bmpParentBackground.GetSafeHandle() == nullptr) return FALSE;
  CRect rcClient;
  pControl->GetClientRect(&rcClient);
  HDC hMemDC = ::CreateCompatibleDC(pDC->GetSafeHdc());
  HGDIOBJ hOld = ::SelectObject(hMemDC, m_bmpParentBackground.GetSafeHandle());
  ::BitBlt(pDC->GetSafeHdc(), 0, 0, rcClient.Width(), rcClient.Height(), hMemDC, 0, 0, SRCCOPY);
  ::SelectObject(hMemDC, hOld);
  ::DeleteDC(hMemDC);
  return TRUE;
}

// ---- Registry ------------------------------------------------------------------------------------

namespace {

CXTThemeFactoryRegistry* g_pRegistry = nullptr;

// Destroys the registry at exit. Controls created before the registry existed (global objects) are
// destroyed after it; the registry leaves their factories alive for them (see m_bOrphaned).
struct RegistryReaper {
  ~RegistryReaper() {
    delete g_pRegistry;
    g_pRegistry = nullptr;
  }
};

}  // namespace

CXTThemeFactoryRegistry* AFXAPI GetThemeFactoryRegistry() {
  static RegistryReaper reaper;
  if (g_pRegistry == nullptr) g_pRegistry = new CXTThemeFactoryRegistry;
  return g_pRegistry;
}

CXTThemeFactoryRegistry::CXTThemeFactoryRegistry() : m_mapFactories(10) {}

CXTThemeFactoryRegistry::~CXTThemeFactoryRegistry() {
  // The factories' destructors look for the registry; from here on they find none.
  if (g_pRegistry == this) g_pRegistry = nullptr;
  POSITION pos = m_mapFactories.GetStartPosition();
  while (pos != nullptr) {
    void* pKey = nullptr;
    void* pValue = nullptr;
    m_mapFactories.GetNextAssoc(pos, pKey, pValue);
    auto* pFactory = static_cast<CXTThemeManagerStyleFactory*>(pValue);
    if (pFactory->m_nSharedUsers == 0)
      delete pFactory;
    else
      pFactory->m_bOrphaned = TRUE;
  }
  m_mapFactories.RemoveAll();
  m_pFirstFactory = nullptr;
}

CXTThemeManagerStyleFactory* CXTThemeFactoryRegistry::LookupOrCreateFactory(CRuntimeClass* pFactoryClass) {
  if (pFactoryClass == nullptr) return nullptr;
  void* pValue = nullptr;
  if (m_mapFactories.Lookup(pFactoryClass, pValue)) return static_cast<CXTThemeManagerStyleFactory*>(pValue);
  CObject* pObject = pFactoryClass->CreateObject();
  auto* pFactory = dynamic_cast<CXTThemeManagerStyleFactory*>(pObject);
  if (pFactory == nullptr) {
    delete pObject;
    return nullptr;
  }
  m_mapFactories.SetAt(pFactoryClass, pFactory);
  return pFactory;
}

void CXTThemeFactoryRegistry::AddFactory(CXTThemeManagerStyleFactory* pFactory) {
  pFactory->m_pNextFactory = m_pFirstFactory;
  m_pFirstFactory = pFactory;
}

void CXTThemeFactoryRegistry::RemoveFactory(CXTThemeManagerStyleFactory* pFactory) {
  for (CXTThemeManagerStyleFactory** pp = &m_pFirstFactory; *pp != nullptr; pp = &(*pp)->m_pNextFactory) {
    if (*pp == pFactory) {
      *pp = pFactory->m_pNextFactory;
      pFactory->m_pNextFactory = nullptr;
      return;
    }
  }
}

// ---- CXTThemeManagerStyleFactory -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTThemeManagerStyleFactory, CObject)

CXTThemeManagerStyleFactory::CXTThemeManagerStyleFactory() { GetThemeFactoryRegistry()->AddFactory(this); }

CXTThemeManagerStyleFactory::~CXTThemeManagerStyleFactory() {
  delete m_pCurrentStyle;
  m_pCurrentStyle = nullptr;
  if (g_pRegistry != nullptr) g_pRegistry->RemoveFactory(this);
  m_pFirstHost = nullptr;
}

CXTThemeStyleBase* CXTThemeManagerStyleFactory::CreateStyle(int /*nTheme*/) { return nullptr; }

void CXTThemeManagerStyleFactory::RefreshCurrentStyle() {
  if (m_pCurrentStyle != nullptr) m_pCurrentStyle->RefreshStyle();
}

CXTThemeStyleBase* CXTThemeManagerStyleFactory::GetCurrentStyle() {
  if (m_pCurrentStyle != nullptr) return m_pCurrentStyle;
  const int nTheme = g_pRegistry != nullptr ? g_pRegistry->GetThemeNumber() : 0;
  m_pCurrentStyle = CreateStyle(nTheme);
  if (m_pCurrentStyle != nullptr) {
    m_pCurrentStyle->m_pFactory = this;
    m_pCurrentStyle->RefreshStyle();
  }
  return m_pCurrentStyle;
}

void CXTThemeManagerStyleFactory::SetStyle(CXTThemeStyleBase* pStyle) {
  if (pStyle == m_pCurrentStyle) return;
  delete m_pCurrentStyle;
  m_pCurrentStyle = pStyle;
  if (pStyle != nullptr) {
    pStyle->m_pFactory = this;
    pStyle->RefreshStyle();
  }
  for (CXTThemeStyleHost* pHost = m_pFirstHost; pHost != nullptr; pHost = pHost->m_pNextHost)
    pHost->OnStyleChanged();
}

void CXTThemeManagerStyleFactory::AddHost(CXTThemeStyleHost* pHost) {
  pHost->m_pNextHost = m_pFirstHost;
  m_pFirstHost = pHost;
}

void CXTThemeManagerStyleFactory::RemoveHost(CXTThemeStyleHost* pHost) {
  for (CXTThemeStyleHost** pp = &m_pFirstHost; *pp != nullptr; pp = &(*pp)->m_pNextHost) {
    if (*pp == pHost) {
      *pp = pHost->m_pNextHost;
      pHost->m_pNextHost = nullptr;
      break;
    }
  }
}

void CXTThemeManagerStyleFactory::ReleaseSharedUser() {
  if (--m_nSharedUsers <= 0 && m_bOrphaned) delete this;
}

// ---- CXTThemeStyleHost ---------------------------------------------------------------------------

CXTThemeStyleHost::CXTThemeStyleHost(CRuntimeClass* pFactoryClass) { SetFactoryClass(pFactoryClass); }

CXTThemeStyleHost::~CXTThemeStyleHost() {
  if (CXTThemeManagerStyleFactory* pFactory = GetEffectiveFactory()) pFactory->RemoveHost(this);
  if (m_bOwnsPrivateFactory) delete m_pPrivateFactory;
  m_pPrivateFactory = nullptr;
  // A shared factory the registry left behind at exit goes with the last control that used it.
  if (m_pSharedFactory != nullptr) m_pSharedFactory->ReleaseSharedUser();
  m_pSharedFactory = nullptr;
}

CXTThemeManagerStyleFactory* CXTThemeStyleHost::CreatePrivateFactory() {
  if (m_pFactoryClass == nullptr) return nullptr;
  CObject* pObject = m_pFactoryClass->CreateObject();
  auto* pFactory = dynamic_cast<CXTThemeManagerStyleFactory*>(pObject);
  if (pFactory == nullptr) delete pObject;
  return pFactory;
}

void CXTThemeStyleHost::SetFactoryClass(CRuntimeClass* pFactoryClass) {
  // A host is always in exactly its effective factory's list: leave whichever list holds it now.
  if (CXTThemeManagerStyleFactory* pOld = GetEffectiveFactory()) pOld->RemoveHost(this);
  CXTThemeManagerStyleFactory* pOldShared = m_pSharedFactory;
  m_pFactoryClass = pFactoryClass;
  m_pSharedFactory = GetThemeFactoryRegistry()->LookupOrCreateFactory(pFactoryClass);
  if (m_pSharedFactory != nullptr) m_pSharedFactory->AddSharedUser();
  if (pOldShared != nullptr) pOldShared->ReleaseSharedUser();
  if (CXTThemeManagerStyleFactory* pNew = GetEffectiveFactory()) pNew->AddHost(this);
}

CXTThemeStyleBase* CXTThemeStyleHost::GetStyle() const {
  CXTThemeManagerStyleFactory* pFactory = GetEffectiveFactory();
  return pFactory != nullptr ? pFactory->GetCurrentStyle() : nullptr;
}

void CXTThemeStyleHost::SwitchStyle(CXTThemeStyleBase* pStyle) {
  if (m_pPrivateFactory == nullptr && pStyle == nullptr) return;
  if (CXTThemeManagerStyleFactory* pOld = GetEffectiveFactory()) pOld->RemoveHost(this);
  if (m_bOwnsPrivateFactory) delete m_pPrivateFactory;
  m_pPrivateFactory = nullptr;
  m_bOwnsPrivateFactory = FALSE;
  if (pStyle != nullptr) {
    m_pPrivateFactory = CreatePrivateFactory();
    if (m_pPrivateFactory != nullptr) {
      m_pPrivateFactory->SetStyle(pStyle);
      m_bOwnsPrivateFactory = TRUE;
    } else {
      delete pStyle;
    }
  }
  OnStyleChanged();
  if (CXTThemeManagerStyleFactory* pNew = GetEffectiveFactory()) pNew->AddHost(this);
}
