// The accessibility base of bars and controls: an IAccessible whose methods forward to virtual
// operations that subclasses override, plus the oleacc and USER32 entry points bound by name.
#pragma once

#include <afxwin.h>
#include <oleacc.h>

class CXTPBarAccessibility {
 public:
  CXTPBarAccessibility();
  virtual ~CXTPBarAccessibility() = default;
  CXTPBarAccessibility(const CXTPBarAccessibility&) = delete;
  CXTPBarAccessibility& operator=(const CXTPBarAccessibility&) = delete;

  // The operations behind IAccessible, in its order; each answers E_NOTIMPL unless overridden.
  virtual HRESULT GetAccessibleParent(IDispatch** ppdispParent);
  virtual HRESULT GetAccessibleChildCount(long* pcountChildren);
  virtual HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild);
  virtual HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName);
  virtual HRESULT GetAccessibleValue(VARIANT varChild, BSTR* pszValue);
  virtual HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription);
  virtual HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole);
  virtual HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState);
  virtual HRESULT GetAccessibleHelp(VARIANT varChild, BSTR* pszHelp);
  virtual HRESULT GetAccessibleHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic);
  virtual HRESULT GetAccessibleKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut);
  virtual HRESULT GetAccessibleFocus(VARIANT* pvarChild);
  virtual HRESULT GetAccessibleSelection(VARIANT* pvarChildren);
  virtual HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction);
  virtual HRESULT AccessibleSelect(long flagsSelect, VARIANT varChild);
  virtual HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                     VARIANT varChild);
  virtual HRESULT AccessibleNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt);
  virtual HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild);
  virtual HRESULT AccessibleDoDefaultAction(VARIANT varChild);
  virtual HRESULT PutAccessibleName(VARIANT varChild, BSTR szName);
  virtual HRESULT PutAccessibleValue(VARIANT varChild, BSTR szValue);
  // The reference-counted object that owns the interface's lifetime; NULL when there is none, in
  // which case the interface counts no references and answers only for itself.
  virtual CCmdTarget* GetAccessibleCmdTarget();

  IAccessible* GetAccessible() { return &m_xAccessible; }

  // USER32 NotifyWinEvent when the system has it; nothing otherwise.
  static void PASCAL NotifyWinEvent(DWORD event, HWND hWnd, LONG idObject, LONG idChild);
  // The oleacc.dll functions of the same names; E_FAIL when the library or entry is missing.
  static HRESULT PASCAL AccessibleObjectFromWindow(HWND hWnd, DWORD dwId, REFIID riid, void** ppvObject);
  static LRESULT PASCAL LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);
  // The child id a VARIANT holds (VT_I4, VT_I2, their non-null references, through VT_VARIANT
  // references); -1 for anything else.
  static long PASCAL GetChildIdFromVariant(const VARIANT* pVariant);

 private:
  class XAccessible : public IAccessible {
   public:
    explicit XAccessible(CXTPBarAccessibility* pOwner) : m_pOwner(pOwner) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)
    (REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    STDMETHOD(get_accParent)(IDispatch** ppdispParent) override;
    STDMETHOD(get_accChildCount)(long* pcountChildren) override;
    STDMETHOD(get_accChild)(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHOD(get_accName)(VARIANT varChild, BSTR* pszName) override;
    STDMETHOD(get_accValue)(VARIANT varChild, BSTR* pszValue) override;
    STDMETHOD(get_accDescription)(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHOD(get_accRole)(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHOD(get_accState)(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHOD(get_accHelp)(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHOD(get_accHelpTopic)(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    STDMETHOD(get_accKeyboardShortcut)(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHOD(get_accFocus)(VARIANT* pvarChild) override;
    STDMETHOD(get_accSelection)(VARIANT* pvarChildren) override;
    STDMETHOD(get_accDefaultAction)(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHOD(accSelect)(long flagsSelect, VARIANT varChild) override;
    STDMETHOD(accLocation)
    (long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    STDMETHOD(accNavigate)(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHOD(accHitTest)(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHOD(accDoDefaultAction)(VARIANT varChild) override;
    STDMETHOD(put_accName)(VARIANT varChild, BSTR szName) override;
    STDMETHOD(put_accValue)(VARIANT varChild, BSTR szValue) override;

   private:
    CXTPBarAccessibility* m_pOwner;
  };

  XAccessible m_xAccessible;
};
