// Container documents: the item list of COleDocument, the embedded object of COleClientItem and the
// edit menu's object entry.
#include "afxole.h"

#include <vector>

IMPLEMENT_SERIAL(CDocItem, CCmdTarget, 1)
IMPLEMENT_DYNAMIC(COleDocument, CDocument)
IMPLEMENT_DYNAMIC(COleClientItem, CDocItem)

CDocItem::CDocItem() : m_pDocument(nullptr) {}

CDocItem::~CDocItem() {
  if (m_pDocument != nullptr) m_pDocument->RemoveItem(this);
}

// ---- Document ----------------------------------------------------------------------------------------

COleDocument::COleDocument() : m_bCompoundFile(FALSE) {}

COleDocument::~COleDocument() {
  while (!m_docItemList.IsEmpty()) delete static_cast<CDocItem*>(m_docItemList.GetHead());
}

void COleDocument::AddItem(CDocItem* pItem) {
  if (pItem == nullptr || pItem->m_pDocument == this) return;
  if (pItem->m_pDocument != nullptr) pItem->m_pDocument->RemoveItem(pItem);
  m_docItemList.AddTail(pItem);
  pItem->m_pDocument = this;
}

void COleDocument::RemoveItem(CDocItem* pItem) {
  if (pItem == nullptr || pItem->m_pDocument != this) return;
  POSITION pos = m_docItemList.Find(pItem);
  if (pos != nullptr) m_docItemList.RemoveAt(pos);
  pItem->m_pDocument = nullptr;
}

CDocItem* COleDocument::GetNextItem(POSITION& pos) const {
  return static_cast<CDocItem*>(m_docItemList.GetNext(pos));
}

COleClientItem* COleDocument::GetNextClientItem(POSITION& pos) const {
  while (pos != nullptr) {
    CDocItem* pItem = GetNextItem(pos);
    if (pItem->IsKindOf(RUNTIME_CLASS(COleClientItem))) return static_cast<COleClientItem*>(pItem);
  }
  return nullptr;
}

COleClientItem* COleDocument::GetPrimarySelectedItem(CView* pView) {
  if (pView == nullptr) return nullptr;
  COleClientItem* pSelected = nullptr;
  POSITION pos = GetStartPosition();
  while (COleClientItem* pItem = GetNextClientItem(pos)) {
    if (!pView->IsSelected(pItem)) continue;
    if (pSelected != nullptr) return nullptr;
    pSelected = pItem;
  }
  return pSelected;
}

COleClientItem* COleDocument::GetInPlaceActiveItem(CWnd* /*pWnd*/) {
  POSITION pos = GetStartPosition();
  while (COleClientItem* pItem = GetNextClientItem(pos)) {
    if (pItem->IsInPlaceActive()) return pItem;
  }
  return nullptr;
}

BOOL COleDocument::HasBlankItems() const {
  POSITION pos = GetStartPosition();
  while (pos != nullptr) {
    if (GetNextItem(pos)->IsBlank()) return TRUE;
  }
  return FALSE;
}

void COleDocument::UpdateModifiedFlag() {
  POSITION pos = GetStartPosition();
  while (COleClientItem* pItem = GetNextClientItem(pos)) {
    if (pItem->IsModified()) {
      SetModifiedFlag(TRUE);
      return;
    }
  }
}

void COleDocument::DeleteContents() {
  while (!m_docItemList.IsEmpty()) delete static_cast<CDocItem*>(m_docItemList.GetHead());
  CDocument::DeleteContents();
}

// ---- Client item -------------------------------------------------------------------------------------

COleClientItem::COleClientItem(COleDocument* pContainerDoc)
    : m_lpObject(nullptr), m_nItemState(emptyState), m_bModified(FALSE) {
  if (pContainerDoc != nullptr) pContainerDoc->AddItem(this);
}

COleClientItem::~COleClientItem() { Release(); }

BOOL COleClientItem::CreateNewItem(REFCLSID clsid) {
  Release();
  LPOLEOBJECT lpObject = nullptr;
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IOleObject,
                                reinterpret_cast<void**>(&lpObject))) ||
      lpObject == nullptr)
    return FALSE;
  m_lpObject = lpObject;
  m_nItemState = loadedState;
  return TRUE;
}

void COleClientItem::Attach(LPOLEOBJECT lpObject) {
  if (lpObject == m_lpObject) return;
  Release();
  if (lpObject == nullptr) return;
  lpObject->AddRef();
  m_lpObject = lpObject;
  m_nItemState = loadedState;
}

void COleClientItem::Release(OLECLOSE dwCloseOption) {
  if (m_lpObject == nullptr) return;
  LPOLEOBJECT lpObject = m_lpObject;
  m_lpObject = nullptr;
  if (m_nItemState != emptyState && m_nItemState != loadedState) lpObject->Close(dwCloseOption);
  lpObject->Release();
  m_nItemState = emptyState;
}

void COleClientItem::Close(OLECLOSE dwCloseOption) {
  if (m_lpObject == nullptr || m_nItemState == loadedState) return;
  m_lpObject->Close(dwCloseOption);
  OnChange(0, loadedState);
}

BOOL COleClientItem::DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg) {
  if (m_lpObject == nullptr) return FALSE;
  HWND hWnd = pView != nullptr ? pView->GetSafeHwnd() : nullptr;
  RECT rc = {0, 0, 0, 0};
  if (hWnd != nullptr) ::GetClientRect(hWnd, &rc);
  const HRESULT hr = m_lpObject->DoVerb(nVerb, lpMsg, nullptr, -1, hWnd, &rc);
  if (FAILED(hr)) return FALSE;
  if (m_nItemState == loadedState)
    OnChange(0, nVerb == OLEIVERB_SHOW || nVerb == OLEIVERB_PRIMARY ? openState : loadedState);
  return TRUE;
}

void COleClientItem::GetUserType(USERCLASSTYPE nUserClassType, CString& rString) const {
  rString.Empty();
  if (m_lpObject == nullptr) return;
  LPOLESTR lpsz = nullptr;
  if (SUCCEEDED(m_lpObject->GetUserType(static_cast<DWORD>(nUserClassType), &lpsz)) && lpsz != nullptr) {
    rString = lpsz;
    ::CoTaskMemFree(lpsz);
  }
}

void COleClientItem::GetClassID(CLSID* pClassID) const {
  *pClassID = CLSID_NULL;
  if (m_lpObject != nullptr) m_lpObject->GetUserClassID(pClassID);
}

void COleClientItem::OnChange(UINT /*nCode*/, DWORD dwParam) {
  m_nItemState = dwParam;
  if (m_pDocument != nullptr) m_pDocument->UpdateAllViews(nullptr);
}

// ---- Edit menu ---------------------------------------------------------------------------------------

namespace {

// Verbs the object offers for a container menu: non-negative verbs, in the order it enumerates them.
struct MenuVerb {
  LONG lVerb;
  CString strName;
  UINT fuFlags;
};

void EnumMenuVerbs(LPOLEOBJECT lpObject, std::vector<MenuVerb>& arrVerbs) {
  LPENUMOLEVERB lpEnum = nullptr;
  if (lpObject == nullptr || lpObject->EnumVerbs(&lpEnum) != S_OK || lpEnum == nullptr) return;
  OLEVERB verb;
  ULONG nFetched = 0;
  // An enumerator that never ends is cut off; no object offers this many verbs.
  for (int nGuard = 0; nGuard < 256 && lpEnum->Next(1, &verb, &nFetched) == S_OK && nFetched == 1; ++nGuard) {
    if (verb.lVerb >= 0 && (verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU) &&
        verb.lpszVerbName != nullptr) {
      MenuVerb item;
      item.lVerb = verb.lVerb;
      item.strName = verb.lpszVerbName;
      item.fuFlags = verb.fuFlags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK);
      arrVerbs.push_back(item);
    }
    if (verb.lpszVerbName != nullptr) ::CoTaskMemFree(verb.lpszVerbName);
  }
  lpEnum->Release();
}

}  // namespace

void AFXAPI AfxOleSetEditMenu(COleClientItem* pClient, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin,
                              UINT nIDVerbMax, UINT nIDConvert) {
  if (pMenu == nullptr || pMenu->GetSafeHmenu() == nullptr) return;
  HMENU hMenu = pMenu->GetSafeHmenu();
  const UINT nIDOld = ::GetMenuItemID(hMenu, static_cast<int>(iMenuItem));
  ::DeleteMenu(hMenu, iMenuItem, MF_BYPOSITION);
  const UINT nIDPlain = nIDOld != static_cast<UINT>(-1) && nIDOld != 0 ? nIDOld : nIDVerbMin;

  LPOLEOBJECT lpObject = pClient != nullptr ? pClient->m_lpObject : nullptr;
  std::vector<MenuVerb> arrVerbs;
  EnumMenuVerbs(lpObject, arrVerbs);
  CString strType;
  if (pClient != nullptr) pClient->GetUserType(USERCLASSTYPE_SHORT, strType);
  if (lpObject == nullptr || (arrVerbs.size() == 0 && nIDConvert == 0)) {
    ::InsertMenu(hMenu, iMenuItem, MF_BYPOSITION | MF_STRING | MF_GRAYED, nIDPlain, L"&Object");
    return;
  }
  const CString strObject = strType.IsEmpty() ? CString(L"&Object") : strType + L" &Object";
  auto verbId = [&](const MenuVerb& verb) -> UINT {
    const UINT nID = nIDVerbMin + static_cast<UINT>(verb.lVerb);
    return nIDVerbMax != 0 && nID > nIDVerbMax ? 0 : nID;
  };
  if (arrVerbs.size() == 1 && nIDConvert == 0) {
    const UINT nID = verbId(arrVerbs[0]);
    CString strVerb = arrVerbs[0].strName;
    strVerb.Remove(L'&');
    ::InsertMenu(hMenu, iMenuItem, MF_BYPOSITION | MF_STRING | (nID == 0 ? MF_GRAYED : arrVerbs[0].fuFlags),
                 nID != 0 ? nID : nIDPlain, strVerb + L" " + strObject);
    return;
  }
  HMENU hPopup = ::CreatePopupMenu();
  for (size_t i = 0; i < arrVerbs.size(); ++i) {
    const UINT nID = verbId(arrVerbs[i]);
    if (nID == 0) continue;
    ::AppendMenu(hPopup, MF_STRING | arrVerbs[i].fuFlags, nID, arrVerbs[i].strName);
  }
  if (nIDConvert != 0) {
    if (::GetMenuItemCount(hPopup) > 0) ::AppendMenu(hPopup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenu(hPopup, MF_STRING, nIDConvert, L"&Convert...");
  }
  ::InsertMenu(hMenu, iMenuItem, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hPopup),
               strObject);
}
