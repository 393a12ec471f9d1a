// Container documents: items joining and leaving their document, the primary selected item of a
// view, and the edit menu's object entry built from an object's verbs.
#include <gtest/gtest.h>

#include <afxole.h>

#include <string>
#include <vector>

namespace {

// An embedded object that offers the verbs it is given and a short type name.
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

// A view that reports the items it was told are selected.
class CSelectingView : public CView {
 public:
  void OnDraw(CDC*) override {}
  BOOL IsSelected(const CObject* pItem) const override {
    for (const CObject* p : m_selected) {
      if (p == pItem) return TRUE;
    }
    return FALSE;
  }
  std::vector<const CObject*> m_selected;
};

TEST(OleDocument, ItemsJoinTheirDocumentAndLeaveItWhenDeleted) {
  COleDocument* pDoc = new COleDocument;
  COleClientItem* pFirst = new COleClientItem(pDoc);
  COleClientItem* pSecond = new COleClientItem(pDoc);
  EXPECT_EQ(pFirst->GetDocument(), pDoc);
  POSITION pos = pDoc->GetStartPosition();
  EXPECT_EQ(pDoc->GetNextClientItem(pos), pFirst);
  EXPECT_EQ(pDoc->GetNextClientItem(pos), pSecond);
  EXPECT_EQ(pos, nullptr);
  EXPECT_TRUE(pDoc->HasBlankItems());
  delete pFirst;
  pos = pDoc->GetStartPosition();
  EXPECT_EQ(pDoc->GetNextClientItem(pos), pSecond);
  EXPECT_EQ(pos, nullptr);
  // The document deletes the items it still holds.
  delete pDoc;
}

TEST(OleDocument, PrimarySelectedItemIsTheOneSelectedItem) {
  COleDocument doc;
  COleClientItem* pFirst = new COleClientItem(&doc);
  COleClientItem* pSecond = new COleClientItem(&doc);
  CSelectingView* pView = new CSelectingView;
  EXPECT_EQ(doc.GetPrimarySelectedItem(pView), nullptr);
  pView->m_selected = {pSecond};
  EXPECT_EQ(doc.GetPrimarySelectedItem(pView), pSecond);
  pView->m_selected = {pFirst, pSecond};
  EXPECT_EQ(doc.GetPrimarySelectedItem(pView), nullptr);
  delete pView;
}

TEST(OleEditMenu, SeveralVerbsMakeAPopupOfVerbsNumberedFromTheFirstId) {
  FakeOleObject object({{0, L"&Edit"}, {1, L"&Open"}, {-1, L"Hidden"}});
  COleClientItem item;
  item.Attach(&object);
  EXPECT_EQ(item.GetItemState(), COleClientItem::loadedState);
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, L"placeholder");
  AfxOleSetEditMenu(&item, &menu, 0, ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST);
  ASSERT_EQ(menu.GetMenuItemCount(), 1);
  CString strCaption;
  menu.GetMenuString(0, strCaption, MF_BYPOSITION);
  EXPECT_STREQ(strCaption, L"Sheet &Object");
  CMenu* pSub = menu.GetSubMenu(0);
  ASSERT_NE(pSub, nullptr);
  ASSERT_EQ(pSub->GetMenuItemCount(), 2);
  EXPECT_EQ(pSub->GetMenuItemID(0), static_cast<UINT>(ID_OLE_VERB_FIRST));
  EXPECT_EQ(pSub->GetMenuItemID(1), static_cast<UINT>(ID_OLE_VERB_FIRST + 1));
  item.Release();
  EXPECT_EQ(object.m_nRefs, 1u);
}

TEST(OleEditMenu, OneVerbMakesAPlainItemAndNoObjectADisabledOne) {
  FakeOleObject object({{0, L"&Edit"}});
  COleClientItem item;
  item.Attach(&object);
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, L"placeholder");
  AfxOleSetEditMenu(&item, &menu, 0, ID_OLE_VERB_FIRST);
  EXPECT_EQ(menu.GetSubMenu(0), nullptr);
  CString strCaption;
  menu.GetMenuString(0, strCaption, MF_BYPOSITION);
  EXPECT_STREQ(strCaption, L"Edit Sheet &Object");
  item.Release();

  COleClientItem empty;
  AfxOleSetEditMenu(&empty, &menu, 0, ID_OLE_VERB_FIRST);
  menu.GetMenuString(0, strCaption, MF_BYPOSITION);
  EXPECT_STREQ(strCaption, L"&Object");
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
}

}  // namespace
