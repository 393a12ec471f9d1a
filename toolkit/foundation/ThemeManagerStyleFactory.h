// Theme factories: every themed dialog control draws through a style object that a factory makes
// for a theme number. One shared factory per factory class is kept by the process's registry, so
// that all controls of one kind share one style; a control can instead own a private factory.
// User-interface thread only; nothing here takes a lock.
#pragma once

#include <afxwin.h>

class CXTThemeManagerStyleFactory;
class CXTThemeStyleHost;

// Root of every style. A style belongs to the factory it is installed in.
class CXTThemeStyleBase {
 public:
  CXTThemeStyleBase() = default;
  virtual ~CXTThemeStyleBase();
  CXTThemeStyleBase(const CXTThemeStyleBase&) = delete;
  CXTThemeStyleBase& operator=(const CXTThemeStyleBase&) = delete;

  // Reloads colours and metrics; writes only standard colours, so that overrides survive.
  virtual void RefreshStyle() {}
  // Copies the parent's pixels behind pControl into the background bitmap; FALSE without a parent.
  virtual BOOL CaptureParentBackground(CWnd* pControl);
  // Only for WS_EX_TRANSPARENT controls: captures anew and draws the copy at (0, 0). TRUE when drawn.
  virtual BOOL DrawParentBackground(CDC* pDC, CWnd* pControl);

  CXTThemeManagerStyleFactory* GetFactory() const { return m_pFactory; }
  int GetThemeNumber() const { return m_nTheme; }

  CXTThemeManagerStyleFactory* m_pFactory = nullptr;
  int m_nTheme = 0;
  CBitmap m_bmpParentBackground;
};

// Makes the styles of one control kind and keeps the current one. Dynamically creatable, so that the
// registry and hosts can make instances from the runtime class alone.
class CXTThemeManagerStyleFactory : public CObject {
  DECLARE_DYNCREATE(CXTThemeManagerStyleFactory)

 public:
  // Joins the registry's list of live factories.
  CXTThemeManagerStyleFactory();
  // Deletes the current style, leaves the registry's list and forgets its hosts (they are not touched).
  ~CXTThemeManagerStyleFactory() override;

  void Serialize(CArchive& /*ar*/) override {}
  // A new style for the theme number (1, 2, anything else the default); the base makes none.
  virtual CXTThemeStyleBase* CreateStyle(int nTheme);
  virtual void RefreshCurrentStyle();

  // The current style, made for the registry's theme number on first need (NULL when none can be made).
  CXTThemeStyleBase* GetCurrentStyle();
  // Takes ownership of pStyle (NULL allowed), refreshes it and tells every host.
  void SetStyle(CXTThemeStyleBase* pStyle);

  // The host list is intrusive: each host is in exactly one factory's list.
  void AddHost(CXTThemeStyleHost* pHost);
  void RemoveHost(CXTThemeStyleHost* pHost);
  // Hosts that hold this factory as their shared one (in its list or not, while they own a private
  // factory). The last one to let go of a factory the registry left behind at exit deletes it.
  void AddSharedUser() { ++m_nSharedUsers; }
  void ReleaseSharedUser();
  CXTThemeStyleHost* GetFirstHost() const { return m_pFirstHost; }

  CXTThemeStyleBase* m_pCurrentStyle = nullptr;
  CXTThemeStyleHost* m_pFirstHost = nullptr;
  CXTThemeManagerStyleFactory* m_pNextFactory = nullptr;

 private:
  friend class CXTThemeFactoryRegistry;
  // Set on shared factories that controls still used when the registry was destroyed at exit: such
  // a factory deletes itself when its last user lets go, so no control points at a freed factory.
  BOOL m_bOrphaned = FALSE;
  int m_nSharedUsers = 0;
};

// The process's one registry of shared factories, made on first use.
class CXTThemeFactoryRegistry {
 public:
  CXTThemeFactoryRegistry();
  // Deletes every shared factory that no host uses any more; the others are orphaned (see above).
  ~CXTThemeFactoryRegistry();
  CXTThemeFactoryRegistry(const CXTThemeFactoryRegistry&) = delete;
  CXTThemeFactoryRegistry& operator=(const CXTThemeFactoryRegistry&) = delete;

  // The shared factory of the class, created on first request; NULL when the class cannot make one.
  CXTThemeManagerStyleFactory* LookupOrCreateFactory(CRuntimeClass* pFactoryClass);
  int GetThemeNumber() const { return m_nTheme; }

  void AddFactory(CXTThemeManagerStyleFactory* pFactory);
  void RemoveFactory(CXTThemeManagerStyleFactory* pFactory);
  CXTThemeManagerStyleFactory* GetFirstFactory() const { return m_pFirstFactory; }

 private:
  CMapPtrToPtr m_mapFactories;
  int m_nTheme = 0;
  CXTThemeManagerStyleFactory* m_pFirstFactory = nullptr;
};

CXTThemeFactoryRegistry* AFXAPI GetThemeFactoryRegistry();

// The CreateStyle of every factory: theme 1 and theme 2 have styles of their own, any other number
// (negative ones included) the default style; the style records the number it was made for.
template <class TDefault, class TTheme1, class TTheme2>
CXTThemeStyleBase* XTCreateThemeStyle(int nTheme) {
  CXTThemeStyleBase* pStyle;
  if (nTheme == 1)
    pStyle = new TTheme1;
  else if (nTheme == 2)
    pStyle = new TTheme2;
  else
    pStyle = new TDefault;
  pStyle->m_nTheme = nTheme;
  return pStyle;
}

// The second base of every themed control, next to its window base: links the control to the
// factory whose style it draws with.
class CXTThemeStyleHost {
 public:
  // pFactoryClass: the control kind's factory class (never NULL).
  explicit CXTThemeStyleHost(CRuntimeClass* pFactoryClass);
  // Leaves the effective factory's list and deletes a private factory it owns.
  virtual ~CXTThemeStyleHost();
  CXTThemeStyleHost(const CXTThemeStyleHost&) = delete;
  CXTThemeStyleHost& operator=(const CXTThemeStyleHost&) = delete;

  // A new instance of the factory class.
  virtual CXTThemeManagerStyleFactory* CreatePrivateFactory();
  virtual void OnStyleChanged() {}

  void SetFactoryClass(CRuntimeClass* pFactoryClass);
  CRuntimeClass* GetFactoryClass() const { return m_pFactoryClass; }
  // The private factory when there is one, else the shared one (NULL when it could not be made).
  CXTThemeManagerStyleFactory* GetEffectiveFactory() const {
    return m_pPrivateFactory != nullptr ? m_pPrivateFactory : m_pSharedFactory;
  }
  BOOL HasPrivateStyle() const { return m_bOwnsPrivateFactory; }
  // The effective factory's current style; every drawing and colour operation goes through it.
  CXTThemeStyleBase* GetStyle() const;
  // Gives the control a private style (ownership passes), or with NULL returns it to the shared one.
  void SwitchStyle(CXTThemeStyleBase* pStyle);

  BOOL m_bOwnsPrivateFactory = FALSE;
  CRuntimeClass* m_pFactoryClass = nullptr;
  CXTThemeManagerStyleFactory* m_pPrivateFactory = nullptr;
  CXTThemeManagerStyleFactory* m_pSharedFactory = nullptr;
  CXTThemeStyleHost* m_pNextHost = nullptr;
};
